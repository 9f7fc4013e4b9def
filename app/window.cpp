// The toolkit's window class and its geometry rules.
#include "app/window.h"

#include <cstdio>

#include "app/dialog_controls.h"
#include "base/logs.h"
#include "platform/input/keyboard.h"
#include "platform/present/presenter_window.h"
#include "platform/ui/dialog_box.h"

namespace {

// Rows of tool bands are 28 pixels high; a status band is 20.
constexpr int kBandRowHeight = 28;
constexpr int kStatusHeight = 20;

// Button states of the previous update and the press latches, shared by
// every window (only the window thread touches them).
int g_bPrevLeft = 0;
int g_bPrevRight = 0;
int g_bLeftLatch = 0;
int g_bRightLatch = 0;

struct cMessageName {
  uint32_t nMessage;
  const char* szName;
};

// The names a message trace prints, in the order the messages are numbered
// and grouped (aliases included); the first row of a number wins.
constexpr cMessageName kMessageNames[] = {
    {0x0000, "WM_NULL"},
    {0x0001, "WM_CREATE"},
    {0x0002, "WM_DESTROY"},
    {0x0003, "WM_MOVE"},
    {0x0005, "WM_SIZE"},
    {0x0006, "WM_ACTIVATE"},
    {0x0007, "WM_SETFOCUS"},
    {0x0008, "WM_KILLFOCUS"},
    {0x000A, "WM_ENABLE"},
    {0x000B, "WM_SETREDRAW"},
    {0x000C, "WM_SETTEXT"},
    {0x000D, "WM_GETTEXT"},
    {0x000E, "WM_GETTEXTLENGTH"},
    {0x000F, "WM_PAINT"},
    {0x0010, "WM_CLOSE"},
    {0x0011, "WM_QUERYENDSESSION"},
    {0x0013, "WM_QUERYOPEN"},
    {0x0016, "WM_ENDSESSION"},
    {0x0012, "WM_QUIT"},
    {0x0014, "WM_ERASEBKGND"},
    {0x0015, "WM_SYSCOLORCHANGE"},
    {0x0018, "WM_SHOWWINDOW"},
    {0x001A, "WM_WININICHANGE"},
    {0x001A, "WM_SETTINGCHANGE"},
    {0x001B, "WM_DEVMODECHANGE"},
    {0x001C, "WM_ACTIVATEAPP"},
    {0x001D, "WM_FONTCHANGE"},
    {0x001E, "WM_TIMECHANGE"},
    {0x001F, "WM_CANCELMODE"},
    {0x0020, "WM_SETCURSOR"},
    {0x0021, "WM_MOUSEACTIVATE"},
    {0x0022, "WM_CHILDACTIVATE"},
    {0x0023, "WM_QUEUESYNC"},
    {0x0024, "WM_GETMINMAXINFO"},
    {0x0026, "WM_PAINTICON"},
    {0x0027, "WM_ICONERASEBKGND"},
    {0x0028, "WM_NEXTDLGCTL"},
    {0x002A, "WM_SPOOLERSTATUS"},
    {0x002B, "WM_DRAWITEM"},
    {0x002C, "WM_MEASUREITEM"},
    {0x002D, "WM_DELETEITEM"},
    {0x002E, "WM_VKEYTOITEM"},
    {0x002F, "WM_CHARTOITEM"},
    {0x0030, "WM_SETFONT"},
    {0x0031, "WM_GETFONT"},
    {0x0032, "WM_SETHOTKEY"},
    {0x0033, "WM_GETHOTKEY"},
    {0x0037, "WM_QUERYDRAGICON"},
    {0x0039, "WM_COMPAREITEM"},
    {0x0041, "WM_COMPACTING"},
    {0x0044, "WM_COMMNOTIFY"},
    {0x0046, "WM_WINDOWPOSCHANGING"},
    {0x0047, "WM_WINDOWPOSCHANGED"},
    {0x0048, "WM_POWER"},
    {0x004A, "WM_COPYDATA"},
    {0x004B, "WM_CANCELJOURNAL"},
    {0x004E, "WM_NOTIFY"},
    {0x0050, "WM_INPUTLANGCHANGEREQUEST"},
    {0x0051, "WM_INPUTLANGCHANGE"},
    {0x0052, "WM_TCARD"},
    {0x0053, "WM_HELP"},
    {0x0054, "WM_USERCHANGED"},
    {0x0055, "WM_NOTIFYFORMAT"},
    {0x007B, "WM_CONTEXTMENU"},
    {0x007C, "WM_STYLECHANGING"},
    {0x007D, "WM_STYLECHANGED"},
    {0x007E, "WM_DISPLAYCHANGE"},
    {0x007F, "WM_GETICON"},
    {0x0080, "WM_SETICON"},
    {0x0081, "WM_NCCREATE"},
    {0x0082, "WM_NCDESTROY"},
    {0x0083, "WM_NCCALCSIZE"},
    {0x0084, "WM_NCHITTEST"},
    {0x0085, "WM_NCPAINT"},
    {0x0086, "WM_NCACTIVATE"},
    {0x0087, "WM_GETDLGCODE"},
    {0x0088, "WM_SYNCPAINT"},
    {0x00A0, "WM_NCMOUSEMOVE"},
    {0x00A1, "WM_NCLBUTTONDOWN"},
    {0x00A2, "WM_NCLBUTTONUP"},
    {0x00A3, "WM_NCLBUTTONDBLCLK"},
    {0x00A4, "WM_NCRBUTTONDOWN"},
    {0x00A5, "WM_NCRBUTTONUP"},
    {0x00A6, "WM_NCRBUTTONDBLCLK"},
    {0x00A7, "WM_NCMBUTTONDOWN"},
    {0x00A8, "WM_NCMBUTTONUP"},
    {0x00A9, "WM_NCMBUTTONDBLCLK"},
    {0x0100, "WM_KEYFIRST"},
    {0x0100, "WM_KEYDOWN"},
    {0x0101, "WM_KEYUP"},
    {0x0102, "WM_CHAR"},
    {0x0103, "WM_DEADCHAR"},
    {0x0104, "WM_SYSKEYDOWN"},
    {0x0105, "WM_SYSKEYUP"},
    {0x0106, "WM_SYSCHAR"},
    {0x0107, "WM_SYSDEADCHAR"},
    {0x0108, "WM_KEYLAST"},
    {0x010D, "WM_IME_STARTCOMPOSITION"},
    {0x010E, "WM_IME_ENDCOMPOSITION"},
    {0x010F, "WM_IME_COMPOSITION"},
    {0x010F, "WM_IME_KEYLAST"},
    {0x0110, "WM_INITDIALOG"},
    {0x0111, "WM_COMMAND"},
    {0x0112, "WM_SYSCOMMAND"},
    {0x0113, "WM_TIMER"},
    {0x0114, "WM_HSCROLL"},
    {0x0115, "WM_VSCROLL"},
    {0x0116, "WM_INITMENU"},
    {0x0117, "WM_INITMENUPOPUP"},
    {0x011F, "WM_MENUSELECT"},
    {0x0120, "WM_MENUCHAR"},
    {0x0121, "WM_ENTERIDLE"},
    {0x0132, "WM_CTLCOLORMSGBOX"},
    {0x0133, "WM_CTLCOLOREDIT"},
    {0x0134, "WM_CTLCOLORLISTBOX"},
    {0x0135, "WM_CTLCOLORBTN"},
    {0x0136, "WM_CTLCOLORDLG"},
    {0x0137, "WM_CTLCOLORSCROLLBAR"},
    {0x0138, "WM_CTLCOLORSTATIC"},
    {0x0200, "WM_MOUSEFIRST"},
    {0x0200, "WM_MOUSEMOVE"},
    {0x0201, "WM_LBUTTONDOWN"},
    {0x0202, "WM_LBUTTONUP"},
    {0x0203, "WM_LBUTTONDBLCLK"},
    {0x0204, "WM_RBUTTONDOWN"},
    {0x0205, "WM_RBUTTONUP"},
    {0x0206, "WM_RBUTTONDBLCLK"},
    {0x0207, "WM_MBUTTONDOWN"},
    {0x0208, "WM_MBUTTONUP"},
    {0x0209, "WM_MBUTTONDBLCLK"},
    {0x0209, "WM_MOUSELAST"},
    {0x0210, "WM_PARENTNOTIFY"},
    {0x0211, "WM_ENTERMENULOOP"},
    {0x0212, "WM_EXITMENULOOP"},
    {0x0213, "WM_NEXTMENU"},
    {0x0214, "WM_SIZING"},
    {0x0215, "WM_CAPTURECHANGED"},
    {0x0216, "WM_MOVING"},
    {0x0218, "WM_POWERBROADCAST"},
    {0x0219, "WM_DEVICECHANGE"},
    {0x0220, "WM_MDICREATE"},
    {0x0221, "WM_MDIDESTROY"},
    {0x0222, "WM_MDIACTIVATE"},
    {0x0223, "WM_MDIRESTORE"},
    {0x0224, "WM_MDINEXT"},
    {0x0225, "WM_MDIMAXIMIZE"},
    {0x0226, "WM_MDITILE"},
    {0x0227, "WM_MDICASCADE"},
    {0x0228, "WM_MDIICONARRANGE"},
    {0x0229, "WM_MDIGETACTIVE"},
    {0x0230, "WM_MDISETMENU"},
    {0x0231, "WM_ENTERSIZEMOVE"},
    {0x0232, "WM_EXITSIZEMOVE"},
    {0x0233, "WM_DROPFILES"},
    {0x0234, "WM_MDIREFRESHMENU"},
    {0x0281, "WM_IME_SETCONTEXT"},
    {0x0282, "WM_IME_NOTIFY"},
    {0x0283, "WM_IME_CONTROL"},
    {0x0284, "WM_IME_COMPOSITIONFULL"},
    {0x0285, "WM_IME_SELECT"},
    {0x0286, "WM_IME_CHAR"},
    {0x0290, "WM_IME_KEYDOWN"},
    {0x0291, "WM_IME_KEYUP"},
    {0x0300, "WM_CUT"},
    {0x0301, "WM_COPY"},
    {0x0302, "WM_PASTE"},
    {0x0303, "WM_CLEAR"},
    {0x0304, "WM_UNDO"},
    {0x0305, "WM_RENDERFORMAT"},
    {0x0306, "WM_RENDERALLFORMATS"},
    {0x0307, "WM_DESTROYCLIPBOARD"},
    {0x0308, "WM_DRAWCLIPBOARD"},
    {0x0309, "WM_PAINTCLIPBOARD"},
    {0x030A, "WM_VSCROLLCLIPBOARD"},
    {0x030B, "WM_SIZECLIPBOARD"},
    {0x030C, "WM_ASKCBFORMATNAME"},
    {0x030D, "WM_CHANGECBCHAIN"},
    {0x030E, "WM_HSCROLLCLIPBOARD"},
    {0x030F, "WM_QUERYNEWPALETTE"},
    {0x0310, "WM_PALETTEISCHANGING"},
    {0x0311, "WM_PALETTECHANGED"},
    {0x0312, "WM_HOTKEY"},
    {0x0317, "WM_PRINT"},
    {0x0318, "WM_PRINTCLIENT"},
    {0x0358, "WM_HANDHELDFIRST"},
    {0x035F, "WM_HANDHELDLAST"},
    {0x0360, "WM_AFXFIRST"},
    {0x037F, "WM_AFXLAST"},
    {0x0380, "WM_PENWINFIRST"},
    {0x038F, "WM_PENWINLAST"},
    {0x8000, "WM_APP"},
    {0x0400, "WM_USER"},
};

}  // namespace

