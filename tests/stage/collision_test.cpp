// A character's rectangle against the block grid, row by row: the object,
// the blocks around it and the test run give its position, its contact
// words, the cell under its feet and the test's result.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "stage_fixture.h"

namespace {

struct OBJSPEC {
  double x, y;
  int32_t w, h;  // at scale 1
  int32_t nScale;
  int32_t nControl;  // 0 a player's, 1 the computer's
  int32_t nFlight;
  double vx, vy;
  int32_t nGroup;
};

struct BLK {
  int16_t c, r;
  uint8_t cHit;
  uint8_t cExempt;
};

enum eTest { T_X, T_Y, T_FLOOR, T_CEILING, T_FLOOR_CEILING };

struct ROW {
  const char* szName;
  OBJSPEC obj;
  std::vector<BLK> blocks;
  eTest nTest;
  int bCompat677;
  double x, y;
  int L, R, T, B;
  bool bFoot;  // a cell under the feet
  int16_t footC, footR;
  int nResult;
};

class Collision : public cStageFixture {
 protected:
  cCharaObj& MakeObj(const OBJSPEC& s) {
    cCharaObj& o = g_CharaList.emplace_back();
    o.m_nId = static_cast<int32_t>(g_CharaList.size());
    o.m_Def.m_cGiant = static_cast<uint8_t>(s.nScale);
    o.m_nBaseWidth = s.w;
    o.m_nBaseHeight = s.h;
    o.m_nWidth = s.w * s.nScale;
    o.m_nHeight = s.h * s.nScale;
    o.m_dX = s.x;
    o.m_dY = s.y;
    o.m_dRight = s.x + o.m_nWidth - 1;
    o.m_dBottom = s.y + o.m_nHeight - 1;
    o.UpdateEdgeCols();
    o.UpdateEdgeRows();
    o.m_nControl = s.nControl;
    o.SetFlightKind(s.nFlight);
    o.m_dVX = s.vx;
    o.m_dVY = s.vy;
    o.m_nGroup = s.nGroup;
    return o;
  }

  void Blocks(const std::vector<BLK>& blocks) {
    g_Stage.m_vecBlocks.clear();
    for (const BLK& b : blocks) PlaceBlock(b.c, b.r, b.cHit).m_cExempt = b.cExempt;
    Rebuild();
  }

