// The dialog class.
#include "app/dialog.h"

#include "app/dialog_templates.h"
#include "app/window_list.h"
#include "base/logs.h"
#include "platform/input/keyboard.h"
#include "platform/ui/dialog_box.h"

uint16_t g_nDialogHScrollId = 0;
uint16_t g_nDialogVScrollId = 0;

namespace {

constexpr uint32_t kWmNotify = 0x004E;
constexpr uint32_t kWmHScroll = 0x0114;
constexpr uint32_t kWmVScroll = 0x0115;
// Scroll codes (the same numbers serve both directions).
enum : int {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_BOTTOM = 7,
};

intptr_t HandleOf(const cDlgCtrl& bar) {
  // A bar stands for its control: the dialog tells its bars apart by it.
  return bar.m_bCreated ? reinterpret_cast<intptr_t>(&bar) : 0;
}

}  // namespace

cDialog::cDialog() = default;

cDialog::~cDialog() {
  if (m_bModeless && m_hWnd) {
    End(0);
    if (!m_pWindowList || !m_pWindowList->Remove(m_pListSelf ? m_pListSelf : this))
      ErrorBoxF("ウインドウの破棄に失敗！");
  }
}

void cDialog::Init(int nTemplateId, cWindow* pParent, int nUser, cWindowList* pList) {
  m_nUser = nUser;
  m_bInitialised = 0;
  m_bModeless = 0;
  m_nDoModalFlags = 0;
  Setup(nTemplateId, pParent, pList);
}

void cDialog::Setup(int nTemplateId, cWindow* pParent, cWindowList* pList) {
  m_pParentWindow = pParent;
  m_pfnSavedProc = nullptr;
  cWindow::Init(nTemplateId, pParent ? pParent->m_hWnd : nullptr, pList);
}

void cDialog::AddControl(cControl* pControl) { m_vControls.push_back(pControl); }

void cDialog::UpdateControls() {
  for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i) m_vControls.At(i)->Show();
}

void cDialog::ReadControls() {
  for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i) m_vControls.At(i)->Store();
}

int cDialog::End(int nResult) {
  m_nEndResult = nResult;
  m_vControls.clear();
  if (!m_hWnd) return 0;
  // A modeless dialog's window goes with its run as well.
  return plat::EndDialogBox(m_hWnd, nResult) ? 1 : 0;
}

int cDialog::DoModal(int nFlags) {
  if (m_hWnd) return 0;
  End(0);
  m_bModeless = 0;
  m_nDoModalFlags = nFlags;
  if (m_pWindowList && (nFlags & DOMODAL_HIDE_LIST)) m_pWindowList->ShowAll(0);
  if (m_pWindowList && (nFlags & DOMODAL_DISABLE_LIST)) m_pWindowList->EnableAll(0);
  const plat::DLGTEMPLATE* pTemplate = FindDialogTemplate(m_nTemplateId);
  int nResult = -1;
  if (pTemplate && m_pfnWndProc)
    nResult = static_cast<int>(plat::DialogBox(*pTemplate, m_hParent, m_pfnWndProc, this));
  else
    DebugLogF("DialogBox: no dialog template %d", m_nTemplateId);
  m_hWnd = nullptr;
  if (m_pWindowList && (nFlags & DOMODAL_HIDE_LIST)) m_pWindowList->ShowAll(1);
  if (m_pWindowList && (nFlags & DOMODAL_DISABLE_LIST)) m_pWindowList->EnableAll(1);
  return nResult;
}

void cDialog::OnDestroy() {
  if (m_pWindowList && (m_nDoModalFlags & DOMODAL_HIDE_LIST)) m_pWindowList->ShowAll(1);
  if (m_pWindowList && (m_nDoModalFlags & DOMODAL_DISABLE_LIST)) m_pWindowList->EnableAll(1);
}

void cDialog::PlaceScrollBars() {
  // The bars keep their place below and beside the view; the desktop draws
  // no bar of its own here, so only the recorded positions move.
  if (m_HScroll.m_bCreated) m_HScroll.RecordPosition();
  if (m_VScroll.m_bCreated) m_VScroll.RecordPosition();
}

void cDialog::OnInitDialog(uintptr_t, intptr_t) {
  m_vControls.clear();
  if (m_bModeless && m_pWindowList) {
    m_pListSelf = this;
    m_pWindowList->Add(this);
  }
  // Every message reaches the dialog's procedure unchanged: the procedure
  // the dialog runs with is the one it keeps.
  if (!m_pfnSavedProc) m_pfnSavedProc = m_pfnWndProc;
  Refresh();
  if (m_nReqClientWidth != 0) SetClientSize(m_nReqClientWidth, m_nReqClientHeight);
  if (m_nScrollFlags & 1) {
    SCROLLPARAMS params;
    params.nId = g_nDialogHScrollId;
    m_HScroll.CreateScroll(this, params);
    AddControl(&m_HScroll);
  }
  if (m_nScrollFlags & 2) {
    SCROLLPARAMS params;
    params.nId = g_nDialogVScrollId;
    m_VScroll.CreateScroll(this, params);
    AddControl(&m_VScroll);
  }
  PlaceScrollBars();
  Place();
  if (!m_Hook.KeyboardHook(m_hWnd, m_bModeless)) ErrorBoxF("KeyboardHookに失敗!");
  UpdateMouse(0, 7);
  m_PrevMouse = m_Mouse;
}

