// The window thread's link to the desktop: the installed back end's events
// become the messages the main window handles (Escape and other keys, the
// close button, focus, move, size), key and pad states are kept, exposed
// frames are shown again, and a termination signal becomes a close request.
#pragma once

#include "platform/msg/messages.h"

namespace plat {

// Starts the back end's event feed (the null one has none).
void InitWindowEvents();
void ShutdownWindowEvents();

// Window thread, once per loop turn.
void PumpWindowEvents(WndHandle hMainWnd);

// SIGTERM and SIGINT post WM_CLOSE to the main window at the next pump: how
// a second copy asks this one to close.
void InstallCloseSignal();

// How many close signals have arrived so far. A box or dialog that waits
// for an answer ends, as if closed, when this changes while it is up; the
// close request itself still reaches the main window at the next pump.
int GetCloseSignalCount();

}  // namespace plat
