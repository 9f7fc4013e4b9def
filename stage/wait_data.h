// The record of a wait that stops the play for a while without leaving the
// play phase (a game wait, a message, an effect, a picture, an extra-life
// notice): what the nested frame loop watches until it ends.
#pragma once

#include <cstdint>

enum : int32_t {
  WAIT_GAME = 0,
  WAIT_MESSAGE = 1,
  WAIT_EFFECT = 2,
  WAIT_PICTURE = 3,
  WAIT_LIFE = 4
};

struct WAITDATA {
  int32_t nKind = 0;
  int32_t nDelay = 0;   // frames that only draw, counted down first
  int32_t bButton = 0;  // a press of button 1 ends it
  int32_t nFrames = 0;  // frames left of a timed wait
  int32_t nReserved = 0;
};

// A message waiting for a button accepts no press in its first 10 frames,
// unless its flow has just shown one.
inline void SetWaitData(WAITDATA& wait, int32_t nKind, int32_t bButton, int32_t nFrames,
                        int32_t bNoDelay) {
  wait.nKind = nKind;
  wait.bButton = bButton;
  wait.nFrames = nFrames;
  wait.nReserved = 0;
  wait.nDelay = bButton != 0 && nKind == WAIT_MESSAGE && bNoDelay == 0 ? 10 : 0;
}
