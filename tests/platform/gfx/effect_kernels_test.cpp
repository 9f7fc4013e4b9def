// The colour effects' row loops: the scalar definitions against the
// effects' formulas, the vector loops against the scalar ones over every
// 16-bit value, and the key rules.
#include "platform/gfx/effect_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

// Every 16-bit value once, in an order that puts unlike neighbours together.
std::vector<uint16_t> AllValues() {
  std::vector<uint16_t> v(65536);
  for (uint32_t i = 0; i < 65536; ++i) v[i] = uint16_t(i * 40503u);
  return v;
}

const ePixelFormat kFormats16[] = {ePixelFormat::R5G6B5, ePixelFormat::X1R5G5B5};

TEST(EffectKernelsTest, ScalarRowsFollowTheFormulas) {
  const GFXFIELDS16 f = GetFields16(ePixelFormat::R5G6B5);
  // White (31, 63, 31) tinted once toward black: each channel 255 -> 127,
  // back to 15, 31, 15.
  uint16_t s = 0xFFFF, d = 0;
  TintRow16Scalar(&d, &s, 1, f, {0, 0, 0}, 1, false, 0);
  EXPECT_EQ(d, Pack565(15, 31, 15));
  // Half mix of white and black: (255 + 0) >> 1 = 127 per channel.
  d = 0x0000;
  HalfMixRow16Scalar(&d, &s, 1, f, false, 0x1234);
  EXPECT_EQ(d, Pack565(15, 31, 15));
  // Fade at level 128 of red (31 -> 255) toward blue: red 127, blue 127.
  s = Pack565(31, 0, 0);
  FadeRow16Scalar(&d, &s, 1, f, 128, {0, 0, 255});
  EXPECT_EQ(d, Pack565(ScaleChannelDown(127, 31), 0, ScaleChannelDown(127, 31)));
  // 32 bits: red toward blue by one halving is (127, 0, 127); the fourth
  // byte stays.
  uint32_t s32 = 0x00FF0000u, d32 = 0xAB000000u;
  TintRow32(&d32, &s32, 1, {0, 0, 255}, 1, false, 0);
  EXPECT_EQ(d32, 0xAB7F007Fu);
  d32 = 0x11FFFFFFu;
  s32 = 0x00000000u;
  HalfMixRow32(&d32, &s32, 1, false, 0x123456);
  EXPECT_EQ(d32, 0x117F7F7Fu);
  s32 = 0x00C80000u;  // red 200
  FadeRow32(&d32, &s32, 1, 128, {0, 0, 0});
  EXPECT_EQ(d32, 0x11640000u);  // 200 * 128 >> 8 = 100
}

TEST(EffectKernelsTest, VectorRowsMatchTheScalarRowsOnEveryValue) {
  const std::vector<uint16_t> src = AllValues();
  std::mt19937 rng(3);
  std::vector<uint16_t> under(src.size());
  for (uint16_t& v : under) v = uint16_t(rng());
  const GFXRGB colours[] = {{0, 0, 0}, {255, 255, 255}, {37, 200, 91}};
  for (ePixelFormat format : kFormats16) {
    const GFXFIELDS16 f = GetFields16(format);
    // Lengths that leave the vector loop a tail of every size.
    const int n = int(src.size()) - 5;
    for (const GFXRGB& k : colours) {
      // Halvings past the settled count change nothing.
      for (int nLevel : {0, 1, 2, 3, 4, 8, 9, 30}) {
        std::vector<uint16_t> a = under, b = under;
        TintRow16(a.data(), src.data(), n, f, k, nLevel, true, 0x7C1F);
        TintRow16Scalar(b.data(), src.data(), n, f, k, nLevel, true, 0x7C1F);
        ASSERT_EQ(a, b) << GetFormatName(format) << " tint level " << nLevel;
      }
      for (int nLevel : {0, 1, 127, 128, 255, 256}) {
        std::vector<uint16_t> a = under, b = under;
        FadeRow16(a.data(), src.data(), n, f, nLevel, k);
        FadeRow16Scalar(b.data(), src.data(), n, f, nLevel, k);
        ASSERT_EQ(a, b) << GetFormatName(format) << " fade level " << nLevel;
      }
    }
    for (bool bKey : {false, true}) {
      std::vector<uint16_t> a = under, b = under;
      HalfMixRow16(a.data(), src.data(), n, f, bKey, under[7]);
      HalfMixRow16Scalar(b.data(), src.data(), n, f, bKey, under[7]);
      ASSERT_EQ(a, b) << GetFormatName(format) << " half mix";
    }
  }
  // 32 bits: random pixels with the key among the sources and under them.
  std::vector<uint32_t> s32(1027), d32(s32.size());
  for (size_t i = 0; i < s32.size(); ++i) {
    s32[i] = i % 5 == 0 ? 0xAB00FF00u : rng();
    d32[i] = i % 7 == 0 ? 0x0000FF00u : rng();
  }
  for (bool bKey : {false, true}) {
    std::vector<uint32_t> a = d32, b = d32;
    HalfMixRow32(a.data(), s32.data(), int(s32.size()), bKey, 0x0000FF00u);
    HalfMixRow32Scalar(b.data(), s32.data(), int(s32.size()), bKey, 0x0000FF00u);
    ASSERT_EQ(a, b) << "32-bit half mix";
  }
}

TEST(EffectKernelsTest, KeysLeaveOrTakeThePixel) {
  const GFXFIELDS16 f = GetFields16(ePixelFormat::R5G6B5);
  const uint16_t key = 0xF81F;
  // Tint: a keyed source pixel leaves the destination alone.
  std::vector<uint16_t> s(9, key), d(9, 0x1234);
  s[4] = 0xFFFF;
  TintRow16(d.data(), s.data(), 9, f, {0, 0, 0}, 1, true, key);
  EXPECT_EQ(d[0], 0x1234);
  EXPECT_NE(d[4], 0x1234);
  // Half mix: a destination pixel in the key takes the source as it is.
  std::vector<uint16_t> hs(9, 0x07E0), hd(9, key);
  HalfMixRow16(hd.data(), hs.data(), 9, f, true, key);
  EXPECT_EQ(hd, std::vector<uint16_t>(9, 0x07E0));
  // 32 bits compare the colour bytes only.
  uint32_t s32 = 0xFFFF00FFu, d32 = 0x01020304u;
  TintRow32(&d32, &s32, 1, {0, 0, 0}, 1, true, 0x00FF00FF);
  EXPECT_EQ(d32, 0x01020304u);
  HalfMixRow32(&d32, &s32, 1, true, 0x00FF00FF);
  EXPECT_EQ(d32, 0x01020304u);
}

}  // namespace
}  // namespace plat::gfx
