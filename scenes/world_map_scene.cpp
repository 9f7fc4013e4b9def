// The world map: walking between stages and entering one.
#include "scenes/world_map_scene.h"

#include <algorithm>
#include <string>

#include "base/logs.h"
#include "base/number_text.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/save_slots.h"
#include "files/stage_data.h"
#include "files/stage_load.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "input/input.h"
#include "scenes/menu_surfaces.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kPictures[] = {MENUBMP_MAPBACK, MENUBMP_MAPCHIP, MENUBMP_MAPEVENT,
                             MENUBMP_ACCESSORY, MENUBMP_WINDOW};
constexpr int kCell = 32;
constexpr int kViewColumns = 20;
constexpr int kViewRows = 15;
// The player icon stands at this cell of the view, drawn at (288, 224).
constexpr int kIconColumn = 9;
constexpr int kIconRow = 7;
constexpr int kIconX = kIconColumn * kCell;
constexpr int kIconY = kIconRow * kCell;
constexpr int kRankingX = 367;
constexpr int kRankingY = 64;
constexpr int kQuestionY = 260;
constexpr int32_t kUnlimited = 999999;

// The view origin the map surface was last rendered for, and the count of
// drawn frames that animates the player icon: program-wide, as they
// outlast the scene.
int32_t g_nRenderedViewX = -1;
int32_t g_nRenderedViewY = -1;
int32_t g_nIconCounter = 0;

int32_t StoryRanking() { return g_SystemData.m_vModeRanking.At(PLAYMODE_STORY).m_bRanking; }

const std::string& SystemText(int n) { return g_SystemData.m_vTexts.At(n); }

void ShowStageLoadError(const std::string& strFile) {
  ErrorBoxF("ステージファイル %s が読み込めません！", strFile.c_str());
}

}  // namespace

cWorldMapScene::cWorldMapScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cWorldMapScene::CallFadeIn, &cWorldMapScene::Walk,
                                        &cWorldMapScene::EnterStage, &cWorldMapScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

cWorldMapScene::~cWorldMapScene() {
  ReleaseMenuSurfaces();
  ReleaseMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
}

int cWorldMapScene::Run() { return RunPhases(true, 15); }

// --- queries ------------------------------------------------------------------

const cWorldStage* cWorldMapScene::FindActiveStage(const cWorldPoint* pPoint) {
  return pPoint ? pPoint->FindCurrentEntry(g_PlayData) : nullptr;
}

bool cWorldMapScene::IsCleared(const cWorldStage* pStage) {
  if (!pStage) return false;
  // A stage number outside the flags (a damaged map) was never cleared.
  const int32_t n = pStage->m_nStageNo;
  if (n < 0 || n >= static_cast<int32_t>(g_PlayData.m_vCleared.size())) return false;
  return g_PlayData.m_vCleared[n] != 0;
}

bool cWorldMapScene::IsPassable(const cWorldStage* pStage) {
  return pStage && (pStage->m_bPass != 0 || IsCleared(pStage));
}

int32_t cWorldMapScene::GetCellIndex(int32_t x, int32_t y) { return g_WorldMap.GetCellIndex(x, y); }

int32_t cWorldMapScene::GetCursorCellIndex(const CURSORDATA& level) {
  return GetCellIndex(level.nColumn, level.nRow);
}

bool cWorldMapScene::IsEnterable() const {
  return m_pStage && m_pStage->m_nKind == WORLDSTAGE_STAGE;
}

namespace {

// The terrain kind of a cell, or null for a cell or kind the map does not
// have (a damaged map): such a cell is open ground with no tile.
const cWorldTerrain* TerrainAt(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= g_WorldMap.m_nWidth || y >= g_WorldMap.m_nHeight) return nullptr;
  const int32_t nIndex = g_WorldMap.GetCellIndex(x, y);
  if (nIndex < 0 || nIndex >= static_cast<int32_t>(g_WorldMap.m_vCells.size())) return nullptr;
  const int32_t nKind = g_WorldMap.m_vCells[nIndex];
  if (nKind < 0 || nKind >= static_cast<int32_t>(g_WorldMap.m_vecTerrain.size())) return nullptr;
  return &g_WorldMap.m_vecTerrain[nKind];
}

}  // namespace

