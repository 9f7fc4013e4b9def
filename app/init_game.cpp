// Start-up: loads the project and brings up everything else in a fixed
// order, since later steps read what earlier ones loaded (the system data
// supplies the System.ini keys, the screen mode decides the drawing
// library's arguments, the database sizes the sound table). Every failure is
// reported before InitGame returns false.
#include <cstdlib>
#include <new>
#include <string>

#include "app/boot_data.h"
#include "app/dialog_templates.h"
#include "app/entry.h"
#include "app/file_dialog_screen.h"
#include "app/main_window.h"
#include "app/scene_factory.h"
#include "app/screen_mode.h"
#include "app/start_dialog.h"
#include "app/start_steps.h"
#include "app/system_report.h"
#include "app/window_list.h"
#include "base/exit_status.h"
#include "base/logs.h"
#include "base/paths.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "database/database.h"
#include "database/database_startup.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/hbt_palette.h"
#include "draw/palette_key.h"
#include "draw/surface_collections.h"
#include "files/options.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "files/world_map.h"
#include "flow/cmd_param_info.h"
#include "input/input.h"
#include "input/key_config.h"
#include "palette/common_palette.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/gfx/display_config.h"
#include "platform/msg/messages.h"
#include "platform/present/presenter_service.h"
#include "platform/present/presenter_window.h"
#include "platform/text/cp932.h"
#include "records/record.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_start.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kFrameRate = 60;
// Sound entries 0 to 16 are the built-in sounds; database sound k is entry
// k + 16, so the database's entry 0 has no place.
constexpr int kBuiltInSounds = 17;
constexpr int kSoundTableExtra = 16;

constexpr const char* kTextureError =
    "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\n"
    "System.iniファイルで「Direct3D="
    "0」に変更してDirect3Dを無効にすれば改善される可能性があります。";

bool CloseRequested() { return bCloseDuringStartUp.load() != 0; }

// The palette from the palette picture, then the colour key.
bool LoadPaletteAndKey() {
  if (!DDIsDirect3D() && !(g_DD.lpDDCon && g_DD.lpDDPalette)) return true;
  if (!DDLoadPaletteFromFile(g_DD.ProgramPalette, g_ImageTable[0].szFileName, bWindowed)) {
    DebugLog("DDLoadPaletteFromFile失敗");
    return false;
  }
  g_DD.DisplayPalette = g_DD.ProgramPalette;
  const uint8_t r = g_SystemData.m_byKeyRed, g = g_SystemData.m_byKeyGreen,
                b = g_SystemData.m_byKeyBlue;
  if (!g_SystemData.m_bTrueColorImages || g_DD.nBpp == 16) {
    if (!DDSetTransmitFromFile(g_ImageTable[0].szFileName)) {
      DebugLog("DDSetTransmit失敗");
      return false;
    }
    if (g_SystemData.m_bTrueColorImages) {
      RGBTRIPLE& key = DDIsDirect3D() ? g_DD.lpDTCon->rgbTransmit : g_DD.lpDDCon->rgbTransmit;
      key.rgbtRed = r;
      key.rgbtGreen = g;
      key.rgbtBlue = b;
    }
  } else {
    DDSetTransmit(r, g, b);
  }
  return true;
}

// The fonts in the face the game chose, with the glyph cache the System.ini
// setting of the drawing mode gives, and their digit sheets.
bool CreateFontsAtStart() {
  for (DDFONTDATA& spec : g_FontSpec) {
    DDSetFontFace(spec, GetFontFaceName(g_SystemData.m_nFontFace));
    if (spec.nFontCache == 2)
      spec.nFontCache = DDIsDirect3D() ? SYSTEMINI.nD3DFontCache : SYSTEMINI.nDDFontCache;
  }
  if (!DDCreateFonts(g_Font, g_FontSpec, kFontCount)) return false;
  g_Font[1].m_bFastFont = g_SystemData.m_bFastFont;
  g_Font[1].m_bCenterGlyphs = g_SystemData.m_bCenterGlyphs;
  if (!DDCreateNumberSheets(g_NumberSheet, g_NumberSheetImage, kFontCount, g_Font, g_FontSpec))
    return false;
  DDInstallFontRestore();
  return true;
}

// The name FreeStage gives, without one pair of surrounding quotes.
std::string FreeStageName() {
  std::string s = SYSTEMINI.strFreeStage;
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

}  // namespace

