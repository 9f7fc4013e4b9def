// The play progress: its layout, every version gate, the stage key and best
// scores, the retry snapshot, the carried status and the ranking genre.
#include "files/play_data.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "flow/record_fuzz.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Restores the system data, the world map and the stage the play record
// consults.
class PlayData : public ::testing::Test {
 protected:
  void TearDown() override {
    g_SystemData = cSystemData();
    g_WorldMap = cWorldMap();
    g_Stage = cStageData();
    bCommandLineStage = 0;
  }
};

TEST_F(PlayData, NewPlayLayoutAndRoundTrip) {
  cPlayData play;
  EXPECT_EQ(play.m_strPlayerName, "aaa");
  EXPECT_EQ(play.m_nLastSlot, -1);
  EXPECT_EQ(play.m_nChallengeOpen, 1);
  EXPECT_EQ(play.m_vCleared.size(), 1000u);
  EXPECT_EQ(play.m_vCleared[0], 1);
  EXPECT_EQ(play.m_vVars.size(), 1001u);
  EXPECT_EQ(play.m_vHolding.size(), 25u);
  EXPECT_EQ(play.m_vStatus.size(), 1u);
  Bytes file = play.SaveToBytes();
  EXPECT_EQ(ReadU32At(file, 4), 35u);
  EXPECT_EQ(ReadU32At(file, 8 + 35 * 4), 3u);
  // Texts: no stage yet, no key, the name; then the 16-byte save time.
  size_t at = 8 + 35 * 4 + 4;
  EXPECT_EQ(ReadU32At(file, at), 1u);
  EXPECT_EQ(ReadU32At(file, at + 4), 1u);
  EXPECT_EQ(ReadU32At(file, at + 8), 4u);
  at += 12 + 4 + 16;
  EXPECT_EQ(ReadU32At(file, at), 25u);
  // The challenge list follows the project's challenge stage count.
  EXPECT_EQ(play.m_vChallenge.size(), 40u);

  play.SetCurStage("data\\stg4\\c12-1.stg4", 1, 3, 0);
  play.SetStageScore(play.m_strStageBase, play.m_strStageKey, 1, 3, 0, 1234);
  play.m_vStatus[0].m_Chara.m_strName = "勇者";
  play.m_vStatus[0].m_nHP = 17;
  play.m_vChallenge[3].m_bCleared = 1;
  play.m_vVars[1000] = -5;
  play.m_SaveTime.wYear = 2009;
  Bytes first = play.SaveToBytes();
  cPlayData back;
  ASSERT_EQ(back.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), first);
  EXPECT_EQ(back.m_vStatus[0].m_Chara.m_strName, "勇者");
  EXPECT_EQ(back.m_vResults.at(0).m_strKey, "data\\stg4\\c12_c003_0.");
  EXPECT_EQ(back.m_SaveTime.wYear, 2009);
}

struct GATE {
  int nField;  // from 1, in file order
  int32_t nFrom;
  int32_t nOlder;
};
const GATE kPlayGates[] = {
    {6, 758, 0},  {7, 758, 0},  {8, 758, 0},  {18, 182, 0}, {19, 182, 0},
    {22, 166, 1}, {23, 194, 0}, {24, 190, 0}, {25, 191, 0}, {26, 191, 0},
    {29, 169, 0}, {32, 678, 0}, {33, 678, 0}, {34, 678, 0}, {35, 679, 0},
};

Bytes OldPlayFile(cPlayData& src, cStageResult& result, int32_t v) {
  cByteBuilder b = cByteBuilder::File(static_cast<uint32_t>(v));
  AppendFields(b, src, v);
  b.U16(2009).U16(3).U16(6).U16(7).U16(8).U16(5).U16(0).U16(0);
  if (v > 500) {
    b.Count(25);
    for (int i = 0; i < 25; ++i) b.I32(i % 2);
  }
  b.Count(0);  // no carried status
  b.Count(1);
  AppendFields(b, result, v);
  b.Count(0);
  b.Count(1000).Zeros(4000);
  const uint32_t nVars = v < 754 ? 1000 : 1001;
  b.Count(nVars);
  for (uint32_t i = 0; i < nVars; ++i) b.I32(static_cast<int32_t>(i));
  return b.Bytes();
}

