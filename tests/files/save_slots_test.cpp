// Story slots and the challenge file: names, summaries, the lives rule of a
// load, and saves that fail or files that are not what they should be.
#include "files/save_slots.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "platform/fs/file_system.h"

namespace {

using Bytes = std::vector<uint8_t>;

class SaveSlots : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Dir.Write("user_data/story/.keep", "");
    m_Dir.Write("user_data/challenge/.keep", "");
    m_Time.wYear = 2009;
    m_Time.wMonth = 3;
    m_Time.wDay = 7;
    m_Time.wHour = 8;
    m_Time.wMinute = 5;
    SetTestLocalTime(&m_Time);
  }
  void TearDown() override {
    SetTestLocalTime(nullptr);
    plat::fs::SetWriteFaultAfter(-1);
    g_PlayData = cPlayData();
    g_SystemData = cSystemData();
    g_SaveSlots.assign(kStorySlotCount, cSaveSlotData());
  }
  Bytes SlotFile(int n) {
    std::string strPath;
    MakeStorySlotPath(strPath, n);
    for (char& c : strPath)
      if (c == '\\') c = '/';
    return ReadTestFile(m_Dir / strPath);
  }

  cTempFolder m_Dir{true};
  SYSTEMTIME m_Time;
  cBoxCapture m_Boxes;
};

TEST_F(SaveSlots, SlotFileNamesAndTimes) {
  const std::pair<int, const char*> names[] = {{0, "user_data\\story\\Story01.dat"},
                                               {9, "user_data\\story\\Story10.dat"},
                                               {98, "user_data\\story\\Story99.dat"}};
  for (auto [n, szName] : names) {
    std::string str;
    MakeStorySlotPath(str, n);
    EXPECT_EQ(str, szName);
  }
  EXPECT_EQ(FormatSlotTime(m_Time), "2009/03/07 08:05");
}

TEST_F(SaveSlots, SavedSlotsAreListedAndLoadBack) {
  g_PlayData.m_nStageNo = 12;
  g_PlayData.m_nLives = 3;
  ASSERT_EQ(g_PlayData.SaveSlot(2), 1);
  EXPECT_EQ(g_SaveSlots[2].m_bUsed, 1);
  EXPECT_EQ(g_SaveSlots[2].m_Time.wDay, 7);

  // Slot 4 holds a stage, slot 5 half a play record.
  WriteTestFile(m_Dir / "user_data/story/Story05.dat", cStageData().SaveToBytes());
  Bytes half = SlotFile(2);
  half.resize(half.size() / 2);
  WriteTestFile(m_Dir / "user_data/story/Story06.dat", half);

  cSafeVector<cSaveSlotData> slots(kStorySlotCount);
  slots[4].m_bUsed = 1;
  ReadStorySlotInfo(slots);
  for (int n = 0; n < kStorySlotCount; ++n) EXPECT_EQ(slots[n].m_bUsed, n == 2 ? 1 : 0) << n;
  EXPECT_EQ(FormatSlotTime(slots[2].m_Time), "2009/03/07 08:05");

  cPlayData play;
  ASSERT_EQ(play.LoadSlot(2), 1);
  EXPECT_EQ(play.m_nStageNo, 12);
  // A slot that is no play record leaves the play as it was.
  play.m_nStageNo = 99;
  for (int n : {4, 5, 7}) {
    EXPECT_EQ(play.LoadSlot(n), 0) << n;
    EXPECT_EQ(play.m_nStageNo, 99);
  }
}

TEST_F(SaveSlots, LivesRuleOfALoadedPlay) {
  struct CASE {
    int32_t bUnlimited;
    int32_t nStartLives;
    int32_t nSavedCount, nSavedLives;
    int32_t nCount, nLives;
  };
  const CASE cases[] = {
      {1, 5, 3, 2, 999999, 999999},
      {0, 5, 999999, 999999, 999999, 5},  // saved while unlimited, limited now
      {0, 5, 4, 2, 4, 2},
  };
  for (const CASE& c : cases) {
    g_PlayData.m_nLifeCount = c.nSavedCount;
    g_PlayData.m_nLives = c.nSavedLives;
    ASSERT_EQ(g_PlayData.SaveSlot(0), 1);
    ASSERT_EQ(g_PlayData.SaveChallenge(), 1);
    for (int nMode : {PLAYMODE_STORY, PLAYMODE_CHALLENGE}) {
      g_SystemData.m_vUnlimitedLives.assign(4, 1 - c.bUnlimited);
      g_SystemData.m_vStartLives.assign(4, 1);
      g_SystemData.m_vUnlimitedLives[nMode] = c.bUnlimited;
      g_SystemData.m_vStartLives[nMode] = c.nStartLives;
      cPlayData play;
      ASSERT_EQ(nMode == PLAYMODE_STORY ? play.LoadSlot(0) : play.LoadChallenge(), 1);
      EXPECT_EQ(play.m_nLifeCount, c.nCount) << nMode;
      EXPECT_EQ(play.m_nLives, c.nLives) << nMode;
    }
  }
}

TEST_F(SaveSlots, FailedSaveKeepsTheOldFileAndSaysSo) {
  g_PlayData.m_nStageNo = 1;
  ASSERT_EQ(g_PlayData.SaveSlot(2), 1);
  const Bytes before = SlotFile(2);
  g_SaveSlots[2].m_Time.wDay = 1;
  g_SaveSlots[3].m_bUsed = 0;

  m_Time.wDay = 8;
  g_PlayData.m_nStageNo = 2;
  cReportLog report;
  for (long long nAfter : {0LL, 10LL, static_cast<long long>(before.size()) - 1}) {
    plat::fs::SetWriteFaultAfter(nAfter);
    EXPECT_EQ(g_PlayData.SaveSlot(2), 0);
    EXPECT_EQ(g_PlayData.SaveSlot(3), 0);
    EXPECT_EQ(g_PlayData.SaveChallenge(), 0);
    plat::fs::SetWriteFaultAfter(-1);
    EXPECT_EQ(SlotFile(2), before);
    EXPECT_TRUE(SlotFile(3).empty());
  }
  EXPECT_EQ(g_SaveSlots[2].m_Time.wDay, 1);
  EXPECT_EQ(g_SaveSlots[3].m_bUsed, 0);
  ASSERT_EQ(m_Boxes.Texts().size(), 9u);
  EXPECT_EQ(m_Boxes.Texts()[0], "user_data\\story\\Story03.dat の保存に失敗しました！");
  EXPECT_EQ(m_Boxes.Texts()[2], "user_data\\challenge\\Challenge.dat の保存に失敗しました！");
  EXPECT_NE(report.Text().find("user_data\\story\\Story03.dat"), std::string::npos);

  cPlayData play;
  ASSERT_EQ(play.LoadSlot(2), 1);
  EXPECT_EQ(play.m_nStageNo, 1);
}

TEST_F(SaveSlots, MissingChallengeFileLeavesThePlay) {
  cPlayData play;
  play.m_nStageNo = 5;
  EXPECT_EQ(play.LoadChallenge(), 0);
  EXPECT_EQ(play.m_nStageNo, 5);
}

}  // namespace
