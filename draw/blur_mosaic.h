// Blur and mosaic: a block of a source averaged with its neighbours, or
// painted in square cells of one colour, onto a destination block of the
// same size, on locked pixels in both drawing modes.
#pragma once

#include "draw/surface_data.h"

// Block pixel (i, j) reads source (nSrcX + i, nSrcY + j) and writes (x + i,
// y + j). The blur averages the box from -radius to radius - 1 on each
// axis, limited to the block; nFlags 1 leaves transparent pixels out. 1
// when done (also for a radius of 0), 0 when a surface cannot be locked or
// unlocked. Refused at 8 bits.
int DDBlur(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nRadiusX,
           int nRadiusY, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags);
// Cells of n x n pixels from the block's top-left corner, each of one
// colour: its top-left source pixel (DirectDraw 8-bit, Direct3D), or the
// average of its source pixels (DirectDraw 16 and 32 bits).
int DDMosaic(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nCell,
             DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags);
