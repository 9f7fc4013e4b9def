// Clipping rules of the blits. An unscaled blit cuts its source to the
// source surface and then to the destination; a scaled or mirrored one cuts
// the source and scales the destination by the kept fraction, and in
// DirectDraw also cuts against the destination, moving the source along.
#include "draw/blit_clip.h"

#include <algorithm>
#include <cstdlib>

#include "draw/draw_context.h"
#include "draw/surface_data.h"

namespace {

void ClipUnscaledAxis(int nDstSize, int nSrcVis, int& x, int& nSize, int& nSrc, int& nSrcSize) {
  int nLeft = std::max(nSrc, 0);
  int nRight = std::min(nSrc + nSrcSize, nSrcVis);
  if (x < 0) {
    nLeft -= x;
    x = 0;
  }
  if (x + (nRight - nLeft) > nDstSize) nRight = nLeft + (nDstSize - x);
  nSrc = nLeft;
  nSize = nSrcSize = nRight - nLeft;
}

// Kept part of the source extent along one axis; a negative size in
// Direct3D runs from nSrc + nSrcSize up to nSrc. Returns the kept length and
// moves nSrc to where the kept part starts in the given direction.
int CutSourceAxis(bool bDirect3D, int nSrcVis, int& nSrc, int nSrcSize) {
  if (bDirect3D && nSrcSize < 0) {
    int nLo = std::max(nSrc + nSrcSize, 0);
    int nHi = std::min(nSrc, nSrcVis);
    nSrc = nHi;  // a mirrored rectangle starts at its right edge
    return nHi - nLo;
  }
  int nLo = std::max(nSrc, 0);
  int nHi = std::min(nSrc + nSrcSize, nSrcVis);
  nSrc = nLo;
  return nHi - nLo;
}

// DirectDraw's cut of a scaled blit against the destination along one axis.
bool CutScaledAgainstDest(int nDstSize, int& x, int& nSize, int& nSrc, int& nSrcSize) {
  if (nSize == 0 || x + nSize <= 0 || x >= nDstSize) return false;
  if (x < 0) {
    int nAdvance = static_cast<int>(static_cast<double>(-x) / nSize * nSrcSize);
    nSrc += nAdvance;
    nSrcSize -= nAdvance;
    nSize += x;
    x = 0;
  }
  if (x + nSize > nDstSize) {
    nSrcSize = static_cast<int>(static_cast<double>(nDstSize - x) / nSize * nSrcSize);
    nSize = nDstSize - x;
  }
  return true;
}

}  // namespace

int DDClipBltRects(bool bDirect3D, int nDstWidth, int nDstHeight, int nSrcVisWidth,
                   int nSrcVisHeight, DDBLTRECTS& r) {
  if (r.nWidth <= 0 || r.nHeight <= 0 || r.nSrcWidth == 0 || r.nSrcHeight == 0) return 0;
  const bool bNegW = r.nSrcWidth < 0, bNegH = r.nSrcHeight < 0;
  if (r.nSrcWidth == r.nWidth && r.nSrcHeight == r.nHeight) {
    ClipUnscaledAxis(nDstWidth, nSrcVisWidth, r.x, r.nWidth, r.nSrcX, r.nSrcWidth);
    ClipUnscaledAxis(nDstHeight, nSrcVisHeight, r.y, r.nHeight, r.nSrcY, r.nSrcHeight);
  } else {
    // DirectDraw cannot draw a negative source size: nothing is left.
    if (!bDirect3D && (bNegW || bNegH)) return 0;
    const int nGivenW = r.nSrcWidth, nGivenH = r.nSrcHeight;
    int nKeptW = CutSourceAxis(bDirect3D, nSrcVisWidth, r.nSrcX, r.nSrcWidth);
    int nKeptH = CutSourceAxis(bDirect3D, nSrcVisHeight, r.nSrcY, r.nSrcHeight);
    double fx = static_cast<double>(nKeptW) / std::abs(nGivenW);
    double fy = static_cast<double>(nKeptH) / std::abs(nGivenH);
    r.nWidth = static_cast<int>(fx * r.nWidth);
    r.nHeight = static_cast<int>(fy * r.nHeight);
    r.nSrcWidth = bNegW ? -nKeptW : nKeptW;
    r.nSrcHeight = bNegH ? -nKeptH : nKeptH;
    if (!bDirect3D) {
      if (!CutScaledAgainstDest(nDstWidth, r.x, r.nWidth, r.nSrcX, r.nSrcWidth)) return 0;
      if (!CutScaledAgainstDest(nDstHeight, r.y, r.nHeight, r.nSrcY, r.nSrcHeight)) return 0;
    }
  }
  if ((r.nSrcWidth < 0) != bNegW || (r.nSrcHeight < 0) != bNegH) return 0;
  if (r.nSrcWidth == 0 || r.nSrcHeight == 0) return 0;
  return (r.nWidth > 0 && r.nHeight > 0) ? 1 : 0;
}

int DDClipBlt(DDSURFACEDATA* lpDstSD, int* x, int* y, int* nWidth, int* nHeight,
              DDSURFACEDATA* lpSrcSD, int* nSrcX, int* nSrcY, int* nSrcWidth, int* nSrcHeight) {
  if (!lpDstSD || !lpSrcSD) return 0;
  DDBLTRECTS r{*x, *y, *nWidth, *nHeight, *nSrcX, *nSrcY, *nSrcWidth, *nSrcHeight};
  int bLeft = DDClipBltRects(g_DD.lpDTCon != nullptr, lpDstSD->nWidth, lpDstSD->nHeight,
                             lpSrcSD->nWidth, lpSrcSD->nHeight, r);
  *x = r.x;
  *y = r.y;
  *nWidth = r.nWidth;
  *nHeight = r.nHeight;
  *nSrcX = r.nSrcX;
  *nSrcY = r.nSrcY;
  *nSrcWidth = r.nSrcWidth;
  *nSrcHeight = r.nSrcHeight;
  return bLeft;
}
