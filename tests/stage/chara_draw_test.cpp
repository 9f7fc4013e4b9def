// A character's animation choice, cell shift, death and gauges, the lookup
// by id, and the effects and pictures of the play screen.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "database/database.h"
#include "database/post_load_tables.h"
#include "draw/built_in_tables.h"
#include "files/system_data.h"
#include "scenes/palette_cycle.h"
#include "stage/chara_obj.h"
#include "stage/effect_obj.h"
#include "stage/picture_obj.h"
#include "stage/play_fixture.h"
#include "stage/sprite_source.h"
#include "stage/stage_objects.h"
#include "support/draw_setup.h"

namespace {

// An instance showing one cell for ever (or ending after nTicks).
cAnimPlay Instance(int32_t nCell, int32_t nCue, int32_t nRemain, int32_t nPaused = 0,
                   int32_t nTicks = 1000) {
  cAnimPlay a;
  a.m_Player.m_vecAnims.push_back(
      ANIMESEQUENCE{{nCell, nTicks, 0}, {nTicks == 1000 ? ANIMESTEP_STAY : ANIMESTEP_END, 0, 0}});
  a.m_nCue = nCue;
  a.m_nRemain = nRemain;
  a.m_nPaused = nPaused;
  return a;
}

class CharaDrawing : public testing::Test {
 protected:
  void SetUp() override {
    m_Saved = g_SystemData;
    Database.SetDefault();
  }
  void TearDown() override {
    g_SystemData = m_Saved;
    Database.SetDefault();
    g_CharaEffectRunTable.clear();
    g_CharaEffectRunTableAlt.clear();
    g_EffectFrameTable.clear();
  }
  // Character effect 1: kind, tenths, start, end.
  static void DefineEffect(int32_t nKind, int32_t nTenths, int32_t nStart, int32_t nEnd) {
    cEdCharaEffect& def = Database.m_vecCharaEffect[1];
    def.m_nKind = nKind;
    def.m_anParam[0] = nTenths;
    def.m_anParam[1] = nStart;
    def.m_anParam[2] = nEnd;
    Database.MakeAltLists();
    BuildCharaEffectTables(g_CharaEffectRunTable, g_CharaEffectRunTableAlt);
  }
  cSystemData m_Saved;
};

TEST_F(CharaDrawing, InstanceChoiceByCueAndFramesLeft) {
  struct {
    const char* szName;
    std::vector<cAnimPlay> list;
    int32_t nCell;
  } cases[] = {
      {"no instance: the basic animation", {}, 9},
      {"the animation command's instance", {Instance(1, 0, 0)}, 1},
      {"fewest frames left; a later equal one does not replace it",
       {Instance(1, 1, 10), Instance(2, 1, 5), Instance(3, 1, 5)},
       2},
      {"a cue wins over the command's instance before it",
       {Instance(1, 0, 0), Instance(2, 1, 50)},
       2},
      {"the command's instance after a cue is not chosen",
       {Instance(1, 1, 50), Instance(2, 0, 0)},
       1},
      {"paused instances are passed over", {Instance(1, 1, 3, 1), Instance(2, 1, 8)}, 2},
      {"after two run-out cues, the one nearest its end",
       {Instance(1, 1, 0), Instance(2, 1, -3), Instance(3, 1, -1), Instance(4, 1, -5)},
       3},
      {"only paused instances: the basic animation", {Instance(1, 1, 3, 1)}, 9},
  };
  for (auto& c : cases) {
    cCharaObj o;
    o.m_Anim.m_vecAnims.push_back(ANIMESEQUENCE{{9, 1000, 0}, {ANIMESTEP_STAY, 0, 0}});
    o.m_AnimList.assign(c.list.begin(), c.list.end());
    EXPECT_EQ(o.StepAnims(1), c.nCell) << c.szName;
  }
}

TEST_F(CharaDrawing, InstancesTickCountDownAndEnd) {
  cCharaObj o;
  o.m_AnimList = {Instance(1, 1, 10, 0, 2), Instance(2, 1, 20, 1, 2)};
  EXPECT_EQ(o.StepAnims(1), 1);
  EXPECT_EQ(o.m_AnimList.front().m_nRemain, 10) << "still frames count nothing";
  EXPECT_EQ(o.StepAnims(0), 1);
  EXPECT_EQ(o.m_AnimList.front().m_nRemain, 9);
  // The second tick ends the first instance; the paused one stays.
  EXPECT_EQ(o.StepAnims(0), 0) << "the basic animation, which has no cells here";
  ASSERT_EQ(o.m_AnimList.size(), 1u);
  EXPECT_EQ(o.m_AnimList.front().m_nRemain, 20);
}

TEST_F(CharaDrawing, CellShiftAndInvincibleColour) {
  cEdAnimeSet& set = Database.m_vecAnimeSet[0];
  set.m_nInvincibleCellOffset = 4;
  set.m_nBlockCellOffset = 8;
  set.m_nFlyCellOffset = 16;
  g_CycleColorTable[3] = DDBLTCOLOR{0xFF102030, 7};
  struct {
    const char* szName;
    uint8_t cFly, cBlock, cInv, cColour;
    int bDirect3D, bOption;
    int32_t nShift;
    int bColour;
  } cases[] = {
      {"plain", 0, 0, 0, 3, 1, 1, 2, 0},
      {"flying", 1, 0, 0, 0, 0, 0, 18, 0},
      {"block character", 0, 1, 0, 0, 0, 0, 10, 0},
      {"invincible on the device with the switch", 0, 0, 1, 3, 1, 1, 6, 1},
      {"every state", 1, 1, 1, 3, 1, 1, 30, 1},
      {"invincible without the switch", 0, 0, 1, 3, 1, 0, 6, 0},
      {"invincible in DirectDraw", 0, 0, 1, 3, 0, 1, 6, 0},
      {"invincible without a colour", 0, 0, 1, 0, 1, 1, 6, 0},
  };
  for (const auto& c : cases) {
    cHeadlessDrawing drawing(c.bDirect3D, 32);
    g_SystemData.m_bOption287 = c.bOption;
    cCharaObj o;
    o.m_Def.m_sGraphicCell = 2;
    o.m_Def.m_cFlying = c.cFly;
    o.m_Def.m_cBlockLike = c.cBlock;
    o.m_Def.m_cInvincible = c.cInv;
    o.m_Def.m_cInvDisplay = c.cColour;
    SPRITEDATA s;
    EXPECT_EQ(o.GetCellShift(s), c.nShift) << c.szName;
    EXPECT_EQ(s.bColor, c.bColour) << c.szName;
    if (c.bColour) {
      EXPECT_EQ(s.Color.dwColor, 0xFF102030u) << c.szName;
    }
  }
  g_CycleColorTable[3] = DDBLTCOLOR{};
}

// Frames a dying character takes until its death drawing reports the end.
int FramesToFinish(cGameObj& o, int nCap = 500) {
  for (int n = 1; n <= nCap; ++n)
    if (o.DrawDeath(&BackBuffer, 0)) return n;
  return -1;
}

TEST_F(CharaDrawing, DeathDrawingEndsAfterTheEffectAndThePlayerLingers) {
  cHeadlessDrawing drawing(0, 32);
  DefineEffect(1, 5, 0, 30);  // one pixel a frame for half a second
  struct {
    const char* szName;
    int32_t nControl;
    int32_t nEffect;
    int nFrames;
  } cases[] = {
      {"a computer character without a death effect goes at once", 1, 0, 1},
      {"a computer character goes when its effect ends", 1, 1, 31},
      // One second at 60 frames a second once the drawing counts.
      {"the player without an effect lingers a second", 0, 0, 61},
      {"the player lingers after its effect too", 0, 1, 31 + 61},
  };
  for (const auto& c : cases) {
    cCharaObj o;
    o.m_nControl = c.nControl;
    o.m_nDying = 1;
    o.m_CharaEffect.Start(c.nEffect, EFFECTRUN_NORMAL, 0);
    EXPECT_EQ(FramesToFinish(o), c.nFrames) << c.szName;
  }
  // Still frames neither count nor finish.
  cCharaObj p;
  p.m_nControl = 0;
  for (int i = 0; i < 200; ++i) EXPECT_EQ(p.DrawDeath(&BackBuffer, 1), 0);
  EXPECT_EQ(p.m_nDeathFrames, 0);
}

TEST_F(CharaDrawing, EffectsAdvanceUnseenAndStandStillInStillFrames) {
  cHeadlessDrawing drawing(0, 32);
  DefineEffect(1, 5, 0, 30);
  // A transparent character is not drawn, but its effect keeps time.
  cCharaObj o;
  o.m_Def.m_cTransparent = 1;
  o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
  int n = 0;
  while (o.m_CharaEffect.m_nEffect != 0 && n < 100) {
    o.Draw(&BackBuffer, 0);
    ++n;
  }
  EXPECT_EQ(n, 31);
  // Still frames move nothing: the value, the blink counters (an interval
  // of 0 would flip them at every frame), the phase.
  for (int32_t nKind : {1, 4, 6}) {
    DefineEffect(nKind, 5, 0, 30);
    cCharaObj s;
    s.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
    for (int i = 0; i < 3; ++i) s.StepCharaEffect(0);
    const cCharaEffectRun before = s.m_CharaEffect;
    for (int i = 0; i < 50; ++i) EXPECT_EQ(s.StepCharaEffect(1), 0);
    EXPECT_EQ(s.m_CharaEffect.m_dValue, before.m_dValue) << nKind;
    EXPECT_EQ(s.m_CharaEffect.m_dElapsed, before.m_dElapsed) << nKind;
    EXPECT_EQ(s.m_CharaEffect.m_nWork1, before.m_nWork1) << nKind;
    EXPECT_EQ(s.m_CharaEffect.m_nWork2, before.m_nWork2) << nKind;
  }
}

TEST_F(CharaDrawing, KindZeroNeverEndsAndBadNumbersEndAtOnce) {
  DefineEffect(0, 1, 0, 0);
  cCharaObj o;
  o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(o.StepCharaEffect(0), 0);
  EXPECT_EQ(o.m_CharaEffect.m_nEffect, 1);
  // A number the database does not hold (as a command could leave it).
  for (int32_t n : {-7, 2, 40000}) {
    o.m_CharaEffect.m_nEffect = n;
    EXPECT_EQ(o.StepCharaEffect(0), 1) << n;
    EXPECT_EQ(o.m_CharaEffect.m_nEffect, 0) << n;
  }
  // A kind this program does not know draws plainly and never ends.
  DefineEffect(99, 1, 0, 10);
  o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(o.StepCharaEffect(0), 0);
}

TEST_F(CharaDrawing, BlinkHidesThreeFramesThenTakesTurnsOfTwo) {
  DefineEffect(6, 100, 2, 0);
  cCharaObj o;
  o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
  std::vector<int> shown;
  for (int i = 0; i < 9; ++i) {
    shown.push_back(o.m_CharaEffect.m_nWork2);
    o.StepCharaEffect(0);
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 0, 0, 1, 1}));
}

