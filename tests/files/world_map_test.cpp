// The world map: the default map byte for byte, the grid and its resizing,
// the repairs of a read, the entries at every version, the comparisons and
// the stage-entry query.
#include "files/world_map.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"
#include "files/play_data.h"
#include "flow/record_fuzz.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(WorldMap, DefaultMapLayout) {
  cWorldMap map;
  EXPECT_EQ(map.m_nPitch, 32);
  EXPECT_EQ(map.m_nShift, 5);
  EXPECT_EQ(map.m_vCells.size(), 480u);
  Bytes file = map.SaveToBytes();
  cByteBuilder b = cByteBuilder::File(783);
  b.Count(8).I32(20).I32(15).I32(32).I32(5).I32(9).I32(7).I32(16).I32(0);
  b.Count(2).Str("ワールド").Str("");
  b.Count(10);
  for (int i = 0; i < 10; ++i)
    b.Count(3).I32(0).I32(i < 5).I32(i).Count(2).Str("").Str(i < 5 ? "通行不可" : "通行可");
  b.Count(480).Zeros(480 * 4);
  b.Count(0);  // no points
  // One template point named "デフォルト" with one default entry: 14
  // numbers, all 0 but suffix number 1.
  b.Count(1).Count(2).I32(0).I32(0).Count(1).Str("デフォルト").Count(1).Count(14);
  for (int i = 0; i < 14; ++i) b.I32(i == 12 ? 1 : 0);
  b.Count(2).Str("").Str("");
  EXPECT_EQ(file, b.Bytes());
  cWorldMap back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), file);
}

TEST(WorldMap, SetSizeKeepsCellsWhereBothGridsHaveThem) {
  struct CASE {
    int32_t w, h, nPitch, nShift;
  };
  const CASE cases[] = {
      {20, 15, 32, 5}, {33, 2, 64, 6}, {1, 1, 1, 0}, {32, 3, 32, 5}, {40, 15, 64, 6}};
  for (const CASE& c : cases) {
    cWorldMap map;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 20; ++x) map.m_vCells[x + (y << 5)] = 100 * y + x;
    ASSERT_EQ(map.SetSize(c.w, c.h), 1);
    EXPECT_EQ(map.m_nPitch, c.nPitch);
    EXPECT_EQ(map.m_nShift, c.nShift);
    ASSERT_EQ(map.m_vCells.size(), static_cast<size_t>(c.h * c.nPitch));
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        EXPECT_EQ(map.GetCell(x, y), (x < 20 && y < 15) ? 100 * y + x : 0) << x << "," << y;
  }
  cWorldMap map;
  EXPECT_EQ(map.SetSize(0, 5), 0);
  EXPECT_EQ(map.SetSize(5, 0), 0);
  EXPECT_EQ(map.m_nWidth, 20);
}

TEST(WorldMap, ReadRepairsStartCellPointsAndGrid) {
  cWorldMap map;
  map.m_vecPoints.resize(4);
  const int32_t cells[4][2] = {{3, 4}, {30, 1}, {19, 14}, {-1, 2}};
  for (int i = 0; i < 4; ++i) {
    map.m_vecPoints[i].m_nX = cells[i][0];
    map.m_vecPoints[i].m_nY = cells[i][1];
    map.m_vecPoints[i].m_strName = "p" + std::to_string(i);
  }
  cDataWriter w;
  w.U32(783);
  // The generic block by hand: a start column equal to the width, and a
  // grid whose cells are short and laid out for another width.
  w.U32(8);
  for (int32_t n : {20, 15, 16, 4, 20, 40, 16, 0}) w.I32(n);
  w.U32(2);
  w.String("map");
  w.String("");
  WriteRecordVector(map.m_vecTerrain, w);
  w.U32(3);
  for (int32_t n : {5, 6, 7}) w.I32(n);
  WriteRecordVector(map.m_vecPoints, w);
  WriteRecordVector(map.m_vecTemplates, w);
  cWorldMap back;
  ASSERT_EQ(back.LoadFromBytes(w.Data().data(), w.Data().size()), 1);
  EXPECT_EQ(back.m_nStartX, 19);
  EXPECT_EQ(back.m_nStartY, 14);
  ASSERT_EQ(back.m_vecPoints.size(), 2u);
  EXPECT_EQ(back.m_vecPoints[0].m_strName, "p0");
  EXPECT_EQ(back.m_vecPoints[1].m_strName, "p2");
  EXPECT_EQ(back.m_nPitch, 32);
  EXPECT_EQ(back.m_vCells.size(), 480u);
  EXPECT_EQ(back.GetCell(0, 0), 5);
  EXPECT_EQ(back.GetCell(2, 0), 7);
  EXPECT_EQ(back.GetCell(19, 14), 0);
  EXPECT_EQ(back.FindPointXY(19, 14), &back.m_vecPoints[1]);
  EXPECT_EQ(back.FindPointXY(30, 1), nullptr);
}

