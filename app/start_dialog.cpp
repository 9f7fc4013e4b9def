// The start dialog.
#include "app/start_dialog.h"

#include "app/boot_data.h"
#include "base/logs.h"
#include "base/paths.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/ui/dialog_box.h"

namespace {

enum : uint16_t {
  IDC_START = 1000,
  IDC_CANCEL = 1001,
  IDC_DIRECT3D = 1002,
  IDC_DIRECTDRAW = 1003,
  IDC_NO_ASK = 1004,
  IDC_NOTE = 1005,
  IDC_DRAW_MODE = 1006,
};

// The dialog's place over the owner's 640 x 480 client area, and the
// pointer's place on the Start button, in the template's layout.
constexpr int kOffsetX = 320 - 187;
constexpr int kOffsetY = 240 - 136;
constexpr double kCursorX = 181.9;
constexpr double kCursorY = 198.9;

}  // namespace

cStartDialog::cStartDialog(int nTemplateId, cWindow* pOwner, int nUser, cWindowList* pList) {
  Init(nTemplateId, pOwner, nUser, pList);
  m_pfnWndProc = StartDialogProc;
  s_pCurrent = this;
  SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  const int nOwnerX = pOwner ? pOwner->m_nPosX : 0;
  const int nOwnerY = pOwner ? pOwner->m_nPosY : 0;
  m_nReqPosX = nOwnerX + kOffsetX;
  m_nReqPosY = nOwnerY + kOffsetY;
  m_nCursorX = static_cast<int>(m_nReqPosX + kCursorX);
  m_nCursorY = static_cast<int>(m_nReqPosY + kCursorY);
  plat::SetCursorPosition(m_nCursorX, m_nCursorY);
  m_vRadios.resize(2);
  m_vRadios.At(0).nId = IDC_DIRECT3D;
  m_vRadios.At(0).pnValue = &g_BootData.m_nDrawMode;
  m_vRadios.At(0).nValue = BOOT_DRAW_DIRECT3D;
  m_vRadios.At(1).nId = IDC_DIRECTDRAW;
  m_vRadios.At(1).pnValue = &g_BootData.m_nDrawMode;
  m_vRadios.At(1).nValue = BOOT_DRAW_DIRECTDRAW;
  m_vChecks.resize(1);
  m_vChecks.At(0).nId = IDC_NO_ASK;
  m_vChecks.At(0).pnValue = &g_BootData.m_bNoAsk;
  m_vPlains.resize(1);
  m_vPlains.At(0).nId = IDC_NOTE;
}

cStartDialog::~cStartDialog() {
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

intptr_t cStartDialog::StartDialogProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  return s_pCurrent ? s_pCurrent->WndProc(hWnd, message, wParam, lParam) : 0;
}

intptr_t cStartDialog::WndProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
  return RunDialogMessage(hWnd, message, wParam, lParam);
}

void cStartDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) p->SetTitle(g_SystemData.m_strTitle);
  for (int i = 0; i < static_cast<int>(m_vRadios.size()); ++i) {
    RADIOENTRY& e = m_vRadios.At(i);
    e.ctrl.Bind(this, e.nId);
    e.ctrl.m_pnValue = e.pnValue;
    e.ctrl.m_nValue = e.nValue;
    AddControl(&e.ctrl);
  }
  for (int i = 0; i < static_cast<int>(m_vChecks.size()); ++i) {
    CHECKENTRY& e = m_vChecks.At(i);
    e.ctrl.Bind(this, e.nId);
    e.ctrl.m_pnValue = e.pnValue;
    AddControl(&e.ctrl);
  }
  for (int i = 0; i < static_cast<int>(m_vPlains.size()); ++i) {
    PLAINENTRY& e = m_vPlains.At(i);
    e.ctrl.Bind(this, e.nId);
    AddControl(&e.ctrl);
  }
  UpdateControls();
  if (SYSTEMINI.nEnglish != 0) {
    if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) {
      p->SetItemText(IDC_DRAW_MODE, "Drawing mode");
      p->SetItemText(IDC_START, "Start");
      p->SetItemText(IDC_CANCEL, "Cancel");
    }
    if (cPlainCtrl* p = FindPlainCtrl(m_vPlains, IDC_NOTE))
      p->SetText("Configure the detail settings at \"System.ini\".");
    if (cCheckCtrl* p = FindCheckCtrl(m_vChecks, IDC_NO_ASK))
      p->SetText("Do not ask this dialog again");
  }
  m_bInitialised = 1;
}

int cStartDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
  if (!PreCommand(static_cast<int>(wParam))) return 0;
  cDialog::OnCommand(wParam, lParam);
  switch (wParam & 0xFFFF) {
    case IDC_START:
      ReadControls();
      // A choice that cannot be saved still holds for this run.
      if (!g_BootData.Save(g_Paths[PATH_BOOT_DAT]))
        ReportF("%s の保存に失敗…", g_Paths[PATH_BOOT_DAT]);
      End(1);
      break;
    case IDC_CANCEL:
      End(0);
      break;
    default:
      break;
  }
  return 0;
}
