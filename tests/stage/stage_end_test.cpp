// The end of a stage: the next scene each kind of play goes to (and what
// it keeps of the results), where the results reach in the stage's
// rankings, and their entry under the player's name with the ranking
// display that follows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "base/run_options.h"
#include "base/thread.h"
#include "files/options.h"
#include "files/world_map.h"
#include "platform/msg/threads.h"
#include "play_fixture.h"
#include "scenes/ranking.h"
#include "window_thread.h"

namespace {

constexpr int kKeyButton1 = 'Z';
constexpr int kKeyButton4 = 'V';
constexpr const char* kBase = "data\\stg4\\c01.";

class StageEndTest : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    m_pFolder = std::make_unique<cTempFolder>(true);
    for (const char* sz : {"data/stg4", "user_data/challenge", "user_data/story", "user_data/free"})
      std::filesystem::create_directories(sz);
    Floor(14);
    Player(2, 13);
    m_SavedOption = g_Option;
    g_Ranking.SetDefault();
    // Every kind of play ranks every table; the stage takes part in all.
    for (cModeRanking& mode : g_SystemData.m_vModeRanking) {
      mode.m_bRanking = 1;
      mode.m_vCriteria.assign(5, 1);
    }
    g_Stage.m_vRanking.assign(kStageRankingCount, 1);
  }
  void TearDown() override {
    g_Option = m_SavedOption;
    g_Ranking.SetDefault();
    cPlayFixture::TearDown();
    m_pFolder.reset();
  }
  // A stage file the chain can go on to: a stage with a player.
  static void WriteNextPart(const char* szFile) {
    cStageData next;
    cEdChara hero;
    hero.m_cOperator = 0;
    hero.m_nCarriedItem = -1;
    next.m_vecCharas.push_back(hero);
    ASSERT_TRUE(next.Save(szFile));
  }
  // The play started and at its end, as the play record has it then.
  cPlayScene& PlayedTo(int nGameMode, int nSubMode) {
    g_SceneManager.m_nGameMode = nGameMode;
    g_SceneManager.m_nSubMode = nSubMode;
    StartPlaying();
    g_PlayData.m_strStageBase = kBase;
    g_PlayData.m_strStageKey = kBase;
    return Scene();
  }

  std::unique_ptr<cTempFolder> m_pFolder;
  cOptionData m_SavedOption;
};

