// Program entry, the two loops and shut-down.
#include "app/entry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/keyboard_hook.h"
#include "app/main_window.h"
#include "app/system_report.h"
#include "base/exit_status.h"
#include "base/frame_limit.h"
#include "base/logs.h"
#include "base/paths.h"
#include "base/program_state.h"
#include "base/run_options.h"
#include "base/text_helpers.h"
#include "base/thread.h"
#include "draw/device_restore.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/surfaces.h"
#include "platform/audio/audio_output.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/msg/threads.h"
#include "platform/msg/window.h"
#include "platform/present/presenter_window.h"
#include "platform/proc/single_instance.h"
#include "platform/text/cp932.h"
#include "platform/ui/message_box.h"
#include "platform/window/event_pump.h"
#include "scenes/scene_manager.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace {

constexpr int kOtherCopyWaitMs = 500;
// After the running copy was ended, how long its lock may take to come free.
constexpr int kLockTakeOverMs = 2000;
// Client area of the main window and its limits.
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
constexpr int kMinClientSize = 100;
constexpr uint32_t kMainWindowStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr const char* kSecondCopyCaption = "二重起動";
// Longest sleep of the game thread while the application is inactive.
constexpr uint32_t kInactiveWaitMs = 250;

// Settles the single running copy of this project folder (the current
// folder); false when this copy must not start, after saying why.
bool SettleSingleCopy() {
  int nPid = 0;
  std::string strError;
  switch (plat::AcquireInstanceLock(".", nPid, strError)) {
    case plat::eInstanceLock::Acquired:
      return true;
    case plat::eInstanceLock::Failed:
      // Without the lock a second copy could run over this one's saves.
      ReportRunFailure("cannot take the lock that keeps a second copy out: " + strError);
      return false;
    case plat::eInstanceLock::HeldByOther:
      break;
  }
  std::string strText =
      "既に起動しています。\n実行中のプログラムを閉じて再起動しますか？"
      "\n\nRunning this program now. Restart?";
  char szRunning[64] = "";
  if (nPid > 0) {
    strText += "\n\n(PID " + std::to_string(nPid) + ")";
    std::snprintf(szRunning, sizeof szRunning, " (process %d)", nPid);
  }
  int nAnswer = plat::MessageBox(nullptr, strText, kSecondCopyCaption, plat::MB_YESNO);
  if (nAnswer != plat::IDYES) {
    ReportRunFailure(std::string("this project is already running") + szRunning + "; not started");
    return false;
  }
  if (plat::EndOtherCopy(nPid, kOtherCopyWaitMs) == plat::eEndCopy::NotPermitted) {
    const char* szFailed = "プログラムの終了に失敗しました。";
    plat::MessageBox(nullptr, szFailed, kSecondCopyCaption, plat::MB_OK);
    ReportRunFailure(std::string("cannot end the running copy") + szRunning, szFailed);
    return false;
  }
  // The ended copy's lock goes with its process; this copy takes it over.
  for (int nWaited = 0; nWaited < kLockTakeOverMs; nWaited += 10) {
    switch (plat::AcquireInstanceLock(".", nPid, strError)) {
      case plat::eInstanceLock::Acquired:
        return true;
      case plat::eInstanceLock::Failed:
        ReportRunFailure("cannot take the lock that keeps a second copy out: " + strError);
        return false;
      case plat::eInstanceLock::HeldByOther:
        break;
    }
    plat::SleepMs(10);
  }
  ReportRunFailure(std::string("the running copy") + szRunning +
                   " still holds the lock after it was ended; not started");
  return false;
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
  // The running copy is settled before anything is written: a copy that
  // does not start leaves the running one's files alone.
  plat::InitMessageBoxes();
  if (!SettleSingleCopy()) {
    plat::ShutdownMessageBoxes();
    return 0;
  }
  // A folder with neither a data nor a default folder is no project: a run
  // started there by mistake leaves no log behind in it.
  const bool bLooksLikeProject =
      plat::fs::IsDirectory(g_Paths[PATH_DATA]) || plat::fs::IsDirectory(g_Paths[PATH_DEFAULT]);
  char szReport[MAX_PATH] = "Report_Game.txt";
  MakeFullPath(szReport);
  if (!ReportInit(szReport)) {
    // Nothing is shown: without its report log the program says nothing in
    // its window. Whoever started it learns why from the exit status.
    const int nErrno = errno;
    ReportRunFailure(std::string("cannot create the report log ") + szReport + ": " +
                     std::strerror(nErrno));
    plat::ShutdownMessageBoxes();
    plat::ReleaseInstanceLock();
    return 0;
  }
  ReportF("App : ver %s", kAppVersion);
  ReportSystem();
  bTestPlay = (nCmdShow == kShowModeTestPlay);

  plat::InitWindowEvents();
  // A headless run never opens a sound device; the sound layer says so in
  // the report when start-up opens its output.
  plat::audio::SetSilentRequested(g_RunOptions.bHeadless);
  g_MainWindow.SetGeometry(kClientWidth, kClientHeight, kMinClientSize, kMinClientSize,
                           kClientWidth, kClientHeight, kMainWindowStyle, 0, 0, 0, 0, 0);
  if (!plat::OpenPresenterWindow(kClientWidth, kClientHeight)) {
    const char* szNoWindow = "ウインドウが生成出来ません！";
    ErrorBox(szNoWindow);
    std::string strWhy = plat::GetPresenterOpenError();
    ReportRunFailure(strWhy.empty() ? "cannot make the main window" : strWhy, szNoWindow);
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
    // The step that failed has shown or logged its own report; whoever
    // started the program hears of it too, unless the player chose to end.
    if (!HasRunFailed() && !WasStartUpDeclined() && !bCloseDuringStartUp.load())
      ReportRunFailure(std::string("start-up failed; the report log ") + szReport + " says why",
                       GetLastErrorBoxText());
    UnInitGame();
    if (bTestPlay) g_MainWindow.NotifyEditorExit(0);
    plat::DestroyWnd(hWnd);
    ReleasePlatform();
    if (!bLooksLikeProject && !plat::fs::IsDirectory(g_Paths[PATH_DATA]))
      plat::fs::RemoveFile(szReport);
    plat::ReleaseInstanceLock();
    return 0;
  }

  bGameStarted = 1;
  DebugLog("I");
  if (!thGame.Start(GameLoop, nullptr)) {
    // Without its game thread the program could only spin: end as a failed
    // start-up does.
    ReportF("thGame : start failed");
    ReportRunFailure("cannot start the game thread");
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
    const plat::WAITMARK mark = plat::GetWaitMark();
    plat::PumpWindowEvents(g_hMainWnd.load());
    if (plat::PeekMessage(msg, true)) {
      if (msg.message == plat::WM_QUIT) break;
      plat::DispatchMessage(msg);
      continue;
    }
    // Sleeps until the desktop has an event, a message or a new frame comes,
    // or a close signal is due.
    plat::WaitWindowEvents(mark);
  }

  UnInitGame();
  DebugLog("UnInitGame後");
  if (plat::AbandonedThreadCount() == 0) ReleasePlatform();
  plat::ReleaseInstanceLock();
  DebugLog("ReleaseMutex後");
  return static_cast<int>(msg.wParam);
}

