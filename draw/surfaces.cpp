// Surface records: blank surfaces and surfaces from bitmap files in both
// modes, the Direct3D texture size rules, sharing one texture between two
// records (with mirrored source rectangles), and release.
#include "draw/surfaces.h"

#include <algorithm>
#include <cstring>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/fault_hooks.h"

using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;
using plat::gfx::ePool;
using plat::gfx::Failed;
using plat::gfx::TakeFault;

std::vector<DDSURFACEDATA*>& TextureList = *new std::vector<DDSURFACEDATA*>;

namespace {

void RemoveFromTextureList(DDSURFACEDATA* lpSD) {
  TextureList.erase(std::remove(TextureList.begin(), TextureList.end(), lpSD), TextureList.end());
}

void AddToTextureList(DDSURFACEDATA* lpSD) {
  if (std::find(TextureList.begin(), TextureList.end(), lpSD) == TextureList.end())
    TextureList.push_back(lpSD);
}

// A texture that cannot be made in system memory ends the program: the
// report line, the start-up's message when it has one, and the close request.
void FatalTextureError() {
  const std::string& strText = g_DD.lpDTCon->strTextureError;
  if (!strText.empty()) ErrorBoxF("%s", strText.c_str());
  plat::PostMessage(g_DD.hWnd, plat::WM_CLOSE, 0, 0);
}

bool HasVertexBuffer(DTDATA& dt, bool bWithCode) {
  if (auto fault = TakeFault(eFaultPoint::CreateVertexBuffer)) {
    if (bWithCode)
      ReportFDebug("CreateVertexBuffer Err %x", plat::gfx::GetResultCode(*fault));
    else
      ReportFDebug("CreateVertexBuffer Err");
    return false;
  }
  dt.lpVB = std::make_unique<DDVERTEXBUFFER>();
  return true;
}

void TakeLevelZero(DTDATA& dt) {
  dt.lpSurface = dt.lpTexture;
  const plat::gfx::cImage& tex = *dt.lpTexture;
  dt.Desc = {tex.GetFormat(), tex.GetPool(), tex.GetWidth(), tex.GetHeight()};
}

bool CreateSurfaceD3D(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bColorKey, int nMemory,
                      int nMemoryType, int bRecordOnly, int bRestore) {
  DTCONDATA& con = *g_DD.lpDTCon;
  if (!lpSD->lpDT) lpSD->lpDT = std::make_unique<DTDATA>();
  DTDATA& dt = *lpSD->lpDT;
  if (!bRestore) {
    DDSetSurfaceName(lpSD->szName, "OffScreen");
    DDSetSurfaceName(lpSD->szFileName, "E");
    dt.nMemoryType = nMemoryType;
    dt.lpSurface.reset();
    dt.lpSystemSurface.reset();
    dt.lpTexture.reset();
    dt.bColorKey = (bColorKey == 1);
    if (!bRecordOnly) {
      dt.nSerial = con.nSurfaceSerial++;
      if (!HasVertexBuffer(dt, false)) return false;
    }
  }
  if (bRecordOnly) {
    lpSD->nWidth = lpSD->nTexWidth = nWidth;
    lpSD->nHeight = lpSD->nTexHeight = nHeight;
    lpSD->nMemory = nMemory;
    return true;
  }
  int nTexWidth = nWidth, nTexHeight = nHeight;
  DDAdjustTextureSize(&nTexWidth, &nTexHeight);
  if (!DDCheckTextureSize(nTexWidth, nTexHeight))
    ReportFDebug("上記の理由でテクスチャの描画が失敗する可能性があります。(空)");

  if (dt.nMemoryType == DTMEMORYTYPE_VIDEO_NORT) dt.nMemoryType = DTMEMORYTYPE_VIDEO_RT;
  if (dt.nMemoryType == DTMEMORYTYPE_VIDEO_RT) {
    dt.bRenderTarget = 1;
    eGfxResult hr = g_DD.lpDevice->CreateTexture(nTexWidth, nTexHeight, con.TextureFormat,
                                                 ePool::Default, true, dt.lpTexture);
    if (hr == eGfxResult::OutOfVideoMemory) {
      ReportFDebug("VRAM不足のためシステムメモリにテクスチャを作成します。(空)");
      dt.nMemoryType = DTMEMORYTYPE_SYSTEM;
    } else if (Failed(hr)) {
      return false;
    }
  }
  // A system-memory texture that survived a reset is kept as it is; one
  // that a restore just moved to system memory still needs its texture.
  if (dt.nMemoryType == DTMEMORYTYPE_SYSTEM && !(bRestore && dt.lpTexture)) {
    dt.bRenderTarget = 0;
    eGfxResult hr = g_DD.lpDevice->CreateTexture(nTexWidth, nTexHeight, con.TextureFormat,
                                                 ePool::System, false, dt.lpTexture);
    if (Failed(hr)) {
      ReportFDebug("D3DXCreateTexture Err hr = %x", plat::gfx::GetResultCode(hr));
      FatalTextureError();
      return false;
    }
  }
  if (!dt.lpTexture) {
    ReportFDebug("GetSurfaceLevel Err hr = %x", plat::gfx::GetResultCode(eGfxResult::InvalidCall));
    return false;
  }
  TakeLevelZero(dt);
  if (dt.nMemoryType == DTMEMORYTYPE_VIDEO_RT && !dt.lpSystemSurface) {
    eGfxResult hr = g_DD.lpDevice->CreateOffscreenPlain(dt.Desc.nWidth, dt.Desc.nHeight,
                                                        dt.Desc.Format, dt.lpSystemSurface);
    if (Failed(hr)) {
      ReportFDebug("CreateOffscreenPlainSurface Err hr = %x", plat::gfx::GetResultCode(hr));
      FatalTextureError();
      return false;
    }
  }
  lpSD->nWidth = nWidth;
  lpSD->nHeight = nHeight;
  lpSD->nTexWidth = dt.Desc.nWidth;
  lpSD->nTexHeight = dt.Desc.nHeight;
  if (!bRestore) lpSD->nMemory = nMemory;
  if (DDSetRenderTarget(0, lpSD)) {
    g_DD.lpDevice->Clear(nullptr, 0, con.dwTransmitColor);
    DDSetRenderTarget(0, con.lpScreenTarget);
  }
  if (!bRestore) AddToTextureList(lpSD);
  return true;
}

bool CreateSurfaceDD(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bColorKey, int nMemory) {
  if (!g_DD.lpDD) return false;
  if (!lpSD->lpDDS) lpSD->lpDDS = std::make_unique<DDSURFACEDD>();
  DDSURFACEDD& dds = *lpSD->lpDDS;
  if (Failed(g_DD.lpDD->CreateOffscreen(nWidth, nHeight, nMemory == 1, dds.lpDDSurface))) {
    if (nMemory == 1) {
      ReportFDebug("CreateSurface System Err");
      return false;
    }
    if (Failed(g_DD.lpDD->CreateOffscreen(nWidth, nHeight, true, dds.lpDDSurface))) {
      ReportFDebug("CreateSurface Video -> System Err");
      return false;
    }
    nMemory = 1;
  }
  if (g_DD.lpDDPalette) dds.lpDDSurface->SetPalette(g_DD.lpDDPalette);
  if (bColorKey == 1 && Failed(g_DD.lpDD->SetColorKey(*dds.lpDDSurface, g_DD.dwColorKey)))
    ReportFDebug("SetColorKey Err");
  lpSD->nWidth = lpSD->nTexWidth = nWidth;
  lpSD->nHeight = lpSD->nTexHeight = nHeight;
  lpSD->nMemory = nMemory;
  DDFillRect(lpSD, 0, 0, nWidth, nHeight, 0);
  return true;
}

int CreateFromFileDD(DDSURFACEDATA* lpSD, const char* szFileName, int bColorKey, int nBpp,
                     int nMemory, int bPalIndex, int nMirrorWidth, int nMirrorHeight) {
  plat::gfx::cBitmap bitmap;
  if (!plat::gfx::LoadBitmapFile(szFileName, bitmap)) {
    DebugLog(szFileName);
    return LOADIMAGE_ERR;
  }
  if (!DDCreateSurface(lpSD, bitmap.GetWidth(), bitmap.GetHeight(), bColorKey, nMemory, 0, 0, 0))
    return CREATESURFACE_ERR;
  if (!CopyBitmap(lpSD, szFileName, nBpp, bPalIndex, nMirrorWidth, nMirrorHeight))
    return LOADIMAGE_ERR;
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMirrorHeight = nMirrorHeight;
  lpSD->nWidth = lpSD->nTexWidth = bitmap.GetWidth();
  lpSD->nHeight = lpSD->nTexHeight = bitmap.GetHeight();
  DDSetSurfaceName(lpSD->szFileName, szFileName);
  return 0;
}

int CreateFromFileD3D(DDSURFACEDATA* lpSD, const char* szFileName, int bColorKey, int nBpp,
                      int nMemory, int nMemoryType, DDSURFACEDATA* lpShareSD, int bPalIndex,
                      int nMirrorWidth, int nMirrorHeight, int bRestore) {
  DTCONDATA& con = *g_DD.lpDTCon;
  if (!lpSD->lpDT) lpSD->lpDT = std::make_unique<DTDATA>();
  DTDATA& dt = *lpSD->lpDT;
  if (!bRestore) {
    DDSetSurfaceName(lpSD->szName, "OffScreenFromFile");
    DDSetSurfaceName(lpSD->szFileName, szFileName);
    dt.nMemoryType = nMemoryType;
    dt.lpSurface.reset();
    dt.lpSystemSurface.reset();
    dt.lpTexture.reset();
    dt.bColorKey = (bColorKey == 1);
    if (!lpShareSD) {
      dt.nSerial = con.nSurfaceSerial++;
      // Reported as a failure: a record without its quad buffer cannot draw.
      if (!HasVertexBuffer(dt, true)) return CREATESURFACE_ERR;
    }
  }
  plat::gfx::cBitmap bitmap;
  if (!plat::gfx::LoadBitmapFile(szFileName, bitmap)) {
    if (*szFileName) ReportFDebug("LoadImage Err %s", szFileName);
    return LOADIMAGE_ERR;
  }
  if (lpShareSD) {
    lpSD->nWidth = lpSD->nTexWidth = bitmap.GetWidth();
    lpSD->nHeight = lpSD->nTexHeight = bitmap.GetHeight();
  } else {
    int nTexWidth = bitmap.GetWidth(), nTexHeight = bitmap.GetHeight();
    DDAdjustTextureSize(&nTexWidth, &nTexHeight);
    if (!DDCheckTextureSize(nTexWidth, nTexHeight))
      ReportFDebug("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)", szFileName);
    const RGBTRIPLE& key = g_DD.nBpp == 16 ? con.rgbTransmit16 : con.rgbTransmit;
    const uint32_t dwKey =
        0xFF000000u | uint32_t(key.rgbtRed) << 16 | uint32_t(key.rgbtGreen) << 8 | key.rgbtBlue;
    if (dt.nMemoryType == DTMEMORYTYPE_VIDEO_NORT) {
      DebugLog(
          "DDCreateSurfaceFromFile Err DTMEMORYTYPE_VIDEO_NORTの指定は未対応です。"
          "DTMEMORYTYPE_VIDEO_RTでテクスチャを作成します。");
      dt.nMemoryType = DTMEMORYTYPE_VIDEO_RT;
    }
    if (dt.nMemoryType == DTMEMORYTYPE_VIDEO_RT) {
      dt.bRenderTarget = 0;
      eGfxResult hr = g_DD.lpDevice->CreateTextureFromBitmap(
          bitmap, nTexWidth, nTexHeight, con.TextureFormat, ePool::Managed, dwKey, dt.lpTexture);
      if (hr == eGfxResult::OutOfVideoMemory) {
        ReportFDebug("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)", szFileName);
        dt.nMemoryType = DTMEMORYTYPE_SYSTEM;
      } else if (Failed(hr)) {
        ReportFDebug("テクスチャの作成に失敗。(%s)", szFileName);
        return static_cast<int>(plat::gfx::GetResultCode(hr));
      }
    }
    if (dt.nMemoryType == DTMEMORYTYPE_SYSTEM && !(bRestore && dt.lpTexture)) {
      eGfxResult hr = g_DD.lpDevice->CreateTextureFromBitmap(
          bitmap, nTexWidth, nTexHeight, con.TextureFormat, ePool::System, dwKey, dt.lpTexture);
      if (Failed(hr)) {
        ReportFDebug("D3DXCreateTextureFromFileEx Err %x %s", plat::gfx::GetResultCode(hr),
                     szFileName);
        FatalTextureError();
        return static_cast<int>(plat::gfx::GetResultCode(hr));
      }
    }
    TakeLevelZero(dt);
    lpSD->nWidth = bitmap.GetWidth();
    lpSD->nHeight = bitmap.GetHeight();
    lpSD->nTexWidth = dt.Desc.nWidth;
    lpSD->nTexHeight = dt.Desc.nHeight;
    if (nMirrorWidth || nMirrorHeight) {
      DDSURFACEDATA temp;
      DDCreateSurfaceFromFile(&temp, szFileName, bColorKey, nBpp, nMemory, nMemoryType, nullptr, 0,
                              0, 0, 0);
      if (!DDMirrorFrames(lpSD, &temp, nMirrorWidth, nMirrorHeight)) {
        ReportFDebug("CreateMirror Err");
        return 1;
      }
      DDReleaseSurface(&temp);
    }
    if (!bRestore) AddToTextureList(lpSD);
  }
  lpSD->nMirrorHeight = nMirrorHeight;
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMemory = nMemory;
  if (bPalIndex && nBpp != 8)
    DDBuildPalIndexMap(&dt.lpPalIndex, lpSD);
  else
    dt.lpPalIndex.clear();
  return 0;
}

int HighestBitTimesTwo(int n) {
  unsigned u = static_cast<unsigned>(n), top = 1;
  while (u >>= 1) top <<= 1;
  return static_cast<int>(top << 1);
}

}  // namespace

