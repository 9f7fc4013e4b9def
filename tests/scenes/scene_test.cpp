// The scene base's frame protocol and the scene manager's building and
// deleting of scenes, with fake scenes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/program_state.h"
#include "platform/msg/window.h"
#include "scenes/scene_manager.h"
#include "tests/scenes/fake_scene.h"

namespace {

class SceneManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    g_Events.clear();
    for (auto& b : g_Behaviour) b = FAKEBEHAVIOUR{};
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nCurrentScene = 0;
    g_SceneManager.m_nNextScene = 0;
    g_SceneManager.m_nPrevScene = 0;
    g_SceneManager.m_nFailedScene = -1;
    g_Input.At(0) = cInput{};
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

TEST_F(SceneManagerTest, ChangingToTheSameIdKeepsTheScene) {
  SetSceneFactory(BuildFakeScene);
  g_SceneManager.ChangeScene(2);
  cScene* pScene = g_SceneManager.GetScene(2);
  pScene->Run();
  g_SceneManager.ChangeScene(2);
  EXPECT_EQ(g_SceneManager.GetScene(2), pScene);
  EXPECT_EQ(g_Events, (std::vector<std::string>{"Init 2", "FadeIn 2"}));
}

TEST_F(SceneManagerTest, SceneRunsInitThenItsPhasesAndHandsOverAtTheEndOfItsFadeOut) {
  SetSceneFactory(BuildFakeScene);
  g_SceneManager.ChangeScene(1);
  cScene* pScene = g_SceneManager.GetScene(1);
  pScene->Run();  // Init, then phase 0
  pScene->Run();
  g_SceneManager.m_nNextScene = 3;
  pScene->m_nPhase = 2;
  pScene->Run();
  EXPECT_EQ(g_SceneManager.m_nCurrentScene, 3);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, 1);
  EXPECT_EQ(g_Events, (std::vector<std::string>{"Init 1", "FadeIn 1", "Middle 1", "FadeOut 1"}));
  g_SceneManager.ChangeScene(g_SceneManager.m_nCurrentScene);
  EXPECT_EQ(g_Events.back(), "Delete 1");
  EXPECT_EQ(g_SceneManager.GetScene(3)->m_nPhase, -1);
}

TEST_F(SceneManagerTest, ThrowingInitMarksTheSceneFailedAndNoPhaseRuns) {
  SetSceneFactory(BuildFakeScene);
  g_Behaviour[5].bThrowInInit = true;
  g_SceneManager.ChangeScene(5);
  cScene* pScene = g_SceneManager.GetScene(5);
  for (int f = 0; f < 3; ++f) pScene->Run();
  EXPECT_EQ(pScene->m_bFailed, 1);
  EXPECT_EQ(pScene->m_nPhase, 0);
  EXPECT_EQ(g_Events, (std::vector<std::string>{"Init 5"}));
}

TEST_F(SceneManagerTest, ThrowingConstructorIsNotRetriedWhileItsIdStaysCurrent) {
  SetSceneFactory(BuildFakeScene);
  g_Behaviour[3].bThrowInConstructor = true;
  EXPECT_THROW(g_SceneManager.ChangeScene(3), const char*);
  EXPECT_NO_THROW(g_SceneManager.ChangeScene(3));
  EXPECT_EQ(ExistingScenes(), 0);
  g_SceneManager.ChangeScene(0);
  EXPECT_NE(g_SceneManager.GetScene(0), nullptr);
  EXPECT_THROW(g_SceneManager.ChangeScene(3), const char*);  // a new visit tries again
}

TEST(FrameStatsTest, AverageIsRefreshedEverySixteenFrames) {
  cFrameStats stats;
  for (int f = 0; f < 15; ++f) stats.AddFrameTime(12);
  EXPECT_EQ(stats.dwAverage, 0u);
  stats.AddFrameTime(28);
  EXPECT_EQ(stats.dwAverage, 13u);  // (15 * 12 + 28) / 16, rounded down
  for (int f = 0; f < 15; ++f) stats.AddFrameTime(100);
  EXPECT_EQ(stats.dwAverage, 13u);  // kept until the ring is full again
  stats.AddFrameTime(100);
  EXPECT_EQ(stats.dwAverage, 100u);
}

}  // namespace
