// The bundled game played from its title by key scripts, as a player would:
// a new story walked a step on the world map and saved in a slot, the
// program started again, the story continued from that slot and saved
// again in the next one, which holds the place it was continued from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/play_data.h"
#include "support/default_game.h"
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
  cProcessResult Play(const std::string& strKeys, int nFrames) {
    m_Project.Write("run.keys", strKeys);
    return RunProcess(
        {ProgramPath(), "--headless", "--no-wait", "--frames", std::to_string(nFrames), "--project",
         m_Project.Path(), "--keys", m_Project / "run.keys"},
        {"XDG_RUNTIME_DIR=" + m_Runtime.Path()}, m_Project.Path(), 60);
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

}  // namespace