DDSURFACEDATA::~DDSURFACEDATA() { RemoveFromTextureList(this); }

void DDSetSurfaceName(char (&szField)[kSurfaceNameBytes], const char* szText) {
  std::snprintf(szField, kSurfaceNameBytes, "%s", szText ? szText : "");
}

void DDZeroSurface(DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  DDReleaseSurface(lpSD);
  std::memset(lpSD->szName, 0, sizeof lpSD->szName);
  std::memset(lpSD->szFileName, 0, sizeof lpSD->szFileName);
  lpSD->nWidth = lpSD->nHeight = lpSD->nTexWidth = lpSD->nTexHeight = 0;
  lpSD->nMemory = lpSD->nMirrorWidth = lpSD->nMirrorHeight = 0;
  lpSD->lpShareSD = nullptr;
  lpSD->bLost = 0;
}

void DDAdjustTextureSize(int* lpWidth, int* lpHeight) {
  if (!g_DD.lpDTCon) return;
  if (g_DD.lpDTCon->bPow2Only) {
    if (*lpWidth > 0 && (*lpWidth & (*lpWidth - 1))) *lpWidth = HighestBitTimesTwo(*lpWidth);
    if (*lpHeight > 0 && (*lpHeight & (*lpHeight - 1))) *lpHeight = HighestBitTimesTwo(*lpHeight);
  }
  if (g_DD.lpDTCon->bSquareOnly) *lpWidth = *lpHeight = std::max(*lpWidth, *lpHeight);
}