  int RunTest(eTest nTest, cCharaObj& o) {
    switch (nTest) {
      case T_X:
        return Scene().TestBlocksX(o);
      case T_Y:
        return Scene().TestBlocksY(o);
      case T_FLOOR:
        return Scene().TestFloor(o);
      case T_CEILING:
        return Scene().TestCeiling(o);
      case T_FLOOR_CEILING:
        return Scene().TestFloorAndCeiling(o);
    }
    return -1;
  }
};

constexpr uint8_t NX = 255;  // exempts no group

TEST_F(Collision, Rows) {
  const ROW rows[] = {
      // Walls move to the next cell boundary, the fraction kept.
      {"left wall",
       {40.7, 352, 16, 24, 1, 1, 0, -1, 0, 1},
       {{-9, 1, 1, NX}},
       T_X,
       0,
       64.7,
       352,
       1,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"right wall",
       {80.2, 352, 16, 24, 1, 1, 0, 1, 0, 1},
       {{-8, 1, 1, NX}},
       T_X,
       0,
       48.2,
       352,
       0,
       1,
       0,
       0,
       false,
       0,
       0,
       0},
      {"deadly wall, computer",
       {40.7, 352, 16, 24, 1, 1, 0, -1, 0, 1},
       {{-9, 1, 2, NX}},
       T_X,
       0,
       64.7,
       352,
       1,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"deadly wall, player",
       {40.7, 352, 16, 24, 1, 0, 0, -1, 0, 1},
       {{-9, 1, 2, NX}},
       T_X,
       0,
       40.7,
       352,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       2},
      {"exempt group passes",
       {40.7, 352, 16, 24, 1, 1, 0, -1, 0, 1},
       {{-9, 1, 1, 1}},
       T_X,
       0,
       40.7,
       352,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"exempt of another group",
       {40.7, 352, 16, 24, 1, 1, 0, -1, 0, 2},
       {{-9, 1, 1, 1}},
       T_X,
       0,
       64.7,
       352,
       1,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      // Flying: through blocks, stopped (right wall first), killed.
      {"flies through",
       {40.7, 352, 16, 24, 1, 1, 1, -1, 0, 1},
       {{-9, 1, 1, NX}},
       T_X,
       0,
       40.7,
       352,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"flies, stopped",
       {40.7, 352, 16, 24, 1, 1, 2, -1, 0, 1},
       {{-9, 1, 1, NX}},
       T_X,
       0,
       16.7,
       352,
       0,
       1,
       0,
       0,
       false,
       0,
       0,
       0},
      {"flies, dies on blocks",
       {40.7, 352, 16, 24, 1, 1, 3, -1, 0, 1},
       {{-9, 1, 1, NX}},
       T_X,
       0,
       40.7,
       352,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       2},
      // A giant's side is sampled every base height - 1 from its top.
      {"scale 3 finds its lowest sample",
       {376, 352, 16, 30, 3, 1, 0, -1, 0, 1},
       {{1, 3, 1, NX}},
       T_X,
       0,
       384,
       352,
       1,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"a tall base skips the middle row",
       {376, 352, 16, 70, 1, 1, 0, -1, 0, 1},
       {{1, 2, 1, NX}},
       T_X,
       0,
       376,
       352,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      // Landing: the feet go to the cell boundary.
      {"landing",
       {352, 77.4, 16, 24, 1, 1, 0, 0, 1, 1},
       {{1, -7, 1, NX}},
       T_Y,
       0,
       352,
       72.4,
       0,
       0,
       0,
       1,
       true,
       1,
       -7,
       0},
      {"ceiling",
       {352, 70.3, 16, 24, 1, 1, 0, 0, -3, 1},
       {{1, -8, 1, NX}},
       T_Y,
       0,
       352,
       96.3,
       0,
       0,
       1,
       0,
       false,
       0,
       0,
       0},
      {"deadly ceiling, player",
       {352, 70.3, 16, 24, 1, 0, 0, 0, -3, 1},
       {{1, -8, 2, NX}},
       T_Y,
       0,
       352,
       70.3,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       2},
      // Of the feet's cells the strongest wins: a deadly cell between solids.
      {"deadly between solids, computer",
       {352, 400, 48, 24, 2, 1, 0, 0, 1, 1},
       {{1, 3, 1, NX}, {2, 3, 2, NX}, {3, 3, 1, NX}},
       T_Y,
       0,
       352,
       368,
       0,
       0,
       0,
       1,
       true,
       2,
       3,
       0},
      {"deadly between solids, player",
       {352, 400, 48, 24, 2, 0, 0, 0, 1, 1},
       {{1, 3, 1, NX}, {2, 3, 2, NX}, {3, 3, 1, NX}},
       T_Y,
       0,
       352,
       400,
       0,
       0,
       0,
       0,
       true,
       2,
       3,
       2},
      // Of equal cells the one nearest the middle of the feet; the player
      // samples its middle too.
      {"equal cells, computer",
       {376, 417, 16, 24, 1, 1, 0, 0, 1, 1},
       {{1, 3, 1, NX}, {2, 3, 1, NX}},
       T_Y,
       0,
       376,
       392,
       0,
       0,
       0,
       1,
       true,
       1,
       3,
       0},
      {"equal cells, player",
       {376, 417, 16, 24, 1, 0, 0, 0, 1, 1},
       {{1, 3, 1, NX}, {2, 3, 1, NX}},
       T_Y,
       0,
       376,
       392,
       0,
       0,
       0,
       1,
       true,
       2,
       3,
       0},
      // A walker moving up does not land unless the old rule is on.
      {"rising walker passes",
       {352, 77.4, 16, 24, 1, 1, 0, 0, -1, 1},
       {{1, -7, 1, NX}},
       T_FLOOR,
       0,
       352,
       77.4,
       0,
       0,
       0,
       0,
       true,
       1,
       -7,
       0},
      {"rising walker lands (old rule)",
       {352, 77.4, 16, 24, 1, 1, 0, 0, -1, 1},
       {{1, -7, 1, NX}},
       T_FLOOR,
       1,
       352,
       72.4,
       0,
       0,
       0,
       1,
       true,
       1,
       -7,
       0},
      {"rising walker stops the combined test",
       {352, 77.4, 16, 24, 1, 1, 0, 0, -1, 1},
       {{1, -7, 1, NX}, {1, -8, 1, NX}},
       T_FLOOR_CEILING,
       0,
       352,
       77.4,
       0,
       0,
       0,
       0,
       false,
       0,
       0,
       0},
      {"floor then ceiling",
       {352, 77.4, 16, 24, 1, 1, 0, 0, 1, 1},
       {{1, -7, 1, NX}, {1, -8, 1, NX}},
       T_FLOOR_CEILING,
       0,
       352,
       96.4,
       0,
       0,
       1,
       1,
       true,
       1,
       -7,
       0},
      {"deadly floor, player",
       {352, 77.4, 16, 24, 1, 0, 0, 0, 1, 1},
       {{1, -7, 2, NX}},
       T_FLOOR_CEILING,
       0,
       352,
       77.4,
       0,
       0,
       0,
       0,
       true,
       1,
       -7,
       2},
  };
  for (const ROW& row : rows) {
    g_SystemData.m_bCompat677 = row.bCompat677;
    Blocks(row.blocks);
    g_CharaList.clear();
    cCharaObj& o = MakeObj(row.obj);
    EXPECT_EQ(RunTest(row.nTest, o), row.nResult) << row.szName;
    EXPECT_DOUBLE_EQ(o.m_dX, row.x) << row.szName;
    EXPECT_DOUBLE_EQ(o.m_dY, row.y) << row.szName;
    EXPECT_DOUBLE_EQ(o.m_dRight, o.m_dX + o.m_nWidth - 1) << row.szName;
    EXPECT_EQ(o.m_nTouchL, row.L) << row.szName;
    EXPECT_EQ(o.m_nTouchR, row.R) << row.szName;
    EXPECT_EQ(o.m_nTouchT, row.T) << row.szName;
    EXPECT_EQ(o.m_nTouchB, row.B) << row.szName;
    EXPECT_EQ(o.m_pFootCell, row.bFoot ? Cell(row.footC, row.footR) : NO_CELL) << row.szName;
    if (row.B) {
      EXPECT_EQ(o.m_pLandCell, o.m_pFootCell) << row.szName;
      EXPECT_EQ(o.m_dVY, 0) << row.szName;
    }
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Collision, WalkingOffAnEdgeCountsAfterEightFrames) {
  for (int32_t n = 1; n <= 3; ++n) {
    MakeStage(20, 15, n);
    for (int32_t nControl : {1, 0}) {
      g_CharaList.clear();
      cCharaObj& o = MakeObj({352, 352, 16, 24, 1, nControl, 0, 0, 1, 1});
      o.m_nFalling = 0;
      g_Players[0].m_nJumpReady = 0;
      for (int32_t nStep = 1; nStep <= 8 * n + 2; ++nStep) {
        EXPECT_EQ(Scene().TestFloor(o), 0);
        EXPECT_EQ(o.m_nFalling, nStep >= 8 * n ? 1 : 0) << "n " << n << " step " << nStep;
        EXPECT_EQ(o.m_nNoFloorSteps, nStep);
      }
      EXPECT_EQ(g_Players[0].m_nJumpReady, nControl == 0 ? 1 : 0);
      // Riding a block character, a player's character does not fall.
      o.m_nFalling = 0;
      o.m_nRiding = 1;
      Scene().TestFloor(o);
      EXPECT_EQ(o.m_nFalling, nControl == 1 ? 1 : 0);
    }
  }
}

TEST_F(Collision, ConditionsOfACellDecideWhetherItIsThereAndMayLatch) {
  for (uint8_t cOnce : {0, 1}) {
    cEdBlock& block = PlaceBlock(1, 1, 1);
    cCond cond;
    cond.m_cKind = 1;  // common variable 3 >= 10
    cond.m_sVarNum = 3;
    cond.m_cCompare = 2;
    cond.m_nConstant = 10;
    block.m_vecConds.push_back(cond);
    block.m_cLatch = cOnce;
    Rebuild();
    const int32_t nCell = Cell(1, 1);
    g_PlayData.m_vVars[3] = 0;
    EXPECT_EQ(Scene().GetCellHitType(nCell, 1), 0);
    g_PlayData.m_vVars[3] = 10;
    EXPECT_EQ(Scene().GetCellHitType(nCell, 1), 1);
    g_PlayData.m_vVars[3] = 9;
    EXPECT_EQ(Scene().GetCellHitType(nCell, 1), cOnce ? 1 : 0) << int(cOnce);
    // A new set-up forgets the latch.
    Rebuild();
    EXPECT_EQ(Scene().GetCellHitType(nCell, 1), 0);
    g_Stage.m_vecBlocks.clear();
  }
}

TEST_F(Collision, FloorSearchOfAScaleZeroOrNegativeStillSamplesBothEnds) {
  Blocks({{1, 3, 1, NX}, {2, 3, 1, NX}});
  for (uint8_t cScale : {0, 255, 128}) {
    g_CharaList.clear();
    cCharaObj& o = MakeObj({376, 417, 16, 24, 1, 0, 0, 0, 1, 1});
    o.m_Def.m_cGiant = cScale;
    EXPECT_EQ(Scene().FindFloorCell(o), Cell(2, 3)) << int(cScale);
    // The edge search samples nothing for a negative scale: cell 0.
    EXPECT_EQ(Scene().FindEdgeCell(o, 376, 440, 391, 440),
              static_cast<int8_t>(cScale) < 0 ? 0 : Cell(1, 3));
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Collision, AnObjectOffTheGridIsAReportedFaultNotACrash) {
  const OBJSPEC specs[] = {
      {100000, 352, 16, 24, 1, 1, 0, 1, 1, 1},    {352, 1e9, 16, 24, 1, 1, 0, 1, 1, 1},
      {-5000, -5000, 16, 24, 1, 0, 0, -1, -1, 1}, {NAN, NAN, 16, 24, 1, 0, 0, 0, 0, 1},
      {352, 352, 0, 0, 1, 1, 0, 0, 1, 1},         {352, 352, 100000, 100000, 127, 1, 0, 0, 1, 1},
  };
  for (const OBJSPEC& s : specs) {
    g_CharaList.clear();
    cCharaObj& o = MakeObj(s);
    Scene().TestBlocksX(o);
    Scene().TestBlocksY(o);
    Scene().TestFloorAndCeiling(o);
    Scene().IsPlaceBlocked(o);
    o.IsInBlock();
  }
  TakeCloses();
}

}  // namespace
