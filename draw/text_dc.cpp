// Text contexts of surface records.
#include "draw/text_dc.h"

#include <algorithm>
#include <string_view>

#include "draw/draw_context.h"
#include "platform/gfx/bitmap_copy.h"
#include "platform/gfx/pixel_rules.h"

using plat::gfx::ePixelFormat;

bool DDGetTextDC(DDSURFACEDATA* lpSD, plat::font::cGlyphSource* pFont, uint32_t dwColor,
                 DDTEXTDC& dc) {
  dc = DDTEXTDC{};
  if (!lpSD || !pFont) return false;
  plat::gfx::cImage* pImage = nullptr;
  if (g_DD.lpDTCon) {
    if (lpSD->lpDT) pImage = lpSD->lpDT->lpSurface.get();
  } else if (lpSD->lpDDS) {
    pImage = lpSD->lpDDS->lpDDSurface.get();
  }
  // A surface that is locked has no device context to give, and a lost one
  // keeps nothing drawn into it.
  if (!pImage || pImage->IsLost() || pImage->IsLocked()) return false;
  const ePixelFormat format = pImage->GetFormat();
  if (g_DD.lpDTCon) {
    // The text sprite blends an opaque colour: the colour as the device
    // writes it.
    dc.dwValue = plat::gfx::ArgbToPixel(dwColor, format);
  } else {
    const int r = int(dwColor & 0xFF), g = int((dwColor >> 8) & 0xFF),
              b = int((dwColor >> 16) & 0xFF);
    if (format == ePixelFormat::P8) {
      // An 8-bit device context writes the palette entry nearest to the
      // colour among the entries the palette object holds now.
      const std::shared_ptr<plat::gfx::cPalette>& pPalette =
          pImage->GetPalette() ? pImage->GetPalette() : g_DD.lpDDPalette;
      dc.dwValue = pPalette ? uint32_t(plat::gfx::FindNearestPaletteIndex(*pPalette, r, g, b)) : 0;
    } else {
      dc.dwValue = plat::gfx::ArgbToTexel(plat::gfx::MakeArgb(255, r, g, b), format);
    }
  }
  dc.lpSD = lpSD;
  dc.pImage = pImage;
  dc.pFont = pFont;
  dc.rcClip = {0, 0, std::min(lpSD->nWidth, pImage->GetWidth()),
               std::min(lpSD->nHeight, pImage->GetHeight())};
  return true;
}

void DDTextOutChar(const DDTEXTDC& dc, int x, int y, const char* pChar, int nBytes) {
  if (!dc.pImage || !dc.pFont || !pChar || nBytes <= 0) return;
  int nRead = 0;
  const plat::font::GLYPHCODE wCode =
      plat::font::ReadGlyphCode(std::string_view(pChar, size_t(nBytes)), &nRead);
  plat::font::DrawGlyphMask(*dc.pImage, dc.rcClip, x, y, dc.pFont->GetGlyph(wCode), dc.dwValue);
}

void DDGetTextExtent(plat::font::cGlyphSource* pFont, const char* pText, int nBytes, int* lpWidth,
                     int* lpHeight) {
  int nWidth = 0, nHeight = 0;
  if (pFont && pText && nBytes > 0) {
    nWidth = plat::font::MeasureAdvance(*pFont, std::string_view(pText, size_t(nBytes)));
    nHeight = pFont->GetCellHeight();
  }
  if (lpWidth) *lpWidth = nWidth;
  if (lpHeight) *lpHeight = nHeight;
}