bool DDCheckTextureSize(int nWidth, int nHeight) {
  if (!g_DD.lpDTCon) return true;
  const plat::gfx::GFXCAPS& caps = g_DD.lpDTCon->Caps;
  bool bOk = true;
  if (static_cast<unsigned>(nWidth) > static_cast<unsigned>(caps.nMaxTextureWidth)) {
    ReportFDebug("このビデオカードでは横幅%dを超える画像はサポートされていません！",
                 caps.nMaxTextureWidth);
    bOk = false;
  }
  if (static_cast<unsigned>(nHeight) > static_cast<unsigned>(caps.nMaxTextureHeight)) {
    ReportFDebug("このビデオカードでは縦幅%dを超える画像はサポートされていません！",
                 caps.nMaxTextureHeight);
    bOk = false;
  }
  return bOk;
}

bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bColorKey, int nMemory,
                     int nMemoryType, int bRecordOnly, int bRestore) {
  if (!lpSD) return false;
  if (g_DD.lpDTCon) {
    if (!g_DD.lpDevice) return false;
    return CreateSurfaceD3D(lpSD, nWidth, nHeight, bColorKey, nMemory, nMemoryType, bRecordOnly,
                            bRestore);
  }
  return CreateSurfaceDD(lpSD, nWidth, nHeight, bColorKey, nMemory);
}

