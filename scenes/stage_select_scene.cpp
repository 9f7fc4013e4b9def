// The stage select: the list of stages to start.
#include "scenes/stage_select_scene.h"

#include <algorithm>
#include <cstdio>

#include "base/logs.h"
#include "base/number_text.h"
#include "base/paths.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/stage_load.h"
#include "files/system_data.h"
#include "input/input.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_surfaces.h"
#include "scenes/palette_cycle.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kPictures[] = {MENUBMP_ACCESSORY, MENUBMP_WINDOW};
constexpr int kRowsY = 160;
constexpr int kRowPitch = 32;
constexpr int kRowsShown = 10;
constexpr int32_t kUnlimited = 999999;

int32_t ChallengeRanking() {
  return g_SystemData.m_vModeRanking.At(PLAYMODE_CHALLENGE).m_bRanking;
}

}  // namespace

cStageSelectScene::cStageSelectScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cStageSelectScene::CallFadeIn,
                                        &cStageSelectScene::SelectStage,
                                        &cStageSelectScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

cStageSelectScene::~cStageSelectScene() {
  ReleaseMenuSurfaces();
  ReleaseMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
}

int cStageSelectScene::Run() { return RunPhases(true, 15); }

std::string cStageSelectScene::StageFileName(int n) {
  char szNumber[16];
  std::snprintf(szNumber, sizeof szNumber, "%02d", n);
  return std::string(g_Paths[PATH_CHALLENGE_PREFIX]) + szNumber + "-1." + g_Exts[EXT_STAGE];
}

void cStageSelectScene::CountStages() {
  m_nStageCount = g_SystemData.m_bChallengeAllOpen ? g_SystemData.m_nChallengeStages
                                                   : g_PlayData.m_nChallengeOpen;
  // A list longer than the challenge's stages shows the stages it has.
  m_nStageCount = std::clamp(m_nStageCount, 0, g_SystemData.m_nChallengeStages < 0
                                                   ? 0
                                                   : g_SystemData.m_nChallengeStages);
  m_nVisible = m_nStageCount - m_nScroll < kRowsShown ? m_nStageCount - m_nScroll : kRowsShown;
}

void cStageSelectScene::SetStageFile(int n) {
  g_PlayData.SetCurStage(StageFileName(n), 0, 0, 0);
  // The ranking of the stage comes with it once rankings are part of the
  // program.
}

int cStageSelectScene::Init() {
  RequestSceneMusic(2);
  LoadMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
  g_Cursor.Reset();
  g_Cursor.Current().nRow = g_SceneManager.m_nSelectRow;
  m_nScroll = g_SceneManager.m_nSelectScroll;
  SetStageFile(g_Cursor.Current().nRow + 1);
  CreateScreenSurface();
  m_nSubStep = 0;
  return 1;
}

void cStageSelectScene::CreateScreenSurface() {
  ReleaseMenuSurfaces();
  m_pScreenSD = CreateMenuSurface(640, 480, 0);
  DrawScreen();
}

void cStageSelectScene::DrawScreen() {
  if (!m_pScreenSD) return;
  DDSURFACEDATA* pSD = m_pScreenSD;
  Font& font16 = g_Font[1];
  Font& font32 = g_Font[2];
  DDFillSurface(pSD, 16);
  font32.DrawFrame(pSD, 1, 1, 638, 478);
  const std::string& strHeading = g_SystemData.m_vTitleMenu.At(GAMEMODE_CHALLENGE).m_strLabel;
  DDFontPrintf(&font32, pSD, 320 - 16 * CountChars(strHeading.c_str()), 32, "%s",
               strHeading.c_str());
  const int32_t nTotal = g_PlayData.m_nBestTotal;
  const std::string& strTotal = g_SystemData.m_vTexts.At(4);
  if (g_SystemData.m_bSelectShowTotal && nTotal > 0)
    DDFontPrintf(&font16, pSD, 320 - 8 * (CountChars(strTotal.c_str()) + GetDigitNum(nTotal)), 88,
                 "%s%d", strTotal.c_str(), nTotal);
  const bool bRanking = ChallengeRanking() && g_PlayData.m_bMapRanking;
  if (!bRanking && g_SystemData.m_bSelectShowHiScore)
    DDFontPrintf(&font32, pSD, 32, 128, "         %s", g_SystemData.m_vTexts.At(3).c_str());
  CountStages();
  const std::string& strStage = g_SystemData.m_vTexts.At(0);
  const int nLabel = CountChars(strStage.c_str());
  for (int i = 0; i < m_nVisible; ++i) {
    const int nStage = m_nScroll + i;
    const int y = kRowsY + kRowPitch * i;
    DDFontPrintf(&font32, pSD, 64, y, "%s%d", strStage.c_str(), nStage + 1);
    // A list shorter than the stages (an old challenge file) has no marks
    // for the rest.
    if (nStage < 0 || nStage >= static_cast<int>(g_PlayData.m_vChallenge.size())) continue;
    const cChallengeRecord& record = g_PlayData.m_vChallenge[nStage];
    if (record.m_bCleared) DrawAccessory(pSD, 32 * (nLabel + 4), y, 32, 96, 0);
    if (g_SystemData.m_bSelectShowHiScore)
      DDFontPrintf(&font32, pSD, 32 * nLabel + 192, y, "%d", record.m_nBest);
  }
}

