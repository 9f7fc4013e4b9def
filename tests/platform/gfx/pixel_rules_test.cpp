// The rounding rules against independent definitions (exact rational
// arithmetic), over every input where that is cheap.
#include "platform/gfx/pixel_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plat::gfx {
namespace {

// Round-half-up of n / d for non-negative n, d > 0.
int RoundDiv(int n, int d) { return (2 * n + d) / (2 * d); }

TEST(PixelRules, ExpandThenCompressGivesTheFieldBack) {
  for (int nMax : {1, 31, 63, 255})
    for (int f = 0; f <= nMax; ++f) {
      const int c = ExpandChannel(f, nMax);
      EXPECT_EQ(c, RoundDiv(f * 255, nMax)) << "field " << f << " of max " << nMax;
      EXPECT_EQ(CompressChannel(c, nMax), f) << "field " << f << " of max " << nMax;
    }
}

TEST(PixelRules, ChannelNarrowingRules) {
  for (int c = 0; c <= 255; ++c) {
    EXPECT_EQ(CompressChannel(c, 31), RoundDiv(c * 31, 255)) << c;
    EXPECT_EQ(CompressChannel(c, 63), RoundDiv(c * 63, 255)) << c;
    EXPECT_EQ(TruncateChannel(c, 31), c >> 3) << c;
    EXPECT_EQ(ScaleChannelDown(c, 31), c * 31 / 255) << c;
  }
  EXPECT_EQ(ScaleChannelUp(31, 31), 255);
  EXPECT_EQ(ScaleChannelUp(16, 31), 131);
}

TEST(PixelRules, CombinersAreExactlyRounded) {
  for (int a = 0; a <= 255; ++a)
    for (int b = 0; b <= 255; ++b) {
      ASSERT_EQ(MulChannel(a, b), RoundDiv(a * b, 255)) << a << " * " << b;
      ASSERT_EQ(LerpChannel(a, b, 77), RoundDiv(a * 77 + b * 178, 255)) << a << ", " << b;
      ASSERT_EQ(LerpChannel(a, 200, b), RoundDiv(a * b + 200 * (255 - b), 255)) << a << ", " << b;
    }
  EXPECT_EQ(AddChannel(200, 100), 255);
  EXPECT_EQ(SubChannel(100, 200), 0);
  EXPECT_EQ(SubChannel(200, 100), 100);
}

TEST(PixelRules, PixelConversions) {
  struct CASE {
    ePixelFormat f;
    uint32_t argb;
    uint32_t pixel;
  };
  const CASE cases[] = {
      {ePixelFormat::R5G6B5, 0xFFFFFFFF, 0xFFFF},
      {ePixelFormat::R5G6B5, 0xFFFF0000, 0xF800},
      {ePixelFormat::R5G6B5, 0xFF00FF00, 0x07E0},
      {ePixelFormat::A1R5G5B5, 0x00000000, 0x0000},
      {ePixelFormat::A1R5G5B5, 0x80FFFFFF, 0xFFFF},
      {ePixelFormat::A1R5G5B5, 0x7FFFFFFF, 0x7FFF},
      {ePixelFormat::X1R5G5B5, 0x00FF0000, 0xFC00},
      {ePixelFormat::X8R8G8B8, 0x00123456, 0xFF123456},
      {ePixelFormat::A8R8G8B8, 0x12345678, 0x12345678},
  };
  for (const CASE& c : cases) EXPECT_EQ(ArgbToPixel(c.argb, c.f), c.pixel) << GetFormatName(c.f);
  // Rounding on the way to 16 bits (132 is 16.05 fields of 31), truncation on textures.
  EXPECT_EQ(ArgbToPixel(MakeArgb(255, 132, 0, 0), ePixelFormat::R5G6B5), uint32_t(16 << 11));
  EXPECT_EQ(ArgbToPixel(MakeArgb(255, 7, 0, 4), ePixelFormat::R5G6B5),
            1u << 11);  // 0.85 up, 0.49 down
  EXPECT_EQ(ArgbToTexel(MakeArgb(255, 7, 0, 4), ePixelFormat::A1R5G5B5), 0x8000u);
  EXPECT_EQ(PixelToArgb(Pack565(31, 63, 0), ePixelFormat::R5G6B5), 0xFFFFFF00u);
  EXPECT_EQ(PixelToArgb(Pack1555(0, 16, 1, 31), ePixelFormat::A1R5G5B5), MakeArgb(0, 132, 8, 255));
  EXPECT_EQ(PixelToArgb(0x00ABCDEF, ePixelFormat::X8R8G8B8), 0xFFABCDEFu);
  EXPECT_EQ(Pack565(31, 63, 31), 0xFFFF);
}

TEST(PixelRules, TexelOffsetsOfAxisAlignedQuads) {
  struct CASE {
    int nSrcWidth, w;
    std::vector<int> offsets;
  };
  const CASE cases[] = {
      {4, 4, {0, 1, 2, 3}},              // identity
      {8, 4, {1, 3, 5, 7}},              // 2:1 reads the odd columns
      {4, 8, {0, 0, 1, 1, 2, 2, 3, 3}},  // 1:2 doubles
      {-4, 4, {-1, -2, -3, -4}},         // mirrored: from the right edge leftwards
      {3, 2, {0, 2}},                    // 1.5:1: centres 0.75 and 2.25
  };
  for (const CASE& c : cases)
    for (int k = 0; k < c.w; ++k)
      EXPECT_EQ(QuadTexelOffset(k, c.nSrcWidth, c.w), c.offsets[size_t(k)])
          << c.nSrcWidth << "/" << c.w << " k " << k;
  // The same as flooring the real texel coordinate at the pixel centre.
  for (int sw = -37; sw <= 37; ++sw)
    for (int w = 1; w <= 40; ++w)
      for (int k = 0; k < w; ++k)
        ASSERT_EQ(QuadTexelOffset(k, sw, w), int(std::floor((k + 0.5) * sw / w)))
            << sw << " " << w << " " << k;
  EXPECT_EQ(WrapTexel(-1, 64), 63);
  EXPECT_EQ(WrapTexel(64, 64), 0);
  // The DirectDraw-shaped stretch truncates: 2:1 reads the even columns.
  EXPECT_EQ(StretchColumn(3, 8, 4), 6);
  EXPECT_EQ(StretchColumn(5, 4, 8), 2);
}

}  // namespace
}  // namespace plat::gfx
