// The title screen: the game-mode menu and the saved-game list.
#include "scenes/title_scene.h"

#include <algorithm>

#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/save_slots.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/fs/file_system.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_surfaces.h"
#include "scenes/palette_cycle.h"
#include "scenes/scene_manager.h"
#include "scenes/shown_entries.h"
#include "scenes/slot_list_draw.h"
#include "scenes/stage_start.h"

namespace {

// The mode strips come last: a text menu goes without them.
constexpr int kPictures[] = {MENUBMP_TITLE, MENUBMP_ACCESSORY, MENUBMP_WINDOW, MENUBMP_GAMEMODE};
constexpr int kMenuY = 240;
constexpr int kRowPitch = 32;
constexpr int kSlotListX = 160;
constexpr int kSlotListY = 160;
constexpr int kSlotRowsShown = 10;

// The ranking flag of a play mode's rules.
int32_t ModeRanking(int nPlayMode) { return g_SystemData.m_vModeRanking.At(nPlayMode).m_bRanking; }

}  // namespace

cTitleScene::cTitleScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cTitleScene::CallFadeIn, &cTitleScene::SelectMode,
                                        &cTitleScene::SelectSaveData, &cTitleScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

cTitleScene::~cTitleScene() {
  ReleaseMenuSurfaces();
  ReleaseMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
}

int cTitleScene::Run() { return RunPhases(true); }

int cTitleScene::Init() {
  RequestSceneMusic(0);
  // The mode strips are optional: a game without them (or with a text
  // menu) shows the labels.
  m_bImageMenu =
      g_SystemData.m_bTitleMenuImage && plat::fs::Exists(g_ImageTable[MENUBMP_GAMEMODE].szFileName);
  LoadMenuPictures(kPictures, static_cast<int>(std::size(kPictures)) - (m_bImageMenu ? 0 : 1));
  if (m_bImageMenu && MenuPicture(MENUBMP_GAMEMODE)->nWidth <= 0) m_bImageMenu = 0;
  g_Cursor.Reset();
  // The shown entries, in menu order; a menu with none shown offers a new
  // story. At most one entry per game mode fits.
  m_nShownCount = PickShownEntries(g_SystemData.m_vTitleMenu, m_anShown, kModeCount);
  // The cursor starts on the last chosen mode; a mode no longer shown
  // leaves it on a row the first move wraps back.
  CURSORDATA& cursor = g_Cursor.Current();
  cursor.nRow = g_SceneManager.m_nGameMode;
  for (int i = 0; i < m_nShownCount; ++i)
    if (m_anShown[i] == g_SceneManager.m_nGameMode) cursor.nRow = i;
  cursor.nX = m_nMenuX;
  cursor.nY = kMenuY + kRowPitch * cursor.nRow;
  if (m_bImageMenu) {
    m_nMenuX = 288 - MenuPicture(MENUBMP_GAMEMODE)->nWidth / 2;
    cursor.nX = m_nMenuX;
  }
  CreateMenuSurface();
  m_nSubStep = 0;
  return 1;
}

void cTitleScene::CreateMenuSurface() {
  ReleaseMenuSurfaces();
  m_pMenuSD = nullptr;
  m_nMenuHeight = kRowPitch * m_nShownCount + 2;
  if (m_bImageMenu) {
    m_nMenuWidth = MenuPicture(MENUBMP_GAMEMODE)->nWidth + 32;
  } else {
    int nWidest = 0;
    for (int i = 0; i < m_nShownCount; ++i)
      nWidest = std::max(nWidest,
                         CountChars(g_SystemData.m_vTitleMenu.At(m_anShown[i]).m_strLabel.c_str()));
    m_nMenuWidth = 32 * nWidest + 34;
  }
  m_pMenuSD = ::CreateMenuSurface(m_nMenuWidth, m_nMenuHeight, 1);
  if (m_pMenuSD) DrawMenu();
}

void cTitleScene::DrawMenu() {
  if (!m_pMenuSD) return;
  if (m_bImageMenu) {
    DDFillSurface(m_pMenuSD, 0);
    DDSURFACEDATA* pStrips = MenuPicture(MENUBMP_GAMEMODE);
    for (int i = 0; i < m_nShownCount; ++i)
      DDBlt(m_pMenuSD, 32, kRowPitch * i, pStrips->nWidth, kRowPitch, pStrips, 0,
            kRowPitch * m_anShown[i], 0);
    return;
  }
  DDBltFrame(m_pMenuSD, 1, 1, m_nMenuWidth - 2, m_nMenuHeight - 2, MenuPicture(MENUBMP_WINDOW), 1,
             240);
  for (int i = 0; i < m_nShownCount; ++i)
    g_Font[2].DrawText(m_pMenuSD, 32, kRowPitch * i,
                       g_SystemData.m_vTitleMenu.At(m_anShown[i]).m_strLabel.c_str());
}

void cTitleScene::Draw() {
  DDBlt(&BackBuffer, 0, 0, 640, 480, MenuPicture(MENUBMP_TITLE), 0, 0, 0);
  if (m_pMenuSD) {
    // A box restored blank after lost surfaces is composed again.
    if (m_pMenuSD->bLost) {
      DrawMenu();
      m_pMenuSD->bLost = 0;
    }
    DDBlt(&BackBuffer, m_nMenuX, kMenuY, m_nMenuWidth, m_nMenuHeight, m_pMenuSD, 0, 0, 1);
  }
  CyclePalette();
}

