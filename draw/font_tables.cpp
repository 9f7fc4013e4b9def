// The program's fonts and digit sheets.
#include "draw/font_tables.h"

#include <cstring>

#include "base/global_order.h"
#include "draw/blit.h"
#include "draw/device_restore.h"
#include "draw/surfaces.h"

GLOBAL_OBJECT(GLOBAL_FONTS) Font g_Font[kFontCount];
GLOBAL_OBJECT(GLOBAL_NUMBER_SHEETS) DDSURFACEDATA g_NumberSheet[kFontCount];

namespace {

DDFONTDATA FontSpec(int nHeight, int nCell, int nFontCache) {
  DDFONTDATA d;
  // Start-up puts the face the game chose in its place.
  std::strcpy(d.szFace, "ＭＳ ゴシック");
  d.nWidth = 0;
  d.nHeight = nHeight;
  d.nPitch = nCell;
  d.nLineHeight = nCell;
  d.nPalNum = 241;
  d.nWindowSheet = 45;  // bmp\Window.bmp
  d.nFrameThickness = 1;
  d.nFrameColor = 240;
  d.nSymbolSheet = 50;  // bmp\Symbol.bmp
  d.nFontCache = nFontCache;
  return d;
}

DDIMAGEDATA NumberSheetImage() {
  DDIMAGEDATA d;
  d.bColorKey = 1;
  return d;
}

}  // namespace

GLOBAL_OBJECT(GLOBAL_FONT_SPECS)
DDFONTDATA g_FontSpec[kFontCount] = {FontSpec(9, 10, 2), FontSpec(16, 16, 2), FontSpec(30, 32, 0)};
GLOBAL_OBJECT(GLOBAL_NUMBER_IMAGES)
DDIMAGEDATA g_NumberSheetImage[kFontCount] = {NumberSheetImage(), NumberSheetImage(),
                                              NumberSheetImage()};

int DDCreateNumberSheets(DDSURFACEDATA* lpSheets, DDIMAGEDATA* lpImages, int nCount, Font* lpFonts,
                         DDFONTDATA* lpSpecs) {
  for (int i = 0; i < nCount; ++i) {
    const DDIMAGEDATA& img = lpImages[i];
    DDCreateSurface(&lpSheets[i], lpSpecs[i].nPitch * 10, lpSpecs[i].nLineHeight, img.bColorKey,
                    img.nMemory, img.nMemoryType, img.bShare, 0);
    DDRenderNumberSheet(&lpSheets[i], &lpFonts[i]);
  }
  return 1;
}

void DDRenderNumberSheet(DDSURFACEDATA* lpSheet, Font* lpFont) {
  if (!lpSheet || !lpFont) return;
  DDFillRect(lpSheet, 0, 0, lpSheet->nWidth, lpSheet->nHeight, 0);
  lpFont->DrawText(lpSheet, 0, 0, "0123456789");
}

void DDInstallFontRestore() {
  DDFONTRESTORE hooks;
  hooks.pfnRestore = [] {
    for (Font* pFont : g_FontList) pFont->Restore();
  };
  hooks.pfnRenderNumberSheet = [](DDSURFACEDATA* lpSheet, int nFont) {
    if (nFont >= 0 && nFont < kFontCount) DDRenderNumberSheet(lpSheet, &g_Font[nFont]);
  };
  DDSetFontRestore(hooks);
}
