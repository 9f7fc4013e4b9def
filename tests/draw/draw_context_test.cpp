// Set-up of both back ends, their failure rows, present, the virtual back
// buffer, release with the leak check, and boxes over a full-screen device.
#include "draw/draw_context.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/frame_timing.h"
#include "base/logs.h"
#include "draw/blit.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/present/presenter.h"
#include "platform/ui/message_box.h"
#include "support/vsync_presenter.h"

using namespace drawtest;
using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;
using plat::gfx::ePixelFormat;

namespace {

class cSetUpTest : public testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override { ShutDown(); }
};

ePixelFormat BackFormat() {
  if (BackBuffer.lpDT) return BackBuffer.lpDT->lpSurface->GetFormat();
  return BackBuffer.lpDDS->lpDDSurface->GetFormat();
}

}  // namespace

TEST(DrawSetUp, EveryModeOfTheMatrixStartsWithItsFormats) {
  struct ROW {
    DRAWMODE mode;
    ePixelFormat back;
    DDPIXELBITS bits;
    const char* szReport;  // the format line, Direct3D only
  };
  const ROW rows[] = {
      {kModes[0], ePixelFormat::P8, {}, nullptr},
      {kModes[1], ePixelFormat::R5G6B5, {11, 5, 0, 0, 31, 63, 31, 0}, nullptr},
      {kModes[2], ePixelFormat::X8R8G8B8, {16, 8, 0, 0, 255, 255, 255, 0}, nullptr},
      {kModes[3], ePixelFormat::A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1}, "A1R5G5B5"},
      {kModes[4], ePixelFormat::R5G6B5, {10, 5, 0, 15, 31, 31, 31, 1}, "R5G6B5"},
      {kModes[5], ePixelFormat::X8R8G8B8, {16, 8, 0, 24, 255, 255, 255, 255}, "X8R8G8B8"},
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(r.mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(r.mode));
    EXPECT_EQ(DDIsDirect3D(), r.mode.bDirect3D != 0);
    EXPECT_EQ(BackFormat(), r.back);
    EXPECT_STREQ(BackBuffer.szName, "BackBuffer");
    EXPECT_EQ(BackBuffer.nWidth, 640);
    EXPECT_EQ(BackBuffer.nHeight, 480);
    const DDPIXELBITS& b = g_DD.SurfaceBits;
    EXPECT_EQ(std::vector<int>({b.nRedShift, b.nGreenShift, b.nBlueShift, b.nAlphaShift, b.nRedMax,
                                b.nGreenMax, b.nBlueMax, b.nAlphaMax}),
              std::vector<int>({r.bits.nRedShift, r.bits.nGreenShift, r.bits.nBlueShift,
                                r.bits.nAlphaShift, r.bits.nRedMax, r.bits.nGreenMax,
                                r.bits.nBlueMax, r.bits.nAlphaMax}));
    if (r.szReport) {
      const std::string strReport = ReportLog();
      EXPECT_NE(strReport.find("VSync : 0"), std::string::npos);
      EXPECT_NE(strReport.find("Device HAL-HARD"), std::string::npos);
      EXPECT_NE(strReport.find(std::string(r.szReport) + "\n"), std::string::npos);
      EXPECT_STREQ(VirBackBuffer.szName, "VirBackBuffer");
      EXPECT_STREQ(WorkSD.szName, "WorkSD");
      EXPECT_EQ(g_DD.lpDTCon->nSurfaceSerial, 3);  // 1 after set-up, then the two work targets
      EXPECT_EQ(g_DD.lpDTCon->dwBltColor, 0xFFFFFFFFu);
      EXPECT_EQ(g_DD.lpDTCon->nColorOp, 4);
      EXPECT_EQ(g_DD.lpDTCon->nAlphaOp, 2);
      EXPECT_EQ(TextureList.size(), 2u);
    }
    ShutDown();
  }
}

