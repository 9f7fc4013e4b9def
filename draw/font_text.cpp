// Drawing and measuring text with a font, and the window boxes around it.
// Characters come from the glyph sheets when the font cache is on, and are
// otherwise rendered on the spot; in DirectDraw, and onto textures that
// cannot be rendered to, the characters rendered on the spot go to the
// font's work surface first, which is then laid over the destination with
// its colour key.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/run_options.h"
#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/font.h"
#include "draw/palette_key.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "draw/text_dc.h"
#include "platform/gfx/pixel_format.h"

namespace {

// Whether the work surface's clear (palette number 0, as a fill writes it)
// is a pixel that its keyed blit leaves out.
bool WorkClearIsKey(const DDSURFACEDATA& sd) {
  if (!sd.lpDDS || !sd.lpDDS->lpDDSurface) return false;
  const plat::gfx::cImage& image = *sd.lpDDS->lpDDSurface;
  if (!image.HasColorKey()) return false;
  const int nBytes = image.GetBytesPerPixel();
  const uint32_t dwBits = nBytes >= 4 ? ~0u : (1u << (8 * nBytes)) - 1;
  const uint32_t dwMask = plat::gfx::GetKeyMask(image.GetFormat()) & dwBits;
  return (PalNumToRGB(0) & dwMask) == (image.GetColorKey() & dwMask);
}

constexpr int kCentred = 10000;  // a box coordinate that asks for centring
constexpr int kMeasuredLineBytes = 511;

// A box coordinate of 10000 centres the box on the window sheet.
void CentreBox(const DDSURFACEDATA* lpWindowSD, int nWidth, int nHeight, int& x, int& y) {
  const int nSheetWidth = lpWindowSD ? lpWindowSD->nWidth : 0;
  const int nSheetHeight = lpWindowSD ? lpWindowSD->nHeight : 0;
  if (x == kCentred) x = (nSheetWidth >> 1) - (nWidth >> 1);
  if (y == kCentred) y = (nSheetHeight >> 1) - (nHeight >> 1);
}

bool IsFullWidthSpace(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0x81 && static_cast<unsigned char>(p[1]) == 0x40;
}

// Calls fn(line, bytes) for each line of the text; a line feed at the end
// gives one more, empty line.
template <typename FN>
void ForEachLine(const char* szText, FN fn) {
  const char* p = szText;
  for (;;) {
    const int n = TextLineLength(p);
    fn(p, n);
    if (p[n] != '\n') break;
    p += n + 1;
  }
}

}  // namespace

int TextLineLength(const char* szText) {
  if (!szText) return 0;
  const char* p = szText;
  while (*p && *p != '\n') ++p;
  return static_cast<int>(p - szText);
}

void Font::GetTextSize(const char* szText, int* lpWidth, int* lpHeight) const {
  int nWidest = 0, nLines = 0;
  if (szText) {
    ForEachLine(szText, [&](const char* p, int n) {
      // A measured line holds at most 511 bytes.
      char szLine[kMeasuredLineBytes + 1];
      const int nBytes = n < kMeasuredLineBytes ? n : kMeasuredLineBytes;
      std::memcpy(szLine, p, size_t(nBytes));
      szLine[nBytes] = 0;
      nWidest = std::max(nWidest, CountChars(szLine));
      ++nLines;
    });
  }
  if (lpWidth) *lpWidth = nWidest * m_nPitch;
  if (lpHeight) *lpHeight = nLines * m_nLineHeight;
}

void Font::MeasureGdi(const char* szText, int* lpWidth, int* lpHeight) const {
  int nWidest = 0, nLines = 0;
  plat::font::cGlyphSource* pFont = GetGlyphSource();
  if (szText) {
    ForEachLine(szText, [&](const char* p, int n) {
      int nWidth = 0;
      DDGetTextExtent(pFont, p, std::min(n, kMeasuredLineBytes), &nWidth, nullptr);
      nWidest = std::max(nWidest, nWidth);
      ++nLines;
    });
  }
  if (lpWidth) *lpWidth = nWidest;
  if (lpHeight) *lpHeight = nLines * m_nLineHeight;
}

