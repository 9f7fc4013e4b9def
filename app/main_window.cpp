// The main window's procedure and its close sequence.
#include "app/main_window.h"

#include <new>

#include "app/dialog_templates.h"
#include "app/entry.h"
#include "app/music_request.h"
#include "app/name_dialog.h"
#include "app/window_list.h"
#include "app/window_pos.h"
#include "base/file_dialogs.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/thread.h"
#include "base/window_requests.h"
#include "draw/device_restore.h"
#include "draw/draw_context.h"
#include "files/replay_requests.h"
#include "files/system_ini.h"
#include "platform/clock/clock.h"
#include "platform/input/keyboard.h"
#include "platform/msg/window.h"
#include "platform/present/presenter_window.h"
#include "platform/proc/editor_link.h"
#include "scenes/scene_manager.h"
#include "scenes/stage_start.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"
#include "stage/play_scene.h"

std::atomic<int> bCloseDuringStartUp{0};

namespace {
const WINDOWSTATE* g_pScriptedWindowState = nullptr;
}  // namespace

intptr_t MainWndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return g_MainWindow.WndProc(hWnd, message, wParam, lParam);
}

int cMainWindow::HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
  int n = cWindow::HandleMessage(hWnd, message, wParam, lParam);
  if (message == plat::WM_CREATE) OnCreate(wParam, lParam);
  return n;
}

void cMainWindow::CloseSequence(plat::WndHandle hWnd) {
  if (!bGameStarted.load()) {
    // Start-up is still running on this thread (a nested loop dispatched
    // the close): tearing down now would pull the ground from under it.
    bCloseDuringStartUp = 1;
    return;
  }
  SaveWindowPlacement();
  // The pause loop runs nested inside a frame of the play scene: it alone
  // is ended now, and the play scene closes the window again once its wait
  // is over. The play is told while its thread cannot yet have left the
  // wait, so it finds the close however late in the wait it came (the play
  // scene stays while the pause thread is held).
  const bool bPaused = thPause.RunIfStarted([](uint32_t dwThreadId) {
    if (g_PlayScene) g_PlayScene->m_bCloseRequest = CLOSE_ASKED;
    plat::PostThreadMessage(dwThreadId, plat::WM_QUIT, 0, 0);
  });
  if (bPaused) {
    DebugLog("WM_CLOSE thPause.m_hThread");
    return;
  }
  DebugLog("WM_CLOSE 成功！");
  // From here every cross-thread send and wait lets go, so each thread can
  // see its WM_QUIT even when it was waiting on this thread.
  plat::SetQuitting(true);
  g_Bgm.Stop();
  thStageLoad.Exit();
  thPause.Exit();
  thRanking.Exit();
  DebugLog("thPause.Exit()");
  thGame.Exit();
  DebugLog("thGame.Exit()");
  plat::DestroyWnd(hWnd);
}

