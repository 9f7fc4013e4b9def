// Blits in both modes: DirectDraw copies through the engine's blits; the
// Direct3D quad path draws a textured quad into a render target, and the
// software path copies texels for system-memory sources and for targets
// that cannot be rendered to.
#include "draw/blit.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/quad_build.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "platform/gfx/fault_hooks.h"

using plat::gfx::eFaultPoint;
using plat::gfx::MakeRect;
using plat::gfx::TakeFault;

namespace {

plat::gfx::cImage* DDImage(DDSURFACEDATA* lpSD) {
  return lpSD && lpSD->lpDDS ? lpSD->lpDDS->lpDDSurface.get() : nullptr;
}

int ResultOf(plat::gfx::eGfxResult hr) { return static_cast<int>(plat::gfx::GetResultCode(hr)); }

int QuadPath(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy,
             int sw, int sh, int nFlags) {
  DTCONDATA& con = *g_DD.lpDTCon;
  if (!DDClipBlt(lpDst, &x, &y, &w, &h, lpSrc, &sx, &sy, &sw, &sh)) return 0;
  if (SpriteBatch.bActive) {
    DDBatchQueue(lpDst, x, y, w, h, lpSrc, sx, sy, sw, sh, nFlags);
    return 0;
  }
  DTDATA& src = *lpSrc->lpDT;
  // A source whose texture is gone (a device that could not be reset yet)
  // draws nothing.
  if (!src.lpTexture || !src.lpVB) return 0;
  if (TakeFault(eFaultPoint::LockVertexBuffer)) return 0;
  DDBuildBltQuad(src.lpVB->Vertices.data(), x, y, w, h, sx, sy, sw, sh, lpSrc->nTexWidth,
                 lpSrc->nTexHeight, con.dwBltColor);
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return 0;
  DDSetBltStage(con.nColorOp, con.nAlphaOp);
  g_DD.lpDevice->SetTexture(src.lpTexture.get());
  if (nFlags == 0 && src.bColorKey) {
    // Transparent texels show the key colour (on a texture: transparency);
    // the device clears and draws in one pass where it can.
    g_DD.lpDevice->ClearAndDrawQuad(MakeRect(x, y, w, h),
                                    lpDst == &BackBuffer ? con.dwTransmitColor : con.dwTransparent,
                                    src.lpVB->Vertices.data());
  } else {
    g_DD.lpDevice->DrawQuad(src.lpVB->Vertices.data());
  }
  DDSetRenderTarget(0, con.lpScreenTarget);
  return 0;
}

uint32_t ReadPixel(const cSurfaceLock& lock, int x, int y) {
  const uint8_t* p = lock.m_lpBits + (size_t(y) * lock.m_nPitch + x) * lock.m_nBytesPerPixel;
  if (lock.m_nBytesPerPixel == 2) return uint32_t(p[0] | p[1] << 8);
  return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
}

void WritePixel(cSurfaceLock& lock, int x, int y, uint32_t v) {
  uint8_t* p = lock.m_lpBits + (size_t(y) * lock.m_nPitch + x) * lock.m_nBytesPerPixel;
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  if (lock.m_nBytesPerPixel == 4) {
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
  }
}

// A 16-bit texel (A1R5G5B5) repacked for the R5G6B5 full-screen back buffer.
uint32_t RepackForBackBuffer(uint32_t v) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  const DDPIXELBITS& b = g_DD.BackBufferBits;
  const uint32_t r = (v >> s.nRedShift) & s.nRedMax;
  const uint32_t g = (v >> s.nGreenShift) & s.nGreenMax;
  const uint32_t bl = (v >> s.nBlueShift) & s.nBlueMax;
  return r << b.nRedShift | (g * 2) << b.nGreenShift | bl << b.nBlueShift;
}