int cMouseState::Update(int nFlags) {
  g_bPrevLeft = bLeft;
  g_bPrevRight = bRight;
  if (nFlags & 1) {
    bLeft = plat::IsKeyDown(plat::VK_LBUTTON) ? 1 : 0;
    bRight = plat::IsKeyDown(plat::VK_RBUTTON) ? 1 : 0;
  }
  if (nFlags & 2) {
    bLeftPressed = (bLeft && !g_bLeftLatch) ? 1 : 0;
    g_bLeftLatch = bLeft;
    bRightPressed = (bRight && !g_bRightLatch) ? 1 : 0;
    g_bRightLatch = bRight;
  }
  if (nFlags & 4) {
    bLeftReleased = (g_bPrevLeft && !bLeft) ? 1 : 0;
    bRightReleased = (g_bPrevRight && !bRight) ? 1 : 0;
  }
  return 1;
}

cWindow::cWindow() = default;

cWindow::~cWindow() {
  for (cMemDC& dc : m_aMemDC) cFontHolder::Release(dc);
}

void cWindow::ShowNative(int bShow) {
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) p->Show(bShow != 0);
}

plat::WndHandle cWindow::Init(int nTemplateId, plat::WndHandle hParent, cWindowList* pList) {
  m_nTemplateId = nTemplateId;
  m_hParent = hParent;
  m_pWindowList = pList;
  return m_hWnd;
}

