// Stage set-up: where the player, the characters and items stand and the
// serials they get, the grid and its addressing, hit groups, counters, the
// hit-test mask, the music and seed rules, restarts that leave nothing of
// the attempt before, and stages whose data no editor writes.
#include <gtest/gtest.h>

#include <climits>

#include "play_fixture.h"
#include "stage/placement.h"

namespace {

class StageSetUp : public cPlayFixture {};

TEST_F(StageSetUp, PlacesThePlayerCharactersAndItemsWithTheirSerials) {
  Floor(14);
  Player(2, 13);
  cEdChara& trio = Chara(8, 13);
  trio.m_cExtraCopies = 2;  // three characters
  trio.m_sStepX = 40;       // each 40 pixels further right
  cEdChara& carrier = Chara(12, 13);
  carrier.m_nCarriedItem = 1;  // the second placed item
  Item(5, 10).m_sWordA = 4;    // 4 pixels right
  Item(6, 10).m_sGraphic = 9;  // carried: not placed on its own
  Item(7, 10);
  cPlayScene& scene = Start();

  cPlayerObj& player = ThePlayerObj();
  EXPECT_EQ(player.m_nId, 0);
  // The cell's left edge (margin of 10 cells) plus the drawing offset and
  // half a pixel; feet on the cell's bottom.
  EXPECT_EQ(player.m_dX, (2 + 10) * 32 + 8 + 0.5);
  EXPECT_EQ(player.m_dY, (13 + 10) * 32 + 8);
  EXPECT_EQ(player.m_dBottom, (13 + 10) * 32 + 31);
  ASSERT_EQ(g_CharaList.size(), 4u);
  std::vector<int32_t> ids;
  std::vector<double> xs;
  for (const cCharaObj& c : g_CharaList) {
    ids.push_back(c.m_nId);
    xs.push_back(c.m_dX);
  }
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(xs[1] - xs[0], 40);
  EXPECT_EQ(xs[2] - xs[1], 40);
  // The carrier's item was set up first (serial 0), the others after.
  EXPECT_EQ(g_CharaList.back().m_CarriedItem.m_nKindValue, 9);
  EXPECT_EQ(g_CharaList.back().m_CarriedItem.m_nId, 0);
  ASSERT_EQ(g_ItemList.size(), 2u);
  EXPECT_EQ(g_ItemList.front().m_nId, 1);
  EXPECT_EQ(g_ItemList.back().m_nId, 2);
  EXPECT_EQ(g_ItemList.front().m_dX, (5 + 10) * 32 + 2 + 0.5 + 4);
  EXPECT_EQ(scene.m_nCharaSerial, 5);
  EXPECT_EQ(scene.m_nItemSerial, 3);

  // Hit groups: the player first, then the characters in list order.
  const std::list<cGameObj*>& group = scene.m_CharaGroups.At(1);
  ASSERT_EQ(group.size(), 5u);
  EXPECT_EQ(group.front(), &player);
  // Every character (and the player itself) has the player as its target.
  EXPECT_EQ(player.m_vecRefBy.size(), 5u);
  EXPECT_EQ(g_CharaList.front().m_vecTargets[0], &player);
  // The camera centres the player as far as the view's range lets it.
  EXPECT_EQ(scene.m_ScrollX.m_dPos, 320);
  EXPECT_EQ(scene.m_ScrollY.m_dPos, 320);
  EXPECT_EQ(scene.m_nTime, 999);
  EXPECT_EQ(scene.m_bNoTimeLimit, 1);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(StageSetUp, GridAddressingAndPitch) {
  struct Case {
    int32_t w, h, nShift, nRows;
  } cases[] = {
      {20, 15, 6, 35},                      // 20 + 19 = 39 needs 6 bits
      {12, 10, 5, 30},                      // 31 needs 5
      {13, 10, 6, 30},                      // 32 needs 6
      {2000, 200, 11, 220}, {0, 0, 5, 20},  // an empty stage is all margin
  };
  for (const Case& c : cases) {
    MakeStage(c.w, c.h, 1);
    Player(0, 0);
    Block(static_cast<int16_t>(c.w - 1), static_cast<int16_t>(c.h - 1), 2);
    delete m_pScene;
    m_pScene = nullptr;
    Start();
    EXPECT_EQ(g_BlockPalette.Shift(), c.nShift) << c.w;
    EXPECT_EQ(g_BlockPalette.Rows(), c.nRows) << c.w;
    EXPECT_EQ(g_BlockPalette.Size(), c.nRows << c.nShift) << c.w;
    // Stage column c and row r is (c + 10) + ((r + 10) << shift).
    const int32_t nCell = (c.w - 1 + 10) + ((c.h - 1 + 10) << c.nShift);
    if (c.w > 0) {
      EXPECT_EQ(g_BlockPalette.Cell(nCell).cHitType, 2) << c.w;
    }
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(StageSetUp, HitTestsPerFrameSpreadOverTheSteps) {
  struct Case {
    int32_t nLevel, nTests;
    std::vector<int32_t> mask;
  } cases[] = {
      {4, 3, {1, 1, 1, 0}},     // steps 1, 2 and 3
      {3, 2, {1, 1, 0}},        // d = 1.5
      {5, 2, {1, 0, 1, 0, 0}},  // d = 2.5
      {2, 5, {1, 1}},           // more tests than steps: every step
      {4, 0, {1, 1, 1, 1}},     // 0: every step
      {4, -3, {1, 1, 1, 1}},    // a damaged count: every step too
      {4, 6, {1, 1, 1, 1}},     // past the settings' 5, as damaged
      {4, INT32_MAX, {1, 1, 1, 1}},
      {10, 3, {1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
      {14, 1, {1, 0, 0, 0}},  // fine levels 11..19 are 1..9 steps
  };
  for (const Case& c : cases) {
    g_Stage.m_nHitLevel = c.nLevel;
    g_Stage.m_nAttackTests = c.nTests;
    g_Stage.SetHitLevel(c.nLevel);
    cPlayScene scene;
    scene.BuildHitStepMask();
    EXPECT_EQ(std::vector<int32_t>(scene.m_HitStepMask.begin(), scene.m_HitStepMask.end()), c.mask)
        << c.nLevel << " " << c.nTests;
  }
}

TEST_F(StageSetUp, MusicRestartsOnlyWhenTheRulesAskForIt) {
  struct Case {
    int nSecond, bKeep, nStage, nPlaying;
    std::vector<int> requests;
  } cases[] = {
      {1, 0, 3, 3, {3}},                    // a fresh start without keep-music asks again
      {1, 1, 3, 3, {}},                     // keep-music: the same music plays on
      {1, 1, 0, 0, {0}},                    // ... unless it is none
      {1, 1, 3, 2, {3}}, {0, 0, 3, 3, {}},  // a restart keeps the same music running
      {0, 0, 3, 2, {3}},
  };
  Player(1, 1);
  Start();
  for (const Case& c : cases) {
    g_Stage.m_nBgm = g_StageCopy.m_nBgm = c.nStage;
    g_Stage.m_bKeepBgm = g_StageCopy.m_bKeepBgm = c.bKeep;
    g_PlayData.m_nBgm = c.nPlaying;
    Requests().vecMusic.clear();
    Scene().SetStage(1, c.nSecond);
    EXPECT_EQ(Requests().vecMusic, c.requests) << c.nSecond << c.bKeep << c.nStage << c.nPlaying;
  }
}

TEST_F(StageSetUp, SeedsFromTheReplayTheClockOrTheStartBefore) {
  Player(1, 1);
  // Recording off: the scene's first start takes the clock, a retry repeats.
  g_SystemData.m_bReplayRecord = 0;
  Start();
  EXPECT_EQ(Scene().m_nSeed, 4321);
  plat::SetTestClock(99);
  Scene().m_Rand.Next();
  Scene().SetStage(1, 0);
  EXPECT_EQ(Scene().m_nSeed, 4321);
  EXPECT_EQ(Scene().m_Rand.m_nState, 4321u);
  // Recording: a new seed at every start, kept in the log; the run before
  // goes to the previous log.
  g_SystemData.m_bReplayRecord = 1;
  g_KeyLog.AddKey(1, 1);
  Scene().SetStage(1, 0);
  EXPECT_EQ(Scene().m_nSeed, 99);
  EXPECT_EQ(g_KeyLog.m_nSeed, 99);
  EXPECT_TRUE(g_KeyLog.IsEmpty());
  EXPECT_FALSE(g_KeyLogPrev.IsEmpty());
}

TEST_F(StageSetUp, ARestartLeavesNothingOfTheAttemptBefore) {
  Floor(14);
  Player(2, 13);
  cEdBlock& latched = Block(5, 5);
  latched.m_vecConds.resize(1);
  latched.m_vecConds[0].m_cKind = 2;  // stage variable 0 ...
  latched.m_vecConds[0].m_cCompare = 0;
  latched.m_vecConds[0].m_nConstant = 0;  // ... is 0
  latched.m_cLatch = 1;
  StartPlaying();
  const int32_t nCell = static_cast<int32_t>(g_BlockPalette.CellOf(5, 5));
  EXPECT_EQ(Scene().CheckBlockCondition(nCell), 1);
  EXPECT_EQ(g_BlockPalette.Cell(nCell).cLatch, 1);
  Scene().m_SummonedCells.push_back(nCell);
  Scene().m_StageVar.At(0) = 5;
  Scene().m_nStepResult = 1;
  Frames(3);
  Scene().SetStage(1, 0);
  EXPECT_EQ(g_BlockPalette.Cell(nCell).cLatch, 0);
  EXPECT_TRUE(Scene().m_SummonedCells.empty());
  EXPECT_EQ(Scene().m_StageVar.At(0), 0);
  EXPECT_EQ(Scene().m_nStepResult, 0);
  EXPECT_EQ(Scene().m_nStepCount, 0);
  EXPECT_EQ(Scene().m_nFrames, 0);
  EXPECT_EQ(g_CharaList.size(), 0u);
}

TEST_F(StageSetUp, CopiesOutsideTheStageAreDroppedAndTakeNoSerial) {
  Floor(14);
  Player(1, 13);
  cEdChara& row = Chara(17, 13);
  row.m_cExtraCopies = 3;
  row.m_sStepX = 32;  // copies at columns 17, 18, 19, 20: the last is outside
  Chara(3, 13);
  Start();
  std::vector<int32_t> ids;
  for (const cCharaObj& c : g_CharaList) ids.push_back(c.m_nId);
  // The stage's objects live within the margin: column 20 is still inside
  // the area objects may be in, column 30 (10 more) is not.
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  MakeStage(20, 15, 1);
  Floor(14);
  Player(1, 13);
  cEdChara& far = Chara(17, 13);
  far.m_cExtraCopies = 3;
  far.m_sStepX = 32 * 10;  // 17, 27, 37, 47: the last two lie outside
  Chara(3, 13);
  delete m_pScene;
  m_pScene = nullptr;
  Start();
  ids.clear();
  for (const cCharaObj& c : g_CharaList) ids.push_back(c.m_nId);
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(StageSetUp, DataNoEditorWritesIsReportedNeverFatal) {
  struct Case {
    const char* szName;
    std::function<void()> prepare;
    int nCloses;     // close requests the fault posts
    size_t nCharas;  // characters that play
  } cases[] = {
      {"objects outside the grid",
       [] {
         Player(1, 1);
         Block(5000, 3);
         Block(-30, -30);
         // Placed on a cell beyond the stage, a character or an item is held
         // at the stage's edge.
         Chara(30000, 2);
         Item(-5000, 2);
       },
       0, 1},
      {"a stage of no cells",
       [] {
         MakeStage(0, 0, 1);
         Player(0, 0);
       },
       0, 0},
      {"a stage beyond any grid",
       [] {
         MakeStage(1 << 29, 1 << 20, 1);
         Player(0, 0);
       },
       1, 0},
      {"a negative size",
       [] {
         MakeStage(-5, -7, 1);
         Player(0, 0);
       },
       0, 0},
      {"copies beyond any limit",
       [] {
         Player(0, 0);
         Chara(5, 5).m_cExtraCopies = 255;
       },
       0, 256},
      {"a carried item that is not there",
       [] {
         Player(0, 0);
         Chara(5, 5).m_nCarriedItem = 7;
       },
       1, 1},
      {"a hit group no list has",
       [] {
         Player(0, 0);
         Chara(5, 5).m_cFaction = 200;
       },
       1, 1},
      {"no player", [] { Chara(5, 5); }, 1, 1},
      {"an item block naming no item",
       [] {
         Block(3, 6).m_cItemSrc = 2;
         g_Stage.m_vecBlocks.back().m_sItem = 500;
         Player(3, 5);
       },
       0, 0},
      {"copies flung beyond every edge",
       [] {
         Player(3, 5);
         cEdChara& c = Chara(5, 5);
         c.m_cExtraCopies = 3;
         c.m_sOffsetX = c.m_sStepX = -32768;
         c.m_sOffsetY = c.m_sStepY = 32767;
       },
       0, 0},
      {"no frames, no steps, no speed",
       [] {
         Player(3, 3);
         g_Stage.m_nFps = 0;
         g_Stage.m_nHitLevel = -4;
         g_Stage.m_dGravity = 0;
       },
       0, 0},
  };
  for (const Case& c : cases) {
    MakeStage(20, 15, 1);
    c.prepare();
    delete m_pScene;
    m_pScene = nullptr;
    Start();
    Frames(200);
    // Every set-up reports the fault again, and a defeated player's stage is
    // set up anew: what counts is that it is reported, and only then.
    if (c.nCloses == 0)
      EXPECT_EQ(TakeCloses(), 0) << c.szName;
    else
      EXPECT_GE(TakeCloses(), c.nCloses) << c.szName;
    EXPECT_EQ(g_CharaList.size(), c.nCharas) << c.szName;
    EXPECT_GE(Scene().m_nStageFrameRate, 1) << c.szName;
  }
}

}  // namespace
