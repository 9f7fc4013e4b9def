// The play scene's life: construction, the first frame's set-up, the fades
// and the hand-over to the next scene, lives and the pause key.
#include "stage/play_scene.h"

#include "base/logs.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "input/input.h"
#include "platform/input/keyboard.h"
#include "platform/msg/messages.h"
#include "scenes/menu_cursor.h"
#include "scenes/ranking.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_start.h"
#include "stage/stage_objects.h"

cPlayScene* g_PlayScene = nullptr;

cPlayerObj& ThePlayer() { return g_Players.At(0); }

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
  m_RankPos.assign(kRankTables, -1);
  m_RankValue.assign(kRankTables, 0);
  // So that the first set-up starts the stage's music.
  g_PlayData.m_nBgm = 0;
}

cPlayScene::~cPlayScene() {
  ReleasePictures();
  ReleaseMessageSurfaces();
  // The objects of the stage go with the scene that played them.
  ClearObjects();
  g_Players.clear();
  if (g_PlayScene == this) g_PlayScene = nullptr;
}

// The play scene reads raw input: no menu filters.
int cPlayScene::Run() { return RunPhases(false); }

bool cPlayScene::IsReplay() const { return g_SceneManager.m_nGameMode == GAMEMODE_REPLAY; }

int cPlayScene::TakeLife() {
  if (bCommandLineStage) return 1;
  if (g_PlayData.m_nLives == kUnlimitedLives) return 1;
  if (g_PlayData.m_nLives <= 0) return 0;
  --g_PlayData.m_nLives;
  return 1;
}

int cPlayScene::CheckPauseKey() {
  if (!plat::IsKeyDown(plat::VK_SPACE)) return 0;
  PlaySE(4);
  m_nPausedPhase = m_nPhase;
  m_nPausedSubStep = m_nSubStep;
  return 1;
}

void cPlayScene::ResetPlayCounters() {
  cPlayData& play = g_PlayData;
  if (!IsReplay() && play.m_bSuffix) play.m_vVars.At(play.m_nSuffix1) = play.m_nSuffix2;
  play.m_nLives = play.m_nLifeCount;
  play.m_nStageScore = 0;
  play.m_nTotalScore = 0;
  play.m_nTimeSum = play.m_nPlayTimeSum = play.m_nHPSum = play.m_nSPSum = 0;
  play.m_bStartOverride = 0;
  m_ScrollX.m_dPos = m_ScrollY.m_dPos = 0;
  m_nSubStep = 0;
  m_nPhaseFrames = m_nWordFrames = 0;
  m_bHoldButton = 0;
  m_nTime = 0;
  m_bRankEntered = 0;
  m_TextList.clear();
  if (!IsReplay()) {
    g_KeyLog.Reset();
    g_KeyLogPrev.Reset();
  }
  if (bCommandLineStage) play.m_nPartNo = 1;
  if (g_SceneManager.m_nModeFlag)
    LoadRanking(g_Ranking, g_SceneManager.m_nSubMode, play.m_strStageBase, play.m_bSuffix,
                play.m_nSuffix1, play.m_nSuffix2);
}

int cPlayScene::Init() {
  m_RankPos.assign(kRankTables, 0);
  m_RankValue.assign(kRankTables, 0);
  const bool bFromPlay = g_SceneManager.m_nPrevScene == SCENE_PLAY;
  if (!bFromPlay) {
    if (!LoadPlayBitmaps()) {
      plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
      return 0;
    }
    BuildShotSheets();
    LoadCharaBitmaps();
    LoadSwordImages();
    LoadEffectImages();
    ResetPlayCounters();
    TakeLife();
  } else if (!LoadBackgroundBitmaps()) {
    plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
  }
  SetStage(bFromPlay ? 1 : 0, 1);
  g_Cursor.Reset();
  m_nSubStep = 0;
  return 1;
}

int cPlayScene::FadeIn() {
  Probe("FadeIn");
  Draw(0, 1, 0, 1);
  if (FadeStep(0)) m_nPhase = PLAYPHASE_READY;
  return 1;
}

int cPlayScene::FadeOut() {
  Probe("FadeOut");
  if (!FadeStep(1)) return 1;
  FillBackBuffer(16);
  const bool bFree = g_SceneManager.m_nGameMode == GAMEMODE_FREE;
  if ((!bFree || g_PlayData.m_bChain) && !bCommandLineStage) {
    g_SceneManager.m_nFrameRate = 60;
    FinishSceneFadeOut(SCENE_PLAY);
    m_nPhase = -1;
    return 1;
  }
  // Free play without a chain, and a file named at start: the same file
  // again.
  g_PlayData.m_bChain = 0;
  const std::string strFile = g_Stage.m_strPath;
  if (!StartStageFile(strFile, 0)) plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
  g_SceneManager.m_nFrameRate = 60;
  FinishSceneFadeOut(SCENE_PLAY);
  m_nPhase = -1;
  return 1;
}
