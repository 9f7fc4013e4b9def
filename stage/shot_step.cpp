#include "stage/shot_obj.h"

// Until the shot commands fire shots, nothing steps, moves or draws.
void cShotObj::Init(int32_t, cGameObj&, int32_t, const cEdShot&, const SHOTLAUNCH&) {}
int cShotObj::Step() { return 0; }
int cShotObj::SwordStep() { return 0; }
int cShotObj::MoveX() { return 0; }
int cShotObj::MoveY() { return 0; }
int cShotObj::HitsBlock() { return 0; }
void cShotObj::Draw(DDSURFACEDATA*, int) {}
