// The world-map menu: saving, the automatic save, back to the map or the title.
#include "scenes/map_menu_scene.h"

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "scenes/scene_manager.h"

cMapMenuScene::cMapMenuScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cMapMenuScene::CallFadeIn, &cMapMenuScene::SelectItem,
                                        &cMapMenuScene::Save,       &cMapMenuScene::AutoSave,
                                        &cMapMenuScene::BackToMap,  &cMapMenuScene::BackToTitle,
                                        &cMapMenuScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

int cMapMenuScene::Run() { return RunPhases(true); }

int cMapMenuScene::Init() {
  RequestSceneMusic(1);
  return 1;
}

int cMapMenuScene::FadeIn() {
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cMapMenuScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_MAPMENU);
  return 1;
}

int cMapMenuScene::SelectItem() { return 1; }

int cMapMenuScene::Save() { return 1; }

int cMapMenuScene::AutoSave() { return 1; }

int cMapMenuScene::BackToMap() { return 1; }

int cMapMenuScene::BackToTitle() { return 1; }
