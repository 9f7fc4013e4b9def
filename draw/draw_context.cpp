// The drawing context: set-up of the Direct3D-shaped and DirectDraw-shaped
// back ends, the Direct3D frame end, the virtual back buffer, release with
// its leak check, and boxes over a full-screen device.
#include "draw/draw_context.h"

#include "base/frame_timing.h"
#include "base/logs.h"
#include "base/run_options.h"
#include "draw/blit.h"
#include "draw/palette_key.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/msg/messages.h"
#include "platform/present/presenter.h"
#include "platform/ui/message_box.h"

using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;
using plat::gfx::ePixelFormat;
using plat::gfx::Failed;
using plat::gfx::TakeFault;

DDCONTEXT g_DD;

DDSURFACEDATA PrimarySD;
DDSURFACEDATA BackBuffer;
DDSURFACEDATA VirBackBuffer;
DDSURFACEDATA WorkSD;
DDSURFACEDATA SystemWorkSD;

DrawMessageBoxFn g_pfnDrawMessageBox = &plat::MessageBox;

namespace {

constexpr uint32_t kIconError = 0x10;
// The longest a frame waits for the display to show it: a window that stops
// showing frames (a dialog up on its thread) must not stop the game.
constexpr int kVerticalBlankWaitMs = 100;

const char* InitErrorName(int nCode) {
  static const char* const kNames[] = {
      "CREATEEX_ERR",           "SETCOOPLEVEL_ERR",  "SETDISPLAYMODE_ERR", "CREATESURFACE_ERR",
      "GETATTACHEDSURFACE_ERR", "CREATEPALETTE_ERR", "SETPALETTE_ERR",     "LOADIMAGE_ERR",
      "SETCOLORKEY_ERR",        "CLIPPER_ERR",       "SETHWND_ERR",        "SETCLIPPER_ERR"};
  if (nCode < 1 || nCode > 12) return nullptr;
  return kNames[nCode - 1];
}

void SetScreenSize(DDSURFACEDATA& sd, int nWidth, int nHeight, int nMemory) {
  sd.nWidth = sd.nTexWidth = nWidth;
  sd.nHeight = sd.nTexHeight = nHeight;
  sd.nMemory = nMemory;
}

DDSURFACEDD& DDPart(DDSURFACEDATA& sd) {
  if (!sd.lpDDS) sd.lpDDS = std::make_unique<DDSURFACEDD>();
  return *sd.lpDDS;
}

DTDATA& DTPart(DDSURFACEDATA& sd) {
  if (!sd.lpDT) sd.lpDT = std::make_unique<DTDATA>();
  return *sd.lpDT;
}

const char* BackBufferFormatName(ePixelFormat f) {
  switch (f) {
    case ePixelFormat::X8R8G8B8:
      return "X8R8G8B8";
    case ePixelFormat::R5G6B5:
      return "R5G6B5";
    default:
      return "A1R5G5B5";
  }
}

bool DDCreatePalette(bool bWindowed) {
  DDPALENTRY entries[256];
  for (int i = 0; i < 256; ++i) {
    auto& e = entries[i];
    if (!bWindowed) {
      e = {uint8_t(i), uint8_t(i), uint8_t(i == 0 ? 255 : 0), PC_RESERVED};
    } else if (i >= 10 && i <= 245) {
      e = {uint8_t(i), uint8_t(i), 0, PC_RESERVED};
    } else {
      e = {uint8_t(i), 0, 0, PC_EXPLICIT};
    }
  }
  return !Failed(g_DD.lpDD->CreatePalette(entries, g_DD.lpDDPalette));
}

}  // namespace

bool DDLogInitError(int nCode) {
  const char* szName = InitErrorName(nCode);
  if (szName) DebugLog(szName);
  if ((nCode >= 1 && nCode <= 7) || (nCode >= 10 && nCode <= 12)) return false;
  return true;
}