void Font::MeasureText(const char* szText, int* lpWidth, int* lpHeight) const {
  if (m_nPitch != 0)
    GetTextSize(szText, lpWidth, lpHeight);
  else
    MeasureGdi(szText, lpWidth, lpHeight);
}

int Font::DrawText(DDSURFACEDATA* lpDstSD, int x, int y, const char* szText) {
  if (SkipsRaster()) return 1;
  if (!lpDstSD || !szText) return 0;
  if (g_DD.lpDTCon) {
    DTCONDATA& con = *g_DD.lpDTCon;
    DDResolveSurface(&lpDstSD);
    DDRedirectBackBuffer(&lpDstSD);
    if (!lpDstSD->lpDT) return 0;
    if (lpDstSD->lpDT->bRenderTarget) {
      if (!m_nFontCache) {
        if (!DDBeginScene()) return 0;
        DDSetRenderTarget(0, lpDstSD);
      }
      DrawChars(lpDstSD, nullptr, x, y, lpDstSD, x, y, szText, m_bFastFont);
      DrawSymbols(lpDstSD, x, y, szText);
      if (!m_nFontCache) DDSetRenderTarget(0, con.lpScreenTarget);
      return 1;
    }
    // A texture that cannot be rendered to: the characters rendered on the
    // spot go through the work surface.
    int w = 0, h = 0;
    MeasureText(szText, &w, &h);
    DDFillRect(&m_WorkSD, 0, 0, w, h, 0);
    if (!m_nFontCache) {
      if (!DDBeginScene()) return 0;
      DDSetRenderTarget(0, &m_WorkSD);
    }
    DrawChars(&m_WorkSD, nullptr, 0, 0, lpDstSD, x, y, szText, m_bFastFont);
    DrawSymbols(&m_WorkSD, 0, 0, szText);
    if (!m_nFontCache) DDSetRenderTarget(0, con.lpScreenTarget);
    DDBlt(lpDstSD, x, y, w, h, &m_WorkSD, 0, 0, 1);
    return 1;
  }
  int w = 0, h = 0;
  MeasureText(szText, &w, &h);
  // Cells go over with the key when the first character is rendered into
  // them. A line wholly from the glyph sheets renders none: the work area
  // would stay all key, its keyed blit would draw nothing, and both are
  // left out (only where the key really is what the blit leaves out, and
  // never onto the screen itself, whose every blit shows it).
  m_nWorkClearWidth = w;
  m_nWorkClearHeight = h;
  if (m_nPitch == 0 || lpDstSD == &PrimarySD || !WorkClearIsKey(m_WorkSD)) SettleWorkClear();
  DDTEXTDC dc;
  // Without a device context the characters rendered on the spot are lost;
  // those from the sheets still land.
  DDTEXTDC* lpDC = DDGetTextDC(&m_WorkSD, m_hFont.get(), m_dwColor, dc) ? &dc : nullptr;
  DrawChars(&m_WorkSD, lpDC, 0, 0, lpDstSD, x, y, szText, m_bFastFont);
  const bool bRendered = m_nWorkClearWidth == 0 && m_nWorkClearHeight == 0;
  m_nWorkClearWidth = m_nWorkClearHeight = 0;
  if (bRendered) DDBlt(lpDstSD, x, y, w, h, &m_WorkSD, 0, 0, 1);
  DrawSymbols(lpDstSD, x, y, szText);
  return 1;
}

void Font::SettleWorkClear() {
  if (m_nWorkClearWidth == 0 && m_nWorkClearHeight == 0) return;
  DDFillRect(&m_WorkSD, 0, 0, m_nWorkClearWidth, m_nWorkClearHeight, 0);
  m_nWorkClearWidth = m_nWorkClearHeight = 0;
}

