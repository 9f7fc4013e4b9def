// The name-entry dialog: the player types a name of at most three
// characters (a double-byte character counts as one), the player name of
// the options or the name a result enters the rankings under. OK stores
// it; closing the dialog any other way leaves the name as it was.
#pragma once

#include <string>

#include "app/dialog.h"

class cNameDlg : public cDialog {
 public:
  static constexpr int kMaxNameChars = 3;

  // Binds the options' player name while the options are open, else the
  // running stage's ranking name; with neither there is nothing to edit.
  cNameDlg(int nTemplateId, cWindow* pOwner, int nUser, cWindowList* pList);
  ~cNameDlg() override;

  intptr_t WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override;
  // The dialog's handling of a message: WM_CLOSE ends it with 0.
  intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  int OnCommand(uintptr_t wParam, intptr_t lParam) override;
  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;

  static intptr_t DlgProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                          intptr_t lParam);

  cSafeVector<cCtrlBinding> m_vBindings;
  std::string* m_pstrTarget = nullptr;  // the name being edited, or null
  int m_nCursorX = 0;
  int m_nCursorY = 0;

 private:
  static inline cNameDlg* s_pCurrent = nullptr;
};
