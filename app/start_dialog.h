// The start dialog: before the drawing library starts, the player chooses
// Direct3D or DirectDraw and whether to be asked again; Start saves the
// choice in user_data\Boot.dat, Cancel ends start-up.
#pragma once

#include "app/dialog.h"

class cStartDialog : public cDialog {
 public:
  // The dialog is placed over the owner's middle and the mouse pointer put
  // on its Start button.
  cStartDialog(int nTemplateId, cWindow* pOwner, int nUser, cWindowList* pList);
  ~cStartDialog() override;

  intptr_t WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override;
  int OnCommand(uintptr_t wParam, intptr_t lParam) override;
  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;

  static intptr_t StartDialogProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam);

  cSafeVector<RADIOENTRY> m_vRadios;
  cSafeVector<CHECKENTRY> m_vChecks;
  cSafeVector<PLAINENTRY> m_vPlains;
  int m_nCursorX = 0;  // where the mouse pointer was put
  int m_nCursorY = 0;

 private:
  static inline cStartDialog* s_pCurrent = nullptr;
};
