// Joystick snapshots over SDL's joystick API, with hot-plug.
#include "platform/input/joystick.h"

#include <SDL.h>

#include <mutex>

namespace plat {

namespace {

struct cPad {
  bool bPresent = false;
  SDL_Joystick* pJoy = nullptr;
  JOYSTATE state;
};

std::mutex g_PadMutex;
cPad g_Pads[kMaxJoysticks];

uint32_t AxisOf(SDL_Joystick* pJoy, int nAxis) {
  if (nAxis >= SDL_JoystickNumAxes(pJoy)) return 32767;
  return static_cast<uint32_t>(SDL_JoystickGetAxis(pJoy, nAxis) + 32768);
}

uint32_t PovOf(SDL_Joystick* pJoy) {
  if (SDL_JoystickNumHats(pJoy) < 1) return kJoyPovCentred;
  switch (SDL_JoystickGetHat(pJoy, 0)) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return kJoyPovCentred;
  }
}

void OpenDevice(int nDevice) {
  SDL_Joystick* pJoy = SDL_JoystickOpen(nDevice);
  if (!pJoy) return;
  std::lock_guard<std::mutex> lock(g_PadMutex);
  for (cPad& pad : g_Pads) {
    if (pad.pJoy == pJoy) return;
  }
  for (cPad& pad : g_Pads) {
    if (!pad.bPresent) {
      pad.bPresent = true;
      pad.pJoy = pJoy;
      pad.state = JOYSTATE{};
      return;
    }
  }
  SDL_JoystickClose(pJoy);
}

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

void OpenJoysticks() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenDevice(i);
}

void HandleJoystickDeviceEvent(bool bAdded, int nDeviceOrInstance) {
  if (bAdded) {
    OpenDevice(nDeviceOrInstance);
    return;
  }
  std::lock_guard<std::mutex> lock(g_PadMutex);
  for (cPad& pad : g_Pads) {
    if (pad.pJoy && SDL_JoystickInstanceID(pad.pJoy) == nDeviceOrInstance) {
      SDL_JoystickClose(pad.pJoy);
      pad = cPad{};
    }
  }
}

void RefreshJoysticks() {
  std::lock_guard<std::mutex> lock(g_PadMutex);
  for (cPad& pad : g_Pads) {
    if (!pad.pJoy) continue;
    JOYSTATE s;
    s.dwXpos = AxisOf(pad.pJoy, 0);
    s.dwYpos = AxisOf(pad.pJoy, 1);
    s.dwZpos = AxisOf(pad.pJoy, 2);
    s.dwRpos = AxisOf(pad.pJoy, 3);
    s.dwUpos = AxisOf(pad.pJoy, 4);
    s.dwVpos = AxisOf(pad.pJoy, 5);
    int nButtons = SDL_JoystickNumButtons(pad.pJoy);
    for (int b = 0; b < nButtons && b < 32; ++b)
      if (SDL_JoystickGetButton(pad.pJoy, b)) s.dwButtons |= 1u << b;
    s.dwPOV = PovOf(pad.pJoy);
    pad.state = s;
  }
}

void CloseJoysticks() {
  std::lock_guard<std::mutex> lock(g_PadMutex);
  for (cPad& pad : g_Pads) {
    if (pad.pJoy) SDL_JoystickClose(pad.pJoy);
    pad = cPad{};
  }
}

void SetScriptedJoystick(int nId, const JOYSTATE* pState) {
  if (nId < 0 || nId >= kMaxJoysticks) return;
  std::lock_guard<std::mutex> lock(g_PadMutex);
  cPad& pad = g_Pads[nId];
  pad.pJoy = nullptr;
  pad.bPresent = pState != nullptr;
  pad.state = pState ? *pState : JOYSTATE{};
}

}  // namespace plat
