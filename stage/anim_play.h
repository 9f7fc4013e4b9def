// One animation instance of a character: an animation that a flow or a
// command started on top of the character's basic animation.
#pragma once

#include <cstdint>

#include "stage/anim_player.h"

class cAnimPlay {
 public:
  cAnimPlayer m_Player;  // holds the one animation
  int32_t m_nCue = 0;    // started by a flow's cue
  int32_t m_nRemain = 0;
  int32_t m_nCmdFrames = 0;
  int32_t m_nSerial = 0;  // of the flow run that started it, -1 none
  int32_t m_nPaused = 0;
};
