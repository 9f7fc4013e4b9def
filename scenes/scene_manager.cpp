// Building, deleting and polling for the scenes.
#include "scenes/scene_manager.h"

#include <new>

#include "base/frame_limit.h"
#include "base/key_script.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "files/system_data.h"

cSceneManager g_SceneManager;
cFrameStats g_FrameStats;

namespace {

// Until the program installs its scenes, no scene is built.
cScene* BuildNoScene(int) { return nullptr; }

SCENEFACTORY g_pfnSceneFactory = BuildNoScene;

}  // namespace

void SetSceneFactory(SCENEFACTORY pfnFactory) {
  g_pfnSceneFactory = pfnFactory ? pfnFactory : BuildNoScene;
}

cScene* BuildScene(int nSceneId) { return g_pfnSceneFactory(nSceneId); }

void cFrameStats::AddFrameTime(uint32_t dwMs) {
  dwRing[nPos] = dwMs;
  if (++nPos >= 16) {
    nPos = 0;
    uint32_t dwSum = 0;
    for (uint32_t dw : dwRing) dwSum += dw;
    dwAverage = dwSum >> 4;
  }
}

cScene*& cSceneManager::SceneSlot(int nSceneId) {
  switch (nSceneId) {
    case SCENE_TITLE:
      return m_pTitle;
    case SCENE_WORLDMAP:
      return m_pWorldMap;
    case SCENE_MAPMENU:
      return m_pMapMenu;
    case SCENE_STAGESELECT:
      return m_pStageSelect;
    case SCENE_PLAY:
      return m_pPlay;
    default:
      return m_pOption;
  }
}

cScene* cSceneManager::GetScene(int nSceneId) const {
  if (nSceneId < 0 || nSceneId >= SCENE_COUNT) return nullptr;
  return const_cast<cSceneManager*>(this)->SceneSlot(nSceneId);
}

void cSceneManager::DeleteScene(int nSceneId) {
  cScene*& pScene = SceneSlot(nSceneId);
  delete pScene;
  pScene = nullptr;
}

void cSceneManager::ChangeScene(int nSceneId) {
  static const int kDeleteOrder[SCENE_COUNT] = {SCENE_TITLE,       SCENE_MAPMENU, SCENE_WORLDMAP,
                                                SCENE_STAGESELECT, SCENE_PLAY,    SCENE_OPTION};
  for (int nId : kDeleteOrder) {
    if (nId != nSceneId && SceneSlot(nId)) DeleteScene(nId);
  }
  if (nSceneId != m_nFailedScene) m_nFailedScene = -1;
  if (nSceneId < 0 || nSceneId >= SCENE_COUNT || SceneSlot(nSceneId)) return;
  if (nSceneId == m_nFailedScene) return;
  cScene* pScene = nullptr;
  try {
    pScene = BuildScene(nSceneId);
  } catch (const std::bad_alloc&) {
    // The place stays empty; the next frame tries again until the close lands.
    OutOfMemoryClose();
    return;
  } catch (const char*) {
    m_nFailedScene = nSceneId;
    throw;
  }
  SceneSlot(nSceneId) = pScene;
}

void cSceneManager::DeleteAllScenes() {
  static const int kDeleteOrder[SCENE_COUNT] = {SCENE_TITLE,       SCENE_WORLDMAP, SCENE_MAPMENU,
                                                SCENE_STAGESELECT, SCENE_OPTION,   SCENE_PLAY};
  for (int nId : kDeleteOrder) DeleteScene(nId);
}

void cSceneManager::PollInput(cSafeVector<cInput>& inputs) {
  // A scripted run's keys change as the frame they are due in polls.
  ApplyKeyScript(GetFramesRun());
  cInput& player1 = inputs.At(0);
  if (g_KeyConfig.bUseConfig)
    player1.PollConfigured(1, 60);
  else
    player1.PollFixed(0, 3, 60);
}

// A fade whose speed does not move it on would never end: it ends at once.
bool SceneFadeInStep() {
  const int32_t nStep = g_SceneManager.m_nFadeStep;
  return DDFadeIn(g_DD.DisplayPalette, 0, 255, 0, 0, 0, nStep, g_DD.ProgramPalette,
                  nStep <= 0 ? 1 : 0) != 0;
}

bool SceneFadeOutStep() {
  const int32_t nStep = g_SceneManager.m_nFadeStep;
  return DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, nStep, g_DD.ProgramPalette,
                   nStep <= 0 ? 1 : 0) != 0;
}

void FinishSceneFadeOut(int nOwnSceneId) {
  g_SceneManager.m_nPrevScene = nOwnSceneId;
  g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene;
}

void RequestSceneMusic(int nTrack) {
  const int32_t nMusic = g_SystemData.m_vSceneBgm.At(nTrack);
  if (nMusic != 0 && nMusic == g_SceneManager.m_nMusicNo) return;
  g_SceneManager.m_nMusicNo = nMusic;
  plat::SendMessage(g_hMainWnd.load(), WM_PLAYBGM, static_cast<uintptr_t>(nTrack), 0);
}
