// The play scene's phases around the play itself: the start captions, the
// pause menu, the stage-end screen, the continue menu and the game-over
// wait. Each draws the play screen without advancing it, then its own part.
#include "base/program_state.h"
#include "base/window_requests.h"
#include "files/options.h"
#include "files/play_data.h"
#include "files/replay_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/input/keyboard.h"
#include "platform/msg/messages.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

constexpr uint16_t kButton1 = 1;  // decide
constexpr uint16_t kButton2 = 2;  // cancel
constexpr int32_t kCaptionFrames = 80;
constexpr int32_t kMenuY = 272;
constexpr int VK_F3 = plat::VK_F1 + 2;

// Pause entries.
enum : int { PAUSE_TITLE = 0, PAUSE_RESUME = 1, PAUSE_RETRY = 2, PAUSE_MAP = 3 };

const std::string& SystemText(int n) {
  static const std::string strEmpty;
  const auto& v = g_SystemData.m_vTexts;
  return n >= 0 && static_cast<size_t>(n) < v.size() ? v[static_cast<size_t>(n)] : strEmpty;
}

// The menus read player 1's input one press at a time, with key repeat.
cInput& MenuInput() {
  cInput& input = g_Input.At(0);
  input.ApplyRepeat();
  input.TriggerButtons(kButton1 | kButton2);
  return input;
}

}  // namespace

int cPlayScene::PhaseReady() {
  Draw(0, 1, 0, 1);
  if (!(bTestPlay && bCommandLineStage)) {
    if (IsReplay()) {
      if (++m_nPhaseFrames < kCaptionFrames) {
        DrawWordImage(0, 32, 128, 32, 256, 224);
        return 1;
      }
    } else {
      if (g_Stage.m_bStartCaption && ++m_nPhaseFrames < kCaptionFrames) {
        DrawWordImage(0, 0, 128, 32, 256, 224);
        DrawWordNumber(g_PlayData.m_nPartNo, 384, 224);
        return 1;
      }
      if (g_Stage.m_bStartCaption2 && ++m_nWordFrames < kCaptionFrames) {
        DrawWordImage(160, 0, 80, 32, 280, 224);
        return 1;
      }
    }
  }
  cPlayerObj& player = ThePlayer();
  player.m_Anim.Set(player.m_nFlying ? 2 : 0, 1);
  m_nPhaseFrames = 0;
  m_nPhase = PLAYPHASE_PLAY;
  return 1;
}

void cPlayScene::BuildPauseMenu() {
  m_PauseMenu.clear();
  for (int i = 0; i < 4; ++i) m_PauseMenu.emplace_back(1, SystemText(19 + i));
  const cPlayData& play = g_PlayData;
  switch (g_SceneManager.m_nSubMode) {
    case PLAYMODE_STORY: {
      const bool bCleared = play.m_vCleared.At(play.m_nStageNo) != 0;
      if (!(g_SystemData.m_bPauseRetryStory && bCleared)) m_PauseMenu.At(PAUSE_RETRY).m_bEnable = 0;
      if (!(g_SystemData.m_bPauseMapStory && bCleared)) m_PauseMenu.At(PAUSE_MAP).m_bEnable = 0;
      break;
    }
    case PLAYMODE_CHALLENGE: {
      const bool bCleared = play.m_vChallenge.At(play.m_nStageNo - 1).m_bCleared != 0;
      if (!(g_SystemData.m_bPauseRetryChallenge && bCleared))
        m_PauseMenu.At(PAUSE_RETRY).m_bEnable = 0;
      m_PauseMenu.At(PAUSE_MAP).m_bEnable = 0;
      break;
    }
    default:
      m_PauseMenu.At(PAUSE_MAP).m_bEnable = 0;
      break;
  }
}

int cPlayScene::PhasePause() {
  if (CheckReplaySaveKey(IsReplay() ? 1 : 0)) return 1;
  BuildPauseMenu();
  if (m_nSubStep == 0) {
    g_Cursor.Current().nRow = PAUSE_RESUME;
    m_nSubStep = 1;
  }
  cInput& input = MenuInput();
  const int32_t x = cCmd::GetCenterX(320, m_PauseMenu);
  g_Cursor.MoveGrid(input, x, kMenuY, 0, 16, 1, cCmd::GetCmdCount(m_PauseMenu));
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & kButton2) {
    PlaySE(2);
    m_bHoldButton = 1;
    m_nPhase = m_nPausedPhase;
    m_nSubStep = m_nPausedSubStep;
    return 1;
  }
  if (input.m_wButton & kButton1) {
    const int nEntry = cCmd::GetCmdNum(g_Cursor.Current().nRow, m_PauseMenu);
    PlaySE(1);
    switch (nEntry) {
      case PAUSE_TITLE:
        m_nPhase = PLAYPHASE_FADEOUT;
        if (bCommandLineStage) {
          plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
          break;
        }
        g_SceneManager.m_nNextScene = SCENE_TITLE;
        g_Cursor.Current().nRow = g_SceneManager.m_nGameMode;
        m_nSubStep = 0;
        break;
      case PAUSE_RESUME:
        m_bHoldButton = 1;
        m_nPhase = m_nPausedPhase;
        m_nSubStep = m_nPausedSubStep;
        break;
      case PAUSE_RETRY:
        m_bHoldButton = 1;
        g_PlayData.LoadRetryState(1, g_SceneManager.m_nSubMode);
        SetStage(1, 0);
        m_nPhase = PLAYPHASE_READY;
        m_nSubStep = 0;
        break;
      case PAUSE_MAP:
        m_bHoldButton = 1;
        g_PlayData.LoadRetryState(0, g_SceneManager.m_nSubMode);
        g_PlayData.m_bReturnPos = 1;
        g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
        m_nSubStep = 0;
        m_nPhase = PLAYPHASE_FADEOUT;
        break;
      default:
        break;
    }
    return 1;
  }
  Draw(0, 1, 0, 1);
  DrawMenuBox(m_PauseMenu, x, kMenuY);
  DrawMenuCursor();
  return 1;
}

