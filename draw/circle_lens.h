// The circle window and the lens: the part of a source inside a circle
// copied row by row (or in bands), and a circle whose pixels come from
// points pulled toward its centre so that the middle looks magnified.
#pragma once

#include "draw/surface_data.h"

// The circle of nRadius around (nSrcCX, nSrcCY) of the source, centred on
// (cx, cy) of the destination, limited to nHalfWidth left and right of the
// source centre and nHalfHeight above and below it; nStep rows per band.
// Each row spans an even number of pixels, cx - w .. cx + w - 1.
void DDBltCircle(DDSURFACEDATA* lpDstSD, int cx, int cy, int nHalfWidth, int nHalfHeight,
                 int nRadius, int nStep, DDSURFACEDATA* lpSrcSD, int nSrcCX, int nSrcCY,
                 int nFlags);
// The lens of nRadius; a larger strength gives a weaker lens. bClear: in
// Direct3D 32-bit, transparent black wherever nothing is drawn. False when
// a surface cannot be locked or unlocked.
bool DDBltRadial(DDSURFACEDATA* lpDstSD, int cx, int cy, int nRadius, int nStrength,
                 DDSURFACEDATA* lpSrcSD, int nSrcCX, int nSrcCY, int nFlags, int bClear);
