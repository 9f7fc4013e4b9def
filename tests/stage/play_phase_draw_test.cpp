// What the play scene's phases draw over the screen: the fades to their
// end, the menu box and its cursor where the menu stands, the stage-clear
// caption closing in, and the notice line of the rankings.
#include <gtest/gtest.h>

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/font_tables.h"
#include "files/system_data.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"
#include "support/box_glyphs.h"
#include "support/draw_setup.h"

namespace {

constexpr uint32_t kBack = 0x204080, kFrame = 0xFFFF00, kInk = 0xFFFFFF, kBlack = 0x000000,
                   kCaption = 0x00FF00;
constexpr int kAccessory = 49, kWord = 51;

class PhaseDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Drawing.Ok());
    cHeadlessDrawing::SetColours(
        {{0, kBlack}, {3, kBack}, {5, kCaption}, {16, 0x102030}, {240, kFrame}, {241, kInk}});
    const DDFONTDATA& d = g_FontSpec[1];
    g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
    m_SavedTexts = g_SystemData.m_vTexts;
    m_pScene = new cPlayScene();
    Clear();
  }
  void TearDown() override {
    delete m_pScene;
    g_Font[1].Release();
    g_SystemData.m_vTexts = m_SavedTexts;
    g_SceneManager.m_nFadeStep = 0;
    g_Cursor.Reset();
    for (int n : {kAccessory, kWord}) DDReleaseSurface(&g_SurfaceTable[n]);
  }
  static void Clear() { DDFillRect(&BackBuffer, 0, 0, 640, 480, 3); }
  static uint32_t At(int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); }
  static bool AnyOf(uint32_t dwRgb, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
        if (At(i, j) == dwRgb) return true;
    return false;
  }
  // A sheet of the built-in table, see-through but for one filled cell.
  static void MakeSheet(int n, int w, int h, int x, int y, int cw, int ch, uint32_t dwPal) {
    DDSURFACEDATA& sheet = g_SurfaceTable[n];
    ASSERT_TRUE(DDCreateSurface(&sheet, w, h, 1, 0, 0, 0, 0));
    DDFillRect(&sheet, 0, 0, w, h, 0);
    DDFillRect(&sheet, x, y, cw, ch, dwPal);
  }

  boxglyphs::cUseGlyphs m_Glyphs;
  cHeadlessDrawing m_Drawing;
  cPlayScene* m_pScene = nullptr;
  cSafeVector<std::string> m_SavedTexts;
};

TEST_F(PhaseDrawing, FadesStepToTheirEnd) {
  const struct {
    int32_t nStep;
    int nCalls;  // the call that reports the end
  } cases[] = {{10, 10}, {30, 4}, {45, 3}, {100, 2}, {0, 1}, {-5, 1}};
  for (const auto& c : cases) {
    g_SceneManager.m_nFadeStep = c.nStep;
    for (int bToBlack : {1, 0}) {
      SCOPED_TRACE(testing::Message() << "step " << c.nStep << " to black " << bToBlack);
      int nCalls = 0;
      int bDone = 0;
      while (!bDone && nCalls < 100) {
        Clear();
        bDone = m_pScene->FadeStep(bToBlack);
        ++nCalls;
      }
      EXPECT_EQ(nCalls, c.nCalls);
      // The end of a fade shows black, or the picture in full.
      EXPECT_EQ(At(10, 10), bToBlack ? kBlack : kBack);
    }
  }
  m_pScene->FillBackBuffer(16);
  EXPECT_EQ(At(639, 479), 0x102030u);
}

TEST_F(PhaseDrawing, TheMenuBoxAndItsCursorStandWhereTheMenuIs) {
  cSafeVector<cCmd> menu;
  menu.emplace_back(1, "ABC");
  menu.emplace_back(0, "HIDDEN LABEL");  // not shown: it does not widen the box
  menu.emplace_back(1, "DE");
  const int x = cCmd::GetCenterX(320, menu), y = 272;
  EXPECT_EQ(x, 320 - 32);
  m_pScene->DrawMenuBox(menu, x, y);
  // A column for the cursor and three cells wide, two lines high, framed.
  EXPECT_EQ(At(x - 1, y + 8), kFrame);
  EXPECT_EQ(At(x + 64, y + 8), kFrame);
  EXPECT_EQ(At(x + 65, y + 8), kBack);
  EXPECT_EQ(At(x + 8, y + 32), kFrame);
  EXPECT_EQ(At(x + 8, y + 33), kBack);
  EXPECT_TRUE(AnyOf(kInk, x + 16, y, 48, 16)) << "line 0";
  EXPECT_TRUE(AnyOf(kInk, x + 16, y + 16, 32, 16)) << "line 1";
  EXPECT_FALSE(AnyOf(kInk, x + 48, y + 16, 16, 16)) << "the hidden entry is not the second line";
  EXPECT_FALSE(AnyOf(kInk, x, y, 16, 32)) << "the cursor's column";

  MakeSheet(kAccessory, 128, 64, 64, 0, 16, 16, 241);
  g_Cursor.Current().nX = 100;
  g_Cursor.Current().nY = 200;
  Clear();
  m_pScene->DrawMenuCursor();
  EXPECT_EQ(At(100, 200), kInk);
  EXPECT_EQ(At(115, 215), kInk);
  EXPECT_EQ(At(116, 215), kBack);
  EXPECT_EQ(At(99, 200), kBack);

  // Labels that are all empty draw nothing.
  cSafeVector<cCmd> empty;
  empty.emplace_back(1, "");
  Clear();
  m_pScene->DrawMenuBox(empty, 100, 100);
  EXPECT_FALSE(AnyOf(kFrame, 90, 90, 40, 40));
}

TEST_F(PhaseDrawing, TheClearCaptionClosesInThenStandsWhole) {
  // The 128 x 32 caption at (0, 64) of the word sheet, drawn at (256, 192).
  MakeSheet(kWord, 256, 256, 0, 64, 128, 32, 5);
  const struct {
    int32_t nFrames;
    int nShift;  // of the first strip of four rows; the next moves the other way
  } cases[] = {{4, 96}, {96, 4}, {99, 1}, {100, 0}, {200, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nFrames);
    Clear();
    m_pScene->DrawClearCaption(c.nFrames);
    for (int nStrip : {0, 1}) {
      const int y = 192 + 4 * nStrip + 1;
      const int nLeft = 256 + (nStrip == 0 ? c.nShift : -c.nShift);
      EXPECT_EQ(At(nLeft, y), kCaption);
      EXPECT_EQ(At(nLeft + 127, y), kCaption);
      EXPECT_EQ(At(nLeft - 1, y), kBack);
      EXPECT_EQ(At(nLeft + 128, y), kBack);
    }
  }
}

TEST_F(PhaseDrawing, TheRankingNoticeIsCentredOnTheNoticeLine) {
  g_SystemData.m_vTexts.At(28) = "ABCD";
  m_pScene->DrawRankingNotice();
  EXPECT_TRUE(AnyOf(kInk, 288, 456, 16, 16));
  EXPECT_FALSE(AnyOf(kInk, 0, 456, 288, 16));
  EXPECT_TRUE(AnyOf(kInk, 288 + 48, 456, 16, 16));
  EXPECT_FALSE(AnyOf(kInk, 288 + 64, 456, 100, 16));
}

}  // namespace
