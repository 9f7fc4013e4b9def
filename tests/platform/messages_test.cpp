// Queues, windows and sends across threads.
#include "platform/msg/messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock/clock.h"
#include "platform/msg/threads.h"
#include "platform/msg/window.h"

namespace plat {
namespace {

std::atomic<ThreadId> g_HandledOn{0};

intptr_t Doubler(WndHandle, uint32_t message, uintptr_t wParam, intptr_t) {
  g_HandledOn = GetCurrentThreadId();
  return message == WM_USER ? static_cast<intptr_t>(wParam * 2) : 0;
}

std::vector<MSG> TakeAll() {
  std::vector<MSG> out;
  MSG msg;
  while (PeekMessage(msg, true)) out.push_back(msg);
  return out;
}

class Messages : public ::testing::Test {
 protected:
  void TearDown() override { SetQuitting(false); }
};

}  // namespace

TEST_F(Messages, PostsArriveInOrderAndPeekCanLeaveThemThere) {
  WndHandle h = CreateWnd(Doubler, nullptr);
  EXPECT_TRUE(PostMessage(h, WM_USER, 1, 10));
  EXPECT_TRUE(PostMessage(h, WM_USER + 1, 2, 20));
  MSG msg;
  ASSERT_TRUE(PeekMessage(msg, false));
  EXPECT_EQ(msg.wParam, 1u);
  auto all = TakeAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].message, WM_USER);
  EXPECT_EQ(all[1].lParam, 20);
  EXPECT_EQ(DispatchMessage(all[0]), 2);
  DestroyWnd(h);
}

TEST_F(Messages, DeadWindowsTakeNothing) {
  struct cLog {
    std::vector<uint32_t> seen;
  };
  static cLog log;
  WndHandle h = CreateWnd(
      [](WndHandle, uint32_t m, uintptr_t, intptr_t) -> intptr_t {
        log.seen.push_back(m);
        return 0;
      },
      nullptr);
  EXPECT_TRUE(DestroyWnd(h));
  EXPECT_EQ(log.seen, std::vector<uint32_t>{WM_DESTROY});
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(PostMessage(h, WM_CLOSE, 0, 0));
  EXPECT_FALSE(PostMessage(nullptr, WM_CLOSE, 0, 0));
  EXPECT_EQ(SendMessage(h, WM_USER, 1, 0), 0);
  EXPECT_FALSE(DestroyWnd(h));
  EXPECT_TRUE(TakeAll().empty());
}

TEST_F(Messages, SendRunsOnTheOwnerThreadAndReturnsItsResult) {
  WndHandle h = CreateWnd(Doubler, nullptr);
  EXPECT_EQ(SendMessage(h, WM_USER, 4, 0), 8);  // same thread: a direct call
  EXPECT_EQ(g_HandledOn.load(), GetCurrentThreadId());

  std::atomic<intptr_t> nResult{-1};
  std::thread sender([&] { nResult = SendMessage(h, WM_USER, 21, 0); });
  // The sender waits until this thread looks at its queue.
  SleepMs(20);
  EXPECT_EQ(nResult.load(), -1);
  MSG msg;
  while (nResult.load() == -1) {
    PeekMessage(msg, true);
    SleepMs(1);
  }
  sender.join();
  EXPECT_EQ(nResult.load(), 42);
  EXPECT_EQ(g_HandledOn.load(), GetCurrentThreadId());
  DestroyWnd(h);
}

TEST_F(Messages, ClosingReleasesWaitingSendsAndRefusesNewOnes) {
  WndHandle h = CreateWnd(Doubler, nullptr);
  std::atomic<intptr_t> nResult{-1};
  std::thread sender([&] { nResult = SendMessage(h, WM_USER, 21, 0); });
  SleepMs(20);
  auto t0 = std::chrono::steady_clock::now();
  SetQuitting(true);
  sender.join();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 0.5);
  EXPECT_EQ(nResult.load(), 0);
  // The given-up request is not run later.
  g_HandledOn = 0;
  ProcessSentMessages();
  EXPECT_EQ(g_HandledOn.load(), 0u);
  std::thread late([&] { nResult = SendMessage(h, WM_USER, 5, 0); });
  late.join();
  EXPECT_EQ(nResult.load(), 0);
  DestroyWnd(h);
}

