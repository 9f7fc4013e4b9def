// Blur and mosaic on locked pixels. The blur's boxes are summed through
// running sums along the rows and then down the columns, which gives the
// same integer sums as adding every box up, at a cost that does not grow
// with the radius. Source pixels outside the source surface count as
// absent; destination pixels outside the destination are not written.
#include "draw/blur_mosaic.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "platform/gfx/pixel_rules.h"

namespace {

// The part lo .. hi - 1 of 0 .. n - 1 whose points offset by o lie in 0 .. m - 1.
void Overlap(int o, int n, int m, int& lo, int& hi) {
  lo = int(std::clamp<int64_t>(-int64_t(o), 0, n));
  hi = int(std::clamp<int64_t>(int64_t(m) - o, lo, n));
}

void Blur(cEffectLocks& locks, int x, int y, int w, int h, int rx, int ry, int sx, int sy,
          int nFlags) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  // Block columns and rows whose source pixels exist: every other pixel of
  // the block is absent, so the sums run over these alone.
  int iLo, iHi, jLo, jHi;
  Overlap(sx, w, src.nWidth, iLo, iHi);
  Overlap(sy, h, src.nHeight, jLo, jHi);
  if (iLo >= iHi || jLo >= jHi) return;
  const int nCols = iHi - iLo, nRows = jHi - jLo;
  // A box reaching past every existing pixel sums them all.
  rx = std::min(rx, nCols);
  ry = std::min(ry, nRows);

  // Whether each pixel counts (it exists and, with nFlags 1, is not
  // transparent), and the sums of red, green, blue and the count along each
  // row's boxes, from block column i - rx to i + rx - 1.
  thread_local std::vector<uint8_t> counts;
  thread_local std::vector<int32_t> rowBox;
  counts.assign(size_t(nCols) * nRows, 0);
  rowBox.resize(size_t(nCols) * nRows * 4);
  std::vector<int32_t> prefix(size_t(nCols + 1) * 4, 0);
  for (int j = 0; j < nRows; ++j) {
    for (int i = 0; i < nCols; ++i) {
      int32_t c[4] = {0, 0, 0, 0};
      const uint32_t v = src.Read(sx + iLo + i, sy + jLo + j);
      if (nFlags != 1 || !DDIsTransparentSource(v, src)) {
        DDReadChannels(src, v, c[0], c[1], c[2]);
        c[3] = 1;
        counts[size_t(j) * nCols + i] = 1;
      }
      for (int k = 0; k < 4; ++k) prefix[size_t(i + 1) * 4 + k] = prefix[size_t(i) * 4 + k] + c[k];
    }
    for (int i = 0; i < nCols; ++i) {
      const int a = std::max(0, i - rx), b = std::min(nCols, i + rx);
      for (int k = 0; k < 4; ++k)
        rowBox[(size_t(j) * nCols + i) * 4 + k] =
            prefix[size_t(b) * 4 + k] - prefix[size_t(a) * 4 + k];
    }
  }
  // Down the columns: the box's rows from j - ry to j + ry - 1, kept as a
  // window that moves one row at a time.
  std::vector<int64_t> window(size_t(nCols) * 4, 0);
  auto addRow = [&](int j, int nSign) {
    const int32_t* row = &rowBox[size_t(j) * nCols * 4];
    for (int k = 0; k < nCols * 4; ++k) window[size_t(k)] += nSign * row[k];
  };
  for (int j = 0; j < std::min(nRows, ry); ++j) addRow(j, 1);
  for (int j = 0; j < nRows; ++j) {
    if (j > 0) {
      if (j + ry - 1 < nRows) addRow(j + ry - 1, 1);
      if (j - ry - 1 >= 0) addRow(j - ry - 1, -1);
    }
    const int64_t dy = int64_t(y) + jLo + j;
    if (dy < 0 || dy >= dst.nHeight) continue;
    for (int i = 0; i < nCols; ++i) {
      const int64_t dx = int64_t(x) + iLo + i;
      if (dx < 0 || dx >= dst.nWidth) continue;
      // A pixel that does not count itself is left as it was.
      if (!counts[size_t(j) * nCols + i]) continue;
      const int64_t* s = &window[size_t(i) * 4];
      if (s[3] <= 0) continue;
      DDWriteChannels(dst, int(dx), int(dy), int(s[0] / s[3]), int(s[1] / s[3]), int(s[2] / s[3]));
    }
  }
}

// The cells that reach the destination: cell indices kLo .. kHi - 1 along
// an axis of n block pixels at offset o on a destination m pixels long.
void CellRange(int o, int n, int m, int nCell, int& kLo, int& kHi) {
  int lo, hi;
  Overlap(o, n, m, lo, hi);
  kLo = lo / nCell;
  kHi = lo < hi ? (hi - 1) / nCell + 1 : kLo;
}