void cWorldMapScene::FindCurrent() {
  m_pPoint = g_WorldMap.FindPoint(g_Cursor.Current());
  m_pStage = FindActiveStage(m_pPoint);
}

// --- set-up ---------------------------------------------------------------------

int cWorldMapScene::Init() {
  RequestSceneMusic(1);
  // The background entry takes the map's own picture.
  DDSetSurfaceName(g_ImageTable[MENUBMP_MAPBACK].szFileName, g_WorldMap.m_strPicture.c_str());
  LoadMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
  g_Cursor.Reset();
  g_PlayData.CalcTotalScore();
  CURSORDATA& level = g_Cursor.Current();
  level.nColumn = g_PlayData.m_nMapX;
  level.nRow = g_PlayData.m_nMapY;
  level.nX = kIconX;
  level.nY = kIconY;
  m_nViewX = level.nColumn - kIconColumn;
  m_nViewY = level.nRow - kIconRow;
  m_nDir = std::clamp(g_PlayData.m_nMapDir, 0, 3);
  FindCurrent();
  m_Saved = level;
  CreateRankingSurface();
  if (IsEnterable()) SelectStagePoint();
  // Back from a stage with automatic saving on: the story goes into the
  // slot last saved to.
  if (g_PlayData.m_bAutoSave && g_SceneManager.m_nPrevScene == SCENE_PLAY &&
      g_PlayData.m_nLastSlot >= 0 && g_PlayData.m_nLastSlot < kStorySlotCount)
    g_PlayData.SaveSlot(g_PlayData.m_nLastSlot);
  RenderMap();
  m_nSubStep = 0;
  return 1;
}

void cWorldMapScene::CreateRankingSurface() {
  ReleaseMenuSurfaces();
  m_pMapSD = CreateMenuSurface(640, 480, 0);
  m_pRankingSD = CreateMenuSurface(272, 352, 0);
  DrawRanking();
}

void cWorldMapScene::DrawRanking() {
  if (!m_pRankingSD) return;
  // The ranking table of the stage under the icon is drawn by the rankings
  // once they are part of the program; until then the box stays blank.
  DDFillSurface(m_pRankingSD, 0);
}

void cWorldMapScene::SelectStagePoint() {
  if (!m_pStage) return;
  g_PlayData.SetCurStage(m_pStage->m_strStageFile, m_pStage->m_bSuffix, m_pStage->m_nSuffix1,
                         m_pStage->m_nSuffix2);
  m_nBestScore = g_PlayData.GetStageScore(g_PlayData.m_strStageKey);
  if (g_SceneManager.m_nModeFlag) {
    g_PlayData.StepSelection(g_SceneManager.m_nSubMode, 0);
    DrawRanking();
  }
}

void cWorldMapScene::PrepareStagePlay() {
  g_PlayData.m_Run.pMapEntry = m_pStage;
  const std::string strPath = g_Stage.m_strPath.empty() ? m_pStage->m_strStageFile : g_Stage.m_strPath;
  g_PlayData.SetCurStage(strPath, m_pStage->m_bSuffix, m_pStage->m_nSuffix1, m_pStage->m_nSuffix2);
  g_PlayData.m_nStageNo = m_pStage->m_nStageNo;
  g_PlayData.m_nPartNo = 1;
  if (g_SystemData.m_bStoryKeepLives)
    g_PlayData.m_nLifeCount = g_SystemData.m_vUnlimitedLives.At(PLAYMODE_STORY) != 0
                                  ? kUnlimited
                                  : g_PlayData.m_nLives + 1;
  else
    g_PlayData.m_nLifeCount = g_SystemData.m_vStartLives.At(PLAYMODE_STORY);
}

// --- drawing --------------------------------------------------------------------

