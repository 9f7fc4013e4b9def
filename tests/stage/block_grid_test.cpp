// The block grid: its addressing, its build from the placed blocks, and what
// a damaged stage does to it.
#include "stage/block_grid.h"

#include <gtest/gtest.h>

#include <climits>

#include "stage_fixture.h"

namespace {

class BlockGrid : public cStageFixture {};

TEST_F(BlockGrid, PitchIsThePowerOfTwoAboveWidthPlus19AndRowsAreHeightPlus20) {
  struct Case {
    int32_t w, h;
    int32_t nShift;
  } cases[] = {{0, 0, 5},  {12, 1, 5},      {13, 15, 6},   {44, 3, 6},
               {45, 3, 7}, {2000, 200, 11}, {2029, 1, 12}, {-5, -5, 5}};
  for (const Case& c : cases) {
    g_Stage.m_nWidth = c.w;
    g_Stage.m_nHeight = c.h;
    ASSERT_EQ(g_BlockPalette.Build(g_Stage), 1) << c.w;
    const int32_t nRows = (c.h < 0 ? 0 : c.h) + 20;
    EXPECT_EQ(g_BlockPalette.Shift(), c.nShift) << c.w;
    EXPECT_EQ(g_BlockPalette.Pitch(), 1 << c.nShift) << c.w;
    EXPECT_EQ(g_BlockPalette.Rows(), nRows) << c.w;
    EXPECT_EQ(g_BlockPalette.Size(), nRows << c.nShift) << c.w;
    EXPECT_EQ(GridShift(c.w), c.nShift) << c.w;
    // Stage column c and row r: (c + 10) + ((r + 10) << shift).
    EXPECT_EQ(g_BlockPalette.CellOf(3, 4), 13 + (int64_t{14} << c.nShift));
    EXPECT_EQ(g_BlockPalette.CellOf(-10, -10), 0);
    // A pixel is its column x >> 5 and row y >> 5, margin included.
    EXPECT_EQ(g_BlockPalette.CellAt(13 * 32 + 31, 14 * 32), g_BlockPalette.CellOf(3, 4));
  }
}

TEST_F(BlockGrid, PlacedBlocksGoToTheirCellsAndEveryOtherCellIsEmpty) {
  cEdBlock& solid = PlaceBlock(0, 0, 1);
  solid.m_cExempt = 3;
  PlaceBlock(19, 14, 2);
  PlaceBlock(-10, -10, 1);  // in the margin, still on the grid
  Rebuild();
  const BLOCKCELL& a = g_BlockPalette.Cell(Cell(0, 0));
  EXPECT_EQ(a.cHitType, 1);
  EXPECT_EQ(a.cExempt, 3);
  EXPECT_EQ(g_BlockPalette.Def(a).m_sGraphic, 1);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(19, 14)).cHitType, 2);
  EXPECT_EQ(g_BlockPalette.Cell(0).cHitType, 1);
  int nSolid = 0;
  for (int32_t i = 0; i < g_BlockPalette.Size(); ++i) {
    const BLOCKCELL& cell = g_BlockPalette.Cell(i);
    nSolid += cell.cHitType != 0;
    if (cell.cHitType == 0) {
      EXPECT_EQ(g_BlockPalette.Def(cell).m_sGraphic, 0);
      EXPECT_EQ(g_BlockPalette.Def(cell).m_cSummonProof, 0);
      EXPECT_EQ(cell.cLatch, 0);
    }
  }
  EXPECT_EQ(nSolid, 3);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(BlockGrid, NoLatchOrBlockOfAnEarlierStageSurvivesTheNextBuild) {
  PlaceBlock(2, 2, 1).m_vecConds.resize(1);
  Rebuild();
  g_BlockPalette.Cell(Cell(2, 2)).cLatch = 1;
  g_BlockPalette.Cell(Cell(5, 5)).cHitType = 1;
  Rebuild();
  EXPECT_EQ(g_BlockPalette.Cell(Cell(2, 2)).cLatch, 0);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(2, 2)).bConds, 1);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(5, 5)).cHitType, 0);
  // The same after the stage's width changes the pitch.
  g_Stage.m_nWidth = 50;
  Rebuild();
  EXPECT_EQ(g_BlockPalette.Cell(Cell(2, 2)).cLatch, 0);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(2, 2)).cHitType, 1);
}

TEST_F(BlockGrid, ADamagedStagePlaysWithoutWhatLiesOffTheGrid) {
  PlaceBlock(1, 1, 1);
  PlaceBlock(-11, 3, 1);  // left of the margin: one row up, still on the grid
  PlaceBlock(5, -11, 1);  // above the grid
  PlaceBlock(5, 25, 1);   // below the grid
  PlaceBlock(32000, 32000, 1);
  Rebuild();
  int nSolid = 0;
  for (int32_t i = 0; i < g_BlockPalette.Size(); ++i) nSolid += g_BlockPalette.Cell(i).cHitType;
  EXPECT_EQ(nSolid, 2);
  EXPECT_EQ(TakeCloses(), 0);
  EXPECT_NE(m_Dir.Read("Report_Game.txt").find("outside the stage"), std::string::npos);
}

TEST_F(BlockGrid, SizesNoStageHasAreRefusedBeforeAnythingIsAllocated) {
  for (auto [w, h] :
       {std::pair{INT_MAX, 10}, {10, INT_MAX}, {100000, 100000}, {INT_MAX, INT_MAX}}) {
    g_Stage.m_nWidth = w;
    g_Stage.m_nHeight = h;
    EXPECT_EQ(g_BlockPalette.Build(g_Stage), 0) << w << " x " << h;
    EXPECT_EQ(g_BlockPalette.Size(), 0);
  }
  // Reading a cell of the empty grid is a reported fault, not a crash.
  EXPECT_EQ(g_BlockPalette.Cell(5).cHitType, 0);
  EXPECT_GT(TakeCloses(), 0);
}

TEST_F(BlockGrid, SummonedBlocksShareTheirDefinitionAndClearTheLatch) {
  cEdBlock def;
  def.m_cHitType = 2;
  def.m_vecConds.resize(1);
  for (int i = 0; i < 1000; ++i) {
    g_BlockPalette.Cell(Cell(3, 3)).cLatch = 1;
    g_BlockPalette.SetBlock(Cell(3, 3), def, 42);
  }
  const BLOCKCELL& cell = g_BlockPalette.Cell(Cell(3, 3));
  EXPECT_EQ(cell.cHitType, 2);
  EXPECT_EQ(cell.bConds, 1);
  EXPECT_EQ(cell.cLatch, 0);
  const int32_t nDef = cell.nDef;
  g_BlockPalette.SetBlock(Cell(4, 3), def, 42);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(4, 3)).nDef, nDef);
  g_BlockPalette.EraseBlock(Cell(3, 3));
  EXPECT_EQ(g_BlockPalette.Cell(Cell(3, 3)).cHitType, 0);
  EXPECT_EQ(g_BlockPalette.Cell(Cell(3, 3)).nDef, 0);
}

}  // namespace
