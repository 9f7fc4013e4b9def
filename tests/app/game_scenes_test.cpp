// The program's own scenes as the scene manager builds them: one type per
// id, the input filters of the menus, the empty phases and the scene music.
#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

#include "app/scene_factory.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "files/system_data.h"
#include "platform/msg/window.h"
#include "scenes/map_menu_scene.h"
#include "scenes/option_scene.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_select_scene.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_scene.h"
#include "stage/play_scene.h"

namespace {

class GameScenesTest : public testing::Test {
 protected:
  void SetUp() override {
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nCurrentScene = 0;
    g_SceneManager.m_nNextScene = 0;
    g_SceneManager.m_nPrevScene = 0;
    g_SceneManager.m_nFailedScene = -1;
    g_Input.At(0) = cInput{};
    SetSceneFactory(BuildGameScene);
  }
  void TearDown() override {
    g_SceneManager.DeleteAllScenes();
    SetSceneFactory(nullptr);
  }
};

int ExistingScenes() {
  int n = 0;
  for (int id = 0; id < SCENE_COUNT; ++id) n += g_SceneManager.GetScene(id) != nullptr;
  return n;
}

TEST_F(GameScenesTest, EachIdBuildsItsSceneAndOnlyThatOne) {
  struct {
    int nId;
    const std::type_info& type;
  } const cases[] = {
      {SCENE_TITLE, typeid(cTitleScene)},     {SCENE_WORLDMAP, typeid(cWorldMapScene)},
      {SCENE_MAPMENU, typeid(cMapMenuScene)}, {SCENE_STAGESELECT, typeid(cStageSelectScene)},
      {SCENE_PLAY, typeid(cPlayScene)},       {SCENE_OPTION, typeid(cOptionScene)},
  };
  for (const auto& c : cases) {
    g_SceneManager.ChangeScene(c.nId);
    cScene* pScene = g_SceneManager.GetScene(c.nId);
    ASSERT_NE(pScene, nullptr) << c.nId;
    EXPECT_EQ(typeid(*pScene), c.type);
    EXPECT_EQ(pScene->m_nPhase, -1);
    EXPECT_EQ(ExistingScenes(), 1);
    EXPECT_EQ(g_PlayScene, c.nId == SCENE_PLAY ? pScene : nullptr);
  }
  // The place of each scene among the manager's pointers.
  EXPECT_EQ(g_SceneManager.m_pOption, g_SceneManager.GetScene(SCENE_OPTION));
  for (int nBad : {-1, 6, 1000}) {
    g_SceneManager.ChangeScene(nBad);
    EXPECT_EQ(ExistingScenes(), 0) << nBad;
    EXPECT_EQ(g_PlayScene, nullptr);
  }
}

TEST_F(GameScenesTest, MenuScenesFilterTheInputAndThePlaySceneDoesNot) {
  for (int nId : {SCENE_TITLE, SCENE_OPTION, SCENE_PLAY}) {
    g_SceneManager.ChangeScene(nId);
    g_Input.At(0) = cInput{};
    cScene* pScene = g_SceneManager.GetScene(nId);
    std::vector<uint16_t> seen;
    for (int f = 0; f < 3; ++f) {
      g_Input.At(0).m_wButton = 1;
      pScene->Run();
      seen.push_back(g_Input.At(0).m_wButton);
    }
    if (nId == SCENE_PLAY)
      EXPECT_EQ(seen, (std::vector<uint16_t>{1, 1, 1}));
    else
      EXPECT_EQ(seen, (std::vector<uint16_t>{1, 0, 0})) << nId;
  }
}

// Frames until the scene reaches the phase (or the manager another scene),
// at most nLimit.
int RunUntil(cScene* pScene, int nPhase, int nLimit) {
  const int nScene = g_SceneManager.m_nCurrentScene;
  for (int n = 1; n <= nLimit; ++n) {
    pScene->Run();
    if (pScene->m_nPhase == nPhase || g_SceneManager.m_nCurrentScene != nScene) return n;
  }
  return -1;
}

TEST_F(GameScenesTest, ScenesFadeInAndLeaveWhenTold) {
  // Every scene fades over ten frames at the start-up's step of 10 degrees.
  g_SceneManager.m_nFadeStep = 10;
  // A fade an earlier test left half-way ends first.
  DDFadeIn(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 10, g_DD.ProgramPalette, 1);
  DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 10, g_DD.ProgramPalette, 1);
  struct {
    int nId;
    int nLastPhase;
    int nFadeFrames;
  } const cases[] = {{SCENE_TITLE, 3, 10},       {SCENE_WORLDMAP, 3, 10}, {SCENE_MAPMENU, 6, 10},
                     {SCENE_STAGESELECT, 2, 10}, {SCENE_PLAY, 7, 10},      {SCENE_OPTION, 2, 10}};
  for (const auto& c : cases) {
    g_SceneManager.m_nCurrentScene = c.nId;
    g_SceneManager.ChangeScene(c.nId);
    cScene* pScene = g_SceneManager.GetScene(c.nId);
    EXPECT_EQ(RunUntil(pScene, 1, 20), c.nFadeFrames) << c.nId;
    pScene->Run();
    EXPECT_EQ(pScene->m_nPhase, 1) << c.nId;
    g_SceneManager.m_nNextScene = (c.nId + 1) % SCENE_COUNT;
    g_SceneManager.m_nFrameRate = 30;
    pScene->m_nPhase = c.nLastPhase;
    EXPECT_EQ(RunUntil(pScene, -2, 20), c.nFadeFrames) << c.nId;
    EXPECT_EQ(g_SceneManager.m_nCurrentScene, (c.nId + 1) % SCENE_COUNT) << c.nId;
    EXPECT_EQ(g_SceneManager.m_nPrevScene, c.nId);
    // Leaving play restores the normal frame rate and the scene starts over.
    EXPECT_EQ(g_SceneManager.m_nFrameRate, c.nId == SCENE_PLAY ? 60 : 30);
    if (c.nId == SCENE_PLAY) {
      EXPECT_EQ(pScene->m_nPhase, -1);
    }
  }
}

