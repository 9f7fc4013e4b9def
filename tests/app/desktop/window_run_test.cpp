// The program in a window on the test's own X server: a start that cannot
// play the file it was given ends at once instead of leaving its window
// open until Escape, and a window under a window manager comes back where
// it was left.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window_pos.h"
#include "platform/text/cp932.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "tests/app/desktop/window_manager.h"
#include "tests/app/desktop/x_server.h"

extern cXServer g_XServer;

namespace {

// The child runs in a real window: SDL's x11 driver on the test's display.
// In the sanitizer build the child's allocations are traced the slow, whole
// way: the GL driver that opens with the window keeps some memory until exit,
// and only a whole trace names the driver for the leak suppressions (a fast
// trace can stop short of it, at an unnamed frame).
std::vector<std::string> WindowEnv(const std::string& strRuntime) {
  std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + strRuntime, "SDL_VIDEODRIVER=x11",
                                  "SDL_AUDIODRIVER=dummy", "WAYLAND_DISPLAY", "NO_AT_BRIDGE=1"};
  if (const char* szAsan = std::getenv("ASAN_OPTIONS"))
    env.push_back(std::string("ASAN_OPTIONS=") + szAsan + ":fast_unwind_on_malloc=0");
  return env;
}

}  // namespace

TEST(WindowRun, AStartThatCannotPlayItsFileEndsAtOnceWithItsReason) {
  if (!g_XServer.HasDisplay()) GTEST_SKIP() << g_XServer.Why();
  struct CASE {
    const char* szFile;
    std::string strLine;  // the line on standard error, UTF-8
  };
  const CASE cases[] = {
      {"missing.stg4_783",
       "brimvale: cannot open the stage or replay file to start with: "
       "「missing.stg4_783」の読み込みに失敗しました！"},
      {"notes.txt",
       "brimvale: cannot play notes.txt: it is neither a stage file (its name ending in .stg4_ "
       "and three digits) nor a replay file (.rpl4_)"},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.szFile);
    cTempFolder dir;
    CopyDefaultGame(dir.Path());
    dir.Write("notes.txt", "not a stage\n");
    // Ended by the time limit, a run that waited in its window for Escape
    // would not have exited by itself.
    cProcessResult r = RunProcess({ProgramPath(), c.szFile}, WindowEnv(dir.Path()), dir.Path(), 30);
    ASSERT_TRUE(r.bExited) << r.strErr;
    EXPECT_EQ(r.nExitCode, 1);
    // Standard error speaks UTF-8.
    EXPECT_NE(r.strErr.find(plat::Cp932ToUtf8(c.strLine) + "\n"), std::string::npos) << r.strErr;
    EXPECT_NE(dir.Read("Report_Game.txt").find(c.szFile), std::string::npos);
  }
}

// The saved place is the frame's corner and is restored as the frame's
// corner: framed by a window manager, the window does not creep down by its
// title bar at every start.
TEST(WindowRun, AFramedWindowComesBackWhereItWasLeft) {
  if (!g_XServer.HasDisplay()) GTEST_SKIP() << g_XServer.Why();
  cWindowManager wm;
  if (!wm.Start()) GTEST_SKIP() << wm.Why();
  cTempFolder dir;
  CopyDefaultGame(dir.Path());
  std::filesystem::create_directories(dir / "user_data");
  cWindowPosData placed;
  placed.Set(200, 150, 640, 480, 0);
  ASSERT_EQ(placed.Save(dir / "user_data/Window.dat"), 1);
  for (int nRun = 1; nRun <= 2; ++nRun) {
    SCOPED_TRACE(nRun);
    cProcessResult r =
        RunProcess({ProgramPath(), "--frames", "30"}, WindowEnv(dir.Path()), dir.Path(), 60);
    ASSERT_TRUE(r.bExited) << r.strErr;
    ASSERT_EQ(r.nExitCode, 0) << r.strErr;
    cWindowPosData saved;
    ASSERT_EQ(LoadWhole(saved, dir / "user_data/Window.dat"), 1);
    EXPECT_EQ(saved.m_nX, 200);
    EXPECT_EQ(saved.m_nY, 150);
  }
}
