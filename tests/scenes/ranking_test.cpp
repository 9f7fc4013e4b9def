// Rankings: where a value enters a table by its order, the file as it is
// stored (round trip, old and damaged files), the file of each kind of play,
// loading and saving through the folders, and the drawn table.
#include "scenes/ranking.h"

#include <gtest/gtest.h>

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/font_tables.h"
#include "files/system_data.h"
#include "scenes/scene_manager.h"
#include "support/box_glyphs.h"
#include "support/byte_builder.h"
#include "support/draw_setup.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A table of the given order whose first rows hold these values.
cRankList Table(int32_t bHigherBetter, std::initializer_list<int32_t> values) {
  cRankList t;
  t.m_bHigherBetter = bHigherBetter;
  int i = 0;
  for (int32_t v : values) {
    cRankData& row = t.m_vRows.At(i++);
    row.m_bValid = 1;
    row.m_strName = "r" + std::to_string(i);
    row.m_nValue = v;
  }
  return t;
}

std::vector<int32_t> Values(const cRankList& t) {
  std::vector<int32_t> v;
  for (const cRankData& row : t.m_vRows) v.push_back(row.m_bValid ? row.m_nValue : -99);
  return v;
}

TEST(Ranking, WhereAValueEntersByTheTablesOrder) {
  const std::initializer_list<int32_t> full = {200, 190, 180, 170, 160, 150, 140, 130, 120, 110,
                                               100, 90,  80,  70,  60,  50,  40,  30,  20,  10};
  const std::initializer_list<int32_t> times = {10, 20, 30};
  const struct {
    const char* szWhat;
    cRankList table;
    int32_t nValue;
    int nPos;
  } cases[] = {
      {"a tie with the last row of a full table does not enter", Table(1, full), 10, -1},
      {"below every row of a full table", Table(1, full), 5, -1},
      {"better than the first row", Table(1, full), 201, 0},
      {"a tie goes below the row it ties", Table(1, full), 150, 6},
      {"between rows", Table(1, full), 155, 5},
      {"an empty table takes any value at its first row", Table(1, {}), -5, 0},
      {"an empty row takes what beats no valid row", Table(1, {50, 40}), 1, 2},
      {"lower is better: a faster time goes first", Table(0, times), 5, 0},
      {"lower is better: a tie goes below", Table(0, times), 20, 2},
      {"lower is better: a slower time fills the first empty row", Table(0, times), 99, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.table.GetRankPos(c.nValue), c.nPos) << c.szWhat;
    cRankList t = c.table;
    t.Insert("abc", c.nValue);
    ASSERT_EQ(t.m_vRows.size(), 20u) << c.szWhat;
    if (c.nPos < 0) {
      EXPECT_EQ(Values(t), Values(c.table)) << c.szWhat;
      continue;
    }
    // The new row sits at its place, the rows below move down by one and
    // the last one drops out.
    std::vector<int32_t> want = Values(c.table);
    want.insert(want.begin() + c.nPos, c.nValue);
    want.pop_back();
    EXPECT_EQ(Values(t), want) << c.szWhat;
    EXPECT_EQ(t.m_vRows.At(c.nPos).m_strName, "abc");
  }
}

TEST(Ranking, NamesEnterAsLongAsTheNameBoxAllows) {
  const struct {
    std::string strIn, strOut;
  } cases[] = {
      {"", ""},
      {"ab", "ab"},
      {"abcdefgh", "abc"},
      // Two double-byte characters and one single-byte one make three.
      {"\x82\xa0\x82\xa2"
       "cd",
       "\x82\xa0\x82\xa2"
       "c"},
      {std::string(5000, 'x'), "xxx"},
  };
  for (const auto& c : cases) {
    cRankList t;
    t.Insert(c.strIn, 1);
    EXPECT_EQ(t.m_vRows.At(0).m_strName, c.strOut);
  }
}

// A stored table: its order flag and rows of (valid, value, name).
cByteBuilder& PutTable(cByteBuilder& b, int32_t nOrder, int nRows,
                       const std::vector<std::tuple<int32_t, int32_t, std::string>>& rows = {}) {
  b.Count(1).I32(nOrder).Count(0).Count(static_cast<uint32_t>(nRows));
  for (int i = 0; i < nRows; ++i) {
    if (static_cast<size_t>(i) < rows.size()) {
      const auto& [bValid, nValue, strName] = rows[static_cast<size_t>(i)];
      b.Count(2).I32(bValid).I32(nValue).Count(1).Str(strName);
    } else {
      b.Count(2).I32(0).I32(0).Count(1).Str("");
    }
  }
  return b;
}

