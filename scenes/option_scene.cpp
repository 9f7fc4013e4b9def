// The options screen.
#include "scenes/option_scene.h"

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "scenes/scene_manager.h"

cOptionScene::cOptionScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cOptionScene::CallFadeIn, &cOptionScene::SelectOption,
                                        &cOptionScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

int cOptionScene::Run() { return RunPhases(true); }

int cOptionScene::Init() {
  RequestSceneMusic(3);
  return 1;
}

int cOptionScene::FadeIn() {
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cOptionScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_OPTION);
  return 1;
}

int cOptionScene::SelectOption() { return 1; }
