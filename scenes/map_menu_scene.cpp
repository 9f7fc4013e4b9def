// The world-map menu: saving, the automatic save, back to the map or the title.
#include "scenes/map_menu_scene.h"

#include <algorithm>

#include "base/number_text.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/save_slots.h"
#include "files/system_data.h"
#include "input/input.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_surfaces.h"
#include "scenes/palette_cycle.h"
#include "scenes/scene_manager.h"
#include "scenes/shown_entries.h"
#include "scenes/slot_list_draw.h"

namespace {

constexpr int kPictures[] = {MENUBMP_WINDOW, MENUBMP_SYMBOL, MENUBMP_ACCESSORY};
constexpr int kMenuX = 264;
constexpr int kMenuY = 192;
constexpr int kSlotListX = 152;
constexpr int kSlotListY = 160;
constexpr int kSlotRowsShown = 10;
constexpr int kSaveQuestionY = 400;
constexpr int kQuestionY = 224;
constexpr int kMessageY = 232;

void DrawCursorAt(const CURSORDATA& cursor, int sx) {
  DrawAccessory(&BackBuffer, cursor.nX, cursor.nY, 16, sx, 0);
}

// Saves into a slot the story has (a damaged play record may name none).
void SaveIntoSlot(int nSlot) {
  if (nSlot >= 0 && nSlot < kStorySlotCount) g_PlayData.SaveSlot(nSlot);
}

}  // namespace

cMapMenuScene::cMapMenuScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cMapMenuScene::CallFadeIn, &cMapMenuScene::SelectItem,
                                        &cMapMenuScene::Save,       &cMapMenuScene::AutoSave,
                                        &cMapMenuScene::BackToMap,  &cMapMenuScene::BackToTitle,
                                        &cMapMenuScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nSubStep = 0;
  m_nPhase = -1;
}

cMapMenuScene::~cMapMenuScene() {
  ReleaseMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
}

int cMapMenuScene::Run() { return RunPhases(true); }

int cMapMenuScene::Init() {
  RequestSceneMusic(1);
  LoadMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
  m_nShownCount = PickShownEntries(g_SystemData.m_vMapMenu, m_anShown, kEntryCount);
  g_Cursor.Reset();
  return 1;
}

void cMapMenuScene::DrawMenu() {
  int nWidest = 0;
  for (int i = 0; i < m_nShownCount; ++i)
    nWidest =
        std::max(nWidest, CountChars(g_SystemData.m_vMapMenu.At(m_anShown[i]).m_strLabel.c_str()));
  DDBltFrame(&BackBuffer, kMenuX, kMenuY, 16 * (nWidest + 1), 16 * m_nShownCount,
             MenuPicture(MENUBMP_WINDOW), 1, 240);
  for (int i = 0; i < m_nShownCount; ++i)
    g_Font[1].DrawText(&BackBuffer, kMenuX + 16, kMenuY + 16 * i,
                       g_SystemData.m_vMapMenu.At(m_anShown[i]).m_strLabel.c_str());
}

void cMapMenuScene::DrawTotalScore() {
  const int32_t nTotal = g_PlayData.m_nBestTotal;
  if (!g_SystemData.m_bMapMenuShowTotal || nTotal <= 0) return;
  const std::string& strLabel = g_SystemData.m_vTexts.At(4);
  const int nWidth = 16 * (CountChars(strLabel.c_str()) + GetDigitNum(nTotal));
  DDFontPrintfBox(&g_Font[1], &BackBuffer, 320 - nWidth / 2, 260, nWidth, 16, "%s%d",
                  strLabel.c_str(), nTotal);
}

void cMapMenuScene::Draw() {
  DDFillSurface(&BackBuffer, 16);
  DrawMenu();
  DrawTotalScore();
  CyclePalette();
}

void cMapMenuScene::DrawQuestion(int nFirstText, int nCount, int y) {
  DDFillSurface(&BackBuffer, 16);
  DrawMenuTextWindow(&BackBuffer, GetMenuTextLeft(320, nFirstText, nCount, 1), y, nFirstText,
                     nCount, 1);
  CyclePalette();
  DrawCursorAt(g_Cursor.Current(), 64);
}

void cMapMenuScene::DrawSlotList() {
  DDFillSurface(&BackBuffer, 16);
  DrawStorySlotInfo(&BackBuffer, kSlotListX, kSlotListY, g_SaveSlots, m_nScroll, m_nVisible);
  CyclePalette();
}

int cMapMenuScene::FadeIn() {
  Draw();
  DrawCursorAt(CURSORDATA{0, 0, kMenuX, kMenuY}, 64);
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cMapMenuScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16; it resets
  // the cursor itself.
  DDFillSurface(&BackBuffer, 16);
  FinishSceneFadeOut(SCENE_MAPMENU);
  m_nPhase = -1;
  return 1;
}

int cMapMenuScene::SelectItem() {
  const cInput& input = g_Input.At(0);
  g_Cursor.MoveGrid(input, kMenuX, kMenuY, 0, 16, 1, m_nShownCount);
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & 1) {
    PlaySE(1);
    const int nRow = std::clamp(g_Cursor.Current().nRow, 0, m_nShownCount - 1);
    m_nPhase = m_anShown[nRow] + 2;
    m_nSubStep = 0;
    g_Cursor.Push(0);
  } else if (input.m_wButton & 2) {
    PlaySE(2);
    m_nSubStep = 0;
    m_nPhase = 4;
  } else {
    Draw();
    DrawCursorAt(g_Cursor.Current(), 64);
  }
  return 1;
}

