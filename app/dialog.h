// The dialog class: runs a dialog template of the program on top of the
// toolkit window, binds the template's controls to program variables
// through control objects, shows the variables when it opens, stores them
// back when the player confirms, and hands commands, notifications, scroll
// messages and keys to the controls. Every dialog gets its keys through the
// keyboard hook. Window thread only.
#pragma once

#include <cstdint>

#include "app/dialog_controls.h"
#include "app/keyboard_hook.h"
#include "app/window.h"
#include "base/safe_vector.h"

// DoModal flags: hide, or disable, the windows of the shared list meanwhile.
constexpr int DOMODAL_HIDE_LIST = 2;
constexpr int DOMODAL_DISABLE_LIST = 4;

class cDialog : public cWindow {
 public:
  cDialog();
  ~cDialog() override;

  int OnCommand(uintptr_t wParam, intptr_t lParam) override;
  int HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                    intptr_t lParam) override;
  void RefreshLists() override;
  virtual void OnInitDialog(uintptr_t wParam, intptr_t lParam);

  void Init(int nTemplateId, cWindow* pParent, int nUser, cWindowList* pList);
  void Setup(int nTemplateId, cWindow* pParent, cWindowList* pList);
  // The end result; 0 at once when the dialog's window exists already, -1
  // when the program has no such template.
  int DoModal(int nFlags);
  int End(int nResult);
  void UpdateControls();
  void ReadControls();
  void OnDestroy();
  int PreCommand(int) { return 1; }
  void AddControl(cControl* pControl);

  cHook m_Hook;
  cFontCtrl m_ViewCtrl;
  cDlgCtrl m_HScroll;
  cDlgCtrl m_VScroll;
  cSafeVector<cControl*> m_vControls;
  int m_bModeless = 0;
  int m_nDoModalFlags = 0;
  plat::WndProc m_pfnSavedProc = nullptr;
  int m_nEndResult = 0;
  cWindow* m_pParentWindow = nullptr;
  int m_nUser = 0;

 protected:
  // What every concrete dialog's procedure does with its messages: the
  // dialog's handling, then WM_CLOSE ends the dialog with 0.
  intptr_t RunDialogMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);

 private:
  void PlaceScrollBars();
  void Scroll(cDlgCtrl& bar, uintptr_t wParam);
};

// The identifiers the dialogs' scroll-bar controls are made with; nothing
// in this program gives them any (no dialog has scroll bars).
extern uint16_t g_nDialogHScrollId;
extern uint16_t g_nDialogVScrollId;

// Deletes a window or dialog object and clears the pointer.
template <typename T>
void DeleteWindowObject(T*& p) {
  delete p;
  p = nullptr;
}