TEST_F(PlayData, EveryVersionGateReadsWithItsUpgrade) {
  cPlayData src;
  FillDistinct(src, 100);
  src.m_strStageBase = "data\\stg4\\c01.";
  src.m_strStageKey = "data\\stg4\\c01_c002_3.";
  cStageResult result;
  FillDistinct(result, 10);
  result.m_strName = "data\\stg4\\x.";
  result.m_strKey = "data\\stg4\\x_c001_0.";
  for (int32_t v : {165, 166, 168, 169, 181, 182, 189, 190, 191, 193, 194, 500,
                    501, 677, 678, 679, 723, 724, 753, 754, 757, 758, 759, 783}) {
    SCOPED_TRACE(v);
    Bytes file = OldPlayFile(src, result, v);
    cPlayData play;
    ASSERT_EQ(play.LoadFromBytes(file.data(), file.size()), 1);
    for (const GATE& g : kPlayGates)
      EXPECT_EQ(FieldI32(play, g.nField - 1), v < g.nFrom ? g.nOlder : FieldI32(src, g.nField - 1))
          << "field " << g.nField;
    EXPECT_EQ(play.m_strStageKey, v < 724 ? src.m_strStageBase : src.m_strStageKey);
    // Files up to 500 had no holding flags: everything counts as held.
    EXPECT_EQ(play.m_vHolding.size(), 25u);
    EXPECT_EQ(play.m_vHolding[0], v <= 500 ? 1 : 0);
    EXPECT_EQ(play.m_vHolding[1], 1);
    // Older files had 1000 variables; the last one a flow can name is there
    // all the same.
    ASSERT_EQ(play.m_vVars.size(), 1001u);
    EXPECT_EQ(play.m_vVars[999], 999);
    EXPECT_EQ(play.m_vVars[1000], v < 754 ? 0 : 1000);
    // Results: before 759 the key is the name and there is no suffix.
    const cStageResult& res = play.m_vResults.at(0);
    EXPECT_EQ(res.m_nBest, 13);
    EXPECT_EQ(res.m_strKey, v < 759 ? result.m_strName : result.m_strKey);
    EXPECT_EQ(res.m_bSuffix, v < 759 ? 0 : 10);
    EXPECT_EQ(play.m_SaveTime.wMinute, 5);
  }
}

TEST_F(PlayData, StageKeyAndSuffix) {
  struct CASE {
    const char* szPath;
    int32_t bSuffix, a, b;
    const char* szBase;
    const char* szKey;
  };
  const CASE cases[] = {
      {"data\\stg4\\c12-1.stg4", 1, 3, 0, "data\\stg4\\c12.", "data\\stg4\\c12_c003_0."},
      {"data\\stg4\\c01-1.stg4_783", 0, 7, 2, "data\\stg4\\c01.", "data\\stg4\\c01."},
      {"data\\stg4\\abc.stg4", 0, 0, 0, "data\\stg4\\abc.", "data\\stg4\\abc."},
      {"data\\stg4\\abc.stg4", 1, 1234, -5, "data\\stg4\\abc.", "data\\stg4\\abc_c1234_-5."},
      {"noext", 1, 7, 2, "noext", "noext_c007_2"},
  };
  for (const CASE& c : cases) {
    cPlayData play;
    play.SetCurStage(c.szPath, c.bSuffix, c.a, c.b);
    EXPECT_EQ(play.m_strStageBase, c.szBase) << c.szPath;
    EXPECT_EQ(play.m_strStageKey, c.szKey) << c.szPath;
    EXPECT_EQ(play.m_nSuffix1, c.a);
  }
}

