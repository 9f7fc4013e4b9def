// Composite blits. The multi-blit distortions queue their pieces in one
// unsorted sprite batch, so in Direct3D they are drawn together.
#include "draw/composite_blits.h"

#include <cmath>

#include "base/trunc_int.h"
#include "draw/blit.h"
#include "draw/scene_batch.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

}  // namespace

void DDFrameRect(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nThickness,
                 uint32_t dwPalNum) {
  DDFillBatchBegin();
  DDFillRect(lpDstSD, x, y, nWidth, nThickness, dwPalNum);
  DDFillRect(lpDstSD, x, y + nHeight - nThickness, nWidth, nThickness, dwPalNum);
  DDFillRect(lpDstSD, x, y, nThickness, nHeight, dwPalNum);
  DDFillRect(lpDstSD, x + nWidth - nThickness, y, nThickness, nHeight, dwPalNum);
  DDFillBatchEnd();
}

void DDBltFrame(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                DDSURFACEDATA* lpSrcSD, int nThickness, uint32_t dwPalNum) {
  DDBlt(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, 0, 0, 0);
  DDFrameRect(lpDstSD, x - nThickness, y - nThickness, nWidth + 2 * nThickness,
              nHeight + 2 * nThickness, nThickness, dwPalNum);
}

void DDDrawNumber(DDSURFACEDATA* lpDstSD, int x, int y, int nDigitWidth, int nDigitHeight,
                  DDSURFACEDATA* lpSheetSD, int nSheetX, int nSheetY, int nFlags, int nValue,
                  int nMinDigits, int bCenter) {
  if (nValue < 0) return;
  int nDigits = 1;
  int nPower = 1;  // 10^(nDigits - 1)
  while (nValue / nPower >= 10) {
    nPower *= 10;
    ++nDigits;
  }
  if (nDigits < nMinDigits) {
    int nOffset = nDigitWidth * (nMinDigits - nDigits);
    if (bCenter) nOffset /= 2;
    x += nOffset;
  }
  for (; nPower > 0; nPower /= 10) {
    const int nDigit = nValue / nPower % 10;
    DDBlt(lpDstSD, x, y, nDigitWidth, nDigitHeight, lpSheetSD, nSheetX + nDigitWidth * nDigit,
          nSheetY, nFlags);
    x += nDigitWidth;
  }
}

void DDBltWave(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nWaves,
               double dAmplitude, int nPhase, int nStrip, DDSURFACEDATA* lpSrcSD, int nSrcX,
               int nSrcY, int nFlags, int bVertical) {
  const int nLength = bVertical ? nWidth : nHeight;
  // A block without lines has no angle step to divide out.
  if (nStrip <= 0 || nLength <= 0) return;
  const double m = nWaves * kRadiansPerDegree;
  const double dStep = 360.0 / nLength;
  double dSum = 0.0;
  DDBatchBegin(0);
  for (int i = 0; i < nLength; i += nStrip) {
    // The sum grows before its first use: the last line sits at 360.
    dSum += dStep * nStrip;
    const int nOff = TruncI32(dAmplitude * std::sin(m * (nPhase + dSum)));
    const int nSize = nStrip < nLength - i ? nStrip : nLength - i;
    if (bVertical)
      DDBlt(lpDstSD, x + i, y + nOff, nSize, nHeight, lpSrcSD, nSrcX + i, nSrcY, nFlags);
    else
      DDBlt(lpDstSD, x + nOff, y + i, nWidth, nSize, lpSrcSD, nSrcX, nSrcY + i, nFlags);
  }
  DDBatchEnd();
}

void DDBltInterlace(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nStrip,
                    int nOffset, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                    int bColumn) {
  if (nStrip == 0) {
    DDBlt(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nFlags);
    return;
  }
  const int s = nStrip, f = nOffset;
  // Whole strips only: the remainder of the block is not drawn.
  const int nStrips = (bColumn ? nWidth : nHeight) / s;
  DDBatchBegin(0);
  // The odd strips first, then the even ones.
  for (int j = 0; j < nStrips / 2; ++j) {
    const int d = s + 2 * s * j;
    if (bColumn)
      DDBlt(lpDstSD, x + d, y - f, s, nHeight, lpSrcSD, nSrcX + d, nSrcY, nFlags);
    else
      DDBlt(lpDstSD, x - f, y + d, nWidth, s, lpSrcSD, nSrcX, nSrcY + d, nFlags);
  }
  for (int j = 0; j < (nStrips + 1) / 2; ++j) {
    const int d = 2 * s * j;
    if (bColumn)
      DDBlt(lpDstSD, x + d, y + f, s, nHeight, lpSrcSD, nSrcX + d, nSrcY, nFlags);
    else
      DDBlt(lpDstSD, x + f, y + d, nWidth, s, lpSrcSD, nSrcX, nSrcY + d, nFlags);
  }
  DDBatchEnd();
}

int DDBltFlip(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
              DDSURFACEDATA* lpFrontSD, int nFrontX, int nFrontY, DDSURFACEDATA* lpBackSD,
              int nBackX, int nBackY, int nFaceWidth, int nFaceHeight, int nFlags, int nCounter,
              int nMode) {
  if (nMode != 0 && nMode != 1) return 0;
  const int nLength = nMode == 0 ? nWidth : nHeight;
  const int u = nLength / 2;
  // A card narrower than two lines has no turn to show.
  if (u == 0) return 0;
  const int r = nCounter;
  const int v = (r / u) % 2 == 0 ? r % u : u - (r % u) - 1;
  const bool bBack = ((r + u) / nLength) % 2 != 0;
  DDSURFACEDATA* lpFace = bBack ? lpBackSD : lpFrontSD;
  const int nFaceX = bBack ? nBackX : nFrontX, nFaceY = bBack ? nBackY : nFrontY;
  if (nMode == 0)
    return DDBltStretch(lpDstSD, x + v, y, nWidth - 2 * v, nHeight, lpFace, nFaceX, nFaceY,
                        nFaceWidth, nFaceHeight, nFlags);
  return DDBltStretch(lpDstSD, x, y + v, nWidth, nHeight - 2 * v, lpFace, nFaceX, nFaceY,
                      nFaceWidth, nFaceHeight, nFlags);
}

void DDBltQuarter(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                  DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nOffset, int nFlags) {
  // Halved downwards: an odd last column or row is not drawn.
  const int w2 = nWidth / 2, h2 = nHeight / 2, o = nOffset;
  DDBatchBegin(0);
  DDBlt(lpDstSD, x - o, y - o, w2, h2, lpSrcSD, nSrcX, nSrcY, nFlags);
  DDBlt(lpDstSD, x + w2 + o, y - o, w2, h2, lpSrcSD, nSrcX + w2, nSrcY, nFlags);
  DDBlt(lpDstSD, x - o, y + h2 + o, w2, h2, lpSrcSD, nSrcX, nSrcY + h2, nFlags);
  DDBlt(lpDstSD, x + w2 + o, y + h2 + o, w2, h2, lpSrcSD, nSrcX + w2, nSrcY + h2, nFlags);
  DDBatchEnd();
}
