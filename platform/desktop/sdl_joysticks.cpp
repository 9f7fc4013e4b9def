// SDL joysticks read into the pad table.
#include "platform/desktop/sdl_joysticks.h"

#include <SDL.h>

#include "platform/input/joystick.h"

namespace plat::desktop {

namespace {

// The open device of each pad slot; only the window thread touches them.
SDL_Joystick* g_pJoys[kMaxJoysticks] = {};

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
  for (SDL_Joystick* p : g_pJoys) {
    if (p == pJoy) return;
  }
  for (int i = 0; i < kMaxJoysticks; ++i) {
    JOYSTATE scripted;
    if (!g_pJoys[i] && !ReadJoystick(i, scripted)) {
      g_pJoys[i] = pJoy;
      const JOYSTATE atRest;
      SetJoystickState(i, &atRest);
      return;
    }
  }
  SDL_JoystickClose(pJoy);
}

}  // namespace

void OpenJoysticks() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenDevice(i);
}

void HandleJoystickDeviceEvent(bool bAdded, int nDeviceOrInstance) {
  if (bAdded) {
    OpenDevice(nDeviceOrInstance);
    return;
  }
  for (int i = 0; i < kMaxJoysticks; ++i) {
    if (g_pJoys[i] && SDL_JoystickInstanceID(g_pJoys[i]) == nDeviceOrInstance) {
      SDL_JoystickClose(g_pJoys[i]);
      g_pJoys[i] = nullptr;
      SetJoystickState(i, nullptr);
    }
  }
}

void RefreshJoysticks() {
  for (int i = 0; i < kMaxJoysticks; ++i) {
    SDL_Joystick* pJoy = g_pJoys[i];
    if (!pJoy) continue;
    JOYSTATE s;
    s.dwXpos = AxisOf(pJoy, 0);
    s.dwYpos = AxisOf(pJoy, 1);
    s.dwZpos = AxisOf(pJoy, 2);
    s.dwRpos = AxisOf(pJoy, 3);
    s.dwUpos = AxisOf(pJoy, 4);
    s.dwVpos = AxisOf(pJoy, 5);
    int nButtons = SDL_JoystickNumButtons(pJoy);
    for (int b = 0; b < nButtons && b < 32; ++b)
      if (SDL_JoystickGetButton(pJoy, b)) s.dwButtons |= 1u << b;
    s.dwPOV = PovOf(pJoy);
    SetJoystickState(i, &s);
  }
}

void CloseJoysticks() {
  for (int i = 0; i < kMaxJoysticks; ++i) {
    if (!g_pJoys[i]) continue;
    SDL_JoystickClose(g_pJoys[i]);
    g_pJoys[i] = nullptr;
    SetJoystickState(i, nullptr);
  }
}

}  // namespace plat::desktop
