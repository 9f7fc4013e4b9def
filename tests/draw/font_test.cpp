// Fonts and text over the mode matrix, with glyphs of known boxes: where a
// character lands in its cell, what only advances, the glyph sheets and
// what they hold, symbol pictures, boxes, digit sheets, and what a missing
// font, long texts and the surface's edges do.
#include "draw/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/font_tables.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "support/box_glyphs.h"

namespace {

using boxglyphs::cBoxGlyphs;
using drawtest::ReadRgbArea;

using drawtest::kBackground, drawtest::kWhite, drawtest::kYellow, drawtest::kGreen;

// The bounding box of the pixels of one colour inside an area.
struct INK {
  int nLeft = 1 << 30, nTop = 1 << 30, nRight = -1, nBottom = -1, nCount = 0;
  int Width() const { return nRight - nLeft; }
  int Height() const { return nBottom - nTop; }
};

INK FindInk(DDSURFACEDATA* lpSD, uint32_t dwRgb, int x, int y, int w, int h) {
  const std::vector<uint32_t> px = ReadRgbArea(lpSD, x, y, w, h);
  INK ink;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (px[size_t(j) * size_t(w) + size_t(i)] != dwRgb) continue;
      ink.nLeft = std::min(ink.nLeft, x + i);
      ink.nTop = std::min(ink.nTop, y + j);
      ink.nRight = std::max(ink.nRight, x + i + 1);
      ink.nBottom = std::max(ink.nBottom, y + j + 1);
      ++ink.nCount;
    }
  return ink;
}

int CodeOf(const char* p) {
  return p[1] ? (static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]))
              : static_cast<unsigned char>(p[0]);
}

class cFontTest : public drawtest::cDrawModeTest {
 protected:
  void SetUp() override {
    cDrawModeTest::SetUp();
    drawtest::InstallPalette({{3, kBackground}, {5, kGreen}, {240, kYellow}, {241, kWhite}});
    for (int k = 0; k < 26; ++k) drawtest::InstallPalette({{100 + k, 0x101010u * uint32_t(k + 2)}});
    g_DD.DisplayPalette = g_DD.ProgramPalette;  // no fade under way
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  }
  // A font of the program's kind: text colour 241, frame 1 in 240.
  void Make(Font& font, int nHeight, int nPitch, int nLineHeight, int nCache,
            DDSURFACEDATA* lpWindow = nullptr, DDSURFACEDATA* lpSymbols = nullptr) {
    font.Create("ＭＳ ゴシック", 0, nHeight, nPitch, nLineHeight, 241, lpWindow, 1, 240, lpSymbols,
                nCache);
  }
  uint32_t Rgb(uint32_t c) const { return drawtest::ScreenRgbOf(c); }
  INK TextInk(int x, int y, int w, int h) { return FindInk(&BackBuffer, Rgb(kWhite), x, y, w, h); }

  boxglyphs::cUseGlyphs m_Glyphs;
};

TEST_P(cFontTest, EachGlyphLandsByTheRulesOfItsCell) {
  const char* const kKan = "漢";
  struct {
    const char* szName;
    int nHeight, nPitch, nLineHeight, bCenter, nCache;
    const char* szText;
    int dx, dy, w;  // ink from (100, 50); its height comes from the code
  } const cases[] = {
      {"font 0: x + 1, y - 1", 9, 10, 10, 0, 0, "A", 1, -1, 4},
      {"font 1: x + 2, y", 16, 16, 16, 0, 0, "A", 2, 0, 8},
      {"font 2: x + 4, y + 1", 30, 32, 32, 0, 0, "A", 4, 1, 15},
      {"double-byte: the cell's corner", 16, 16, 16, 0, 0, kKan, 0, 0, 16},
      {"centred single-byte", 9, 10, 10, 1, 0, "A", 5 - 2, 5 - 4, 4},
      {"centred double-byte", 9, 16, 16, 1, 0, kKan, 8 - 4, 8 - 4, 9},
      {"font 1 from the sheets", 16, 16, 16, 0, 1, "A", 2, 0, 8},
      {"double-byte from the sheets", 16, 16, 16, 0, 1, kKan, 0, 0, 16},
      {"centred double-byte from the sheets", 9, 16, 16, 1, 1, "あ", 4, 4, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.szName);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    Font font;
    // Centred from the start: the sheets are rendered when the font is made.
    font.m_bCenterGlyphs = c.bCenter;
    Make(font, c.nHeight, c.nPitch, c.nLineHeight, c.nCache);
    font.DrawText(&BackBuffer, 100, 50, c.szText);
    const INK ink = TextInk(80, 30, 80, 60);
    EXPECT_EQ(ink.nLeft, 100 + c.dx);
    // DirectDraw renders text at the top of the font's work surface: a row
    // above the cell is cut there.
    EXPECT_EQ(ink.nTop, 50 + (IsD3D() ? c.dy : std::max(c.dy, 0)));
    EXPECT_EQ(ink.Width(), c.w);
    EXPECT_EQ(ink.nBottom, 50 + c.dy + cBoxGlyphs::InkHeight(CodeOf(c.szText), c.nHeight));
  }
}