// The screen mode from System.ini and the system data.
bool DecideStartScreenMode() {
  SCREENMODEINPUT in;
  in.nDirect3D = SYSTEMINI.nDirect3D;
  in.nWindowMode = SYSTEMINI.nWindowMode;
  in.nBpp = SYSTEMINI.nBpp;
  in.nVSync = SYSTEMINI.nVSync;
  in.bRgbColourKey = g_SystemData.m_bTrueColorImages;
  in.nPreferredDepth = SYSTEMINI.nDirect3D ? g_SystemData.m_nD3DDepth : g_SystemData.m_nDDDepth;
  in.nDesktopBpp = plat::gfx::GetDisplayConfig().nDesktopBpp;
  in.bOsVistaOrLater = IsOSAtLeast(6, 0);
  SCREENMODE mode;
  if (!DecideScreenMode(in, mode)) {
    ErrorBoxF("%s", mode.szError);
    return false;
  }
  bWindowed = mode.bWindowed;
  SYSTEMINI.nVSync = mode.nVSync;
  SYSTEMINI.nBpp = mode.nBpp;
  nScreenBpp = mode.nBpp;
  if (mode.bResizable) g_MainWindow.AddStyle(WS_THICKFRAME);
  return true;
}

bool StartDrawing(int nVSync) {
  auto Init = [nVSync]() {
    return DDInit(SYSTEMINI.nDirect3D, g_hMainWnd.load(), kScreenWidth, kScreenHeight, nScreenBpp,
                  nVSync, bWindowed, 1, kFrameRate, nVSync, g_SurfaceTable, g_ImageTable,
                  kBuiltInSurfaceCount, 0);
  };
  if (Init()) return true;
  if (SYSTEMINI.nDirect3D != 0) {
    // One fall-back: the same screen without Direct3D.
    DDReleaseAll();
    SYSTEMINI.nDirect3D = 0;
    if (Init()) return true;
  }
  DebugLog("DDInit失敗");
  return false;
}

// The built-in sounds of the system data, then the database's.
void BuildSoundTable() {
  const int n = static_cast<int>(Database.m_vecSound.size()) + kSoundTableExtra;
  g_SoundList.resize(n);
  g_SoundInfoList.resize(n);
  for (int i = 0; i < kBuiltInSounds; ++i)
    g_SoundInfoList.At(i).strFileName = g_SystemData.m_vSoundFiles.At(i);
  for (int i = kBuiltInSounds; i < n; ++i)
    g_SoundInfoList.At(i).strFileName = Database.m_vecSound.At(i - kSoundTableExtra).m_strFile;
  for (int i = 0; i < n; ++i) {
    DSSOUNDINFO& info = g_SoundInfoList.At(i);
    info.nBufferCount = 1;
    info.nVolume = 0;
    info.nFlag = 1;
  }
}

// Step 10: the start dialog, when System.ini asks for it and the boot
// record does not say to skip it; then the drawing mode the boot record
// holds. False when the player cancelled (nothing is reported).
bool RunStartDialogStep() {
  if (SYSTEMINI.nDirect3D < 2) return true;
  LoadBootDataAtStart();
  if (g_BootData.m_bNoAsk == 0) {
    auto* pDialog =
        new (std::nothrow) cStartDialog(IDD_START_DIALOG, &g_MainWindow, 1, &g_WindowList);
    if (!pDialog) {
      OutOfMemoryClose();
      return false;
    }
    const int nResult = pDialog->DoModal(0);
    DeleteWindowObject(pDialog);
    if (nResult <= 0) {
      // The player chose not to play: no failure.
      NoteStartUpDeclined();
      return false;
    }
  }
  SYSTEMINI.nDirect3D = g_BootData.m_nDrawMode == BOOT_DRAW_DIRECT3D ? 1 : 0;
  return true;
}

