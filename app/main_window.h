// The main window: its procedure on the window thread handles the window's
// own life (close, destroy, activation) and serves the game side's requests.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/window.h"

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

intptr_t MainWndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Game side: ask the window thread to play sound-table entry n, or database
// sound n (entry n + 16; 0 is no sound).
intptr_t PlaySE(int n);
intptr_t PlayDatabaseSE(int n);
