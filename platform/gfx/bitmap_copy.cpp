// The window system's bitmap copy, as the DirectDraw-shaped face needs it.
#include "platform/gfx/bitmap_copy.h"

#include <algorithm>

#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {

int FindNearestPaletteIndex(const cPalette& palette, int r, int g, int b) {
  int nBest = 0;
  int nBestDist = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const GFXPALENTRY& e = palette.GetEntry(i);
    const int dr = e.byRed - r, dg = e.byGreen - g, db = e.byBlue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < nBestDist) {
      nBestDist = d;
      nBest = i;
      if (d == 0) break;
    }
  }
  return nBest;
}

namespace {

// Source coordinate of destination coordinate x under per-frame mirroring:
// whole frames of nFrame are mirrored in place; -1 for columns of a partial
// last frame, which the frame-by-frame copy never draws.
int MirrorSource(int x, int nFrame, int nSize) {
  if (nFrame <= 0) return x;
  const int nFrames = nSize / nFrame;
  if (x >= nFrames * nFrame) return -1;
  return nFrame * (x / nFrame + 1) - (x % nFrame) - 1;
}

}  // namespace

void CopyBitmapToImage(cImage& dst, const cBitmap& bmp, int nMirrorWidth, int nMirrorHeight) {
  const int w = std::min(dst.GetWidth(), bmp.GetWidth());
  const int h = std::min(dst.GetHeight(), bmp.GetHeight());
  const ePixelFormat f = dst.GetFormat();
  const cPalette* pPal = dst.GetPalette().get();
  // An indexed bitmap into an 8-bit image: one lookup per colour-table entry.
  std::vector<int> indexMap;
  if (f == ePixelFormat::P8 && bmp.IsIndexed()) {
    indexMap.resize(256);
    for (int i = 0; i < 256; ++i) {
      if (!pPal) {
        indexMap[size_t(i)] = i;
      } else if (i < int(bmp.GetColorTable().size())) {
        const GFXPALENTRY& e = bmp.GetColorTable()[size_t(i)];
        indexMap[size_t(i)] = FindNearestPaletteIndex(*pPal, e.byRed, e.byGreen, e.byBlue);
      } else {
        indexMap[size_t(i)] = FindNearestPaletteIndex(*pPal, 0, 0, 0);
      }
    }
  }
  for (int y = 0; y < h; ++y) {
    const int sy = MirrorSource(y, nMirrorHeight, bmp.GetHeight());
    if (sy < 0) continue;
    for (int x = 0; x < w; ++x) {
      const int sx = MirrorSource(x, nMirrorWidth, bmp.GetWidth());
      if (sx < 0) continue;
      if (f == ePixelFormat::P8) {
        if (!indexMap.empty()) {
          dst.WritePixel(x, y, uint32_t(indexMap[bmp.GetIndex(sx, sy)]));
        } else {
          const uint32_t c = bmp.GetArgb(sx, sy);
          dst.WritePixel(
              x, y,
              pPal ? uint32_t(FindNearestPaletteIndex(*pPal, GetR(c), GetG(c), GetB(c))) : 0u);
        }
        continue;
      }
      dst.WritePixel(x, y, ArgbToTexel(bmp.GetArgb(sx, sy) | 0xFF000000u, f));
    }
  }
}

}  // namespace plat::gfx
