// The main window's procedure and its close sequence.
#include "app/main_window.h"

#include "app/logs.h"
#include "app/program_state.h"
#include "app/thread.h"
#include "platform/input/keyboard.h"
#include "platform/msg/window.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

cMainWindow g_MainWindow;
std::atomic<int> bCloseDuringStartUp{0};

namespace {
constexpr uint32_t kMsgPlaySound = plat::WM_USER + 5;
// Database sounds follow the 17 built-in entries of the sound table.
constexpr int kDatabaseSoundBase = 16;
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
      POINT pt;
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
      bAppActive = static_cast<int>(wParam);
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
    case kMsgPlaySound:
      // A bad entry number is reported by the checked access, which also
      // closes the program; entry 0 plays meanwhile.
      DSPlay(g_SoundList.At(static_cast<int>(wParam)), 0);
      return 0;
    default:
      return 0;
  }
}

// The kit's editor is not part of this program: the notices are written to
// the debug log, where a test play's link can be followed.
void cMainWindow::NotifyEditorStart() {
  EDITORNOTICE notice{1, 4, 1};
  DebugLogF("NotifyEditorStart dwData=%u cbData=%u data=%d",
            static_cast<unsigned>(notice.dwData), notice.cbData, notice.nValue);
}

void cMainWindow::NotifyEditorExit(int n) {
  EDITORNOTICE notice{0, 4, n};
  DebugLogF("NotifyEditorExit dwData=%u cbData=%u data=%d",
            static_cast<unsigned>(notice.dwData), notice.cbData, notice.nValue);
}

intptr_t PlaySE(int n) {
  return plat::SendMessage(g_hMainWnd.load(), kMsgPlaySound, static_cast<uintptr_t>(n), 0);
}

intptr_t PlayDatabaseSE(int n) {
  int16_t nSound = static_cast<int16_t>(n);
  if (nSound == 0) return 0;
  return plat::SendMessage(g_hMainWnd.load(), kMsgPlaySound,
                           static_cast<uintptr_t>(nSound + kDatabaseSoundBase), 0);
}
