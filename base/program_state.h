// Program-wide start-up state shared by the window thread and the game side.
#pragma once

#include <atomic>

#include "platform/msg/messages.h"

extern int bTestPlay;                            // started by the editor for a test play
extern std::atomic<unsigned char> bGameStarted;  // start-up done, game thread running
extern std::atomic<int> bAppActive;              // last activation state of the app
extern std::atomic<plat::WndHandle> g_hMainWnd;  // target of every fatal close request

// The fatal-close channel: a fault the program cannot play on asks the main
// window to close (WM_CLOSE to g_hMainWnd, which start-up sets once the
// window exists). The shell's close sequence decides what closing means.
void PostFatalClose();

// Start-up decisions on the screen.
extern int bWindowed;
extern int nScreenBpp;
extern int bPresentByBlit;
extern int bCommandLineStage;
