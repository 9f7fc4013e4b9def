// Clipping rules of the blits. An unscaled blit cuts its source to the
// source surface and then to the destination; a scaled or mirrored one cuts
// the source and scales the destination by the kept fraction, and in
// DirectDraw also cuts against the destination, moving the source along.
#include "draw/blit_clip.h"

#include <cstdlib>

#include "draw/draw_context.h"

using plat::gfx::cImageView;
using plat::gfx::MakeRect;

namespace {

// DirectDraw's cut of a scaled blit against the destination along one axis
// (nLo .. nHi): the source moves and shrinks by the scaled share of what is
// cut, truncated.
bool CutScaledAxis(int nLo, int nHi, int& x, int& nSize, int& nSrc, int& nSrcSize) {
  if (nSize == 0 || x + nSize <= nLo || x >= nHi) return false;
  if (x < nLo) {
    const int nAdvance = static_cast<int>(static_cast<double>(nLo - x) / nSize * nSrcSize);
    nSrc += nAdvance;
    nSrcSize -= nAdvance;
    nSize -= nLo - x;
    x = nLo;
  }
  if (x + nSize > nHi) {
    nSrcSize = static_cast<int>(static_cast<double>(nHi - x) / nSize * nSrcSize);
    nSize = nHi - x;
  }
  return true;
}

bool CutScaledAgainstDest(const cImageView& dstSurface, DDBLTVIEWS& blt) {
  const plat::gfx::GFXRECT& bounds = dstSurface.GetRect();
  int x = blt.Dst.GetLeft(), y = blt.Dst.GetTop(), w = blt.Dst.GetWidth(), h = blt.Dst.GetHeight();
  int sx = blt.Src.GetLeft(), sy = blt.Src.GetTop();
  int sw = blt.Src.GetWidth(), sh = blt.Src.GetHeight();
  if (!CutScaledAxis(bounds.nLeft, bounds.nRight, x, w, sx, sw)) return false;
  if (!CutScaledAxis(bounds.nTop, bounds.nBottom, y, h, sy, sh)) return false;
  blt.Dst = cImageView(blt.Dst.GetImage(), MakeRect(x, y, w, h));
  blt.Src = cImageView(blt.Src.GetImage(), MakeRect(sx, sy, sw, sh));
  return true;
}

}  // namespace

bool DDClipBlt(bool bDirect3D, const cImageView& dstSurface, const cImageView& srcSurface,
               DDBLTVIEWS& views) {
  // Worked on a copy: the caller's views change only when something is left.
  DDBLTVIEWS blt = views;
  const int nWidth = blt.Dst.GetWidth(), nHeight = blt.Dst.GetHeight();
  const int nSrcWidth = blt.Src.GetWidth(), nSrcHeight = blt.Src.GetHeight();
  if (nWidth <= 0 || nHeight <= 0 || nSrcWidth == 0 || nSrcHeight == 0) return false;
  const bool bBackW = nSrcWidth < 0, bBackH = nSrcHeight < 0;
  if (nSrcWidth == nWidth && nSrcHeight == nHeight) {
    // The destination keeps its place when only the source was cut; what
    // then lies outside the destination is cut from both.
    blt.Src = blt.Src.Clip(srcSurface.GetRect());
    const cImageView placed = blt.Dst.Sub(0, 0, blt.Src.GetWidth(), blt.Src.GetHeight());
    blt.Dst = placed.Clip(dstSurface.GetRect());
    blt.Src = blt.Src.Sub(blt.Dst.GetLeft() - placed.GetLeft(), blt.Dst.GetTop() - placed.GetTop(),
                          blt.Dst.GetWidth(), blt.Dst.GetHeight());
  } else {
    // DirectDraw cannot draw a negative source size: nothing is left.
    if (!bDirect3D && (bBackW || bBackH)) return false;
    blt.Src = blt.Src.Clip(srcSurface.GetRect());
    const double fx = static_cast<double>(std::abs(blt.Src.GetWidth())) / std::abs(nSrcWidth);
    const double fy = static_cast<double>(std::abs(blt.Src.GetHeight())) / std::abs(nSrcHeight);
    blt.Dst = blt.Dst.Sub(0, 0, static_cast<int>(fx * nWidth), static_cast<int>(fy * nHeight));
    if (!bDirect3D && !CutScaledAgainstDest(dstSurface, blt)) return false;
  }
  if ((blt.Src.GetWidth() < 0) != bBackW || (blt.Src.GetHeight() < 0) != bBackH) return false;
  if (blt.Src.IsEmpty() || blt.Dst.GetWidth() <= 0 || blt.Dst.GetHeight() <= 0) return false;
  views = blt;
  return true;
}
