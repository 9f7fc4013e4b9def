// The world map: walking between stages and entering one.
#include "scenes/world_map_scene.h"

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
  m_nPhase = 1;
  return 1;
}

int cWorldMapScene::FadeOut() {
  FinishSceneFadeOut(SCENE_WORLDMAP);
  return 1;
}

int cWorldMapScene::Walk() { return 1; }

int cWorldMapScene::EnterStage() { return 1; }
