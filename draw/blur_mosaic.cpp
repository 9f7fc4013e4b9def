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
#include "base/run_options.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "platform/gfx/pixel_rules.h"

namespace {

// The part lo .. hi - 1 of 0 .. n - 1 whose points offset by o lie in 0 .. m - 1.
void Overlap(int o, int n, int m, int& lo, int& hi) {
  lo = int(std::clamp<int64_t>(-int64_t(o), 0, n));
  hi = int(std::clamp<int64_t>(int64_t(m) - o, lo, n));
}

// sum / n, truncated, for 0 <= sum <= 255 n: one multiplication and a
// shift, (sum * m) >> s with m = ceil(2^s / n) and 2^s above 255 n^2, which
// is exact over that range; past the table's counts, a division.
class cQuotients {
 public:
  explicit cQuotients(int64_t nMaxCount) {
    m_Magic.resize(size_t(std::min<int64_t>(nMaxCount, kTableCounts)) + 1);
    for (size_t n = 1; n < m_Magic.size(); ++n) {
      int nShift = 1;
      while ((uint64_t(1) << nShift) <= uint64_t(255) * n * n) ++nShift;
      m_Magic[n] = {((uint64_t(1) << nShift) + n - 1) / n, nShift};
    }
  }
  int operator()(int64_t sum, int64_t n) const {
    if (size_t(n) >= m_Magic.size()) return int(sum / n);
    const MAGIC& m = m_Magic[size_t(n)];
    return int((uint64_t(sum) * m.nMultiplier) >> m.nShift);
  }

