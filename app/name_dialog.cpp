// The name-entry dialog.
#include "app/name_dialog.h"

#include "base/program_state.h"
#include "files/options.h"
#include "files/system_ini.h"
#include "platform/ui/dialog_box.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"

namespace {

enum : uint16_t { IDC_OK = 1000, IDC_CLOSE = 1001, IDC_NAME = 1003, IDC_LABEL = 1007 };

// Game mode of the options scene.
constexpr int kOptionsGameMode = 5;
// The dialog's place on the 640 x 480 screen, and the pointer's on it.
constexpr int kDialogX = 240;
constexpr int kDialogY = 220;
constexpr int kCursorDX = 80;
constexpr int kCursorDY = 65;

}  // namespace

cNameDlg::cNameDlg(int nTemplateId, cWindow* pOwner, int nUser, cWindowList* pList) {
  Init(nTemplateId, pOwner, nUser, pList);
  m_pfnWndProc = DlgProc;
  s_pCurrent = this;
  SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  m_nReqPosX = kDialogX;
  m_nReqPosY = kDialogY;
  if (bWindowed && pOwner) {
    WINDOWPOINT pt;
    pOwner->GetPosition(&pt);
    m_nReqPosX += pt.x + pOwner->m_Frame.nLeft;
    m_nReqPosY += pt.y + pOwner->m_Frame.nTop;
  }
  m_nCursorX = m_nReqPosX + kCursorDX;
  m_nCursorY = m_nReqPosY + kCursorDY;
  plat::SetCursorPosition(m_nCursorX, m_nCursorY);
  if (g_SceneManager.m_nGameMode == kOptionsGameMode)
    m_pstrTarget = &g_Option.m_strName;
  else if (g_PlayScene)
    m_pstrTarget = &g_PlayScene->m_strRankName;
  if (m_pstrTarget) {
    m_vBindings.resize(1);
    m_vBindings.At(0).Set(IDC_NAME, m_pstrTarget, kMaxNameChars, 1);
  }
}

cNameDlg::~cNameDlg() {
  DestroyCtrlBindings(m_vBindings);
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

intptr_t cNameDlg::DlgProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  return s_pCurrent ? s_pCurrent->WndProc(hWnd, message, wParam, lParam) : 0;
}

intptr_t cNameDlg::WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  m_hWnd = hWnd;
  return OnMessage(message, wParam, lParam);
}

intptr_t cNameDlg::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return RunDialogMessage(m_hWnd, message, wParam, lParam);
}

void cNameDlg::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  for (int i = 0; i < static_cast<int>(m_vBindings.size()); ++i) {
    cCtrlBinding& b = m_vBindings.At(i);
    b.ctrl.Create(this, b.params);
    AddControl(&b.ctrl);
  }
  UpdateControls();
  // The name is typed over at once: the first field has the keys, its
  // whole text selected.
  if (!m_vBindings.empty()) {
    if (plat::cDialogWindow* p = m_vBindings.At(0).ctrl.Window()) {
      p->SetFocus(m_vBindings.At(0).ctrl.m_nId);
      p->SetSelection(m_vBindings.At(0).ctrl.m_nId, 0, -1);
    }
  }
  if (SYSTEMINI.nEnglish != 0) {
    if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd))
      p->SetItemText(IDC_LABEL, "     Name");
  }
  m_bInitialised = 1;
}

int cNameDlg::OnCommand(uintptr_t wParam, intptr_t lParam) {
  if (!PreCommand(static_cast<int>(wParam))) return 0;
  const int nResult = cDialog::OnCommand(wParam, lParam);
  switch (wParam & 0xFFFF) {
    case IDC_OK:
      ReadControls();
      End(1);
      return 1;
    case IDC_CLOSE:
      End(0);
      return 1;
    default:
      return nResult;
  }
}
