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

// Window thread, when a turn found nothing to do: sleeps until the desktop
// has an event, a frame is handed over, a message or notice came after the
// mark, or (at the latest) a close signal could be due.
void WaitWindowEvents(const WAITMARK& mark);

// SIGTERM and SIGINT post WM_CLOSE to the main window at the next pump: how
// a second copy asks this one to close.
void InstallCloseSignal();

// Whether a close signal came that the main window has not been asked to
// act on yet. A box or dialog that waits for an answer ends, as if closed,
// while one is pending (one that came before it showed included); the
// close request itself still reaches the main window at the next pump.
bool IsCloseSignalPending();

}  // namespace plat