// Each failing step of a set-up: the fault, the mode, the line it leaves in
// the report log and the code name in the debug log.
TEST_F(cSetUpTest, FailingStepsLeaveTheirLines) {
  struct ROW {
    DRAWMODE mode;
    eFaultPoint point;
    int nTimes;
    bool bInitOk;
    const char* szReport;
    const char* szDebug;
  };
  const DRAWMODE dd16 = kModes[1], dd8 = kModes[0], d3d = kModes[5];
  const DRAWMODE ddWin = {"DD32W", 0, 32, 1};
  const ROW rows[] = {
      {dd16, eFaultPoint::CreateDirectDraw, 1, false, "DirectDrawCreateEx Err", "CREATEEX_ERR"},
      {dd16, eFaultPoint::SetCooperativeLevel, 1, false, "SetCooperativeLevel Err",
       "SETCOOPLEVEL_ERR"},
      {dd16, eFaultPoint::SetDisplayMode, 2, false, "SetDisplayMode Err", "SETDISPLAYMODE_ERR"},
      {dd16, eFaultPoint::CreatePrimary, 1, false, "Primary CreateSurface Err",
       "CREATESURFACE_ERR"},
      {dd16, eFaultPoint::GetAttachedSurface, 1, false, "GetAttachedSurface Err",
       "GETATTACHEDSURFACE_ERR"},
      {dd16, eFaultPoint::CreateSystemImage, 1, false, "CreateSurface System Err",
       "CREATESURFACE_ERR"},
      {dd16, eFaultPoint::CreatePalette, 1, false, "CreatePalette Err", "CREATEPALETTE_ERR"},
      {dd8, eFaultPoint::SetPalette, 1, false, "SetPalette Err", "SETPALETTE_ERR"},
      {ddWin, eFaultPoint::CreateClipper, 1, false, "CreateClipper Err", "CLIPPER_ERR"},
      {ddWin, eFaultPoint::SetClipperHwnd, 1, false, "SetHWnd Err", "SETHWND_ERR"},
      {ddWin, eFaultPoint::SetClipper, 1, false, "SetClipper Err", "SETCLIPPER_ERR"},
      {ddWin, eFaultPoint::CreateVideoImage, 1, true, nullptr,
       nullptr},  // back buffer moves to system memory
      {d3d, eFaultPoint::CreateD3D, 1, false, "ビデオカードがDirectX9をサポートしていません！",
       nullptr},
      {d3d, eFaultPoint::CreateDeviceHardware, 1, true, "Device HAL-SOFT", nullptr},
      {d3d, eFaultPoint::CreateDeviceHardware, 1, false, nullptr, "CreateDevice Err"},
      {d3d, eFaultPoint::GetDeviceCaps, 1, true, nullptr, "GetDeviceCaps Err"},
      {d3d, eFaultPoint::CreateVertexBuffer, 1, false, "Back CreateVertexBuffer Err 80004005",
       nullptr},
  };
  int nRow = 0;
  for (const ROW& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << nRow++);
    ResetPlatform();
    plat::gfx::FailNext(r.point, eGfxResult::Fail, r.nTimes);
    if (!r.bInitOk && !r.szReport && r.szDebug && std::string(r.szDebug) == "CreateDevice Err")
      plat::gfx::FailNext(eFaultPoint::CreateDeviceSoftware, eGfxResult::Fail, 1);
    EXPECT_EQ(InitMode(r.mode), r.bInitOk);
    if (r.szReport) {
      EXPECT_NE(ReportLog().find(r.szReport), std::string::npos) << ReportLog();
    }
    if (r.szDebug) {
      EXPECT_NE(DebugLogText().find(r.szDebug), std::string::npos) << DebugLogText();
    }
    ShutDown();
  }
}

TEST_F(cSetUpTest, RefreshRateRequestFailingIsRetriedWithoutRate) {
  plat::gfx::FailNext(eFaultPoint::SetDisplayMode, eGfxResult::Fail, 1);
  EXPECT_TRUE(DDInit(0, nullptr, 640, 480, 16, 1, 0, 1, 60, 1, nullptr, nullptr, 0, 0));
  EXPECT_EQ(ReportLog().find("SetDisplayMode Err"), std::string::npos);
}

