#include "scenes/stage_start.h"

#include "base/program_state.h"
#include "base/text_helpers.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/replay_requests.h"
#include "files/stage_data.h"
#include "files/stage_load.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "scenes/scene.h"
#include "scenes/scene_manager.h"

int StartStageFile(const std::string& strPath, int bNewest) {
  if (strPath.size() > MAX_PATH - 1) return 0;
  g_PlayData.Reset();
  if (IsReplayFileName(strPath)) {
    // Through the stage path a replay's last bytes would read as a damaged
    // stage trailer.
    std::string strReplay = strPath;
    MakeRelativePathStr(strReplay);
    if (!g_KeyLog.LoadReplay(strReplay, g_Stage, g_StageCopy, g_PlayData)) return 0;
    g_Stage.m_strPath = strReplay;
    // Whatever mode chose it, a replay plays back its key log.
    g_SceneManager.m_nGameMode = GAMEMODE_REPLAY;
    g_SceneManager.m_nSubMode = PLAYMODE_REPLAY;
    g_SceneManager.m_nModeFlag = g_SystemData.m_vModeRanking.At(PLAYMODE_REPLAY).m_bRanking;
    return 1;
  }
  if (!LoadPlayStage(strPath, bNewest, &g_StageCopy)) return 0;
  g_PlayData.m_nStageNo = 1;
  g_PlayData.m_nPartNo = 1;
  if (bCommandLineStage || g_SystemData.m_vUnlimitedLives.At(PLAYMODE_FREE) != 0) {
    g_PlayData.m_nLifeCount = g_PlayData.m_nLives = kUnlimitedLives;
  } else {
    g_PlayData.m_nLifeCount = g_SystemData.m_vStartLives.At(PLAYMODE_FREE);
    g_PlayData.m_nLives = g_PlayData.m_nLifeCount - 1;
  }
  std::string strStage = strPath;
  MakeRelativePathStr(strStage);
  g_PlayData.SetCurStage(strStage, 0, 0, 0);
  return 1;
}

void PlayStageFileAtOnce() {
  if (g_SceneManager.m_nGameMode != GAMEMODE_REPLAY) {
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
  }
  g_SceneManager.m_nModeFlag = 1;
  g_SceneManager.m_nCurrentScene = SCENE_PLAY;
  g_SceneManager.m_nNextScene = SCENE_PLAY;
  g_SceneManager.m_nPrevScene = SCENE_TITLE;
}

void StartNewStory() {
  g_PlayData.Reset();
  g_PlayData.m_nMapX = g_WorldMap.m_nStartX;
  g_PlayData.m_nMapY = g_WorldMap.m_nStartY;
  if (g_SystemData.m_vUnlimitedLives.At(PLAYMODE_STORY) != 0) {
    g_PlayData.m_nLifeCount = g_PlayData.m_nLives = kUnlimitedLives;
  } else {
    g_PlayData.m_nLifeCount = g_SystemData.m_vStartLives.At(PLAYMODE_STORY);
    g_PlayData.m_nLives = g_PlayData.m_nLifeCount - 1;
  }
}
