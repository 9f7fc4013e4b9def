// The window thread's link to the desktop: SDL events become the messages the
// main window handles (Escape and other keys, the close button, focus, move,
// size), key and pad states are kept, exposed frames are shown again, and a
// termination signal becomes a close request.
#pragma once

#include "platform/msg/messages.h"

namespace plat {

// Starts SDL's event and joystick parts (none in headless runs).
void InitWindowEvents(bool bHeadless);
void ShutdownWindowEvents();

// Window thread, once per loop turn.
void PumpWindowEvents(WndHandle hMainWnd);

// SIGTERM and SIGINT post WM_CLOSE to the main window at the next pump: how
// a second copy asks this one to close.
void InstallCloseSignal();

}  // namespace plat
