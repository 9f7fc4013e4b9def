// Thread objects: start, join, suspend, resume, and a bounded stop that asks
// with WM_QUIT and gives the thread 200 polls of 1 ms to leave.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/msg/threads.h"

class cThread {
 public:
  cThread() = default;
  cThread(const cThread&) = delete;
  cThread& operator=(const cThread&) = delete;
  ~cThread() { Exit(); }

  int Start(unsigned (*pfnProc)(void*), void* pArg);
  void Join();
  bool Suspend();
  bool Resume();
  void Exit();
  // Runs fn with the thread's id while the object holds its thread, and no
  // join or stop can let the thread go before fn is done: whoever joins the
  // thread sees what fn did once the join is over. false, without fn, when
  // the object holds no thread.
  bool RunIfStarted(const std::function<void(uint32_t dwThreadId)>& fn);

  uint32_t m_dwThreadId = 0;
  // Null while the object holds no thread; others test it to see whether the
  // thread runs (the close sequence looks at the pause thread's).
  std::atomic<plat::cThreadRecord*> m_hThread{nullptr};

 private:
  // Whether the thread of pRec has ended; one whose record was let go
  // meanwhile has.
  bool HasEnded(plat::cThreadRecord* pRec);
  // Lets the record go, unless it was let go already.
  void Release(plat::cThreadRecord* pRec);

  // A join and a stop of one thread may run at once on two threads (the
  // play joins the waiting loop while the close sequence stops it): the
  // record is looked at and let go only under this.
  std::mutex m_Mutex;
};

// Polls a thread gets to leave after the first WM_QUIT.
constexpr int kThreadExitPolls = 200;

extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;
extern cThread thStageLoad;