void cWindow::SetGeometry(int nViewWidth, int nViewHeight, int nMinViewWidth, int nMinViewHeight,
                          int nMaxViewWidth, int nMaxViewHeight, uint32_t dwStyle, int bMenu,
                          int nBandRows, int nStatusMode, int, int nScrollFlags) {
  m_nGeoViewWidth = nViewWidth;
  m_nGeoViewHeight = nViewHeight;
  m_nGeoMinViewWidth = nMinViewWidth;
  m_nGeoMinViewHeight = nMinViewHeight;
  m_nGeoMaxViewWidth = nMaxViewWidth;
  m_nGeoMaxViewHeight = nMaxViewHeight;
  m_dwStyle = dwStyle;
  m_bMenu = bMenu;
  m_nBandRows = nBandRows;
  m_nStatusMode = nStatusMode;
  m_nScrollFlags = nScrollFlags;
  m_nViewX = 0;
  m_nViewY = nBandRows * kBandRowHeight;
  int nExtraWidth = (nScrollFlags & 2) ? GetSystemMetric(SM_CXVSCROLL) : 0;
  int nExtraHeight = (nScrollFlags & 1) ? GetSystemMetric(SM_CYHSCROLL) : 0;
  if (nStatusMode == 1 || nStatusMode == 2) nExtraHeight += kStatusHeight;
  nExtraHeight += m_nViewY;
  m_nMinClientWidth = nMinViewWidth + nExtraWidth;
  m_nMinClientHeight = nMinViewHeight + nExtraHeight;
  m_nMaxClientWidth = nMaxViewWidth + nExtraWidth;
  m_nMaxClientHeight = nMaxViewHeight + nExtraHeight;
  m_nReqClientWidth = nViewWidth + nExtraWidth;
  m_nReqClientHeight = nViewHeight + nExtraHeight;
  m_rcClient = WINDOWRECT{0, 0, m_nReqClientWidth, m_nReqClientHeight};
  RecomputeFrame();
}

