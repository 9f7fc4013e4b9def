// The start and join of a nested frame loop, and the turns every such loop
// shares.
#include "stage/nested_loop.h"

#include <atomic>
#include <memory>

#include "base/frame_limit.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/thread.h"
#include "base/window_requests.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "scenes/scene_manager.h"

namespace {

// What a loop thread is started with. The thread owns it; the end flag is
// shared with the starter, which may stop waiting for it before the end.
struct LOOPSTART {
  unsigned (*pfnProc)(void*) = nullptr;
  void* pArg = nullptr;
  std::shared_ptr<std::atomic<bool>> pEnded;
};

unsigned RunLoopThread(void* p) {
  const std::unique_ptr<LOOPSTART> pStart(static_cast<LOOPSTART*>(p));
  // A thread takes posts once its queue exists, and a peek makes it. Made
  // before the loop looks at anything, a close is never lost however early
  // it comes: one asked for before this is seen by the loop's own look at
  // the closing play, one after finds the queue and its WM_QUIT is kept.
  plat::MSG msg;
  plat::PeekMessage(msg, false);
  const unsigned nResult = pStart->pfnProc(pStart->pArg);
  pStart->pEnded->store(true);
  return nResult;
}

// A loop looks at the closing program once a turn, and a turn is at most
// a frame; this bound only guards against a loop stuck in a frame.
constexpr int kLoopEndPolls = 2000;

}  // namespace

int RunNestedLoop(cThread& thread, unsigned (*pfnProc)(void*), void* pArg, int bPostStart) {
  if (thread.m_hThread.load()) {
    // Only one loop of a kind runs at a time; a second one asked for from
    // inside the first would take the thread object from under it.
    ReportF("a waiting loop was asked for while one runs: it is left out");
    return 0;
  }
  // Once the program closes, the close sequence has stopped (or is
  // stopping) the loop threads: one started now would be nobody's to stop.
  if (plat::IsQuitting()) return 0;
  auto pEnded = std::make_shared<std::atomic<bool>>(false);
  auto* pStart = new LOOPSTART{pfnProc, pArg, pEnded};
  if (!thread.Start(RunLoopThread, pStart)) {
    delete pStart;
    ReportF("a waiting loop could not start its thread: the play goes on at once");
    return 0;
  }
  if (bPostStart) {
    // A loop that ended before its first look at its queue (a close was
    // already requested) never takes the message.
    while (!plat::PostThreadMessage(thread.m_dwThreadId, kLoopStartMessage, 0, 0) &&
           !pEnded->load())
      plat::SleepMs(0);
  }
  thread.Join();
  // The join lets go once the program closes; the loop sees that at its
  // next turn, and nothing may go on under it before.
  for (int n = 0; !pEnded->load() && n < kLoopEndPolls; ++n) plat::SleepMs(1);
  return 1;
}

cNestedFrames::eTurn cNestedFrames::CheckMessages() {
  if (plat::IsQuitting()) return TURN_END;
  plat::MSG msg;
  const bool bMessage = plat::PeekMessage(msg, true);
  if (bMessage && msg.message == plat::WM_QUIT) return TURN_END;
  // A run that has shown all its frames draws no more while its close
  // comes through.
  if (m_bLimitPosted || (!bMessage && bAppActive.load() == 0)) {
    plat::SleepMs(1);
    return TURN_IDLE;
  }
  return TURN_FRAME;
}

void cNestedFrames::BeginFrame(cSafeVector<cInput>& inputs) {
  WaitFrameTiming();
  if (!g_SceneManager.CheckLostSurface())
    plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
  g_SceneManager.PollInput(inputs);
}

void cNestedFrames::Present() {
  g_SceneManager.Present();
  CountFrameRun();
  if (!m_bLimitPosted && IsFrameLimitReached()) {
    m_bLimitPosted = true;
    plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
  }
}
