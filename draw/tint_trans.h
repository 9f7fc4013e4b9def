// Tint, translucency and the colour overlay: a sprite pulled toward a
// palette colour by halvings, a sprite mixed with what lies under it, and a
// colour laid over a rectangle of the screen.
#pragma once

#include <cstdint>

#include "draw/blend_table.h"
#include "draw/pixel_bits.h"
#include "draw/surface_data.h"

// Every pixel of the source rectangle pulled toward palette entry (the low
// byte of) dwColor by nLevel halvings; nFlags 1 leaves the key out. The
// 8-bit mode looks the halvings up in the blend table. False when a surface
// cannot be locked or unlocked.
bool DDBltTint(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
               DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags, const DDPALETTE* lpPalette,
               const uint8_t* lpBlendTable, uint32_t dwColor, int nLevel);
// A translucent blit: nLevel 0 (opaque) to 255 (invisible) on the device;
// the software paths always mix half and half.
bool DDBltTrans(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                const uint8_t* lpBlendTable, int nLevel);
bool DDBltHalfTrans(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                    DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                    const uint8_t* lpBlendTable);
// Direct3D only: the colour laid over the rectangle with transparency
// nAlpha (0 opaque, 255 invisible). Result 1.
int DDChangeColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nAlpha,
                  uint8_t bRed, uint8_t bGreen, uint8_t bBlue);
// The same quad drawn with the texture and vertex buffer of lpQuadSD.
int DDChangeColorBlt(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                     DDSURFACEDATA* lpQuadSD, int nAlpha, uint8_t bRed, uint8_t bGreen,
                     uint8_t bBlue);
