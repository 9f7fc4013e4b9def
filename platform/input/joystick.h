// Joysticks as the game reads them: up to 16 pads by id, axes 0..65535 with
// 32767 at rest, a bit mask of up to 32 buttons, the point-of-view hat in
// hundredths of a degree (0xFFFF centred). The window thread keeps the
// snapshots fresh; any thread reads them.
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

// Window thread: opens the pads present (joystick support must be running),
// follows plug events and refreshes the snapshots.
void OpenJoysticks();
void HandleJoystickDeviceEvent(bool bAdded, int nDeviceOrInstance);
void RefreshJoysticks();
void CloseJoysticks();

// Scripted pads for tests and headless runs (null state: unplugged).
void SetScriptedJoystick(int nId, const JOYSTATE* pState);

}  // namespace plat