TEST_P(cFontTest, SpacesOnlyAdvanceAndLineFeedsStartTheNextLine) {
  for (int nCache : {0, 1}) {
    SCOPED_TRACE(nCache ? "from the sheets" : "rendered on the spot");
    Font font;
    Make(font, 16, 16, 16, nCache);
    struct {
      const char* szText;
      int nLeft, nTop;  // of the ink of the last line's A
    } const cases[] = {
        {"　A", 100 + 16 + 2, 50}, {" A", 100 + 16 + 2, 50}, {"\nA", 102, 66}, {"BB\n A", 118, 66}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.szText);
      DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
      font.DrawText(&BackBuffer, 100, 50, c.szText);
      const INK ink = TextInk(c.nLeft - 20, c.nTop, 60, 16);
      EXPECT_EQ(ink.nLeft, c.nLeft);
      EXPECT_EQ(ink.nTop, c.nTop);
      EXPECT_EQ(ink.Height(), cBoxGlyphs::InkHeight('A', 16));
    }
  }
  // Sizes: the widest line in cells, a cell of height per line.
  Font font;
  Make(font, 16, 16, 16, 0);
  struct {
    const char* szText;
    int w, h;
  } const sizes[] = {
      {"A\nB", 16, 32}, {"AB\n", 32, 32}, {"漢字A", 48, 16}, {"", 0, 16}, {"\n\n", 0, 48}};
  for (const auto& s : sizes) {
    int w = -1, h = -1;
    font.GetTextSize(s.szText, &w, &h);
    EXPECT_EQ(w, s.w) << s.szText;
    EXPECT_EQ(h, s.h) << s.szText;
  }
}

TEST_P(cFontTest, TextFromTheSheetsLooksLikeTextRenderedOnTheSpot) {
  Font spot, cached;
  Make(spot, 16, 16, 16, 0);
  Make(cached, 16, 16, 16, 1);
  // Half-width, preloaded, and two double-byte characters the sheet meets
  // for the first time.
  const char* const szText = "Az!ｶ０あ漢字\n~ア";
  spot.DrawText(&BackBuffer, 40, 40, szText);
  cached.DrawText(&BackBuffer, 40, 140, szText);
  const std::vector<uint32_t> a = ReadRgbArea(&BackBuffer, 30, 30, 200, 60);
  const std::vector<uint32_t> b = ReadRgbArea(&BackBuffer, 30, 130, 200, 60);
  EXPECT_EQ(a, b);
  EXPECT_GT(TextInk(30, 130, 200, 60).nCount, 100);
}

