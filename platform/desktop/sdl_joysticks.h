// The desktop's pads: SDL joysticks with hot-plug, each in the first free
// slot of the pad table, their snapshots refreshed once per loop turn.
// Window thread only.
#pragma once

namespace plat::desktop {

// Joystick support must be running.
void OpenJoysticks();
// An SDL device index when added, an instance id when removed.
void HandleJoystickDeviceEvent(bool bAdded, int nDeviceOrInstance);
void RefreshJoysticks();
void CloseJoysticks();

}  // namespace plat::desktop
