// Clipping of a blit against its source and destination surfaces.
#pragma once

struct DDSURFACEDATA;

// The rectangles of one blit as DDClipBlt adjusts them in place.
struct DDBLTRECTS {
  int x = 0, y = 0, nWidth = 0, nHeight = 0;
  int nSrcX = 0, nSrcY = 0, nSrcWidth = 0, nSrcHeight = 0;
};

// Clips against visible sizes; bDirect3D selects the mode's rule for scaled
// and mirrored blits. Returns 1 when something is left to draw.
int DDClipBltRects(bool bDirect3D, int nDstWidth, int nDstHeight, int nSrcVisWidth,
                   int nSrcVisHeight, DDBLTRECTS& r);

// The library's entry: the mode is the current drawing mode, the sizes those
// of the two records.
int DDClipBlt(DDSURFACEDATA* lpDstSD, int* x, int* y, int* nWidth, int* nHeight,
              DDSURFACEDATA* lpSrcSD, int* nSrcX, int* nSrcY, int* nSrcWidth, int* nSrcHeight);