bool InitGame(const char* szCmdLine, int nCmdShow) {
  // Sleeps and waits of this platform are millisecond-precise already.
  std::srand(plat::GetTickMs());
  nDataVersion = kCurrentDataVersion;
  bStripCR = 1;
  bFileTooNew = 0;
  InitCmdParamInfo();
  SetSceneFactory(BuildGameScene);
  InstallFileDialogScreen();

  if (!CreateDefaultDataAtStart(g_hMainWnd.load())) return false;
  CreateDataFolders();
  RemoveInterruptedSaves();
  if (CloseRequested() || !LoadDatabaseAtStartUp()) return false;
  if (CloseRequested() || !LoadSystemDataAtStart()) return false;
  LoadSystemIniAtStart();
  if (CloseRequested() || !RunStartDialogStep()) return false;
  if (CloseRequested()) return false;

  // A file named on the command line replaces System.ini's.
  if (szCmdLine && *szCmdLine) SYSTEMINI.strFreeStage = szCmdLine;

  g_SceneManager.m_nFrameRate = kFrameRate;
  g_SceneManager.m_nFadeStep = 10;
  for (int i = 0; i < static_cast<int>(g_Input.size()); ++i) g_Input.At(i).SetRepeat(18, 6);

  if (!DecideStartScreenMode()) return false;
  if (CloseRequested()) return false;

  // The common controls need no set-up here: the desktop draws them.
  g_MainWindow.Init(0, nullptr, &g_WindowList);
  g_MainWindow.m_pfnWndProc = MainWndProc;
  g_hMainWnd = g_MainWindow.m_hWnd;
  plat::SetPresenterTitle(plat::Cp932ToUtf8(g_SystemData.m_strTitle));
  if (nScreenBpp == 8) SYSTEMINI.nDDVideoStretch = 0;

  const int nVSync = SYSTEMINI.nVSync != 0 ? 1 : 0;
  if (!StartDrawing(nVSync)) return false;
  if (DDIsDirect3D()) {
    g_DD.lpDTCon->strTextureError = kTextureError;
    LinkSharedSurfaces();
  }
  if (CloseRequested()) return false;

  PlaceMainWindow();
  (void)nCmdShow;
  plat::ShowPresenterWindow(!bWindowed);
  // A shown window is the active one; under some desktops (and with no
  // display) no focus event follows, and frames run only while active.
  plat::PostMessage(g_MainWindow.m_hWnd, plat::WM_ACTIVATEAPP, 1, 0);
  ReportDisplay(1);
  DebugLog("DDInit成功");
  if (CloseRequested()) return false;

  if (!LoadPaletteAndKey()) return false;
  DebugLog("1");
  if (!DDIsDirect3D()) {
    plat::DISPLAYFACTS facts;
    const int nHz = plat::DescribeDisplay(facts) && facts.nRefreshRate > 0
                        ? facts.nRefreshRate
                        : plat::gfx::GetDisplayConfig().nRefreshRate;
    bPresentByBlit = bWindowed ? 1 : (nVSync && nHz >= kFrameRate ? 0 : 1);
  }
  // Only the debug picture is made now; the scenes load the other built-in
  // bitmaps they need.
  const int nDebugBitmap[] = {1};
  if (!DDLoadSurfaces(g_SurfaceTable, nDebugBitmap, 1)) return false;
  if (!CreateFontsAtStart()) return false;
  DebugLog("3");
  if (CloseRequested()) return false;

  for (int i = 0; i < static_cast<int>(g_Input.size()); ++i) g_Input.At(i).InitJoyMasks();
  if (!LoadKeyConfig(g_Paths[PATH_KEY_CONFIG_DAT], g_KeyConfig)) SetDefaultKeyConfig(g_KeyConfig);
  LoadOptionsAtStart();
  // The options' palette variant with its blend table (8-bit screens only).
  if (g_DD.nBpp == 8 && !LoadHbtPalette(g_Option.m_nPalette)) return false;
  if (CloseRequested()) return false;

  // Without the music switch the manager stays unmade for the whole run.
  if (g_Option.m_bMusic) g_Bgm.Init(1, g_BgmOggNames, g_BgmMidNames, kBgmTrackCount);

  BuildSoundTable();
  if (CloseRequested()) return false;
  if (!DS_Init(g_MainWindow.m_hWnd, 22050, 8, 1)) {
    DebugLog("DS_Init失敗！");
    return false;
  }
  DebugLog("DSCreate");
  DSCreateSoundList(g_SoundList, g_SoundInfoList, DSVolumeFromLevel(g_Option.m_nVolume));
  if (CloseRequested()) return false;

  if (!LoadWorldMapAtStartUp()) return false;
  if (!LoadCommonPaletteAtStartUp()) return false;
  DebugLog("4");
  if (CloseRequested()) return false;

  if (!SYSTEMINI.strFreeStage.empty()) {
    std::string strName = FreeStageName();
    bool bFound = strName.size() <= MAX_PATH - 1;
    if (bFound) {
      FindLatestVersionFileStr(strName, strName, g_Exts[EXT_STAGE]);
      bFound = plat::fs::Exists(strName);
    }
    if (!bFound) {
      std::string strText;
      FormatString(strText, "「%s」の読み込みに失敗しました！", strName.c_str());
      ReportFDebug("%s", strText.c_str());
      // The title comes up all the same; whoever named the file hears of it.
      ReportRunFailure("cannot open the stage or replay file to start with", strText);
      SYSTEMINI.strFreeStage.clear();
    } else {
      bCommandLineStage = 1;
      if (!StartStageFile(strName, 1)) return false;
      PlayStageFileAtOnce();
    }
  }
  return !CloseRequested();
}
