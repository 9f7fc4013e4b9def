// Blur and mosaic in every mode: the blur against box sums added up pixel
// by pixel, the mosaic's cells and colours, transparency, the 8-bit
// refusal, and blocks reaching past their surfaces.
#include "draw/blur_mosaic.h"

#include <gtest/gtest.h>

#include <random>

#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "effect_fixture.h"
#include "platform/gfx/pixel_rules.h"

using namespace drawtest;
using namespace plat::gfx;

namespace {

constexpr int kW = 13, kH = 9;

class cBlurMosaicTest : public cEffectTest {
 protected:
  // The mode's transparent pixel: the key, or a transparent texel.
  uint32_t Clear() const { return IsD3D() ? 0 : Key(); }
  bool IsClear(uint32_t v) const {
    if (!IsD3D()) return v == Key();
    return Bpp() == 16 ? (v & 0xA000) == 0 : (v >> 24) == 0;
  }
  // A picture of random colours with some transparent pixels (and, at 16
  // bits in Direct3D, texels whose bit 13 alone makes them opaque).
  void RandomSource(int w, int h) {
    Blank(m_Src, w, h, true);
    std::mt19937 rng(uint32_t(w * 31 + h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t v =
            Raw(int(rng() % (Max(0) + 1)), int(rng() % (Max(1) + 1)), int(rng() % (Max(2) + 1)));
        if (rng() % 5 == 0) v = Clear();
        if (IsD3D() && Bpp() == 16 && rng() % 7 == 0) v = (v & 0x7FFF) | 0x2000;
        Poke(&m_Src, x, y, v);
      }
  }
  // The writing rule of the mode for channels in the source's units.
  uint32_t Written(int r, int g, int b, uint32_t under) const {
    return Raw(r, g, b) | (!IsD3D() && Bpp() == 32 ? under & 0xFF000000u : 0);
  }
};

TEST_P(cBlurMosaicTest, BlurAveragesTheBoxEndingBelowRightOfEachPixel) {
  if (Bpp() == 8) GTEST_SKIP() << "refused at 8 bits (below)";
  RandomSource(kW, kH);
  Blank(m_Dst, kW, kH);
  const uint32_t under = Raw(1, 1, 1) | (!IsD3D() && Bpp() == 32 ? 0x77000000u : 0);
  struct {
    int rx, ry;
  } const radii[] = {{1, 1}, {2, 3}, {5, 1}, {100, 100}};
  for (int nFlags : {0, 1})
    for (const auto& rad : radii) {
      Fill(&m_Dst, under);
      ASSERT_EQ(DDBlur(&m_Dst, 0, 0, kW, kH, rad.rx, rad.ry, &m_Src, 0, 0, nFlags), 1);
      for (int j = 0; j < kH; ++j)
        for (int i = 0; i < kW; ++i) {
          uint32_t want = under;
          if (!(nFlags == 1 && IsClear(ReadRaw(&m_Src, i, j)))) {
            int64_t sum[3] = {0, 0, 0}, n = 0;
            for (int dj = -rad.ry; dj < rad.ry; ++dj)
              for (int di = -rad.rx; di < rad.rx; ++di) {
                const int x = i + di, y = j + dj;
                if (x < 0 || y < 0 || x >= kW || y >= kH) continue;
                const uint32_t v = ReadRaw(&m_Src, x, y);
                if (nFlags == 1 && IsClear(v)) continue;
                int c[3];
                Channels(v, c[0], c[1], c[2]);
                for (int k = 0; k < 3; ++k) sum[k] += c[k];
                ++n;
              }
            want = Written(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n), under);
          }
          ASSERT_EQ(ReadRaw(&m_Dst, i, j), want) << "radius " << rad.rx << "x" << rad.ry
                                                 << " flags " << nFlags << " at " << i << "," << j;
        }
    }
  // Radius 1 is the 2 x 2 box ending at the pixel.
  Fill(&m_Dst, under);
  Fill(&m_Src, Raw(0, 0, 0));
  Poke(&m_Src, 3, 3, Raw(Max(0), 0, 0));
  ASSERT_EQ(DDBlur(&m_Dst, 0, 0, kW, kH, 1, 1, &m_Src, 0, 0, 0), 1);
  for (int y = 2; y <= 5; ++y)
    for (int x = 2; x <= 5; ++x) {
      int r, g, b;
      Channels(ReadRaw(&m_Dst, x, y), r, g, b);
      const bool bReaches = (x == 3 || x == 4) && (y == 3 || y == 4);
      EXPECT_EQ(r, bReaches ? Max(0) / 4 : 0) << x << "," << y;
    }
}

TEST_P(cBlurMosaicTest, BlurOfNothingTransparentChangesNothingAndEightBitsRefuse) {
  Blank(m_Src, 8, 8, true);
  Blank(m_Dst, 8, 8);
  Fill(&m_Src, Clear());
  const uint32_t under = Bpp() == 8 ? 3 : Raw(1, 2, 3);
  Fill(&m_Dst, under);
  EXPECT_EQ(DDBlur(&m_Dst, 0, 0, 8, 8, 2, 2, &m_Src, 0, 0, 1), 1);
  EXPECT_EQ(ReadRaw(&m_Dst, 4, 4), under);
  EXPECT_EQ(DDBlur(&m_Dst, 0, 0, 8, 8, 0, 3, &m_Src, 0, 0, 0), 1);
  EXPECT_EQ(ReadRaw(&m_Dst, 4, 4), under);
  if (Bpp() == 8) {
    Fill(&m_Src, 9);
    EXPECT_EQ(DDBlur(&m_Dst, 0, 0, 8, 8, 1, 1, &m_Src, 0, 0, 0), 1);
    EXPECT_EQ(ReadRaw(&m_Dst, 4, 4), under);
    EXPECT_NE(DebugLogText().find("8ビットぼかしは不可能！"), std::string::npos);
  }
  // One surface on both sides cannot be locked twice: nothing is blurred in place.
  EXPECT_EQ(DDBlur(&m_Dst, 0, 0, 8, 8, 1, 1, &m_Dst, 0, 0, 0), 0);
  EXPECT_EQ(DDMosaic(&m_Dst, 0, 0, 8, 8, 2, &m_Dst, 0, 0, 0), 0);
}

TEST_P(cBlurMosaicTest, BlocksPastTheirSurfacesUseOnlyThePixelsThatExist) {
  if (Bpp() == 8) GTEST_SKIP() << "no blur at 8 bits";
  Blank(m_Src, 4, 4, true);
  Blank(m_Dst, 6, 6);
  Fill(&m_Src, Raw(Max(0), 0, 0));
  const uint32_t under = Raw(0, 0, Max(2));
  Fill(&m_Dst, under);
  // Block pixels 0..1 read source columns -2..-1: absent, left alone.
  ASSERT_EQ(DDBlur(&m_Dst, 0, 0, 6, 6, 2, 2, &m_Src, -2, -2, 0), 1);
  EXPECT_EQ(ReadRaw(&m_Dst, 1, 1), under);
  EXPECT_EQ(ReadRaw(&m_Dst, 2, 2), Written(Max(0), 0, 0, under));
  ASSERT_EQ(DDMosaic(&m_Dst, -3, -3, 100, 100, 2, &m_Src, 3, 3, 0), 1);
  ASSERT_EQ(DDBlur(&m_Dst, 4, 4, 1000000, 1000000, 1000000, 1000000, &m_Src, 0, 0, 0), 1);
}

TEST_P(cBlurMosaicTest, MosaicCellsTakeTheirTopLeftPixelOrTheirAverage) {
  // A 20 x 4 block in cells of 8: widths 8, 8 and 4.
  Blank(m_Src, 20, 4, true);
  Blank(m_Dst, 20, 4);
  const bool bAverage = !IsD3D() && Bpp() != 8;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 20; ++x)
      Poke(&m_Src, x, y, Bpp() == 8 ? uint32_t(10 + x) : Raw(x % (Max(0) + 1), y, 1));
  const uint32_t under =
      Bpp() == 8 ? 3 : Raw(0, 0, 0) | (!IsD3D() && Bpp() == 32 ? 0x44000000u : 0);
  Fill(&m_Dst, under);
  ASSERT_EQ(DDMosaic(&m_Dst, 0, 0, 20, 4, 8, &m_Src, 0, 0, 0), 1);
  const int starts[3] = {0, 8, 16}, widths[3] = {8, 8, 4};
  for (int c = 0; c < 3; ++c) {
    uint32_t want;
    if (!bAverage) {
      want = ReadRaw(&m_Src, starts[c], 0);
    } else {
      int64_t sum[3] = {0, 0, 0};
      for (int y = 0; y < 4; ++y)
        for (int x = starts[c]; x < starts[c] + widths[c]; ++x) {
          int ch[3];
          Channels(ReadRaw(&m_Src, x, y), ch[0], ch[1], ch[2]);
          for (int k = 0; k < 3; ++k) sum[k] += Bpp() == 16 ? ScaleChannelUp(ch[k], Max(k)) : ch[k];
        }
      int avg[3];
      for (int k = 0; k < 3; ++k) {
        avg[k] = int(sum[k] / (4 * widths[c]));
        if (Bpp() == 16) avg[k] = ScaleChannelDown(avg[k], Max(k));
      }
      want = Written(avg[0], avg[1], avg[2], under);
    }
    for (int y = 0; y < 4; ++y)
      for (int x = starts[c]; x < starts[c] + widths[c]; ++x)
        ASSERT_EQ(ReadRaw(&m_Dst, x, y), want) << "cell " << c << " at " << x << "," << y;
  }
  // With the key left out, a cell whose top-left pixel (or every pixel) is
  // transparent stays as it was.
  for (int y = 0; y < 4; ++y)
    for (int x = 8; x < 16; ++x)
      if (bAverage || (x == 8 && y == 0)) Poke(&m_Src, x, y, Clear());
  Fill(&m_Dst, under);
  ASSERT_EQ(DDMosaic(&m_Dst, 0, 0, 20, 4, 8, &m_Src, 0, 0, 1), 1);
  EXPECT_EQ(ReadRaw(&m_Dst, 12, 2), under);
  EXPECT_NE(ReadRaw(&m_Dst, 17, 2), under);
  EXPECT_EQ(DDMosaic(&m_Dst, 0, 0, 20, 4, 0, &m_Src, 0, 0, 0), 1);
}

TEST_P(cBlurMosaicTest, MosaicOnTheSixteenBitFullScreenBackBufferIsRepacked) {
  if (!IsD3D() || Bpp() != 16 || GetParam().bWindow) GTEST_SKIP() << "the 5-6-5 back buffer";
  Blank(m_Src, 4, 4, true);
  Fill(&m_Src, Raw(31, 16, 1));
  ASSERT_EQ(DDMosaic(&BackBuffer, 0, 0, 4, 4, 4, &m_Src, 0, 0, 1), 1);
  EXPECT_EQ(ReadRaw(&BackBuffer, 3, 3), Pack565(31, 32, 1));
}

INSTANTIATE_TEST_SUITE_P(Modes, cBlurMosaicTest, testing::ValuesIn(kModes), ModeName);

}  // namespace
