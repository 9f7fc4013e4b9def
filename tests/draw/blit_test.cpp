// Blits, fills, palette numbers and the colour key in every mode of the
// matrix. Expected pixels come from the drawing rules: the palette, the
// engine's channel narrowing and widening, the clip and texel-mapping rules.
#include "draw/blit.h"

#include <gtest/gtest.h>

#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

using namespace drawtest;
using plat::gfx::ePixelFormat;

namespace {

// The colours of the test pictures: index 0 is the key (magenta).
const uint32_t kTable[] = {0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                           0xFFFF00, 0x00FFFF, 0x808080, 0x400000, 0x204060};
constexpr int kBackgroundEntry = 9;  // palette number the screen is filled with

BMPPICTURE IndexedBmp(int w, int h) {
  BMPPICTURE s;
  s.nWidth = w;
  s.nHeight = h;
  s.nBitCount = 8;
  s.Table.assign(std::begin(kTable), std::end(kTable));
  s.Pixels.assign(size_t(w) * h, 0);
  return s;
}

// An 8 x 4 sprite: column x has colour 1 + x, except the two key pixels at
// the top-left.
BMPPICTURE SpriteBmp() {
  BMPPICTURE s = IndexedBmp(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) s.Pixels[size_t(y) * 8 + x] = uint32_t(1 + x);
  s.Pixels[0] = s.Pixels[1] = 0;
  return s;
}

class cBlitTest : public cDrawModeTest {
 protected:
  void SetUp() override {
    cDrawModeTest::SetUp();
    // The palette picture: its first pixel is the key, its table the palette.
    BMPPICTURE pal = IndexedBmp(16, 24);
    for (int k = 0; k < 256; ++k)
      pal.Pixels[size_t(8 + k / 16) * 16 + k % 16] = uint32_t(k < 10 ? k : 0);
    pal.Pixels[0] = 0;
    const std::string strPal = WriteBmp("palette.bmp", pal);
    ASSERT_TRUE(DDLoadPaletteFromFile(g_DD.ProgramPalette, strPal.c_str(), 0));
    ASSERT_TRUE(DDSetTransmitFromFile(strPal.c_str()));
    // As start-up does at 16 bits: the key bytes of the game's data go into
    // the 16-bit key triple after the key was read.
    const RGBTRIPLE magenta{255, 0, 255};
    if (g_DD.lpDTCon) g_DD.lpDTCon->rgbTransmit16 = magenta;
    if (g_DD.lpDDCon) g_DD.lpDDCon->rgbTransmit16 = magenta;
    m_strSprite = WriteBmp("sprite.bmp", SpriteBmp());
    ASSERT_EQ(DDCreateSurfaceFromFile(&m_Sprite, m_strSprite.c_str(), 1, Bpp(), 0, 0, nullptr, 0, 0,
                                      0, 0),
              0);
    DDFillSurface(&BackBuffer, kBackgroundEntry);
  }
  void TearDown() override {
    DDReleaseSurface(&m_Sprite);
    cDrawModeTest::TearDown();
  }

  // What the screen shows for a picture colour: the path from the file
  // through the surface or texture to the back buffer.
  uint32_t PictureRgb(uint32_t c) const {
    if (IsD3D()) {
      const ePixelFormat tf = g_DD.lpDTCon->TextureFormat;
      return ScreenRgbOf(plat::gfx::PixelToArgb(plat::gfx::ArgbToTexel(0xFF000000u | c, tf), tf) &
                         0xFFFFFF);
    }
    if (Bpp() == 16) {
      const ePixelFormat f = ePixelFormat::R5G6B5;
      return plat::gfx::PixelToArgb(plat::gfx::ArgbToTexel(c, f), f) & 0xFFFFFF;
    }
    return c;
  }
  uint32_t SpriteRgb(int x) const { return PictureRgb(kTable[1 + x]); }
  uint32_t BackgroundRgb() const { return ReadRgbOfPalNum(kBackgroundEntry); }
  uint32_t ReadRgbOfPalNum(int n) const {
    if (!IsD3D() && Bpp() == 16) return PictureRgb(kTable[n]);
    return ScreenRgbOf(kTable[n]);
  }

