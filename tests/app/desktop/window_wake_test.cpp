// The window thread asleep on its window's X connection: a frame handed
// over and a message posted from another thread each wake it, where a
// missed wake would leave it asleep for its whole wait.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/desktop/sdl_event_feed.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/msg/window.h"
#include "platform/present/presenter.h"
#include "tests/app/desktop/x_server.h"

extern cXServer g_XServer;

namespace plat::desktop {
namespace {

intptr_t Ignore(WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// The rest of the program runs on SDL's dummy driver; this test wants x11.
class cVideoDriver {
 public:
  explicit cVideoDriver(const char* szDriver) {
    if (const char* szOld = std::getenv("SDL_VIDEODRIVER")) m_strOld = szOld;
    setenv("SDL_VIDEODRIVER", szDriver, 1);
  }
  ~cVideoDriver() { setenv("SDL_VIDEODRIVER", m_strOld.c_str(), 1); }

 private:
  std::string m_strOld = "dummy";
};

TEST(WindowWake, AFrameOrAMessageFromAnotherThreadEndsTheWaitOnTheDisplay) {
  if (!g_XServer.HasDisplay()) GTEST_SKIP() << g_XServer.Why();
  cVideoDriver driver("x11");
  cSdlPresenter presenter;
  ASSERT_TRUE(presenter.Open(320, 240)) << presenter.GetOpenError();
  if (presenter.GetDisplayConnection() < 0) GTEST_SKIP() << "the window is not on X11";
  cSdlEventFeed feed(&presenter);
  feed.Start();
  ASSERT_TRUE(feed.IsStarted()) << SDL_GetError();
  WndHandle hWnd = CreateWnd(Ignore, nullptr);
  const std::vector<uint32_t> frame(320 * 240, 0xFF204080u);

  // A missed wake sleeps this long; a kept one returns long before.
  constexpr uint32_t kWaitMs = 30000;
  for (const bool bFrame : {true, false, true}) {
    SCOPED_TRACE(bFrame ? "a frame" : "a message");
    feed.Pump(hWnd);
    presenter.Refresh(false);
    MSG msg;
    while (PeekMessage(msg, true)) {
    }
    const WAITMARK mark = GetWaitMark();
    std::atomic<bool> bWoken{false};
    std::thread other([&] {
      SleepMs(50);
      bWoken = true;
      if (bFrame)
        PresentFrame(frame.data(), 320, 240, 320);
      else
        PostMessage(hWnd, WM_APP, 0, 0);
    });
    const uint32_t dwStart = GetTickMs();
    // A wait may also end for the display's own events, or once as it
    // starts to sleep on the connection: it is waited again until the wake.
    while (!bWoken && GetTickMs() - dwStart < 20000) feed.Wait(mark, kWaitMs);
    other.join();
    EXPECT_LT(GetTickMs() - dwStart, 20000u);
  }
  DestroyWnd(hWnd);
  feed.Stop();
  presenter.Close();
}

}  // namespace
}  // namespace plat::desktop