void cWindow::RecomputeFrame() {
  m_Frame = GetWindowFrame(m_dwStyle, m_bMenu != 0);
  m_nOuterWidth = m_rcClient.right + m_Frame.nLeft + m_Frame.nRight;
  m_nOuterHeight = m_rcClient.bottom + m_Frame.nTop + m_Frame.nBottom;
  m_nWindowX = m_nWindowY = 0;
  m_nViewX = 0;
  m_nViewY = m_nBandRows * kBandRowHeight;
  m_nViewWidth = m_rcClient.right;
  m_nViewHeight = m_rcClient.bottom - m_nViewY;
  if (m_nScrollFlags & 1) m_nViewHeight -= GetSystemMetric(SM_CYHSCROLL);
  if (m_nScrollFlags & 2) m_nViewWidth -= GetSystemMetric(SM_CXVSCROLL);
  // Mode 2 reserves the status band in the client size; the view keeps it.
  if (m_nStatusMode == 1) m_nViewHeight -= kStatusHeight;
}

void cWindow::Refresh() {
  WINDOWRECT rc;
  GetClientArea(&rc);
  RecomputeFrame();
}

void cWindow::AddStyle(uint32_t dwBits) {
  m_dwStyle |= dwBits;
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd))
    p->Enable((m_dwStyle & WS_DISABLED) == 0);
  Refresh();
}

