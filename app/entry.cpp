// Program entry, the two loops and shut-down.
#include "app/entry.h"

#include "app/keyboard_hook.h"
#include "app/main_window.h"
#include "app/system_report.h"
#include "base/frame_limit.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/run_options.h"
#include "base/text_helpers.h"
#include "base/thread.h"
#include "draw/draw_context.h"
#include "platform/audio/audio_output.h"
#include "platform/clock/clock.h"
#include "platform/msg/window.h"
#include "platform/present/presenter_window.h"
#include "platform/proc/single_instance.h"
#include "platform/text/cp932.h"
#include "platform/ui/message_box.h"
#include "platform/window/event_pump.h"
#include "scenes/scene_manager.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

const char* const kInstanceName = "ゲーム";

namespace {

constexpr const char* kVersion = "783";
constexpr int kOtherCopyWaitMs = 500;
// Client area of the main window and its limits.
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
constexpr int kMinClientSize = 100;
constexpr uint32_t kMainWindowStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Settles the single running copy; false when this copy must not start.
bool SettleSingleCopy() {
  std::string strName = plat::Cp932ToUtf8(kInstanceName);
  int nPid = 0;
  if (plat::AcquireInstanceLock(strName, nPid) != plat::eInstanceLock::HeldByOther) return true;
  int nAnswer = plat::MessageBox(nullptr,
                                 "既に起動しています。\n実行中のプログラムを閉じて再起動しますか？"
                                 "\n\nRunning this program now. Restart?",
                                 "二重起動", plat::MB_YESNO);
  if (nAnswer != plat::IDYES) return false;
  if (plat::EndOtherCopy(nPid, kOtherCopyWaitMs) == plat::eEndCopy::NotPermitted) {
    plat::MessageBox(nullptr, "プログラムの終了に失敗しました。", "二重起動", plat::MB_OK);
    return false;
  }
  // The ended copy's lock goes with its process; this copy takes it over.
  for (int i = 0; i < 50; ++i) {
    if (plat::AcquireInstanceLock(strName, nPid) != plat::eInstanceLock::HeldByOther) break;
    plat::SleepMs(10);
  }
  return true;
}

void ReleasePlatform() {
  plat::ShutdownMessageBoxes();
  plat::ClosePresenterWindow();
  plat::ShutdownWindowEvents();
}

}  // namespace

int WinMain(const char* szCmdLine, int nCmdShow) {
  // A request to close may come at any moment, also during start-up.
  plat::InstallCloseSignal();
  DebugLogInit(0, "EC_Game.txt");
  char szReport[MAX_PATH] = "Report_Game.txt";
  MakeFullPath(szReport);
  if (!ReportInit(szReport)) return 0;
  ReportF("App : ver %s", kVersion);
  ReportSystem();
  bTestPlay = (nCmdShow == kShowModeTestPlay);

  plat::InitMessageBoxes();
  if (!SettleSingleCopy()) {
    plat::ShutdownMessageBoxes();
    return 0;
  }

  plat::InitWindowEvents();
  // A headless run never opens a sound device; the sound layer says so in
  // the report when start-up opens its output.
  plat::audio::SetSilentRequested(g_RunOptions.bHeadless);
  g_MainWindow.SetGeometry(kClientWidth, kClientHeight, kMinClientSize, kMinClientSize,
                           kClientWidth, kClientHeight, kMainWindowStyle, 0, 0, 0, 0, 0);
  if (!plat::OpenPresenterWindow(kClientWidth, kClientHeight)) {
    ErrorBox("ウインドウが生成出来ません！");
    ReleasePlatform();
    plat::ReleaseInstanceLock();
    return 0;
  }
  plat::WndHandle hWnd = plat::CreateWnd(MainWndProc, &g_MainWindow);
  g_MainWindow.m_hWnd = hWnd;
  g_MainWindow.m_bPresenterWindow = true;
  // Fatal errors of start-up post their close here; the close sequence only
  // records them until the game runs.
  g_hMainWnd = hWnd;
  MainWndProc(hWnd, plat::WM_CREATE, 0, 0);
  g_MainWindow.CentreOnDesktop();
  DebugLog("G");
  if (bTestPlay) g_MainWindow.NotifyEditorStart();
  DebugLog("H");

  if (!InitGame(szCmdLine, nCmdShow)) {
    UnInitGame();
    if (bTestPlay) g_MainWindow.NotifyEditorExit(0);
    plat::DestroyWnd(hWnd);
    ReleasePlatform();
    plat::ReleaseInstanceLock();
    return 0;
  }

  bGameStarted = 1;
  DebugLog("I");
  if (!thGame.Start(GameLoop, nullptr)) {
    // Without its game thread the program could only spin: end as a failed
    // start-up does.
    ReportF("thGame : start failed");
    bGameStarted = 0;
    UnInitGame();
    if (bTestPlay) g_MainWindow.NotifyEditorExit(0);
    plat::DestroyWnd(hWnd);
    ReleasePlatform();
    plat::ReleaseInstanceLock();
    return 0;
  }
  // A new thread accepts posts once its queue exists, which its first peek
  // makes.
  while (!plat::PostThreadMessage(thGame.m_dwThreadId, plat::WM_APP, 0, 0)) {
    if (plat::HasThreadEnded(thGame.m_hThread.load())) break;
    plat::SleepMs(0);
  }
  DebugLog("J");
  if (bCloseDuringStartUp.exchange(0)) plat::PostMessage(hWnd, plat::WM_CLOSE, 0, 0);

  plat::MSG msg;
  for (;;) {
    plat::PumpWindowEvents(g_hMainWnd.load());
    if (plat::PeekMessage(msg, true)) {
      if (msg.message == plat::WM_QUIT) break;
      plat::DispatchMessage(msg);
    } else if (bAppActive.load() == 0) {
      // A bounded wait: desktop events arrive outside the queue.
      plat::WaitMessageFor(10);
    }
    plat::SleepMs(1);
  }

  UnInitGame();
  DebugLog("UnInitGame後");
  ReleasePlatform();
  plat::ReleaseInstanceLock();
  DebugLog("ReleaseMutex後");
  return static_cast<int>(msg.wParam);
}

unsigned GameLoop(void*) {
  for (;;) {
    plat::MSG msg;
    if (plat::PeekMessage(msg, true)) {
      if (msg.message == plat::WM_QUIT) {
        DebugLog("GameLoop WM_QUIT!");
        return 1;
      }
      continue;
    }
    if (bAppActive.load() == 0) {
      plat::SleepMs(1);
      continue;
    }
    if (IsFrameLimitReached() || !g_SceneManager.Frame()) {
      plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
      return 1;
    }
    CountFrameRun();
  }
}

void UnInitGame() {
  // Nothing is released under a running game thread.
  thGame.Exit();
  DSRelease();
  g_Bgm.Release();
  g_SceneManager.DeleteAllScenes();
  UnhookKeyboard();
  if (bWindowed)
    DDUnInit();
  else
    DDReleaseAll();
}

void SuspendAllThreads() {
  thGame.Suspend();
  thPause.Suspend();
  thRanking.Suspend();
  thStageLoad.Suspend();
}

void ResumeAllThreads() {
  thGame.Resume();
  thPause.Resume();
  thRanking.Resume();
  thStageLoad.Resume();
}
