// Program-wide start-up state shared by the window thread and the game side.
#pragma once

#include <atomic>

#include "platform/msg/messages.h"

extern int bTestPlay;                            // started by the editor for a test play
extern std::atomic<unsigned char> bGameStarted;  // start-up done, game thread running
extern std::atomic<int> bAppActive;              // last activation state of the app
extern std::atomic<plat::WndHandle> g_hMainWnd;  // target of every fatal close request

// Start-up decisions on the screen.
extern int bWindowed;
extern int nScreenBpp;
extern int bPresentByBlit;
extern int bCommandLineStage;
