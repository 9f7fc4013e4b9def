// Attack hits between the hit groups, resolved by the scene's hit resolver.
#include "stage/play_scene.h"

int cPlayScene::CheckAttackHits() { return m_Hits.CheckAttackHits(*this); }
