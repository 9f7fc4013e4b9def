// The options screen.
#include "scenes/option_scene.h"

#include <algorithm>
#include <string>

#include "base/logs.h"
#include "base/paths.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/hbt_palette.h"
#include "files/options.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_surfaces.h"
#include "scenes/palette_cycle.h"
#include "scenes/scene_manager.h"
#include "scenes/shown_entries.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace {

constexpr int kPictures[] = {MENUBMP_ACCESSORY, MENUBMP_WINDOW};
constexpr int kRowsY = 96;
constexpr int kLabelX = 64;
constexpr int kValueX = 208;
enum : int {
  OPTION_PALETTE = 0,
  OPTION_MUSIC = 1,
  OPTION_VOLUME = 2,
  OPTION_RANKMODE = 3,
  OPTION_NAME = 4,
  OPTION_BACK = 5,
};

struct OPTIONRANGE {
  int32_t cOptionData::*pField;
  int32_t nMin;
  int32_t nMax;
};
constexpr OPTIONRANGE kRanges[] = {
    {&cOptionData::m_nPalette, 0, 23},
    {&cOptionData::m_bMusic, 0, 1},
    {&cOptionData::m_nVolume, 0, 10},
    {&cOptionData::m_nRankMode, 0, 3},
};

std::string ValueText(int nOption) {
  switch (nOption) {
    case OPTION_PALETTE:
      return std::to_string(g_Option.m_nPalette);
    case OPTION_MUSIC:
      return g_Option.m_bMusic ? "ON" : "OFF";
    case OPTION_VOLUME:
      return std::to_string(g_Option.m_nVolume);
    case OPTION_RANKMODE: {
      const auto& texts = g_SystemData.m_vRankEntryModes;
      const int n = g_Option.m_nRankMode;
      return n >= 0 && n < static_cast<int>(texts.size()) ? texts[n] : std::string();
    }
    case OPTION_NAME:
      return g_Option.m_strName;
    default:
      return std::string();
  }
}

void ApplyVolume() {
  for (DSSOUNDDATA& entry : g_SoundList)
    DSSetVolume(entry, 0, DSVolumeFromLevel(g_Option.m_nVolume), 0);
}

}  // namespace

cOptionScene::cOptionScene() {
  const PHASEPROC table[PHASE_COUNT] = {&cOptionScene::CallFadeIn, &cOptionScene::SelectOption,
                                        &cOptionScene::CallFadeOut};
  for (int i = 0; i < PHASE_COUNT; ++i) m_PhaseProc[i] = table[i];
  m_nPhase = -1;
}

cOptionScene::~cOptionScene() {
  ReleaseMenuSurfaces();
  ReleaseMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
}

int cOptionScene::Run() { return RunPhases(true); }

int cOptionScene::Init() {
  RequestSceneMusic(3);
  LoadMenuPictures(kPictures, static_cast<int>(std::size(kPictures)));
  g_Cursor.Reset();
  m_nShownCount = PickShownEntries(g_SystemData.m_vOptionMenu, m_anShown, kOptionCount);
  CreateScreenSurface();
  m_nSubStep = 0;
  return 1;
}

void cOptionScene::CreateScreenSurface() {
  ReleaseMenuSurfaces();
  m_pScreenSD = CreateMenuSurface(640, 480, 0);
  DrawScreen();
}

void cOptionScene::DrawScreen() {
  if (!m_pScreenSD) return;
  DDSURFACEDATA* pSD = m_pScreenSD;
  DDFillSurface(pSD, 16);
  g_Font[2].DrawFrame(pSD, 1, 1, 638, 478);
  const std::string& strHeading = g_SystemData.m_vTitleMenu.At(GAMEMODE_OPTIONS).m_strLabel;
  DDFontPrintf(&g_Font[2], pSD, 320 - 16 * CountChars(strHeading.c_str()), 32, "%s",
               strHeading.c_str());
  for (int i = 0; i < m_nShownCount; ++i) {
    const int nOption = m_anShown[i];
    const int y = kRowsY + 16 * i;
    g_Font[1].DrawText(pSD, kLabelX, y, g_SystemData.m_vOptionMenu.At(nOption).m_strLabel.c_str());
    const std::string strValue = ValueText(nOption);
    g_Font[1].DrawText(pSD, kValueX, y, strValue.c_str());
  }
}

void cOptionScene::Draw() {
  if (m_pScreenSD) {
    if (m_pScreenSD->bLost) {
      DrawScreen();
      m_pScreenSD->bLost = 0;
    }
    DDBlt(&BackBuffer, 0, 0, 640, 480, m_pScreenSD, 0, 0, 0);
  }
  CyclePalette();
}

