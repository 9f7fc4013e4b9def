// The toolkit's window class and its geometry rules.
#include "app/window.h"

#include <map>

#include "platform/present/presenter_window.h"

namespace {

// Rows of tool bands are 28 pixels high; a status band is 20.
constexpr int kBandRowHeight = 28;
constexpr int kStatusHeight = 20;

std::map<int, int>& Metrics() {
  static std::map<int, int> metrics = {{SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}};
  return metrics;
}

}  // namespace

int GetSystemMetric(int nIndex) {
  auto it = Metrics().find(nIndex);
  return it == Metrics().end() ? 0 : it->second;
}

void SetSystemMetric(int nIndex, int nValue) { Metrics()[nIndex] = nValue; }

cWindow::cWindow() = default;

cWindow::~cWindow() = default;

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
  m_rcClient = RECT{0, 0, m_nReqClientWidth, m_nReqClientHeight};
  RecomputeFrame();
}

void cWindow::RecomputeFrame() {
  m_nFrameLeft = m_nFrameRight = m_nFrameTop = m_nFrameBottom = 0;
  if (m_dwStyle & WS_CAPTION) m_nFrameTop += GetSystemMetric(SM_CYCAPTION);
  if (m_dwStyle & WS_THICKFRAME) {
    m_nFrameLeft += GetSystemMetric(SM_CXFRAME);
    m_nFrameRight += GetSystemMetric(SM_CXFRAME);
    m_nFrameTop += GetSystemMetric(SM_CYFRAME);
    m_nFrameBottom += GetSystemMetric(SM_CYFRAME);
  } else if (m_dwStyle & WS_DLGFRAME) {
    m_nFrameLeft += GetSystemMetric(SM_CXDLGFRAME);
    m_nFrameRight += GetSystemMetric(SM_CXDLGFRAME);
    m_nFrameTop += GetSystemMetric(SM_CYDLGFRAME);
    m_nFrameBottom += GetSystemMetric(SM_CYDLGFRAME);
  }
  if (m_dwStyle & WS_VSCROLL) m_nFrameRight += GetSystemMetric(SM_CXVSCROLL);
  if (m_dwStyle & WS_HSCROLL) m_nFrameBottom += GetSystemMetric(SM_CYHSCROLL);
  if (m_bMenu) m_nFrameTop += GetSystemMetric(SM_CYMENU);
  m_nOuterWidth = m_rcClient.right + m_nFrameLeft + m_nFrameRight;
  m_nOuterHeight = m_rcClient.bottom + m_nFrameTop + m_nFrameBottom;
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
  RECT rc;
  GetClientArea(&rc);
  RecomputeFrame();
}

void cWindow::AddStyle(uint32_t dwBits) {
  m_dwStyle |= dwBits;
  Refresh();
}

void cWindow::RemoveStyle(uint32_t dwBits) {
  m_dwStyle &= ~dwBits;
  Refresh();
}

RECT* cWindow::GetClientArea(RECT* pRect) {
  if (!m_hWnd) return nullptr;
  *pRect = m_rcClient;
  return pRect;
}

void cWindow::SetClientSize(int nWidth, int nHeight) {
  m_rcClient = RECT{0, 0, nWidth, nHeight};
  RecomputeFrame();
}

POINT* cWindow::GetPosition(POINT* pPoint) {
  if (m_bPresenterWindow) plat::GetPresenterWindowPosition(m_nPosX, m_nPosY);
  pPoint->x = m_nPosX;
  pPoint->y = m_nPosY;
  return pPoint;
}

void cWindow::MoveTo(int x, int y) {
  if (m_bPresenterWindow) plat::MovePresenterWindow(x, y);
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
    POINT pt;
    m_pAnchorWindow->GetPosition(&pt);
    x = pt.x;
    y = pt.y;
    if (m_bAnchorCentre) {
      x += m_pAnchorWindow->m_rcClient.right / 2 - m_rcClient.right / 2;
      y += m_pAnchorWindow->m_rcClient.bottom / 2 - m_rcClient.bottom / 2;
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
  if (!m_pAnchorWindow) {
    m_nReqPosX = x;
    m_nReqPosY = y;
  }
  MoveTo(x, y);
}

void cWindow::GetMinMaxInfo(MINMAXINFO& info) {
  info.ptMinTrackSize = POINT{m_nMinClientWidth + m_nFrameLeft + m_nFrameRight,
                              m_nMinClientHeight + m_nFrameTop + m_nFrameBottom};
  info.ptMaxTrackSize = POINT{m_nMaxClientWidth + m_nFrameLeft + m_nFrameRight,
                              m_nMaxClientHeight + m_nFrameTop + m_nFrameBottom};
}

int cWindow::HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  m_hWnd = hWnd;
  if (message == plat::WM_COMMAND) {
    // A command sent while one is being handled is dropped.
    if (m_bInCommand) return 0;
    m_bInCommand = 1;
  }
  switch (message) {
    case plat::WM_DESTROY:
      m_hWnd = nullptr;
      return 1;
    case plat::WM_MOVE: {
      POINT pt;
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
    case plat::WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
    case plat::WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
    case plat::WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
    case plat::WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
    case plat::WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
    case plat::WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
    case plat::WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
    default:
      return 0;
  }
}
