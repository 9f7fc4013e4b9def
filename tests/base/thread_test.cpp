// Thread objects: start, join, and the bounded stop.
#include "base/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/logs.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "support/temp_folder.h"

namespace {

// Leaves on WM_QUIT, as every thread procedure of the program does.
unsigned QuitOnRequest(void* pArg) {
  auto* pRuns = static_cast<std::atomic<int>*>(pArg);
  for (;;) {
    plat::MSG msg;
    if (plat::PeekMessage(msg, true) && msg.message == plat::WM_QUIT) return 1;
    ++*pRuns;
    plat::SleepMs(1);
  }
}

std::atomic<bool> g_bRelease{false};

// Never looks at its queue until released.
unsigned Deaf(void*) {
  while (!g_bRelease.load()) plat::SleepMs(1);
  return 1;
}

unsigned Quick(void* pArg) {
  *static_cast<std::atomic<int>*>(pArg) = 1;
  return 1;
}

double SecondsOf(void (cThread::*pfn)(), cThread& th) {
  auto t0 = std::chrono::steady_clock::now();
  (th.*pfn)();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

TEST(Thread, IdleObjectsDoNothingAndReportSuccess) {
  cTempFolder dir;
  std::string strDebug = dir / "EC_Game.txt";
  DebugLogInit(1, strDebug.c_str());
  cThread th;
  th.Exit();
  th.Join();
  EXPECT_TRUE(th.Suspend());
  EXPECT_TRUE(th.Resume());
  EXPECT_FALSE(dir.Has("EC_Game.txt"));
  DebugLogInit(0, "EC_Game.txt");
}

TEST(Thread, StartAndJoin) {
  std::atomic<int> nDone{0};
  cThread th;
  ASSERT_EQ(th.Start(Quick, &nDone), 1);
  EXPECT_NE(th.m_dwThreadId, 0u);
  th.Join();
  EXPECT_EQ(nDone.load(), 1);
  EXPECT_EQ(th.m_hThread.load(), nullptr);
  // An idle object can be started again.
  nDone = 0;
  ASSERT_EQ(th.Start(Quick, &nDone), 1);
  th.Join();
  EXPECT_EQ(nDone.load(), 1);
}

TEST(Thread, ExitEndsACooperatingThreadAtOnceAndLogsItsSteps) {
  cTempFolder dir;
  std::string strDebug = dir / "EC_Game.txt";
  DebugLogInit(1, strDebug.c_str());
  std::atomic<int> nRuns{0};
  cThread th;
  ASSERT_EQ(th.Start(QuitOnRequest, &nRuns), 1);
  while (nRuns.load() == 0) plat::SleepMs(1);
  EXPECT_LT(SecondsOf(&cThread::Exit, th), 2.0);
  EXPECT_EQ(th.m_hThread.load(), nullptr);
  EXPECT_EQ(plat::AbandonedThreadCount(), 0);
  EXPECT_EQ(dir.Read("EC_Game.txt"), "Exit A\nExit B\nExit C\nExit D\nExit E\n");
  DebugLogInit(0, "EC_Game.txt");
}

TEST(Thread, ExitGivesUpOnADeafThreadWithinItsBound) {
  cTempFolder dir;
  std::string strReport = dir / "Report_Game.txt";
  ReportInit(strReport.c_str());
  g_bRelease = false;
  cThread th;
  ASSERT_EQ(th.Start(Deaf, nullptr), 1);
  double d = SecondsOf(&cThread::Exit, th);
  // 200 polls of a millisecond, and some slack for a loaded machine.
  EXPECT_GE(d, 0.19);
  EXPECT_LT(d, 2.0);
  EXPECT_EQ(th.m_hThread.load(), nullptr);
  EXPECT_EQ(plat::AbandonedThreadCount(), 1);
  EXPECT_NE(dir.Read("Report_Game.txt").find("did not end"), std::string::npos);
  g_bRelease = true;
  plat::SleepMs(20);
}

TEST(Thread, JoinLetsGoOnceClosingHasBegun) {
  g_bRelease = false;
  cThread th;
  ASSERT_EQ(th.Start(Deaf, nullptr), 1);
  plat::SetQuitting(true);
  EXPECT_LT(SecondsOf(&cThread::Join, th), 0.5);
  // The thread is still held: the close sequence's Exit owns it now.
  EXPECT_NE(th.m_hThread.load(), nullptr);
  g_bRelease = true;
  plat::SetQuitting(false);
  th.Join();
  EXPECT_EQ(th.m_hThread.load(), nullptr);
}

// The close sequence stops a thread (Exit, on the window's thread) that the
// play may be joining at that moment (the waiting loop's thread, joined by
// the game's): whichever of the two sees the thread end first lets its
// record go, and the other must not look at it after that.
TEST(Thread, AnExitDuringAJoinOfTheSameThreadLeavesItsRecordToOneOfThem) {
  const int nAbandoned = plat::AbandonedThreadCount();
  for (int i = 0; i < 200; ++i) {
    std::atomic<int> nRuns{0};
    cThread th;
    ASSERT_EQ(th.Start(QuitOnRequest, &nRuns), 1);
    std::thread joiner([&] { th.Join(); });
    while (nRuns.load() == 0) plat::SleepMs(0);
    th.Exit();
    joiner.join();
    EXPECT_EQ(th.m_hThread.load(), nullptr);
  }
  EXPECT_EQ(plat::AbandonedThreadCount(), nAbandoned);
}

// The close sequence tells the play of a close while the play may be
// joining the waiting loop's thread, which ends by itself at that moment:
// what was done while the thread was held is seen by the joiner once its
// join is over, or nothing was done (the thread had been let go).
TEST(Thread, WhatRunsWhileAThreadIsHeldIsSeenOnceItsJoinIsOver) {
  int nRan = 0;
  for (int i = 0; i < 50; ++i) {
    std::atomic<int> nEnded{0};
    std::atomic<bool> bTold{false};
    cThread th;
    ASSERT_EQ(th.Start(Quick, &nEnded), 1);
    bool bSeen = false;
    std::thread joiner([&] {
      th.Join();
      bSeen = bTold.load();
    });
    while (nEnded.load() == 0) plat::SleepMs(0);
    // The telling takes a while: a join that could end meanwhile would
    // miss it.
    const bool bRan = th.RunIfStarted([&](uint32_t) {
      plat::SleepMs(2);
      bTold = true;
    });
    joiner.join();
    EXPECT_EQ(bSeen, bRan);
    nRan += bRan;
  }
  EXPECT_GT(nRan, 0);
}