 private:
  static constexpr int64_t kTableCounts = 4096;
  struct MAGIC {
    uint64_t nMultiplier = 0;
    int nShift = 0;
  };
  std::vector<MAGIC> m_Magic;
};

// Red, green, blue and the count of one pixel or one box, side by side.
using LANES = int32_t __attribute__((vector_size(16)));
template <typename SUM>
struct WIDE;
template <>
struct WIDE<int32_t> {
  using type = LANES;
  static type From(const LANES& v) { return v; }
};
// Sums of very large blocks: four 64-bit lanes.
struct LANES64 {
  int64_t v[4] = {0, 0, 0, 0};
  LANES64& operator+=(const LANES64& o) {
    for (int k = 0; k < 4; ++k) v[k] += o.v[k];
    return *this;
  }
  LANES64& operator-=(const LANES64& o) {
    for (int k = 0; k < 4; ++k) v[k] -= o.v[k];
    return *this;
  }
  int64_t operator[](int k) const { return v[k]; }
};
template <>
struct WIDE<int64_t> {
  using type = LANES64;
  static type From(const LANES& l) { return {{l[0], l[1], l[2], l[3]}}; }
};

// The block's columns iLo .. iLo + nCols - 1 and rows jLo .. jLo + nRows - 1
// (those whose source pixels exist), summed in SUM.
template <typename SUM>
void BlurRows(DDEFFECTPIXELS& dst, const DDEFFECTPIXELS& src, int x, int y, int sx, int sy, int iLo,
              int jLo, int nCols, int nRows, int rx, int ry, int nFlags) {
  // Whether each pixel counts (it exists and, with nFlags 1, is not
  // transparent), and the sums of red, green, blue and the count along each
  // row's boxes, from block column i - rx to i + rx - 1.
  // Rows are summed along their boxes as they enter the vertical window
  // and kept until they leave it: 2 ry + 1 rows at a time.
  using WIDESUM = typename WIDE<SUM>::type;
  const int nRing = 2 * ry + 1;
  thread_local std::vector<uint8_t> counts;
  thread_local std::vector<LANES> ring;
  counts.resize(size_t(nCols) * nRows);
  ring.resize(size_t(nCols) * size_t(nRing));
  std::vector<LANES> values(static_cast<size_t>(nCols));
  auto rowBox = [&](int j) { return &ring[size_t(j % nRing) * size_t(nCols)]; };
  auto makeRow = [&](int j) {
    uint8_t* pCounts = &counts[size_t(j) * nCols];
    LANES* __restrict pValues = values.data();
    for (int i = 0; i < nCols; ++i) {
      const uint32_t v = src.Read(sx + iLo + i, sy + jLo + j);
      pCounts[i] = nFlags != 1 || !DDIsTransparentSource(v, src);
      int r = 0, g = 0, b = 0;
      if (pCounts[i]) DDReadChannels(src, v, r, g, b);
      pValues[i] = LANES{r, g, b, pCounts[i]};
    }
    // The box moves one column at a time: the column entering on the right
    // is added, the one leaving on the left taken away.
    LANES sum{};
    for (int i = 0; i < std::min(nCols, rx); ++i) sum += pValues[i];
    LANES* __restrict pBox = rowBox(j);
    for (int i = 0; i < nCols; ++i) {
      if (i > 0) {
        if (i + rx - 1 < nCols) sum += pValues[i + rx - 1];
        if (i - rx - 1 >= 0) sum -= pValues[i - rx - 1];
      }
      pBox[i] = sum;
    }
  };
  // Down the columns: the box's rows from j - ry to j + ry - 1, kept as a
  // window that moves one row at a time.
  std::vector<WIDESUM> window(size_t(nCols), WIDESUM{});
  WIDESUM* const pWindow = window.data();
  auto addRow = [&](int j) {
    makeRow(j);
    const LANES* __restrict pRow = rowBox(j);
    for (int i = 0; i < nCols; ++i) pWindow[i] += WIDE<SUM>::From(pRow[i]);
  };
  auto subtractRow = [&](int j) {
    const LANES* __restrict pRow = rowBox(j);
    for (int i = 0; i < nCols; ++i) pWindow[i] -= WIDE<SUM>::From(pRow[i]);
  };
  // A box holds at most (2 rx) x (2 ry) pixels.
  const cQuotients quotient(std::min<int64_t>(int64_t(2) * rx * 2 * ry, int64_t(nCols) * nRows));
  for (int j = 0; j < std::min(nRows, ry); ++j) addRow(j);
  for (int j = 0; j < nRows; ++j) {
    if (j > 0) {
      if (j - ry - 1 >= 0) subtractRow(j - ry - 1);
      if (j + ry - 1 < nRows) addRow(j + ry - 1);
    }
    const int64_t dy = int64_t(y) + jLo + j;
    if (dy < 0 || dy >= dst.nHeight) continue;
    const uint8_t* pCounts = &counts[size_t(j) * nCols];
    for (int i = 0; i < nCols; ++i) {
      const int64_t dx = int64_t(x) + iLo + i;
      // A pixel that does not count itself is left as it was.
      if (dx < 0 || dx >= dst.nWidth || !pCounts[i]) continue;
      const WIDESUM& s = pWindow[i];
      const int64_t n = s[3];
      if (n <= 0) continue;
      DDWriteChannels(dst, int(dx), int(dy), quotient(s[0], n), quotient(s[1], n),
                      quotient(s[2], n));
    }
  }
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
  // Sums of a channel stay below 256 times the pixels summed.
  if (int64_t(nCols) * nRows < (int64_t(1) << 23))
    BlurRows<int32_t>(dst, src, x, y, sx, sy, iLo, jLo, nCols, nRows, rx, ry, nFlags);
  else
    BlurRows<int64_t>(dst, src, x, y, sx, sy, iLo, jLo, nCols, nRows, rx, ry, nFlags);
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
  if (SkipsRaster()) return 1;
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
  if (SkipsRaster()) return 1;
  if (nCell <= 0) return 1;
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return 0;
  if (nWidth > 0 && nHeight > 0) Mosaic(locks, x, y, nWidth, nHeight, nCell, nSrcX, nSrcY, nFlags);
  return locks.Unlock() ? 1 : 0;
}