intptr_t cMainWindow::WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                              intptr_t lParam) {
  m_hWnd = hWnd;
  UpdateMouse(0, 7);
  switch (message) {
    case plat::WM_CREATE:
      OnCreate(wParam, lParam);
      return 0;
    case plat::WM_DESTROY:
      DebugLog("WM_DESTROY");
      if (bTestPlay) NotifyEditorExit(1);
      m_hWnd = nullptr;
      g_hMainWnd = nullptr;
      plat::PostQuitMessage(0);
      return 0;
    case plat::WM_MOVE: {
      WINDOWPOINT pt;
      GetPosition(&pt);
      return 0;
    }
    case plat::WM_SIZE:
      Refresh();
      if (m_hBandWnd) plat::SendMessage(m_hBandWnd, plat::WM_SIZE, wParam, lParam);
      return 0;
    case plat::WM_CLOSE:
      CloseSequence(hWnd);
      return 0;
    case plat::WM_ACTIVATEAPP:
      // A full-screen Direct3D device is lost while the program is away:
      // it is restored before the next frame.
      if (bAppActive.load() == 0 && wParam != 0 && DDIsDirect3D() && !bWindowed)
        plat::SendMessage(g_hMainWnd.load(), WM_RESTOREDEVICE, 0, 0);
      bAppActive = static_cast<int>(wParam);
      // The game thread sleeps while the application is inactive.
      plat::NotifyWaiters();
      return 0;
    case plat::WM_GETMINMAXINFO:
      // Under DirectDraw the picture is not scaled: the window keeps its size.
      if (g_DD.lpDD && !DDIsDirect3D() && lParam)
        GetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_RESTOREDEVICE:
      RestoreDevice();
      return 0;
    case plat::WM_KEYDOWN:
      if (wParam == static_cast<uintptr_t>(plat::VK_ESCAPE))
        plat::PostMessage(hWnd, plat::WM_CLOSE, 0, 0);
      return 0;
    case plat::WM_COMMAND:
    case plat::WM_MOUSEMOVE:
    case plat::WM_LBUTTONDOWN:
    case plat::WM_RBUTTONDOWN:
      return 0;
    case WM_NAMEDLG:
      ServeNameDialog();
      return 0;
    case WM_OPENSTAGE:
    case WM_OPENREPLAY:
    case WM_SAVEREPLAY:
      ServeFileRequest(message, wParam);
      return 0;
    case WM_PLAYBGM:
      ServeMusicRequest(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case WM_PLAYSE:
      // A bad entry number is reported by the checked access, which also
      // closes the program; entry 0 plays meanwhile.
      DSPlay(g_SoundList.At(static_cast<int>(wParam)), 0);
      return 0;
    default:
      return 0;
  }
}

// The notices go to the editor's socket when one is named, and to the debug
// log, where a test play's link can be followed either way.
void cMainWindow::NotifyEditorStart() {
  EDITORNOTICE notice{1, 4, 1};
  DebugLogF("NotifyEditorStart dwData=%u cbData=%u data=%d", static_cast<unsigned>(notice.dwData),
            notice.cbData, notice.nValue);
  plat::SendEditorNotice(static_cast<uint32_t>(notice.dwData), notice.nValue);
}

void cMainWindow::NotifyEditorExit(int n) {
  EDITORNOTICE notice{0, 4, n};
  DebugLogF("NotifyEditorExit dwData=%u cbData=%u data=%d", static_cast<unsigned>(notice.dwData),
            notice.cbData, notice.nValue);
  plat::SendEditorNotice(static_cast<uint32_t>(notice.dwData), notice.nValue);
}

WINDOWSTATE GetMainWindowState() {
  if (g_pScriptedWindowState) return *g_pScriptedWindowState;
  WINDOWSTATE state;
  plat::GetPresenterWindowPosition(state.x, state.y);
  state.bMinimised = plat::IsPresenterMinimised() ? 1 : 0;
  state.bMaximised = plat::IsPresenterMaximised() ? 1 : 0;
  return state;
}

void SetScriptedWindowState(const WINDOWSTATE* pState) { g_pScriptedWindowState = pState; }

void cMainWindow::SaveWindowPlacement() {
  // Only a window has a placement; a minimised one would come back as an
  // icon, so the last placement is kept.
  if (SYSTEMINI.nWindowMode == 0 || !bGameStarted.load()) return;
  const WINDOWSTATE state = GetMainWindowState();
  if (state.bMinimised) return;
  g_WindowPos.Set(state.x, state.y, m_rcClient.right - m_rcClient.left,
                  m_rcClient.bottom - m_rcClient.top, state.bMaximised);
  g_WindowPos.Save(kWindowPosFile);
}

void cMainWindow::ServeNameDialog() {
  DDDialogMode(1);
  // Every game thread stays put while the dialog pumps messages.
  SuspendAllThreads();
  auto* pDialog = new (std::nothrow) cNameDlg(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
  if (!pDialog) {
    OutOfMemoryClose();
  } else {
    pDialog->DoModal(0);
    DeleteWindowObject(pDialog);
  }
  DDDialogMode(0);
  ResumeAllThreads();
  bNameDlgDone = 1;
  plat::NotifyWaiters();
}

void cMainWindow::ServeFileRequest(uint32_t message, uintptr_t wParam) {
  DDDialogMode(1);
  int bChosen = 0;
  if (message == WM_OPENREPLAY) {
    bChosen = ServeOpenReplayRequest();
  } else if (message == WM_SAVEREPLAY) {
    bChosen = ServeSaveReplayRequest(static_cast<int>(wParam));
  } else {
    std::string strPath;
    const char* szTitle = SYSTEMINI.nEnglish ? "Load stage file" : "ステージファイルの読み込み";
    bChosen =
        OpenFileDialog(m_hWnd, strPath, "data\\stg4\\", szTitle,
                       {"StageFile ( *.stg4_*;*.rpl4_* )", "*.stg4_*;*.rpl4_*"}, "stg4_*;rpl4_*");
    if (bChosen && !StartStageFile(strPath, 0)) plat::PostMessage(m_hWnd, plat::WM_CLOSE, 0, 0);
  }
  DDDialogMode(0);
  bFileRequestResult = bChosen;
  bFileRequestDone = 1;
  plat::NotifyWaiters();
}

void PlaceMainWindow() {
  if (SYSTEMINI.nWindowMode == 0) return;
  if (!LoadWhole(g_WindowPos, kWindowPosFile)) return;
  g_MainWindow.MoveTo(g_WindowPos.m_nX, g_WindowPos.m_nY);
  // Only Direct3D scales the picture to any client size.
  if (DDIsDirect3D() && SYSTEMINI.nWindowMode == 2)
    g_MainWindow.SetClientSize(g_WindowPos.m_nWidth, g_WindowPos.m_nHeight);
  if (g_WindowPos.m_bZoomed) plat::MaximisePresenterWindow();
}

// The lost Direct3D device is reset on this thread, the one that made it,
// while the drawing thread waits in its send; a device that cannot be reset
// yet is asked again after the next failed present.
void cMainWindow::RestoreDevice() { DDRestoreSurface(); }