unsigned GameLoop(void*) {
  for (;;) {
    plat::MSG msg;
    const plat::WAITMARK mark = plat::GetWaitMark();
    if (plat::PeekMessage(msg, true)) {
      if (msg.message == plat::WM_QUIT) {
        DebugLog("GameLoop WM_QUIT!");
        return 1;
      }
      continue;
    }
    // Once the close has begun, the window thread stops the other threads
    // and then this one: no frame runs meanwhile, under a program being
    // taken apart.
    if (plat::IsQuitting()) return 1;
    if (bAppActive.load() == 0) {
      // The activation notifies; the bound only keeps a missed one short.
      plat::WaitFromMarkFor(mark, kInactiveWaitMs);
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
  // Nothing is read or released under a running game thread. One that did
  // not end in time (busy setting up a stage, say) goes on using all of it,
  // so it is all left as it is: the process ends without waiting for it.
  thGame.Exit();
  if (plat::AbandonedThreadCount() > 0) return;
  if (g_DD.lpDTCon || g_DD.lpDDCon) {
    if (g_Font[0].m_lpFastFont_FullAdd)
      ReportF("Font10 : %d", g_Font[0].m_lpFastFont_FullAdd->m_nCount);
    if (g_Font[1].m_lpFastFont_FullAdd)
      ReportF("Font16 : %d", g_Font[1].m_lpFastFont_FullAdd->m_nCount);
  }
  DSRelease();
  g_Bgm.Release();
  g_SceneManager.DeleteAllScenes();
  DDSetFontRestore({});
  for (Font& font : g_Font) font.Release();
  for (DDSURFACEDATA& sheet : g_NumberSheet) DDReleaseSurface(&sheet);
  if (bWindowed)
    DDUnInit();
  else
    DDReleaseAll();
  UnhookKeyboard();
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