void cWorldMapScene::RenderMap() {
  if (!m_pMapSD) return;
  g_nRenderedViewX = m_nViewX;
  g_nRenderedViewY = m_nViewY;
  DDFillSurface(m_pMapSD, static_cast<uint32_t>(g_WorldMap.m_nBackColour));
  if (g_WorldMap.m_bPicture)
    DDBlt(m_pMapSD, kCell * std::max(-m_nViewX, 0), kCell * std::max(-m_nViewY, 0), 640, 480,
          MenuPicture(MENUBMP_MAPBACK), kCell * std::max(m_nViewX, 0),
          kCell * std::max(m_nViewY, 0), 0);
  DDSURFACEDATA* pChips = MenuPicture(MENUBMP_MAPCHIP);
  for (int r = 0; r < kViewRows; ++r)
    for (int c = 0; c < kViewColumns; ++c) {
      const cWorldTerrain* pTerrain = TerrainAt(m_nViewX + c, m_nViewY + r);
      if (!pTerrain) continue;
      const int nTile = pTerrain->m_nTile;
      DDBlt(m_pMapSD, kCell * c, kCell * r, kCell, kCell, pChips, kCell * (nTile % 5),
            kCell * (nTile / 5), 1);
    }
  DDSURFACEDATA* pIcons = MenuPicture(MENUBMP_MAPEVENT);
  for (const cWorldPoint& point : g_WorldMap.m_vecPoints) {
    if (point.m_nX < m_nViewX || point.m_nX > m_nViewX + kViewColumns || point.m_nY < m_nViewY ||
        point.m_nY > m_nViewY + kViewRows)
      continue;
    const cWorldStage* pStage = FindActiveStage(&point);
    if (!pStage) continue;
    DDBlt(m_pMapSD, kCell * (point.m_nX - m_nViewX), kCell * (point.m_nY - m_nViewY), kCell,
          kCell, pIcons, IsCleared(pStage) ? kCell : 0, kCell * pStage->m_nIconRow, 1);
  }
}