bool DDInit(int bDirect3D, plat::WndHandle hWnd, int nScreenWidth, int nScreenHeight, int nBpp,
            int nVSync, int bWindow, int nBackBufferMode, int nRefreshRate, int bUseRefreshRate,
            DDSURFACEDATA* lpSDTable, DDIMAGEDATA* lpImageTable, int nSurfaceNum, int) {
  g_DD.bDirect3D = bDirect3D;
  g_DD.hWnd = hWnd;
  g_DD.nScreenWidth = nScreenWidth;
  g_DD.nScreenHeight = nScreenHeight;
  g_DD.nBpp = nBpp;
  g_DD.nBytesPerPixel = nBpp / 8;
  g_DD.nVSync = nVSync;
  g_DD.bWindow = bWindow;
  g_DD.nBackBufferMode = nBackBufferMode;
  g_DD.nRefreshRate = nRefreshRate;
  g_DD.bUseRefreshRate = bUseRefreshRate;
  g_DD.lpSDTable = lpSDTable;
  g_DD.lpImageTable = lpImageTable;
  g_DD.nSurfaceNum = nSurfaceNum;
  ReportFDebug("VSync : %d", nVSync);

  if (bDirect3D) {
    if (!DDInitD3D(hWnd, nScreenWidth, nScreenHeight, nBpp, nBackBufferMode)) return false;
  } else if (!bWindow) {
    // The previous context goes before the new record is made, so the new
    // one survives the release.
    if (g_DD.bInitialized) DDUnInit();
    g_DD.lpDDCon = std::make_unique<DDCONDATA>();
    if (!DDLogInitError(DDInitFullScreen(hWnd, nScreenWidth, nScreenHeight, nBpp, nBackBufferMode)))
      return false;
  } else {
    if (g_DD.lpDD) g_DD.lpDD->RestoreDisplayMode();
    if (g_DD.bInitialized) DDReleaseAll();
    g_DD.lpDDCon = std::make_unique<DDCONDATA>();
    if (!DDLogInitError(DDInitWindow(hWnd))) return false;
  }
  g_DD.bInitialized = 1;
  SetFullScreenBoxProc(DDMesBox);
  // Direct3D frames are paced when presented. With vertical sync asked for,
  // the display paces them, and the frame timer does when it cannot. The
  // display is never switched to another mode, so its own rate is what a
  // synced frame runs at: only 60 Hz will do, in a window or not.
  SetFramePacingDirect3D(bDirect3D != 0);
  const bool bSixtyHz = plat::gfx::GetDisplayConfig().nRefreshRate == 60;
  plat::SetPresentVSync(g_DD.nVSync != 0 && bSixtyHz);
  return true;
}

int GetDDIVersion() { return plat::gfx::GetDisplayConfig().nDriverLevel; }