void cWindow::RemoveStyle(uint32_t dwBits) {
  m_dwStyle &= ~dwBits;
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd))
    p->Enable((m_dwStyle & WS_DISABLED) == 0);
  Refresh();
}

WINDOWRECT* cWindow::GetClientArea(WINDOWRECT* pRect) {
  if (!m_hWnd) return nullptr;
  // A dialog keeps the size its template and the desktop's font give it.
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) {
    int cx = 0, cy = 0;
    p->GetClientSize(cx, cy);
    m_rcClient = WINDOWRECT{0, 0, cx, cy};
  }
  *pRect = m_rcClient;
  return pRect;
}

void cWindow::SetClientSize(int nWidth, int nHeight) {
  m_rcClient = WINDOWRECT{0, 0, nWidth, nHeight};
  RecomputeFrame();
}

WINDOWPOINT* cWindow::GetPosition(WINDOWPOINT* pPoint) {
  if (m_bPresenterWindow) plat::GetPresenterWindowPosition(m_nPosX, m_nPosY);
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) p->GetPosition(m_nPosX, m_nPosY);
  pPoint->x = m_nPosX;
  pPoint->y = m_nPosY;
  return pPoint;
}

void cWindow::MoveTo(int x, int y) {
  if (m_bPresenterWindow) plat::MovePresenterWindow(x, y);
  if (plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd)) p->Move(x, y);
  m_nPosX = x;
  m_nPosY = y;
  RecomputeFrame();
}

void cWindow::CentreOnDesktop() {
  int nDesktopRight = 0, nDesktopBottom = 0;
  plat::GetDesktopSize(nDesktopRight, nDesktopBottom);
  MoveTo((nDesktopRight - m_nOuterWidth) / 2, (nDesktopBottom - m_nOuterHeight) / 2);
}

void cWindow::Place() {
  int x = 0, y = 0;
  if (m_pAnchorWindow) {
    WINDOWPOINT pt;
    m_pAnchorWindow->GetPosition(&pt);
    x = pt.x;
    y = pt.y;
    if (m_bAnchorCentre) {
      x += m_pAnchorWindow->m_rcClient.right / 2 - m_rcClient.right / 2;
      y += m_pAnchorWindow->m_rcClient.bottom / 2 - m_rcClient.bottom / 2;
    }
  } else if (m_pAnchorCtrl) {
    int cx = 0, cy = 0;
    m_pAnchorCtrl->GetScreenRect(x, y, cx, cy);
    if (m_bAnchorCentre) {
      x += cx / 2 - m_rcClient.right / 2;
      y += cy / 2 - m_rcClient.bottom / 2;
    }
  } else {
    if (m_nReqPosX == -1000 || m_nReqPosY == -1000) return;
    x = m_nReqPosX;
    y = m_nReqPosY;
  }
  int nRight = 0, nBottom = 0;
  plat::GetDesktopSize(nRight, nBottom);
  if (x < 0) {
    x = 0;
  } else if (x + m_nOuterWidth >= nRight) {
    x = nRight - m_nOuterWidth;
  }
  if (y < 0) {
    y = 0;
  } else if (y + m_nOuterHeight >= nBottom) {
    y = nBottom - m_nOuterHeight;
  }
  if (!m_pAnchorWindow && !m_pAnchorCtrl) {
    m_nReqPosX = x;
    m_nReqPosY = y;
  }
  MoveTo(x, y);
}

