// Joysticks as the game reads them: up to 16 pads by id, axes 0..65535 with
// 32767 at rest, a bit mask of up to 32 buttons, the point-of-view hat in
// hundredths of a degree (0xFFFF centred). The back end's event feed keeps
// the snapshots fresh on the window thread; any thread reads them.
#pragma once

#include <cstdint>

namespace plat {

constexpr int kMaxJoysticks = 16;
constexpr uint32_t kJoyPovCentred = 0xFFFF;

struct JOYSTATE {
  uint32_t dwXpos = 32767;
  uint32_t dwYpos = 32767;
  uint32_t dwZpos = 32767;
  uint32_t dwRpos = 32767;
  uint32_t dwUpos = 32767;
  uint32_t dwVpos = 32767;
  uint32_t dwButtons = 0;
  uint32_t dwPOV = kJoyPovCentred;
};

// False when no pad has that id.
bool ReadJoystick(int nId, JOYSTATE& out);
int CountJoysticks();

// The pad's newest snapshot (a null state: unplugged): from the desktop's
// pads, or scripted by tests and headless runs.
void SetJoystickState(int nId, const JOYSTATE* pState);

}  // namespace plat