int SoftwarePath(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx,
                 int sy, int sw, int sh, int nFlags) {
  if (w <= 0 || h <= 0 || sw == 0 || sh == 0) return 0;
  cSurfaceLock dst, src;
  if (!dst.Lock(lpDst) || !src.Lock(lpSrc)) return 0;
  const bool b16 = g_DD.nBpp == 16;
  const bool bRepack = b16 && DDIsFullScreenBackBuffer(dst.m_lpSD);
  const bool bSameSize = sw == w && sh == h;
  const double fx = double(sw) / w, fy = double(sh) / h;
  const int nDstW = dst.m_lpSD->nWidth, nDstH = dst.m_lpSD->nHeight;
  const int nSrcW = src.m_lpSD->nWidth, nSrcH = src.m_lpSD->nHeight;
  for (int j = 0; j < h; ++j) {
    const int dy = y + j;
    const int row = bSameSize ? sy + j : sy + int(j * fy);
    if (dy < 0 || dy >= nDstH || row < 0 || row >= nSrcH) continue;
    for (int k = 0; k < w; ++k) {
      const int dx = x + k;
      int col;
      if (bSameSize) {
        col = sx + k;
      } else {
        const int i = int(k * fx);
        if (sw > 0) {
          if (i < 0 || i > sw - 1) continue;
          col = sx + i;
        } else {
          if (i < sw + 1 || i > 0) continue;
          col = sx + i - 1;
        }
      }
      if (dx < 0 || dx >= nDstW || col < 0 || col >= nSrcW) continue;
      uint32_t v = ReadPixel(src, col, row);
      if (nFlags == 1) {
        if (b16 ? ((v >> 8) & 0xA0) == 0 : (v >> 24) == 0) continue;
      }
      if (bRepack) v = RepackForBackBuffer(v);
      WritePixel(dst, dx, dy, v);
    }
  }
  return 0;
}

}  // namespace

bool DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD) {
  return lpSD == &BackBuffer && !g_DD.bWindow;
}

int DDBlt(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrcSD,
          int nSrcX, int nSrcY, int nFlags) {
  if (g_DD.lpDTCon)
    return DDBltStretch(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nWidth, nHeight,
                        nFlags);
  int sw = nWidth, sh = nHeight;
  if (!DDClipBlt(lpDstSD, &x, &y, &nWidth, &nHeight, lpSrcSD, &nSrcX, &nSrcY, &sw, &sh)) return 0;
  plat::gfx::cImage* pDst = DDImage(lpDstSD);
  plat::gfx::cImage* pSrc = DDImage(lpSrcSD);
  if (!g_DD.lpDD || !pDst || !pSrc) return 0;
  return ResultOf(
      g_DD.lpDD->BltFast(*pDst, x, y, *pSrc, MakeRect(nSrcX, nSrcY, sw, sh), nFlags == 1));
}

int DDBltStretch(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                 DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                 int nFlags) {
  if (!lpDstSD || !lpSrcSD) return 0;
  DDWrapSourceRect(lpSrcSD, &nSrcX, &nSrcY, &nSrcWidth, &nSrcHeight);
  if (!g_DD.lpDTCon) {
    if (!DDClipBlt(lpDstSD, &x, &y, &nWidth, &nHeight, lpSrcSD, &nSrcX, &nSrcY, &nSrcWidth,
                   &nSrcHeight))
      return 0;
    plat::gfx::cImage* pDst = DDImage(lpDstSD);
    plat::gfx::cImage* pSrc = DDImage(lpSrcSD);
    if (!g_DD.lpDD || !pDst || !pSrc) return 0;
    return ResultOf(g_DD.lpDD->Blt(*pDst, MakeRect(x, y, nWidth, nHeight), *pSrc,
                                   MakeRect(nSrcX, nSrcY, nSrcWidth, nSrcHeight), nFlags == 1));
  }
  DDResolveSurface(&lpDstSD);
  DDResolveSurface(&lpSrcSD);
  if (g_DD.lpDTCon->bStretching) {
    lpDstSD = &BackBuffer;
    lpSrcSD = &VirBackBuffer;
  } else {
    DDRedirectBackBuffer(&lpDstSD);
    DDRedirectBackBuffer(&lpSrcSD);
  }
  if (!lpDstSD->lpDT || !lpSrcSD->lpDT) return 0;
  if (lpDstSD->lpDT->bRenderTarget && lpSrcSD->lpDT->nMemoryType != DTMEMORYTYPE_SYSTEM)
    return QuadPath(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nSrcWidth, nSrcHeight,
                    nFlags);
  return SoftwarePath(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nSrcWidth, nSrcHeight,
                      nFlags);
}

int DDBltColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
               DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
               const DDBLTCOLOR* lpColor) {
  if (g_DD.lpDTCon)
    return DDBltStretchColor(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nWidth, nHeight,
                             nFlags, lpColor);
  return DDBlt(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nFlags);
}

int DDBltStretchColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                      DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                      int nFlags, const DDBLTCOLOR* lpColor) {
  if (!g_DD.lpDTCon || !lpColor)
    return DDBltStretch(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nSrcWidth,
                        nSrcHeight, nFlags);
  DDSetBltColor(lpColor->dwColor);
  DDSetColorOp(lpColor->nColorOp);
  int nResult = DDBltStretch(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nSrcWidth,
                             nSrcHeight, nFlags);
  DDResetBltColor();
  DDResetColorOp();
  return nResult;
}

void DDSetBltColor(uint32_t dwColor) {
  if (g_DD.lpDTCon) g_DD.lpDTCon->dwBltColor = dwColor;
}
void DDResetBltColor() { DDSetBltColor(0xFFFFFFFF); }
void DDSetColorOp(int nOp) {
  if (g_DD.lpDTCon) g_DD.lpDTCon->nColorOp = nOp;
}
void DDResetColorOp() { DDSetColorOp(4); }
void DDSetAlphaOp(int nOp) {
  if (g_DD.lpDTCon) g_DD.lpDTCon->nAlphaOp = nOp;
}
void DDResetAlphaOp() { DDSetAlphaOp(2); }

namespace {

// The part of the rectangle that lies on the record's visible size.
bool CutToSurface(const DDSURFACEDATA* lpSD, int& x, int& y, int& w, int& h) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, lpSD->nWidth), y1 = std::min(y + h, lpSD->nHeight);
  if (x1 <= x0 || y1 <= y0) return false;
  x = x0;
  y = y0;
  w = x1 - x0;
  h = y1 - y0;
  return true;
}

void FillRectDD(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t dwValue) {
  plat::gfx::cImage* pImage = DDImage(lpSD);
  if (!g_DD.lpDD || !pImage || !CutToSurface(lpSD, x, y, w, h)) return;
  DDRECT rc = MakeRect(x, y, w, h);
  g_DD.lpDD->ColorFill(*pImage, &rc, dwValue);
}

uint32_t ArgbTo16(uint32_t c, bool bBackBuffer) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  const uint32_t a = (c >> 24) * s.nAlphaMax / 255, r = ((c >> 16) & 255) * s.nRedMax / 255;
  const uint32_t g = ((c >> 8) & 255) * s.nGreenMax / 255, b = (c & 255) * s.nBlueMax / 255;
  if (bBackBuffer) {
    const DDPIXELBITS& bb = g_DD.BackBufferBits;
    return r << bb.nRedShift | (g * 2) << bb.nGreenShift | b << bb.nBlueShift;
  }
  return a << s.nAlphaShift | r << s.nRedShift | g << s.nGreenShift | b << s.nBlueShift;
}

}  // namespace

void DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, uint32_t dwPalNum) {
  if (!lpSD) return;
  const uint32_t dwColor = PalNumToRGB(dwPalNum);
  if (g_DD.lpDTCon)
    DDFillRectColor(lpSD, x, y, nWidth, nHeight, dwColor);
  else
    FillRectDD(lpSD, x, y, nWidth, nHeight, dwColor);
}

void DDFillSurface(DDSURFACEDATA* lpSD, uint32_t dwPalNum) {
  if (lpSD) DDFillRect(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, dwPalNum);
}

void DDFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, uint32_t dwColor) {
  if (!lpSD) return;
  if (!g_DD.lpDTCon) {
    FillRectDD(lpSD, x, y, nWidth, nHeight, dwColor);
    return;
  }
  DTCONDATA& con = *g_DD.lpDTCon;
  DDResolveSurface(&lpSD);
  DDRedirectBackBuffer(&lpSD);
  if (!lpSD->lpDT) return;
  DTDATA& dt = *lpSD->lpDT;
  if (!CutToSurface(lpSD, x, y, nWidth, nHeight)) return;
  if (dt.bRenderTarget) {
    if (dt.bColorKey && (g_DD.nBpp == 16 || g_DD.nBpp == 32) && dwColor == con.dwTransparent) {
      if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return;
      DDRECT rc = MakeRect(x, y, nWidth, nHeight);
      g_DD.lpDevice->Clear(&rc, 1, dwColor);
      DDSetRenderTarget(0, con.lpScreenTarget);
    } else if (FillBatch.bActive) {
      FillBatch.Queue.push_back({lpSD, x, y, nWidth, nHeight, dwColor});
    } else {
      if (!dt.lpVB || TakeFault(eFaultPoint::LockVertexBuffer)) return;
      DDBuildFillQuad(dt.lpVB->Vertices.data(), x, y, nWidth, nHeight, dwColor, false);
      if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return;
      g_DD.lpDevice->SetTextureFactor(dwColor);
      plat::gfx::GFXTEXTURESTAGE stage;
      stage.nColorOp = plat::gfx::TOP_SELECTARG2;
      stage.nColorArg2 = plat::gfx::TA_TFACTOR;
      stage.nAlphaOp = plat::gfx::TOP_SELECTARG2;
      stage.nAlphaArg2 = plat::gfx::TA_TFACTOR;
      g_DD.lpDevice->SetTextureStage(stage);
      g_DD.lpDevice->DrawQuad(dt.lpVB->Vertices.data());
      DDSetRenderTarget(0, con.lpScreenTarget);
    }
    return;
  }
  cSurfaceLock lock;
  if (!lock.Lock(lpSD)) return;
  const bool b16 = g_DD.nBpp == 16;
  const uint32_t v = b16 ? ArgbTo16(dwColor, DDIsFullScreenBackBuffer(lock.m_lpSD)) : dwColor;
  for (int j = y; j < y + nHeight; ++j)
    for (int i = x; i < x + nWidth; ++i) WritePixel(lock, i, j, v);
}

void DDFillSurfaceColor(DDSURFACEDATA* lpSD, uint32_t dwColor) {
  if (lpSD) DDFillRectColor(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, dwColor);
}

void DDPutPixel(DDSURFACEDATA* lpSD, int x, int y, uint32_t dwPalNum) {
  if (!lpSD || x < 0 || y < 0 || x >= lpSD->nWidth || y >= lpSD->nHeight) return;
  DDFillRect(lpSD, x, y, 1, 1, dwPalNum);
}

void DDCircle(DDSURFACEDATA* lpSD, int nCenterX, int nCenterY, int nRadius, uint32_t dwPalNum) {
  if (nRadius < 1) return;
  int x = 0, y = nRadius, d = 3 - 2 * nRadius;
  while (x <= y) {
    const int pts[8][2] = {{nCenterX + x, nCenterY + y}, {nCenterX - x, nCenterY + y},
                           {nCenterX + x, nCenterY - y}, {nCenterX - x, nCenterY - y},
                           {nCenterX + y, nCenterY + x}, {nCenterX - y, nCenterY + x},
                           {nCenterX + y, nCenterY - x}, {nCenterX - y, nCenterY - x}};
    for (const auto& p : pts) DDPutPixel(lpSD, p[0], p[1], dwPalNum);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
}

void DDTextOutSheet(DDSURFACEDATA* lpDstSD, int x, int y, int nCellWidth, int nCellHeight,
                    DDSURFACEDATA* lpSheetSD, const char* szText) {
  if (!szText) return;
  const bool bBatch = g_DD.lpDTCon != nullptr;
  if (bBatch) DDBatchBegin(0);
  int nOffset = 0;
  for (const char* p = szText; *p; ++p) {
    const int b = static_cast<signed char>(*p);
    if (b == 10) {
      nOffset = 0;
      y += nCellHeight;
      continue;
    }
    const unsigned ub = static_cast<unsigned char>(*p);
    int nColumn = b & 15;
    int nRow = (b >> 4) & 15;
    if (ub >= 0xA6 && ub <= 0xBF) nRow -= 10;
    if (ub >= 0xC0 && ub <= 0xDD) nRow -= 4;
    DDBlt(lpDstSD, x + nOffset, y, nCellWidth, nCellHeight, lpSheetSD, nColumn * nCellWidth,
          nRow * nCellHeight, 1);
    nOffset += nCellWidth;
    // A line that reaches the screen's width goes on at the start of the next.
    if (nOffset >= g_DD.nScreenWidth) {
      nOffset = 0;
      y += nCellHeight;
    }
  }
  if (bBatch) DDBatchEnd();
}

void DDPrintfSheet(DDSURFACEDATA* lpDstSD, int x, int y, int nCellWidth, int nCellHeight,
                   DDSURFACEDATA* lpSheetSD, const char* szFormat, ...) {
  char szText[256];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(szText, sizeof szText, szFormat, args);
  va_end(args);
  DDTextOutSheet(lpDstSD, x, y, nCellWidth, nCellHeight, lpSheetSD, szText);
}
