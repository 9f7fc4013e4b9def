// The stage-end result panel: which results it shows, its box from the
// widest caption and value, a mark for each result that entered its table;
// and the time text of clear times.
#include "scenes/result_panel.h"

#include <gtest/gtest.h>

#include "base/program_state.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "scenes/scene_manager.h"
#include "support/box_glyphs.h"
#include "support/draw_setup.h"

namespace {

constexpr uint32_t kPanelBack = 0x204080, kPanelFrame = 0xFFFF00, kPanelInk = 0xFFFFFF,
                   kPanelMark = 0x00FF00;

TEST(ResultPanel, TimeText) {
  const struct {
    int32_t t;
    const char* sz;
  } cases[] = {{6543, "01:05.43"}, {0, "00:00.00"}, {599999, "99:59.99"}, {1234567, "205:45.67"}};
  for (const auto& c : cases) {
    std::string str;
    TimeToStr(str, c.t);
    EXPECT_EQ(str, c.sz) << c.t;
  }
}

class ResultPanelDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Drawing.Ok());
    cHeadlessDrawing::SetColours(
        {{0, 0x000000}, {3, kPanelBack}, {5, kPanelMark}, {240, kPanelFrame}, {241, kPanelInk}});
    const DDFONTDATA& d = g_FontSpec[1];
    g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
    m_SavedSystem = g_SystemData;
    DDSURFACEDATA& sheet = g_SurfaceTable[49];
    ASSERT_TRUE(DDCreateSurface(&sheet, 64, 64, 1, 0, 0, 0, 0));
    DDFillRect(&sheet, 0, 0, 64, 64, 0);
    DDFillRect(&sheet, 16, 48, 16, 16, 5);
    g_PlayData.Reset();
    g_Stage.Reset();
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[49]);
    g_Font[1].Release();
    g_SystemData = m_SavedSystem;
    g_PlayData.Reset();
    g_Stage.Reset();
    bCommandLineStage = 0;
    g_SceneManager.m_nSubMode = 0;
  }
  static uint32_t At(int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); }

  boxglyphs::cUseGlyphs m_Glyphs;
  cHeadlessDrawing m_Drawing;
  cSystemData m_SavedSystem;
};

TEST_F(ResultPanelDrawing, ShowsWhatTheStageAndThePlayRankAndMarksWhatEntered) {
  // The stage offers the score and the clear time; free play ranks the
  // score, the clear time and the HP.
  g_Stage.m_vRanking.assign(kStageRankingCount, 0);
  g_Stage.m_vRanking[0] = g_Stage.m_vRanking[2] = 1;
  g_SceneManager.m_nSubMode = 2;
  auto& criteria = g_SystemData.m_vModeRanking.At(2).m_vCriteria;
  criteria.assign(5, 0);
  criteria[0] = criteria[2] = criteria[3] = 1;
  g_SystemData.m_vTexts.At(5) = "SC";
  g_SystemData.m_vTexts.At(7) = "TIME";
  g_PlayData.m_nTotalScore = 12345;
  g_PlayData.m_nPlayTimeSum = 6543;
  const cSafeVector<int32_t> positions{-1, 3, -1, -1, 0};
  DrawResult(&BackBuffer, 100, 200, positions);
  // Captions of 4 cells at most, values of 8 (the time text): 15 cells,
  // two lines.
  EXPECT_EQ(At(99, 210), kPanelFrame);
  EXPECT_EQ(At(100 + 240, 210), kPanelFrame);
  EXPECT_EQ(At(100 + 241, 210), kPanelBack);
  EXPECT_EQ(At(150, 232), kPanelFrame);
  EXPECT_EQ(At(150, 233), kPanelBack);
  // The values start after the captions and a gap of a cell.
  auto InkIn = [](int x, int y, int w) {
    for (int i = x; i < x + w; ++i)
      for (int j = y; j < y + 16; ++j)
        if (At(i, j) == kPanelInk) return true;
    return false;
  };
  EXPECT_TRUE(InkIn(100 + 96, 200, 16));
  EXPECT_FALSE(InkIn(100 + 80, 200, 16));
  EXPECT_TRUE(InkIn(100 + 96 + 7 * 16, 216, 16)) << "eight characters of time";
  // Two results entered: two marks down the left edge.
  EXPECT_EQ(At(100, 200), kPanelMark);
  EXPECT_EQ(At(115, 231), kPanelMark);
  EXPECT_NE(At(100, 232), kPanelMark);
}

TEST_F(ResultPanelDrawing, NothingWhenNoResultIsShown) {
  g_Stage.m_vRanking.assign(kStageRankingCount, 0);
  bCommandLineStage = 1;
  const cSafeVector<int32_t> positions{0, 0, 0, 0, 0};
  DrawResult(&BackBuffer, 100, 200, positions);
  EXPECT_EQ(At(99, 210), kPanelBack);
  EXPECT_EQ(At(100, 200), kPanelBack);
}

}  // namespace