TEST_F(cSetUpTest, Direct3DRefusesOtherDepthsAndOldDriversAndFallsBack) {
  EXPECT_FALSE(DDInit(1, nullptr, 640, 480, 24, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_EQ(ReportLog().find("サポート"), std::string::npos);
  // The record of the failed set-up stays until the release; nothing draws.
  EXPECT_TRUE(DDIsDirect3D());
  DDFillRect(&BackBuffer, 0, 0, 4, 4, 1);
  EXPECT_EQ(DDPresent(60, 0, 0), 0);
  // Start-up's single fall-back: release, then DirectDraw runs on its own.
  DDReleaseAll();
  EXPECT_FALSE(DDIsDirect3D());
  EXPECT_TRUE(DDInit(0, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_FALSE(DDIsDirect3D());
  EXPECT_TRUE(g_DD.lpDD != nullptr);
  ShutDown();

  ResetPlatform();
  plat::gfx::GFXDISPLAYCONFIG display;
  display.nDriverLevel = 8;
  plat::gfx::SetDisplayConfig(display);
  EXPECT_FALSE(DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_NE(ReportLog().find("ビデオカードのドライバがDirectX9をサポートしていません！ 8"),
            std::string::npos);
}

TEST_F(cSetUpTest, WindowedVSyncOnA75HzDisplayFallsBackToImmediate) {
  plat::gfx::GFXDISPLAYCONFIG display;
  display.nRefreshRate = 75;
  plat::gfx::SetDisplayConfig(display);
  ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 1, 1, 1, 60, 1, nullptr, nullptr, 0, 0));
  const std::string strReport = ReportLog();
  const size_t nRate = strReport.find("RefreshRate : 75");
  ASSERT_NE(nRate, std::string::npos);
  EXPECT_GT(strReport.find("リフレッシュレートの変更に失敗しました！垂直同期が無効になります！"),
            nRate);
  EXPECT_EQ(g_DD.nVSync, 0);
  EXPECT_EQ(g_DD.lpDTCon->PresentParams.bIntervalImmediate, 1);
}

TEST_F(cSetUpTest, SecondDirectDrawInitKeepsItsNewContext) {
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_TRUE(g_DD.lpDDCon != nullptr);
  EXPECT_TRUE(BackBuffer.lpDDS != nullptr);
}

namespace {

struct BOXCALL {
  int nCount = 0;
  std::string strText, strCaption;
  uint32_t uType = 0;
};
BOXCALL g_Box;

int RecordBox(plat::WndHandle, const std::string& text, const std::string& caption, uint32_t type) {
  ++g_Box.nCount;
  g_Box.strText = text;
  g_Box.strCaption = caption;
  g_Box.uType = type;
  return 1;
}

class cBoxTest : public cSetUpTest {
 protected:
  void SetUp() override {
    cSetUpTest::SetUp();
    g_Box = BOXCALL{};
    g_pfnDrawMessageBox = &RecordBox;
  }
  void TearDown() override {
    cSetUpTest::TearDown();
    g_pfnDrawMessageBox = &plat::MessageBox;
  }
};

}  // namespace

TEST_F(cBoxTest, ReleaseOfDirectDrawWithAForgottenSurfaceShowsTheLeakBox) {
  ASSERT_TRUE(InitMode(kModes[2]));
  DDSURFACEDATA kept;
  ASSERT_TRUE(DDCreateSurface(&kept, 8, 8, 0, 0, 0, 0, 0));
  DDReleaseAll();
  EXPECT_EQ(g_Box.nCount, 1);
  EXPECT_EQ(g_Box.strText, "解放漏れがあります");
  EXPECT_EQ(g_Box.strCaption, "DirectDraw");
  EXPECT_EQ(g_Box.uType, 0x10u);
  EXPECT_TRUE(g_DD.lpDD == nullptr);

  // Everything released by its owner: no box.
  g_Box = BOXCALL{};
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[2]));
  DDSURFACEDATA table[3];
  g_DD.lpSDTable = table;
  g_DD.nSurfaceNum = 3;
  ASSERT_TRUE(DDCreateSurface(&table[1], 8, 8, 0, 0, 0, 0, 0));
  DDReleaseAll();
  EXPECT_EQ(g_Box.nCount, 0);
  EXPECT_TRUE(table[1].lpDDS == nullptr);
}

TEST_F(cBoxTest, Direct3DReleaseLeavesNeitherMode) {
  ASSERT_TRUE(InitMode(kModes[5]));
  DDReleaseAll();
  EXPECT_FALSE(DDIsDirect3D());
  EXPECT_TRUE(g_DD.lpDevice == nullptr);
  EXPECT_TRUE(TextureList.empty());
  EXPECT_TRUE(BackBuffer.lpDT == nullptr);
  EXPECT_EQ(g_Box.nCount, 0);
}

TEST_F(cBoxTest, MessageBoxOverTheScreen) {
  // Windowed: the box shows at once.
  ASSERT_TRUE(InitMode(kModes[3]));
  EXPECT_EQ(DDMesBox("text", "caption", 0), 1);
  EXPECT_EQ(g_Box.nCount, 1);
  ShutDown();

  // Full screen whose dialog mode cannot be entered: no box, the debug line.
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[4]));
  plat::gfx::FailNext(eFaultPoint::SetDialogBoxMode, eGfxResult::Fail, 1);
  EXPECT_EQ(DDMesBox("text", "caption", 0), 0);
  EXPECT_EQ(g_Box.nCount, 1);
  const std::string strDebug = DebugLogText();
  EXPECT_NE(strDebug.find("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)"), std::string::npos);
  EXPECT_NE(strDebug.find("DDMesBox 失敗! text, caption"), std::string::npos);
  EXPECT_EQ(DDMesBox("again", "caption", 0), 1);
  EXPECT_EQ(g_Box.nCount, 2);
  ShutDown();

  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[1]));
  plat::gfx::FailNext(eFaultPoint::FlipToGdiSurface, eGfxResult::Fail, 1);
  EXPECT_EQ(DDDialogMode(1), 0);
  EXPECT_EQ(DDDialogMode(1), 1);
}