bool DDInitD3D(plat::WndHandle, int nWidth, int nHeight, int nBpp, int) {
  int nLevel = GetDDIVersion();
  if (nLevel < 9) {
    ReportFDebug("ビデオカードのドライバがDirectX9をサポートしていません！ %d", nLevel);
    return false;
  }
  if (TakeFault(eFaultPoint::CreateD3D)) {
    ReportFDebug("ビデオカードがDirectX9をサポートしていません！");
    return false;
  }
  g_DD.lpD3D = std::make_unique<DTDIRECT3D>();
  g_DD.lpDTCon = std::make_unique<DTCONDATA>();
  DTCONDATA& con = *g_DD.lpDTCon;

  DTPRESENTPARAMS& pp = con.PresentParams;
  const plat::gfx::GFXDISPLAYCONFIG display = plat::gfx::GetDisplayConfig();
  if (g_DD.bWindow) {
    pp.Params.bWindowed = true;
    pp.nRefreshRate = 0;
    // The desktop is never switched here: asking for 60 Hz is only a test,
    // and the rate reported is the one the display really runs at.
    if (g_DD.nVSync && !display.bCanSetRefreshRate)
      ReportFDebug("ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL");
    const int nRate = display.nRefreshRate;
    ReportFDebug("RefreshRate : %d", nRate);
    if (nRate != 60) {
      g_DD.nVSync = 0;
      ReportFDebug("リフレッシュレートの変更に失敗しました！垂直同期が無効になります！");
    }
  } else {
    pp.Params.bWindowed = false;
    pp.nRefreshRate = 60;
  }
  // A windowed device takes the window's client size, which is the screen.
  pp.Params.nWidth = nWidth;
  pp.Params.nHeight = nHeight;
  pp.bIntervalImmediate = g_DD.nVSync ? 0 : 1;
  pp.Params.bVSync = g_DD.nVSync != 0;

  if (TakeFault(eFaultPoint::GetDeviceCaps)) {
    DebugLog("GetDeviceCaps Err");
    con.Caps = plat::gfx::GFXCAPS{false, false, false, false, 0, 0};
  } else {
    con.Caps = plat::gfx::GetDefaultCaps();
  }
  pp.bSwapDiscard = con.Caps.bAlphaFullscreenFlipOrDiscard ? 1 : 0;
  con.bPow2Only = con.Caps.bPow2Only;
  con.bSquareOnly = con.Caps.bSquareOnly;
  con.bDynamicTextures = con.Caps.bDynamicTextures;

  if (nBpp == 32) {
    con.BackBufferFormat = ePixelFormat::X8R8G8B8;
    con.TextureFormat = ePixelFormat::A8R8G8B8;
    g_DD.SurfaceBits = plat::gfx::GetFormatBits(con.TextureFormat);
  } else if (nBpp == 16) {
    con.TextureFormat = ePixelFormat::A1R5G5B5;
    con.BackBufferFormat = g_DD.bWindow ? ePixelFormat::A1R5G5B5 : ePixelFormat::R5G6B5;
    g_DD.SurfaceBits = plat::gfx::GetFormatBits(con.TextureFormat);
    g_DD.BackBufferBits = plat::gfx::GetFormatBits(con.BackBufferFormat);
  } else {
    return false;
  }
  pp.Params.BackBufferFormat = con.BackBufferFormat;
  pp.nBackBufferCount = 1;
  pp.bLockableBackBuffer = 1;
  con.BackBufferFormatCopy = con.BackBufferFormat;

  if (Failed(plat::gfx::cD3DDevice::Create(pp.Params, false, g_DD.lpDevice))) {
    if (Failed(plat::gfx::cD3DDevice::Create(pp.Params, true, g_DD.lpDevice))) {
      DebugLog("CreateDevice Err");
      return false;
    }
    ReportFDebug("Device HAL-SOFT");
  } else {
    ReportFDebug("Device HAL-HARD");
  }
  g_DD.lpDevice->SetCaps(con.Caps);
  ReportFDebug("%s", BackBufferFormatName(con.BackBufferFormat));

  DDSetRenderStates();
  DDResetBltColor();
  DDResetColorOp();
  DDResetAlphaOp();

  DTDATA& back = DTPart(BackBuffer);
  SetScreenSize(BackBuffer, g_DD.nScreenWidth, g_DD.nScreenHeight, 0);
  DDSetSurfaceName(BackBuffer.szName, "BackBuffer");
  back.nSerial = 0;
  back.lpSystemSurface.reset();
  back.lpTexture.reset();
  back.nMemoryType = DTMEMORYTYPE_VIDEO_RT;
  back.bColorKey = 0;
  back.bRenderTarget = 1;
  if (auto fault = TakeFault(eFaultPoint::CreateVertexBuffer)) {
    ReportFDebug("Back CreateVertexBuffer Err %x", plat::gfx::GetResultCode(*fault));
    return false;
  }
  back.lpVB = std::make_unique<DDVERTEXBUFFER>();
  back.lpSurface = g_DD.lpDevice->GetBackBuffer();
  back.Desc = {con.BackBufferFormat, plat::gfx::ePool::Default, g_DD.nScreenWidth,
               g_DD.nScreenHeight};

  con.nSurfaceSerial = 1;
  con.nFontSerial = 0;

  DTPart(VirBackBuffer);
  DDSetVirtualBackBuffer(0);
  con.bStretching = 0;
  DDCreateSurface(&VirBackBuffer, BackBuffer.nWidth, BackBuffer.nHeight, 0, 0, 0, 0, 0);
  DDSetSurfaceName(VirBackBuffer.szName, "VirBackBuffer");
  DDCreateSurface(&WorkSD, BackBuffer.nWidth, BackBuffer.nHeight, 0, 0, 0, 0, 0);
  DDSetSurfaceName(WorkSD.szName, "WorkSD");
  return true;
}

