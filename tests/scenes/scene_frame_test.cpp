// One frame of the scene manager with fake scenes: when a scene change
// lands, what a scene that fails to start does, and the frame-rate figures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/frame_limit.h"
#include "base/frame_timing.h"
#include "base/program_state.h"
#include "base/run_options.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/system_ini.h"
#include "platform/msg/window.h"
#include "platform/present/presenter_window.h"
#include "support/box_glyphs.h"
#include "support/draw_setup.h"
#include "tests/scenes/fake_scene.h"

namespace {

intptr_t IgnoreAll(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// Stands in for the play scene: keeps what the frame driver hands it.
class cFpsScene : public cFakeScene {
 public:
  cFpsScene() : cFakeScene(SCENE_PLAY) {}
  void SetMeasuredFps(int nFps) override { m_nFps = nFps; }
  int m_nFps = -1;
};

cScene* BuildFakeOrPlayScene(int nId) {
  if (nId == SCENE_PLAY) return new cFpsScene;
  return BuildFakeScene(nId);
}

class SceneFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    g_Events.clear();
    for (auto& b : g_Behaviour) b = FAKEBEHAVIOUR{};
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nCurrentScene = 0;
    g_SceneManager.m_nNextScene = 0;
    g_SceneManager.m_nFailedScene = -1;
    g_SceneManager.m_nFrameRate = 0;  // no gate: frames run back to back
    g_FrameStats = cFrameStats{};
    SYSTEMINI.nShowFps = 0;
    SetSceneFactory(BuildFakeOrPlayScene);
    ResetFrameTiming();
    plat::SetTestClock(1000);
    m_hWnd = plat::CreateWnd(IgnoreAll, nullptr);
    g_hMainWnd = m_hWnd;
  }
  void TearDown() override {
    g_SceneManager.DeleteAllScenes();
    SetSceneFactory(nullptr);
    SYSTEMINI.nShowFps = 0;
    plat::UseRealClock();
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }
  // The events of one frame.
  std::vector<std::string> RunFrame() {
    g_Events.clear();
    EXPECT_TRUE(g_SceneManager.Frame());
    return g_Events;
  }
  int TakeCloses() {
    int n = 0;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) n += msg.message == plat::WM_CLOSE && msg.hWnd == m_hWnd;
    return n;
  }
  plat::WndHandle m_hWnd = nullptr;
};

using Events = std::vector<std::string>;

