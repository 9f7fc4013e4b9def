// Play started straight from a stage or replay file: the play record of a
// new play, the lives, a replay that plays back whatever mode chose it, and
// the scene manager sent to the play scene at once.
#include "scenes/stage_start.h"

#include <gtest/gtest.h>

#include "base/program_state.h"
#include "files/files_test_support.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "platform/fs/file_system.h"
#include "scenes/scene_manager.h"

namespace {

cStageData NamedStage(const std::string& strName) {
  cStageData s;
  s.m_strName = strName;
  s.m_nWidth = 25;
  s.m_nHeight = 15;
  s.m_vecCharas.resize(1);
  s.m_vecCharas[0].m_cOperator = 0;
  return s;
}

class StageStart : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* szName : {"data/stg4/c01-1.stg4_100", "data/stg4/c01-1.stg4_783"}) {
      m_Dir.Write(szName, "");
      WriteTestFile(m_Dir / szName,
                    NamedStage(std::string(szName).find("783") != std::string::npos ? "new" : "old")
                        .SaveToBytes());
    }
    plat::fs::ForgetListings();
  }
  void TearDown() override {
    g_Stage = cStageData();
    g_StageCopy = cStageData();
    g_PlayData = cPlayData();
    g_KeyLog.Reset();
    g_SystemData = cSystemData();
    bCommandLineStage = 0;
    g_SceneManager.m_nGameMode = g_SceneManager.m_nSubMode = g_SceneManager.m_nModeFlag = 0;
    g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = 0;
    g_SceneManager.m_nPrevScene = 0;
  }

  cTempFolder m_Dir{true};
  cBoxCapture m_Boxes;
  cCloseCounter m_Closes;
};

TEST_F(StageStart, StageStartedFromAFile) {
  g_SystemData.m_vUnlimitedLives.assign(4, 0);
  g_SystemData.m_vStartLives.assign(4, 6);
  g_PlayData.m_strPlayerName = "zzz";
  g_SceneManager.m_nGameMode = GAMEMODE_FREE;
  ASSERT_EQ(StartStageFile("data\\stg4\\c01-1.stg4", 1), 1);
  EXPECT_EQ(g_Stage.m_strName, "new");
  EXPECT_EQ(g_StageCopy.m_strName, "new");
  EXPECT_EQ(g_PlayData.m_strPlayerName, "aaa");
  EXPECT_EQ(g_PlayData.m_nStageNo, 1);
  EXPECT_EQ(g_PlayData.m_nPartNo, 1);
  EXPECT_EQ(g_PlayData.m_nLifeCount, 6);
  EXPECT_EQ(g_PlayData.m_nLives, 5);
  EXPECT_EQ(g_PlayData.m_strStageBase, "data\\stg4\\c01.");
  EXPECT_EQ(g_SceneManager.m_nGameMode, GAMEMODE_FREE);
  // Started on the command line: lives are unlimited, and play starts at
  // once in free play.
  bCommandLineStage = 1;
  ASSERT_EQ(StartStageFile("data\\stg4\\c01-1.stg4_783", 1), 1);
  EXPECT_EQ(g_PlayData.m_nLives, 999999);
  PlayStageFileAtOnce();
  EXPECT_EQ(g_SceneManager.m_nGameMode, GAMEMODE_FREE);
  EXPECT_EQ(g_SceneManager.m_nSubMode, PLAYMODE_FREE);
  EXPECT_EQ(g_SceneManager.m_nModeFlag, 1);
  EXPECT_EQ(g_SceneManager.m_nCurrentScene, SCENE_PLAY);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_TITLE);
  EXPECT_TRUE(m_Boxes.Texts().empty());
}

TEST_F(StageStart, AReplayFilePlaysAsAReplay) {
  cStageData played = NamedStage("replayed");
  played.Normalize();
  cKeyLog log;
  log.AddKey(1, 2);
  log.m_nSeed = 31;
  cPlayData start;
  ASSERT_EQ(log.SaveReplay("data\\stg4\\r.RPL4_783", played, played, start), 1);
  // Chosen in free play's chooser, or named at start: a replay either way.
  for (bool bAtStart : {false, true}) {
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
    ASSERT_EQ(StartStageFile("data\\stg4\\r.RPL4_783", 1), 1);
    if (bAtStart) PlayStageFileAtOnce();
    EXPECT_EQ(g_Stage.m_strName, "replayed");
    EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\r.RPL4_783");
    EXPECT_EQ(g_KeyLog.m_nSeed, 31);
    EXPECT_EQ(g_SceneManager.m_nGameMode, GAMEMODE_REPLAY);
    EXPECT_EQ(g_SceneManager.m_nSubMode, PLAYMODE_REPLAY);
  }
  // A replay that cannot be read starts nothing.
  m_Dir.Write("data/stg4/bad.rpl4_783", "not a replay");
  plat::fs::ForgetListings();
  EXPECT_EQ(StartStageFile("data\\stg4\\bad.rpl4_783", 0), 0);
  EXPECT_EQ(m_Boxes.Texts().size(), 1u);
}

}  // namespace
