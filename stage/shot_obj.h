// A shot or a sword swing: a stage object with its own copy of its shot
// definition, fired by a character's shot or sword command. Only what the
// play step calls on every shot stands here; the shots' set-up, movement
// kinds, block test and drawing come with the shot commands, and until then
// no shot is ever fired.
#pragma once

#include <cstdint>
#include <list>

#include "stage/obj_root.h"

class cGameObj;
struct DDSURFACEDATA;

class cShotObj : public cObjRoot {
 public:
  // One update step; 1 when the shot is to be removed.
  int Step() { return 0; }
  int MoveX() { return 0; }
  int MoveY() { return 0; }
  // 1 when the shot touches a block that stops it.
  int HitsBlock() { return 0; }
  void Draw(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) {}

  int32_t m_nOwnerId = 0;
  int32_t m_nIsShot = 1;  // 0 a sword swing
  int32_t m_nDead = 0;    // out of play; the hit passes erase it
  std::list<int32_t> m_lstHit;
  cGameObj* m_pTarget = nullptr;
  cGameObj* m_pShooter = nullptr;
};
