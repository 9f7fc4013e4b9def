// The world map: walking between stages and entering one.
#include "scenes/world_map_scene.h"

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "scenes/scene_manager.h"

cWorldMapScene::cWorldMapScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cWorldMapScene::CallFadeIn, &cWorldMapScene::Walk,
                                        &cWorldMapScene::EnterStage, &cWorldMapScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

int cWorldMapScene::Run() { return RunPhases(true); }

int cWorldMapScene::Init() {
  RequestSceneMusic(1);
  return 1;
}

int cWorldMapScene::FadeIn() {
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cWorldMapScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_WORLDMAP);
  return 1;
}

int cWorldMapScene::Walk() { return 1; }

int cWorldMapScene::EnterStage() { return 1; }
