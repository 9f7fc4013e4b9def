// Where characters rendered on the spot land: the pixels of one surface
// record with a font and its colour in that surface's format. It stands for
// a device context with the font selected, a transparent background and the
// text colour set (DirectDraw), and for the text sprite drawing into a
// render target (Direct3D).
#pragma once

#include <cstdint>

#include "draw/surface_data.h"
#include "platform/font/glyph_source.h"
#include "platform/gfx/image.h"

struct DDTEXTDC {
  DDSURFACEDATA* lpSD = nullptr;
  plat::gfx::cImage* pImage = nullptr;
  plat::gfx::GFXRECT rcClip;  // the record's visible size
  plat::font::cGlyphSource* pFont = nullptr;
  uint32_t dwValue = 0;  // the text colour as a pixel of the surface
};

// Opens the record's text context with the font and its colour (a GDI
// colour 0x00BBGGRR in DirectDraw, ARGB in Direct3D). False when the record
// has no pixels to write (no surface, lost, locked) or there is no font.
bool DDGetTextDC(DDSURFACEDATA* lpSD, plat::font::cGlyphSource* pFont, uint32_t dwColor,
                 DDTEXTDC& dc);

// Draws one character (1 or 2 bytes of pChar) with its pen at x, y (the top
// of its cell), clipped to the record.
void DDTextOutChar(const DDTEXTDC& dc, int x, int y, const char* pChar, int nBytes);
// The extent of the first nBytes of pText in the font: the sum of the
// advances, and the height of a line.
void DDGetTextExtent(plat::font::cGlyphSource* pFont, const char* pText, int nBytes, int* lpWidth,
                     int* lpHeight);