TEST_F(PlayData, BestScoresAndTheirTotal) {
  cPlayData play;
  play.SetStageScore("data\\stg4\\c01.", "data\\stg4\\c01.", 0, 0, 0, 500);
  play.SetStageScore("data\\stg4\\c01.", "data\\stg4\\c01.", 0, 0, 0, 300);
  EXPECT_EQ(play.m_nBestTotal, 500);
  play.SetStageScore("data\\stg4\\c01.", "data\\stg4\\c01_c007_2.", 1, 7, 2, 200);
  play.SetStageScore("data\\stg4\\c01.", "data\\stg4\\c01.", 0, 0, 0, 650);
  EXPECT_EQ(play.m_nBestTotal, 850);
  EXPECT_EQ(play.m_vResults.size(), 2u);
  EXPECT_EQ(play.GetStageScore("data\\stg4\\c01."), 650);
  EXPECT_EQ(play.GetStageScore("data\\stg4\\c01_c007_2."), 200);
  EXPECT_EQ(play.GetStageScore("data\\stg4\\C01."), 0);

  // Only results whose stage the map still has count.
  g_WorldMap.m_vecPoints.resize(1);
  cWorldStage& e = g_WorldMap.m_vecPoints[0].m_vecStages.at(0);
  e.m_strStageFile = "data\\stg4\\c01-1.stg4";
  e.m_bSuffix = 1;
  e.m_nSuffix1 = 7;
  e.m_nSuffix2 = 2;
  play.CalcTotalScore();
  EXPECT_EQ(play.m_nBestTotal, 200);
}

TEST_F(PlayData, CursorOutsideTheMapGoesToItsStart) {
  cPlayData play;
  play.m_nMapX = 25;
  play.m_nMapY = -1;
  play.m_nChallengeOpen = 99;
  Bytes file = play.SaveToBytes();
  cPlayData back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.m_nMapX, 9);
  EXPECT_EQ(back.m_nMapY, 7);
  EXPECT_EQ(back.m_nChallengeOpen, 40);
  g_SystemData.m_nChallengeStages = -3;
  back.Validate();
  EXPECT_TRUE(back.m_vChallenge.empty());
}

TEST_F(PlayData, RetrySnapshot) {
  struct CASE {
    int bAll;
    int nMode;
    int bDirect;
    bool bVars;
    bool bLives;
  };
  // The restore switches: file 1, story 0, challenge 1, free 0.
  const CASE cases[] = {
      {1, PLAYMODE_STORY, 0, true, true},      {0, PLAYMODE_STORY, 0, false, false},
      {0, PLAYMODE_CHALLENGE, 0, true, false}, {0, PLAYMODE_FREE, 0, false, false},
      {0, PLAYMODE_REPLAY, 0, true, false},    {0, PLAYMODE_FREE, 1, true, false},
  };
  g_SystemData.m_bRetryRestoreFile = 1;
  g_SystemData.m_bRetryRestoreStory = 0;
  g_SystemData.m_bRetryRestoreChallenge = 1;
  g_SystemData.m_bRetryRestoreFree = 0;
  for (const CASE& c : cases) {
    bCommandLineStage = c.bDirect;
    cPlayData play;
    play.m_vVars[5] = 1;
    play.m_nLives = 3;
    play.m_nTotalScore = 100;
    play.SaveRetryState();
    play.m_vVars[5] = 2;
    play.m_nLives = 2;
    play.m_nTotalScore = 400;
    EXPECT_EQ(play.LoadRetryState(c.bAll, c.nMode), 100);
    EXPECT_EQ(play.m_vVars[5], c.bVars ? 1 : 2) << c.bAll << c.nMode << c.bDirect;
    EXPECT_EQ(play.m_nLives, c.bLives ? 3 : 2) << c.bAll << c.nMode << c.bDirect;
  }
}

