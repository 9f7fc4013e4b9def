// Summons during play: where a summoned character stands, its serial, its
// lifetime and its refusal by a wall; summoned blocks by mode, over the
// player or not, once per cell, and cells that refuse them.
#include <gtest/gtest.h>

#include "play_fixture.h"
#include "stage/placement.h"

namespace {

class Summons : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    MakeStage(20, 15, 2);
    Floor(14);
    Block(10, 12);
    Player(2, 13);
    StartPlaying();
  }
  static double CellX(int c) { return (c + 10) * 32.0; }
  static double CellY(int r) { return (r + 10) * 32.0; }
  static int32_t CellAt(int c, int r) { return static_cast<int32_t>(g_BlockPalette.CellOf(c, r)); }
};

TEST_F(Summons, ACharacterTakesTheNextSerialUnlessItsPlaceIsBlocked) {
  cEdChara def;
  def.m_cExtraCopies = 1;
  def.m_sStepX = 64;
  SUMMONRULES rules;
  rules.bLifetime = 1;
  rules.nLifeTenths = 1;
  rules.nCredit = 1;
  rules.cKey = 4;
  int32_t& nSerial = Scene().m_nCharaSerial;
  const int32_t nFirst = nSerial;
  cGameObj& player = ThePlayerObj();
  SummonChara(g_CharaList, CellX(4), CellY(13), 1, 3, rules, def, nSerial, &player);
  ASSERT_EQ(g_CharaList.size(), 2u);
  EXPECT_EQ(nSerial, nFirst + 2);
  const cCharaObj& c = g_CharaList.front();
  EXPECT_EQ(c.m_nId, nFirst);
  EXPECT_EQ(c.m_nFacing, 1);
  EXPECT_EQ(c.m_nGroup, 3);
  EXPECT_EQ(c.m_dX, CellX(4) + 8 + 0.5);
  EXPECT_EQ(g_CharaList.back().m_dX, CellX(4) + 8 + 0.5 + 64);
  // A tenth of a second at two update steps a frame: 12 steps.
  EXPECT_EQ(c.m_nLife, 12);
  EXPECT_EQ(c.m_pParent, &player);
  EXPECT_EQ(c.m_nParentCredit, 1);
  EXPECT_EQ(c.m_cParentKey, 4);
  EXPECT_EQ(Scene().m_CharaGroups.At(3).size(), 2u);
  // In the wall at column 10: gone at once, its serial not used.
  SummonChara(g_CharaList, CellX(10), CellY(12), 0, 1, SUMMONRULES{}, cEdChara{}, nSerial, nullptr);
  EXPECT_EQ(g_CharaList.size(), 2u);
  EXPECT_EQ(nSerial, nFirst + 2);
  // Its lifetime runs out after 12 steps: six frames.
  Frames(6);
  EXPECT_EQ(g_CharaList.size(), 2u);
  Frames(1);
  EXPECT_EQ(g_CharaList.size(), 0u);
  EXPECT_EQ(Scene().m_CharaGroups.At(3).size(), 0u);
}

TEST_F(Summons, BlocksOverThePlayerAndOncePerCell) {
  cEdBlock block;
  block.m_sGraphic = 7;
  SUMMONRULES rules;
  const double x = CellX(2), y = CellY(13);
  cPlayerObj& player = ThePlayerObj();
  // Not over the player: the player's cell stays as it was.
  rules.bNotOverPlayer = 1;
  SummonBlock(x, y, rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 13)).m_sGraphic, 0);
  // The cell above its head is no concern of that rule.
  SummonBlock(x, CellY(12), rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 12)).m_sGraphic, 7);
  // Over the player: placed, and the player is spared being squeezed.
  rules.bNotOverPlayer = 0;
  player.m_nCrushGrace = 0;
  SummonBlock(x, y, rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 13)).m_sGraphic, 7);
  EXPECT_EQ(player.m_nCrushGrace, 2);
  // Erase.
  rules = SUMMONRULES{};
  rules.nBlockMode = 1;
  SummonBlock(x, y, rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 13)).m_sGraphic, 0);
  // Place or erase, once per cell.
  rules.nBlockMode = 2;
  SummonBlock(CellX(6), CellY(8), rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(6, 8)).m_sGraphic, 7);
  SummonBlock(CellX(6), CellY(8), rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(6, 8)).m_sGraphic, 7);
  SummonBlock(CellX(10), CellY(12), rules, block, 1);  // an existing block goes
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(10, 12)).m_sGraphic, 0);
  // Refused by a not-over rule, a cell may be tried again.
  rules.bNotOverPlayer = 1;
  SummonBlock(CellX(2), CellY(13), rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 13)).m_sGraphic, 0);
  rules.bNotOverPlayer = 0;
  SummonBlock(CellX(2), CellY(13), rules, block, 1);
  EXPECT_EQ(g_BlockPalette.DefAt(CellAt(2, 13)).m_sGraphic, 7);
  EXPECT_EQ(Scene().m_SummonedCells.size(), 3u);
}

TEST_F(Summons, CellsThatRefuseOrLieOutside) {
  cEdBlock block;
  block.m_sGraphic = 7;
  SUMMONRULES rules;
  // y = -49: row -1, a negative cell for every column in the grid's width.
  const int32_t nBefore = g_BlockPalette.Size();
  for (int c = -10; c < 40; ++c) SummonBlock(c * 32.0, -49, rules, block, 1);
  SummonBlock(1e12, 1e12, rules, block, 1);
  SummonBlock(-1e12, 0, rules, block, 1);
  EXPECT_EQ(g_BlockPalette.Size(), nBefore);
  EXPECT_EQ(TakeCloses(), 0);
  // A block that refuses summons keeps its cell, placed or erased.
  const int32_t nCell = CellAt(5, 14);
  cEdBlock proof;
  proof.m_sGraphic = 3;
  proof.m_cSummonProof = 1;
  g_BlockPalette.SetBlock(nCell, proof, 99);
  for (int nMode : {0, 1, 2}) {
    rules.nBlockMode = nMode;
    SummonBlock(CellX(5), CellY(14), rules, block, 1);
    EXPECT_EQ(g_BlockPalette.DefAt(nCell).m_sGraphic, 3) << nMode;
  }
}

}  // namespace