TEST_F(CharaDrawing, GaugeShowsItsChangeShrinkingThenTheBarAlone) {
  cHeadlessDrawing drawing(0, 32);
  cCharaObj o;
  o.m_Def.m_nMaxHP = 100;
  o.m_nHP = 90;
  o.m_HpGauge = GAUGE{120, -5.0, -5.0 / 60, 45};
  std::vector<double> steps;
  int nFrames = 0;
  while (o.m_HpGauge.nFrames > 0 && nFrames < 500) {
    steps.push_back(o.m_HpGauge.dStep);
    o.DrawHpGauge(&BackBuffer);
    ++nFrames;
  }
  EXPECT_EQ(nFrames, 120);
  EXPECT_DOUBLE_EQ(steps[0], -5.0);
  EXPECT_NEAR(steps[30], -2.5, 1e-9);
  EXPECT_EQ(steps[61], 0.0);
  EXPECT_EQ(steps[119], 0.0);
  // A dying character shows none, and its gauge waits.
  o.m_HpGauge.nFrames = 50;
  o.m_nDying = 1;
  o.DrawHpGauge(&BackBuffer);
  EXPECT_EQ(o.m_HpGauge.nFrames, 50);
}

class ScreenObjects : public cPlayFixture {};

TEST_F(ScreenObjects, LookupByIdPlayerFirst) {
  MakeStage(20, 15, 1);
  Player(3, 5);
  Start();
  ASSERT_FALSE(g_Players.empty());
  const int32_t nPlayerId = g_Players[0].m_nId;
  g_CharaList.emplace_back();
  g_CharaList.back().m_nId = nPlayerId;
  g_CharaList.emplace_back();
  g_CharaList.back().m_nId = 4242;
  EXPECT_EQ(FindObjEntry(nPlayerId), &g_Players[0]);
  EXPECT_EQ(FindObjEntry(4242), &g_CharaList.back());
  EXPECT_EQ(FindObjEntry(-99), nullptr);
}

