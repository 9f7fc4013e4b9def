// The toolkit's window class: one object per native window, holding the
// geometry it was asked for (client size, limits, the frame its style bits
// add: app/window_frame.h) and the view rectangle inside the client area.
// Window thread only.
#pragma once

#include <cstdint>
#include <string>

#include "app/mem_dc.h"
#include "app/window_frame.h"
#include "platform/msg/messages.h"
#include "platform/msg/window.h"

// Window-toolkit rectangles and points (client or screen pixels).
struct WINDOWRECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct WINDOWPOINT {
  int x = 0;
  int y = 0;
};

struct MINMAXINFO {
  WINDOWPOINT ptMinTrackSize;
  WINDOWPOINT ptMaxTrackSize;
};

class cWindowList;
class cControl;

// The mouse as a window sees it: position relative to the view origin and
// the button states, with presses and releases of this update.
struct cMouseState {
  int x = 0;
  int y = 0;
  int bLeft = 0;
  int bRight = 0;
  int bLeftPressed = 0;
  int bRightPressed = 0;
  int bLeftReleased = 0;
  int bRightReleased = 0;

  // Flags: 1 button states, 2 presses, 4 releases.
  int Update(int nFlags);
};

class cWindow {
 public:
  cWindow();
  virtual ~cWindow();

  virtual int OnCommand(uintptr_t, intptr_t) { return 0; }
  virtual int OnMouseMove(uintptr_t, intptr_t) { return 0; }
  virtual int OnLButtonDown(uintptr_t, intptr_t) { return 0; }
  virtual int OnRButtonDown(uintptr_t, intptr_t) { return 0; }
  virtual int OnLButtonDblClk(uintptr_t, intptr_t) { return 0; }
  virtual int OnRButtonDblClk(uintptr_t, intptr_t) { return 0; }
  virtual int OnLButtonUp(uintptr_t, intptr_t) { return 0; }
  virtual int OnRButtonUp(uintptr_t, intptr_t) { return 0; }
  virtual intptr_t WndProc(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }
  virtual int HandleMessage(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);
  // Dialogs refresh their list controls here.
  virtual void RefreshLists() {}
  virtual void OnPaint() {}
  virtual void OnCreate(uintptr_t, intptr_t) {}

  plat::WndHandle Init(int nTemplateId, plat::WndHandle hParent, cWindowList* pList);
  void SetGeometry(int nViewWidth, int nViewHeight, int nMinViewWidth, int nMinViewHeight,
                   int nMaxViewWidth, int nMaxViewHeight, uint32_t dwStyle, int bMenu,
                   int nBandRows, int nStatusMode, int nUnused, int nScrollFlags);
  void RecomputeFrame();
  void Refresh();
  void AddStyle(uint32_t dwBits);
  void RemoveStyle(uint32_t dwBits);
  WINDOWRECT* GetClientArea(WINDOWRECT* pRect);
  void SetClientSize(int nWidth, int nHeight);
  WINDOWPOINT* GetPosition(WINDOWPOINT* pPoint);
  void MoveTo(int x, int y);
  void CentreOnDesktop();
  void Place();
  void GetMinMaxInfo(MINMAXINFO& info);
  void EndCommand() { m_bInCommand = 0; }
  int UpdateMouse(int bAnywhere, int nFlags);
  static const char* MessageName(uint32_t message);
  // Shows or hides the native window (a running dialog's).
  void ShowNative(int bShow);

  plat::WndHandle m_hWnd = nullptr;
  int m_nTemplateId = 0;
  plat::WndHandle m_hParent = nullptr;
  // The procedure the window or dialog runs with; it hands every message to
  // WndProc of the one object it serves.
  plat::WndProc m_pfnWndProc = nullptr;
  cWindow* m_pListSelf = nullptr;  // set when the window enters the shared list
  cWindowList* m_pWindowList = nullptr;
  cMemDC m_aMemDC[2];
  // The window the presenter shows (the main window): moves reach the desktop.
  bool m_bPresenterWindow = false;

  int m_nPosX = 0;
  int m_nPosY = 0;
  int m_nViewX = 0;
  int m_nViewY = 0;
  int m_nViewWidth = 0;
  int m_nViewHeight = 0;
  int m_nReqClientWidth = 0;
  int m_nReqClientHeight = 0;
  WINDOWRECT m_rcClient;
  int m_nMinClientWidth = 0;
  int m_nMinClientHeight = 0;
  int m_nMaxClientWidth = 0;
  int m_nMaxClientHeight = 0;
  int m_nGeoViewWidth = 0;
  int m_nGeoViewHeight = 0;
  int m_nGeoMinViewWidth = 0;
  int m_nGeoMinViewHeight = 0;
  int m_nGeoMaxViewWidth = 0;
  int m_nGeoMaxViewHeight = 0;
  int m_nWindowX = 0;
  int m_nWindowY = 0;
  int m_nOuterWidth = 0;
  int m_nOuterHeight = 0;
  uint32_t m_dwStyle = 0;
  int m_bMenu = 0;
  int m_nBandRows = 0;
  int m_nStatusMode = 0;
  int m_nScrollFlags = 0;
  plat::WndHandle m_hBandWnd = nullptr;
  plat::WndHandle m_hStatusWnd = nullptr;
  WINDOWFRAME m_Frame;
  std::string m_strCaption;
  int m_bTrace = 0;
  int m_nReqPosX = -1000;
  int m_nReqPosY = -1000;
  cControl* m_pAnchorCtrl = nullptr;
  cWindow* m_pAnchorWindow = nullptr;
  int m_bAnchorCentre = 0;
  int m_bInitialised = 0;
  int m_bInCommand = 0;
  cMouseState m_Mouse;
  cMouseState m_PrevMouse;  // taken when a dialog is initialised
  int m_nMouseScreenX = 0;
  int m_nMouseScreenY = 0;
};