TEST_F(StageEndTest, NextSceneByKindOfPlay) {
  const struct {
    const char* szWhat;
    int nGameMode;
    int bChain, nNextStage, bNextFile, nAfter, bCommandLine;
    int nScene, nPartNo;
  } cases[] = {
      {"challenge: the stage select", GAMEMODE_CHALLENGE, 0, 0, 0, 0, 0, SCENE_STAGESELECT, 1},
      {"challenge: the next part of the chain", GAMEMODE_CHALLENGE, 1, 2, 1, 0, 0, SCENE_PLAY, 2},
      {"challenge: a next part that is missing ends the chain", GAMEMODE_CHALLENGE, 1, 2, 0, 0, 0,
       SCENE_STAGESELECT, 1},
      {"free play: the same stage again", GAMEMODE_FREE, 0, 0, 0, 0, 0, SCENE_PLAY, 1},
      {"free play from a file named at start: the same stage", GAMEMODE_FREE, 1, 2, 1, 0, 1,
       SCENE_PLAY, 1},
      {"free play: the next part", GAMEMODE_FREE, 1, 2, 1, 0, 0, SCENE_PLAY, 2},
      {"free play: the chain's end goes to the title", GAMEMODE_FREE, 1, 2, 0, 0, 0, SCENE_TITLE,
       1},
      {"replay: the replay again", GAMEMODE_REPLAY, 0, 0, 0, 0, 0, SCENE_PLAY, 1},
      {"story: the world map", GAMEMODE_NEW_STORY, 0, 0, 0, WORLDAFTER_NOTHING, 0, SCENE_WORLDMAP,
       1},
      {"story: the next part", GAMEMODE_CONTINUE_STORY, 1, 2, 1, WORLDAFTER_NOTHING, 0, SCENE_PLAY,
       2},
      {"story: the next round, on the world map", GAMEMODE_CONTINUE_STORY, 0, 0, 0,
       WORLDAFTER_NEXT_ROUND, 0, SCENE_WORLDMAP, 1},
      {"story: the end of the game, the title", GAMEMODE_NEW_STORY, 0, 0, 0, WORLDAFTER_TITLE, 0,
       SCENE_TITLE, 1},
      {"the options' mode: the stage select", GAMEMODE_OPTIONS, 0, 0, 0, 0, 0, SCENE_STAGESELECT,
       1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("data/stg4/c01-2.stg4_783");
    if (c.bNextFile) WriteNextPart("data\\stg4\\c01-2.stg4_783");
    delete m_pScene;
    m_pScene = nullptr;
    g_PlayData.Reset();
    g_PlayData.m_vChallenge.resize(3);
    g_PlayData.m_nLifeCount = 3;
    bCommandLineStage = 0;
    cPlayScene& scene = PlayedTo(c.nGameMode, c.nGameMode == GAMEMODE_REPLAY ? 3 : 0);
    bCommandLineStage = c.bCommandLine;
    cWorldStage entry;
    entry.m_nAfter = c.nAfter;
    cPlayData& play = g_PlayData;
    play.m_Run.pMapEntry = &entry;
    play.m_bChain = c.bChain;
    play.m_nStageNo = 1;
    play.m_nPartNo = 1;
    play.m_nRound = 0;
    play.m_nStageScore = 70;
    scene.m_nNextStage = c.nNextStage;
    scene.StageEnd();
    EXPECT_EQ(scene.FinishStage(), c.nScene) << c.szWhat;
    EXPECT_EQ(play.m_nPartNo, c.nPartNo) << c.szWhat;
    const bool bStory = c.nGameMode <= GAMEMODE_CONTINUE_STORY && c.nScene != SCENE_PLAY;
    EXPECT_EQ(play.m_vCleared.At(1), bStory && c.nAfter != WORLDAFTER_NEXT_ROUND ? 1 : 0)
        << c.szWhat;
    EXPECT_EQ(play.GetStageScore(kBase), bStory ? 70 : 0) << c.szWhat;
    EXPECT_EQ(play.m_nRound, c.nAfter == WORLDAFTER_NEXT_ROUND ? 1 : 0) << c.szWhat;
    play.m_Run.pMapEntry = nullptr;
  }
}

TEST_F(StageEndTest, AChallengeKeepsItsBestAndOpensTheNextStage) {
  g_SystemData.m_nChallengeStages = 3;
  const struct {
    int32_t nStageNo, nOpen, nBest, nScore;
    int32_t nBestAfter, nBestTotalAfter, nOpenAfter;
  } cases[] = {
      {1, 1, 0, 500, 500, 500, 2},    // a first clear opens stage 2
      {2, 3, 800, 500, 800, 0, 3},    // below the best: nothing changes
      {2, 3, 800, 800, 800, 0, 3},    // equal to it: nothing either
      {2, 3, 300, 900, 900, 600, 3},  // better by 600
      {3, 3, 0, 10, 10, 10, 3},       // the last stage opens no more than there are
  };
  for (const auto& c : cases) {
    delete m_pScene;
    m_pScene = nullptr;
    g_PlayData.Reset();
    g_PlayData.m_vChallenge.resize(3);
    g_PlayData.m_nLifeCount = 3;
    cPlayScene& scene = PlayedTo(GAMEMODE_CHALLENGE, 1);
    cPlayData& play = g_PlayData;
    play.m_nStageNo = c.nStageNo;
    play.m_nChallengeOpen = c.nOpen;
    play.m_vChallenge.At(c.nStageNo - 1).m_nBest = c.nBest;
    play.m_nBestTotal = 0;
    play.m_nStageScore = c.nScore;
    scene.StageEnd();
    ASSERT_EQ(scene.FinishStage(), SCENE_STAGESELECT);
    EXPECT_EQ(play.m_vChallenge.At(c.nStageNo - 1).m_bCleared, 1);
    EXPECT_EQ(play.m_vChallenge.At(c.nStageNo - 1).m_nBest, c.nBestAfter);
    EXPECT_EQ(play.m_nBestTotal, c.nBestTotalAfter);
    EXPECT_EQ(play.m_nChallengeOpen, c.nOpenAfter);
    // Kept in the challenge file.
    cPlayData saved;
    ASSERT_EQ(saved.LoadChallenge(), 1);
    EXPECT_EQ(saved.m_nChallengeOpen, c.nOpenAfter);
  }
}

TEST_F(StageEndTest, WhereTheResultsReachInTheRankings) {
  const std::vector<int32_t> kNone(5, -1);
  const struct {
    const char* szWhat;
    int bModeFlag, bNotLast, bTestPlay, bCommandLine;
    uint8_t cCriteria[5];
    int32_t nStageFlags[5];
    std::vector<int32_t> vPos;
  } cases[] = {
      {"every table ranked", 1, 0, 0, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 2, 1, 0, -1}},
      {"the kind of play ranks two",
       1,
       0,
       0,
       0,
       {1, 0, 1, 0, 0},
       {1, 1, 1, 1, 1},
       {1, -1, 1, -1, -1}},
      {"the stage takes part in one",
       1,
       0,
       0,
       0,
       {1, 1, 1, 1, 1},
       {0, 0, 0, 1, 0},
       {-1, -1, -1, 0, -1}},
      {"no rankings in this kind of play", 0, 0, 0, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, kNone},
      {"a part of a chain before its last", 1, 1, 0, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, kNone},
      {"a test play", 1, 0, 1, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, kNone},
      {"a file named at start, always",
       0,
       1,
       0,
       1,
       {1, 1, 1, 1, 1},
       {1, 1, 1, 1, 1},
       {1, 2, 1, 0, -1}},
  };
  WriteNextPart("data\\stg4\\c01-2.stg4_783");
  for (const auto& c : cases) {
    delete m_pScene;
    m_pScene = nullptr;
    g_PlayData.Reset();
    g_SceneManager.m_nModeFlag = c.bModeFlag;
    cPlayScene& scene = PlayedTo(GAMEMODE_FREE, 2);
    bCommandLineStage = c.bCommandLine;
    bTestPlay = c.bTestPlay;
    g_SystemData.m_vModeRanking.At(2).m_vCriteria.assign(c.cCriteria, c.cCriteria + 5);
    g_Stage.m_vRanking.assign(c.nStageFlags, c.nStageFlags + 5);
    // Score 500, remaining time 30, clear time 12.34 s, HP 5, SP 0 against
    // tables that hold: scores of 900 and 100; two remaining times of 40;
    // clear times of 10 s and 20 s; nothing; twenty SPs of 0 (a tie does
    // not enter).
    g_Ranking.SetDefault();
    g_Ranking.m_vTables.At(0).Insert("a", 900);
    g_Ranking.m_vTables.At(0).Insert("b", 100);
    g_Ranking.m_vTables.At(1).Insert("a", 40);
    g_Ranking.m_vTables.At(1).Insert("b", 40);
    g_Ranking.m_vTables.At(2).Insert("a", 1000);
    g_Ranking.m_vTables.At(2).Insert("b", 2000);
    for (int i = 0; i < kRankingRows; ++i) g_Ranking.m_vTables.At(4).Insert("z", 0);
    cPlayData& play = g_PlayData;
    play.m_bChain = c.bNotLast;
    scene.m_nNextStage = c.bNotLast ? 2 : 0;
    play.m_nStageScore = 500;
    scene.m_nTime = 30;
    scene.m_bNoTimeLimit = 0;
    scene.m_nPlayTime = 1234;
    ThePlayerObj().m_nHP = 5;
    ThePlayerObj().m_nSP = 0;
    scene.StageEnd();
    EXPECT_EQ(std::vector<int32_t>(scene.m_RankPos.begin(), scene.m_RankPos.end()), c.vPos)
        << c.szWhat;
    const bool bReached = std::count(c.vPos.begin(), c.vPos.end(), -1) < 5;
    EXPECT_EQ(scene.m_bRankReached, bReached ? 1 : 0) << c.szWhat;
    if (c.vPos != kNone) {
      EXPECT_EQ(std::vector<int32_t>(scene.m_RankValue.begin(), scene.m_RankValue.end()),
                (std::vector<int32_t>{500, 30, 1234, 5, 0}))
          << c.szWhat;
    }
  }
}