void Font::DrawChars(DDSURFACEDATA* lpSD, DDTEXTDC* lpDC, int x0, int y0, DDSURFACEDATA* lpSheetSD,
                     int sx0, int sy0, const char* szText, int bSymbols) {
  if (!szText) return;
  DDBatchBegin(1);
  if (m_nPitch == 0) {
    // Proportional: each line at x0, its characters one advance apart.
    DDTEXTDC dc;
    DDTEXTDC* lpLineDC = lpDC;
    if (g_DD.lpDTCon) lpLineDC = DDGetTextDC(lpSD, m_lpFont.get(), m_dwColor, dc) ? &dc : nullptr;
    int nLine = 0;
    ForEachLine(szText, [&](const char* p, int n) {
      for (int i = 0, dx = 0; lpLineDC && i < n;) {
        const int nBytes = IsDBCSPair(p + i) ? 2 : 1;
        DDTextOutChar(*lpLineDC, x0 + dx, y0 + nLine * m_nLineHeight, p + i, nBytes);
        int w = 0;
        DDGetTextExtent(lpLineDC->pFont, p + i, nBytes, &w, nullptr);
        dx += w;
        i += nBytes;
      }
      ++nLine;
    });
    DDBatchEnd();
    return;
  }
  const bool bSheets = m_nFontCache && lpSheetSD;
  const bool bSymbolPictures = bSymbols && HasSymbolSheet();
  int dx = 0, dy = 0;
  for (const char* p = szText; *p;) {
    if (IsDBCSPair(p)) {
      if (IsFullWidthSpace(p)) {
        // Only advances.
      } else if (!bSheets || !m_lpFastFont_FullAdd) {
        DrawGlyph(lpSD, lpDC, x0 + dx, y0 + dy, p, 2);
      } else if (!m_lpFastFont_FullAdd->BltFull(lpSheetSD, sx0 + dx, sy0 + dy, p, 1)) {
        if (!m_lpFastFont_FullAdd->Add(p)) {
          // A full sheet renders the newcomers on the spot every time.
          DrawGlyph(lpSD, lpDC, x0 + dx, y0 + dy, p, 2);
        } else {
          RenderIntoCell(m_lpFastFont_FullAdd->m_Entries.back());
          m_lpFastFont_FullAdd->BltFull(lpSheetSD, sx0 + dx, sy0 + dy, p, 1);
        }
      }
      dx += m_nPitch;
      p += 2;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b == '\n') {
      dy += m_nLineHeight;
      dx = 0;
    } else if (b == ' ' || (b >= 'a' && b <= 'z' && bSymbolPictures)) {
      // Only advances (the symbol pictures come with DrawSymbols).
      dx += m_nPitch;
    } else if (bSheets && m_lpFastFont_Half) {
      m_lpFastFont_Half->BltHalf(lpSheetSD, sx0 + dx, sy0 + dy, b, 1);
      dx += m_nPitch;
    } else {
      DrawGlyph(lpSD, lpDC, x0 + dx, y0 + dy, p, 1);
      dx += m_nPitch;
    }
    ++p;
  }
  DDBatchEnd();
}

void Font::RenderIntoCell(const FASTFONTENTRY& entry) {
  DDSURFACEDATA* lpSheet = &m_lpFastFont_FullAdd->m_Sheet;
  if (g_DD.lpDTCon) {
    // The text sprite draws the character at the cell's corner.
    if (!DDBeginScene()) return;
    DDSetRenderTarget(0, lpSheet);
    DDTEXTDC dc;
    if (DDGetTextDC(lpSheet, m_lpFont.get(), m_dwColor, dc))
      DDTextOutChar(dc, entry.x, entry.y, entry.chChar, 2);
    DDSetRenderTarget(0, g_DD.lpDTCon->lpScreenTarget);
    return;
  }
  // An 8-bit device context takes the nearest colour of the palette object
  // as it is now; during a fade the font's entry is put back for the
  // character, so the sheet keeps the true colour.
  const bool b8 = g_DD.nBpp == 8 && g_DD.lpDDPalette && m_nPalNum >= 0 && m_nPalNum <= 255;
  if (b8) g_DD.lpDDPalette->SetEntries(m_nPalNum, 1, &g_DD.ProgramPalette[size_t(m_nPalNum)]);
  DDTEXTDC dc;
  if (DDGetTextDC(lpSheet, m_hFont.get(), m_dwColor, dc))
    DrawGlyph(lpSheet, &dc, entry.x, entry.y, entry.chChar, 2);
  if (b8) g_DD.lpDDPalette->SetEntries(m_nPalNum, 1, &g_DD.DisplayPalette[size_t(m_nPalNum)]);
}