TEST(Ranking, FileLayoutAndRoundTrip) {
  cRanking ranking;
  cByteBuilder b = cByteBuilder::File(783).Count(0).Count(0).Count(5);
  for (int32_t nOrder : {1, 1, 0, 1, 1}) PutTable(b, nOrder, 20);
  const Bytes defaults = b.Bytes();
  EXPECT_EQ(ranking.SaveToBytes(), defaults);

  ranking.m_vTables.At(0).Insert("AAA", 500);
  ranking.m_vTables.At(2).Insert("", 6543);
  cByteBuilder e = cByteBuilder::File(783).Count(0).Count(0).Count(5);
  PutTable(e, 1, 20, {{1, 500, "AAA"}});
  PutTable(e, 1, 20);
  PutTable(e, 0, 20, {{1, 6543, ""}});
  PutTable(e, 1, 20);
  PutTable(e, 1, 20);
  const Bytes file = e.Bytes();
  EXPECT_EQ(ranking.SaveToBytes(), file);

  cRanking back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), file) << "byte for byte";
}

// What a ranking holds, table by table: order flag, row count, valid rows.
std::string Shape(const cRanking& r) {
  std::string s;
  for (const cRankList& t : r.m_vTables) {
    int nValid = 0;
    for (const cRankData& row : t.m_vRows) nValid += row.m_bValid;
    s += std::to_string(t.m_bHigherBetter) + "/" + std::to_string(t.m_vRows.size()) + "/" +
         std::to_string(nValid) + " ";
  }
  return s;
}

TEST(Ranking, OldAndOddFilesAreBroughtToFiveTablesOfTwenty) {
  const std::string kDefaults = "1/20/0 1/20/0 0/20/0 1/20/0 1/20/0 ";
  auto Three = [](uint32_t nVersion) {
    cByteBuilder b = cByteBuilder::File(nVersion).Count(0).Count(0).Count(3);
    PutTable(b, 1, 20, {{1, 7, "old"}});
    PutTable(b, 0, 20);
    PutTable(b, 0, 20);
    return b.Bytes();
  };
  auto Seven = [] {
    cByteBuilder b = cByteBuilder::File(783).Count(0).Count(0).Count(7);
    for (int i = 0; i < 7; ++i) PutTable(b, 0, 20);
    return b.Bytes();
  };
  auto RowCounts = [] {
    cByteBuilder b = cByteBuilder::File(783).Count(0).Count(0).Count(5);
    PutTable(b, 1, 0);
    PutTable(b, 1, 25, {{1, 3, "x"}});
    for (int i = 0; i < 3; ++i) PutTable(b, 0, 20);
    return b.Bytes();
  };
  const struct {
    const char* szWhat;
    Bytes file;
    std::string strShape;
  } cases[] = {
      {"an old file of three tables: its tables, then two ranking high values", Three(180),
       "1/20/1 0/20/0 0/20/0 1/20/0 1/20/0 "},
      {"a newer file of three tables: the missing two as by default", Three(181),
       "1/20/1 0/20/0 0/20/0 1/20/0 1/20/0 "},
      {"no tables at all", cByteBuilder::File(783).Count(0).Count(0).Count(0).Bytes(), kDefaults},
      {"seven tables: the extra ones cut", Seven(), "0/20/0 0/20/0 0/20/0 0/20/0 0/20/0 "},
      {"a table of no rows and one of 25", RowCounts(), "1/20/0 1/20/1 0/20/0 0/20/0 0/20/0 "},
  };
  for (const auto& c : cases) {
    cRanking r;
    ASSERT_EQ(r.LoadFromBytes(c.file.data(), c.file.size()), 1) << c.szWhat;
    EXPECT_EQ(Shape(r), c.strShape) << c.szWhat;
  }
}

