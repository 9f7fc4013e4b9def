// Character physics: gravity and the speed limit per update step, jump
// speeds from heights, the steps to a jump's top, trajectories that reach
// their height, knock-back, and HP and SP.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "base/trunc_int.h"
#include "stage_fixture.h"

namespace {

TEST(TruncI32, TowardZeroAndIntMinForWhatDoesNotFit) {
  const double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    double d;
    int32_t n;
  } cases[] = {{1.9, 1},
               {-1.9, -1},
               {-0.5, 0},
               {2147483647.9, INT_MAX},
               {-2147483648.9, INT_MIN},
               {2147483648.0, INT_MIN},
               {-2147483649.0, INT_MIN},
               {kInf, INT_MIN},
               {-kInf, INT_MIN},
               {std::nan(""), INT_MIN},
               {1e300, INT_MIN}};
  for (const Case& c : cases) EXPECT_EQ(TruncI32(c.d), c.n) << c.d;
}

class Physics : public cStageFixture {
 protected:
  // A computer's (or a player's) walker standing on a row of solid cells.
  cCharaObj& Walker(int32_t nControl) {
    g_Stage.m_vecBlocks.clear();
    for (int16_t c = 0; c < 20; ++c) PlaceBlock(c, 4, 1);
    Rebuild();
    cCharaObj& o = g_CharaList.emplace_back();
    o.m_Def.m_cGiant = 1;
    o.m_nControl = nControl;
    o.SetFlightKind(FLIGHT_OFF);
    o.m_nWidth = o.m_nBaseWidth = 16;
    o.m_nHeight = o.m_nBaseHeight = 24;
    o.m_dX = 480;
    o.m_dY = 448 - 24;  // feet at the top of stage row 4
    o.ClampX(2);
    o.ClampY(2);
    return o;
  }
};

// Stage gravity 0.4, a jump of 32 pixels.
struct JUMPROW {
  int32_t n;
  double g;
  double v;        // the computer's start speed
  double vPlayer;  // the player's: x (0.99 - 0.025 G)
  int32_t nApex;   // trunc(n - v / g)
};
const JUMPROW kJumps[] = {
    {1, 0.4, -5.263595560468866, -5.158323649259488, 14},
    {2, 0.1, -2.580316185775999, -2.5287098620604787, 27},
    {3, 0.044444444444444446, -1.7089167030351933, -1.6747383689744895, 41},
    {4, 0.025, -1.277472825795084, -1.2519233692791822, 55},
    {5, 0.016, -1.0199604735363927, -0.9995612640656649, 68},
    {6, 0.011111111111111112, -0.8488478982864984, -0.8318709403207685, 82},
    {7, 0.00816326530612245, -0.7268994792208887, -0.712361489636471, 96},
    {8, 0.00625, -0.6355882523909987, -0.6228764873431787, 109},
    {9, 0.0049382716049382715, -0.5646572532041627, -0.5533641081400794, 123},
    {10, 0.004, -0.5079683784585752, -0.4978090108894037, 136},
};

TEST_F(Physics, JumpSpeedsAndTheStepsToTheTopForOneToTenStepsPerFrame) {
  for (const JUMPROW& row : kJumps) {
    MakeStage(20, 15, row.n);
    EXPECT_DOUBLE_EQ(g_Stage.m_dStepGravity, row.g) << row.n;
    EXPECT_DOUBLE_EQ(g_Stage.m_dStepSpeedLimit, 6.0) << row.n;
    cCharaObj& o = g_CharaList.emplace_back();
    o.m_nControl = 1;
    EXPECT_DOUBLE_EQ(o.JumpSpeedFromHeight(32), row.v) << row.n;
    EXPECT_DOUBLE_EQ(o.JumpSpeedFromHbl(2), row.v) << row.n;
    EXPECT_EQ(o.StepsToApex(row.v), row.nApex) << row.n;
    o.m_nControl = 0;
    EXPECT_DOUBLE_EQ(o.JumpSpeedFromHeight(32), row.vPlayer) << row.n;
    g_CharaList.clear();
  }
  // Gravity 2 at one step per frame: the player's 64-pixel jump is 0.94 of
  // the computer's.
  MakeStage(20, 15, 1);
  g_Stage.m_dGravity = 2;
  g_Stage.SetHitLevel(1);
  cCharaObj& o = g_CharaList.emplace_back();
  o.m_nControl = 1;
  EXPECT_DOUBLE_EQ(o.JumpSpeedFromHeight(64), -17.0312195418814);
  o.m_nControl = 0;
  EXPECT_DOUBLE_EQ(o.JumpSpeedFromHeight(64), -16.009346369368515);
}

