// The screen around a file chooser, and the stage and replay requests of
// the game side answered by scripted choosers.
#include <gtest/gtest.h>

#include <vector>

#include "app/file_dialog_screen.h"
#include "app/main_window.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "files/system_ini.h"
#include "platform/fs/file_system.h"
#include "platform/present/presenter_window.h"
#include "platform/ui/dialog_box.h"
#include "support/temp_folder.h"

namespace {

uint32_t ShownPixel() {
  std::vector<uint32_t> pixels;
  int nWidth = 0, nHeight = 0;
  if (!plat::CopyLastFrame(pixels, nWidth, nHeight) || pixels.empty()) return 0xDEADBEEF;
  return pixels[0] & 0xFFFFFF;
}

class ChooserScreen : public testing::Test {
 protected:
  void TearDown() override {
    DDReleaseAll();
    g_DD.bInitialized = 0;
  }
  cTempFolder m_Dir{true};
};

TEST_F(ChooserScreen, EightBitColourZeroIsBlackWhileTheChooserIsOpen) {
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 8, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable,
                     kBuiltInSurfaceCount, 0));
  ASSERT_TRUE(g_DD.lpDDPalette);
  // The screen holds colour 0 everywhere; the game shows it red.
  g_DD.DisplayPalette[0] = DDPALENTRY{200, 10, 20, 0};
  plat::gfx::GFXPALENTRY red{200, 10, 20, 0};
  g_DD.lpDDPalette->SetEntries(0, 1, &red);
  g_DD.lpDD->ShowPrimary();
  ASSERT_EQ(ShownPixel(), 0xC80A14u);

  OPENFILENAME ofn;
  PrepareScreenForFileDialog(ofn, true);
  EXPECT_EQ(ShownPixel(), 0x000000u);
  // Full screen: the chooser gets the plain hook.
  EXPECT_EQ(ofn.Flags & OFN_ENABLEHOOK, OFN_ENABLEHOOK);
  EXPECT_EQ(ofn.lpfnHook, &FileDialogHookProc);
  PrepareScreenForFileDialog(ofn, false);
  EXPECT_EQ(ShownPixel(), 0xC80A14u);
}

TEST_F(ChooserScreen, AWindowOrNoScreenYetIsLeftAlone) {
  OPENFILENAME before;
  PrepareScreenForFileDialog(before, true);  // no drawing library yet
  EXPECT_EQ(before.Flags, 0u);
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, g_SurfaceTable, g_ImageTable,
                     kBuiltInSurfaceCount, 0));
  OPENFILENAME ofn;
  PrepareScreenForFileDialog(ofn, true);
  EXPECT_EQ(ofn.Flags & OFN_ENABLEHOOK, 0u);
  EXPECT_EQ(ofn.lpfnHook, nullptr);
  PrepareScreenForFileDialog(ofn, false);
}

TEST(FileRequests, AChosenFileAnswersOneACancelZero) {
  cTempFolder dir(true);
  dir.Write("data/stg4/a.stg4_783", "a");
  dir.Write("user_data/rpl4/r.rpl4_783", "r");
  plat::fs::ForgetListings();
  plat::WndHandle hWnd = plat::CreateWnd(MainWndProc, &g_MainWindow);
  g_MainWindow.m_hWnd = hWnd;
  g_hMainWnd = hWnd;
  struct Case {
    const char* szName;
    uint32_t nMsg;
    const char* szAnswer;
    int nWant;
  };
  const Case cases[] = {
      {"a stage", WM_OPENSTAGE, "data/stg4/a.stg4_783", 1},
      {"a replay from the stage chooser", WM_OPENSTAGE, "user_data/rpl4/r.rpl4_783", 1},
      {"a cancelled stage", WM_OPENSTAGE, "cancel", 0},
      {"a missing stage", WM_OPENSTAGE, "data/stg4/none.stg4_783", 0},
      {"a replay", WM_OPENREPLAY, "user_data/rpl4/r.rpl4_783", 1},
      {"a cancelled replay", WM_OPENREPLAY, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    plat::SetScriptedDialogAnswers({c.szAnswer});
    bFileRequestResult = 1 - c.nWant;
    bFileRequestDone = 0;
    // From the window's own thread the request is served at once.
    EXPECT_EQ(RequestFile(c.nMsg, 0), c.nWant);
    EXPECT_EQ(bFileRequestDone.load(), 1);
  }
  plat::SetScriptedDialogAnswers({});
  // The files here are no stages: their starts fail and ask to close.
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) {
  }
  plat::DestroyWnd(hWnd);
  g_MainWindow.m_hWnd = nullptr;
  g_hMainWnd = nullptr;
}

}  // namespace