TEST(Ranking, DamagedFilesAreRefused) {
  cRanking good;
  good.m_vTables.At(1).Insert("abc", 42);
  const Bytes file = good.SaveToBytes();
  const Bytes truncated(file.begin(), file.end() - 3);
  const Bytes header(file.begin(), file.begin() + 3);
  const struct {
    const char* szWhat;
    Bytes file;
  } cases[] = {
      {"cut short", truncated},
      {"shorter than its header", header},
      {"a table count past the file",
       cByteBuilder::File(783).Count(0).Count(0).Count(0x7FFFFFFF).Bytes()},
      {"a row count past the file", cByteBuilder::File(783)
                                        .Count(0)
                                        .Count(0)
                                        .Count(1)
                                        .Count(1)
                                        .I32(1)
                                        .Count(0)
                                        .Count(1u << 30)
                                        .Bytes()},
      {"more fields in a row than a row has", cByteBuilder::File(783)
                                                  .Count(0)
                                                  .Count(0)
                                                  .Count(1)
                                                  .Count(1)
                                                  .I32(1)
                                                  .Count(0)
                                                  .Count(1)
                                                  .Count(3)
                                                  .I32(1)
                                                  .I32(2)
                                                  .I32(3)
                                                  .Count(0)
                                                  .Bytes()},
      {"a name longer than the file", cByteBuilder::File(783)
                                          .Count(0)
                                          .Count(0)
                                          .Count(1)
                                          .Count(1)
                                          .I32(1)
                                          .Count(0)
                                          .Count(1)
                                          .Count(2)
                                          .I32(1)
                                          .I32(2)
                                          .Count(1)
                                          .U32(1000)
                                          .Bytes()},
      {"newer than the program", cByteBuilder::File(784).Count(0).Count(0).Count(0).Bytes()},
  };
  for (const auto& c : cases) {
    cRanking r;
    r.m_vTables.At(0).Insert("old", 9);
    EXPECT_EQ(r.LoadFromBytes(c.file.data(), c.file.size()), 0) << c.szWhat;
  }
}

TEST(Ranking, FileOfEachKindOfPlay) {
  const struct {
    int nSubMode;
    const char* szBase;
    int32_t bSuffix, n1, n2;
    int nResult;
    const char* szPath;
  } cases[] = {
      {1, "data\\stg4\\c01.", 0, 0, 0, 1, "user_data\\challenge\\c01.rkg"},
      {0, "data\\stg4\\map.", 0, 3, 4, 1, "user_data\\story\\map.rkg"},
      {0, "data\\stg4\\map.", 1, 3, 4, 1, "user_data\\story\\map_c003_4.rkg"},
      {0, "data\\stg4\\map.", 1, 12, 1, 1, "user_data\\story\\map_c012_1.rkg"},
      {2, "stage\\one.", 1, 3, 4, 1, "user_data\\free\\one.rkg"},
      {3, "data\\stg4\\c01.", 0, 0, 0, 0, ""},
      {-1, "data\\stg4\\c01.", 0, 0, 0, 0, ""},
  };
  for (const auto& c : cases) {
    std::string str = "old";
    EXPECT_EQ(MakeRankingPath(str, c.nSubMode, c.szBase, c.bSuffix, c.n1, c.n2), c.nResult);
    EXPECT_EQ(str, c.szPath);
  }
}

TEST(Ranking, LoadAndSaveThroughThePlayersFolder) {
  cTempFolder dir(true);
  std::filesystem::create_directories("user_data/challenge");
  std::filesystem::create_directories("user_data/story");
  cRanking r;
  r.m_vTables.At(0).Insert("abc", 1000);
  ASSERT_EQ(SaveRanking(r, 1, "data\\stg4\\c02.", 0, 0, 0), 1);
  ASSERT_TRUE(dir.Has("user_data/challenge/c02.rkg"));
  EXPECT_EQ(SaveRanking(r, 3, "data\\stg4\\c02.", 0, 0, 0), 0) << "a replay keeps none";

  cRanking loaded;
  EXPECT_EQ(LoadRanking(loaded, 1, "data\\stg4\\c02.", 0, 0, 0), 1);
  EXPECT_EQ(loaded.SaveToBytes(), r.SaveToBytes());

  // Missing, damaged, or a replay: the default tables.
  dir.Write("user_data/story/bad.rkg", std::string("\x0f\x03\x00\x00\x00\x00", 6));
  const struct {
    int nSubMode;
    const char* szBase;
  } defaults[] = {{1, "data\\stg4\\c09."}, {0, "data\\stg4\\bad."}, {3, "data\\stg4\\c02."}};
  for (const auto& c : defaults) {
    cRanking x;
    x.m_vTables.At(0).Insert("old", 1);
    EXPECT_EQ(LoadRanking(x, c.nSubMode, c.szBase, 0, 0, 0), 0) << c.szBase;
    EXPECT_EQ(x.SaveToBytes(), cRanking().SaveToBytes()) << c.szBase;
  }
  EXPECT_EQ(dir.Read("user_data/story/bad.rkg").size(), 6u) << "a damaged file is left alone";

  // A save that cannot be written keeps the old file.
  std::filesystem::remove_all("user_data/free");
  EXPECT_EQ(SaveRanking(r, 2, "data\\stg4\\f.", 0, 0, 0), 0);
}