void cWindow::GetMinMaxInfo(MINMAXINFO& info) {
  info.ptMinTrackSize = WINDOWPOINT{m_nMinClientWidth + m_Frame.nLeft + m_Frame.nRight,
                                    m_nMinClientHeight + m_Frame.nTop + m_Frame.nBottom};
  info.ptMaxTrackSize = WINDOWPOINT{m_nMaxClientWidth + m_Frame.nLeft + m_Frame.nRight,
                                    m_nMaxClientHeight + m_Frame.nTop + m_Frame.nBottom};
}

int cWindow::UpdateMouse(int bAnywhere, int nFlags) {
  int x = 0, y = 0;
  if (!plat::GetCursorPosition(x, y)) {
    DebugLog("GetCursorPos失敗！");
    // No desktop: the point stays where it was last seen.
    x = m_nMouseScreenX;
    y = m_nMouseScreenY;
  }
  WINDOWPOINT pos;
  GetPosition(&pos);
  int px = x - (pos.x + m_Frame.nLeft) - m_nViewX;
  int py = y - (pos.y + m_Frame.nTop) - m_nViewY;
  if (!bAnywhere && (px < 0 || px >= m_nViewWidth || py < 0 || py >= m_nViewHeight)) return 0;
  m_Mouse.x = px;
  m_Mouse.y = py;
  m_nMouseScreenX = pos.x + px;
  m_nMouseScreenY = pos.y + m_Frame.nTop + m_nViewY + py;
  m_Mouse.Update(nFlags);
  return 1;
}

const char* cWindow::MessageName(uint32_t message) {
  for (const cMessageName& row : kMessageNames)
    if (row.nMessage == message) return row.szName;
  static char szNumber[16];
  std::snprintf(szNumber, sizeof szNumber, "%u", message);
  return szNumber;
}

int cWindow::HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  m_hWnd = hWnd;
  if (message == plat::WM_COMMAND) {
    // A command sent while one is being handled is dropped.
    if (m_bInCommand) return 0;
    m_bInCommand = 1;
  }
  constexpr uint32_t kWmGetText = 0x000D;
  if (m_bTrace && message != kWmGetText) {
    uint32_t w = static_cast<uint32_t>(wParam);
    int32_t l = static_cast<int32_t>(lParam);
    DebugLogF("%s | msg:%s | wp:%u(%u,%u) | lp:%d(%d,%d)", m_strCaption.c_str(),
              MessageName(message), w, w >> 16, w & 0xFFFF, l, static_cast<int16_t>(l >> 16),
              static_cast<int16_t>(l & 0xFFFF));
  }
  UpdateMouse(0, 7);
  switch (message) {
    case plat::WM_DESTROY:
      m_hWnd = nullptr;
      return 1;
    case plat::WM_MOVE: {
      WINDOWPOINT pt;
      GetPosition(&pt);
      return 1;
    }
    case plat::WM_SIZE:
      Refresh();
      if (m_hBandWnd) plat::SendMessage(m_hBandWnd, plat::WM_SIZE, wParam, lParam);
      return 1;
    case plat::WM_ACTIVATEAPP:
      return 1;
    case plat::WM_PAINT:
      OnPaint();
      return 1;
    case plat::WM_GETMINMAXINFO:
      GetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 1;
    case plat::WM_COMMAND:
      OnCommand(wParam, lParam);
      EndCommand();
      return 1;
    case plat::WM_MOUSEMOVE:
      OnMouseMove(wParam, lParam);
      return 1;
    case plat::WM_LBUTTONDOWN:
      OnLButtonDown(wParam, lParam);
      return 1;
    case plat::WM_LBUTTONUP:
      OnLButtonUp(wParam, lParam);
      return 1;
    case plat::WM_LBUTTONDBLCLK:
      OnLButtonDblClk(wParam, lParam);
      return 1;
    case plat::WM_RBUTTONDOWN:
      OnRButtonDown(wParam, lParam);
      return 1;
    case plat::WM_RBUTTONUP:
      OnRButtonUp(wParam, lParam);
      return 1;
    case plat::WM_RBUTTONDBLCLK:
      OnRButtonDblClk(wParam, lParam);
      return 1;
    default:
      return 0;
  }
}
