// The end of a stage: its results go into the play record, and when the
// stage-end screen closes, the results are stored by game mode and the next
// scene is chosen: the next part of a chain, the world map, the stage
// select, the title, or the same stage again. The results of the last part
// of a chain are offered to the stage's rankings, entered under the
// player's name and shown.
#include <algorithm>
#include <cstdio>

#include "base/paths.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/thread.h"
#include "base/window_requests.h"
#include "files/key_log.h"
#include "files/options.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/stage_load.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "scenes/menu_cursor.h"
#include "scenes/ranking.h"
#include "scenes/scene_manager.h"
#include "stage/nested_loop.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/text_obj.h"

namespace {

// Sums of results wrap as 32-bit values do.
constexpr int32_t kLifeNoticeFrames = 30;

int32_t Add32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

void cPlayScene::StageEnd() {
  Probe("StageEnd");
  PlaySE(14);
  AddStageResults();
  m_bRankEntered = 0;
  m_bRankReached = 0;
  m_RankPos.assign(kRankTables, -1);
  // Only the last part of a chain offers its results (a stage opened
  // directly from its file always does).
  if (!bCommandLineStage && !(g_SceneManager.m_nModeFlag && IsLastStage(m_nNextStage))) return;
  const cPlayData& play = g_PlayData;
  m_RankValue = {play.m_nTotalScore, play.m_nTimeSum, play.m_nPlayTimeSum, play.m_nHPSum,
                 play.m_nSPSum};
  if (bTestPlay) return;
  // A table counts when the kind of play ranks it and the stage takes part.
  const cSafeVector<uint8_t>& vCriteria =
      g_SystemData.m_vModeRanking.At(g_SceneManager.m_nSubMode).m_vCriteria;
  const cSafeVector<int32_t>& vStage = g_Stage.m_vRanking;
  for (int i = 0; i < kRankTables; ++i) {
    if (static_cast<size_t>(i) >= vCriteria.size() || vCriteria[static_cast<size_t>(i)] == 0)
      continue;
    if (static_cast<size_t>(i) >= vStage.size() || vStage[static_cast<size_t>(i)] == 0) continue;
    m_RankPos.At(i) = g_Ranking.m_vTables.At(i).GetRankPos(m_RankValue.At(i));
    if (m_RankPos.At(i) != -1) m_bRankReached = 1;
  }
}

void cPlayScene::AddStageResults() {
  cPlayData& play = g_PlayData;
  const int32_t nOldTotal = play.m_nTotalScore;
  play.m_nTotalScore = Add32(play.m_nTotalScore, play.m_nStageScore);
  if (!m_bNoTimeLimit) play.m_nTimeSum = Add32(play.m_nTimeSum, m_nTime);
  play.m_nPlayTimeSum = Add32(play.m_nPlayTimeSum, m_nPlayTime);
  const cPlayerObj& player = ThePlayer();
  play.m_nHPSum = Add32(play.m_nHPSum, player.m_nHP);
  play.m_nSPSum = Add32(play.m_nSPSum, player.m_nSP);

  const int32_t s = g_SystemData.m_nExtraLifeScore;
  if (play.m_nLives == kUnlimitedLives || !g_SystemData.m_bExtraLifeByScore || s == 0) return;
  const int64_t nSteps =
      static_cast<int64_t>(play.m_nTotalScore) / s - static_cast<int64_t>(nOldTotal) / s;
  for (int64_t i = 0; i < nSteps; ++i) {
    play.m_nLives = std::min(play.m_nLives + 1, 99);
    if (m_bCloseRequest.load()) {
      // The window was closed during a notice (the wait passed the close
      // on): the lives still due are given without their notices.
      play.m_nLives =
          static_cast<int32_t>(std::min<int64_t>(play.m_nLives + (nSteps - i - 1), 99));
      return;
    }
    PlaySE(15);
    // Each life is shown rising over the player while the play stands.
    const cTextObj* pNotice = &ShowLifeNotice();
    SetWaitData(m_Wait, WAIT_LIFE, 0, kLifeNoticeFrames, 0);
    RunWait(1);
    RemoveText(pNotice);
    while (bAppActive.load() == 0 && !plat::IsQuitting() && !m_bCloseRequest.load())
      plat::SleepMs(1);
  }
}

int cPlayScene::GetNextStageFile(std::string& strOut, int32_t n) {
  strOut.clear();
  if (!g_PlayData.m_bChain || n == 0) return 0;
  std::string strBase;
  if (!m_strNextStage.empty()) {
    strBase = m_strNextStage.substr(0, m_strNextStage.size() - 1);
    FormatString(strBase, "%s.%s", strBase.c_str(), g_Exts[EXT_STAGE]);
  } else {
    const std::string& strStem = g_PlayData.m_strStageBase;
    strBase = strStem.empty() ? std::string() : strStem.substr(0, strStem.size() - 1);
    FormatString(strBase, "%s-%d.%s", strBase.c_str(), n, g_Exts[EXT_STAGE]);
  }
  if (FindLatestVersionFileStr(strOut, strBase, g_Exts[EXT_STAGE])) return 1;
  strOut.clear();
  return 0;
}

int cPlayScene::IsLastStage(int32_t n) {
  std::string strFile;
  return GetNextStageFile(strFile, n) ? 0 : 1;
}

int cPlayScene::FinishStage() {
  cPlayData& play = g_PlayData;
  if (g_Stage.m_bStoreStatus) {
    for (int i = 0; i < static_cast<int>(g_Players.size()); ++i) {
      cPlayerObj& p = g_Players.At(i);
      play.StoreCharaStatus(i, p.m_Def, p.m_nHP, p.m_nSP, p.m_Def.m_sAppearEffect,
                            p.m_Def.m_cAppearVariant, p.m_Def.m_cAppearSetting, m_nTime,
                            play.m_nLives, play.m_nBgm);
    }
  }
  const int32_t nPart = play.m_nPartNo;
  // The next part of a chain, when there is one to load.
  auto LoadNextPart = [&]() {
    play.m_nPartNo = m_nNextStage;
    std::string strFile;
    if (!GetNextStageFile(strFile, m_nNextStage)) return false;
    if (!LoadPlayStage(strFile, 0, &g_StageCopy)) return false;
    g_KeyLog.Reset();
    g_KeyLogPrev.Reset();
    return true;
  };
  switch (g_SceneManager.m_nGameMode) {
    case GAMEMODE_CHALLENGE: {
      if (play.m_bChain && m_nNextStage != 0 && LoadNextPart()) return SCENE_PLAY;
      cChallengeRecord& entry = play.m_vChallenge.At(play.m_nStageNo - 1);
      entry.m_bCleared = 1;
      if (play.m_nTotalScore > entry.m_nBest) {
        play.m_nBestTotal = Add32(play.m_nBestTotal, play.m_nTotalScore - entry.m_nBest);
        entry.m_nBest = play.m_nTotalScore;
      }
      if (play.m_nStageNo >= play.m_nChallengeOpen)
        play.m_nChallengeOpen = std::min(play.m_nStageNo + 1, g_SystemData.m_nChallengeStages);
      play.SaveChallenge();
      play.m_nPartNo = nPart;
      return SCENE_STAGESELECT;
    }
    case GAMEMODE_FREE:
      if (!play.m_bChain || bCommandLineStage) {
        play.m_bStartOverride = 0;
        return SCENE_PLAY;
      }
      if (m_nNextStage != 0 && LoadNextPart()) return SCENE_PLAY;
      play.m_nPartNo = nPart;
      return SCENE_TITLE;
    case GAMEMODE_REPLAY:
      play.LoadRetryState(1, g_SceneManager.m_nSubMode);
      return SCENE_PLAY;
    case GAMEMODE_NEW_STORY:
    case GAMEMODE_CONTINUE_STORY: {
      if (play.m_bChain && m_nNextStage != 0 && LoadNextPart()) return SCENE_PLAY;
      play.m_vCleared.At(play.m_nStageNo) = 1;
      play.SetStageScore(play.m_strStageBase, play.m_strStageKey, play.m_bSuffix, play.m_nSuffix1,
                         play.m_nSuffix2, play.m_nTotalScore);
      const int32_t nAfter = play.m_Run.pMapEntry ? play.m_Run.pMapEntry->m_nAfter : 0;
      if (nAfter == WORLDAFTER_NEXT_ROUND) {
        play.StartNextRound();
      } else if (nAfter == WORLDAFTER_TITLE) {
        g_Cursor.Current().nRow = g_SceneManager.m_nGameMode;
        return SCENE_TITLE;
      }
      play.m_nPartNo = nPart;
      return SCENE_WORLDMAP;
    }
    default:
      return SCENE_STAGESELECT;
  }
}

void cPlayScene::RankingEntry() {
  if (!g_SceneManager.m_nModeFlag || !m_bRankReached || m_bRankEntered) return;
  cPlayData& play = g_PlayData;
  const int32_t nMode = g_Option.m_nRankMode;
  if (nMode == 1 || nMode == 3) {
    m_strRankName = g_Option.m_strName;
  } else {
    // The name box edits the scene's ranking name on the window thread.
    m_strRankName = play.m_strPlayerName;
    RequestNameDialog();
    play.m_strPlayerName = m_strRankName;
  }
  PlaySE(16);
  for (int i = 0; i < kRankTables; ++i) {
    if (m_RankPos.At(i) == -1) continue;
    g_Ranking.m_vTables.At(i).Insert(m_strRankName, m_RankValue.At(i));
  }
  SaveRanking(g_Ranking, g_SceneManager.m_nSubMode, play.m_strStageBase, play.m_bSuffix,
              play.m_nSuffix1, play.m_nSuffix2);
  m_bRankEntered = 1;
  RunNestedLoop(thRanking, &cPlayScene::RankingLoopProc, this, 1);
}
