// The glyph source opener, Shift-JIS character codes and the mask writer.
#include "platform/font/glyph_source.h"

#include <algorithm>
#include <atomic>

#include "platform/text/cp932.h"

namespace plat::font {

// The real opener (platform/font/freetype_source.cpp).
std::unique_ptr<cGlyphSource> OpenFreeTypeSource(std::string_view strFace, int nHeight, int nWidth,
                                                 std::string* pstrError);

namespace {

std::atomic<GLYPHSOURCEOPENER> g_pfnOpener{nullptr};

}  // namespace

std::unique_ptr<cGlyphSource> OpenGlyphSource(std::string_view strFace, int nHeight, int nWidth,
                                              std::string* pstrError) {
  if (GLYPHSOURCEOPENER pfn = g_pfnOpener.load()) return pfn(strFace, nHeight, nWidth, pstrError);
  return OpenFreeTypeSource(strFace, nHeight, nWidth, pstrError);
}

void SetGlyphSourceOpener(GLYPHSOURCEOPENER pfnOpener) { g_pfnOpener = pfnOpener; }

GLYPHCODE ReadGlyphCode(std::string_view text, int* pnBytes) {
  if (text.empty()) {
    if (pnBytes) *pnBytes = 0;
    return 0;
  }
  const auto lead = static_cast<unsigned char>(text[0]);
  if (text.size() >= 2 && IsCp932LeadByte(lead) &&
      IsCp932TrailByte(static_cast<unsigned char>(text[1]))) {
    if (pnBytes) *pnBytes = 2;
    return static_cast<GLYPHCODE>(lead << 8 | static_cast<unsigned char>(text[1]));
  }
  if (pnBytes) *pnBytes = 1;
  return lead;
}

int MeasureAdvance(cGlyphSource& source, std::string_view text) {
  int nWidth = 0;
  while (!text.empty()) {
    int nBytes = 0;
    const GLYPHCODE wCode = ReadGlyphCode(text, &nBytes);
    nWidth += source.GetGlyph(wCode).nAdvance;
    text.remove_prefix(size_t(nBytes));
  }
  return nWidth;
}

void DrawGlyphMask(gfx::cImage& image, const gfx::GFXRECT& rcClip, int x, int y,
                   const GLYPHMASK& glyph, uint32_t dwValue) {
  const int nLeft = std::max({rcClip.nLeft, 0, x + glyph.nLeft});
  const int nTop = std::max({rcClip.nTop, 0, y + glyph.nTop});
  const int nRight = std::min({rcClip.nRight, image.GetWidth(), x + glyph.nLeft + glyph.nWidth});
  const int nBottom = std::min({rcClip.nBottom, image.GetHeight(), y + glyph.nTop + glyph.nHeight});
  if (nLeft >= nRight || nTop >= nBottom) return;
  const int nBytes = image.GetBytesPerPixel();
  for (int py = nTop; py < nBottom; ++py) {
    const uint8_t* pInk = glyph.Ink.data() + size_t(py - y - glyph.nTop) * size_t(glyph.nWidth);
    const int nInkLeft = x + glyph.nLeft;
    uint8_t* pRow = image.GetRow(py);
    for (int px = nLeft; px < nRight; ++px) {
      if (!pInk[px - nInkLeft]) continue;
      uint8_t* p = pRow + size_t(px) * size_t(nBytes);
      switch (nBytes) {
        case 1:
          p[0] = uint8_t(dwValue);
          break;
        case 2:
          p[0] = uint8_t(dwValue);
          p[1] = uint8_t(dwValue >> 8);
          break;
        case 4:
          p[0] = uint8_t(dwValue);
          p[1] = uint8_t(dwValue >> 8);
          p[2] = uint8_t(dwValue >> 16);
          p[3] = uint8_t(dwValue >> 24);
          break;
        default:
          break;
      }
    }
  }
}

}  // namespace plat::font