TEST_F(Messages, ThreadMessagesNeedTheThreadsQueue) {
  std::atomic<bool> bReady{false};
  std::atomic<bool> bGotQuit{false};
  ThreadId id = 0;
  std::pair<std::atomic<bool>*, std::atomic<bool>*> flags(&bReady, &bGotQuit);
  cThreadRecord* t = StartThread(
      [](void* p) -> unsigned {
        auto* flags = static_cast<std::pair<std::atomic<bool>*, std::atomic<bool>*>*>(p);
        while (!flags->first->load()) SleepMs(1);
        MSG msg;
        for (;;) {
          if (PeekMessage(msg, true) && msg.message == WM_QUIT) {
            flags->second->store(true);
            return 1;
          }
          SleepMs(1);
        }
      },
      &flags, id);
  ASSERT_NE(t, nullptr);
  EXPECT_FALSE(PostThreadMessage(id, WM_APP, 0, 0));  // no queue before its first peek
  bReady = true;
  while (!PostThreadMessage(id, WM_APP, 0, 0)) SleepMs(0);
  EXPECT_TRUE(PostThreadMessage(id, WM_QUIT, 0, 0));
  while (!HasThreadEnded(t)) SleepMs(1);
  EXPECT_TRUE(bGotQuit.load());
  CloseThread(t);
  EXPECT_EQ(AbandonedThreadCount(), 0);
  // An ended thread's queue is gone with it.
  SleepMs(5);
  EXPECT_FALSE(PostThreadMessage(id, WM_APP, 0, 0));
}

TEST_F(Messages, WaitWakesForAPostFromAnotherThread) {
  WndHandle h = CreateWnd(Doubler, nullptr);
  EXPECT_FALSE(WaitMessageFor(5));
  std::thread poster([&] {
    SleepMs(10);
    PostMessage(h, WM_USER, 1, 0);
  });
  WaitMessage();
  poster.join();
  EXPECT_EQ(TakeAll().size(), 1u);
  PostQuitMessage(3);
  auto all = TakeAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].message, WM_QUIT);
  EXPECT_EQ(all[0].wParam, 3u);
  DestroyWnd(h);
}

TEST_F(Messages, ASleepFromAMarkEndsOnlyForWhatCameAfterIt) {
  // A wait far longer than any test: each case must end it early, or not.
  constexpr uint32_t kLongMs = 60000;
  struct CASE {
    const char* szName;
    void (*pfnCause)(WndHandle);  // run on another thread after the mark
    bool bWakes;
  };
  const CASE cases[] = {
      {"a post", [](WndHandle h) { PostMessage(h, WM_USER, 0, 0); }, true},
      {"a send", [](WndHandle h) { SendMessage(h, WM_USER, 1, 0); }, true},
      {"a notice", [](WndHandle) { NotifyWaiters(); }, true},
      {"closing", [](WndHandle) { SetQuitting(true); }, true},
  };
  WndHandle h = CreateWnd(Doubler, nullptr);
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.szName);
    SetQuitting(false);
    // Something that came before the mark does not end the sleep.
    PostMessage(h, WM_USER, 0, 0);
    const WAITMARK mark = GetWaitMark();
    EXPECT_FALSE(HasNewsSince(mark));
    std::thread cause([&] { c.pfnCause(h); });
    // A send is served by the peek of the thread that owns the window.
    for (int i = 0; i < 2000 && !HasNewsSince(mark); ++i) SleepMs(1);
    ProcessSentMessages();
    EXPECT_EQ(WaitFromMark(mark, GetTickMs() + kLongMs), c.bWakes);
    cause.join();
    TakeAll();
  }
  SetQuitting(false);
  // With nothing new the sleep lasts until its due tick.
  const WAITMARK mark = GetWaitMark();
  const uint32_t dwDue = GetTickMs() + 20;
  EXPECT_FALSE(WaitFromMark(mark, dwDue));
  EXPECT_GE(static_cast<int32_t>(GetTickMs() - dwDue), 0);
  DestroyWnd(h);
}

}  // namespace plat