TEST_P(cFontTest, TheFullWidthSheetStartsWithThePreloadAndGrowsUntilFull) {
  Font font;
  Make(font, 16, 16, 16, 1);
  ASSERT_TRUE(font.m_lpFastFont_Half && font.m_lpFastFont_FullAdd);
  FastFont& full = *font.m_lpFastFont_FullAdd;
  EXPECT_EQ(std::string(g_szFastFontPreload).size(), 512u);
  ASSERT_EQ(full.m_nCount, 256);
  for (int k : {0, 1, 31, 32, 255}) {
    EXPECT_EQ(full.m_Entries[size_t(k)].chChar[0], g_szFastFontPreload[2 * k]);
    EXPECT_EQ(full.m_Entries[size_t(k)].chChar[1], g_szFastFontPreload[2 * k + 1]);
    EXPECT_EQ(full.m_Entries[size_t(k)].x, (k % 32) * 16);
    EXPECT_EQ(full.m_Entries[size_t(k)].y, (k / 32) * 16);
  }
  // The preload holds one character twice; it is found at its first cell.
  const auto IsTo = [](const FASTFONTENTRY& e) { return std::memcmp(e.chChar, "ト", 2) == 0; };
  EXPECT_EQ(std::count_if(full.m_Entries.begin(), full.m_Entries.end(), IsTo), 2);
  const FASTFONTENTRY* pTo = full.Find("ト");
  ASSERT_NE(pTo, nullptr);
  EXPECT_EQ(pTo, &*std::find_if(full.m_Entries.begin(), full.m_Entries.end(), IsTo));
  EXPECT_EQ(full.Find("漢"), nullptr);
  // Cell k of the sheet shows entry k.
  const FASTFONTENTRY& last = full.m_Entries[255];
  const INK cell = FindInk(&full.m_Sheet, Rgb(kWhite), last.x, last.y, 16, 16);
  EXPECT_EQ(cell.Height(), cBoxGlyphs::InkHeight(CodeOf(last.chChar), 16));

  EXPECT_EQ(full.m_nCapacity, IsD3D() ? 32 * 32 : 32 * 30);
  font.DrawText(&BackBuffer, 0, 0, "漢");
  ASSERT_EQ(full.m_nCount, 257);
  EXPECT_EQ(full.m_Entries[256].x, 0);
  EXPECT_EQ(full.m_Entries[256].y, 8 * 16);
  EXPECT_EQ(FindInk(&full.m_Sheet, Rgb(kWhite), 0, 128, 16, 16).Height(),
            cBoxGlyphs::InkHeight(CodeOf("漢"), 16));

  // Filled up, the sheet takes no more; a newcomer is drawn on the spot.
  char szChar[3] = {char(0x95), char(0x40), 0};
  while (full.Add(szChar)) szChar[1] = char(szChar[1] == char(0x7E) ? 0x80 : szChar[1] + 1);
  EXPECT_EQ(full.m_nCount, full.m_nCapacity);
  EXPECT_EQ(full.Add("字"), 0);
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  font.DrawText(&BackBuffer, 200, 200, "字");
  EXPECT_EQ(full.m_nCount, full.m_nCapacity);
  const INK ink = TextInk(190, 190, 40, 40);
  EXPECT_EQ(ink.nLeft, 200);
  EXPECT_EQ(ink.Height(), cBoxGlyphs::InkHeight(CodeOf("字"), 16));
}

TEST_P(cFontTest, LettersBecomeSymbolPicturesWhileSymbolsAreOn) {
  DDSURFACEDATA symbols;
  ASSERT_TRUE(DDCreateSurface(&symbols, 26 * 16, 16, 1, 0, 0, 0, 0));
  for (int k = 0; k < 26; ++k) DDFillRect(&symbols, k * 16, 0, 16, 16, uint32_t(100 + k));
  Font font;
  Make(font, 16, 16, 16, 0, nullptr, &symbols);
  EXPECT_EQ(font.m_bFastFont, 1);
  font.DrawText(&BackBuffer, 100, 50, "ab漢");
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 108, 58, 1, 1)[0], Rgb(0x202020));
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 124, 58, 1, 1)[0], Rgb(0x303030));
  EXPECT_EQ(TextInk(100, 50, 32, 16).nCount, 0) << "no letters under the pictures";
  EXPECT_GT(TextInk(132, 50, 16, 16).nCount, 0) << "other characters as text";

  font.m_bFastFont = 0;
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  font.DrawText(&BackBuffer, 100, 50, "ab");
  EXPECT_EQ(TextInk(100, 50, 32, 16).nLeft, 102) << "the letters themselves";
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 108, 58, 1, 1)[0], Rgb(kBackground));
  font.Release();
  DDReleaseSurface(&symbols);
}

