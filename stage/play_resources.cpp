// The play scene's surfaces: the built-in play bitmaps, the stage's
// backgrounds, the database's character, sword and effect images, the shot
// sheets, and the pictures and message surfaces of a run. They are loaded
// with the play-screen drawing; until then there is nothing to load and
// every load succeeds.
#include "stage/play_scene.h"

int cPlayScene::LoadPlayBitmaps() { return 1; }
int cPlayScene::LoadBackgroundBitmaps() { return 1; }
void cPlayScene::LoadCharaBitmaps() {}
void cPlayScene::LoadSwordImages() {}
void cPlayScene::LoadEffectImages() {}
void cPlayScene::BuildShotSheets() {}
void cPlayScene::ReleasePictures() { m_PictureList.clear(); }
