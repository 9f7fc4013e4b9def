// The circle window's rows and bands, the lens's mapping, and the rotated
// blit (device quad and 10-bit fixed-point mapping) in every mode.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "draw/blit.h"
#include "draw/circle_lens.h"
#include "draw/draw_context.h"
#include "draw/rotate.h"
#include "draw/surfaces.h"
#include "effect_fixture.h"
#include "platform/gfx/pixel_rules.h"

using namespace drawtest;
using namespace plat::gfx;

namespace {

class cCircleLensRotateTest : public cEffectTest {
 protected:
  // Pixel (x, y) of the test pictures: distinct, opaque and never the key.
  uint32_t Pattern(int x, int y) const {
    if (Bpp() == 8) return uint32_t(1 + (x * 7 + y * 3) % 250);
    return Raw((x * 3 + y) % Max(0), (x + 5 * y) % Max(1), 1 + (x + y) % (Max(2) - 1));
  }
  void PatternSource(int w, int h, bool bSystem) {
    Blank(m_Src, w, h, bSystem);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Poke(&m_Src, x, y, Pattern(x, y));
  }
  uint32_t Under() const { return Bpp() == 8 ? 250 : Raw(0, 0, 0); }
};

// ---- Circle window -------------------------------------------------------

// The rows a circle window covers, worked out again row by row in bands of
// nStep rows (each band as wide as its middle row), as (row, first column,
// end column) relative to the centres.
struct SPAN {
  int i, x0, x1;
};
std::vector<SPAN> CircleSpans(int r, int nStep, int hw, int hh, int srcW, int scx) {
  std::vector<SPAN> out;
  const int left = std::max(scx - hw, 0), right = std::min(scx + hw, srcW);
  auto halfWidth = [r](int i) {
    const int d = r * r - i * i;
    if (d <= 0) return 0;
    const int w = int(std::sqrt(double(d)));
    return w >= r ? r - 1 : w;
  };
  auto add = [&](int i, int iMid, int n) {
    const int w = halfWidth(iMid);
    int sx = scx - w, len = 2 * w;
    if (sx < left) {
      len -= left - sx;
      sx = left;
    }
    if (sx + len >= right) len = right - sx;
    for (int k = 0; k < n && len > 0; ++k) out.push_back({i + k, sx - scx, sx - scx + len});
  };
  if (nStep == 1) {
    for (int i = r - 1; i >= -r; --i) {
      if (i >= hh) continue;
      if (i < -hh) break;
      add(i, i, 1);
    }
  } else {
    for (int i = r - nStep; i >= -r; i -= nStep) {
      if (i >= hh) continue;
      if (i + nStep <= -hh) break;
      if (i + nStep > hh) i = hh - nStep;
      if (i < -hh) i = -hh;
      add(i, i + (nStep >> 1), nStep);
    }
  }
  return out;
}

TEST_P(cCircleLensRotateTest, CircleWindowCopiesEvenRowsOrBandsInsideTheCircle) {
  PatternSource(64, 64, false);
  Blank(m_Dst, 64, 64);
  struct {
    int r, nStep, hw, hh;
  } const cases[] = {{1, 1, 100, 100}, {10, 1, 100, 100}, {8, 4, 100, 100}, {12, 1, 4, 3},
                     {12, 5, 100, 7},  {0, 1, 100, 100},  {5, 0, 100, 100}};
  for (const auto& c : cases) {
    Fill(&m_Dst, Under());
    DDBltCircle(&m_Dst, 30, 31, c.hw, c.hh, c.r, c.nStep, &m_Src, 32, 33, 0);
    std::vector<std::vector<bool>> in(64, std::vector<bool>(64, false));
    if (c.r > 0 && c.nStep > 0)
      for (const SPAN& s : CircleSpans(c.r, c.nStep, c.hw, c.hh, 64, 32))
        for (int x = s.x0; x < s.x1; ++x) in[size_t(31 + s.i)][size_t(30 + x)] = true;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        ASSERT_EQ(ReadRaw(&m_Dst, x, y), in[size_t(y)][size_t(x)] ? Pattern(x + 2, y + 2) : Under())
            << "radius " << c.r << " step " << c.nStep << " at " << x << "," << y;
  }
  // Radius 10 row by row: row 0 spans 18 pixels, the top row none.
  const std::vector<SPAN> spans = CircleSpans(10, 1, 100, 100, 64, 32);
  EXPECT_EQ(spans[9].i, 0);
  EXPECT_EQ(spans[9].x1 - spans[9].x0, 18);
  EXPECT_EQ(spans.back().i, -9);
  // Step 4 at radius 8: bands from rows 4, 0, -4 and -8.
  const std::vector<SPAN> bands = CircleSpans(8, 4, 100, 100, 64, 32);
  ASSERT_EQ(bands.size(), 16u);
  EXPECT_EQ(bands[0].i, 4);
  EXPECT_EQ(bands[12].i, -8);
}

// ---- Lens ---------------------------------------------------------------

TEST_P(cCircleLensRotateTest, LensPullsThePointsTowardTheCentre) {
  PatternSource(40, 40, true);
  Blank(m_Dst, 40, 40);
  struct {
    int r, s;
  } const cases[] = {{5, 0}, {6, 4}, {9, 20}, {0, 3}, {1, 10}, {-1, 2}};
  for (const auto& c : cases) {
    Fill(&m_Dst, Under());
    ASSERT_TRUE(DDBltRadial(&m_Dst, 20, 19, c.r, c.s, &m_Src, 21, 18, 0, 0));
    const int64_t D = c.r < 0 ? 0 : int64_t(std::sqrt(double(c.r * c.r + c.s * c.s)));
    const bool bDrawn = c.r >= 0 && D > c.s;
    for (int j = -12; j <= 12; ++j)
      for (int i = -12; i <= 12; ++i) {
        uint32_t want = Under();
        const int d2 = i * i + j * j;
        if (bDrawn && d2 <= c.r * c.r) {
          const double q = std::sqrt(double(D * D - d2));
          int u = i, v = j;
          if (q != 0) {
            u = int(i * c.s / q + 0.5);
            v = int(j * c.s / q + 0.5);
          }
          want = Pattern(21 + u, 18 + v);
        }
        ASSERT_EQ(ReadRaw(&m_Dst, 20 + i, 19 + j), want)
            << "radius " << c.r << " strength " << c.s << " at " << i << "," << j;
      }
  }
  // Strength 0: every point strictly inside shows the source's centre.
  Fill(&m_Dst, Under());
  ASSERT_TRUE(DDBltRadial(&m_Dst, 20, 19, 5, 0, &m_Src, 21, 18, 0, 0));
  EXPECT_EQ(ReadRaw(&m_Dst, 22, 21), Pattern(21, 18));
  EXPECT_EQ(ReadRaw(&m_Dst, 25, 19), Pattern(26, 18));  // on the rim: its own pixel
}

TEST_P(cCircleLensRotateTest, LensLeavesTransparentPixelsOrClearsThem) {
  Blank(m_Src, 16, 16, true);
  Blank(m_Dst, 16, 16);
  Fill(&m_Src, IsD3D() ? 0 : Key());
  Poke(&m_Src, 8, 8, Pattern(1, 1));
  Fill(&m_Dst, Under());
  ASSERT_TRUE(DDBltRadial(&m_Dst, 8, 8, 3, 0, &m_Src, 8, 8, 0, 0));
  // DirectDraw leaves the key out whatever the flags; Direct3D 16-bit only
  // with the key flag, 32-bit always.
  const bool bCopiesClear = IsD3D() && Bpp() == 16;
  EXPECT_EQ(ReadRaw(&m_Dst, 8, 11), bCopiesClear ? 0u : Under());  // rim: its own (clear) pixel
  EXPECT_EQ(ReadRaw(&m_Dst, 9, 9), Pattern(1, 1));
  Fill(&m_Dst, Under());
  ASSERT_TRUE(DDBltRadial(&m_Dst, 8, 8, 3, 0, &m_Src, 8, 8, 1, 1));
  const bool bClears = IsD3D() && Bpp() == 32;
  EXPECT_EQ(ReadRaw(&m_Dst, 8, 11), bClears ? 0u : Under());
  EXPECT_EQ(ReadRaw(&m_Dst, 11, 11), bClears ? 0u : Under());  // in the square, past the circle
  EXPECT_EQ(ReadRaw(&m_Dst, 12, 12), Under());                 // past the square
}

// ---- Rotation -------------------------------------------------------------

// The source offset the 10-bit mapping reads for box point (dx, dy).
void InverseMap(int nAngle, int dx, int dy, int ox, int oy, int& u, int& v) {
  const double k = 0.017453292519943278;
  const int64_t s = int64_t(std::sin(-nAngle * k) * 1024),
                c = int64_t(std::cos(-nAngle * k) * 1024);
  u = int(((dx * c - dy * s) >> 10) + ox);
  v = int(((dy * c + dx * s) >> 10) + oy);
}

TEST_P(cCircleLensRotateTest, SoftwareRotationMapsBackInTenBitFixedPoint) {
  constexpr int w = 12, h = 8, ox = w >> 1, oy = h >> 1;
  PatternSource(20, 20, true);
  Poke(&m_Src, 5, 6, IsD3D() ? 0 : Key());
  Blank(m_Dst, 48, 48);
  for (int nAngle : {0, 90, 30, 200, -45})
    for (int nFlags : {0, 1}) {
      Fill(&m_Dst, Under());
      ASSERT_TRUE(DDBltRotate(&m_Dst, 24, 23, w, h, ox, oy, nAngle, &m_Src, 2, 3, nFlags));
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
          int u, v;
          InverseMap(nAngle, x - 24, y - 23, ox, oy, u, v);
          uint32_t want = Under();
          // Points in the turned rectangle's box (at most w + h out).
          if (std::abs(x - 24) <= w + 2 && std::abs(y - 23) <= w + 2 && u >= 0 && u < w && v >= 0 &&
              v < h) {
            const uint32_t p = ReadRaw(&m_Src, 2 + u, 3 + v);
            const bool bKeyed = nFlags == 1 && p == (IsD3D() ? g_DD.dwColorKey : Key());
            if (!bKeyed) want = p;
          }
          ASSERT_EQ(ReadRaw(&m_Dst, x, y), want)
              << nAngle << " degrees, flags " << nFlags << " at " << x << "," << y;
        }
    }
  // At 90 degrees the point dx, dy reads u = ox + dy, v = oy - dx.
  int u, v;
  InverseMap(90, 2, 1, ox, oy, u, v);
  EXPECT_EQ(u, ox + 1);
  EXPECT_EQ(v, oy - 2);
  // 30 degrees: trunc(sin 30 x 1024) = 511.
  EXPECT_EQ(int64_t(std::sin(30 * 0.017453292519943278) * 1024), 511);
}

