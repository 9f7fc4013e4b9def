// Fonts: the font description, the glyph sheets that hold pre-rendered
// characters (the font cache), and the font object with its creation, its
// text drawing and measuring (font_text.cpp) and its window boxes. Every
// font of this program lays text out in cells: each character, single-byte
// or double-byte, takes one cell of pitch × line height.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/surface_data.h"
#include "platform/font/glyph_source.h"

struct DDTEXTDC;

// A font description.
struct DDFONTDATA {
  char szFace[256] = {};
  int32_t nWidth = 0;           // character width; 0 = the face's own
  int32_t nHeight = 0;          // character height in pixels
  int32_t nPitch = 0;           // cell width, the advance of every character; 0 = proportional
  int32_t nLineHeight = 0;      // cell height, the advance of a line
  int32_t nPalNum = 0;          // text colour
  int32_t nWindowSheet = 0;     // surface-table entry of the picture behind text boxes
  int32_t nFrameThickness = 0;  // outline of text boxes
  int32_t nFrameColor = 0;      // its palette number
  int32_t nSymbolSheet = 0;     // surface-table entry of the pictures for a..z
  int32_t nFontCache = 0;       // 0 off, 1 on, 2 = the System.ini setting of the drawing mode
};

// Bounded copy of a face name into a description.
void DDSetFontFace(DDFONTDATA& Spec, const char* szFace);

// One glyph sheet's entry: a double-byte character and its cell.
struct FASTFONTENTRY {
  char chChar[2] = {};
  int32_t nIndex = 0;
  int32_t x = 0;
  int32_t y = 0;
};

// A glyph sheet: a surface of cells on which characters are rendered once.
// The half-width sheet (kind 0) holds every single-byte code b in cell
// (b mod 16, b div 16); the full-width sheet (kind 1) registers double-byte
// characters in the order they come, until it is full.
class FastFont {
 public:
  FastFont(int nKind, int nCellWidth, int nCellHeight, int nColumns, int nRows);
  ~FastFont();
  FastFont(const FastFont&) = delete;
  FastFont& operator=(const FastFont&) = delete;

  // Registers a double-byte character in the next free cell: 0 when full.
  int Add(const char* pChar);
  int BltHalf(DDSURFACEDATA* lpDstSD, int x, int y, unsigned char byChar, int nFlags);
  // 1 when the character is in the sheet (and blitted), else 0.
  int BltFull(DDSURFACEDATA* lpDstSD, int x, int y, const char* pChar, int nFlags);
  // The entry of a registered character, or null.
  const FASTFONTENTRY* Find(const char* pChar) const;

  int m_nKind;
  int m_nCellWidth;
  int m_nCellHeight;
  int m_nColumns;
  int m_nRows;
  int m_nCapacity;
  DDSURFACEDATA m_Sheet;
  std::vector<FASTFONTENTRY> m_Entries;  // in the order they were registered
  int m_nCount = 0;

 private:
  // Where each character's first entry is, so that a text's characters are
  // found at once rather than by a walk through up to 1,024 entries: per
  // lead byte, 256 entry numbers plus one (0: not registered), made when a
  // character of that lead byte is first registered.
  std::array<std::unique_ptr<std::array<uint16_t, 256>>, 256> m_Index;
};

class Font {
 public:
  Font() = default;
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  void Create(const char* szFace, int nWidth, int nHeight, int nPitch, int nLineHeight, int nPalNum,
              DDSURFACEDATA* lpWindowSD, int nFrameThickness, int nFrameColor,
              DDSURFACEDATA* lpSymbolSD, int nFontCache);
  // What shut-down releases: the fonts of both modes, both glyph sheets
  // and the work surface. The font stays listed and can be created again.
  void Release();
  // Renders the glyph sheets again after a lost device or lost surfaces.
  void Restore();
  void RenderHalfSheet();
  void RenderFullSheet(int bRebuild);

  // Text (font_text.cpp). Texts are Shift-JIS; lines end only at line feeds.
  int DrawText(DDSURFACEDATA* lpDstSD, int x, int y, const char* szText);
  void GetTextSize(const char* szText, int* lpWidth, int* lpHeight) const;
  void DrawFrame(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight);
  void DrawTextBox(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                   const char* szText, int nIndent);
  void DrawChars(DDSURFACEDATA* lpSD, DDTEXTDC* lpDC, int x0, int y0, DDSURFACEDATA* lpSheetSD,
                 int sx0, int sy0, const char* szText, int bSymbols);
  void DrawGlyph(DDSURFACEDATA* lpSD, DDTEXTDC* lpDC, int x, int y, const char* pChar, int n);
  // Lays the pending cells of the work surface over with the key.
  void SettleWorkClear();
  void DrawSymbols(DDSURFACEDATA* lpDstSD, int x, int y, const char* szText);
  void MeasureGdi(const char* szText, int* lpWidth, int* lpHeight) const;
  // The size a text takes when drawn: cells, or measured glyphs at pitch 0.
  void MeasureText(const char* szText, int* lpWidth, int* lpHeight) const;

  // The font that renders characters in the current drawing mode.
  plat::font::cGlyphSource* GetGlyphSource() const;

  int m_nSerial = 0;
  std::unique_ptr<plat::font::cGlyphSource> m_hFont;   // DirectDraw
  std::unique_ptr<plat::font::cGlyphSource> m_lpFont;  // Direct3D
  std::string m_strFace;
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nPitch = 0;
  int m_nLineHeight = 0;
  int m_nPalNum = 0;
  uint32_t m_dwColor = 0;  // ARGB in Direct3D, 0x00BBGGRR in DirectDraw
  int m_bCenterGlyphs = 0;
  DDSURFACEDATA m_WorkSD;  // scratch for text rendered on the spot
  // DirectDraw text: the cells of m_WorkSD still to be laid over with the key
  // before the first character is rendered into them (0 x 0: none).
  int m_nWorkClearWidth = 0;
  int m_nWorkClearHeight = 0;
  DDSURFACEDATA* m_lpWindowSD = nullptr;
  int m_nFrameThickness = 0;
  int m_nFrameColor = 0;
  DDSURFACEDATA* m_lpSymbolSD = nullptr;
  // Letters a..z are drawn as the pictures of the symbol sheet.
  int m_bFastFont = 0;
  int m_nFontCache = 0;
  std::unique_ptr<FastFont> m_lpFastFont_Half;
  std::unique_ptr<FastFont> m_lpFastFont_FullAdd;

 private:
  void ComputeColor();
  void DeleteSheets();
  // A double-byte character newly registered in the full-width sheet is
  // rendered into its cell.
  void RenderIntoCell(const FASTFONTENTRY& entry);
  bool HasSymbolSheet() const;
};

// Every created font, for the restore after a lost device.
extern std::vector<Font*>& g_FontList;

// The 256 double-byte characters every full-width sheet starts with.
extern const char* const g_szFastFontPreload;

int DDCreateFonts(Font* lpFonts, DDFONTDATA* lpSpecs, int nCount);

// Formatted text: at most 255 bytes (DDFontPrintf) and 511 bytes
// (DDFontPrintfBox) of it are drawn.
int DDFontPrintf(Font* lpFont, DDSURFACEDATA* lpDstSD, int x, int y, const char* szFormat, ...)
    __attribute__((format(printf, 5, 6)));
void DDFontPrintfBox(Font* lpFont, DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                     const char* szFormat, ...) __attribute__((format(printf, 7, 8)));
// Bytes up to the first line feed or the end.
int TextLineLength(const char* szText);
