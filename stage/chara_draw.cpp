// A character on the play screen: its animations, its sprite, its
// character effect, its death and its gauges.
#include "stage/game_obj.h"

void cGameObj::Draw(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) {}

int cGameObj::DrawDeath(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) { return 1; }

int32_t cGameObj::StepAnims(int /*bStill*/) { return 0; }

int cGameObj::StepCharaEffect(int /*bStill*/) { return 0; }

void cGameObj::DrawHpGauge(DDSURFACEDATA* /*pTarget*/) {}

void cGameObj::DrawSpGauge(DDSURFACEDATA* /*pTarget*/) {}
