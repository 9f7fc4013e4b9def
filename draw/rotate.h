// The rotated blit: a rectangle of a source turned by whole degrees about a
// pivot, drawn so that the pivot lands on a point of the destination.
#pragma once

#include "draw/surface_data.h"

// The source rectangle nSrcX, nSrcY, nWidth x nHeight turned by nAngle
// degrees about its point (nPivotX, nPivotY) and drawn with that point at
// (x, y); nFlags 1 leaves the key out. Drawn by the device as one quad with
// the current tint state (Direct3D, render-target destination, source in
// video memory), else by an inverse mapping in 10-bit fixed point. False
// when that mapping cannot lock or unlock a surface.
bool DDBltRotate(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nPivotX,
                 int nPivotY, int nAngle, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags);