std::vector<uintptr_t> g_MusicRequests;
intptr_t RecordMusicRequests(plat::WndHandle, uint32_t message, uintptr_t wParam, intptr_t) {
  if (message == WM_PLAYBGM) g_MusicRequests.push_back(wParam);
  return 0;
}

TEST_F(GameScenesTest, MenuScenesAskForTheirMusicUnlessItPlaysAlready) {
  plat::WndHandle hWnd = plat::CreateWnd(RecordMusicRequests, nullptr);
  g_hMainWnd = hWnd;
  const cSafeVector<int32_t> vSaved = g_SystemData.m_vSceneBgm;
  g_SystemData.m_vSceneBgm = {5, 0, 7, 7};
  g_SceneManager.m_nMusicNo = 0;
  struct {
    int nScene;
    int nMusicNo;                   // the manager's music number afterwards
    std::vector<uintptr_t> tracks;  // requests sent, by track
  } const visits[] = {
      {SCENE_TITLE, 5, {0}},
      {SCENE_TITLE, 5, {}},  // the same music plays on
      {SCENE_WORLDMAP, 0, {1}},
      {SCENE_MAPMENU, 0, {1}},  // 0 always asks (to stop)
      {SCENE_STAGESELECT, 7, {2}},
      {SCENE_OPTION, 7, {}},
      // The stage asks for its own music; the next menu scene asks again.
      {SCENE_PLAY, 0, {4}},
  };
  for (const auto& v : visits) {
    g_MusicRequests.clear();
    g_SceneManager.ChangeScene(-1);
    g_SceneManager.ChangeScene(v.nScene);
    g_SceneManager.GetScene(v.nScene)->Run();
    EXPECT_EQ(g_SceneManager.m_nMusicNo, v.nMusicNo) << v.nScene;
    EXPECT_EQ(g_MusicRequests, v.tracks) << v.nScene;
  }
  g_SystemData.m_vSceneBgm = vSaved;
  g_hMainWnd = nullptr;
  plat::DestroyWnd(hWnd);
}

}  // namespace