int cPlayScene::PhaseStageEnd() {
  const bool bNoResult = g_Stage.m_bNoResult != 0;
  const int32_t nRankMode = g_Option.m_nRankMode;
  if (!bNoResult) {
    if (CheckPauseKey()) {
      m_nSubStep = 0;
      m_nPhase = PLAYPHASE_PAUSE;
      return 1;
    }
    CheckReplaySaveKey(IsReplay() ? 1 : 0);
    if ((nRankMode == 0 || nRankMode == 1) && plat::IsKeyDown(VK_F3)) RankingEntry();
  }
  if (m_nSubStep == 0) {
    m_nPhaseFrames = 0;
    m_nSubStep = 1;
  }
  cInput& input = MenuInput();
  if (bNoResult) {
    if (m_nPhaseFrames >= 200) {
      g_SceneManager.m_nNextScene = FinishStage();
      m_nPhaseFrames = 0;
      m_nSubStep = 0;
      m_nPhase = PLAYPHASE_FADEOUT;
      return 1;
    }
  } else if ((input.m_wButton & kButton1) && m_nPhaseFrames >= 200) {
    if (m_bRankReached && (nRankMode == 2 || nRankMode == 3))
      RankingEntry();
    else
      PlaySE(1);
    g_SceneManager.m_nNextScene = FinishStage();
    m_nPhaseFrames = 0;
    m_nSubStep = 0;
    m_nPhase = PLAYPHASE_FADEOUT;
    return 1;
  }
  bool bNotice = true;
  if (!bNoResult && !m_bRankEntered && (nRankMode == 0 || nRankMode == 1)) {
    for (int32_t nPos : m_RankPos)
      if (nPos != -1) bNotice = false;
  }
  Draw(0, 1, 0, bNotice ? 1 : 0);
  if (!bNotice) DrawRankingNotice();
  if (g_Stage.m_bClearCaption) {
    m_nPhaseFrames += 4;
    DrawClearCaption(m_nPhaseFrames);
  } else {
    m_nPhaseFrames = 200;
  }
  if (m_nPhaseFrames >= 200 && g_SceneManager.m_nModeFlag && !bNoResult) DrawResultPanel();
  return 1;
}

int cPlayScene::PhaseContinue() {
  if (CheckReplaySaveKey(IsReplay() ? 1 : 0)) return 1;
  if (m_nSubStep == 0) {
    g_Cursor.Current().nRow = 0;
    m_nSubStep = 1;
  }
  cInput& input = MenuInput();
  const int32_t x = GetMenuTextLeft(320, 23, 2, 1);
  g_Cursor.MoveGrid(input, x, kMenuY, 0, 16, 1, 2);
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & kButton1) {
    PlaySE(1);
    if (g_Cursor.Current().nRow == 0) {
      SetStage(1, 0);
      m_nPhase = PLAYPHASE_READY;
    } else {
      g_PlayData.m_bReturnPos = 1;
      g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
      m_nSubStep = 0;
      m_nPhase = PLAYPHASE_FADEOUT;
    }
    return 1;
  }
  Draw(0, 1, 0, 1);
  DrawMenuTextBox(x, kMenuY);
  DrawMenuCursor();
  return 1;
}

int cPlayScene::PhaseWaitButton() {
  if (CheckPauseKey()) {
    m_nSubStep = 0;
    m_nPhase = PLAYPHASE_PAUSE;
    return 1;
  }
  if (CheckReplaySaveKey(IsReplay() ? 1 : 0)) return 1;
  // The button word as polled: a button still held from the play ends the
  // wait at once.
  if (g_Input.At(0).m_wButton & kButton1) {
    PlaySE(1);
    m_nPhase = PLAYPHASE_FADEOUT;
    g_SceneManager.m_nNextScene = SCENE_TITLE;
    return 1;
  }
  Draw(0, 1, 0, 1);
  if (g_Stage.m_bGameOverCaption) DrawWordImage(0, 96, 144, 32, 248, 224);
  return 1;
}
