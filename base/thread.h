// Thread objects: start, join, suspend, resume, and a bounded stop that asks
// with WM_QUIT and gives the thread 200 polls of 1 ms to leave.
#pragma once

#include <atomic>
#include <cstdint>

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

  uint32_t m_dwThreadId = 0;
  // Null while the object holds no thread; others test it to see whether the
  // thread runs (the close sequence looks at the pause thread's).
  std::atomic<plat::cThreadRecord*> m_hThread{nullptr};
};

// Polls a thread gets to leave after the first WM_QUIT.
constexpr int kThreadExitPolls = 200;

extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;
extern cThread thStageLoad;
