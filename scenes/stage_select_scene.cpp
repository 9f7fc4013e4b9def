// The stage select: the list of stages to start.
#include "scenes/stage_select_scene.h"

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "scenes/scene_manager.h"

cStageSelectScene::cStageSelectScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cStageSelectScene::CallFadeIn,
                                        &cStageSelectScene::SelectStage,
                                        &cStageSelectScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

int cStageSelectScene::Run() { return RunPhases(true); }

int cStageSelectScene::Init() {
  RequestSceneMusic(2);
  return 1;
}

int cStageSelectScene::FadeIn() {
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cStageSelectScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_STAGESELECT);
  return 1;
}

int cStageSelectScene::SelectStage() { return 1; }
