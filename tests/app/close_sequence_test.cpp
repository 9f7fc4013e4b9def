// The main window's close sequence with real queues and threads: every
// thread ends within its bound even when it waits on the window thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/entry.h"
#include "app/main_window.h"
#include "base/frame_limit.h"
#include "base/program_state.h"
#include "base/run_options.h"
#include "base/thread.h"
#include "platform/clock/clock.h"
#include "platform/input/keyboard.h"
#include "platform/msg/threads.h"
#include "platform/msg/window.h"

namespace {

std::atomic<int> g_nSends{0};

// A game thread that asks the window thread for a sound over and over.
unsigned SendingLoop(void*) {
  for (;;) {
    plat::MSG msg;
    if (plat::PeekMessage(msg, true) && msg.message == plat::WM_QUIT) return 1;
    ++g_nSends;
    PlaySE(0);
  }
}

class MainWindowClose : public ::testing::Test {
 protected:
  void SetUp() override {
    m_hWnd = plat::CreateWnd(MainWndProc, &g_MainWindow);
    g_MainWindow.m_hWnd = m_hWnd;
    g_hMainWnd = m_hWnd;
  }
  void TearDown() override {
    plat::SetQuitting(false);
    plat::DestroyWnd(m_hWnd);
    bGameStarted = 0;
    bCloseDuringStartUp = 0;
    g_hMainWnd = nullptr;
  }
  std::vector<plat::MSG> TakeMessages() {
    std::vector<plat::MSG> out;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) out.push_back(msg);
    return out;
  }
  plat::WndHandle m_hWnd = nullptr;
};

}  // namespace

TEST_F(MainWindowClose, CloseDuringStartUpIsOnlyRecorded) {
  bGameStarted = 0;
  MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);
  EXPECT_EQ(bCloseDuringStartUp.load(), 1);
  EXPECT_TRUE(plat::IsWindow(m_hWnd));
  EXPECT_FALSE(plat::IsQuitting());
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(MainWindowClose, EscapeAndOnlyEscapeAsksToClose) {
  for (int nVk : {plat::VK_SPACE, int{'Z'}, plat::VK_RETURN})
    MainWndProc(m_hWnd, plat::WM_KEYDOWN, nVk, 0);
  EXPECT_TRUE(TakeMessages().empty());
  MainWndProc(m_hWnd, plat::WM_KEYDOWN, plat::VK_ESCAPE, 0);
  auto msgs = TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].message, plat::WM_CLOSE);
  EXPECT_EQ(msgs[0].hWnd, m_hWnd);
}

TEST_F(MainWindowClose, ClosingEndsThreadsBlockedInASend) {
  bGameStarted = 1;
  ASSERT_EQ(thGame.Start(SendingLoop, nullptr), 1);
  ASSERT_EQ(thRanking.Start(SendingLoop, nullptr), 1);
  // This thread does not serve sends, so both threads are now stuck in one.
  while (g_nSends.load() < 2) plat::SleepMs(1);
  plat::SleepMs(20);
  EXPECT_EQ(g_nSends.load(), 2);

  auto t0 = std::chrono::steady_clock::now();
  MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);
  double d = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  EXPECT_LT(d, 2.0);
  // Ended by its WM_QUIT, not given up on after the 200 polls.
  EXPECT_EQ(thGame.m_hThread.load(), nullptr);
  EXPECT_EQ(thRanking.m_hThread.load(), nullptr);
  EXPECT_EQ(plat::AbandonedThreadCount(), 0);
  EXPECT_FALSE(plat::IsWindow(m_hWnd));
  EXPECT_EQ(g_hMainWnd.load(), nullptr);
  auto msgs = TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].message, plat::WM_QUIT);
  EXPECT_EQ(msgs[0].wParam, 0u);
}

// Between the start of the close and the game thread's WM_QUIT the other
// threads are stopped one by one: the game thread runs no frame meanwhile,
// for its frames would go on with a play or a menu (unpaced, as the frame
// gate lets go) under a program being taken apart.
TEST_F(MainWindowClose, TheGameLoopRunsNoFrameOnceClosingHasBegun) {
  bAppActive = 1;
  const int nLimit = g_RunOptions.nFrames;
  // Bounds a loop that would run frames.
  g_RunOptions.nFrames = GetFramesRun() + 20;
  const int nBefore = GetFramesRun();
  plat::SetQuitting(true);
  EXPECT_EQ(GameLoop(nullptr), 1u);
  EXPECT_EQ(GetFramesRun(), nBefore);
  g_RunOptions.nFrames = nLimit;
  bAppActive = 0;
}

TEST_F(MainWindowClose, ActivationFollowsTheMessage) {
  MainWndProc(m_hWnd, plat::WM_ACTIVATEAPP, 1, 0);
  EXPECT_EQ(bAppActive.load(), 1);
  MainWndProc(m_hWnd, plat::WM_ACTIVATEAPP, 0, 0);
  EXPECT_EQ(bAppActive.load(), 0);
}
