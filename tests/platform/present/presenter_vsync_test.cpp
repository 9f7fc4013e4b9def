// Frames paced by the display: a frame handed over is let go once the
// window has shown it, never waits without a window that syncs, and the
// pacing gives itself up when the window shows frames faster than any
// display we sync with.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_window.h"
#include "support/vsync_presenter.h"

namespace {

void HandOverAFrame() {
  static const std::vector<uint32_t> frame(64 * 48, 0x00102030u);
  plat::PresentFrame(frame.data(), 64, 48, 64);
}

}  // namespace

TEST(PresenterVSync, WithoutAWindowThatSyncsNothingWaits) {
  // The null presenter has no window.
  EXPECT_FALSE(plat::SetPresentVSync(true));
  EXPECT_FALSE(plat::IsPresentVSyncOn());
  HandOverAFrame();
  EXPECT_FALSE(plat::WaitFrameShown(1000));  // at once: the caller's timer paces
}

TEST(PresenterVSync, AFrameIsLetGoOnceTheWindowShowedIt) {
  cVSyncPresenterInstalled installed;
  ASSERT_TRUE(plat::SetPresentVSync(true));
  EXPECT_TRUE(installed.Presenter().m_bVSync);
  EXPECT_TRUE(plat::IsPresentVSyncOn());

  // Nobody shows it: the wait gives up after its time.
  HandOverAFrame();
  EXPECT_FALSE(plat::WaitFrameShown(20));

  // The window thread shows it a display's frame later.
  HandOverAFrame();
  std::thread window([] {
    plat::SleepMs(17);
    plat::ServicePresenter(false);
  });
  EXPECT_TRUE(plat::WaitFrameShown(5000));
  window.join();
  EXPECT_EQ(installed.Presenter().m_nShown, 1);  // only the newest of the two is shown
  EXPECT_TRUE(plat::IsPresentVSyncOn());

  plat::SetPresentVSync(false);
  EXPECT_FALSE(installed.Presenter().m_bVSync);
  EXPECT_FALSE(plat::IsPresentVSyncOn());
}

TEST(PresenterVSync, AWindowThatDoesNotWaitGivesThePacingBack) {
  cVSyncPresenterInstalled installed;
  ASSERT_TRUE(plat::SetPresentVSync(true));
  // Shown a display's frame apart, frames stay with the display.
  for (int i = 0; i < 12; ++i) {
    plat::SleepMs(13);
    HandOverAFrame();
    plat::ServicePresenter(false);
  }
  EXPECT_TRUE(plat::IsPresentVSyncOn());
  // Shown as fast as they come, they cannot have waited for anything.
  for (int i = 0; i < 12; ++i) {
    HandOverAFrame();
    plat::ServicePresenter(false);
  }
  EXPECT_FALSE(plat::IsPresentVSyncOn());
  HandOverAFrame();
  EXPECT_FALSE(plat::WaitFrameShown(1000));
  plat::SetPresentVSync(false);
}