int cMapMenuScene::Save() {
  const cInput& input = g_Input.At(0);
  const int nSlots = static_cast<int>(g_SaveSlots.size());
  if (m_nSubStep == 0) {
    CURSORDATA& level = g_Cursor.Current();
    level = CURSORDATA{};
    level.nRow = g_PlayData.m_nLastSlot;
    m_nSubStep = 1;
    ReadStorySlotInfo(g_SaveSlots);
    m_nVisible = std::min(nSlots, kSlotRowsShown);
    // The last used slot opens at the top of the list.
    m_nScroll = level.nRow;
  }
  if (m_nSubStep == 1) {
    g_Cursor.MoveList(input, 1, m_nScroll, kSlotListY, 16, kSlotListX, m_nVisible, nSlots, 1);
    PlayCursorSound(input, 3, 0);
    if (input.m_wButton & 1) {
      PlaySE(1);
      g_Cursor.Push(0);
      m_nSubStep = 2;
      g_Cursor.Current().nRow = 1;
    } else if (input.m_wButton & 2) {
      PlaySE(2);
      g_Cursor.Pop(1);
      m_nPhase = 1;
      m_nSubStep = 0;
    } else {
      DrawSlotList();
      DrawCursorAt(g_Cursor.Current(), 64);
    }
    return 1;
  }
  const int x = GetMenuTextLeft(320, 12, 2, 1);
  g_Cursor.MoveGrid(input, x, kSaveQuestionY, 0, 16, 1, 2);
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & 3) {
    if (!(input.m_wButton & 1)) {
      PlaySE(2);
    } else if (g_Cursor.Current().nRow == 0) {
      PlaySE(5);
      const int nSlot = g_Cursor.Parent() ? g_Cursor.Parent()->nRow : 0;
      g_PlayData.m_nLastSlot = nSlot;
      SaveIntoSlot(nSlot);
    } else {
      PlaySE(1);
    }
    g_Cursor.Pop(1);
    m_nSubStep = 1;
    return 1;
  }
  DrawSlotList();
  DrawMenuTextWindow(&BackBuffer, x, kSaveQuestionY, 12, 2, 1);
  if (const CURSORDATA* pList = g_Cursor.Parent()) DrawCursorAt(*pList, 80);
  DrawCursorAt(g_Cursor.Current(), 64);
  return 1;
}

int cMapMenuScene::AutoSave() {
  const cInput& input = g_Input.At(0);
  if (m_nSubStep == 0) {
    CURSORDATA& level = g_Cursor.Current();
    level = CURSORDATA{};
    level.nRow = g_PlayData.m_bAutoSave ? 0 : 1;
    m_nSubStep = g_PlayData.m_nLastSlot == -1 ? 2 : 1;
    return 1;
  }
  if (m_nSubStep == 2) {
    // No slot to save into yet: the message alone, closed by either button.
    if (input.m_wButton & 3) {
      PlaySE((input.m_wButton & 1) ? 1 : 2);
      g_Cursor.Pop(1);
      m_nSubStep = 0;
      m_nPhase = 1;
      return 1;
    }
    DDFillSurface(&BackBuffer, 16);
    DrawMenuTextWindow(&BackBuffer, GetMenuTextLeft(320, 16, 1, 0), kMessageY, 16, 1, 0);
    CyclePalette();
    return 1;
  }
  g_Cursor.MoveGrid(input, GetMenuTextLeft(320, 14, 2, 1), kQuestionY, 0, 16, 1, 2);
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & 3) {
    if (input.m_wButton & 1) {
      PlaySE(1);
      if (g_Cursor.Current().nRow == 0) {
        SaveIntoSlot(g_PlayData.m_nLastSlot);
        g_PlayData.m_bAutoSave = 1;
      } else {
        g_PlayData.m_bAutoSave = 0;
      }
    } else {
      PlaySE(2);
    }
    g_Cursor.Pop(1);
    m_nSubStep = 0;
    m_nPhase = 1;
    return 1;
  }
  DrawQuestion(14, 2, kQuestionY);
  return 1;
}

int cMapMenuScene::BackToMap() {
  m_nSubStep = 0;
  m_nPhase = 6;
  g_SceneManager.m_nNextScene = SCENE_WORLDMAP;
  return 1;
}

int cMapMenuScene::BackToTitle() {
  const cInput& input = g_Input.At(0);
  if (m_nSubStep == 0) {
    g_Cursor.Current() = CURSORDATA{};
    g_Cursor.Current().nRow = 1;
    m_nSubStep = 1;
  }
  g_Cursor.MoveGrid(input, GetMenuTextLeft(320, 17, 2, 1), kQuestionY, 0, 16, 1, 2);
  PlayCursorSound(input, 2, 0);
  if (input.m_wButton & 1) {
    PlaySE(1);
    if (g_Cursor.Current().nRow == 0) {
      m_nPhase = 6;
      g_SceneManager.m_nNextScene = SCENE_TITLE;
      return 1;
    }
    g_Cursor.Pop(1);
    m_nSubStep = 0;
    m_nPhase = 1;
  } else if (input.m_wButton & 2) {
    PlaySE(2);
    g_Cursor.Pop(1);
    m_nSubStep = 0;
    m_nPhase = 1;
  } else {
    DrawQuestion(17, 2, kQuestionY);
  }
  return 1;
}