  DDSURFACEDATA m_Sprite;
  std::string m_strSprite;
};

TEST_P(cBlitTest, PaletteNumbersBecomeTheModesPixelValues) {
  for (uint32_t n = 1; n < 10; ++n) {
    SCOPED_TRACE(n);
    const DDPALENTRY& e = g_DD.ProgramPalette[n];
    uint32_t dwExpected;
    if (IsD3D()) {
      dwExpected = 0xFF000000u | uint32_t(e.byRed) << 16 | uint32_t(e.byGreen) << 8 | e.byBlue;
      EXPECT_EQ(e.byFlags, 255);
    } else if (Bpp() == 8) {
      dwExpected = n;
    } else if (Bpp() == 16) {
      dwExpected = uint32_t(e.byRed & 31) << 11 | uint32_t(e.byGreen & 63) << 5 | (e.byBlue & 31);
    } else {
      dwExpected = kTable[n];
    }
    EXPECT_EQ(PalNumToRGB(n), dwExpected);
    DDFillRect(&BackBuffer, 20, 20, 4, 4, n);
    EXPECT_EQ(ReadRgb(&BackBuffer, 21, 21), ReadRgbOfPalNum(int(n)));
  }
  // Palette number 0 is transparent black in Direct3D, whatever the entry.
  g_DD.ProgramPalette[0] = {255, 255, 255, 0};
  if (IsD3D()) {
    EXPECT_EQ(PalNumToRGB(0), 0u);
    DDFillRect(&BackBuffer, 20, 20, 4, 4, 0);
    EXPECT_EQ(ReadRgb(&BackBuffer, 21, 21), BackgroundRgb());  // blended away
  }
  EXPECT_EQ(PalNumToRGB(300), 0u);
  EXPECT_NE(DebugLogText().find("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = 300"),
            std::string::npos);
}

TEST_P(cBlitTest, KeyLeavesTheKeyColourOutOnlyWithFlagOne) {
  DDBlt(&BackBuffer, 100, 50, 8, 4, &m_Sprite, 0, 0, 1);
  DDBlt(&BackBuffer, 200, 50, 8, 4, &m_Sprite, 0, 0, 0);
  for (int x = 0; x < 8; ++x) {
    SCOPED_TRACE(x);
    const bool bKey = x < 2;
    EXPECT_EQ(ReadRgb(&BackBuffer, 100 + x, 50), bKey ? BackgroundRgb() : SpriteRgb(x));
    EXPECT_EQ(ReadRgb(&BackBuffer, 200 + x, 50), bKey ? PictureRgb(kTable[0]) : SpriteRgb(x));
    EXPECT_EQ(ReadRgb(&BackBuffer, 100 + x, 53), SpriteRgb(x));
  }
}

TEST_P(cBlitTest, ClippedOnAllFourSides) {
  struct ROW {
    int x, y;      // where the sprite goes
    int sx, sy;    // a screen pixel inside the visible part
    int col, row;  // the sprite pixel it shows
  };
  const ROW rows[] = {
      {-3, 100, 0, 101, 3, 1},    {636, 100, 639, 101, 3, 1}, {300, -2, 302, 0, 2, 2},
      {300, 478, 302, 479, 2, 1}, {-5, -3, 0, 0, 5, 3},       {637, 477, 639, 479, 2, 2},
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
    DDFillSurface(&BackBuffer, kBackgroundEntry);
    DDBlt(&BackBuffer, r.x, r.y, 8, 4, &m_Sprite, 0, 0, 1);
    EXPECT_EQ(ReadRgb(&BackBuffer, r.sx, r.sy), SpriteRgb(r.col));
  }
  // Nothing wraps round to the far side.
  DDFillSurface(&BackBuffer, kBackgroundEntry);
  DDBlt(&BackBuffer, -4, -2, 8, 4, &m_Sprite, 0, 0, 1);
  EXPECT_EQ(ReadRgb(&BackBuffer, 639, 479), BackgroundRgb());
  EXPECT_EQ(ReadRgb(&BackBuffer, 4, 0), BackgroundRgb());
  EXPECT_EQ(ReadRgb(&BackBuffer, 0, 2), BackgroundRgb());
}

TEST_P(cBlitTest, StretchedAndMirroredTexelMapping) {
  struct ROW {
    int w;   // destination width for the 8 columns
    int sw;  // source width (negative: mirrored)
  };
  const ROW rows[] = {{8, 8}, {4, 8}, {16, 8}, {8, -8}};
  for (const ROW& r : rows) {
    SCOPED_TRACE(testing::Message() << r.w << " from " << r.sw);
    DDFillSurface(&BackBuffer, kBackgroundEntry);
    const int sx = r.sw < 0 ? 8 : 0;
    DDBltStretch(&BackBuffer, 10, 10, r.w, 4, &m_Sprite, sx, 0, r.sw, 4, 1);
    for (int k = 0; k < r.w; ++k) {
      if (!IsD3D() && r.sw < 0) {
        EXPECT_EQ(ReadRgb(&BackBuffer, 10 + k, 12), BackgroundRgb());  // refused
        continue;
      }
      const int nCol = IsD3D() ? sx + plat::gfx::QuadTexelOffset(k, r.sw, r.w)
                               : plat::gfx::StretchColumn(k, r.sw, r.w);
      EXPECT_EQ(ReadRgb(&BackBuffer, 10 + k, 12), SpriteRgb(nCol)) << "column " << k;
    }
  }
}

TEST_P(cBlitTest, TintedThroughTheBlitColour) {
  const DDBLTCOLOR tint{0xFF808080u, 4};
  DDBltColor(&BackBuffer, 10, 10, 8, 4, &m_Sprite, 0, 0, 1, &tint);
  for (int x = 2; x < 8; ++x) {
    uint32_t dwExpected = SpriteRgb(x);
    if (IsD3D()) {
      const ePixelFormat tf = g_DD.lpDTCon->TextureFormat;
      const uint32_t t =
          plat::gfx::PixelToArgb(plat::gfx::ArgbToTexel(0xFF000000u | kTable[1 + x], tf), tf);
      dwExpected =
          ScreenRgbOf(plat::gfx::MakeArgb(0, plat::gfx::MulChannel(plat::gfx::GetR(t), 128),
                                          plat::gfx::MulChannel(plat::gfx::GetG(t), 128),
                                          plat::gfx::MulChannel(plat::gfx::GetB(t), 128)));
    }
    EXPECT_EQ(ReadRgb(&BackBuffer, 10 + x, 11), dwExpected) << x;
  }
  if (IsD3D()) {
    EXPECT_EQ(g_DD.lpDTCon->dwBltColor, 0xFFFFFFFFu);
    EXPECT_EQ(g_DD.lpDTCon->nColorOp, 4);
  }
}

TEST_P(cBlitTest, FillsAreCutToTheSurface) {
  DDFillRect(&BackBuffer, -10, 5, 20, 2, 1);
  EXPECT_EQ(ReadRgb(&BackBuffer, 0, 5), ReadRgbOfPalNum(1));
  EXPECT_EQ(ReadRgb(&BackBuffer, 9, 6), ReadRgbOfPalNum(1));
  EXPECT_EQ(ReadRgb(&BackBuffer, 10, 5), BackgroundRgb());
  EXPECT_EQ(ReadRgb(&BackBuffer, 639, 5), BackgroundRgb());
  DDFillRect(&BackBuffer, 630, 470, 50, 50, 2);
  EXPECT_EQ(ReadRgb(&BackBuffer, 639, 479), ReadRgbOfPalNum(2));
  DDPutPixel(&BackBuffer, 640, 0, 3);  // outside: nothing
  DDPutPixel(&BackBuffer, 3, 3, 3);
  EXPECT_EQ(ReadRgb(&BackBuffer, 3, 3), ReadRgbOfPalNum(3));
  DDCircle(&BackBuffer, 100, 100, 10, 4);
  EXPECT_EQ(ReadRgb(&BackBuffer, 100, 110), ReadRgbOfPalNum(4));
  EXPECT_EQ(ReadRgb(&BackBuffer, 90, 100), ReadRgbOfPalNum(4));
  EXPECT_EQ(ReadRgb(&BackBuffer, 100, 100), BackgroundRgb());
}

TEST_P(cBlitTest, GlyphSheetTextPicksCellsByByte) {
  // A 16 x 16-cell sheet of 1-pixel cells: cell (column, row) has colour
  // 1 + (column + row) % 8.
  BMPPICTURE sheet = IndexedBmp(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) sheet.Pixels[size_t(y) * 16 + x] = uint32_t(1 + (x + y) % 8);
  DDSURFACEDATA sd;
  const std::string strSheet = WriteBmp("sheet.bmp", sheet);
  ASSERT_EQ(DDCreateSurfaceFromFile(&sd, strSheet.c_str(), 1, Bpp(), 0, 0, nullptr, 0, 0, 0, 0), 0);
  DDTextOutSheet(&BackBuffer, 50, 60, 1, 1, &sd, "A\n\xB1\xC5");
  auto cell = [&](int col, int row) { return PictureRgb(kTable[1 + (col + row) % 8]); };
  EXPECT_EQ(ReadRgb(&BackBuffer, 50, 60), cell(1, 4));        // 'A' = 0x41
  EXPECT_EQ(ReadRgb(&BackBuffer, 50, 61), cell(1, 11 - 10));  // 0xB1: row 11 - 10
  EXPECT_EQ(ReadRgb(&BackBuffer, 51, 61), cell(5, 12 - 4));   // 0xC5: row 12 - 4
  DDReleaseSurface(&sd);
}

INSTANTIATE_TEST_SUITE_P(Modes, cBlitTest, testing::ValuesIn(kModes), ModeName);

}  // namespace