void DDSetRenderStates() {
  if (!g_DD.lpDevice) return;
  // No culling, no depth test, SRCALPHA/INVSRCALPHA blending, diffuse colour
  // from the vertices, point sampling with wrap addressing: every draw of the
  // library is blended with its source alpha.
  g_DD.lpDevice->SetAlphaBlend(true);
}

int DDInitFullScreen(plat::WndHandle, int nWidth, int nHeight, int nBpp, int nBackBufferMode) {
  SetScreenSize(PrimarySD, nWidth, nHeight, 0);
  SetScreenSize(BackBuffer, nWidth, nHeight, 0);
  SetScreenSize(SystemWorkSD, nWidth, nHeight, 1);

  if (TakeFault(eFaultPoint::CreateDirectDraw)) {
    ReportFDebug("DirectDrawCreateEx Err");
    return CREATEEX_ERR;
  }
  g_DD.lpDD = std::make_unique<plat::gfx::cDirectDraw>();
  if (Failed(g_DD.lpDD->SetCooperativeLevel(true))) {
    ReportFDebug("SetCooperativeLevel Err");
    return SETCOOPLEVEL_ERR;
  }
  int nRate = g_DD.bUseRefreshRate ? g_DD.nRefreshRate : 0;
  eGfxResult hr = g_DD.lpDD->SetDisplayMode(nWidth, nHeight, nBpp, nRate);
  if (Failed(hr) && nRate != 0) hr = g_DD.lpDD->SetDisplayMode(nWidth, nHeight, nBpp, 0);
  if (Failed(hr)) {
    ReportFDebug("SetDisplayMode Err");
    return SETDISPLAYMODE_ERR;
  }
  if (Failed(
          g_DD.lpDD->CreatePrimary(nBackBufferMode == 1 ? 1 : 2, DDPart(PrimarySD).lpDDSurface))) {
    ReportFDebug("Primary CreateSurface Err");
    return CREATESURFACE_ERR;
  }
  if (Failed(g_DD.lpDD->GetAttachedBackBuffer(DDPart(BackBuffer).lpDDSurface))) {
    ReportFDebug("GetAttachedSurface Err");
    return GETATTACHEDSURFACE_ERR;
  }
  DDSetSurfaceName(BackBuffer.szName, "BackBuffer");
  if (!DDCreateSurface(&SystemWorkSD, nWidth, nHeight, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;
  if (!DDCreatePalette(false)) {
    ReportFDebug("CreatePalette Err");
    return CREATEPALETTE_ERR;
  }
  if (nBpp <= 8) {
    if (Failed(g_DD.lpDD->SetPalette(*PrimarySD.lpDDS->lpDDSurface, g_DD.lpDDPalette))) {
      ReportFDebug("SetPalette Err");
      return SETPALETTE_ERR;
    }
  } else {
    DDGetPixelFormatBits(&g_DD.SurfaceBits);
  }
  return 0;
}

int DDInitWindow(plat::WndHandle hWnd) {
  // The window's client area is the screen: the presenter scales it.
  g_DD.rcClient = plat::gfx::MakeRect(0, 0, g_DD.nScreenWidth, g_DD.nScreenHeight);
  const int nWidth = g_DD.rcClient.nRight - g_DD.rcClient.nLeft;
  const int nHeight = g_DD.rcClient.nBottom - g_DD.rcClient.nTop;
  SetScreenSize(PrimarySD, nWidth, nHeight, 0);
  SetScreenSize(BackBuffer, nWidth, nHeight, 0);
  SetScreenSize(SystemWorkSD, nWidth, nHeight, 1);
  g_DD.nDesktopBpp = plat::gfx::GetDisplayConfig().nDesktopBpp;

  if (TakeFault(eFaultPoint::CreateDirectDraw)) {
    ReportFDebug("DirectDrawCreateEx Err");
    return CREATEEX_ERR;
  }
  g_DD.lpDD = std::make_unique<plat::gfx::cDirectDraw>();
  if (Failed(g_DD.lpDD->SetCooperativeLevel(false))) {
    ReportFDebug("SetCooperativeLevel Err");
    return SETCOOPLEVEL_ERR;
  }
  // A window draws in the desktop's format; the mode is only recorded.
  g_DD.lpDD->SetDisplayMode(nWidth, nHeight, g_DD.nDesktopBpp, 0);
  if (Failed(g_DD.lpDD->CreatePrimary(0, DDPart(PrimarySD).lpDDSurface))) {
    ReportFDebug("Primary CreateSurface Err");
    return CREATESURFACE_ERR;
  }
  if (!DDCreateSurface(&BackBuffer, nWidth, nHeight, 0, 0, 0, 0, 0)) return CREATESURFACE_ERR;
  DDSetSurfaceName(BackBuffer.szName, "BackBuffer");
  if (!DDCreateSurface(&SystemWorkSD, nWidth, nHeight, 0, 1, 0, 0, 0)) return CREATESURFACE_ERR;
  if (!DDCreatePalette(true)) {
    ReportFDebug("CreatePalette Err");
    return CREATEPALETTE_ERR;
  }
  if (g_DD.nDesktopBpp <= 8) {
    if (Failed(g_DD.lpDD->SetPalette(*PrimarySD.lpDDS->lpDDSurface, g_DD.lpDDPalette))) {
      ReportFDebug("SetPalette Err");
      return SETPALETTE_ERR;
    }
  } else {
    DDGetPixelFormatBits(&g_DD.SurfaceBits);
  }
  if (TakeFault(eFaultPoint::CreateClipper)) {
    ReportFDebug("CreateClipper Err");
    return CLIPPER_ERR;
  }
  g_DD.lpClipper = std::make_unique<DDCLIPPER>();
  if (TakeFault(eFaultPoint::SetClipperHwnd)) {
    ReportFDebug("SetHWnd Err");
    return SETHWND_ERR;
  }
  g_DD.lpClipper->hWnd = hWnd;
  if (TakeFault(eFaultPoint::SetClipper)) {
    ReportFDebug("SetClipper Err");
    return SETCLIPPER_ERR;
  }
  return 0;
}

int DDPresent(int nFrameRate, int, int) {
  if (!g_DD.lpDTCon) return 1;
  // A set-up that failed after making the record has no device to show.
  if (!g_DD.lpDevice) return 0;
  if (g_DD.lpDTCon->bVirtualBackBuffer) DDStretchVirtualBackBuffer(&BackBuffer, &VirBackBuffer);
  const bool bPaced = !g_RunOptions.bNoWait;
  const bool bByDisplay = bPaced && g_DD.nVSync != 0 && plat::IsPresentVSyncOn();
  if (bPaced && !bByDisplay) {
    while (!PaceFrameD3D(nFrameRate) && !plat::IsQuitting())
      plat::SleepUntilTick(GetPaceFrameD3DDue(nFrameRate));
  }
  DDEndScene();
  // Nobody looks at the frames of a run that keeps no picture of them.
  if (SkipsRaster()) return 1;
  // A lost full-screen device would also minimise the window here; the
  // presenter's window does not leave the desktop, so it stays.
  if (g_DD.lpDevice->Present() == eGfxResult::DeviceLost) return 0;
  if (bByDisplay) plat::WaitFrameShown(kVerticalBlankWaitMs);
  return 1;
}

void DDFlipOrBltToScreen(int bFlip) {
  if (g_DD.lpDTCon || !g_DD.lpDD || !PrimarySD.lpDDS || !BackBuffer.lpDDS) return;
  if (SkipsRaster()) return;
  plat::gfx::cImage* pPrimary = PrimarySD.lpDDS->lpDDSurface.get();
  plat::gfx::cImage* pBack = BackBuffer.lpDDS->lpDDSurface.get();
  if (!pPrimary || !pBack) return;
  if (!g_DD.bWindow && bFlip) {
    g_DD.lpDD->Flip();
    // A flip waits for the vertical blank when the display paces frames.
    if (g_DD.nVSync && plat::IsPresentVSyncOn()) plat::WaitFrameShown(kVerticalBlankWaitMs);
    return;
  }
  DDRECT rc = plat::gfx::MakeRect(0, 0, BackBuffer.nWidth, BackBuffer.nHeight);
  // A blit into the windowed primary shows it by itself.
  g_DD.lpDD->Blt(*pPrimary, rc, *pBack, rc, false);
  if (!g_DD.bWindow) g_DD.lpDD->ShowPrimary();
}

void DDSetVirtualBackBuffer(int bOn) {
  if (!g_DD.lpDTCon) return;
  DTCONDATA& con = *g_DD.lpDTCon;
  if (con.bVirtualBackBuffer && !bOn && VirBackBuffer.lpDT && VirBackBuffer.lpDT->lpSurface)
    DDStretchVirtualBackBuffer(&BackBuffer, &VirBackBuffer);
  con.bVirtualBackBuffer = bOn;
  con.lpScreenTarget = bOn ? &BackBuffer : &VirBackBuffer;
  if (con.lpScreenTarget->lpDT && con.lpScreenTarget->lpDT->lpSurface)
    DDSetRenderTarget(0, con.lpScreenTarget);
}

int DDRedirectBackBuffer(DDSURFACEDATA** lplpSD) {
  if (!g_DD.lpDTCon || !g_DD.lpDTCon->bVirtualBackBuffer || !lplpSD || *lplpSD != &BackBuffer)
    return 0;
  *lplpSD = &VirBackBuffer;
  return 1;
}

void DDStretchVirtualBackBuffer(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD) {
  if (!g_DD.lpDTCon) return;
  g_DD.lpDTCon->bStretching = 1;
  DDSetAlphaOp(1);  // the picture's alpha is not the screen's business
  DDBlt(lpDstSD, 0, 0, lpSrcSD->nWidth, lpSrcSD->nHeight, lpSrcSD, 0, 0, 0);
  DDResetAlphaOp();
  g_DD.lpDTCon->bStretching = 0;
}

void DDReleaseAll() {
  SetFramePacingDirect3D(false);
  plat::SetPresentVSync(false);
  if (g_DD.lpDD) {
    for (int i = 0; i < g_DD.nSurfaceNum && g_DD.lpSDTable; ++i)
      DDReleaseSurface(&g_DD.lpSDTable[i]);
    g_DD.lpClipper.reset();
    g_DD.lpDDPalette.reset();
    DDReleaseSurface(&BackBuffer);
    DDReleaseSurface(&PrimarySD);
    DDReleaseSurface(&SystemWorkSD);
    // What still lives of the object's images is what the owners forgot.
    if (g_DD.lpDD->CountLiveImages() != 0)
      g_pfnDrawMessageBox(nullptr, "解放漏れがあります", "DirectDraw", kIconError);
    g_DD.lpDD.reset();
    g_DD.lpDDCon.reset();
  }
  if (g_DD.lpD3D) {
    for (int i = 0; i < g_DD.nSurfaceNum && g_DD.lpSDTable; ++i)
      DDReleaseSurface(&g_DD.lpSDTable[i]);
    DDReleaseSurface(&WorkSD);
    DDReleaseSurface(&VirBackBuffer);
    DDReleaseSurface(&BackBuffer);
    g_DD.lpDevice.reset();
    g_DD.lpD3D.reset();
  }
  if (g_DD.lpDTCon) {
    g_DD.lpDTCon->strTextureError.clear();
    g_DD.lpDTCon.reset();
  }
  g_DD.lpDDCon.reset();
}

void DDUnInit() { DDReleaseAll(); }

int DDDialogMode(int bOn) {
  if (g_DD.bWindow) return 1;
  if (g_DD.lpDTCon) {
    if (bOn) {
      DDEndScene();
      if (!g_DD.lpDevice || Failed(g_DD.lpDevice->SetDialogBoxMode(true))) {
        DebugLog("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)");
        return 0;
      }
    } else if (!g_DD.lpDevice || Failed(g_DD.lpDevice->SetDialogBoxMode(false))) {
      return 0;
    }
    return 1;
  }
  if (bOn && TakeFault(eFaultPoint::FlipToGdiSurface)) return 0;
  return 1;
}

int DDMesBox(const char* szText, const char* szCaption, uint32_t uType) {
  if (!DDDialogMode(1)) {
    DebugLogF("DDMesBox 失敗! %s, %s", szText, szCaption);
    return 0;
  }
  g_pfnDrawMessageBox(g_DD.hWnd, szText, szCaption, uType);
  DDDialogMode(0);
  return 1;
}
