// The world map's queries: cells of the grid, stage entries that apply,
// cleared and passable stages, also on a damaged map.
#include "scenes/world_map_scene.h"

#include <gtest/gtest.h>

#include "files/play_data.h"
#include "files/world_map.h"

namespace {

class WorldMapQueries : public testing::Test {
 protected:
  void SetUp() override {
    m_SavedMap = g_WorldMap;
    g_WorldMap = cWorldMap();
    g_WorldMap.SetSize(20, 15);  // pitch 32, shift 5
    g_PlayData.Reset();
  }
  void TearDown() override {
    g_WorldMap = m_SavedMap;
    g_PlayData.Reset();
  }
  cWorldMap m_SavedMap;
};

TEST_F(WorldMapQueries, CellIndexesClampToTheGrid) {
  struct Case {
    int x, y, nWant;
  } const cases[] = {
      {0, 0, 0},    {3, 2, 3 + 64},  {19, 14, 19 + 14 * 32}, {25, 1, 19 + 32},
      {-4, 1, 32},  {5, -1, 5},      {-1, -9, 0},            {7, 15, 7 + 14 * 32},
      {7, 900, 7 + 14 * 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cWorldMapScene::GetCellIndex(c.x, c.y), c.nWant) << c.x << "," << c.y;
    CURSORDATA level;
    level.nColumn = c.x;
    level.nRow = c.y;
    EXPECT_EQ(cWorldMapScene::GetCursorCellIndex(level), c.nWant);
  }
  // A map without cells points at nothing past its first cell.
  g_WorldMap.m_nWidth = g_WorldMap.m_nHeight = 0;
  EXPECT_EQ(cWorldMapScene::GetCellIndex(5, 5), 0);
}

TEST_F(WorldMapQueries, ActiveStagesClearedAndPassable) {
  cWorldPoint point;
  point.m_vecStages.clear();
  cWorldStage locked;  // needs stage 3 cleared
  locked.m_nRequired = 3;
  locked.m_nStageNo = 4;
  cWorldStage byVariable;  // needs common variable 7 at 2
  byVariable.m_nVariable = 7;
  byVariable.m_nCompareValue = 2;
  byVariable.m_nStageNo = 5;
  cWorldStage broken;  // numbers past every list of the play
  broken.m_nRequired = 5000;
  broken.m_nVariable = -3;
  broken.m_nStageNo = 123456;
  cWorldStage open;
  open.m_nStageNo = 6;
  point.m_vecStages.push_back(broken);
  point.m_vecStages.push_back(locked);
  point.m_vecStages.push_back(byVariable);
  point.m_vecStages.push_back(open);

  EXPECT_EQ(cWorldMapScene::FindActiveStage(nullptr), nullptr);
  EXPECT_EQ(cWorldMapScene::FindActiveStage(&point)->m_nStageNo, 6);
  g_PlayData.m_vVars[7] = 2;
  EXPECT_EQ(cWorldMapScene::FindActiveStage(&point)->m_nStageNo, 5);
  g_PlayData.m_vCleared[3] = 1;
  const cWorldStage* pStage = cWorldMapScene::FindActiveStage(&point);
  ASSERT_EQ(pStage->m_nStageNo, 4);

  EXPECT_FALSE(cWorldMapScene::IsCleared(pStage));
  EXPECT_FALSE(cWorldMapScene::IsPassable(pStage));
  g_PlayData.m_vCleared[4] = 1;
  EXPECT_TRUE(cWorldMapScene::IsCleared(pStage));
  EXPECT_TRUE(cWorldMapScene::IsPassable(pStage));
  open.m_bPass = 1;
  EXPECT_TRUE(cWorldMapScene::IsPassable(&open));
  EXPECT_FALSE(cWorldMapScene::IsCleared(&open));
  EXPECT_FALSE(cWorldMapScene::IsCleared(&broken));
  EXPECT_FALSE(cWorldMapScene::IsCleared(nullptr));
  EXPECT_FALSE(cWorldMapScene::IsPassable(nullptr));
  // Stage number 0 counts as cleared in a new play.
  cWorldStage first;
  EXPECT_TRUE(cWorldMapScene::IsCleared(&first));
}

TEST_F(WorldMapQueries, FindPointTakesTheCursorsCell) {
  cWorldPoint a, b;
  a.m_nX = 4;
  a.m_nY = 2;
  b.m_nX = 4;
  b.m_nY = 2;
  b.m_strName = "second";
  g_WorldMap.m_vecPoints.push_back(a);
  g_WorldMap.m_vecPoints.push_back(b);
  CURSORDATA level;
  level.nColumn = 4;
  level.nRow = 2;
  EXPECT_EQ(g_WorldMap.FindPoint(level), &g_WorldMap.m_vecPoints[0]);
  level.nRow = 3;
  EXPECT_EQ(g_WorldMap.FindPoint(level), nullptr);
}

}  // namespace
