// Palette numbers, the palette picture and the colour key.
#pragma once

#include <cstdint>

#include "draw/pixel_bits.h"
#include "draw/surface_data.h"

uint32_t PalNumToRGB(uint32_t dwPalNum);
bool DDLoadPaletteFromFile(DDPALETTE& Palette, const char* szFileName, int nUnused);
void DDSetTransmit(uint8_t cbRed, uint8_t cbGreen, uint8_t cbBlue);
bool DDSetTransmitFromFile(const char* szFileName);

// Reads the 256 colours from the 16 x 16 block of a palette picture.
void DDSetPalette_UnPal(DDPALETTE& Palette, DDSURFACEDATA* lpSD);
// Shifts and maxima of the DirectDraw screen format (colour channels only).
void DDGetPixelFormatBits(DDPIXELBITS* lpBits);
