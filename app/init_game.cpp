// Start-up: the steps whose subsystems exist in this build, in their fixed
// order; the others join in place as their subsystems arrive.
#include <cstdlib>
#include <string>

#include "app/entry.h"
#include "app/input.h"
#include "app/key_config.h"
#include "app/logs.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/run_options.h"
#include "app/scene_manager.h"
#include "app/screen_mode.h"
#include "app/text_helpers.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/msg/messages.h"
#include "platform/present/presenter_window.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace {

// Sound entries 0 to 16 are the built-in sounds.
constexpr int kBuiltInSounds = 17;

// The command-line file: one pair of surrounding quotes goes; a name that no
// path can hold is "not found" rather than cut to something else.
std::string CommandLineFile(const char* szCmdLine) {
  if (!szCmdLine) return std::string();
  std::string s = szCmdLine;
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

}  // namespace

bool InitGame(const char* szCmdLine, int nCmdShow) {
  (void)nCmdShow;
  std::srand(plat::GetTickMs());
  if (bCloseDuringStartUp.load()) return false;

  std::string strFreeStage = CommandLineFile(szCmdLine);

  // Until System.ini and the system data are read here, their defaults of a
  // window on a 32-bit desktop stand in.
  SCREENMODEINPUT modeIn;
  SCREENMODE mode;
  if (!DecideScreenMode(modeIn, mode)) {
    ErrorBoxF("%s", mode.szError);
    return false;
  }
  bWindowed = mode.bWindowed;
  nScreenBpp = mode.nBpp;
  if (mode.bResizable) g_MainWindow.AddStyle(WS_THICKFRAME);
  g_hMainWnd = g_MainWindow.m_hWnd;

  g_SceneManager.m_nFrameRate = 60;
  g_SceneManager.m_nFadeStep = 10;
  for (int i = 0; i < static_cast<int>(g_Input.size()); ++i) g_Input.At(i).SetRepeat(18, 6);

  PlaceMainWindow();
  plat::ShowPresenterWindow(!bWindowed);
  // A shown window is the active one; under some desktops (and with no
  // display) no focus event follows, and frames run only while active.
  plat::PostMessage(g_MainWindow.m_hWnd, plat::WM_ACTIVATEAPP, 1, 0);
  if (bCloseDuringStartUp.load()) return false;

  for (int i = 0; i < static_cast<int>(g_Input.size()); ++i) g_Input.At(i).InitJoyMasks();
  if (!LoadKeyConfig("user_data\\KeyConfig.dat", g_KeyConfig)) SetDefaultKeyConfig(g_KeyConfig);

  // Music: the manager exists only while the options' music switch is on;
  // until the options record joins start-up, its default (on) holds.
  g_Bgm.Init(1, g_BgmOggNames, g_BgmMidNames, kBgmTrackCount);

  if (g_SoundList.size() < static_cast<size_t>(kBuiltInSounds)) {
    g_SoundList.resize(kBuiltInSounds);
    g_SoundInfoList.resize(kBuiltInSounds);
  }
  if (!DS_Init(g_MainWindow.m_hWnd, 22050, 8, 1)) {
    DebugLog("DS_Init失敗！");
    return false;
  }
  DebugLog("DSCreate");
  DSCreateSoundList(g_SoundList, g_SoundInfoList, 0);
  if (bCloseDuringStartUp.load()) return false;

  if (!strFreeStage.empty()) {
    std::string strName = strFreeStage;
    bool bFound = strName.size() <= MAX_PATH - 1;
    if (bFound) {
      FindLatestVersionFileStr(strName, strName, "stg4");
      bFound = plat::fs::Exists(strName);
    }
    if (!bFound) {
      ReportFDebug("「%s」の読み込みに失敗しました！", strName.c_str());
      strFreeStage.clear();
    } else {
      bCommandLineStage = 1;
    }
  }
  return bCloseDuringStartUp.load() == 0;
}