void cWorldMapScene::DrawPlayerIcon() {
  static constexpr int kFrames[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
  const int nFrame = g_nIconCounter < 40 ? 0 : 1;
  DrawAccessory(&BackBuffer, kIconX, kIconY, kCell, kFrames[m_nDir][0] + kCell * nFrame,
                kFrames[m_nDir][1]);
  if (++g_nIconCounter >= 80) g_nIconCounter = 0;
}

void cWorldMapScene::Draw(bool bStageInfo) {
  if (m_pMapSD) {
    if (m_pMapSD->bLost) {
      m_pMapSD->bLost = 0;
      RenderMap();
    }
    DDBlt(&BackBuffer, 0, 0, 640, 480, m_pMapSD, 0, 0, 0);
  }
  DrawPlayerIcon();
  Font& font = g_Font[1];
  if (g_SystemData.m_bMapShowLives) {
    const int32_t nLives = g_PlayData.m_nLives;
    const int nDigits = nLives == kUnlimited ? 1 : GetDigitNum(nLives);
    const int x = 605 - 16 * nDigits;
    font.DrawFrame(&BackBuffer, x, 17, 16 * (nDigits + 1), 20);
    DrawAccessory(&BackBuffer, x, 19, 16, 0, 48);
    if (nLives == kUnlimited)
      font.DrawText(&BackBuffer, x + 16, 19, "∞");
    else
      DDFontPrintf(&font, &BackBuffer, x + 16, 19, "%d", nLives);
  }
  if (!bStageInfo || !IsEnterable()) return;
  if (StoryRanking() && g_PlayData.m_bMapRanking && m_pRankingSD) {
    if (m_pRankingSD->bLost) {
      m_pRankingSD->bLost = 0;
      DrawRanking();
    }
    DDBlt(&BackBuffer, kRankingX, kRankingY, 272, 352, m_pRankingSD, 0, 0, 0);
  }
  const bool bScore = g_SystemData.m_bMapShowScore && m_nBestScore > 0;
  const int y = bScore ? 184 : 204;
  const std::string& strTitle = m_pStage->m_strTitle;
  const int nChars = CountChars(strTitle.c_str());
  if (nChars >= 1) {
    const int x = 304 - 8 * nChars;
    font.DrawFrame(&BackBuffer, x, y, 16 * nChars, 16);
    font.DrawText(&BackBuffer, x, y, strTitle.c_str());
  }
  if (bScore) {
    const std::string& strLabel = SystemText(2);
    const int nWidth = 16 * (CountChars(strLabel.c_str()) + GetDigitNum(m_nBestScore));
    const int x = 304 - nWidth / 2;
    font.DrawFrame(&BackBuffer, x, y + 20, nWidth, 16);
    DDFontPrintf(&font, &BackBuffer, x, y + 20, "%s%d", strLabel.c_str(), m_nBestScore);
  }
}

// --- phases ---------------------------------------------------------------------

int cWorldMapScene::FadeIn() {
  if (IsPaletteMode()) DrawRanking();
  Draw(!g_PlayData.m_bReturnPos);
  if (!SceneFadeInStep()) return 1;
  m_nPhase = 1;
  if (!IsEnterable()) return 1;
  if (g_PlayData.m_bReturnPos) {
    // Back from a stage the player gave up: off the point again, unless it
    // was cleared after all.
    g_PlayData.m_bReturnPos = 0;
    if (!IsCleared(m_pStage)) {
      CURSORDATA& level = g_Cursor.Current();
      level.nColumn = g_PlayData.m_nReturnX;
      level.nRow = g_PlayData.m_nReturnY;
      m_nViewX = level.nColumn - kIconColumn;
      m_nViewY = level.nRow - kIconRow;
      FindCurrent();
      RenderMap();
    }
    return 1;
  }
  // Standing on a stage that must be played starts it, unless the player
  // just came back from the menu.
  if (g_SceneManager.m_nPrevScene != SCENE_MAPMENU && !IsPassable(m_pStage)) {
    if (LoadPlayStage(m_pStage->m_strStageFile, 1, &g_StageCopy)) {
      PrepareStagePlay();
      g_PlayData.m_nReturnX = g_Cursor.Current().nColumn;
      g_PlayData.m_nReturnY = g_Cursor.Current().nRow;
      m_nSubStep = 0;
      g_SceneManager.m_nNextScene = SCENE_PLAY;
      m_nPhase = 3;
    } else {
      // A story that cannot go on without this stage ends here.
      ShowStageLoadError(m_pStage->m_strStageFile);
      PostFatalClose();
    }
  }
  return 1;
}

int cWorldMapScene::FadeOut() {
  Draw(true);
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  g_Cursor.Reset();
  FinishSceneFadeOut(SCENE_WORLDMAP);
  return 1;
}

void cWorldMapScene::MovePlayerIcon() {
  const cInput& input = g_Input.At(0);
  CURSORDATA& level = g_Cursor.Current();
  const uint16_t wDir = input.m_wDir;
  if (wDir & (DIR_LEFT | DIR_RIGHT | DIR_UP | DIR_DOWN)) {
    g_PlayData.m_nReturnX = level.nColumn;
    g_PlayData.m_nReturnY = level.nRow;
    m_Saved = level;
  }
  if (wDir & DIR_LEFT) {
    m_nDir = 2;
    level.nColumn = std::max(level.nColumn - 1, 0);
  } else if (wDir & DIR_RIGHT) {
    m_nDir = 3;
    level.nColumn = std::max(std::min(level.nColumn + 1, g_WorldMap.m_nWidth - 1), 0);
  } else if (wDir & DIR_UP) {
    m_nDir = 1;
    level.nRow = std::max(level.nRow - 1, 0);
  } else if (wDir & DIR_DOWN) {
    m_nDir = 0;
    level.nRow = std::max(std::min(level.nRow + 1, g_WorldMap.m_nHeight - 1), 0);
  }
  FindCurrent();
  const cWorldTerrain* pTerrain = TerrainAt(level.nColumn, level.nRow);
  const bool bBlocked = m_pStage ? m_pStage->m_nKind == WORLDSTAGE_WALL
                                 : (pTerrain && pTerrain->m_bBlocked != 0);
  if (bBlocked) {
    // The step is undone; the icon stays turned.
    level = m_Saved;
    FindCurrent();
  } else {
    m_nViewX = level.nColumn - kIconColumn;
    m_nViewY = level.nRow - kIconRow;
    g_PlayData.m_nMapDir = m_nDir;
    if (m_nViewX != g_nRenderedViewX || m_nViewY != g_nRenderedViewY) RenderMap();
  }
  level.nX = kIconX;
  level.nY = kIconY;
}

void cWorldMapScene::RankingButtons(const cInput& input) {
  if (input.m_wButton & 4) {
    if (StoryRanking()) {
      PlaySE(6);
      g_PlayData.m_bMapRanking = !g_PlayData.m_bMapRanking;
      DrawRanking();
    } else if (g_PlayData.m_bMapRanking) {
      g_PlayData.m_bMapRanking = 0;
      DrawRanking();
    }
  } else if ((input.m_wButton & 8) && StoryRanking()) {
    if (g_SystemData.CountEnabledEntries(g_SceneManager.m_nSubMode) >= 2) {
      PlaySE(6);
      g_PlayData.StepSelection(g_SceneManager.m_nSubMode, 1);
    }
    DrawRanking();
  }
}

int cWorldMapScene::Walk() {
  const cInput& input = g_Input.At(0);
  MovePlayerIcon();
  PlayCursorSound(input, 3, 0);
  FindCurrent();
  CURSORDATA& level = g_Cursor.Current();
  if (IsEnterable()) {
    if (level.nColumn != m_LastSeen.nColumn || level.nRow != m_LastSeen.nRow) {
      SelectStagePoint();
      m_LastSeen = level;
    }
    const bool bCleared = IsCleared(m_pStage);
    if (!IsPassable(m_pStage) || ((input.m_wButton & 1) && (!bCleared || m_pStage->m_bReplay))) {
      g_PlayData.m_nMapX = level.nColumn;
      g_PlayData.m_nMapY = level.nRow;
      g_Cursor.Push(0);
      m_nSubStep = 0;
      m_nPhase = 2;
      return 1;
    }
    // A cleared stage that cannot be played again: the button does nothing.
    if (input.m_wButton & 1) return 1;
    RankingButtons(input);
  }
  if (input.m_wButton & 2) {
    PlaySE(4);
    g_PlayData.m_nMapX = level.nColumn;
    g_PlayData.m_nMapY = level.nRow;
    m_nSubStep = 0;
    g_SceneManager.m_nNextScene = SCENE_MAPMENU;
    m_nPhase = 3;
    return 1;
  }
  Draw(true);
  return 1;
}

int cWorldMapScene::EnterStage() {
  const cInput& input = g_Input.At(0);
  if (!m_pStage) {
    // Nothing to enter (cannot happen while the question is open).
    g_Cursor.Pop(1);
    m_nPhase = 1;
    return 1;
  }
  if (m_nSubStep == 0) {
    PlaySE(1);
    m_bLoaded = LoadPlayStage(m_pStage->m_strStageFile, 1, &g_StageCopy);
    if (!m_bLoaded) ShowStageLoadError(m_pStage->m_strStageFile);
    g_Cursor.Current().nRow = 1;
    m_nSubStep = 1;
  }
  const int x = GetMenuTextLeft(304, 10, 2, 1);
  g_Cursor.MoveGrid(input, x, kQuestionY, 0, 16, 1, 2);
  PlayCursorSound(input, 2, 0);
  bool bLeave = false;
  if (input.m_wButton & 1) {
    PlaySE(1);
    if (g_Cursor.Current().nRow == 0 && m_bLoaded) {
      g_PlayData.m_nMapDir = m_nDir;
      PrepareStagePlay();
      m_nSubStep = 0;
      g_SceneManager.m_nNextScene = SCENE_PLAY;
      m_nPhase = 3;
      return 1;
    }
    bLeave = true;
  } else if (input.m_wButton & 2) {
    PlaySE(2);
    bLeave = true;
  } else {
    RankingButtons(input);
    Draw(true);
    DrawMenuTextWindow(&BackBuffer, x, kQuestionY, 10, 2, 1);
    const CURSORDATA& cursor = g_Cursor.Current();
    DrawAccessory(&BackBuffer, cursor.nX, cursor.nY, 16, 64, 0);
    return 1;
  }
  if (bLeave) {
    g_Cursor.Pop(1);
    // A stage that had to be played sends the icon back where it came from.
    if (!IsPassable(m_pStage)) {
      g_Cursor.Current() = m_Saved;
      FindCurrent();
      m_nViewX = m_Saved.nColumn - kIconColumn;
      m_nViewY = m_Saved.nRow - kIconRow;
      if (m_nViewX != g_nRenderedViewX || m_nViewY != g_nRenderedViewY) RenderMap();
    }
    m_nSubStep = 0;
    m_nPhase = 1;
  }
  return 1;
}