void cDialog::Scroll(cDlgCtrl& bar, uintptr_t wParam) {
  const int nOld = bar.m_nPos;
  int nPos = nOld;
  switch (static_cast<int>(wParam & 0xFFFF)) {
    case SB_LINEUP:
      nPos -= 1;
      break;
    case SB_LINEDOWN:
      nPos += 1;
      break;
    case SB_PAGEUP:
      nPos -= bar.m_nPage;
      break;
    case SB_PAGEDOWN:
      nPos += bar.m_nPage;
      break;
    case SB_THUMBTRACK:
      nPos = static_cast<int16_t>(wParam >> 16);
      break;
    case SB_TOP:
      nPos = bar.m_nMin;
      break;
    case SB_BOTTOM:
      nPos = bar.m_nMax;
      break;
    default:
      break;
  }
  if (bar.SetPosition(nPos) != nOld) OnPaint();
}

int cDialog::HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  const int nResult = cWindow::HandleMessage(hWnd, message, wParam, lParam);
  switch (message) {
    case plat::WM_DESTROY:
      OnDestroy();
      break;
    case plat::WM_SIZE:
      PlaceScrollBars();
      break;
    case kWmNotify:
      for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i)
        if (m_vControls.At(i)->OnNotify(wParam, lParam)) break;
      break;
    case plat::WM_KEYDOWN: {
      struct SCROLLKEY {
        int nVk;
        uint32_t message;
        int nCode;
        const cDlgCtrl* pBar;
      };
      const SCROLLKEY keys[] = {
          {plat::VK_PRIOR, kWmVScroll, SB_PAGEUP, &m_VScroll},
          {plat::VK_NEXT, kWmVScroll, SB_PAGEDOWN, &m_VScroll},
          {plat::VK_UP, kWmVScroll, SB_LINEUP, &m_VScroll},
          {plat::VK_DOWN, kWmVScroll, SB_LINEDOWN, &m_VScroll},
          {plat::VK_HOME, kWmHScroll, SB_PAGELEFT, &m_HScroll},
          {plat::VK_END, kWmHScroll, SB_PAGERIGHT, &m_HScroll},
          {plat::VK_LEFT, kWmHScroll, SB_LINELEFT, &m_HScroll},
          {plat::VK_RIGHT, kWmHScroll, SB_LINERIGHT, &m_HScroll},
      };
      for (const SCROLLKEY& k : keys)
        if (static_cast<int>(wParam) == k.nVk)
          plat::PostMessage(m_hWnd, k.message, static_cast<uintptr_t>(k.nCode), HandleOf(*k.pBar));
      if (!m_bModeless)
        for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i)
          m_vControls.At(i)->OnKey(static_cast<int>(wParam), lParam, cHook::IsCtrlHeld());
      break;
    }
    case plat::WM_INITDIALOG:
      OnInitDialog(wParam, lParam);
      break;
    case kWmHScroll:
    case kWmVScroll: {
      cDlgCtrl& bar = message == kWmHScroll ? m_HScroll : m_VScroll;
      if (lParam != 0 && lParam == HandleOf(bar)) Scroll(bar, wParam);
      for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i)
        if (m_vControls.At(i)->OnScroll(wParam, lParam)) break;
      break;
    }
    case WM_DIALOGKEY:
      plat::SendMessage(m_hWnd, plat::WM_KEYDOWN, wParam, lParam);
      break;
    default:
      break;
  }
  return nResult;
}

int cDialog::OnCommand(uintptr_t wParam, intptr_t) {
  const int nId = static_cast<int>(wParam & 0xFFFF);
  const int nCode = static_cast<int>((wParam >> 16) & 0xFFFF);
  for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i) {
    cControl* p = m_vControls.At(i);
    if (p->m_nId != nId) continue;
    const int nKind = p->m_nKind;
    const bool bEdit = nKind == CTRL_EDIT_OTHER || nKind == CTRL_EDIT;
    if (bEdit && nCode == plat::EN_UPDATE) {
      p->OnChange();
      break;
    }
    if (bEdit && nCode == plat::EN_KILLFOCUS) {
      p->OnKillFocus();
      break;
    }
    if ((nKind == CTRL_LIST || nKind == CTRL_LIST_REDRAW) && nCode == 1) {
      p->OnChange();
      break;
    }
    if (nKind == CTRL_LIST_REDRAW && nCode == 5) {
      p->OnKillFocus();
      break;
    }
  }
  for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i) {
    cControl* p = m_vControls.At(i);
    // A list control is told to stop redrawing, then to catch up.
    if (p->m_nKind == CTRL_LIST_REDRAW) p->EndRedraw();
  }
  return 0;
}

void cDialog::RefreshLists() {
  for (int i = 0; i < static_cast<int>(m_vControls.size()); ++i)
    if (m_vControls.At(i)->m_nKind == CTRL_LIST_REDRAW) m_vControls.At(i)->RefreshList();
}

intptr_t cDialog::RunDialogMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
  const int nResult = HandleMessage(hWnd, message, wParam, lParam);
  if (message == plat::WM_DESTROY) return 1;
  if (message == plat::WM_CLOSE) {
    End(0);
    return 1;
  }
  return nResult != 0 ? 1 : 0;
}
