// The play scene's phases.
#include "stage/play_scene.h"

#include "scenes/scene_manager.h"

cPlayScene* g_PlayScene = nullptr;

cPlayScene::cPlayScene() {
  g_PlayScene = this;
  const PHASEPROC table[PHASE_COUNT] = {&cPlayScene::CallFadeIn,      &cPlayScene::PhaseReady,
                                        &cPlayScene::PhasePlay,       &cPlayScene::PhasePause,
                                        &cPlayScene::PhaseStageEnd,   &cPlayScene::PhaseContinue,
                                        &cPlayScene::PhaseWaitButton, &cPlayScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
  m_CharaGroups.resize(kHitGroups);
  m_ShotGroups.resize(kHitGroups);
  m_StageVar.assign(kStageVars, 0);
  m_GroupFlags.assign(kGroupFlags, 0);
}

cPlayScene::~cPlayScene() {
  if (g_PlayScene == this) g_PlayScene = nullptr;
}

// The play scene reads raw input: no menu filters.
int cPlayScene::Run() { return RunPhases(false); }

int cPlayScene::Init() { return 1; }

int cPlayScene::FadeIn() {
  m_nPhase = 1;
  return 1;
}

int cPlayScene::FadeOut() {
  m_nPhase = -1;
  g_SceneManager.m_nFrameRate = 60;
  FinishSceneFadeOut(SCENE_PLAY);
  return 1;
}

int cPlayScene::PhaseReady() { return 1; }
int cPlayScene::PhasePlay() { return 1; }
int cPlayScene::PhasePause() { return 1; }
int cPlayScene::PhaseStageEnd() { return 1; }
int cPlayScene::PhaseContinue() { return 1; }
int cPlayScene::PhaseWaitButton() { return 1; }