void cTitleScene::DrawModeCursor() {
  const CURSORDATA& cursor = g_Cursor.Current();
  DrawAccessory(&BackBuffer, cursor.nX, cursor.nY, 32, 0, 0);
}

int cTitleScene::FadeIn() {
  if (IsPaletteMode()) DrawMenu();
  Draw();
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cTitleScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  g_Cursor.Reset();
  FinishSceneFadeOut(SCENE_TITLE);
  return 1;
}

int cTitleScene::SelectMode() {
  const cInput& input = g_Input.At(0);
  g_Cursor.MoveGrid(input, m_nMenuX, kMenuY, 0, kRowPitch, 1, m_nShownCount);
  PlayCursorSound(input, 2, 0);
  if (!(input.m_wButton & 1)) {
    Draw();
    DrawModeCursor();
    return 1;
  }
  PlaySE(1);
  const int nRow = std::clamp(g_Cursor.Current().nRow, 0, m_nShownCount - 1);
  const int nMode = m_anShown[nRow];
  g_SceneManager.m_nGameMode = nMode;
  switch (nMode) {
    case GAMEMODE_NEW_STORY:
      g_SceneManager.m_nSubMode = PLAYMODE_STORY;
      g_SceneManager.m_nModeFlag = ModeRanking(PLAYMODE_STORY);
      StartNewStory();
      g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
      m_nPhase = 3;
      break;
    case GAMEMODE_CONTINUE_STORY:
      g_SceneManager.m_nSubMode = PLAYMODE_STORY;
      g_SceneManager.m_nModeFlag = ModeRanking(PLAYMODE_STORY);
      g_Cursor.Push(0);
      m_nPhase = 2;
      m_nSubStep = 0;
      break;
    case GAMEMODE_CHALLENGE:
      g_SceneManager.m_nSubMode = PLAYMODE_CHALLENGE;
      g_SceneManager.m_nModeFlag = ModeRanking(PLAYMODE_CHALLENGE);
      if (!g_PlayData.LoadChallenge()) {
        // A fresh challenge: one stage open, every stage not yet cleared.
        g_PlayData.Reset();
        g_PlayData.Validate();
      }
      g_SceneManager.m_nNextScene = SCENE_STAGESELECT;
      m_nPhase = 3;
      break;
    case GAMEMODE_FREE:
      g_SceneManager.m_nSubMode = PLAYMODE_FREE;
      g_SceneManager.m_nModeFlag = ModeRanking(PLAYMODE_FREE);
      if (!RequestLoadStage()) break;
      g_SceneManager.m_nNextScene = SCENE_PLAY;
      m_nPhase = 3;
      break;
    case GAMEMODE_REPLAY:
      g_SceneManager.m_nSubMode = PLAYMODE_REPLAY;
      g_SceneManager.m_nModeFlag = ModeRanking(PLAYMODE_REPLAY);
      if (!RequestLoadReplay()) break;
      g_SceneManager.m_nNextScene = SCENE_PLAY;
      m_nPhase = 3;
      break;
    case GAMEMODE_OPTIONS:
      g_SceneManager.m_nNextScene = SCENE_OPTION;
      m_nPhase = 3;
      break;
    case GAMEMODE_QUIT:
      PostFatalClose();
      break;
    default:
      break;
  }
  return 1;
}

int cTitleScene::SelectSaveData() {
  const cInput& input = g_Input.At(0);
  if (m_nSubStep == 0) {
    g_Cursor.Current() = CURSORDATA{};
    m_nScroll = 0;
    m_nSubStep = 1;
    ReadStorySlotInfo(g_SaveSlots);
  }
  const int nSlots = static_cast<int>(g_SaveSlots.size());
  m_nVisible = std::min(nSlots, kSlotRowsShown);
  g_Cursor.MoveList(input, 1, m_nScroll, kSlotListY, 16, kSlotListX, m_nVisible, nSlots, 1);
  PlayCursorSound(input, 3, 0);
  const int nRow = g_Cursor.Current().nRow;
  if (input.m_wButton & 1) {
    // A slot whose file went bad since the list was read is refused like
    // an empty one: the story would go on from whatever play came before.
    if (nRow >= 0 && nRow < nSlots && g_SaveSlots[nRow].m_bUsed && g_PlayData.LoadSlot(nRow)) {
      PlaySE(1);
      g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
      m_nPhase = 3;
    } else {
      if (nRow >= 0 && nRow < nSlots) g_SaveSlots[nRow].m_bUsed = 0;
      PlaySE(3);
    }
  } else if (input.m_wButton & 2) {
    PlaySE(2);
    g_Cursor.Pop(1);
    m_nPhase = 1;
    m_nSubStep = 0;
  } else {
    DDBlt(&BackBuffer, 0, 0, 640, 480, MenuPicture(MENUBMP_TITLE), 0, 0, 0);
    CyclePalette();
    DrawStorySlotInfo(&BackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nScroll, m_nVisible);
    const CURSORDATA& cursor = g_Cursor.Current();
    DrawAccessory(&BackBuffer, cursor.nX, cursor.nY, 16, 64, 0);
  }
  return 1;
}

bool cTitleScene::RequestLoadStage() { return RequestFile(WM_OPENSTAGE, 0) != 0; }
