// The pad table: the newest snapshot of each pad, under one lock.
#include "platform/input/joystick.h"

#include <mutex>

namespace plat {

namespace {

struct cPad {
  bool bPresent = false;
  JOYSTATE state;
};

std::mutex g_PadMutex;
cPad g_Pads[kMaxJoysticks];

}  // namespace

bool ReadJoystick(int nId, JOYSTATE& out) {
  if (nId < 0 || nId >= kMaxJoysticks) return false;
  std::lock_guard<std::mutex> lock(g_PadMutex);
  if (!g_Pads[nId].bPresent) return false;
  out = g_Pads[nId].state;
  return true;
}

int CountJoysticks() {
  std::lock_guard<std::mutex> lock(g_PadMutex);
  int n = 0;
  for (const cPad& pad : g_Pads) n += pad.bPresent ? 1 : 0;
  return n;
}

void SetJoystickState(int nId, const JOYSTATE* pState) {
  if (nId < 0 || nId >= kMaxJoysticks) return;
  std::lock_guard<std::mutex> lock(g_PadMutex);
  cPad& pad = g_Pads[nId];
  pad.bPresent = pState != nullptr;
  pad.state = pState ? *pState : JOYSTATE{};
}

}  // namespace plat