TEST_P(cFontTest, BoxesCentreOnTheWindowSheetAndFitTheirText) {
  DDSURFACEDATA window;
  ASSERT_TRUE(DDCreateSurface(&window, 640, 480, 0, 0, 0, 0, 0));
  DDFillRect(&window, 0, 0, 640, 480, 5);
  Font font;
  Make(font, 16, 16, 16, 1, &window);
  font.DrawFrame(&BackBuffer, 10000, 100, 270, 50);
  const std::vector<uint32_t> row = ReadRgbArea(&BackBuffer, 183, 120, 275, 1);
  EXPECT_EQ(row[1], Rgb(kYellow)) << "outline left of x 185";
  EXPECT_EQ(row[2], Rgb(kGreen)) << "the window picture from x 185";
  EXPECT_EQ(row[2 + 269], Rgb(kGreen));
  EXPECT_EQ(row[2 + 270], Rgb(kYellow)) << "outline right of it";

  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  font.DrawTextBox(&BackBuffer, 50, 300, 0, 0, "0123456789", 8);
  const std::vector<uint32_t> box = ReadRgbArea(&BackBuffer, 49, 310, 171, 1);
  EXPECT_EQ(box[0], Rgb(kYellow));
  EXPECT_EQ(box[1], Rgb(kGreen));
  EXPECT_EQ(box[168], Rgb(kGreen)) << "8 + 10 cells of 16 wide";
  EXPECT_EQ(box[169], Rgb(kYellow));
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 50, 316, 1, 1)[0], Rgb(kYellow)) << "one line high";
  EXPECT_EQ(TextInk(50, 300, 40, 16).nLeft, 50 + 8 + 2) << "the text at the indent";
  font.Release();
  DDReleaseSurface(&window);
}

TEST_P(cFontTest, DigitSheetsHoldEachDigitInItsCell) {
  Font fonts[kFontCount];
  DDSURFACEDATA sheets[kFontCount];
  DDIMAGEDATA images[kFontCount];
  DDFONTDATA specs[kFontCount];
  for (int i = 0; i < kFontCount; ++i) {
    specs[i] = g_FontSpec[i];
    specs[i].nFontCache = i == 1;
    const DDFONTDATA& d = specs[i];
    fonts[i].Create(d.szFace, 0, d.nHeight, d.nPitch, d.nLineHeight, 241, nullptr, 1, 240, nullptr,
                    d.nFontCache);
    images[i].bColorKey = 1;
  }
  ASSERT_EQ(DDCreateNumberSheets(sheets, images, kFontCount, fonts, specs), 1);
  for (int i = 0; i < kFontCount; ++i) {
    const DDFONTDATA& d = specs[i];
    EXPECT_EQ(sheets[i].nWidth, d.nPitch * 10);
    EXPECT_EQ(sheets[i].nHeight, d.nLineHeight);
    for (int nDigit = 0; nDigit < 10; ++nDigit) {
      SCOPED_TRACE(testing::Message() << "font " << i << " digit " << nDigit);
      const INK ink =
          FindInk(&sheets[i], Rgb(kWhite), nDigit * d.nPitch, 0, d.nPitch, d.nLineHeight);
      // Font 0's glyphs start a row above their cells: that row is lost,
      // and a glyph of one row with it.
      const int nBottom = (d.nLineHeight >> 4) - 1 + cBoxGlyphs::InkHeight('0' + nDigit, d.nHeight);
      if (nBottom <= 0) {
        EXPECT_EQ(ink.nCount, 0);
        continue;
      }
      EXPECT_EQ(ink.nLeft, nDigit * d.nPitch + (d.nPitch >> 3));
      EXPECT_EQ(ink.nBottom, nBottom);
    }
  }
  for (int i = 0; i < kFontCount; ++i) {
    fonts[i].Release();
    DDReleaseSurface(&sheets[i]);
  }
}

TEST_P(cFontTest, SheetsComeBackAfterALostDevice) {
  Font font;
  Make(font, 16, 16, 16, 1);
  DDSURFACEDATA* half = &font.m_lpFastFont_Half->m_Sheet;
  DDSURFACEDATA* full = &font.m_lpFastFont_FullAdd->m_Sheet;
  for (DDSURFACEDATA* sd : {half, full}) DDFillRect(sd, 0, 0, sd->nWidth, sd->nHeight, 0);
  // Direct3D marks the textures that lost their contents and renders only
  // those again; DirectDraw restores lost surfaces and renders every sheet.
  full->bLost = 1;
  if (!IsD3D()) g_DD.lpDD->LoseSurfaces();
  font.Restore();
  EXPECT_GT(FindInk(full, Rgb(kWhite), 0, 0, 512, 128).nCount, 0);
  EXPECT_EQ(FindInk(half, Rgb(kWhite), 0, 16, 256, 64).nCount > 0, !IsD3D());
  EXPECT_EQ(full->bLost, IsD3D() ? 0 : 1) << "only Direct3D marks and clears it";
}