TEST_F(StageEndTest, NoExtraLifeWithoutTheRuleOrWithUnlimitedLives) {
  const struct {
    int32_t bRule, nStep, nLives;
  } cases[] = {{0, 1000, 5}, {1, 0, 5}, {1, 1000, 999999}};
  for (const auto& c : cases) {
    delete m_pScene;
    m_pScene = nullptr;
    cPlayScene& scene = PlayedTo(GAMEMODE_FREE, 2);
    g_SystemData.m_bExtraLifeByScore = c.bRule;
    g_SystemData.m_nExtraLifeScore = c.nStep;
    g_PlayData.m_nLives = c.nLives;
    g_PlayData.m_nStageScore = 5000;
    Requests().vecSounds.clear();
    scene.AddStageResults();
    EXPECT_EQ(g_PlayData.m_nLives, c.nLives);
    EXPECT_EQ(Requests().vecSounds, std::vector<int>{});
    EXPECT_TRUE(scene.m_TextList.empty());
  }
}

// The entry and the display: with the main window on a thread of its own,
// as the name box and the ranking thread need.
class RankingEntryTest : public StageEndTest {
 protected:
  void SetUp() override {
    StageEndTest::SetUp();
    m_pWindow = std::make_unique<cWindowThread>();
    g_hMainWnd = m_pWindow->Handle();
    bAppActive = 1;
    g_RunOptions.bNoWait = true;
    m_Probe.m_fnFlows = nullptr;
  }
  void TearDown() override {
    g_RunOptions.bNoWait = false;
    bAppActive = 0;
    m_pWindow.reset();
    g_hMainWnd = m_hWnd;
    plat::ReleaseAllKeys();
    StageEndTest::TearDown();
  }
  // Keys down in the display's frames (from 1), by frame.
  void Keys(std::map<int, int> keys) {
    m_nFrame = 0;
    m_Keys = std::move(keys);
    m_Tables.clear();
    m_Probe.m_fnRankingFrame = [this] {
      ++m_nFrame;
      plat::ReleaseAllKeys();
      auto it = m_Keys.find(m_nFrame);
      if (it != m_Keys.end()) plat::SetKeyDown(it->second, true);
      m_Tables.push_back(g_PlayData.m_nRankGenre);
    };
  }

