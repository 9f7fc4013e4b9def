// The tables built from the database after loading: step sequences of the
// animations and effects, and the two run tables of each effect list.
#include "database/post_load_tables.h"

#include <gtest/gtest.h>

#include "database_test_support.h"

bool operator==(const ANIMESTEP& a, const ANIMESTEP& b) {
  return a.nCell == b.nCell && a.nTicks == b.nTicks && a.bLock == b.bLock;
}
void PrintTo(const ANIMESTEP& s, std::ostream* os) {
  *os << "{" << s.nCell << ", " << s.nTicks << ", " << s.bLock << "}";
}

namespace {

using Steps = std::vector<ANIMESTEP>;

Steps Seq(const ANIMESEQUENCE& s) { return Steps(s.begin(), s.end()); }

// The tables read the global database; each test starts from the defaults
// and leaves them behind.
class PostLoadTables : public testing::Test {
 protected:
  void SetUp() override { Database.SetDefault(); }
  void TearDown() override { Database.SetDefault(); }
};

cEdAnimeFrame Frame(int32_t nCell, int32_t nTime, int32_t nLock) {
  cEdAnimeFrame f;
  f.m_nCell = nCell;
  f.m_nTime = nTime;
  f.m_nLock = nLock;
  return f;
}

TEST_F(PostLoadTables, AnimationSequences) {
  Database.m_vecAnime.resize(5);
  Database.m_vecAnime[0].m_vecFrame = {Frame(9, 4, 0)};
  Database.m_vecAnime[1].m_vecFrame.clear();
  Database.m_vecAnime[3].m_vecFrame = {Frame(5, 2, 0), Frame(6, 1, 1), Frame(7, 3, 0)};
  Database.m_vecAnime[4].m_vecFrame.clear();
  cSafeVector<ANIMESEQUENCE> table;
  table.resize(9);
  BuildAnimeFrameTable(table);
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(Seq(table[0]), (Steps{{9, 0, 1}, {-2, 0, 1}}));
  EXPECT_EQ(Seq(table[1]), (Steps{{-4, 0, 0}}));
  EXPECT_EQ(Seq(table[3]), (Steps{{5, 12, 0}, {6, 6, 1}, {7, 18, 1}, {-4, 0, 0}}));

  Database.m_vecAnime[0].m_vecFrame.clear();
  BuildAnimeFrameTable(table);
  EXPECT_EQ(Seq(table[0]), (Steps{{-2, 0, 1}}));
}

TEST_F(PostLoadTables, EffectSequences) {
  Database.m_vecEffect.resize(3);
  cEdEffectFrame a, b;
  a.m_nCell = 0;
  a.m_nTime = 1;
  b.m_nCell = 1;
  b.m_nTime = 2;
  Database.m_vecEffect[0].m_vecFrame = {b};
  Database.m_vecEffect[1].m_vecFrame = {a, b};
  Database.m_vecEffect[2].m_vecFrame.clear();
  cSafeVector<ANIMESEQUENCE> table;
  BuildEffectFrameTable(table);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(Seq(table[0]), (Steps{{1, 0, 1}, {-2, 0, 1}}));
  EXPECT_EQ(Seq(table[1]), (Steps{{0, 6, 0}, {1, 12, 0}, {-4, 0, 0}}));
  EXPECT_EQ(Seq(table[2]), (Steps{{-4, 0, 0}}));
}

TEST_F(PostLoadTables, ReversedRunsUseExchangedCopies) {
  Database.m_vecCharaEffect.resize(5);
  const int32_t kinds[5] = {0, 1, 6, 12, 16};
  for (int i = 0; i < 5; ++i) {
    cEdCharaEffect& def = Database.m_vecCharaEffect[i];
    def.m_nKind = kinds[i];
    for (int p = 0; p < 5; ++p) def.m_anParam[p] = 10 * i + p;
  }
  Database.m_vecScrEffect.resize(3);
  Database.m_vecScrEffect[1].m_nKind = 1;  // movement: two points
  Database.m_vecScrEffect[2].m_nKind = 2;  // shaking runs on time
  for (int i = 0; i < 3; ++i)
    for (int p = 0; p < 5; ++p) Database.m_vecScrEffect[i].m_anParam[p] = p + 1;
  Database.MakeAltLists();

  cSafeVector<cCharaEffectRun> runs, runsAlt;
  BuildCharaEffectTables(runs, runsAlt);
  ASSERT_EQ(runs.size(), 5u);
  ASSERT_EQ(runsAlt.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(runs[i].m_nEffect, i);
    EXPECT_EQ(runsAlt[i].m_nEffect, i);
    EXPECT_EQ(&runs[i].GetDef(), &Database.m_vecCharaEffect[i]);
    EXPECT_EQ(&runsAlt[i].GetDef(), &Database.m_vecCharaEffectAlt[i]);
    const int32_t* loaded = Database.m_vecCharaEffect[i].m_anParam;
    const int32_t* alt = Database.m_vecCharaEffectAlt[i].m_anParam;
    EXPECT_EQ(loaded[1], 10 * i + 1);  // the loaded list stays as read
    EXPECT_EQ(loaded[2], 10 * i + 2);
    const bool bRange = kinds[i] != 0 && kinds[i] != 6;
    EXPECT_EQ(alt[1], bRange ? loaded[2] : loaded[1]);
    EXPECT_EQ(alt[2], bRange ? loaded[1] : loaded[2]);
    EXPECT_EQ(alt[0], loaded[0]);
    EXPECT_EQ(alt[3], loaded[3]);
  }

  cSafeVector<cScrEffectRun> scr, scrAlt;
  BuildScrEffectTables(scr, scrAlt);
  ASSERT_EQ(scrAlt.size(), 3u);
  const int32_t* move = Database.m_vecScrEffectAlt[1].m_anParam;
  EXPECT_EQ((std::vector<int32_t>(move, move + 5)), (std::vector<int32_t>{1, 4, 5, 2, 3}));
  const int32_t* shake = Database.m_vecScrEffectAlt[2].m_anParam;
  EXPECT_EQ((std::vector<int32_t>(shake, shake + 5)), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(&scrAlt[1].GetDef(), &Database.m_vecScrEffectAlt[1]);
}

TEST_F(PostLoadTables, EmptyListsGiveEmptyTables) {
  Database.m_vecAnime.clear();
  Database.m_vecEffect.clear();
  Database.m_vecCharaEffect.clear();
  Database.m_vecScrEffect.clear();
  Database.MakeAltLists();
  cSafeVector<ANIMESEQUENCE> anime, effect;
  cSafeVector<cCharaEffectRun> runs, runsAlt;
  cSafeVector<cScrEffectRun> scr, scrAlt;
  BuildAnimeFrameTable(anime);
  BuildEffectFrameTable(effect);
  BuildCharaEffectTables(runs, runsAlt);
  BuildScrEffectTables(scr, scrAlt);
  EXPECT_TRUE(anime.empty());
  EXPECT_TRUE(effect.empty());
  EXPECT_TRUE(runsAlt.empty());
  EXPECT_TRUE(scrAlt.empty());
}

}  // namespace
