// Drawing operations built only from the blits and the palette-number fill:
// outlined rectangles, framed pictures, numbers from a digit sheet, and the
// distortions of the stage's character and screen effects (a sine wave, an
// interlace split, a card turning over, a four-quarter split). They keep no
// state; everything mode-specific happens in the blits they call.
#pragma once

#include <cstdint>

#include "draw/surface_data.h"

// An outline of the given thickness inside the rectangle.
void DDFrameRect(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nThickness,
                 uint32_t dwPalNum);
// The source's top-left width × height, unkeyed, with an outline around it
// (outside the picture).
void DDBltFrame(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                DDSURFACEDATA* lpSrcSD, int nThickness, uint32_t dwPalNum);
// A value of at least nMinDigits places, right-aligned in them (centred
// with bCenter); the sheet holds the digits 0 to 9 side by side from
// (nSheetX, nSheetY). A negative value draws nothing.
void DDDrawNumber(DDSURFACEDATA* lpDstSD, int x, int y, int nDigitWidth, int nDigitHeight,
                  DDSURFACEDATA* lpSheetSD, int nSheetX, int nSheetY, int nFlags, int nValue,
                  int nMinDigits, int bCenter);
// Lines (columns with bVertical, else rows) or strips of nStrip lines moved
// by nAmplitude × sin of an angle that runs nWaves full periods across the
// block, starting at nPhase degrees.
void DDBltWave(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nWaves,
               double dAmplitude, int nPhase, int nStrip, DDSURFACEDATA* lpSrcSD, int nSrcX,
               int nSrcY, int nFlags, int bVertical);
// Strips of nStrip columns (bColumn) or rows, the odd ones moved by
// -nOffset and the even ones by +nOffset across the strips.
void DDBltInterlace(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nStrip,
                    int nOffset, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                    int bColumn);
// A card turning about its vertical (mode 0) or horizontal (mode 1) axis,
// one step per counter value; the face changes at the narrowest point.
int DDBltFlip(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
              DDSURFACEDATA* lpFrontSD, int nFrontX, int nFrontY, DDSURFACEDATA* lpBackSD,
              int nBackX, int nBackY, int nFaceWidth, int nFaceHeight, int nFlags, int nCounter,
              int nMode);
// The four quarters of the block moved apart diagonally by nOffset.
void DDBltQuarter(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                  DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nOffset, int nFlags);