TEST_F(SceneFrameTest, SceneChangeLandsOnTheFrameAfterTheFadeOut) {
  g_Behaviour[0].nLeaveTo = 3;
  EXPECT_EQ(RunFrame(), (Events{"Init 0", "FadeIn 0"}));
  EXPECT_EQ(RunFrame(), (Events{"Middle 0"}));
  EXPECT_EQ(RunFrame(), (Events{"FadeOut 0"}));
  EXPECT_EQ(g_SceneManager.m_nCurrentScene, 3);
  EXPECT_NE(g_SceneManager.GetScene(0), nullptr);  // still there until the next frame
  EXPECT_EQ(RunFrame(), (Events{"Delete 0", "Init 3", "FadeIn 3"}));
  EXPECT_EQ(g_SceneManager.m_nPrevScene, 0);
  EXPECT_EQ(g_SceneManager.GetScene(0), nullptr);
  EXPECT_EQ(RunFrame(), (Events{"Middle 3"}));
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SceneFrameTest, SceneThatCannotStartClosesTheProgramOnceAndRunsNoPhase) {
  struct {
    const char* name;
    bool bThrowInConstructor;
    bool bThrowInInit;
    Events firstFrame;
  } const cases[] = {
      {"constructor throws", true, false, Events{}},
      {"Init throws", false, true, Events{"Init 1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nFailedScene = -1;
    g_SceneManager.m_nCurrentScene = 1;
    g_Behaviour[1].bThrowInConstructor = c.bThrowInConstructor;
    g_Behaviour[1].bThrowInInit = c.bThrowInInit;
    EXPECT_EQ(RunFrame(), c.firstFrame);
    EXPECT_EQ(RunFrame(), Events{});
    EXPECT_EQ(RunFrame(), Events{});
    EXPECT_EQ(TakeCloses(), 1);
  }
}

TEST_F(SceneFrameTest, FrameRateFiguresReachThePlaySceneAndTheDisplayRing) {
  g_Behaviour[0].nMsPerFrame = 12;
  SYSTEMINI.nShowFps = 1;
  for (int f = 0; f < 15; ++f) RunFrame();
  EXPECT_EQ(g_FrameStats.dwAverage, 0u);
  RunFrame();
  // 15 frames of 12 ms and the first one, Init and fade-in only, of 0 ms.
  EXPECT_EQ(g_FrameStats.dwAverage, 11u);
  EXPECT_EQ(FormatFpsText(60, 12), "FPS60(12)");
  EXPECT_EQ(FormatFpsText(7, 3), "FPS 7( 3)");

  // With the display off the ring stands still.
  SYSTEMINI.nShowFps = 0;
  g_Behaviour[0].nMsPerFrame = 30;
  for (int f = 0; f < 40; ++f) RunFrame();
  EXPECT_EQ(g_FrameStats.dwAverage, 11u);

  // The play scene is handed the last whole second's frame count each frame.
  g_SceneManager.m_nCurrentScene = SCENE_PLAY;
  for (int f = 0; f < 3; ++f) {
    RunFrame();
    plat::AdvanceTestClock(400);
  }
  auto* pPlay = dynamic_cast<cFpsScene*>(g_SceneManager.GetScene(SCENE_PLAY));
  ASSERT_NE(pPlay, nullptr);
  EXPECT_EQ(pPlay->m_nFps, CountFps(0));
  EXPECT_GT(pPlay->m_nFps, 0);
}

}  // namespace

namespace {

// The finished frame reaches the presenter in either drawing mode.
TEST_F(SceneFrameTest, FrameShowsTheBackBufferInEitherDrawingMode) {
  for (int bDirect3D : {0, 1}) {
    SCOPED_TRACE(bDirect3D ? "Direct3D" : "DirectDraw");
    ASSERT_TRUE(DDInit(bDirect3D, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
    DDFillSurfaceColor(&BackBuffer, 0xFF123456);
    RunFrame();
    std::vector<uint32_t> pixels;
    int nWidth = 0, nHeight = 0;
    ASSERT_TRUE(plat::CopyLastFrame(pixels, nWidth, nHeight));
    ASSERT_EQ(nWidth * nHeight, 640 * 480);
    EXPECT_EQ(pixels[320 * 640 + 100] & 0xFFFFFF, 0x123456u);
    DDReleaseAll();
  }
}

// A frame inside which a waiting loop ran the run to its last frame shows
// nothing when it ends: the loop's last frame is the one left for the
// screenshot.
TEST_F(SceneFrameTest, FrameEndingAfterTheRunsLastFrameLeavesTheLastShownFrame) {
  ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
  const int nSavedFrames = g_RunOptions.nFrames;
  g_RunOptions.nFrames = 1;
  ResetFramesRun();
  DDFillSurfaceColor(&BackBuffer, 0xFF123456);
  RunFrame();
  CountFrameRun();  // the waiting loop's frame, shown inside the next one
  DDFillSurfaceColor(&BackBuffer, 0xFF654321);
  RunFrame();
  std::vector<uint32_t> pixels;
  int nWidth = 0, nHeight = 0;
  ASSERT_TRUE(plat::CopyLastFrame(pixels, nWidth, nHeight));
  ASSERT_EQ(nWidth * nHeight, 640 * 480);
  EXPECT_EQ(pixels[320 * 640 + 100] & 0xFFFFFF, 0x123456u);
  g_RunOptions.nFrames = nSavedFrames;
  ResetFramesRun();
  DDReleaseAll();
}

}  // namespace

namespace {

// The frame-rate text: small text in the first font with ShowFps 2, a box
// sized to the text in the second font with any other value, and nothing
// at all with 0.
TEST_F(SceneFrameTest, FrameRateTextIsDrawnAsSmallTextOrAsABox) {
  boxglyphs::cUseGlyphs glyphs;
  cHeadlessDrawing drawing;
  ASSERT_TRUE(drawing.Ok());
  cHeadlessDrawing::SetColours({{3, 0x204080}, {240, 0xFFFF00}, {241, 0xFFFFFF}, {5, 0x00FF00}});
  DDSURFACEDATA window;
  ASSERT_TRUE(DDCreateSurface(&window, 640, 480, 0, 0, 0, 0, 0));
  DDFillRect(&window, 0, 0, 640, 480, 5);
  for (int i = 0; i < 2; ++i) {
    const DDFONTDATA& d = g_FontSpec[i];
    g_Font[i].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, &window,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
  }
  const auto At = [](int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); };
  struct {
    int nShowFps;
    int x, y;  // a pixel of the first letter's box glyph
    uint32_t dwLeftOfIt;
  } const cases[] = {
      // Font 0 (cells of 10): F one pixel right of 549; font 1 (cells of
      // 16): two pixels right of 495, inside a box outlined from 494.
      {2, 550, 470, 0x204080},
      {1, 497, 463, 0x00FF00},
      {3, 497, 463, 0x00FF00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nShowFps);
    SYSTEMINI.nShowFps = c.nShowFps;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    RunFrame();
    EXPECT_EQ(At(c.x, c.y), 0xFFFFFFu);
    EXPECT_EQ(At(c.x - 1, c.y), c.dwLeftOfIt);
    EXPECT_EQ(At(494, 470) == 0xFFFF00u, c.nShowFps != 2) << "the box's outline";
  }
  SYSTEMINI.nShowFps = 0;
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  RunFrame();
  EXPECT_EQ(At(550, 470), 0x204080u);
  EXPECT_EQ(At(494, 470), 0x204080u);
  for (int i = 0; i < 2; ++i) g_Font[i].Release();
  DDReleaseSurface(&window);
}

}  // namespace