  std::unique_ptr<cWindowThread> m_pWindow;
  std::map<int, int> m_Keys;
  int m_nFrame = 0;
  std::vector<int32_t> m_Tables;
};

TEST_F(RankingEntryTest, EntersUnderTheNameSavesAndShowsUntilButton1) {
  const struct {
    int32_t nRankMode;
    const char* szAnswer;
    const char* szName;
    int nNameBoxes;
  } cases[] = {
      {0, "Bob", "Bob", 1},  // the name box
      {2, "", "pla", 1},     // closed: the play's name stays
      {1, "", "OPT", 0},     // the options' fixed name
      {3, "", "OPT", 0},
  };
  for (const auto& c : cases) {
    delete m_pScene;
    m_pScene = nullptr;
    g_PlayData.Reset();
    g_PlayData.m_strPlayerName = "pla";
    g_Option.m_nRankMode = c.nRankMode;
    g_Option.m_strName = "OPT";
    cWindowThread::NameAnswer() = c.szAnswer;
    cWindowThread::NameBoxes() = 0;
    g_SceneManager.m_nModeFlag = 1;
    std::filesystem::remove("user_data/challenge/c01.rkg");
    cPlayScene& scene = PlayedTo(GAMEMODE_CHALLENGE, 1);
    g_PlayData.m_nStageScore = 777;
    scene.StageEnd();
    ASSERT_EQ(scene.m_bRankReached, 1);
    cWindowThread::TakeSounds();
    // Button 4 shows the next table, button 1 ends the display.
    Keys({{3, kKeyButton4}, {5, kKeyButton1}});
    scene.RankingEntry();
    EXPECT_EQ(cWindowThread::NameBoxes(), c.nNameBoxes);
    EXPECT_EQ(g_Ranking.m_vTables.At(0).m_vRows.At(0).m_strName, c.szName);
    EXPECT_EQ(g_Ranking.m_vTables.At(0).m_vRows.At(0).m_nValue, 777);
    if (c.nNameBoxes) {
      EXPECT_EQ(g_PlayData.m_strPlayerName, c.szName);
    }
    EXPECT_EQ(m_nFrame, 5);
    EXPECT_EQ(m_Tables, (std::vector<int32_t>{0, 0, 0, 1, 1}));
    EXPECT_EQ(cWindowThread::TakeSounds(), (std::vector<int>{16, 6, 1}));
    // Kept in the stage's file.
    cRanking saved;
    ASSERT_EQ(LoadRanking(saved, 1, kBase, 0, 0, 0), 1);
    EXPECT_EQ(saved.m_vTables.At(0).m_vRows.At(0).m_strName, c.szName);
    // Entered once: a second entry does nothing.
    scene.RankingEntry();
    EXPECT_EQ(m_nFrame, 5);
    EXPECT_EQ(g_Ranking.m_vTables.At(0).m_vRows.At(1).m_bValid, 0);
    m_Probe.m_fnRankingFrame = nullptr;
  }
}

