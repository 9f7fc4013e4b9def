// Fades of the whole screen and the palette effects: one fade step per
// frame toward a colour and back, the palette blended toward a colour or
// turned, and the fade of a saved screen in the direct-colour DirectDraw
// modes, where no palette can do it.
#pragma once

#include <cstdint>

#include "draw/pixel_bits.h"
#include "draw/surface_data.h"

// One step of the fade to the colour: 1 when this call completed it (the
// colour drawn in full), else 0. The level follows the sine of an angle
// that falls from 90 to 0 by nStep degrees per call. The DirectDraw 8-bit
// mode blends palette entries nFirst to nLast of Work from Source and shows
// them; the other modes ignore the palettes. bFinish ends the fade at once.
int DDFadeOut(DDPALETTE& Work, int nFirst, int nLast, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
              double dStep, const DDPALETTE& Source, uint8_t bFinish);
// The way back from the colour to the picture, with angles of its own.
int DDFadeIn(DDPALETTE& Work, int nFirst, int nLast, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
             double dStep, const DDPALETTE& Source, uint8_t bFinish);

// Entries nFirst to nLast of Work from Source, mixed with the colour:
// (colour * (256 - level) + source * level) >> 8, flags PC_RESERVED. Level
// 256 gives the source, 0 the colour. The range is cut to 0..255.
void DDBlendPalette(DDPALETTE& Work, int nFirst, int nLast, int nLevel, uint8_t bRed,
                    uint8_t bGreen, uint8_t bBlue, const DDPALETTE& Source);
// Work = Source with entries nFirst to nLast turned by n places: direction 0
// toward higher indexes, 1 toward lower ones, any other only copies. n
// counts modulo the range's length. Nothing at 24 bits.
void DDCyclePalette(DDPALETTE& Work, int nFirst, int nLast, int n, int nDirection,
                    const DDPALETTE& Source);
// The entry as a pixel of the DirectDraw screen format (its fields taken as
// they are); 0 in Direct3D.
uint32_t DDPalToRGB16(const DDPALENTRY* lpEntry);

// DirectDraw 16 and 32 bits: every pixel of the destination (where the
// source has one too) the mix of the source pixel with the colour, level
// 256 the source, 0 the colour. 1, or 0 when a surface cannot be locked.
int DDFade_UnPal(DDSURFACEDATA* lpDstSD, int nLevel, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
                 DDSURFACEDATA* lpSrcSD);
