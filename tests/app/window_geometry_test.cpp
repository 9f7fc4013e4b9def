// The toolkit window's geometry from its style bits and the system metrics.
#include <gtest/gtest.h>

#include "app/window.h"
#include "platform/input/keyboard.h"

namespace {

// Metrics of a classic desktop, so every frame rule shows in the sizes.
class WindowGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [n, v] : {std::pair{SM_CYCAPTION, 19},
                        {SM_CXDLGFRAME, 3},
                        {SM_CYDLGFRAME, 3},
                        {SM_CXFRAME, 4},
                        {SM_CYFRAME, 4},
                        {SM_CYMENU, 20}})
      SetSystemMetric(n, v);
  }
  void TearDown() override {
    for (int n : {SM_CYCAPTION, SM_CXDLGFRAME, SM_CYDLGFRAME, SM_CXFRAME, SM_CYFRAME, SM_CYMENU})
      SetSystemMetric(n, 0);
  }
};

}  // namespace

TEST_F(WindowGeometry, MainWindowOuterSizeAddsCaptionAndDialogFrame) {
  cWindow w;
  w.SetGeometry(640, 480, 100, 100, 640, 480, 0x80CB0000u, 0, 0, 0, 0, 0);
  EXPECT_EQ(w.m_nOuterWidth, 640 + 2 * 3);
  EXPECT_EQ(w.m_nOuterHeight, 480 + 19 + 2 * 3);
  EXPECT_EQ(w.m_nViewWidth, 640);
  EXPECT_EQ(w.m_nViewHeight, 480);
  MINMAXINFO mmi;
  w.GetMinMaxInfo(mmi);
  EXPECT_EQ(mmi.ptMinTrackSize.x, 106);
  EXPECT_EQ(mmi.ptMinTrackSize.y, 125);
  EXPECT_EQ(mmi.ptMaxTrackSize.x, 646);
  EXPECT_EQ(mmi.ptMaxTrackSize.y, 505);
  w.AddStyle(WS_THICKFRAME);
  EXPECT_EQ(w.m_nOuterWidth, 640 + 2 * 4);
  EXPECT_EQ(w.m_nOuterHeight, 480 + 19 + 2 * 4);
}

TEST_F(WindowGeometry, BandsStatusAndScrollBarsShapeTheView) {
  struct Case {
    int nBands, nStatus, nScroll;
    int nClientW, nClientH, nViewY, nViewW, nViewH;
  };
  for (const Case& c : {Case{0, 0, 0, 200, 100, 0, 200, 100}, Case{2, 0, 0, 200, 156, 56, 200, 100},
                        Case{0, 1, 0, 200, 120, 0, 200, 100}, Case{0, 2, 0, 200, 120, 0, 200, 120},
                        Case{0, 0, 3, 216, 116, 0, 200, 100}}) {
    cWindow w;
    w.SetGeometry(200, 100, 50, 50, 400, 300, 0, 0, c.nBands, c.nStatus, 0, c.nScroll);
    EXPECT_EQ(w.m_rcClient.right, c.nClientW);
    EXPECT_EQ(w.m_rcClient.bottom, c.nClientH);
    EXPECT_EQ(w.m_nViewY, c.nViewY);
    EXPECT_EQ(w.m_nViewWidth, c.nViewW);
    EXPECT_EQ(w.m_nViewHeight, c.nViewH) << c.nBands << c.nStatus << c.nScroll;
  }
}

TEST_F(WindowGeometry, PlaceClampsIntoTheDesktopAndSkipsWhenNothingIsAsked) {
  // Without a display the desktop is 640x480.
  struct Case {
    int nReqX, nReqY, nWantX, nWantY;
  };
  for (const Case& c : {Case{-5, 10, 0, 10}, Case{600, 10, 540, 10}, Case{10, 470, 10, 380}}) {
    cWindow w;
    w.SetGeometry(100, 100, 0, 0, 100, 100, 0, 0, 0, 0, 0, 0);
    w.m_nReqPosX = c.nReqX;
    w.m_nReqPosY = c.nReqY;
    w.Place();
    EXPECT_EQ(w.m_nPosX, c.nWantX);
    EXPECT_EQ(w.m_nPosY, c.nWantY);
    EXPECT_EQ(w.m_nReqPosX, c.nWantX);
  }
  cWindow w;
  w.SetGeometry(100, 100, 0, 0, 100, 100, 0, 0, 0, 0, 0, 0);
  w.m_nReqPosX = -1000;
  w.m_nReqPosY = 300;
  w.m_nPosX = 77;
  w.Place();
  EXPECT_EQ(w.m_nPosX, 77);
  w.CentreOnDesktop();
  EXPECT_EQ(w.m_nPosX, 270);
  EXPECT_EQ(w.m_nPosY, 190);
}

TEST_F(WindowGeometry, SecondCommandWhileOneRunsIsDropped) {
  struct cNested : cWindow {
    int nCommands = 0;
    int OnCommand(uintptr_t, intptr_t) override {
      ++nCommands;
      return HandleMessage(nullptr, plat::WM_COMMAND, 0, 0);
    }
  } w;
  EXPECT_EQ(w.HandleMessage(nullptr, plat::WM_COMMAND, 0, 0), 1);
  EXPECT_EQ(w.nCommands, 1);
  EXPECT_EQ(w.m_bInCommand, 0);
}

TEST(WindowMessages, TraceNamesAndTheirFallbackNumber) {
  struct Case {
    uint32_t nMessage;
    const char* szName;
  };
  for (const Case& c :
       {Case{0x100, "WM_KEYFIRST"}, Case{0x200, "WM_MOUSEFIRST"}, Case{0x10F, "WM_IME_COMPOSITION"},
        Case{0x0, "WM_NULL"}, Case{0x8000, "WM_APP"}, Case{0x400, "WM_USER"}, Case{0x401, "1025"},
        Case{0xFFFFFFFFu, "4294967295"}}) {
    EXPECT_STREQ(cWindow::MessageName(c.nMessage), c.szName);
  }
}

TEST(WindowMessages, MousePressesAndReleasesAreSeenOnce) {
  plat::ReleaseAllKeys();
  cMouseState m;
  struct Step {
    bool bDown;
    int nLeft, nPressed, nReleased;
  };
  for (const Step& s : {Step{true, 1, 1, 0}, Step{true, 1, 0, 0}, Step{false, 0, 0, 1},
                        Step{false, 0, 0, 0}, Step{true, 1, 1, 0}}) {
    plat::SetKeyDown(plat::VK_LBUTTON, s.bDown);
    m.Update(7);
    EXPECT_EQ(m.bLeft, s.nLeft);
    EXPECT_EQ(m.bLeftPressed, s.nPressed);
    EXPECT_EQ(m.bLeftReleased, s.nReleased);
    EXPECT_EQ(m.bRight, 0);
  }
  plat::ReleaseAllKeys();
}