TEST(WorldMap, StageEntriesAtEveryVersion) {
  cWorldStage src;
  FillDistinct(src, 40);
  src.m_strTitle = "一面";
  src.m_strStageFile = "data\\stg4\\s01-1.stg4";
  struct CASE {
    uint32_t v;
    uint32_t nFields;
    int32_t nMinScore, bSuffix, nSuffix1, nSuffix2;
  };
  const CASE cases[] = {{208, 10, 0, 0, 1, 0},
                        {209, 11, 50, 0, 1, 0},
                        {757, 11, 50, 0, 1, 0},
                        {758, 14, 50, 51, 52, 53},
                        {783, 14, 50, 51, 52, 53}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.v);
    cByteBuilder b = cByteBuilder::File(c.v);
    b.Count(8).I32(4).I32(4).I32(4).I32(2).I32(0).I32(0).I32(16).I32(0).Count(2).Str("").Str("");
    b.Count(0).Count(16).Zeros(64);
    b.Count(1).Count(2).I32(1).I32(1).Count(1).Str("pt").Count(1);
    AppendFields(b, src, static_cast<int32_t>(c.v));
    b.Count(0);
    cWorldMap map;
    ASSERT_EQ(map.LoadFromBytes(b.Bytes().data(), b.Size()), 1);
    ASSERT_EQ(map.m_vecPoints.size(), 1u);
    const cWorldStage& e = map.m_vecPoints[0].m_vecStages.at(0);
    EXPECT_EQ(src.GetFieldTable(static_cast<int32_t>(c.v)).vFields.size(), c.nFields);
    EXPECT_EQ(e.m_nKind, 40);
    EXPECT_EQ(e.m_nCompare, 49);
    EXPECT_EQ(e.m_nMinScore, c.nMinScore);
    EXPECT_EQ(e.m_bSuffix, c.bSuffix);
    EXPECT_EQ(e.m_nSuffix1, c.nSuffix1);
    EXPECT_EQ(e.m_nSuffix2, c.nSuffix2);
    EXPECT_EQ(e.m_strTitle, "一面");
    EXPECT_EQ(e.m_strStageFile, "data\\stg4\\s01-1.stg4");
  }
}

TEST(WorldMap, Comparisons) {
  struct CASE {
    int32_t nKind, v, c;
    bool bResult;
  };
  const CASE cases[] = {
      {0, 3, 3, true},   {0, 3, 4, false},  {1, 3, 4, true},          {1, 3, 3, false},
      {2, 3, 3, true},   {2, 2, 3, false},  {3, 3, 3, true},          {3, 4, 3, false},
      {4, 4, 3, true},   {4, 3, 3, false},  {5, 2, 3, true},          {5, 3, 3, false},
      {6, 7, 0, true},   {6, -9, 3, true},  {6, 10, 3, false},        {7, 7, 0, false},
      {7, 10, 3, true},  {7, -9, 3, false}, {6, INT32_MIN, -1, true}, {8, 0, 0, false},
      {-1, 0, 0, false},
  };
  for (const CASE& c : cases)
    EXPECT_EQ(CompareMapValue(c.nKind, c.v, c.c), c.bResult) << c.nKind << " " << c.v << " " << c.c;
}

