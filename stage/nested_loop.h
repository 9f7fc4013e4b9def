// The frame loops that run nested inside the play while the game thread is
// parked in the step or the phase that started them (a wait that stops the
// play for a while, the ranking display after an entry): the start of such
// a loop on a thread object of its own and the join, and the turns of its
// loop (the thread's messages, the application's activity, the frame's
// pacing, surface recovery, input and present) that every nested loop
// shares. What a loop draws and when it ends is its own.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"

class cThread;
class cInput;

// The thread message a starter hands a new loop thread, posted until the
// thread's queue (made as the thread begins, before the loop runs) takes it.
constexpr uint32_t kLoopStartMessage = 0x8000;

// Runs pfnProc(pArg) on the thread object's thread and waits for it to end:
// with bPostStart the start message is posted first. The loop is waited for
// to its end even when the program begins to close meanwhile, so the loop
// never draws under a caller that goes on. 0 when no loop ran: the program
// is closing, the thread object runs one already (a loop started from
// inside a loop, reported), or no thread could be started (reported).
int RunNestedLoop(cThread& thread, unsigned (*pfnProc)(void*), void* pArg, int bPostStart);

// The shared turns of a nested loop, on its own thread.
class cNestedFrames {
 public:
  enum eTurn {
    TURN_END,    // WM_QUIT came, or the program is closing: the loop ends
    TURN_IDLE,   // nothing to do this turn (the application is not active)
    TURN_FRAME,  // the loop's own checks, then a frame
  };
  // One message of the thread taken (nothing is dispatched). A turn without
  // a message while the application is not active sleeps 1 ms.
  eTurn CheckMessages();
  // The frame's pacing, lost surfaces restored (a failure asks the program
  // to close) and player 1's input polled into the loop's own records.
  void BeginFrame(cSafeVector<cInput>& inputs);
  // The frame shown. Nested frames count towards the run's frame limit as
  // the game loop's do: the close request of a run that reached it comes
  // from here, once.
  void Present();

 private:
  bool m_bLimitPosted = false;
};
