// The title's menu and the plays its modes start, run without a screen.
#include "scenes/title_scene.h"

#include <gtest/gtest.h>

#include <vector>

#include "files/play_data.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "input/input.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_start.h"
#include "support/temp_folder.h"

namespace {

class TitleSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    m_SavedSystem = g_SystemData;
    m_SavedMap = g_WorldMap;
    g_SceneManager.m_nGameMode = 0;
    g_Input.At(0) = cInput{};
  }
  void TearDown() override {
    g_SystemData = m_SavedSystem;
    g_WorldMap = m_SavedMap;
    g_PlayData.Reset();
    g_SceneManager.m_nGameMode = g_SceneManager.m_nSubMode = g_SceneManager.m_nModeFlag = 0;
    g_SceneManager.m_nNextScene = 0;
    g_Input.At(0) = cInput{};
    g_Cursor.Reset();
  }
  void EnableEntries(const std::vector<int>& vEnabled) {
    auto& menu = g_SystemData.m_vTitleMenu;
    for (size_t i = 0; i < menu.size(); ++i) menu[i].m_bEnable = vEnabled[i];
  }
  cSystemData m_SavedSystem;
  cWorldMap m_SavedMap;
  cTempFolder m_Folder{true};  // no challenge file here
};

TEST_F(TitleSceneTest, TheMenuShowsTheEnabledModesWithTheCursorOnTheLastChosen) {
  struct Case {
    std::vector<int> vEnabled;
    int nLastMode;
    std::vector<int> vWantShown;
    int nWantRow;
  } const cases[] = {
      {{1, 1, 1, 1, 1, 1, 1}, 2, {0, 1, 2, 3, 4, 5, 6}, 2},
      {{1, 0, 1, 0, 1, 1, 1}, 4, {0, 2, 4, 5, 6}, 2},
      {{0, 0, 0, 0, 0, 0, 0}, 0, {0}, 0},
      {{0, 0, 0, 0, 0, 1, 0}, 5, {5}, 0},
  };
  for (const Case& c : cases) {
    EnableEntries(c.vEnabled);
    g_SceneManager.m_nGameMode = c.nLastMode;
    cTitleScene title;
    title.Run();
    ASSERT_EQ(title.m_nShownCount, static_cast<int>(c.vWantShown.size()));
    for (int i = 0; i < title.m_nShownCount; ++i) EXPECT_EQ(title.m_anShown[i], c.vWantShown[i]);
    EXPECT_EQ(g_Cursor.Current().nRow, c.nWantRow);
  }
}

TEST_F(TitleSceneTest, ModesStartTheirPlays) {
  g_SystemData.m_nChallengeStages = 4;
  g_WorldMap.m_nStartX = 3;
  g_WorldMap.m_nStartY = 2;
  struct Case {
    int nMode;
    int nUnlimited;  // the mode's rule
    int nStartLives;
    int nWantScene;
    int nWantSubMode;
    int nWantLives;
  } const cases[] = {
      {GAMEMODE_NEW_STORY, 0, 3, SCENE_WORLDMAP, PLAYMODE_STORY, 2},
      {GAMEMODE_NEW_STORY, 1, 3, SCENE_WORLDMAP, PLAYMODE_STORY, 999999},
      {GAMEMODE_CHALLENGE, 0, 3, SCENE_STAGESELECT, PLAYMODE_CHALLENGE, 0},
      {GAMEMODE_OPTIONS, 0, 3, SCENE_OPTION, PLAYMODE_STORY, 0},
  };
  for (const Case& c : cases) {
    g_SystemData.m_vUnlimitedLives.At(PLAYMODE_STORY) = c.nUnlimited;
    g_SystemData.m_vStartLives.At(PLAYMODE_STORY) = c.nStartLives;
    g_PlayData.Reset();
    g_SceneManager.m_nSubMode = PLAYMODE_STORY;
    g_SceneManager.m_nGameMode = c.nMode;
    cTitleScene title;
    title.Run();
    title.m_nPhase = 1;
    g_Input.At(0) = cInput{};
    g_Input.At(0).m_wButton = 1;
    title.Run();
    EXPECT_EQ(title.m_nPhase, 3) << c.nMode;
    EXPECT_EQ(g_SceneManager.m_nGameMode, c.nMode);
    EXPECT_EQ(g_SceneManager.m_nNextScene, c.nWantScene) << c.nMode;
    EXPECT_EQ(g_SceneManager.m_nSubMode, c.nWantSubMode) << c.nMode;
    if (c.nMode == GAMEMODE_NEW_STORY) {
      EXPECT_EQ(g_PlayData.m_nLives, c.nWantLives);
      EXPECT_EQ(g_PlayData.m_nMapX, 3);
      EXPECT_EQ(g_PlayData.m_nMapY, 2);
      EXPECT_EQ(g_PlayData.m_strPlayerName, "aaa");
    }
    if (c.nMode == GAMEMODE_CHALLENGE) {
      // No challenge file: a fresh challenge, one stage open.
      EXPECT_EQ(g_PlayData.m_nChallengeOpen, 1);
      EXPECT_EQ(g_PlayData.m_vChallenge.size(), 4u);
    }
  }
}

}  // namespace
