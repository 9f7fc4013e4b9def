// What the play screen shows besides the stage's objects: message texts,
// effects and pictures (each owned by a list of the play scene), and the
// screen-colour change of the "画面の色を変更" command. The display
// commands (command_display.cpp) and the play's own events put them there.
#pragma once

#include <cstdint>

#include "stage/effect_obj.h"
#include "stage/picture_obj.h"
#include "stage/text_obj.h"

// The screen-colour change, in its record order.
class cScreenColor {
 public:
  cScreenColor() { Reset(); }
  // Zeroed, with the last alpha not visible.
  void Reset() { *this = cScreenColor(0); }
  // The command's eight values: red, green, blue, strength (percent),
  // return, time in tenths of a second, blink, repeat count. A return
  // while nothing is shown does nothing.
  void SetFromCommand(const int32_t (&anValues)[8]);
  // The level the colour is laid at for the frame now due (0 opaque, 255
  // not seen), and the counters moved on to the next frame unless bStill;
  // the change ends (m_bActive 0) by its rule.
  int32_t StepLevel(int bStill);

  int32_t m_bDone = 0;
  uint8_t m_cRed = 0;
  uint8_t m_cGreen = 0;
  uint8_t m_cBlue = 0;
  int32_t m_nStrength = 0;
  int32_t m_bReturn = 0;
  int32_t m_nDuration = 0;
  int32_t m_bBlink = 0;
  int32_t m_nRepeat = 0;
  int32_t m_bActive = 0;
  int32_t m_nFrame = 0;
  int32_t m_nRepeatCount = 0;
  int32_t m_nAlpha = 0;
  uint8_t m_cPrevRed = 0;
  uint8_t m_cPrevGreen = 0;
  uint8_t m_cPrevBlue = 0;
  int32_t m_nPrevStrength = 0;
  int32_t m_nPrevAlpha = 255;

 private:
  explicit cScreenColor(int) {}
};