TEST_F(PlayData, CarriedStatusFollowsTheCarryAndResetLists) {
  cPlayData play;
  cEdChara hero;
  // Nothing stored: nothing restored.
  cEdChara untouched = hero;
  untouched.m_sGraphic = 0;
  play.RestoreCharaStatus(0, untouched);
  EXPECT_EQ(untouched.m_sGraphic, 0);

  // Carried: the picture (0), the appearance effect (4), HP (11), max HP
  // (13), the flows (21) and the stage's time limit (22).
  g_SystemData.m_vCarryFlags.assign(25, 0);
  for (int i : {0, 4, 11, 13, 21, 22}) g_SystemData.m_vCarryFlags[i] = 1;
  hero.m_sGraphic = 0;
  hero.m_sGraphicCell = 9;
  hero.m_nMaxHP = 77;
  hero.m_nMaxSP = 66;
  hero.m_vecFlows.resize(2);
  hero.m_vecFlows[1].m_cTrigger = 5;
  play.StoreCharaStatus(0, hero, 31, 12, 4, 1, 2, 150, 3, 8);
  EXPECT_EQ(play.m_bStatusStored, 1);
  EXPECT_EQ(play.m_vHolding[13], 1);
  EXPECT_EQ(play.m_vHolding[14], 0);

  cEdChara next;
  play.RestoreCharaStatus(0, next);
  EXPECT_EQ(next.m_sGraphic, 1);  // a stored 0 comes back as at least 1
  EXPECT_EQ(next.m_sGraphicCell, 9);
  EXPECT_EQ(next.m_sAppearEffect, 4);
  EXPECT_EQ(next.m_cAppearVariant, 1);
  EXPECT_EQ(next.m_cAppearSetting, 2);
  EXPECT_EQ(next.m_nMaxHP, 77);
  EXPECT_EQ(next.m_nMaxSP, 0);
  ASSERT_EQ(next.m_vecFlows.size(), 2u);
  EXPECT_EQ(next.m_vecFlows[1].m_cTrigger, 5);
  EXPECT_EQ(g_Stage.m_nTimeLimit, 150);
  int32_t nHP = 0, nSP = 0;
  play.RestoreExtraStatus(0, &nHP, &nSP);
  EXPECT_EQ(nHP, 31);
  EXPECT_EQ(nSP, 0);

  // A defeat drops what the reset list names.
  g_SystemData.m_vResetFlags.assign(25, 0);
  g_SystemData.m_vResetFlags[13] = 1;
  play.ClearStatusFlags();
  EXPECT_EQ(play.m_vHolding[13], 0);
  EXPECT_EQ(play.m_vHolding[0], 1);
  cEdChara later;
  play.RestoreCharaStatus(0, later);
  EXPECT_EQ(later.m_nMaxHP, 10);
  EXPECT_EQ(later.m_sGraphicCell, 9);
}

TEST_F(PlayData, RankingGenreStepsOverEnabledGenres) {
  struct CASE {
    std::vector<uint8_t> enabled;
    int32_t nFrom;
    int n;
    int32_t nTo;
  };
  const CASE cases[] = {
      {{1, 0, 1, 0, 1}, 0, 1, 2}, {{1, 0, 1, 0, 1}, 4, 1, 0}, {{1, 0, 1, 0, 1}, 0, -1, 4},
      {{1, 0, 1, 0, 1}, 2, 2, 0}, {{0, 0, 0, 1, 0}, 1, 0, 3}, {{0, 0, 0, 1, 0}, 3, 0, 3},
      {{0, 0, 0, 0, 0}, 2, 1, 2}, {{1, 1, 1, 1, 1}, 7, 1, 3}, {{1, 1, 1, 1, 1}, -1, 0, 4},
  };
  for (const CASE& c : cases) {
    g_SystemData.m_vModeRanking.At(1).m_vCriteria.assign(c.enabled.begin(), c.enabled.end());
    cPlayData play;
    play.m_nRankGenre = c.nFrom;
    play.StepSelection(1, c.n);
    EXPECT_EQ(play.m_nRankGenre, c.nTo) << c.nFrom << " by " << c.n;
  }
}

TEST_F(PlayData, NextRoundClearsTheStagesAndReturnsToTheStart) {
  cPlayData play;
  play.m_vCleared[5] = 1;
  play.m_nMapX = 3;
  play.StartNextRound();
  EXPECT_EQ(play.m_nRound, 1);
  EXPECT_EQ(play.m_vCleared[0], 0);
  EXPECT_EQ(play.m_vCleared[5], 0);
  EXPECT_EQ(play.m_nMapX, 9);
  EXPECT_EQ(play.m_nMapY, 7);
}

TEST_F(PlayData, DamagedFilesFailCleanly) {
  cPlayData play;
  play.m_vResults.resize(2);
  play.m_vCleared.resize(3);
  play.m_vVars.resize(3);
  g_SystemData.m_nChallengeStages = 2;
  Bytes file = play.SaveToBytes();
  ExpectTruncationFails<cPlayData>(file);
  ExpectHugeCountsSurvive<cPlayData>(file);
  // Trailing bytes make it something other than a play record.
  Bytes longer = file;
  longer.push_back(0);
  cPlayData back;
  cDataReader r(longer.data() + 4, longer.size() - 4, 783);
  EXPECT_EQ(ReadPlayRecordWhole(back, r), 0);
}

}  // namespace