TEST_F(Physics, AJumpRisesToItsHeightAndLandsBackOnTheCellBoundary) {
  for (const JUMPROW& row : kJumps) {
    MakeStage(20, 15, row.n);
    cCharaObj& o = Walker(1);
    const double dStartY = o.m_dY;
    o.m_dVY = o.JumpSpeedFromHeight(32);
    double dTop = dStartY;
    int32_t nSteps = 0, nRising = 0;
    do {
      o.ClearBlockContacts();
      o.ApplyGravity();
      o.MoveY();
      if (o.m_dVY < 0) ++nRising;
      dTop = std::min(dTop, o.m_dY);
      Scene().TestBlocksY(o);
      ++nSteps;
    } while (!o.m_nTouchB && nSteps < 100000);
    // The discrete rise reaches the height and overshoots by at most g / 8.
    EXPECT_GE(dStartY - dTop, 32.0 - 1e-9) << row.n;
    EXPECT_LE(dStartY - dTop, 32.0 + row.g / 8 + 1e-9) << row.n;
    // It rises for as many steps as the speed takes to turn, n fewer than
    // the steps to the top the jump-key hold counts.
    EXPECT_EQ(nRising, row.nApex - row.n) << row.n;
    EXPECT_EQ(TruncI32(o.m_dBottom), 447) << row.n;
    EXPECT_EQ(o.m_dVY, 0) << row.n;
    g_CharaList.clear();
  }
}

TEST_F(Physics, BadHeightsAndNoGravityGiveNumbersNotNaN) {
  MakeStage(20, 15, 2);
  cCharaObj& o = g_CharaList.emplace_back();
  o.m_nControl = 1;
  // A negative height (a spring byte above 127) jumps as from height 0.
  EXPECT_DOUBLE_EQ(o.JumpSpeedFromHbl(static_cast<int8_t>(200)), -0.1 / 2);
  EXPECT_DOUBLE_EQ(o.JumpSpeedFromHeight(-1e9), -0.05);
  for (double G : {0.0, -0.4}) {
    g_Stage.m_dGravity = G;
    g_Stage.SetHitLevel(2);
    const double v = o.JumpSpeedFromHeight(64);
    EXPECT_FALSE(std::isnan(v)) << G;
    EXPECT_EQ(o.StepsToApex(v), INT_MIN) << G;
    EXPECT_EQ(o.StepsToApex(-3), INT_MIN) << G;
  }
}

TEST_F(Physics, GravityIsAddedOnlyToAFreeWalker) {
  struct Case {
    int32_t nFlight, nRiding, nHeld;
    double dKnockY;
    double dVY;
  } cases[] = {{0, 0, 0, 0, 0.4}, {0, 0, 0, 1, 0.4}, {1, 0, 0, 0, 0},
               {0, 1, 0, 0, 0},   {0, 0, 1, 0, 0},   {0, 0, 0, -1, 0}};
  for (const Case& c : cases) {
    cCharaObj o;
    o.SetFlightKind(c.nFlight);
    o.m_nRiding = c.nRiding;
    o.m_nHeld = c.nHeld;
    o.m_dKnockY = c.dKnockY;
    o.ApplyGravity();
    EXPECT_DOUBLE_EQ(o.m_dVY, c.dVY);
  }
}