TEST_F(cSetUpTest, PresentEndsTheFrameAndReportsALostDevice) {
  ASSERT_TRUE(InitMode(kModes[1]));
  EXPECT_EQ(DDPresent(60, 0, 0), 1);  // DirectDraw: the frame driver flips
  // The flip hands the finished frame to the presenter.
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 0);
  DDFlipOrBltToScreen(1);
  const std::string strPng = TempDir() + "/frame.png";
  EXPECT_TRUE(plat::SaveLastFramePng(strPng));
  EXPECT_TRUE(std::filesystem::exists(strPng));
  ShutDown();

  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[5]));
  DDFillRect(&BackBuffer, 0, 0, 4, 4, 1);
  EXPECT_EQ(g_DD.lpDTCon->bInScene, 1);
  EXPECT_EQ(DDPresent(60, 0, 0), 1);
  EXPECT_EQ(g_DD.lpDTCon->bInScene, 0);
  g_DD.lpDevice->LoseDevice(false);
  EXPECT_EQ(DDPresent(60, 0, 0), 0);
}

TEST_F(cSetUpTest, Direct3DPresentsArePacedByTheDisplayOrElseByTheTimer) {
  // Two frames a second: the second waits half a second, however slow the
  // machine is.
  ResetFrameTiming();
  ASSERT_TRUE(InitMode(kModes[5]));
  EXPECT_TRUE(PaceFrameD3D(2));
  EXPECT_FALSE(PaceFrameD3D(2));
  ShutDown();
  // Without a Direct3D device nothing is held there.
  EXPECT_TRUE(PaceFrameD3D(2));
  EXPECT_TRUE(PaceFrameD3D(2));
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[1]));
  EXPECT_TRUE(PaceFrameD3D(2));
  EXPECT_TRUE(PaceFrameD3D(2));
  ShutDown();

  // Vertical sync goes to a window that can wait for the display, for a
  // 60 Hz display only (the display is never switched to another rate).
  cVSyncPresenterInstalled installed;
  struct ROW {
    const char* szName;
    int bWindow, nVSync, nHz;
    bool bByDisplay;
  };
  const ROW rows[] = {{"window, vsync, 60 Hz", 1, 1, 60, true},
                      {"window, no vsync", 1, 0, 60, false},
                      {"window, vsync, 75 Hz", 1, 1, 75, false},
                      {"full screen, vsync, 60 Hz", 0, 1, 60, true},
                      {"full screen, vsync, 120 Hz", 0, 1, 120, false}};
  for (const ROW& r : rows) {
    SCOPED_TRACE(r.szName);
    ResetPlatform();
    plat::gfx::GFXDISPLAYCONFIG display;
    display.nRefreshRate = r.nHz;
    plat::gfx::SetDisplayConfig(display);
    ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, r.nVSync, r.bWindow, 1, 60, r.nVSync, nullptr,
                       nullptr, 0, 0));
    EXPECT_EQ(plat::IsPresentVSyncOn(), r.bByDisplay);
    EXPECT_EQ(installed.Presenter().m_bVSync, r.bByDisplay);
    ShutDown();
    EXPECT_FALSE(installed.Presenter().m_bVSync);
  }
}
