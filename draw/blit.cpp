// Blits in both modes. Every blit goes one way: resolve the records it
// really draws into and from, cut its rectangles as views of their pixels,
// clip, and hand the views on. DirectDraw copies through the engine's
// kernels; the Direct3D quad path draws a textured quad into a render
// target, and the software path copies texels for system-memory sources and
// for targets that cannot be rendered to.
#include "draw/blit.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "base/logs.h"
#include "base/run_options.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/quad_build.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "platform/gfx/fault_hooks.h"

using plat::gfx::cImageView;
using plat::gfx::eFaultPoint;
using plat::gfx::MakeRect;
using plat::gfx::TakeFault;

namespace {

int ResultOf(plat::gfx::eGfxResult hr) { return static_cast<int>(plat::gfx::GetResultCode(hr)); }

cImageView SurfaceView(const DDSURFACEDATA* lpSD) { return DDSurfaceView(lpSD); }

// One blit after its records are resolved: the records it draws into and
// from, their visible areas, and its two rectangles.
struct DDBLT {
  DDSURFACEDATA* lpDst = nullptr;
  DDSURFACEDATA* lpSrc = nullptr;
  cImageView DstSurface;
  cImageView SrcSurface;
  DDBLTVIEWS Views;
};

int QuadPath(const DDBLT& blt, int nFlags) {
  DTCONDATA& con = *g_DD.lpDTCon;
  const cImageView& d = blt.Views.Dst;
  const cImageView& s = blt.Views.Src;
  if (SpriteBatch.bActive) {
    DDBatchQueue(blt.lpDst, d.GetLeft(), d.GetTop(), d.GetWidth(), d.GetHeight(), blt.lpSrc,
                 s.GetLeft(), s.GetTop(), s.GetWidth(), s.GetHeight(), nFlags);
    return 0;
  }
  DTDATA& src = *blt.lpSrc->lpDT;
  // A source whose texture is gone (a device that could not be reset yet)
  // draws nothing.
  if (!src.lpTexture || !src.lpVB) return 0;
  if (TakeFault(eFaultPoint::LockVertexBuffer)) return 0;
  DDBuildBltQuad(src.lpVB->Vertices.data(), d.GetLeft(), d.GetTop(), d.GetWidth(), d.GetHeight(),
                 s.GetLeft(), s.GetTop(), s.GetWidth(), s.GetHeight(), blt.lpSrc->nTexWidth,
                 blt.lpSrc->nTexHeight, con.dwBltColor);
  if (!DDBeginScene() || !DDSetRenderTarget(0, blt.lpDst)) return 0;
  DDSetBltStage(con.nColorOp, con.nAlphaOp);
  g_DD.lpDevice->SetTexture(src.lpTexture.get());
  const plat::gfx::GFXBLITRECT q =
      DDBlitRect(d.GetLeft(), d.GetTop(), d.GetWidth(), d.GetHeight(), s.GetLeft(), s.GetTop(),
                 s.GetWidth(), s.GetHeight(), con.dwBltColor);
  if (nFlags == 0 && src.bColorKey) {
    // Transparent texels show the key colour (on a texture: transparency);
    // the device clears and draws in one pass where it can.
    DDDrawBlitQuad(blt.lpSrc, src.lpTexture.get(), q, src.lpVB->Vertices.data(), &d.GetRect(),
                   blt.lpDst == &BackBuffer ? con.dwTransmitColor : con.dwTransparent);
  } else {
    DDDrawBlitQuad(blt.lpSrc, src.lpTexture.get(), q, src.lpVB->Vertices.data());
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

// Unclipped: a pixel outside either record's visible size is skipped.
int SoftwarePath(const DDBLT& blt, int nFlags) {
  const int x = blt.Views.Dst.GetLeft(), y = blt.Views.Dst.GetTop();
  const int w = blt.Views.Dst.GetWidth(), h = blt.Views.Dst.GetHeight();
  const int sx = blt.Views.Src.GetLeft(), sy = blt.Views.Src.GetTop();
  const int sw = blt.Views.Src.GetWidth(), sh = blt.Views.Src.GetHeight();
  if (w <= 0 || h <= 0 || sw == 0 || sh == 0) return 0;
  cSurfaceLock dst, src;
  if (!dst.Lock(blt.lpDst) || !src.Lock(blt.lpSrc)) return 0;
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
  return DDBltStretch(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nWidth, nHeight,
                      nFlags);
}

void DDWrapSourceRect(const DDSURFACEDATA* lpSD, cImageView& src) {
  if (!g_DD.lpDTCon || !lpSD || !lpSD->lpShareSD) return;
  // A frame as wide as the frame size is read backwards from its far edge;
  // a narrower rectangle is mirrored inside its frame.
  const auto WrapAxis = [](int nFrame, int& nPos, int& nSize) {
    if (nFrame == 0) return;
    if (nSize == nFrame) {
      nSize = -nFrame;
      nPos += nFrame;
    } else if (nSize < nFrame) {
      nPos = nPos + nFrame - 2 * (nPos % nFrame);
      nSize = -nSize;
    }
  };
  int x = src.GetLeft(), y = src.GetTop(), w = src.GetWidth(), h = src.GetHeight();
  WrapAxis(lpSD->nMirrorWidth, x, w);
  WrapAxis(lpSD->nMirrorHeight, y, h);
  src = cImageView(src.GetImage(), MakeRect(x, y, w, h));
}

int DDBltStretch(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                 DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                 int nFlags) {
  if (SkipsRaster()) return 0;
  if (!lpDstSD || !lpSrcSD) return 0;
  const bool bDirect3D = g_DD.lpDTCon != nullptr;
  DDSURFACEDATA* lpDst = lpDstSD;
  DDSURFACEDATA* lpSrc = lpSrcSD;
  if (bDirect3D) {
    // Shared records draw their owner's texture; the virtual back buffer
    // takes the back buffer's place.
    DDResolveSurface(&lpDst);
    DDResolveSurface(&lpSrc);
    if (g_DD.lpDTCon->bStretching) {
      lpDst = &BackBuffer;
      lpSrc = &VirBackBuffer;
    } else {
      DDRedirectBackBuffer(&lpDst);
      DDRedirectBackBuffer(&lpSrc);
    }
    if (!lpDst->lpDT || !lpSrc->lpDT) return 0;
  }
  // Every member given: the record is not cleared first (a block clear
  // cost a sprite's blit more than its clipping).
  const cImageView dstSurface = SurfaceView(lpDst), srcSurface = SurfaceView(lpSrc);
  DDBLT blt{lpDst,
            lpSrc,
            dstSurface,
            srcSurface,
            {dstSurface.Sub(x, y, nWidth, nHeight),
             srcSurface.Sub(nSrcX, nSrcY, nSrcWidth, nSrcHeight)}};
  // The record as given decides the mirroring, not the one it shares.
  DDWrapSourceRect(lpSrcSD, blt.Views.Src);
  if (bDirect3D &&
      !(blt.lpDst->lpDT->bRenderTarget && blt.lpSrc->lpDT->nMemoryType != DTMEMORYTYPE_SYSTEM))
    return SoftwarePath(blt, nFlags);
  if (!DDClipBlt(bDirect3D, blt.DstSurface, blt.SrcSurface, blt.Views)) return 0;
  if (bDirect3D) return QuadPath(blt, nFlags);
  if (!g_DD.lpDD || !blt.Views.Dst.GetImage() || !blt.Views.Src.GetImage()) return 0;
  return ResultOf(g_DD.lpDD->Blt(blt.Views.Dst, blt.Views.Src, nFlags == 1));
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

// The part of the rectangle x, y, w, h that lies on the record's visible
// size; false when none does.
bool CutToSurface(const DDSURFACEDATA* lpSD, cImageView& area, int x, int y, int w, int h) {
  const cImageView surface = SurfaceView(lpSD);
  area = surface.Sub(x, y, w, h).Clip(surface.GetRect());
  return !area.IsEmpty() && !area.IsBackwards();
}

void FillRectDD(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t dwValue) {
  cImageView area;
  if (!g_DD.lpDD || !CutToSurface(lpSD, area, x, y, w, h) || !area.GetImage()) return;
  g_DD.lpDD->ColorFill(*area.GetImage(), &area.GetRect(), dwValue);
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
  if (SkipsRaster()) return;
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
  if (SkipsRaster()) return;
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
  cImageView area;
  if (!CutToSurface(lpSD, area, x, y, nWidth, nHeight)) return;
  x = area.GetLeft();
  y = area.GetTop();
  nWidth = area.GetWidth();
  nHeight = area.GetHeight();
  if (dt.bRenderTarget) {
    if (dt.bColorKey && (g_DD.nBpp == 16 || g_DD.nBpp == 32) && dwColor == con.dwTransparent) {
      if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return;
      g_DD.lpDevice->Clear(&area.GetRect(), 1, dwColor);
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
      // The fill reads no texture: the one a blit left bound may have been
      // released since.
      g_DD.lpDevice->SetTexture(nullptr);
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
  if (SkipsRaster()) return;
  if (!lpSD || x < 0 || y < 0 || x >= lpSD->nWidth || y >= lpSD->nHeight) return;
  DDFillRect(lpSD, x, y, 1, 1, dwPalNum);
}

void DDCircle(DDSURFACEDATA* lpSD, int nCenterX, int nCenterY, int nRadius, uint32_t dwPalNum) {
  if (SkipsRaster()) return;
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