TEST_F(ScreenObjects, EffectLastsItsFramesAndBadNumbersEndAtOnce) {
  MakeStage(20, 15, 1);
  Player(3, 5);
  Start();
  Database.m_vecEffect.resize(2);
  cEdEffect& e = Database.m_vecEffect[1];
  e.m_vecFrame.resize(3);
  for (int k = 0; k < 3; ++k) {
    e.m_vecFrame[k].m_nCell = k;
    e.m_vecFrame[k].m_nTime = 1;
  }
  BuildEffectFrameTable(g_EffectFrameTable);
  auto lasts = [](cEffectObj& fx, int bStill) {
    int n = 1;
    while (!fx.Draw(nullptr, bStill) && n < 1000) ++n;
    return n;
  };
  cEffectObj fx;
  fx.Init(1, 0, 0, 32, 32, 0);
  EXPECT_EQ(lasts(fx, 0), 18) << "the 18th frame ends it";
  fx.Init(1, 0, 0, 32, 32, 0);
  EXPECT_EQ(lasts(fx, 1), 1000) << "still frames do not advance it";
  fx.Init(1, 0, 0, 32, 32, 1);
  EXPECT_EQ(lasts(fx, 1), 18) << "unless it runs when still";
  for (int32_t n : {1 | 0x8000, 2, 0x12345, 0}) {
    fx.Init(n, 0, 0, 32, 32, 0);
    EXPECT_EQ(fx.Draw(nullptr, 0), 1) << n;
  }
  TakeCloses();
  Database.SetDefault();
  g_EffectFrameTable.clear();
}

