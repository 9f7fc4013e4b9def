// Attack hits between the hit groups: shots against characters, characters
// against characters, shots against shots. The passes come with the damage
// rules; until then nothing hits anything.
#include "stage/play_scene.h"

int cPlayScene::CheckAttackHits() { return 0; }