TEST_P(cCircleLensRotateTest, TheScreenTurnsAboutItsCentre) {
  if (IsD3D()) GTEST_SKIP() << "the back buffer is drawn by the device in Direct3D";
  DDSURFACEDATA copy;
  Blank(copy, 640, 480, true);
  for (int nAngle : {7, 90, 180, 333}) {
    Fill(&copy, Under());
    Poke(&copy, 320, 240, Pattern(3, 4));
    ASSERT_TRUE(DDBltRotate(&BackBuffer, 320, 240, 640, 480, 320, 240, nAngle, &copy, 0, 0, 0));
    EXPECT_EQ(ReadRaw(&BackBuffer, 320, 240), Pattern(3, 4)) << nAngle;
  }
  DDReleaseSurface(&copy);
}

TEST_P(cCircleLensRotateTest, DeviceRotationTurnsTheQuadAboutItsPivot) {
  if (!IsD3D()) GTEST_SKIP() << "the device's quad";
  PatternSource(8, 8, false);
  Blank(m_Dst, 32, 32);
  // Angle 0 is the plain blit.
  Fill(&m_Dst, Under());
  ASSERT_TRUE(DDBltRotate(&m_Dst, 12, 12, 4, 4, 2, 2, 0, &m_Src, 1, 1, 1));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadRaw(&m_Dst, 10 + x, 10 + y), Pattern(1 + x, 1 + y));
  // A quarter turn clockwise: the rectangle's top row becomes its right column.
  Fill(&m_Dst, Under());
  ASSERT_TRUE(DDBltRotate(&m_Dst, 12, 12, 4, 4, 2, 2, 90, &m_Src, 1, 1, 1));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(ReadRaw(&m_Dst, 10 + x, 10 + y), Pattern(1 + y, 1 + 3 - x)) << x << "," << y;
  EXPECT_EQ(ReadRaw(&m_Dst, 9, 9), Under());
  // Nothing to draw from or into.
  EXPECT_TRUE(DDBltRotate(nullptr, 0, 0, 4, 4, 2, 2, 0, &m_Src, 0, 0, 0));
  EXPECT_TRUE(DDBltRotate(&m_Dst, 0, 0, 0, 4, 0, 2, 0, &m_Src, 0, 0, 0));
}