TEST_F(ScreenObjects, HitEffectBetweenBoxesIsCentredAndJittered) {
  MakeStage(20, 15, 1);
  Player(3, 5);
  Start();
  Database.m_vecEffect.resize(2);
  Database.m_vecEffect[1].m_nCellW = 16;
  Database.m_vecEffect[1].m_nCellH = 8;
  Database.m_vecEffect[1].m_bScale = 1;
  struct {
    RECTD a, b;
    int32_t nScale;
    double x, y;  // before the jitter
    int32_t nJitter;
  } cases[] = {
      // Overlap 110..129 x 205..214: centre 120, 210.
      {{100, 200, 129, 219}, {110, 205, 150, 214}, 1, 110 + 10 - 8, 205 + 5 - 4, 4},
      // No overlap: around (0, 0), twice the size, jitter 8.
      {{0, 0, 9, 9}, {50, 50, 60, 60}, 2, 0 + 0 - 16, 0 + 0 - 8, 8},
  };
  for (const auto& c : cases) {
    cRandGen rng = Scene().m_Rand;
    const int dx = RandRange(rng, -c.nJitter, c.nJitter);
    const int dy = RandRange(rng, -c.nJitter, c.nJitter);
    cEffectObj fx;
    fx.InitScaled(1, c.a, c.b, c.nScale);
    EXPECT_EQ(fx.m_dX, c.x + dx);
    EXPECT_EQ(fx.m_dY, c.y + dy);
    EXPECT_EQ(fx.m_nWidth, 16 * c.nScale);
  }
  Database.SetDefault();
}