void Font::DrawGlyph(DDSURFACEDATA* lpSD, DDTEXTDC* lpDC, int x, int y, const char* pChar, int n) {
  DDTEXTDC dc;
  if (g_DD.lpDTCon) {
    if (m_nFontCache && !DDBeginScene()) return;
    if (!DDGetTextDC(lpSD, m_lpFont.get(), m_dwColor, dc)) return;
    if (m_nFontCache) DDSetRenderTarget(0, lpSD);
  } else {
    if (!lpDC) return;
    dc = *lpDC;
    if (lpSD == &m_WorkSD) SettleWorkClear();
  }
  const int p = m_nPitch, h = m_nLineHeight;
  int px = x, py = y;
  if (m_bCenterGlyphs) {
    int tw = 0, th = 0;
    DDGetTextExtent(dc.pFont, pChar, n, &tw, &th);
    px = x + (p >> 1) - (tw >> 1);
    py = y + (h >> 1) - (th >> 1);
  } else if (n == 1) {
    px = x + (p >> 3);
    py = y + (h >> 4) - 1;
  }
  DDTextOutChar(dc, px, py, pChar, n);
  if (g_DD.lpDTCon && m_nFontCache) DDSetRenderTarget(0, g_DD.lpDTCon->lpScreenTarget);
}

void Font::DrawSymbols(DDSURFACEDATA* lpDstSD, int x, int y, const char* szText) {
  if (!szText || !m_bFastFont || !HasSymbolSheet() || m_nPitch == 0) return;
  DDBatchBegin(0);
  int dx = 0, dy = 0;
  for (const char* p = szText; *p;) {
    if (IsDBCSPair(p)) {
      dx += m_nPitch;
      p += 2;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b >= 'a' && b <= 'z') {
      DDBlt(lpDstSD, x + dx, y + dy, m_nPitch, m_nLineHeight, m_lpSymbolSD, m_nPitch * (b - 'a'), 0,
            1);
      dx += m_nPitch;
    } else if (b == '\n') {
      dy += m_nLineHeight;
      dx = 0;
    } else {
      dx += m_nPitch;
    }
    ++p;
  }
  DDBatchEnd();
}

void Font::DrawFrame(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight) {
  CentreBox(m_lpWindowSD, nWidth, nHeight, x, y);
  DDBltFrame(lpDstSD, x, y, nWidth, nHeight, m_lpWindowSD, m_nFrameThickness, m_nFrameColor);
}

void Font::DrawTextBox(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                       const char* szText, int nIndent) {
  if (!szText) szText = "";
  if (nWidth == 0 || nHeight == 0) {
    int w = 0, h = 0;
    MeasureText(szText, &w, &h);
    if (nWidth == 0) nWidth = nIndent + w;
    if (nHeight == 0) nHeight = h;
  }
  CentreBox(m_lpWindowSD, nWidth, nHeight, x, y);
  DDBltFrame(lpDstSD, x, y, nWidth, nHeight, m_lpWindowSD, m_nFrameThickness, m_nFrameColor);
  DrawText(lpDstSD, x + nIndent, y, szText);
}

int DDFontPrintf(Font* lpFont, DDSURFACEDATA* lpDstSD, int x, int y, const char* szFormat, ...) {
  if (!lpFont || !szFormat) return 0;
  char szText[256];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(szText, sizeof szText, szFormat, args);
  va_end(args);
  return lpFont->DrawText(lpDstSD, x, y, szText);
}

void DDFontPrintfBox(Font* lpFont, DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                     const char* szFormat, ...) {
  if (!lpFont || !szFormat) return;
  char szText[512];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(szText, sizeof szText, szFormat, args);
  va_end(args);
  lpFont->DrawTextBox(lpDstSD, x, y, nWidth, nHeight, szText, 0);
}