TEST_F(Physics, SpeedsAreCutToTheStepLimitBeforeMoving) {
  struct Case {
    int32_t nLevel;
    double dLimit;
  } cases[] = {{1, 6}, {3, 6}, {10, 6}, {11, 60}, {15, 12}, {19, 60.0 / 9}};
  for (const Case& c : cases) {
    MakeStage(60, 15, c.nLevel);
    cCharaObj& o = g_CharaList.emplace_back();
    o.m_nWidth = o.m_nBaseWidth = 16;
    o.m_nHeight = o.m_nBaseHeight = 24;
    o.m_dX = 800;
    o.m_dY = 400;
    o.m_dVX = 100;
    o.MoveX();
    EXPECT_DOUBLE_EQ(o.m_dX, 800 + c.dLimit) << c.nLevel;
    o.m_dVY = -100;
    o.MoveY();
    EXPECT_DOUBLE_EQ(o.m_dY, 400 - c.dLimit) << c.nLevel;
    g_CharaList.clear();
  }
}

TEST_F(Physics, ImpactsAgainstResistance) {
  MakeStage(20, 15, 1);
  struct Case {
    int8_t cImpact;
    uint8_t cResist;
    int8_t cActsAs;  // 0: the knock speeds stay as they were
  } cases[] = {{5, 8, 0}, {30, 0, 20}, {-30, 0, -20}, {12, 2, 10}, {-12, 2, -10}, {-5, 8, 0}};
  for (const Case& c : cases) {
    cCharaObj o;
    o.m_Def.m_cImpactResist = c.cResist;
    o.m_dKnockX = 1.5;
    o.m_dKnockY = -2;
    o.m_dPushVX = -3;  // opposes the knock-back: cleared
    o.m_dPushVY = -1;  // along it: kept
    o.ApplyImpact(c.cImpact, 1, -1);
    double dX = 1.5, dY = -2;
    if (c.cActsAs != 0) CalcLaunchSpeed(1, -1, c.cActsAs, dX, dY);
    EXPECT_DOUBLE_EQ(o.m_dKnockX, dX) << int(c.cImpact);
    EXPECT_DOUBLE_EQ(o.m_dKnockY, dY) << int(c.cImpact);
    EXPECT_EQ(o.m_dPushVX, dX > 1e-08 ? 0 : -3) << int(c.cImpact);
    EXPECT_EQ(o.m_dPushVY, dY < -1e-08 ? -1 : 0) << int(c.cImpact);
    EXPECT_EQ(o.m_nKnocked, 1);
  }
  cCharaObj o;
  o.ApplyImpact(0, 1, 1);
  EXPECT_EQ(o.m_nKnocked, 0);
}

TEST_F(Physics, KnockBackDecaysByOneNthPerStep) {
  MakeStage(20, 15, 4);
  cCharaObj o;
  o.m_dKnockX = 0.6;
  o.m_dKnockY = -0.3;
  o.DecayKnockX();
  o.DecayKnockY();
  EXPECT_DOUBLE_EQ(o.m_dKnockX, 0.35);
  EXPECT_DOUBLE_EQ(o.m_dKnockY, -0.05);
  o.DecayKnockX();
  o.DecayKnockY();
  EXPECT_DOUBLE_EQ(o.m_dKnockX, 0.1);
  EXPECT_EQ(o.m_dKnockY, 0);
  o.DecayKnockX();
  EXPECT_EQ(o.m_dKnockX, 0);
}