TEST_P(cFontTest, WithoutAFontTextDrawsNothingAndTheBoxStillShows) {
  boxglyphs::cUseGlyphs none(boxglyphs::OpenNothing);
  for (int nCache : {0, 1}) {
    Font font;
    Make(font, 16, 16, 16, nCache);
    EXPECT_NE(drawtest::ReportLog().find("no font installed"), std::string::npos);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    EXPECT_EQ(font.DrawText(&BackBuffer, 100, 50, "AB漢字"), 1);
    DDFontPrintfBox(&font, &BackBuffer, 100, 100, 0, 0, "%s", "ABC");
    EXPECT_EQ(TextInk(0, 0, 640, 480).nCount, 0);
    EXPECT_EQ(ReadRgbArea(&BackBuffer, 99, 110, 1, 1)[0], Rgb(kYellow)) << "the box's outline";
  }
}

TEST_P(cFontTest, LongTextsAndTheSurfaceEdgesAreCut) {
  // Cells of 2 pixels: a character's ink is one pixel wide.
  Font tiny;
  Make(tiny, 2, 2, 2, 0);
  const std::string strLong(1000, 'A');
  DDFontPrintf(&tiny, &BackBuffer, 0, 100, "%s", strLong.c_str());
  const INK line = TextInk(0, 90, 640, 20);
  EXPECT_EQ(line.nLeft, 0);
  EXPECT_EQ(line.nRight, 255 * 2 - 1) << "255 characters of the formatted text";

  // A box of 511 cells of 1 pixel: its outline right after the 511th.
  Font thin;
  Make(thin, 1, 1, 1, 0);
  DDFontPrintfBox(&thin, &BackBuffer, 10, 200, 0, 0, "%s", strLong.c_str());
  const std::vector<uint32_t> row = ReadRgbArea(&BackBuffer, 9, 200, 515, 1);
  EXPECT_EQ(row[0], Rgb(kYellow));
  EXPECT_EQ(row[1 + 511], Rgb(kYellow));
  EXPECT_NE(row[1 + 512], Rgb(kYellow));

  // At the edges of the screen and of a small surface: cut, never beyond.
  Font small, big;
  Make(small, 9, 10, 10, 1);
  Make(big, 30, 32, 32, 0);
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  small.DrawText(&BackBuffer, 0, 0, "AAAA");
  EXPECT_EQ(TextInk(0, 0, 60, 10).nTop, 0) << "the row above the screen is cut";
  big.DrawText(&BackBuffer, 620, 460, "漢漢\n漢");
  big.DrawText(&BackBuffer, -20, -20, "漢漢");
  EXPECT_GT(TextInk(600, 440, 40, 40).nCount, 0);
  EXPECT_GT(TextInk(0, 0, 20, 20).nCount, 0);
  DDSURFACEDATA target;
  ASSERT_TRUE(DDCreateSurface(&target, 20, 10, 1, 1, 1, 0, 0));
  big.DrawText(&target, 5, 2, "漢字ABC");
  small.DrawText(&target, 15, 5, std::string(300, 'Z').c_str());
  EXPECT_GT(FindInk(&target, Rgb(kWhite), 0, 0, 20, 10).nCount, 0);
  EXPECT_EQ(big.DrawText(&BackBuffer, 0, 0, nullptr), 0);
  big.DrawTextBox(&BackBuffer, 0, 0, 0, 0, "", 0);
  DDReleaseSurface(&target);
}

TEST_P(cFontTest, ProportionalFontsHaveNoSheetsAndAdvanceByTheirGlyphs) {
  Font font;
  Make(font, 16, 0, 16, 1);
  EXPECT_EQ(font.m_lpFastFont_Half, nullptr);
  EXPECT_NE(drawtest::DebugLogText().find("※フォントクラスで文字間が未設定！"), std::string::npos);
  font.DrawText(&BackBuffer, 100, 50, "AB\n漢");
  // A is 8 wide, so B starts at 108; the next line starts at x again.
  EXPECT_EQ(TextInk(100, 50, 60, 16).nRight, 116);
  EXPECT_EQ(TextInk(100, 66, 60, 16).nRight, 116);
  int w = 0, h = 0;
  font.MeasureText("AB\n漢", &w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 32);
}

INSTANTIATE_TEST_SUITE_P(Modes, cFontTest, testing::ValuesIn(drawtest::kModes), drawtest::ModeName);

}  // namespace
