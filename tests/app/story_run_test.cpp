// The bundled game played from its title by key scripts, as a player would:
// a new story walked a step on the world map and saved in a slot, the
// program started again, the story continued from that slot and saved
// again in the next one, which holds the place it was continued from; and a
// new story played through every stage to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/options.h"
#include "files/play_data.h"
#include "scenes/ranking.h"
#include "support/default_game.h"
#include "support/default_game_keys.h"
#include "support/keyed_run.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

// A key pressed at a frame and let go two frames later.
std::string TapLong(int nFrame, const char* szKey) {
  return std::to_string(nFrame) + " +" + szKey + "\n" + std::to_string(nFrame + 2) + " -" + szKey +
         "\n";
}

// The world-map menu opened at frame f, its save entry chosen, the slot
// row moved down by nDown and the save question answered yes.
std::string SaveFromMap(int f, int nDown) {
  std::string str = TapLong(f, "X") + TapLong(f + 60, "Z");
  for (int i = 0; i < nDown; ++i) str += TapLong(f + 90 + 4 * i, "Down");
  return str + TapLong(f + 110, "Z") + TapLong(f + 130, "Up") + TapLong(f + 140, "Z");
}

class StoryRun : public ::testing::Test {
 protected:
  StoryRun() { CopyDefaultGame(m_Project.Path()); }
  cProcessResult Play(const std::string& strKeys, int nFrames, const std::string& strShot = "") {
    return RunWithKeys(m_Project.Path(), m_Runtime.Path(), strKeys, nFrames, strShot);
  }
  cPlayData Slot(const char* szFile) {
    cCurrentFolder in(m_Project.Path());
    cPlayData play;
    EXPECT_EQ(LoadPlayRecordFile(play, szFile), 1) << szFile;
    return play;
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_F(StoryRun, ASavedStoryContinuesAfterARestart) {
  // A new game, one step right on the road, saved in the first slot.
  cProcessResult r = Play(TapLong(60, "Z") + TapLong(150, "Right") + SaveFromMap(180, 0), 420);
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  const cPlayData first = Slot("user_data\\story\\Story01.dat");
  EXPECT_EQ(first.m_nMapX, 10);
  EXPECT_EQ(first.m_nMapY, 7);

  // Started again: continue, the first slot, and at once saved in the
  // second.
  r = Play(TapLong(60, "Down") + TapLong(70, "Z") + TapLong(100, "Z") + SaveFromMap(200, 1), 420);
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  const cPlayData second = Slot("user_data\\story\\Story02.dat");
  EXPECT_EQ(second.m_nMapX, 10);
  EXPECT_EQ(second.m_nMapY, 7);
  EXPECT_EQ(second.m_nLastSlot, 1);
  EXPECT_EQ(second.m_nLifeCount, first.m_nLifeCount);
  EXPECT_EQ(second.m_nLives, first.m_nLives);
}

// From the world-map point the hero stands on, nSteps steps right along the
// road, tapped from frame f, onto the next stage: its question opens with
// the cursor on "not now", so up, then the choice. The frame of the choice,
// which starts the stage.
int WalkToStage(cKeyScript& keys, int f, int nSteps) {
  for (int i = 0; i < nSteps; ++i) keys.Tap(f + 30 * i, "Right");
  const int nQuestion = f + 30 * (nSteps - 1) + 90;
  keys.Tap(nQuestion, "Up");
  keys.Tap(nQuestion + 10, "Z");
  return nQuestion + 10;
}

// Button 1 on a cleared stage's results: with the options set to enter them
// by themselves, the results go into the stage's ranking and its table
// shows until button 1 again; then the story goes on. The frame the table
// closes.
int EnterResults(cKeyScript& keys, int f) {
  keys.Tap(f, "Z");
  keys.Tap(f + 20, "Z");
  return f + 20;
}

TEST_F(StoryRun, ANewStoryIsPlayedThroughEveryStageToItsEnd) {
  // The options enter each cleared stage's results under their own name,
  // so every clear leaves its ranking file behind.
  {
    std::filesystem::create_directories(m_Project / "user_data");
    cCurrentFolder in(m_Project.Path());
    cOptionData options;
    options.m_nRankMode = 3;
    options.m_strName = "HRO";
    ASSERT_EQ(options.Save("user_data\\Option.dat"), 1);
  }
  // Without the frame-rate box, whose figures follow the machine's load,
  // the last picture can be held against another run's.
  SetDrawingMode(m_Project.Path(), true);
  cKeyScript keys;
  keys.Tap(60, "Z");                  // the title's new game
  int f = WalkToStage(keys, 150, 3);  // three steps to the meadow
  f = EnterResults(keys, defaultgame::PlayMeadow(keys, f));
  f = WalkToStage(keys, f + 50, 4);  // back on the map: four steps to the cave
  f = EnterResults(keys, defaultgame::PlayCave(keys, f));
  f = WalkToStage(keys, f + 50, 4);  // and four to the fort, the last stage
  f = EnterResults(keys, defaultgame::PlayFort(keys, f));
  // The fort ends the story: the title again, its cursor on new game.
  const cProcessResult r = Play(keys.Text(), f + 150, m_Runtime / "end.png");
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  EXPECT_EQ(m_Project.Read("Report_Game.txt").find("err V["), std::string::npos);

  // Each stage's ranking holds the one clear: its score (the fort's with the
  // guard's 100 beside its three coins) and a clear time.
  struct Cleared {
    const char* szStage;  // the stage's base name, as its ranking file is named
    int32_t nScore;
  };
  for (const Cleared& c : {Cleared{"meadow.", 30}, Cleared{"cave.", 0}, Cleared{"fort.", 130}}) {
    cCurrentFolder in(m_Project.Path());
    cRanking ranking;
    ASSERT_EQ(LoadRanking(ranking, PLAYMODE_STORY, c.szStage, 0, 0, 0), 1) << c.szStage;
    const cRankData& score = ranking.m_vTables.At(0).m_vRows.At(0);
    EXPECT_TRUE(score.m_bValid) << c.szStage;
    EXPECT_EQ(score.m_strName, "HRO") << c.szStage;
    EXPECT_EQ(score.m_nValue, c.nScore) << c.szStage;
    EXPECT_FALSE(ranking.m_vTables.At(0).m_vRows.At(1).m_bValid) << c.szStage;
    const cRankData& time = ranking.m_vTables.At(kRankingTimeTable).m_vRows.At(0);
    EXPECT_TRUE(time.m_bValid) << c.szStage;
    EXPECT_GT(time.m_nValue, 0) << c.szStage;
  }

  // The last picture is the title as a new start shows it.
  ASSERT_EQ(Play("", 200, m_Runtime / "title.png").nExitCode, 0);
  EXPECT_EQ(ReadTestFile(m_Runtime / "end.png"), ReadTestFile(m_Runtime / "title.png"));
}

}  // namespace
