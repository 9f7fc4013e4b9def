// The stage objects: set-up of characters, the player and items from their
// definitions, scale changes, clamps, the removal test, the screen
// rectangle, activation, the per-step resets of their flows, jumps and the
// references between characters.
#include <gtest/gtest.h>

#include <climits>

#include "database/database.h"
#include "flow/command_catalogue.h"
#include "input/input.h"
#include "stage/flow_engine.h"
#include "stage_fixture.h"

namespace {

class Objects : public cStageFixture {
 protected:
  void SetUp() override {
    cStageFixture::SetUp();
    g_Input.resize(1);
  }
  cCharaObj& Chara(cEdChara def, double x, double y) {
    cCharaObj& c = g_CharaList.emplace_back();
    c.SetUp(static_cast<int32_t>(g_CharaList.size()), def, nullptr, x + 16, y + 16, 0);
    c.m_dX = x;
    c.m_dY = y;
    c.ClampX(2);
    c.ClampY(2);
    return c;
  }
};

TEST_F(Objects, CharacterSetUpFromItsDefinitionAndTheStageSizes) {
  struct Case {
    uint8_t cFlying, cRange, cBlock;
    int32_t w, h, nDX, nDY;
    int32_t body[4];  // offset x, y, width, height
  } cases[] = {
      {0, 0, 0, 16, 24, 8, 8, {2, 0, 12, 24}},    // walking, bottom-aligned body
      {1, 0, 0, 16, 16, 8, 8, {2, 0, 12, 16}},    // flying, centred body
      {0, 1, 0, 16, 24, 8, 8, {-7, -7, 30, 30}},  // character-against-shot range
      {0, 2, 0, 16, 24, 8, 8, {0, 0, 16, 16}},    // shot-against-character range
      {0, 3, 0, 16, 24, 8, 8, {-8, -8, 32, 32}},  // the drawing rectangle
      {0, 9, 0, 16, 24, 8, 8, {0, 0, 0, 0}},      // no such kind: no body box
      {0, 0, 1, 32, 32, 0, 0, {0, 0, 32, 32}},    // a block character
  };
  for (const Case& c : cases) {
    cEdChara def;
    def.m_cGiant = 0;  // read as 1, and stored back as 1
    def.m_cFlying = c.cFlying;
    def.m_cBlockHitRange = c.cRange;
    def.m_cBlockLike = c.cBlock;
    def.m_sGraphic = 17;
    def.m_cMoveMirror = 1;
    def.m_cFaction = 3;
    def.m_nMaxHP = 25;
    def.m_sStopEase = 50;
    cCharaObj chara;
    chara.SetUp(9, def, nullptr, 0, 0, 2);
    EXPECT_EQ(def.m_cGiant, 1);
    EXPECT_EQ(chara.m_nWidth, c.w);
    EXPECT_EQ(chara.m_nHeight, c.h);
    EXPECT_EQ(chara.m_nDrawDX, c.nDX);
    EXPECT_EQ(chara.m_nDrawDY, c.nDY);
    EXPECT_EQ(chara.m_nDrawW, 32);
    const HITBOX& b = chara.m_BodyBox;
    EXPECT_EQ((std::vector<int32_t>{b.nOffX, b.nOffY, b.nWidth, b.nHeight}),
              (std::vector<int32_t>(c.body, c.body + 4)))
        << int(c.cRange) << " " << int(c.cBlock);
    if (!c.cBlock) {
      EXPECT_EQ(chara.m_ShotBox.nOffX, -7);
      EXPECT_EQ(chara.m_ShotBox.nWidth, 30);
    }
    EXPECT_EQ(chara.m_nId, 9);
    EXPECT_EQ(chara.m_nKindValue, 17);
    EXPECT_EQ(chara.m_nFacing, 1);
    EXPECT_EQ(chara.m_nGroup, 3);
    EXPECT_EQ(chara.m_nControl, 1);
    EXPECT_EQ(chara.m_nFlying, c.cFlying);
    EXPECT_EQ(chara.m_sSetupWord, 2);
    EXPECT_EQ(chara.m_nHP, 25);
    EXPECT_EQ(chara.m_nLife, INT_MAX);
    EXPECT_EQ(chara.m_nFalling, 1);
    EXPECT_EQ(chara.m_nWallSide, -1);
    EXPECT_EQ(chara.m_CarriedItem.m_nKindValue, 0);
    EXPECT_DOUBLE_EQ(chara.m_dDecay, 0.5);
    EXPECT_EQ(chara.m_Anim.m_nAnim, c.cFlying ? 2 : 0);
    EXPECT_EQ(chara.m_Anim.m_vecAnims.size(), Database.m_vecAnimeSet[0].m_vecAnime.size());
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Objects, ABlockCharacterCollidesWithItsWholeRectangleAtEveryScale) {
  for (uint8_t cScale : {1, 2, 3}) {
    cEdChara def;
    def.m_cBlockLike = 1;
    def.m_cGiant = cScale;
    cCharaObj& c = Chara(def, 480, 400);
    for (const HITBOX* pBox : {&c.m_BodyBox, &c.m_ShotBox}) {
      EXPECT_EQ(pBox->nOffX, 0);
      EXPECT_EQ(pBox->nOffY, 0);
      EXPECT_EQ(pBox->nWidth, 32 * cScale);
      EXPECT_EQ(pBox->nHeight, 32 * cScale);
      EXPECT_DOUBLE_EQ(pBox->dLeft, c.m_dX);
      EXPECT_DOUBLE_EQ(pBox->dBottom, c.m_dBottom);
    }
  }
}

TEST_F(Objects, ScaleChangesKeepTheCentreAndClampsReportWhereTheObjectStood) {
  cEdChara def;
  def.m_cBlockLike = 1;
  cCharaObj& c = Chara(def, 400, 400);
  c.SetScale(1, 1);
  EXPECT_EQ(c.m_dX, 400);
  EXPECT_EQ(c.m_nWidth, 32);
  c.SetScale(2, 1);
  EXPECT_EQ(c.m_dX, 384);
  EXPECT_EQ(c.m_dY, 368);  // the feet stay
  EXPECT_EQ(c.m_nWidth, 64);
  EXPECT_EQ(c.m_nDrawW, 64);
  EXPECT_EQ(c.m_BodyBox.nWidth, 64);

  struct Case {
    double x;
    int nMode;
    double xAfter;
    int nResult;
  } cases[] = {
      {-3, 2, 0, 3},                              // off the stage's left, even in view
      {1300, 2, 1280 - 64, 3}, {100, 2, 100, 2},  // in the margin
      {400, 2, 400, 0},        {100, 1, 320, 0},  // kept in the active area
      {100, 0, 320, 0},                           // kept in the view's range
  };
  for (const Case& k : cases) {
    c.m_dX = k.x;
    EXPECT_EQ(c.ClampX(k.nMode), k.nResult) << k.x << " mode " << k.nMode;
    EXPECT_EQ(c.m_dX, k.xAfter) << k.x << " mode " << k.nMode;
    EXPECT_EQ(c.m_dRight, c.m_dX + 63);
    EXPECT_EQ(c.m_nColL, static_cast<int32_t>(c.m_dX) >> 5);
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Objects, RemovalTestAtTheStageEdge) {
  cEdChara def;
  cCharaObj& c = Chara(def, 400, 400);
  Scene().m_ScrollX.m_dPos = 640;
  for (auto [x, nOut] : {std::pair{0.0, 1}, {0.5, 0}, {-1.0, 1}}) {
    c.m_dX = x;
    c.m_dRight = x + 15;
    c.m_nOnScreen = 0;
    EXPECT_EQ(c.IsOutOfRange(0), nOut) << x;
    c.m_nOnScreen = 1;
    EXPECT_EQ(c.IsOutOfRange(0), 0) << x;
  }
  // A rule's side flag with a margin of 2 blocks.
  g_Stage.m_aRules[0].m_bLeft = 1;
  g_Stage.m_aRules[0].m_nLeftMargin = 2;
  c.m_nOnScreen = 0;
  c.m_dX = 500;
  c.m_dRight = 576;
  EXPECT_EQ(c.IsOutOfRange(0), 1);
  c.m_dRight = 576.5;
  EXPECT_EQ(c.IsOutOfRange(0), 0);
  EXPECT_EQ(c.IsOutOfRange(7), 0);  // no such rule
}

TEST_F(Objects, AFlyerOnAVerticallyScrollingStageIsDrawnOnePixelLower) {
  MakeStage(20, 40, 1);
  g_Stage.m_nScrollKindY = 1;
  g_Stage.m_nAutoSpeedY = 10;
  Rebuild();
  Scene().m_ScrollY.m_dPos = 400;
  Scene().m_ScrollY.ClampPosition();
  ASSERT_TRUE(Scene().m_ScrollY.IsScrolling());
  cEdChara walk, fly;
  fly.m_cFlying = 2;
  cCharaObj& w = Chara(walk, 400, 500.5);
  cCharaObj& f = Chara(fly, 400, 500.5);
  w.UpdateScreenRect();
  f.UpdateScreenRect();
  EXPECT_EQ(f.m_nScrTop, w.m_nScrTop + 1);
  EXPECT_EQ(w.m_nScrTop, 500 - 8 - 400);
  EXPECT_EQ(w.m_nScrBottom, w.m_nScrTop + 31);
}

TEST_F(Objects, ActivityRangeGroupSignalsAndActivationModes) {
  Scene().m_ScrollX.m_dPos = 320;
  Scene().m_ScrollY.m_dPos = 320;
  auto& flags = Scene().m_GroupFlags;
  struct Case {
    uint8_t cRange, cMode;
    double x, y;
    int nActs;
    int nActsAfterLeaving;
  } cases[] = {
      {0, 0, 400, 400, 1, 0},   {0, 0, 400, 1000, 0, 0},
      {1, 0, 400, 1000, 1, 0},                            // only x looked at
      {1, 0, 1200, 400, 0, 0},  {2, 0, 1200, 400, 1, 0},  // only y looked at
      {3, 0, 1200, 1000, 1, 1},                           // everywhere
      {0, 1, 400, 400, 1, 1},                             // once activated, everywhere
      {0, 2, 400, 400, 1, 0},                             // as mode 0
  };
  for (const Case& k : cases) {
    cEdChara def;
    def.m_cActRange = k.cRange;
    def.m_cActMode = k.cMode;
    def.m_cFlying = 1;  // so falling does not keep it going
    cCharaObj& c = Chara(def, k.x, k.y);
    c.UpdateVisibility(flags);
    EXPECT_EQ(c.UpdateActivation(flags), k.nActs) << int(k.cRange) << " " << int(k.cMode);
    c.m_dX = c.m_dY = 1100;
    c.m_dRight = c.m_dBottom = 1115;
    c.UpdateVisibility(flags);
    EXPECT_EQ(c.UpdateActivation(flags), k.nActsAfterLeaving)
        << int(k.cRange) << " " << int(k.cMode);
  }
  // A group signal raised by one character in range wakes another out of it.
  cEdChara caller, sleeper;
  caller.m_cActGroupUsed = sleeper.m_cActGroupUsed = 1;
  caller.m_sActGroup = sleeper.m_sActGroup = 5;
  cCharaObj& a = Chara(caller, 400, 400);
  cCharaObj& b = Chara(sleeper, 1200, 1000);
  b.m_nFalling = 0;
  b.UpdateVisibility(flags);
  EXPECT_EQ(b.UpdateActivation(flags), 0);
  a.UpdateVisibility(flags);
  EXPECT_EQ(flags[5], 1);
  EXPECT_EQ(b.UpdateActivation(flags), 1);
  // A signal number beyond the table is a fault of the data.
  a.m_Def.m_sActGroup = 600;
  a.UpdateVisibility(flags);
  EXPECT_GT(TakeCloses(), 0);
}

TEST_F(Objects, EveryStepStartsWithTheSpeedsOfTheScroll) {
  MakeStage(60, 15, 1);
  g_Stage.m_nScrollKindX = 1;
  g_Stage.m_nAutoSpeedX = 10;
  Rebuild();
  Scene().m_ScrollX.m_dPos = 400;
  Scene().m_ScrollX.ClampPosition();
  struct Case {
    uint8_t cFlying, cSync;
    double vx, vy;  // at the start of the step, from 5 and 7
  } cases[] = {{0, 0, 0, 7}, {1, 0, 0, 0}, {0, 1, 1, 7}, {1, 1, 1, 0}};
  for (const Case& k : cases) {
    cEdChara def;
    def.m_cFlying = k.cFlying;
    def.m_cScrollSync = k.cSync;
    cCharaObj& c = Chara(def, 400, 400);
    c.m_dVX = 5;
    c.m_dVY = 7;
    c.m_nCrushGrace = 2;
    c.m_Anim.Set(1, 1);
    EXPECT_EQ(c.RunFlows(0), 0);
    EXPECT_EQ(c.m_dVX, k.vx);
    EXPECT_EQ(c.m_dVY, k.vy);
    EXPECT_EQ(c.m_nCrushGrace, 1);
    // Nothing moved it: its standing pose.
    EXPECT_EQ(c.m_Anim.m_nAnim, k.cFlying ? 2 : 0);
  }
  // At the end of the scroll the synchronised character gets no speed.
  Scene().m_ScrollX.m_dPos = 1e9;
  Scene().m_ScrollX.ClampPosition();
  cEdChara def;
  def.m_cScrollSync = 1;
  cCharaObj& c = Chara(def, 400, 400);
  c.RunFlows(0);
  EXPECT_EQ(c.m_dVX, 0);
  c.m_nHP = 0;
  EXPECT_EQ(c.RunFlows(0), 1);
}

TEST_F(Objects, PlayerSetUpSizesAndOverlays) {
  g_Stage.m_nShowPlayerSize = 1;
  g_Stage.m_nColourPlayerBody = 3;
  g_Stage.m_nPlayerPickW = 40;
  g_Stage.m_nPlayerPickH = 40;
  cEdChara def;
  def.m_cOperator = 0;
  def.m_cMoveMirror = 1;
  def.m_cGiant = 0;
  cPlayerObj& p = g_Players[0];
  p.m_nId = 0;
  p.SetUp(def, 400, 400, 0);
  EXPECT_EQ(def.m_cGiant, 1);
  EXPECT_EQ(p.m_nWidth, 16);
  EXPECT_EQ(p.m_nHeight, 24);
  EXPECT_EQ(p.m_nDrawDX, 8);
  EXPECT_EQ(p.m_nDrawDY, 8);
  EXPECT_EQ(p.m_BodyBox.nOffY, 0);
  EXPECT_EQ(p.m_ShotBox.nOffX, 16 - 6 - 8);
  EXPECT_EQ(p.m_PickBox.nWidth, 40);
  EXPECT_EQ(p.m_pInput, &g_Input[0]);
  EXPECT_EQ(p.m_nFacing, 1);
  EXPECT_EQ(p.m_nJumpReady, 1);
  EXPECT_DOUBLE_EQ(p.m_dTileAccelBase, 4.0);
  ASSERT_EQ(p.m_vecHitAreas.size(), 4u);
  EXPECT_EQ(p.m_vecHitAreas[0].nKind, 2);  // the largest first
  EXPECT_EQ(p.m_vecHitAreas[1].nKind, 0);
  EXPECT_EQ(p.m_vecHitAreas[1].nMode, 1);
  EXPECT_EQ(p.m_vecHitAreas[2].nColour, 208 + 12);
  EXPECT_EQ(p.m_vecHitAreas[3].nKind, 3);

  // Taking off: the flying sizes, no squeeze for two steps; landing again
  // stops every speed.
  p.RecalcSize(2, 0);
  EXPECT_EQ(p.m_nFlying, 1);
  EXPECT_EQ(p.m_nHeight, 16);
  EXPECT_EQ(p.m_nCrushGrace, 2);
  p.m_nCrushGrace = 0;
  p.m_dVX = p.m_dVY = p.m_dPushVX = p.m_dPushVY = 3;
  p.RecalcSize(2, 0);
  EXPECT_EQ(p.m_nCrushGrace, 0);
  p.RecalcSize(0, 0);
  EXPECT_EQ(p.m_nCrushGrace, 2);
  EXPECT_EQ(p.m_dVX + p.m_dVY + p.m_dPushVX + p.m_dPushVY, 0);
  // A giant player.
  p.m_Def.m_cGiant = 2;
  p.RecalcSize(0, 1);
  EXPECT_EQ(p.m_nWidth, 32);
  EXPECT_EQ(p.m_BodyBox.nHeight, 48);
  EXPECT_EQ(p.m_BodyBox.nBaseHeight, 24);
}

TEST_F(Objects, PlayerFollowedByTheCameraAndFallingOutOfTheStage) {
  MakeStage(100, 15, 1);
  cEdChara def;
  def.m_cOperator = 0;
  cPlayerObj& p = g_Players[0];
  p.SetUp(def, 0, 0, 0);
  p.SetCell(40, 5);
  EXPECT_DOUBLE_EQ(p.m_dX, 50 * 32 + 8.5);
  EXPECT_DOUBLE_EQ(Scene().m_ScrollX.m_dPos, p.m_dX - (320 - 8));
  // Below the stage: a walker falls out, a flyer does not.
  p.m_dVY = 6;
  p.m_dY = (15 + 10) * 32 - 20;
  EXPECT_EQ(p.MoveY(), 7);
  p.RecalcSize(2, 0);
  p.m_dVY = 6;
  p.m_dY = (15 + 10) * 32 - 20;
  EXPECT_NE(p.MoveY(), 7);
}

TEST_F(Objects, PlayerJumpStartsOnceWithinTheFrameAndComputerJumpGivesUpAfterFourFrames) {
  g_Stage.m_vecBlocks.clear();
  for (int16_t c = 0; c < 20; ++c) PlaceBlock(c, 4, 1);
  Rebuild();
  cEdChara def;
  def.m_cOperator = 0;
  cPlayerObj& p = g_Players[0];
  p.SetUp(def, 0, 0, 0);
  p.SetCell(5, 3);
  p.m_nFalling = 0;
  p.m_pFootCell = Cell(5, 4);
  cFlowCmd cmd;
  cmd.m_vecParams.assign(5, 0);  // kind 0: the height cannot be held
  cCmdState jump;
  jump.m_pCmd = &cmd;
  jump.m_nDuration = 20;
  jump.m_dSpeed = -5;
  p.m_nJumpChecked = 0;
  p.Jump(jump, nullptr);
  EXPECT_EQ(p.m_dVY, -5);
  EXPECT_EQ(p.m_nJumping, 1);
  EXPECT_EQ(jump.m_nJumpDone, 1);
  p.m_dVY = 0;
  p.Jump(jump, nullptr);  // handled once per step
  EXPECT_EQ(p.m_dVY, 0);

  cEdChara cdef;
  cCharaObj& c = Chara(cdef, 400, 400);
  ASSERT_EQ(c.m_nFalling, 1);
  cCmdState cjump;
  cjump.m_nRemain = 10;
  cjump.m_dSpeed = -4;
  for (cjump.m_nCount = 0; cjump.m_nCount < 4; ++cjump.m_nCount) {
    c.Jump(cjump, nullptr);
    EXPECT_EQ(cjump.m_nStarted, 0);
  }
  c.Jump(cjump, nullptr);
  EXPECT_EQ(cjump.m_nStarted, 1);
  EXPECT_EQ(cjump.m_nRemain, 0);
  EXPECT_EQ(c.m_dVY, 0);
}

TEST_F(Objects, ItemsHeldOrLyingOnACell) {
  cEdItem def;
  def.m_cGiant = 2;
  def.m_sGraphic = 12;
  cItemObj held;
  held.SetUp(3, def, 1);
  EXPECT_EQ(held.m_nActive, 1);
  EXPECT_EQ(held.m_nWidth, 28);
  EXPECT_EQ(held.m_nKindValue, 12);
  EXPECT_EQ(held.m_nFlying, 1);
  EXPECT_EQ(held.m_Anim.m_vecAnims.size(), 1u);

  cItemObj& lying = g_ItemList.emplace_back();
  lying.SetUp(4, def, 0);
  EXPECT_EQ(lying.m_nActive, 0);
  lying.SetCell(1, 1);
  EXPECT_EQ(lying.m_nWidth, 56);
  EXPECT_EQ(lying.m_nDrawW, 64);
  EXPECT_DOUBLE_EQ(lying.m_dX, 11 * 32 + 2 + 0.5 - 14);
  EXPECT_DOUBLE_EQ(lying.m_dY, 11 * 32 + 2 - 30);
  EXPECT_DOUBLE_EQ(lying.m_dBottom, lying.m_dY + 55);
  def.m_cGiant = 0;
  cItemObj zero;
  zero.SetUp(5, def, 0);
  EXPECT_EQ(zero.m_Def.m_cGiant, 1);
  EXPECT_EQ(zero.m_nWidth, 28);
}

TEST_F(Objects, ReferencesAreReleasedWithTheCharacterThatHoldsThem) {
  cEdChara def;
  cPlayerObj& p = g_Players[0];
  cCharaObj& parent = Chara(def, 400, 400);
  cCharaObj& child = Chara(def, 500, 400);
  parent.SetParent(nullptr);
  child.SetParent(&parent);
  child.SetParent(&parent);  // once only
  EXPECT_EQ(child.m_vecTargets[0], &p);
  EXPECT_EQ(child.m_pParent, &parent);
  ASSERT_EQ(parent.m_vecRefBy.size(), 1u);
  EXPECT_EQ(p.m_vecRefBy.size(), 2u);

  // A copy's run states point at its own flows.
  def.m_vecFlows.resize(2);
  cCharaObj& withFlows = Chara(def, 600, 400);
  cCharaObj copy(withFlows);
  ASSERT_EQ(copy.m_vecFlowStates.size(), 2u);
  EXPECT_EQ(copy.m_vecFlowStates[1].m_pFlow, &copy.m_Def.m_vecFlows[1]);
  copy.m_nIsTrialCopy = 1;

  // The parent goes: the child no longer points at it.
  g_CharaList.pop_front();
  EXPECT_EQ(child.m_pParent, nullptr);
  EXPECT_EQ(p.m_vecRefBy.size(), 1u);
  // The child goes: the player forgets it.
  g_CharaList.pop_front();
  EXPECT_EQ(p.m_vecRefBy.size(), 0u);
}

TEST_F(Objects, MissingDefinitionsAreReportedNotFollowed) {
  cEdChara def;
  def.m_sAnimeSet = 999;
  cCharaObj& c = Chara(def, 400, 400);
  EXPECT_GT(TakeCloses(), 0);
  // It plays on with the first animation set.
  EXPECT_EQ(c.m_Anim.m_vecAnims.size(), Database.m_vecAnimeSet[0].m_vecAnime.size());
  c.SetAnimSet(-1, 1);
  EXPECT_GT(TakeCloses(), 0);
  for (int i = 0; i < 100; ++i) c.m_Anim.Tick();
}

TEST_F(Objects, TouchItemsAreRememberedUntilLeft) {
  cPlayerObj& p = g_Players[0];
  EXPECT_EQ(p.IsNewTouch(4), 1);
  p.m_lstTouching.push_back(4);
  p.m_lstTouching.push_back(4);
  EXPECT_EQ(p.IsNewTouch(4), 0);
  p.ForgetTouch(4);
  EXPECT_EQ(p.IsNewTouch(4), 1);
}

// Commands of a loop body, by their sound setting as a label.
CMD_VECTOR Cmds(std::initializer_list<int> labels) {
  CMD_VECTOR v;
  for (int n : labels) {
    cFlowCmd cmd;
    cmd.m_sSound = static_cast<int16_t>(n);
    v.push_back(cmd);
  }
  return v;
}

cFlowCmd Loop(int32_t nRepeat, int32_t nBlock) {
  cFlowCmd cmd;
  cmd.m_cKind = CMD_LOOP;
  cmd.m_vecParams = {nRepeat, nBlock};
  return cmd;
}

std::vector<int> Labels(const CMD_VECTOR& v) {
  std::vector<int> out;
  for (const cFlowCmd& c : v) out.push_back(c.m_sSound);
  return out;
}

TEST(ExpandLoopCmds, LoopsRepeatTheBlockAfterThem) {
  struct Case {
    int32_t n, b;
    std::vector<int> out;
  } cases[] = {{3, 2, {1, 2, 1, 2, 1, 2, 3}},
               {3, 5, {1, 2, 3, 1, 2, 3, 1, 2, 3}},
               {1, 2, {1, 2, 3}},
               {0, 2, {1, 2, 3}},
               {-5, 2, {1, 2, 3}},
               {4, 0, {1, 2, 3}}};
  for (const Case& c : cases) {
    CMD_VECTOR v = Cmds({1, 2, 3});
    v.insert(v.begin(), Loop(c.n, c.b));
    ExpandLoopCmds(v);
    EXPECT_EQ(Labels(v), c.out) << c.n << " x " << c.b;
  }
  // Nested: [loop(2,3), loop(2,1), X, Y] gives X X Y X X Y.
  CMD_VECTOR v = Cmds({7, 8});
  v.insert(v.begin(), Loop(2, 1));
  v.insert(v.begin(), Loop(2, 3));
  ExpandLoopCmds(v);
  EXPECT_EQ(Labels(v), (std::vector<int>{7, 7, 8, 7, 7, 8}));
}

TEST(ExpandLoopCmds, AHugeRepeatCountIsCutShortNotAllocated) {
  CMD_VECTOR v = Cmds({1, 2});
  v.insert(v.begin(), Loop(INT_MAX, 2));
  ExpandLoopCmds(v);
  EXPECT_LE(v.size(), kMaxUnrolledCmds);
  EXPECT_GT(v.size(), kMaxUnrolledCmds - 3);
  // Nested loops multiply; the bound holds for the whole list.
  CMD_VECTOR w = Cmds({1});
  for (int i = 0; i < 10; ++i) w.insert(w.begin(), Loop(1000, 1 + i));
  ExpandLoopCmds(w);
  EXPECT_LE(w.size(), kMaxUnrolledCmds);
  // A loop whose block is the next loop makes that loop again and again:
  // the unrolling gives up and leaves the rest once.
  CMD_VECTOR x = Cmds({9});
  for (int i = 0; i < 3; ++i) x.insert(x.begin(), Loop(2, 1));
  ExpandLoopCmds(x);
  EXPECT_EQ(Labels(x), std::vector<int>{9});
}

}  // namespace