int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* szFileName, int bColorKey, int nBpp,
                            int nMemory, int nMemoryType, DDSURFACEDATA* lpShareSD, int bPalIndex,
                            int nMirrorWidth, int nMirrorHeight, int bRestore) {
  if (!lpSD) return CREATESURFACE_ERR;
  if (!szFileName) szFileName = "";
  if (g_DD.lpDTCon) {
    if (!g_DD.lpDevice) return CREATESURFACE_ERR;
    return CreateFromFileD3D(lpSD, szFileName, bColorKey, nBpp, nMemory, nMemoryType, lpShareSD,
                             bPalIndex, nMirrorWidth, nMirrorHeight, bRestore);
  }
  return CreateFromFileDD(lpSD, szFileName, bColorKey, nBpp, nMemory, bPalIndex, nMirrorWidth,
                          nMirrorHeight);
}

void DDResolveSurface(DDSURFACEDATA** lplpSD) {
  if (!g_DD.lpDTCon || !lplpSD || !*lplpSD) return;
  if ((*lplpSD)->lpShareSD) *lplpSD = (*lplpSD)->lpShareSD;
}

bool DDMirrorFrames(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD, int nFrameWidth,
                    int nFrameHeight) {
  if (!g_DD.lpDTCon || nFrameWidth == 0 || nFrameHeight != 0) return true;
  if (!lpDstSD || !lpSrcSD) return true;
  DTCONDATA& con = *g_DD.lpDTCon;
  if (lpDstSD->lpDT && lpDstSD->lpDT->bRenderTarget && DDSetRenderTarget(0, lpDstSD)) {
    g_DD.lpDevice->Clear(nullptr, 0, con.dwTransparent);
    DDSetRenderTarget(0, con.lpScreenTarget);
  }
  const int nFrames = lpSrcSD->nWidth / nFrameWidth;
  for (int k = 0; k < nFrames; ++k) {
    DDBltStretch(lpDstSD, k * nFrameWidth, 0, nFrameWidth, lpSrcSD->nHeight, lpSrcSD,
                 k * nFrameWidth + nFrameWidth, 0, -nFrameWidth, lpSrcSD->nHeight, 0);
  }
  return true;
}

void DDReleaseSurface(DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  if (lpSD->lpDT) {
    if (!lpSD->lpShareSD) {
      DTDATA& dt = *lpSD->lpDT;
      dt.lpTexture.reset();
      dt.lpVB.reset();
      dt.lpSystemSurface.reset();
      dt.lpSurface.reset();
      dt.lpPalIndex.clear();
    }
    lpSD->lpDT.reset();
  }
  if (lpSD->lpDDS) lpSD->lpDDS.reset();
  RemoveFromTextureList(lpSD);
}

void DDFreeSurface(DDSURFACEDATA* lpSD) { DDReleaseSurface(lpSD); }

bool DDLogSurfaceError(int nCode) {
  switch (nCode) {
    case CREATESURFACE_ERR:
      DebugLog("CREATESURFACE_ERR");
      return false;
    case LOADIMAGE_ERR:
      DebugLog("LOADIMAGE_ERR");
      return false;
    case SETCOLORKEY_ERR:
      DebugLog("SETCOLORKEY_ERR");
      return false;
    default:
      return true;
  }
}