TEST_F(Physics, HpAndSpChanges) {
  cCharaObj o;
  o.m_Def.m_nMaxHP = 100;
  o.m_nHP = 90;
  EXPECT_EQ(o.ChangeHP(50, 0, 1), 0);  // a heal fills exactly to the maximum
  EXPECT_EQ(o.m_nHP, 100);
  EXPECT_EQ(o.m_HpGauge.nFrames, 120);
  EXPECT_EQ(o.m_HpGauge.nValue, 50);
  EXPECT_DOUBLE_EQ(o.m_HpGauge.dStep, 5.0);
  o.m_HpGauge = GAUGE{};
  EXPECT_EQ(o.ChangeHP(0, 0, 1), 0);  // no damage, no gauge
  EXPECT_EQ(o.m_HpGauge.nFrames, 0);
  EXPECT_EQ(o.ChangeHP(-30, 0, 1), 0);
  EXPECT_EQ(o.m_nHP, 70);
  EXPECT_EQ(o.m_HpGauge.nValue, 35);
  EXPECT_DOUBLE_EQ(o.m_HpGauge.dStepPerFrame, -15.0 / 60);
  EXPECT_EQ(o.ChangeHP(-500, 0, 1), 1);
  EXPECT_EQ(o.m_nHP, 0);

  o.m_Def.m_cInvincible = 1;
  o.m_nHP = 50;
  EXPECT_EQ(o.ChangeHP(0, 0, 1), 0);  // refused
  EXPECT_EQ(o.ChangeHP(-80, 0, 1), 0);
  EXPECT_EQ(o.m_nHP, 50);
  EXPECT_EQ(o.ChangeHP(-80, 1, 0), 1);  // forced

  o.m_Def.m_nMaxSP = 0;
  o.ChangeSP(20, 1);
  EXPECT_EQ(o.m_nSP, 0);
  EXPECT_EQ(o.m_SpGauge.nFrames, 0);
  o.m_Def.m_nMaxSP = 40;
  o.ChangeSP(25, 1);
  o.ChangeSP(25, 1);
  EXPECT_EQ(o.m_nSP, 40);
  EXPECT_DOUBLE_EQ(o.m_SpGauge.dStep, 15 * 50.0 / 40);

  // A maximum of 0 or less gives no gauge to divide by.
  o.m_HpGauge = GAUGE{};
  o.m_Def.m_nMaxHP = 0;
  o.StartHpGauge(10);
  EXPECT_EQ(o.m_HpGauge.nFrames, 0);
}

TEST_F(Physics, LandingAndCeilingResponses) {
  cCharaObj& o = Walker(1);
  o.m_nJumping = o.m_nJumpCut = o.m_nKnocked = o.m_nJumpBlocked = o.m_nFalling = 1;
  o.m_nNoFloorSteps = 7;
  o.m_dVY = 3;
  o.m_dPushVY = 1;
  o.m_dY = 425.6;  // bottom 448.6 in the floor row
  o.ClampY(2);
  o.LandOnBlock();
  EXPECT_DOUBLE_EQ(o.m_dY, 424.6);
  EXPECT_EQ(o.m_nJumping + o.m_nJumpCut + o.m_nKnocked + o.m_nJumpBlocked + o.m_nFalling, 0);
  EXPECT_EQ(o.m_nNoFloorSteps, 0);
  EXPECT_EQ(o.m_nTouchB, 1);
  // A player's character keeps its jump block on landing.
  o.m_nControl = 0;
  o.m_nJumpBlocked = 1;
  o.LandOnBlock();
  EXPECT_EQ(o.m_nJumpBlocked, 1);

  for (int bCompat781 : {0, 1}) {
    g_SystemData.m_bCompat781 = bCompat781;
    o.m_dY = 335.5;
    o.m_dKnockY = -2;
    o.m_dVY = -4;
    o.HitCeiling();
    EXPECT_DOUBLE_EQ(o.m_dY, 352.5);
    EXPECT_EQ(o.m_dVY, 0);
    EXPECT_EQ(o.m_dKnockY, bCompat781 ? -2 : 0);
    EXPECT_EQ(o.m_nJumpBlocked + o.m_nJumpCut + o.m_nJumping + o.m_nTouchT, 4);
  }
}

}  // namespace
