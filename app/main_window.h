// The main window: its procedure on the window thread handles the window's
// own life (close, destroy, activation) and serves the game side's requests.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/window.h"
#include "base/window_requests.h"

class cMainWindow : public cWindow {
 public:
  intptr_t WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override;
  int HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                    intptr_t lParam) override;
  void OnCreate(uintptr_t, intptr_t) override { m_bInitialised = 1; }

  void NotifyEditorStart();
  void NotifyEditorExit(int n);

 private:
  void CloseSequence(plat::WndHandle hWnd);
  void SaveWindowPlacement();
  void ServeNameDialog();
  void ServeFileRequest(uint32_t message, uintptr_t wParam);
  void RestoreDevice();
};

extern cMainWindow g_MainWindow;

// The editor's notice record: dwData 1 start / 0 end, 4 bytes of data.
struct EDITORNOTICE {
  uintptr_t dwData;
  uint32_t cbData;
  int32_t nValue;
};

// Set when a close arrives before start-up has finished: start-up then
// fails at its next step, or the close is posted again once it completes.
extern std::atomic<int> bCloseDuringStartUp;

constexpr const char* kWindowPosFile = "user_data\\Window.dat";

// The window's position and state as the placement record takes them.
struct WINDOWSTATE {
  int x = 0;
  int y = 0;
  int bMinimised = 0;
  int bMaximised = 0;
};
WINDOWSTATE GetMainWindowState();
// Tests put a window state of their own in place (null: the real window).
void SetScriptedWindowState(const WINDOWSTATE* pState);

// Start-up: a windowed game goes back to its saved place (and maximised
// state) when the placement file can be read.
void PlaceMainWindow();

intptr_t MainWndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