TEST(WorldMap, EntryAppliesByClearedStageVariableAndScore) {
  cPlayData play;
  cWorldStage e;
  EXPECT_TRUE(e.Applies(play));
  e.m_nRequired = 7;
  EXPECT_FALSE(e.Applies(play));
  play.m_vCleared[7] = 1;
  EXPECT_TRUE(e.Applies(play));
  e.m_nVariable = 1000;
  e.m_nCompare = 2;
  e.m_nCompareValue = 5;
  EXPECT_FALSE(e.Applies(play));
  play.m_vVars[1000] = 5;
  EXPECT_TRUE(e.Applies(play));
  e.m_nMinScore = 100;
  EXPECT_FALSE(e.Applies(play));
  play.m_nBestTotal = 100;
  EXPECT_TRUE(e.Applies(play));

  cWorldPoint point;
  point.m_vecStages.assign(2, e);
  point.m_vecStages[0].m_nMinScore = 101;
  EXPECT_EQ(point.FindCurrentEntry(play), &point.m_vecStages[1]);
  point.m_vecStages[1].m_nMinScore = 101;
  EXPECT_EQ(point.FindCurrentEntry(play), nullptr);
}

TEST(WorldMap, HasStageEntryMatchesBaseNameAndSuffix) {
  EXPECT_EQ(MapEntryBaseName("data\\stg4\\c01-1.stg4"), "data\\stg4\\c01.");
  EXPECT_EQ(MapEntryBaseName("data\\stg4\\abc.stg4"), "data\\stg4\\abc.");
  cWorldMap map;
  map.m_vecPoints.resize(1);
  cWorldPoint& p = map.m_vecPoints[0];
  p.m_vecStages.resize(3);
  p.m_vecStages[0].m_nKind = WORLDSTAGE_ROAD;
  p.m_vecStages[0].m_strStageFile = "data\\stg4\\road-1.stg4";
  p.m_vecStages[1].m_strStageFile = "data\\stg4\\c01-1.stg4";
  p.m_vecStages[1].m_bSuffix = 1;
  p.m_vecStages[1].m_nSuffix1 = 7;
  p.m_vecStages[1].m_nSuffix2 = 2;
  p.m_vecStages[2].m_strStageFile = "data\\stg4\\abc.stg4";
  cStageResult res;
  struct CASE {
    const char* szName;
    int32_t bSuffix, a, b;
    int nResult;
  };
  const CASE cases[] = {
      {"data\\stg4\\c01.", 1, 7, 2, 1}, {"data\\stg4\\c01.", 1, 7, 3, 0},
      {"data\\stg4\\c01.", 0, 0, 0, 0}, {"data\\stg4\\abc.", 0, 0, 0, 1},
      {"data\\stg4\\ABC.", 0, 0, 0, 0}, {"data\\stg4\\road.", 0, 0, 0, 0},
  };
  for (const CASE& c : cases) {
    res.m_strName = c.szName;
    EXPECT_EQ(map.HasStageEntry(res, c.bSuffix, c.a, c.b), c.nResult) << c.szName << c.bSuffix;
  }
}

TEST(WorldMap, DamagedFilesFailCleanly) {
  cWorldMap map;
  map.SetSize(5, 3);
  map.m_vecPoints.resize(2);
  map.m_vecPoints[1].m_nX = 4;
  map.m_vecPoints[1].m_vecStages.resize(2);
  Bytes file = map.SaveToBytes();
  ExpectTruncationFails<cWorldMap>(file);
  ExpectHugeCountsSurvive<cWorldMap>(file);
  // A grid no editor makes is refused instead of built.
  for (int32_t w : {-1, 1 << 22}) {
    Bytes bad = file;
    for (int k = 0; k < 4; ++k) bad[8 + k] = static_cast<uint8_t>(w >> (8 * k));
    cWorldMap back;
    EXPECT_EQ(back.LoadFromBytes(bad.data(), bad.size()), 0) << w;
  }
}

}  // namespace