TEST(Ranking, CountIntValue) {
  const cSafeVector<int32_t> v{-1, 3, -1, 0, -1};
  EXPECT_EQ(CountIntValue(v, -1), 3);
  EXPECT_EQ(CountIntValue(v, 3), 1);
  EXPECT_EQ(CountIntValue(v, 7), 0);
  EXPECT_EQ(CountIntValue({}, 0), 0);
}

constexpr uint32_t kBack = 0x204080, kFrame = 0xFFFF00, kInk = 0xFFFFFF, kMark = 0x00FF00;

class RankListDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Drawing.Ok());
    cHeadlessDrawing::SetColours(
        {{0, 0x000000}, {3, kBack}, {5, kMark}, {240, kFrame}, {241, kInk}});
    const DDFONTDATA& d = g_FontSpec[1];
    g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
    m_SavedSystem = g_SystemData;
    DDSURFACEDATA& sheet = g_SurfaceTable[49];
    ASSERT_TRUE(DDCreateSurface(&sheet, 64, 64, 1, 0, 0, 0, 0));
    DDFillRect(&sheet, 0, 0, 64, 64, 0);
    DDFillRect(&sheet, 16, 48, 16, 16, 5);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[49]);
    g_Font[1].Release();
    g_SystemData = m_SavedSystem;
    g_SceneManager.m_nSubMode = 0;
  }
  static uint32_t At(int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); }
  static bool InkIn(int x, int y, int w) {
    for (int i = x; i < x + w; ++i)
      for (int j = y; j < y + 16; ++j)
        if (At(i, j) == kInk) return true;
    return false;
  }

  boxglyphs::cUseGlyphs m_Glyphs;
  cHeadlessDrawing m_Drawing;
  cSystemData m_SavedSystem;
};

TEST_F(RankListDrawing, RowsValuesTheHintAndTheMark) {
  cRanking r;
  r.m_vTables.At(0).Insert("abc", 12345);
  r.m_vTables.At(0).Insert("de", 7);
  r.m_vTables.At(2).Insert("fgh", 6543);
  g_SceneManager.m_nSubMode = 1;
  auto& mode = g_SystemData.m_vModeRanking.At(1);
  mode.m_bRanking = 1;
  mode.m_vCriteria.assign(5, 0);
  mode.m_vCriteria[0] = mode.m_vCriteria[2] = 1;
  g_SystemData.m_vTexts.At(25) = "VV";

  r.DrawList(&BackBuffer, 100, 50, 0, 1);
  // The frame's box starts one pixel in; its line lies round the box.
  EXPECT_EQ(At(99, 60), kBack);
  EXPECT_EQ(At(100, 60), kFrame);
  // Row 0's value has five digits: values end at the same column, 16 * 14
  // from the left.
  EXPECT_TRUE(InkIn(100 + 16 * 9, 66, 16)) << "12345 starts at cell 9";
  EXPECT_TRUE(InkIn(100 + 16 * 13, 82, 8)) << "7 right-aligned under the 5";
  EXPECT_FALSE(InkIn(100 + 16 * 9, 82, 16 * 4));
  EXPECT_FALSE(InkIn(100 + 16, 98, 16 * 15)) << "empty rows leave their lines blank";
  EXPECT_EQ(At(100, 82), kMark) << "beside row 1";
  EXPECT_EQ(At(100, 66), kFrame);
  // Two tables ranked: the hint one line below the last row, centred.
  EXPECT_TRUE(InkIn(100 + 136 - 16, 50 + 16 * 21, 32));

  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  mode.m_vCriteria[2] = 0;
  r.DrawList(&BackBuffer, 100, 50, 2, -1);
  EXPECT_TRUE(InkIn(100 + 144, 66, 16 * 8)) << "the time text";
  EXPECT_FALSE(InkIn(100 + 120, 50 + 16 * 21, 32)) << "no hint for a single table";
  for (int y = 50; y < 400; ++y) EXPECT_NE(At(100, y), kMark);
}

}  // namespace
