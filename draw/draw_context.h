// The drawing context: device set-up in either drawing mode, present, the
// virtual back buffer, release, and boxes shown over a full-screen device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "draw/pixel_bits.h"
#include "draw/surface_data.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/direct_draw.h"
#include "platform/gfx/image.h"
#include "platform/msg/messages.h"

// Set-up result codes of the DirectDraw back end (0 is success); 4, 8 and 9
// are shared with surface loading.
enum : int {
  CREATEEX_ERR = 1,
  SETCOOPLEVEL_ERR = 2,
  SETDISPLAYMODE_ERR = 3,
  CREATESURFACE_ERR = 4,
  GETATTACHEDSURFACE_ERR = 5,
  CREATEPALETTE_ERR = 6,
  SETPALETTE_ERR = 7,
  LOADIMAGE_ERR = 8,
  SETCOLORKEY_ERR = 9,
  CLIPPER_ERR = 10,
  SETHWND_ERR = 11,
  SETCLIPPER_ERR = 12,
};

// The Direct3D object: it only stands for "Direct3D is available".
struct DTDIRECT3D {};

// The clipper that binds the windowed primary to the main window.
struct DDCLIPPER {
  plat::WndHandle hWnd = nullptr;
};

// Presentation values kept for a reset.
struct DTPRESENTPARAMS {
  plat::gfx::GFXPRESENTPARAMS Params;
  int nRefreshRate = 0;
  int bIntervalImmediate = 0;  // no wait for the vertical blank
  int bSwapDiscard = 1;        // discard, else copy
  int nBackBufferCount = 1;
  int bLockableBackBuffer = 1;
};

// The Direct3D context record; it exists exactly in Direct3D mode.
struct DTCONDATA {
  plat::gfx::ePixelFormat BackBufferFormat = plat::gfx::ePixelFormat::Unknown;
  plat::gfx::ePixelFormat TextureFormat = plat::gfx::ePixelFormat::Unknown;
  DTPRESENTPARAMS PresentParams;
  unsigned nAdapter = 0;
  int nDeviceType = 1;  // the hardware device
  plat::gfx::ePixelFormat BackBufferFormatCopy = plat::gfx::ePixelFormat::Unknown;
  plat::gfx::GFXCAPS Caps;
  int bPow2Only = 0;
  int bSquareOnly = 0;
  int bDynamicTextures = 0;
  int bVirtualBackBuffer = 0;
  DDSURFACEDATA* lpScreenTarget = nullptr;
  int bStretching = 0;
  RGBTRIPLE rgbTransmit;
  RGBTRIPLE rgbTransmit16;
  uint32_t dwTransparent = 0;
  uint32_t dwTransmitColor = 0;
  int bInScene = 0;
  uint32_t dwBltColor = 0xFFFFFFFF;
  int nColorOp = 4;
  int nAlphaOp = 4;
  int nSurfaceSerial = 0;
  int nFontSerial = 0;
  std::string strTextureError;
};

// The DirectDraw context record; it exists in DirectDraw mode.
struct DDCONDATA {
  RGBTRIPLE rgbTransmit;
  RGBTRIPLE rgbTransmit16;
  int nFontSerial = 0;
};

// The program-wide drawing context.
struct DDCONTEXT {
  std::unique_ptr<plat::gfx::cDirectDraw> lpDD;
  std::unique_ptr<DTDIRECT3D> lpD3D;
  std::unique_ptr<plat::gfx::cD3DDevice> lpDevice;
  std::unique_ptr<DTCONDATA> lpDTCon;
  std::unique_ptr<DDCONDATA> lpDDCon;
  int bDirect3D = 0;
  plat::WndHandle hWnd = nullptr;
  int nScreenWidth = 0;
  int nScreenHeight = 0;
  int nBpp = 0;
  int nBytesPerPixel = 0;
  int bWindow = 0;
  int nBackBufferMode = 0;
  int nVSync = 0;
  int nRefreshRate = 0;
  int bUseRefreshRate = 0;
  DDSURFACEDATA* lpSDTable = nullptr;
  DDIMAGEDATA* lpImageTable = nullptr;
  int nSurfaceNum = 0;
  int bInitialized = 0;
  std::unique_ptr<DDCLIPPER> lpClipper;
  std::shared_ptr<plat::gfx::cPalette> lpDDPalette;
  DDRECT rcClient;
  int nDesktopBpp = 0;
  uint32_t dwColorKey = 0;
  DDPIXELBITS SurfaceBits;
  DDPIXELBITS BackBufferBits;
  DDPALETTE ProgramPalette{};
  DDPALETTE DisplayPalette{};
};

extern DDCONTEXT g_DD;

// Screen records.
extern DDSURFACEDATA PrimarySD;
extern DDSURFACEDATA BackBuffer;
extern DDSURFACEDATA VirBackBuffer;
extern DDSURFACEDATA WorkSD;
extern DDSURFACEDATA SystemWorkSD;

// The mode test of the whole library.
inline bool DDIsDirect3D() { return g_DD.lpDTCon != nullptr; }

bool DDInit(int bDirect3D, plat::WndHandle hWnd, int nScreenWidth, int nScreenHeight, int nBpp,
            int nVSync, int bWindow, int nBackBufferMode, int nRefreshRate, int bUseRefreshRate,
            DDSURFACEDATA* lpSDTable, DDIMAGEDATA* lpImageTable, int nSurfaceNum, int nUnused);
// The display driver's interface level (9 for a level-9 driver).
int GetDDIVersion();
bool DDInitD3D(plat::WndHandle hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode);
int DDInitFullScreen(plat::WndHandle hWnd, int nWidth, int nHeight, int nBpp, int nBackBufferMode);
int DDInitWindow(plat::WndHandle hWnd);
bool DDLogInitError(int nCode);
void DDSetRenderStates();
void DDReleaseAll();
void DDUnInit();
int DDPresent(int nFrameRate, int nArg2, int nArg3);
void DDSetVirtualBackBuffer(int bOn);
int DDRedirectBackBuffer(DDSURFACEDATA** lplpSD);
void DDStretchVirtualBackBuffer(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD);
// The DirectDraw frame end the per-frame driver performs: the back buffer
// shown through a flip (full screen) or a blit into the window (windowed).
void DDFlipOrBltToScreen(int bFlip);

// Shows a message box over the full-screen device; 1 shown, 0 failed.
int DDMesBox(const char* szText, const char* szCaption, uint32_t uType);
int DDDialogMode(int bOn);

// The box the library shows (the leak box, DDMesBox); tests replace it.
using DrawMessageBoxFn = int (*)(plat::WndHandle, const std::string&, const std::string&, uint32_t);
extern DrawMessageBoxFn g_pfnDrawMessageBox;
