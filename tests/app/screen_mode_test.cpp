// The screen-mode decision table of start-up.
#include "app/screen_mode.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kWindowText =
    "画面モードが不正です！\nウインドウモードではSystem."
    "iniの設定と画面の色の設定を合わせて下さい！";
const std::string kOtherText = "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！";
}  // namespace

TEST(ScreenMode, DepthVSyncAndRefusals) {
  struct Case {
    const char* szName;
    SCREENMODEINPUT in;
    bool bOk;
    int bWindowed, nVSync, nBpp, bResizable;
    const std::string* pError;
  };
  // Fields: Direct3D, WindowMode, Bpp, VSync, colour key, preferred, desktop, Vista+.
  const Case cases[] = {
      {"window takes the desktop depth", {1, 1, 0, 2, 0, 0, 32, 1}, true, 1, 1, 32, 0, nullptr},
      {"DirectDraw window never syncs", {0, 1, 0, 1, 0, 0, 16, 1}, true, 1, 0, 16, 0, nullptr},
      {"resizable only with Direct3D", {1, 2, 0, 0, 0, 0, 32, 1}, true, 1, 0, 32, 1, nullptr},
      {"DirectDraw WindowMode 2 is 1", {0, 2, 0, 0, 0, 0, 32, 1}, true, 1, 0, 32, 0, nullptr},
      {"full screen D3D preferred 1", {1, 0, 0, 0, 0, 1, 32, 1}, true, 0, 0, 16, 0, nullptr},
      {"full screen D3D preferred 2", {1, 0, 0, 0, 0, 2, 32, 1}, true, 0, 0, 32, 0, nullptr},
      {"full screen DD preferred 2", {0, 0, 0, 0, 0, 2, 32, 1}, true, 0, 0, 8, 0, nullptr},
      {"DD 8 bits become 32 with a key", {0, 0, 0, 0, 1, 2, 32, 1}, true, 0, 0, 32, 0, nullptr},
      {"DD full-screen sync before Vista", {0, 0, 0, 2, 0, 0, 32, 0}, true, 0, 1, 32, 0, nullptr},
      {"DD full-screen sync on Vista", {0, 0, 0, 2, 0, 0, 32, 1}, true, 0, 0, 32, 0, nullptr},
      {"Bpp 24 refused", {0, 0, 24, 0, 0, 0, 32, 1}, false, 0, 0, 24, 0, &kOtherText},
      {"D3D at 8 refused", {1, 0, 8, 0, 0, 0, 32, 1}, false, 0, 0, 8, 0, &kOtherText},
      {"8 bits with a key refused", {0, 0, 8, 0, 1, 0, 32, 1}, false, 0, 0, 8, 0, &kOtherText},
      {"window at 16 on a 32 desktop",
       {1, 1, 16, 0, 0, 0, 32, 1},
       false,
       1,
       0,
       16,
       0,
       &kWindowText},
      {"window at 8 bits", {0, 1, 8, 0, 0, 0, 8, 1}, false, 1, 0, 8, 0, &kOtherText},
  };
  for (const Case& c : cases) {
    SCREENMODE m;
    EXPECT_EQ(DecideScreenMode(c.in, m), c.bOk) << c.szName;
    EXPECT_EQ(m.bWindowed, c.bWindowed) << c.szName;
    EXPECT_EQ(m.nVSync, c.nVSync) << c.szName;
    EXPECT_EQ(m.nBpp, c.nBpp) << c.szName;
    EXPECT_EQ(m.bResizable, c.bResizable) << c.szName;
    if (c.pError) {
      ASSERT_NE(m.szError, nullptr) << c.szName;
      EXPECT_EQ(m.szError, *c.pError) << c.szName;
    } else {
      EXPECT_EQ(m.szError, nullptr) << c.szName;
    }
  }
}
