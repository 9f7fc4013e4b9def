// The keyboard hook over the program's dialogs: every key a dialog window
// receives is seen here first and reposted to the dialog's own window, so
// the dialog and its controls get it whichever control has the focus. The
// hook never swallows a key; Tab, and Enter while an input method is
// composing, are left to the dialog alone; a modeless dialog gets nothing
// while Ctrl is held. Window thread only.
#pragma once

#include <cstdint>

#include "platform/msg/messages.h"

// The dialogs' own key message: posted for the keys below (outside an
// input method's composition) and handled as a key press at once.
constexpr uint32_t WM_DIALOGKEY = plat::WM_USER + 1000;
// Hook codes: a negative code, or a key only being looked at, is passed on.
constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

class cHook {
 public:
  cHook() = default;
  // Does not remove the hook: it serves every later dialog too.
  virtual ~cHook();

  // Ties the hook to this dialog window and installs the program-wide hook
  // when there is none yet. 1 on success.
  int KeyboardHook(plat::WndHandle hDlg, int bModeless);
  static intptr_t KeyboardProc(int nCode, uintptr_t wParam, intptr_t lParam);
  static int IsRepostKey(int nVk);

  static int IsCtrlHeld() { return s_bCtrlHeld; }
  static bool IsInstalled() { return s_bInstalled; }

  plat::WndHandle m_hWnd = nullptr;
  int m_bModeless = 0;

 private:
  static inline int s_bCtrlHeld = 0;
  static inline bool s_bInstalled = false;
  friend void UnhookKeyboard();
};

// Removes the program-wide hook (at shut-down).
void UnhookKeyboard();
