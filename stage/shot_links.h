// What a character's release of its references does to a shot that points
// at it: kind 0 clears the shot's owner, kind 4 its shooter.
#pragma once

#include <cstdint>

class cShotObj;

void ClearShotLink(cShotObj* pShot, int32_t nKind);