void cStageSelectScene::Draw() {
  if (m_pScreenSD) {
    if (m_pScreenSD->bLost) {
      DrawScreen();
      m_pScreenSD->bLost = 0;
    }
    DDBlt(&BackBuffer, 0, 0, 640, 480, m_pScreenSD, 0, 0, 0);
  }
  CyclePalette();
}

int cStageSelectScene::FadeIn() {
  if (IsPaletteMode()) DrawScreen();
  Draw();
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cStageSelectScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  g_Cursor.Reset();
  FinishSceneFadeOut(SCENE_STAGESELECT);
  return 1;
}

int cStageSelectScene::SelectStage() {
  const cInput& input = g_Input.At(0);
  CountStages();
  g_Cursor.MoveList(input, 1, m_nScroll, kRowsY, kRowPitch, 32, m_nVisible, m_nStageCount, 1);
  PlayCursorSound(input, 3, 0);
  const int nRow = g_Cursor.Current().nRow;
  if (input.m_wDir & (DIR_LEFT | DIR_RIGHT | DIR_UP | DIR_DOWN)) {
    SetStageFile(nRow + 1);
    DrawScreen();
  }
  if (input.m_wButton & 1) {
    // No stage to start in an empty list.
    if (m_nStageCount <= 0) {
      PlaySE(3);
      return 1;
    }
    const std::string strFile = StageFileName(nRow + 1);
    if (!LoadPlayStage(strFile, 1, &g_StageCopy)) {
      PlaySE(3);
      ErrorBoxF("ステージファイル %s が読み込めません！", strFile.c_str());
      return 1;
    }
    PlaySE(1);
    g_PlayData.SetCurStage(g_Stage.m_strPath.empty() ? strFile : g_Stage.m_strPath, 0, 0, 0);
    g_PlayData.m_nPartNo = 1;
    g_PlayData.m_nStageNo = nRow + 1;
    if (g_SystemData.m_vUnlimitedLives.At(PLAYMODE_CHALLENGE) != 0) {
      g_PlayData.m_nLifeCount = g_PlayData.m_nLives = kUnlimited;
    } else {
      g_PlayData.m_nLifeCount = g_SystemData.m_vStartLives.At(PLAYMODE_CHALLENGE);
      g_PlayData.m_nLives = g_PlayData.m_nLifeCount - 1;
    }
    g_PlayData.m_bChain = 1;
    g_SceneManager.m_nSelectRow = nRow;
    g_SceneManager.m_nSelectScroll = m_nScroll;
    g_SceneManager.m_nNextScene = SCENE_PLAY;
    g_SceneManager.m_nPrevScene = SCENE_STAGESELECT;
    m_nPhase = 2;
    return 1;
  }
  if (input.m_wButton & 2) {
    PlaySE(2);
    g_SceneManager.m_nNextScene = SCENE_TITLE;
    g_SceneManager.m_nPrevScene = SCENE_STAGESELECT;
    m_nPhase = 2;
    return 1;
  }
  if (input.m_wButton & 4) {
    if (ChallengeRanking()) {
      PlaySE(6);
      g_PlayData.m_bMapRanking = !g_PlayData.m_bMapRanking;
      DrawScreen();
    } else {
      g_PlayData.m_bMapRanking = 0;
    }
  } else if ((input.m_wButton & 8) && ChallengeRanking()) {
    if (g_SystemData.CountEnabledEntries(g_SceneManager.m_nSubMode) >= 2) {
      PlaySE(6);
      g_PlayData.StepSelection(g_SceneManager.m_nSubMode, 1);
    }
    DrawScreen();
  }
  Draw();
  const CURSORDATA& cursor = g_Cursor.Current();
  DrawAccessory(&BackBuffer, cursor.nX, cursor.nY, 32, 0, 0);
  return 1;
}
