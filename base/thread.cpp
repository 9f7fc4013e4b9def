// Thread objects.
#include "base/thread.h"

#include "base/global_order.h"
#include "base/logs.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"

GLOBAL_OBJECT(GLOBAL_THREADS) cThread thGame;
GLOBAL_OBJECT(GLOBAL_THREADS) cThread thPause;
GLOBAL_OBJECT(GLOBAL_THREADS) cThread thRanking;
GLOBAL_OBJECT(GLOBAL_THREADS) cThread thStageLoad;

namespace {
// Longest sleep of a join between two looks.
constexpr uint32_t kJoinWaitMs = 100;
}  // namespace

int cThread::Start(unsigned (*pfnProc)(void*), void* pArg) {
  plat::ThreadId id = 0;
  plat::cThreadRecord* pRec = plat::StartThread(pfnProc, pArg, id);
  if (!pRec) return 0;
  std::lock_guard<std::mutex> lock(m_Mutex);
  m_dwThreadId = id;
  m_hThread = pRec;
  return 1;
}

bool cThread::HasEnded(plat::cThreadRecord* pRec) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  return m_hThread.load() != pRec || plat::HasThreadEnded(pRec);
}

void cThread::Release(plat::cThreadRecord* pRec) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  if (m_hThread.load() != pRec) return;
  m_hThread = nullptr;
  plat::CloseThread(pRec);
}

bool cThread::RunIfStarted(const std::function<void(uint32_t dwThreadId)>& fn) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  if (!m_hThread.load()) return false;
  fn(m_dwThreadId);
  return true;
}

void cThread::Join() {
  plat::cThreadRecord* pRec = m_hThread.load();
  if (!pRec) return;
  // Once closing has begun the close sequence ends the thread; a join must
  // not hold the caller past that.
  for (;;) {
    const plat::WAITMARK mark = plat::GetWaitMark();
    if (HasEnded(pRec)) break;
    if (plat::IsQuitting()) return;
    // A thread's end notifies; the bound only keeps a missed notice short.
    plat::WaitFromMarkFor(mark, kJoinWaitMs);
  }
  Release(pRec);
}

// Linux cannot suspend a thread from outside. Every thread the program
// suspends is already blocked (in a send or a join) while the modal dialog
// runs, so both calls only report success.
bool cThread::Suspend() { return true; }

bool cThread::Resume() { return true; }

void cThread::Exit() {
  plat::cThreadRecord* pRec = nullptr;
  uint32_t dwThreadId = 0;
  {
    std::lock_guard<std::mutex> lock(m_Mutex);
    pRec = m_hThread.load();
    dwThreadId = m_dwThreadId;
  }
  if (!pRec) return;
  while (!Resume()) {
  }
  DebugLog("Exit A");
  plat::PostThreadMessage(dwThreadId, plat::WM_QUIT, 0, 0);
  DebugLog("Exit B");
  DebugLog("Exit C");
  int n = 0;
  while (!HasEnded(pRec)) {
    plat::SleepMs(1);
    plat::PostThreadMessage(dwThreadId, plat::WM_QUIT, 0, 0);
    if (++n >= kThreadExitPolls) {
      // No thread can be killed safely here: it is left to run and the
      // process ends without waiting for it after shut-down.
      ReportF("Exit : thread %u did not end", dwThreadId);
      break;
    }
  }
  DebugLog("Exit D");
  Release(pRec);
  DebugLog("Exit E");
}
