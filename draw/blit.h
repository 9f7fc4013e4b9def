// Blits, fills and the small operations built on fills; the tint state of
// Direct3D blits.
#pragma once

#include <cstdint>

#include "draw/blit_clip.h"
#include "draw/surface_data.h"

// Colour and stage operation of one tinted blit.
struct DDBLTCOLOR {
  uint32_t dwColor = 0xFFFFFFFF;
  int nColorOp = 4;
};

int DDBlt(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrcSD,
          int nSrcX, int nSrcY, int nFlags);
int DDBltStretch(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                 DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                 int nFlags);
int DDBltColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
               DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags, const DDBLTCOLOR* lpColor);
// A shared mirrored record's source rectangle mapped onto the texture it
// shares (Direct3D): a frame-wide rectangle runs backwards from the frame's
// far edge, a narrower one is mirrored inside its frame.
void DDWrapSourceRect(const DDSURFACEDATA* lpSD, plat::gfx::cImageView& src);

int DDBltStretchColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                      DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                      int nFlags, const DDBLTCOLOR* lpColor);

void DDSetBltColor(uint32_t dwColor);
void DDResetBltColor();
void DDSetColorOp(int nOp);
void DDResetColorOp();
void DDSetAlphaOp(int nOp);
void DDResetAlphaOp();

void DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, uint32_t dwPalNum);
void DDFillSurface(DDSURFACEDATA* lpSD, uint32_t dwPalNum);
void DDFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, uint32_t dwColor);
void DDFillSurfaceColor(DDSURFACEDATA* lpSD, uint32_t dwColor);
void DDPutPixel(DDSURFACEDATA* lpSD, int x, int y, uint32_t dwPalNum);
void DDCircle(DDSURFACEDATA* lpSD, int nCenterX, int nCenterY, int nRadius, uint32_t dwPalNum);
void DDTextOutSheet(DDSURFACEDATA* lpDstSD, int x, int y, int nCellWidth, int nCellHeight,
                    DDSURFACEDATA* lpSheetSD, const char* szText);
void DDPrintfSheet(DDSURFACEDATA* lpDstSD, int x, int y, int nCellWidth, int nCellHeight,
                   DDSURFACEDATA* lpSheetSD, const char* szFormat, ...)
    __attribute__((format(printf, 7, 8)));

// True for the back buffer of a full-screen device (R5G6B5 at 16 bits).
bool DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD);