TEST_F(ScreenObjects, PicturesExpireAndStayOnTheScreenWhenAnchored) {
  MakeStage(60, 15, 1);
  Player(3, 5);
  Start();
  cPictureObj timed;
  timed.Setup(1, 0, 0, 8, 8, 0, 0, 100, PICTURE_TIMED, 3, 0, 0, 0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(timed.Draw(nullptr, nullptr, 1), 0);
  int n = 1;
  while (!timed.Draw(nullptr, nullptr, 0)) ++n;
  EXPECT_EQ(n, 4);
  timed.Setup(1, 0, 0, 8, 8, 0, 0, 100, PICTURE_TIMED, 3, 1, 0, 0);
  n = 1;
  while (!timed.Draw(nullptr, nullptr, 1)) ++n;
  EXPECT_EQ(n, 4) << "counted in still frames when asked";

  Scene().m_ScrollX.m_dPos = 400.7;
  cPictureObj anchored;
  anchored.Setup(1, 500.2, 30, 8, 8, 1, 0, 100, 0, 0, 0, 0, 0);
  EXPECT_EQ(anchored.m_nScreenX, 100);
  Scene().m_ScrollX.m_dPos = 800;
  EXPECT_EQ(anchored.Draw(nullptr, nullptr, 0), 0);
  EXPECT_EQ(anchored.m_nScreenX, 100);
}

}  // namespace

namespace {

TEST(PlayerHitAreas, DrawnAtTheirBoxesInColoursThatStepEveryEightFrames) {
  cHeadlessDrawing drawing(0, 32);
  cHeadlessDrawing::SetColours({{1, 0x000080}, {20, 0x111111}, {21, 0x222222}, {30, 0x333333}});
  cPlayerObj p;
  p.m_nScrLeft = 200;
  p.m_nScrTop = 100;
  p.m_nDrawDX = 2;
  p.m_nDrawDY = 4;
  p.m_BodyBox.nOffX = 5;
  p.m_BodyBox.nOffY = 6;
  p.m_vecHitAreas = {HITAREADATA{1, 1, 20, 0, 0, 3, 3, 0}, HITAREADATA{0, 0, 30, 0, 0, 9, 9, 0}};
  std::vector<uint32_t> seen;
  for (int f = 0; f < 9; ++f) {
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 1);
    p.DrawHitAreas(&BackBuffer);
    seen.push_back(cHeadlessDrawing::Rgb(&BackBuffer, 207, 110));
  }
  // The body box at screen left + drawing offset + its offset; colour 20,
  // then 21 from the ninth drawing.
  EXPECT_EQ(seen[0], 0x111111u);
  EXPECT_EQ(seen[7], 0x111111u);
  EXPECT_EQ(seen[8], 0x222222u);
  EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, 206, 110), 0x000080u);
  EXPECT_EQ(p.m_vecHitAreas[0].nX, 207);
  EXPECT_EQ(p.m_vecHitAreas[0].nY, 110);
  // A hidden overlay is not drawn and its counter stands.
  EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, 202, 104), 0x000080u);
  EXPECT_EQ(p.m_vecHitAreas[1].nBlink, 0);
}

}  // namespace

namespace {

TEST_F(ScreenObjects, PinnedGiantDrawsItsMarkOverItsWholeRectangle) {
  MakeStage(20, 15, 1);
  Player(3, 5);
  Start();
  cHeadlessDrawing drawing(0, 32);
  cHeadlessDrawing::SetColours({{1, 0x000080}, {5, 0xFF0000}});
  for (int n : {43, 44}) {
    ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[n], 128, 480, 1, n == 44, 0, 0, 0));
    // Mark 16: column 1, row 1.
    DDFillRect(&g_SurfaceTable[n], 32, 32, 32, 32, 5);
  }
  cCharaObj o;
  o.m_Def.m_cMarkShown = 1;
  o.m_Def.m_sMark = 16;
  o.m_Def.m_cGiant = 2;
  o.m_nBaseDrawW = o.m_nBaseDrawH = 32;
  o.m_nDrawW = o.m_nDrawH = 64;
  // Pinned on the screen: drawn there whatever its position says.
  o.m_nPinX = o.m_nPinY = 1;
  o.m_nPinLeft = 300;
  o.m_nPinTop = 200;
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 1);
  o.Draw(&BackBuffer, 0);
  EXPECT_EQ(o.m_nScrLeft, 300);
  EXPECT_EQ(o.m_nScrBottom, 263);
  EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, 300, 200), 0xFF0000u);
  EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, 363, 263), 0xFF0000u);
  EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, 364, 263), 0x000080u);
  for (int n : {43, 44}) DDReleaseSurface(&g_SurfaceTable[n]);
}

}  // namespace
