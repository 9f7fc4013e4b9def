// A dialog of the tests' own over a template they give: it binds what the
// test asks for when it is initialised, runs the test's body with the
// in-memory window it runs on (no display: the null back end), and ends as
// the body says (or, unended, as its close box would end it).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "app/dialog.h"
#include "platform/msg/messages.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/memory_dialog.h"

class cHarnessDialog : public cDialog {
 public:
  using BIND = std::function<void(cHarnessDialog&)>;
  using BODY = std::function<void(cHarnessDialog&, plat::cMemoryDialogWindow&)>;

  cHarnessDialog(BIND fnBind, BODY fnBody)
      : m_fnBind(std::move(fnBind)), m_fnBody(std::move(fnBody)) {
    m_pfnWndProc = Proc;
    SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  }

  intptr_t WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override {
    return RunDialogMessage(hWnd, message, wParam, lParam);
  }
  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    if (m_fnBind) m_fnBind(*this);
    UpdateControls();
    m_bInitialised = 1;
    auto* pWindow = dynamic_cast<plat::cMemoryDialogWindow*>(plat::GetDialogWindow(m_hWnd));
    ASSERT_NE(pWindow, nullptr);
    if (m_fnBody) m_fnBody(*this, *pWindow);
  }

  // The end result of a run over the template, modal over hOwner.
  int Run(const plat::DLGTEMPLATE& tpl, plat::WndHandle hOwner = nullptr) {
    cHarnessDialog* pOuter = s_pCurrent;
    s_pCurrent = this;
    const int n = static_cast<int>(plat::DialogBox(tpl, hOwner, Proc, this));
    s_pCurrent = pOuter;
    return n;
  }
  // The same through DoModal, over one of the program's own templates.
  int RunModal(int nTemplateId, cWindowList* pList, int nFlags) {
    cHarnessDialog* pOuter = s_pCurrent;
    s_pCurrent = this;
    Init(nTemplateId, nullptr, 0, pList);
    const int n = DoModal(nFlags);
    s_pCurrent = pOuter;
    return n;
  }

 private:
  static intptr_t Proc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return s_pCurrent ? s_pCurrent->WndProc(hWnd, message, wParam, lParam) : 0;
  }
  static inline cHarnessDialog* s_pCurrent = nullptr;
  BIND m_fnBind;
  BODY m_fnBody;
};

// A template of the given controls.
inline plat::DLGTEMPLATE HarnessTemplate(std::initializer_list<plat::DLGITEM> items) {
  plat::DLGTEMPLATE t;
  t.nId = 999;
  t.cx = 200;
  t.cy = 100;
  t.vItems = items;
  return t;
}

inline plat::DLGITEM HarnessItem(uint16_t nId, plat::eDlgItemKind kind, bool bGroup = false) {
  plat::DLGITEM item;
  item.nId = nId;
  item.kind = kind;
  item.bTabStop = true;
  item.bGroup = bGroup;
  return item;
}