void cOptionScene::ApplyEffect() {
  if (m_nEdited == OPTION_PALETTE) LoadHbtPalette(g_Option.m_nPalette);
  if (m_nEdited == OPTION_VOLUME) ApplyVolume();
}

void cOptionScene::ApplyBgmSetting() {
  const bool bActive = g_Bgm.IsInitialised();
  if (bActive && !g_Option.m_bMusic) {
    g_Bgm.Release();
  } else if (!bActive && g_Option.m_bMusic) {
    g_Bgm.Release();
    g_Bgm.Init(1, g_BgmOggNames, g_BgmMidNames, kBgmTrackCount);
  } else {
    return;
  }
  // The next scene asks for its music again.
  g_SceneManager.m_nMusicNo = 0;
}

int cOptionScene::FadeIn() {
  if (IsPaletteMode()) DrawScreen();
  Draw();
  if (SceneFadeInStep()) m_nPhase = 1;
  return 1;
}

int cOptionScene::FadeOut() {
  if (!SceneFadeOutStep()) return 1;
  // The next scene starts from a screen of palette colour 16.
  DDFillSurface(&BackBuffer, 16);
  ApplyBgmSetting();
  // Saved whole or not at all: a failed save keeps the old file.
  if (!g_Option.Save(g_Paths[PATH_OPTION_DAT]))
    ReportF("%s の保存に失敗しました！", g_Paths[PATH_OPTION_DAT]);
  g_Cursor.Reset();
  FinishSceneFadeOut(SCENE_OPTION);
  return 1;
}

int cOptionScene::SelectOption() {
  const cInput& input = g_Input.At(0);
  if (m_nSubStep == 0) {
    g_Cursor.Current() = CURSORDATA{};
    m_nSubStep = 1;
  }
  if (m_nSubStep == 1) {
    g_Cursor.MoveGrid(input, 48, kRowsY, 0, 16, 1, m_nShownCount);
    PlayCursorSound(input, 2, 0);
    const CURSORDATA& cursor = g_Cursor.Current();
    if (input.m_wButton & 1) {
      PlaySE(1);
      m_nEdited = m_anShown[std::clamp(cursor.nRow, 0, m_nShownCount - 1)];
      if (m_nEdited >= OPTION_PALETTE && m_nEdited <= OPTION_RANKMODE) {
        const OPTIONRANGE& range = kRanges[m_nEdited];
        m_pValue = &(g_Option.*range.pField);
        m_nMin = range.nMin;
        m_nMax = range.nMax;
        m_nSaved = *m_pValue;
        g_Cursor.Push(0);
        m_nSubStep = 2;
      } else if (m_nEdited == OPTION_NAME) {
        // The window thread runs the dialog on the player name.
        RequestNameDialog();
        DrawScreen();
        Draw();
        DrawAccessory(&BackBuffer, 48, cursor.nY, 16, 64, 0);
      } else if (m_nEdited == OPTION_BACK) {
        g_SceneManager.m_nNextScene = SCENE_TITLE;
        m_nSubStep = 0;
        m_nPhase = 2;
      }
    } else if (input.m_wButton & 2) {
      PlaySE(2);
      g_SceneManager.m_nNextScene = SCENE_TITLE;
      m_nSubStep = 0;
      m_nPhase = 2;
    } else {
      Draw();
      DrawAccessory(&BackBuffer, 48, cursor.nY, 16, 64, 0);
    }
    return 1;
  }
  // Changing a value: up raises it, down lowers it, wrapping at the ends.
  const int32_t nBefore = *m_pValue;
  int32_t nValue = nBefore;
  if (input.m_wDir & DIR_UP) ++nValue;
  if (input.m_wDir & DIR_DOWN) --nValue;
  if (nValue > m_nMax) nValue = m_nMin;
  if (nValue < m_nMin) nValue = m_nMax;
  if (nValue != nBefore || (input.m_wDir & (DIR_UP | DIR_DOWN))) {
    *m_pValue = nValue;
    ApplyEffect();
    DrawScreen();
  }
  PlayCursorSound(input, 2, 0);
  const int yRow = g_Cursor.Parent() ? g_Cursor.Parent()->nY : kRowsY;
  if (input.m_wButton & 1) {
    PlaySE(1);
    g_Cursor.Pop(1);
    m_nSubStep = 1;
  } else if (input.m_wButton & 2) {
    PlaySE(2);
    *m_pValue = m_nSaved;
    ApplyEffect();
    g_Cursor.Pop(1);
    m_nSubStep = 1;
    DrawScreen();
  } else {
    Draw();
    DrawAccessory(&BackBuffer, 48, yRow, 16, 80, 0);
    DrawAccessory(&BackBuffer, 192, yRow, 16, 64, 0);
  }
  return 1;
}