void Mosaic(cEffectLocks& locks, int x, int y, int w, int h, int n, int sx, int sy, int nFlags) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  const bool bTopLeft = dst.bDirect3D || dst.nBytes == 1;
  if (dst.nBytes != src.nBytes || (dst.bDirect3D && dst.nBytes == 1)) return;
  if (!bTopLeft && g_DD.nBpp != 16 && g_DD.nBpp != 32) return;
  int kxLo, kxHi, kyLo, kyHi;
  CellRange(x, w, dst.nWidth, n, kxLo, kxHi);
  CellRange(y, h, dst.nHeight, n, kyLo, kyHi);
  const uint32_t dwKeyMask = DDKeyMask(src);
  for (int ky = kyLo; ky < kyHi; ++ky) {
    const int cy = ky * n, ch = std::min(n, h - cy);
    for (int kx = kxLo; kx < kxHi; ++kx) {
      const int cx = kx * n, cw = std::min(n, w - cx);
      uint32_t dwValue = 0;
      if (bTopLeft) {
        const int64_t px = int64_t(sx) + cx, py = int64_t(sy) + cy;
        if (px < 0 || py < 0 || px >= src.nWidth || py >= src.nHeight) continue;
        dwValue = src.Read(int(px), int(py));
        if (nFlags == 1 && DDIsTransparentSource(dwValue, src)) continue;
        if (dst.bDirect3D) {
          if (dst.nBytes == 4)
            dwValue |= 0xFF000000u;
          else if (dst.bFullScreenBack)
            dwValue = DDRepackForBackBuffer(dwValue);
        }
      } else {
        int64_t sum[3] = {0, 0, 0}, nCount = 0;
        const DDPIXELBITS& b = src.Bits;
        for (int j = 0; j < ch; ++j)
          for (int i = 0; i < cw; ++i) {
            const int64_t px = int64_t(sx) + cx + i, py = int64_t(sy) + cy + j;
            if (px < 0 || py < 0 || px >= src.nWidth || py >= src.nHeight) continue;
            const uint32_t v = src.Read(int(px), int(py));
            if (nFlags == 1 && DDIsKeyPixel(v, src)) continue;
            int c[3];
            DDReadChannels(src, v, c[0], c[1], c[2]);
            if (src.nBytes == 2) {
              c[0] = plat::gfx::ScaleChannelUp(c[0], b.nRedMax);
              c[1] = plat::gfx::ScaleChannelUp(c[1], b.nGreenMax);
              c[2] = plat::gfx::ScaleChannelUp(c[2], b.nBlueMax);
            }
            for (int k = 0; k < 3; ++k) sum[k] += c[k];
            ++nCount;
          }
        if (nCount == 0) continue;
        int avg[3];
        for (int k = 0; k < 3; ++k) avg[k] = int(sum[k] / nCount);
        if (src.nBytes == 2) {
          avg[0] = plat::gfx::ScaleChannelDown(avg[0], b.nRedMax);
          avg[1] = plat::gfx::ScaleChannelDown(avg[1], b.nGreenMax);
          avg[2] = plat::gfx::ScaleChannelDown(avg[2], b.nBlueMax);
        }
        dwValue = uint32_t(avg[0]) << b.nRedShift | uint32_t(avg[1]) << b.nGreenShift |
                  uint32_t(avg[2]) << b.nBlueShift;
        if (nFlags == 1 && (dwValue & dwKeyMask) == (g_DD.dwColorKey & dwKeyMask)) continue;
      }
      for (int j = 0; j < ch; ++j) {
        const int64_t dy = int64_t(y) + cy + j;
        if (dy < 0 || dy >= dst.nHeight) continue;
        for (int i = 0; i < cw; ++i) {
          const int64_t dx = int64_t(x) + cx + i;
          if (dx < 0 || dx >= dst.nWidth) continue;
          if (!bTopLeft && dst.nBytes == 4)
            dst.Write(int(dx), int(dy), (dst.Read(int(dx), int(dy)) & 0xFF000000u) | dwValue);
          else
            dst.Write(int(dx), int(dy), dwValue);
        }
      }
    }
  }
}

}  // namespace

int DDBlur(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nRadiusX,
           int nRadiusY, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags) {
  // A radius of 0 (or less) has an empty box: nothing to do.
  if (nRadiusX <= 0 || nRadiusY <= 0) return 1;
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return 0;
  if (g_DD.nBpp == 8) {
    DebugLog("8ビットぼかしは不可能！");
  } else if ((g_DD.nBpp == 16 || g_DD.nBpp == 32) && nWidth > 0 && nHeight > 0 &&
             locks.Dst.nBytes == locks.Src.nBytes) {
    Blur(locks, x, y, nWidth, nHeight, nRadiusX, nRadiusY, nSrcX, nSrcY, nFlags);
  }
  return locks.Unlock() ? 1 : 0;
}

int DDMosaic(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nCell,
             DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags) {
  if (nCell <= 0) return 1;
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return 0;
  if (nWidth > 0 && nHeight > 0) Mosaic(locks, x, y, nWidth, nHeight, nCell, nSrcX, nSrcY, nFlags);
  return locks.Unlock() ? 1 : 0;
}