TEST_P(cCircleLensRotateTest, MirroredSharingRecordTurnsFacingTheOtherWay) {
  if (!IsD3D()) GTEST_SKIP() << "sharing records are Direct3D's";
  for (bool bSystem : {false, true}) {
    DDSURFACEDATA owner, mirrored;
    Blank(owner, 8, 2, bSystem);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 8; ++x) Poke(&owner, x, y, Raw(x + 1, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&mirrored, 8, 2, 1, 0, 0, 1, 0));
    mirrored.lpShareSD = &owner;
    mirrored.nMirrorWidth = 8;
    Blank(m_Dst, 16, 8);
    ASSERT_TRUE(DDBltRotate(&m_Dst, 8, 4, 8, 2, 4, 1, 0, &mirrored, 0, 0, 0));
    for (int x = 0; x < 8; ++x) {
      int r, g, b;
      Channels(ReadRaw(&m_Dst, 4 + x, 3), r, g, b);
      EXPECT_EQ(r, 8 - x) << (bSystem ? "software " : "device ") << x;
    }
    DDReleaseSurface(&mirrored);
    DDReleaseSurface(&owner);
    DDReleaseSurface(&m_Dst);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, cCircleLensRotateTest, testing::ValuesIn(kModes), ModeName);

}  // namespace
