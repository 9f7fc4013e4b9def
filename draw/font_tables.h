// The program's three fonts, their descriptions and their digit sheets:
// font 0 the small one (frame rate, small figures), font 1 the main one
// (menus, messages, boxes), font 2 the large one (titles).
#pragma once

#include "draw/font.h"
#include "draw/surface_data.h"

constexpr int kFontCount = 3;

extern Font g_Font[kFontCount];
extern DDFONTDATA g_FontSpec[kFontCount];
// Digits 0 to 9 in ten cells of pitch × line height, one sheet per font.
extern DDSURFACEDATA g_NumberSheet[kFontCount];
extern DDIMAGEDATA g_NumberSheetImage[kFontCount];

// Creates each sheet at ten cells of its font and draws the digits on it.
int DDCreateNumberSheets(DDSURFACEDATA* lpSheets, DDIMAGEDATA* lpImages, int nCount, Font* lpFonts,
                         DDFONTDATA* lpSpecs);
// Fills the sheet with palette entry 0 and draws "0123456789" at its corner.
void DDRenderNumberSheet(DDSURFACEDATA* lpSheet, Font* lpFont);
// Lets the device restore draw every font's glyph sheets and the program's
// digit sheets again; called once the program's fonts exist.
void DDInstallFontRestore();
