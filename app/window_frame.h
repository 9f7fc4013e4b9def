// The style bits of a toolkit window and the frame they add around its
// client area, measured with the desktop's metrics. The desktop decorates
// our windows outside their client areas, so every frame metric reads 0 and
// the frame is empty: a window's outer size is its client size, and the
// mouse is measured from the client's corner. The rules stay so that the
// sizes follow the style bits whenever metrics are set (the tests set them).
#pragma once

#include <cstdint>

constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_DLGFRAME = 0x00400000u;
constexpr uint32_t WS_VSCROLL = 0x00200000u;
constexpr uint32_t WS_HSCROLL = 0x00100000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;
constexpr uint32_t WS_THICKFRAME = 0x00040000u;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000u;
constexpr uint32_t WS_DISABLED = 0x08000000u;

// Metrics the geometry reads. Scroll bars are 16 pixels; the rest are 0.
enum eSystemMetric {
  SM_CXVSCROLL = 2,
  SM_CYHSCROLL = 3,
  SM_CYCAPTION = 4,
  SM_CXDLGFRAME = 7,
  SM_CYDLGFRAME = 8,
  SM_CYMENU = 15,
  SM_CXFRAME = 32,
  SM_CYFRAME = 33,
};

int GetSystemMetric(int nIndex);
void SetSystemMetric(int nIndex, int nValue);

// Thickness of the frame on each side of the client area.
struct WINDOWFRAME {
  int nLeft = 0;
  int nRight = 0;
  int nTop = 0;
  int nBottom = 0;
};

// The frame of a window with these style bits and, with bMenu, a menu bar:
// caption and menu on top, a sizing or dialog border on every side, scroll
// bars right and bottom.
WINDOWFRAME GetWindowFrame(uint32_t dwStyle, bool bMenu);
