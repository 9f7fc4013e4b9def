// The title screen: the game-mode menu and the saved-game list.
#include "scenes/title_scene.h"

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "scenes/scene_manager.h"

cTitleScene::cTitleScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cTitleScene::CallFadeIn, &cTitleScene::SelectMode,
                                        &cTitleScene::SelectSaveData, &cTitleScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

int cTitleScene::Run() { return RunPhases(true); }

int cTitleScene::Init() {
  RequestSceneMusic(0);
  return 1;
}

int cTitleScene::FadeIn() {
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cTitleScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_TITLE);
  return 1;
}

int cTitleScene::SelectMode() { return 1; }

int cTitleScene::SelectSaveData() { return 1; }
