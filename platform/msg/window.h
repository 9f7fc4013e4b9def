// Window objects of the message layer: a procedure, the thread that owns the
// window, and the caller's own data. Messages posted or sent to a window run
// its procedure on the owning thread.
#pragma once

#include <cstdint>

#include "platform/msg/messages.h"

namespace plat {

using WndProc = intptr_t (*)(WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct cWnd {
  WndProc pfnProc = nullptr;
  void* pUser = nullptr;
  ThreadId owner = 0;
};

// Makes a window owned by the calling thread (its queue is made too).
WndHandle CreateWnd(WndProc pfnProc, void* pUser);

// Runs the procedure with WM_DESTROY, then the handle is no window any more:
// posts to it fail and sends return 0. False when it was no window.
bool DestroyWnd(WndHandle hWnd);

bool IsWindow(WndHandle hWnd);

}  // namespace plat
