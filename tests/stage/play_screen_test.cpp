// The play screen: the order objects are drawn in, the layout arithmetic of
// backgrounds, status bar and limited sight, the screen colour, screen
// effects in still and zero-sized forms, the time warning, and what drawing
// changes in the play (dead characters, the shot sheets).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/frame_timing.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "files/system_data.h"
#include "play_fixture.h"
#include "stage/play_screen_layout.h"
#include "stage/screen_effects.h"
#include "stage/stage_surfaces.h"
#include "support/draw_setup.h"

namespace {

class PlayScreen : public cPlayFixture {
 protected:
  // Where the player and character id nChara come in the drawing of one
  // frame.
  std::vector<std::string> DrawOrder() {
    m_Probe.m_vecSteps.clear();
    m_Probe.m_bRecord = true;
    Scene().Draw(0, 1, 0, 0);
    m_Probe.m_bRecord = false;
    std::vector<std::string> order;
    for (const std::string& s : m_Probe.m_vecSteps)
      if (s.rfind("DrawPlayer", 0) == 0 || s.rfind("DrawChara", 0) == 0) order.push_back(s);
    return order;
  }
};

TEST_F(PlayScreen, EightLayersDrawEachLayersPlayerFirstThenItsObjects) {
  struct Case {
    int nPlayerLayer;
    int bLayers;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {2, 1, {"DrawPlayer(0)", "DrawChara(1)"}},  // layer 2, then the character's 3
      {4, 1, {"DrawChara(1)", "DrawPlayer(0)"}},  // the character's 3 comes first
      {3, 1, {"DrawPlayer(0)", "DrawChara(1)"}},  // one layer: the player first
      {4, 0, {"DrawPlayer(0)", "DrawChara(1)"}},  // one pass for all
  };
  for (const Case& c : cases) {
    MakeStage(20, 15, 1);
    g_Stage.m_bLayers = c.bLayers;
    Floor(14);
    Player(2, 13).m_cLayer = static_cast<uint8_t>(c.nPlayerLayer);
    Chara(5, 13).m_cLayer = 3;
    delete m_pScene;
    m_pScene = nullptr;
    StartPlaying();
    g_CharaList.front().m_nOnScreen = 1;
    EXPECT_EQ(DrawOrder(), c.order) << c.nPlayerLayer << " " << c.bLayers;
  }
}

TEST_F(PlayScreen, ACharacterWhoseDeathHasPlayedGoesOnlyInAnAdvancingFrame) {
  Floor(14);
  Player(2, 13);
  Chara(5, 13);
  StartPlaying();
  ASSERT_EQ(g_CharaList.size(), 1u);
  g_CharaList.front().m_nDying = 1;
  // A still frame may be drawn while the play is parked in a walk over the
  // characters: the character stays until play goes on.
  Scene().Draw(0, 1, 0, 1);
  EXPECT_EQ(g_CharaList.size(), 1u);
  Scene().Draw(1, 0, 1, 1);
  EXPECT_EQ(g_CharaList.size(), 0u);
  EXPECT_TRUE(Scene().m_CharaGroups.At(0).empty() || Scene().m_CharaGroups.At(0).size() == 1u);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(PlayScreen, AFinishedDefeatOfThePlayerCostsALifeOrEndsTheGame) {
  struct Case {
    int32_t nLives;
    int nPhase;
    int32_t nLivesAfter;
  };
  for (const Case& c : {Case{2, PLAYPHASE_READY, 1}, Case{0, PLAYPHASE_WAITBUTTON, 0}}) {
    delete m_pScene;
    m_pScene = nullptr;
    MakeStage(20, 15, 1);
    Floor(14);
    Player(2, 13);
    StartPlaying();
    g_PlayData.m_nLives = c.nLives;
    ThePlayerObj().m_nDying = 1;
    Scene().Draw(0, 1, 0, 1);  // still: only shown
    EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_PLAY);
    // The defeat waits for the death to have played out.
    for (int i = 0; i < 600 && Scene().m_nPhase == PLAYPHASE_PLAY; ++i) Scene().Draw(1, 0, 1, 1);
    EXPECT_EQ(Scene().m_nPhase, c.nPhase) << c.nLives;
    EXPECT_EQ(g_PlayData.m_nLives, c.nLivesAfter) << c.nLives;
  }
}

TEST(PlayScreenLayout, BackgroundOffsetsFollowTheCameraByTheirFactor) {
  struct Case {
    double dScrollX, dScrollY, dFactorX, dFactorY;
    int bAutoX, bAutoY;
    double dOffX, dOffY;
    int32_t x, y;
  };
  const Case cases[] = {
      {320, 320, 0.5, 0.5, 0, 0, 0, 0, 0, 0},             // the camera's start
      {420, 340, 0.5, 0.25, 0, 0, 0, 0, 50, 5},          // half and a quarter
      {420.6, 340.9, 1, 1, 0, 0, 0, 0, 101, 20},         // x rounds, y floors
      {0, 0, 0.1, 0.1, 0, 0, 0, 0, -32, -32},            // left of the start
      {400, 400, 0.5, 0.5, 1, 1, 10.5, 3.25, 90, 83},    // running by itself
      {400, 400, 0.5, 0.5, 1, 0, 7, 0, 87, 40},          // one axis each way
  };
  for (const Case& c : cases) {
    cStageBg bg;
    bg.m_dFactorX = c.dFactorX;
    bg.m_dFactorY = c.dFactorY;
    bg.m_bAutoX = c.bAutoX;
    bg.m_bAutoY = c.bAutoY;
    bg.m_dOffsetX = c.dOffX;
    bg.m_dOffsetY = c.dOffY;
    int32_t x = 0, y = 0;
    BackgroundSourceOffset(bg, c.dScrollX, c.dScrollY, x, y);
    EXPECT_EQ(x, c.x) << c.dScrollX << "," << c.dScrollY;
    EXPECT_EQ(y, c.y) << c.dScrollX << "," << c.dScrollY;
  }
}

TEST(PlayScreenLayout, StatusBarEntriesShareWhatTheBarLeavesOver) {
  struct ENTRY {
    int bShow, bIcon;
    const char* szLabel;
    int nDigits;
  };
  struct Case {
    ENTRY e[5];
    int nCount;
    int32_t x[5], w[5];
  };
  const Case cases[] = {
      // Icons: 16 + digits x 16, gauges 16 + 50.
      {{{1, 1, "", 6}, {1, 1, "", 6}, {1, 1, "", 0}, {1, 1, "", 0}, {1, 1, "", 2}},
       5,
       {39, 190, 341, 446, 551},
       {112, 112, 66, 66, 48}},
      // Labels count characters (a double-byte one is one), 16 pixels each.
      {{{1, 0, "SC", 5}, {0, 0, "", 0}, {1, 0, "体力", 0}, {0, 0, "", 0}, {0, 0, "", 0}},
       2,
       {148, 408},
       {112, 82}},
      // Wider than the bar: the gap goes negative and the entries overlap.
      {{{1, 0, "", 40}, {1, 0, "", 0}, {0, 0, "", 0}, {0, 0, "", 0}, {0, 0, "", 0}},
       2,
       {0, 640},
       {640, 0}},
      {{{0, 0, "", 0}, {0, 0, "", 0}, {0, 0, "", 0}, {0, 0, "", 0}, {0, 0, "", 0}}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    cSafeVector<cStatusItem> items(5);
    for (int n = 0; n < 5; ++n) {
      items[n].m_bShow = c.e[n].bShow;
      items[n].m_bIcon = c.e[n].bIcon;
      items[n].m_strLabel = c.e[n].szLabel;
      items[n].m_nDigits = c.e[n].nDigits;
    }
    int32_t x[5], w[5];
    ASSERT_EQ(LayoutStatusBar(items, x, w), c.nCount);
    std::vector<int32_t> vx, vw;
    for (int n = 0; n < 5; ++n)
      if (c.e[n].bShow) vx.push_back(x[n]), vw.push_back(w[n]);
    EXPECT_EQ(vx, std::vector<int32_t>(c.x, c.x + c.nCount));
    EXPECT_EQ(vw, std::vector<int32_t>(c.w, c.w + c.nCount));
  }
}

TEST(PlayScreenLayout, TheSightHoleSitsOnThePlayerOrAheadOfIt) {
  struct Case {
    int32_t nRange, nScrLeft, nScrTop, nDrawW, nDrawH;
    int nFacing, nKind;
    int32_t sx, sy;
  };
  // Mask (1280 + 2r) x (960 + 2r), hole in its middle.
  const Case cases[] = {
      {64, 304, 224, 32, 32, 1, 1, 384, 304},  // centred: mask middle on the player's
      {64, 304, 224, 32, 32, 1, 2, 336, 304},  // ahead to the right: 16 - 64 further left
      {64, 304, 224, 32, 32, -1, 2, 432, 304},  // facing left: the other way
      {64, 304, 224, 32, 32, -1, 4, 432, 304},
      {64, 304, 224, 32, 32, -1, 3, 384, 304},  // square, centred
      {64, -2000, -2000, 32, 32, 1, 1, 768, 608},  // kept inside the mask
      {64, 2000, 2000, 32, 32, 1, 1, 0, 0},
      {0, 304, 224, 32, 32, 1, 1, 320, 240},
  };
  for (const Case& c : cases) {
    int32_t sx = -1, sy = -1;
    SightWindow(1280 + 2 * c.nRange, 960 + 2 * c.nRange, c.nScrLeft, c.nScrTop, c.nDrawW, c.nDrawH,
                c.nFacing, c.nRange, c.nKind, sx, sy);
    EXPECT_EQ(sx, c.sx) << c.nScrLeft << " kind " << c.nKind << " facing " << c.nFacing;
    EXPECT_EQ(sy, c.sy) << c.nScrTop << " kind " << c.nKind;
  }
}

// The levels a screen colour is laid at, frame by frame, until it ends (at
// most nMax frames).
std::vector<int32_t> Levels(cScreenColor& sc, int nMax) {
  std::vector<int32_t> v;
  for (int i = 0; i < nMax && sc.m_bActive; ++i) v.push_back(sc.StepLevel(0));
  return v;
}

TEST(ScreenColour, BlinkReturnAndPlainChangesRunTheirCourse) {
  cScreenColor sc;
  // Blinking twice over half a second (3 frames) at full strength.
  sc.SetFromCommand({255, 0, 0, 100, 0, 0, 1, 2});
  sc.m_nDuration = 3;
  EXPECT_EQ(Levels(sc, 50), (std::vector<int32_t>{255, 170, 85, 255, 255, 170, 85, 255}));
  EXPECT_EQ(sc.m_bActive, 0);

  // A plain change at half strength stays once there.
  sc.SetFromCommand({0, 0, 255, 50, 0, 1, 0, 0});  // 6 frames
  const std::vector<int32_t> plain = Levels(sc, 20);
  EXPECT_EQ(plain.size(), 20u);
  EXPECT_EQ(plain.back(), 127);
  EXPECT_EQ(sc.m_bActive, 1);
  // The way back runs from where it stands to nothing, in the same colour.
  sc.SetFromCommand({9, 9, 9, 0, 1, 1, 0, 0});
  EXPECT_EQ(sc.m_cBlue, 255);
  EXPECT_EQ(Levels(sc, 20), (std::vector<int32_t>{127, 148, 169, 191, 212, 233, 255}));
  EXPECT_EQ(sc.m_bActive, 0);
  // Back from nothing: nothing to do.
  sc.SetFromCommand({9, 9, 9, 0, 1, 1, 0, 0});
  EXPECT_EQ(sc.m_bActive, 0);

  // Still frames show the colour but do not move it on.
  sc.SetFromCommand({255, 255, 255, 100, 0, 1, 0, 0});
  sc.StepLevel(0);
  const int32_t nFrame = sc.m_nFrame;
  EXPECT_EQ(sc.StepLevel(1), sc.StepLevel(1));
  EXPECT_EQ(sc.m_nFrame, nFrame);
}

class PlayScreenDrawn : public PlayScreen {
 protected:
  void SetUp() override {
    PlayScreen::SetUp();
    m_Saved = Database.m_vecScrEffect;
  }
  void TearDown() override {
    Database.m_vecScrEffect = m_Saved;
    PlayScreen::TearDown();
  }
  cSafeVector<cEdScrEffect> m_Saved;
};

TEST_F(PlayScreenDrawn, AScreenEffectDoesNotMoveOnInStillFrames) {
  cHeadlessDrawing drawing(1, 32);
  Floor(14);
  Player(2, 13);
  StartPlaying();
  cEdScrEffect& def = Database.m_vecScrEffect.At(1);
  def.m_nKind = 6;  // a wave, whose phase grows a degree a frame
  def.m_anParam[0] = 10;
  def.m_anParam[3] = 2;
  Scene().m_ScrEffect.m_nEffect = 1;
  Scene().Draw(0, 1, 0, 1);
  Scene().Draw(0, 1, 0, 1);
  EXPECT_EQ(Scene().m_ScrWork.nAngle, 0);
  Scene().Draw(1, 0, 1, 1);
  Scene().Draw(1, 0, 1, 1);
  EXPECT_EQ(Scene().m_ScrWork.nAngle, 2);
}

TEST_F(PlayScreenDrawn, ScreenEffectsOfNoSizeOrUnknownKindDrawNothingHarmful) {
  cHeadlessDrawing drawing(1, 32);
  Floor(14);
  Player(2, 13);
  StartPlaying();
  cEdScrEffect& def = Database.m_vecScrEffect.At(1);
  for (int nKind = -1; nKind <= kScreenEffectKinds + 1; ++nKind) {
    def.m_nKind = nKind;
    std::fill(std::begin(def.m_anParam), std::end(def.m_anParam), 0);
    Scene().m_ScrEffect.m_nEffect = 1;
    Scene().m_ScrWork = {};
    for (int i = 0; i < 3; ++i) Scene().Draw(1, 0, 1, 1);
    // A shake of no duration has nothing to swing through.
    const bool bShake = nKind == 2 || nKind == 3;
    EXPECT_EQ(Scene().m_ScrEffect.m_nEffect, bShake ? 0 : 1) << nKind;
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(PlayScreen, TheTimeWarningSoundsOncePerSecondAndNotAtNothing) {
  struct Case {
    int32_t nTime;
    int bTimeSound;
    int nSounds;
  };
  const Case cases[] = {{5, 1, 3}, {20, 1, 3}, {21, 1, 0}, {0, 1, 0}, {5, 0, 0}};
  Floor(14);
  Player(2, 13);
  StartPlaying();
  g_Stage.m_nTimeWarning = 20;
  for (const Case& c : cases) {
    Scene().m_bNoTimeLimit = 0;
    Scene().m_nTime = c.nTime;
    ResetFrameTiming();
    Requests().vecSounds.clear();
    for (int f = 0; f < 180; ++f) {
      Scene().DrawTime(nullptr, c.bTimeSound);
      FrameSkipCounter(1, 60);
    }
    EXPECT_EQ(std::count(Requests().vecSounds.begin(), Requests().vecSounds.end(), 13), c.nSounds)
        << c.nTime << " " << c.bTimeSound;
  }
}

// The distance ranges an author asks to see: two lines at the ends of the
// span, on the side the shape names, in the condition's colour.
TEST_F(PlayScreenDrawn, DistanceRangesShowWhereTheirSettingsAskForThem) {
  cHeadlessDrawing drawing(0, 32);
  Floor(14);
  Player(8, 13);
  StartPlaying();
  cPlayerObj& player = ThePlayerObj();
  player.m_nFacing = 1;
  player.UpdateScreenRect();
  const int32_t x0 = player.m_nScrLeft;
  const int32_t w = player.m_nDrawW;
  struct Case {
    uint8_t cShow, cShape;
    int32_t nLeftLine, nRightLine;  // -1: none expected
  };
  // R = 2 hbl and 4 dots = 36 pixels.
  const Case cases[] = {
      {1, 0, x0 - 36, x0 + w + 36},  // both sides of the body
      {1, 1, x0 + w / 2, x0 + w + 36},  // ahead of a character facing right
      {1, 2, x0 - 36, x0 + w / 2},      // behind it
      {0, 0, -1, -1},                // never shown
      {2, 0, -1, -1},                // only in a test play
  };
  const uint32_t dwRange = 0x00FF00;
  for (int n = 208; n < 240; ++n) cHeadlessDrawing::SetColours({{n, dwRange}});
  for (const Case& c : cases) {
    cCond cond;
    cond.m_cKind = 7;
    cond.m_cLeftKind = c.cShow;
    cond.m_cShape = c.cShape;
    cond.m_nConstant = 2;
    cond.m_sRightVarNum = 4;
    player.m_Def.m_vecConds.assign(1, cond);
    DDFillSurfaceColor(&BackBuffer, 0);
    Scene().DrawCharaRanges(&BackBuffer);
    for (int x = 0; x < 640; ++x) {
      const bool bLine = x == c.nLeftLine || x == c.nRightLine;
      EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, x, 100) == dwRange, bLine)
          << "shape " << int(c.cShape) << " show " << int(c.cShow) << " x " << x;
    }
  }
}

TEST_F(PlayScreenDrawn, LostShotSheetsAreBuiltAgainOnTheNextFrame) {
  cHeadlessDrawing drawing(1, 32);
  Floor(14);
  Player(2, 13);
  StartPlaying();
  g_SurfaceTable[SURF_SHOT_SHEET_MIRRORED].bLost = 1;
  Scene().Draw(1, 0, 1, 1);
  EXPECT_EQ(g_SurfaceTable[SURF_SHOT_SHEET].bLost, 0);
  EXPECT_EQ(g_SurfaceTable[SURF_SHOT_SHEET_MIRRORED].bLost, 0);
}

}  // namespace
