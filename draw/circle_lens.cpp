// The circle window as a batch of row blits, and the lens on locked pixels.
#include "draw/circle_lens.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/run_options.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"

namespace {

// Half the width of the circle's row at height i: trunc(sqrt(r^2 - i^2)),
// below the radius (so a row never spans more than 2r - 2 pixels).
int RowHalfWidth(int64_t r, int64_t i) {
  const int64_t d = r * r - i * i;
  if (d <= 0) return 0;
  const int64_t w = int64_t(std::sqrt(double(d)));
  return int(w >= r ? r - 1 : w);
}

}  // namespace

void DDBltCircle(DDSURFACEDATA* lpDstSD, int cx, int cy, int nHalfWidth, int nHalfHeight,
                 int nRadius, int nStep, DDSURFACEDATA* lpSrcSD, int nSrcCX, int nSrcCY,
                 int nFlags) {
  if (SkipsRaster()) return;
  if (nRadius <= 0 || nStep <= 0 || !lpDstSD || !lpSrcSD) return;
  DDResolveSurface(&lpDstSD);
  DDResolveSurface(&lpSrcSD);
  const int64_t nLeft = std::max<int64_t>(int64_t(nSrcCX) - nHalfWidth, 0);
  const int64_t nRight = std::min<int64_t>(int64_t(nSrcCX) + nHalfWidth, lpSrcSD->nWidth);
  const bool bBatch = g_DD.lpDTCon != nullptr;
  if (bBatch) DDBatchBegin(0);
  // One band: rows cy + i .. cy + i + nRows - 1 from nSrcCY + i, its half
  // width taken at row iMid, cut to the source bounds.
  auto band = [&](int64_t i, int64_t iMid, int nRows) {
    const int w = RowHalfWidth(nRadius, iMid);
    int64_t sx = int64_t(nSrcCX) - w, dx = int64_t(cx) - w, nLength = 2 * int64_t(w);
    if (sx < nLeft) {
      const int64_t d = nLeft - sx;
      nLength -= d;
      sx += d;
      dx += d;
    }
    if (sx + nLength >= nRight) nLength = nRight - sx;
    if (nLength <= 0) return;
    const int64_t dy = int64_t(cy) + i, sy = int64_t(nSrcCY) + i;
    // Positions that no int holds lie far off every surface.
    if (std::max({std::abs(dx), std::abs(sx), std::abs(dy), std::abs(sy)}) > (int64_t(1) << 30))
      return;
    DDBlt(lpDstSD, int(dx), int(dy), int(nLength), nRows, lpSrcSD, int(sx), int(sy), nFlags);
  };
  if (nStep == 1) {
    for (int64_t i = int64_t(nRadius) - 1; i >= -int64_t(nRadius); --i) {
      if (i >= nHalfHeight) continue;
      if (i < -int64_t(nHalfHeight)) break;
      band(i, i, 1);
    }
  } else {
    for (int64_t i = int64_t(nRadius) - nStep; i >= -int64_t(nRadius); i -= nStep) {
      if (i >= nHalfHeight) continue;
      if (i + nStep <= -int64_t(nHalfHeight)) break;
      if (i + nStep > nHalfHeight) i = int64_t(nHalfHeight) - nStep;
      if (i < -int64_t(nHalfHeight)) i = -int64_t(nHalfHeight);
      band(i, i + (nStep >> 1), nStep);
    }
  }
  if (bBatch) DDBatchEnd();
}

bool DDBltRadial(DDSURFACEDATA* lpDstSD, int cx, int cy, int nRadius, int nStrength,
                 DDSURFACEDATA* lpSrcSD, int nSrcCX, int nSrcCY, int nFlags, int bClear) {
  if (SkipsRaster()) return true;
  if (nRadius < 0 || nStrength < 0 || !lpDstSD || !lpSrcSD) return true;
  const int64_t r = nRadius, s = nStrength;
  const int64_t D = int64_t(std::sqrt(double(r * r + s * s)));
  if (D <= s) return true;
  const int64_t D2 = D * D;
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  const bool bD3D = dst.bDirect3D;
  const bool bClear32 = bD3D && g_DD.nBpp == 32 && bClear == 1;
  if (dst.nBytes == src.nBytes) {
    // Only the rows and columns of the square that lie on the destination.
    const int64_t jLo = std::max(-r, -int64_t(cy)),
                  jHi = std::min(r, int64_t(dst.nHeight) - 1 - cy);
    const int64_t iLo = std::max(-r, -int64_t(cx)), iHi = std::min(r, int64_t(dst.nWidth) - 1 - cx);
    for (int64_t j = jLo; j <= jHi; ++j) {
      const int dy = int(cy + j);
      for (int64_t i = iLo; i <= iHi; ++i) {
        const int dx = int(cx + i);
        const int64_t d2 = i * i + j * j;
        if (d2 > r * r) {
          if (bClear32) dst.Write(dx, dy, 0);
          continue;
        }
        const double q = std::sqrt(double(D2 - d2));
        int64_t u = i, v = j;
        if (q != 0) {
          u = int64_t(double(i) * double(s) / q + 0.5);
          v = int64_t(double(j) * double(s) / q + 0.5);
        }
        const int64_t px = nSrcCX + u, py = nSrcCY + v;
        if (px < 0 || py < 0 || px >= src.nWidth || py >= src.nHeight) {
          if (bClear32) dst.Write(dx, dy, 0);
          continue;
        }
        uint32_t texel = src.Read(int(px), int(py));
        if (!bD3D) {
          if (DDIsKeyPixel(texel, src)) continue;
        } else if (g_DD.nBpp == 16) {
          if (nFlags == 1 && !DDIsOpaqueTexel(texel)) continue;
          if (dst.bFullScreenBack) texel = DDRepackForBackBuffer(texel);
        } else if ((texel >> 24) == 0) {
          if (bClear32) dst.Write(dx, dy, 0);
          continue;
        }
        dst.Write(dx, dy, texel);
      }
    }
  }
  return locks.Unlock();
}