// The program closes as the ranking display shows its first frame, or on
// the turn button 1 ends it: the display ends there, its thread is let go
// by the close, and the entry made before it is whole in the stage's file.
TEST_F(RankingEntryTest, ACloseAtTheDisplaysStartOrEndEndsItThere) {
  const int nAbandoned = plat::AbandonedThreadCount();
  for (const int nCloseAt : {1, 3}) {
    SCOPED_TRACE(nCloseAt);
    delete m_pScene;
    m_pScene = nullptr;
    g_PlayData.Reset();
    g_Option.m_nRankMode = 1;
    g_Option.m_strName = "OPT";
    g_SceneManager.m_nModeFlag = 1;
    std::filesystem::remove("user_data/challenge/c01.rkg");
    cPlayScene& scene = PlayedTo(GAMEMODE_CHALLENGE, 1);
    g_PlayData.m_nStageScore = 777;
    scene.StageEnd();
    Keys({{3, kKeyButton1}});
    const std::function<void()> fnKeys = m_Probe.m_fnRankingFrame;
    std::thread window;
    m_Probe.m_fnRankingFrame = [&] {
      fnKeys();
      if (m_nFrame != nCloseAt) return;
      // The close sequence: the program closes, and the window's thread
      // stops the ranking thread.
      plat::SetQuitting(true);
      window = std::thread([] { thRanking.Exit(); });
    };
    scene.RankingEntry();
    window.join();
    plat::SetQuitting(false);
    EXPECT_EQ(m_nFrame, nCloseAt);
    EXPECT_EQ(thRanking.m_hThread.load(), nullptr);
    EXPECT_EQ(plat::AbandonedThreadCount(), nAbandoned);
    cRanking saved;
    ASSERT_EQ(LoadRanking(saved, 1, kBase, 0, 0, 0), 1);
    EXPECT_EQ(saved.m_vTables.At(0).m_vRows.At(0).m_strName, "OPT");
    EXPECT_EQ(saved.m_vTables.At(0).m_vRows.At(0).m_nValue, 777);
  }
  m_Probe.m_fnRankingFrame = nullptr;
}

TEST_F(RankingEntryTest, TheNextPlayOfTheStageFindsItsRankings) {
  cRanking stored;
  stored.m_vTables.At(0).Insert("old", 5000);
  ASSERT_EQ(SaveRanking(stored, 1, kBase, 0, 0, 0), 1);
  g_SceneManager.m_nModeFlag = 1;
  g_SceneManager.m_nGameMode = GAMEMODE_CHALLENGE;
  g_SceneManager.m_nSubMode = 1;
  g_PlayData.m_strStageBase = kBase;
  Start();
  EXPECT_EQ(g_Ranking.m_vTables.At(0).m_vRows.At(0).m_strName, "old");
}

}  // namespace
