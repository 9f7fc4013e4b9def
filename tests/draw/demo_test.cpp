// The demonstration frame in every mode: the tool sets the library up,
// draws, presents and writes a PNG, and the PNG shows what was drawn: the
// key left out or shown, mirroring, stretching, clipping at every edge,
// fills and the last sprite of a sorted batch. The effects sheet shows each
// drawing effect in a cell of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "draw_fixture.h"
#include "support/png_decode.h"
#include "support/temp_folder.h"

namespace {

// The demo's colours (its colour table) and its background ramp.
constexpr uint32_t kKey = 0xFF00FF, kRed = 0xE03030, kGreen = 0x30C030, kBlue = 0x3060E0,
                   kWhite = 0xFFFFFF, kYellow = 0xF0D020;
uint32_t Background(int x, int y) {
  const int i = 10 + ((x + y) / 8) % 246;
  return uint32_t(i / 2) << 8 | uint32_t(i);
}

// 16-bit screens keep 5 or 6 bits of a channel.
bool Near(uint32_t a, uint32_t b) {
  for (int nShift : {0, 8, 16})
    if (std::abs(int(a >> nShift & 255) - int(b >> nShift & 255)) > 8) return false;
  return true;
}

class cDemoTest : public testing::TestWithParam<drawtest::DRAWMODE> {};

TEST_P(cDemoTest, WritesTheFrameAsPng) {
  const std::filesystem::path tool =
      std::filesystem::path(BRIMVALE_EXE).parent_path() / "tools" / "draw_demo";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "draw_demo not built";
  const std::string strDir = drawtest::TempDir();
  const std::string strPng = strDir + "/frame.png";
  std::filesystem::remove(strPng);
  std::string strMode = GetParam().szName;
  const std::string strCommand = tool.string() + " " + strMode + " " + strPng + " " + strDir;
  ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
  const pngtest::DECODED frame = pngtest::Decode(ReadTestFile(strPng));
  ASSERT_EQ(frame.nWidth, 640);
  ASSERT_EQ(frame.nHeight, 480);
  ASSERT_EQ(frame.pixels.size(), size_t(640 * 480));
  const auto Rgb = [&](int x, int y) { return frame.pixels[size_t(y) * 640 + size_t(x)]; };

  struct PIXEL {
    int x, y;
    uint32_t dwRgb;
    const char* szWhat;
  };
  const PIXEL pixels[] = {
      {600, 100, Background(600, 100), "background"},
      {21, 21, kYellow, "keyed sprite: its corner mark"},
      {25, 35, kRed, "keyed sprite: its shaft"},
      {22, 28, Background(22, 28), "keyed sprite: the key is left out"},
      {62, 28, kKey, "unkeyed sprite: the key colour shows"},
      {170, 21, kYellow, "mirrored copy: the mark on the right"},
      {141, 21, Background(141, 21), "mirrored copy: key where the mark was"},
      {183, 23, kYellow, "stretched twice: the mark is 8 pixels"},
      {190, 52, kBlue, "stretched twice: the second frame's shaft"},
      {0, 215, kRed, "cut at the left edge: the arrow's head"},
      {625, 201, kYellow, "cut at the right edge: the mark"},
      {305, 0, kRed, "cut at the top edge: the shaft"},
      {301, 465, kYellow, "cut at the bottom edge: the mark"},
      {50, 115, kGreen, "fill"},
      {0, 150, kWhite, "fill cut at the left edge"},
      {30, 150, Background(30, 150), "beside the cut fill"},
      {320, 240, kWhite, "pixel"},
      {360, 240, kYellow, "circle"},
      {549, 301, kYellow, "last sprite of the batch, from the mirrored copy"},
  };
  for (const PIXEL& p : pixels)
    EXPECT_PRED2(Near, Rgb(p.x, p.y), p.dwRgb)
        << p.szWhat << " at " << p.x << "," << p.y << std::hex << ": 0x" << Rgb(p.x, p.y)
        << " for 0x" << p.dwRgb;
}

INSTANTIATE_TEST_SUITE_P(Modes, cDemoTest, testing::ValuesIn(drawtest::kModes), drawtest::ModeName);

}  // namespace

namespace {

// ---- The effects sheet ------------------------------------------------------

// Channel-wise helpers on 0xRRGGBB colours.
uint32_t PerChannel(uint32_t a, uint32_t b, int (*f)(int, int)) {
  uint32_t out = 0;
  for (int s : {0, 8, 16}) out |= uint32_t(f(int(a >> s) & 255, int(b >> s) & 255)) << s;
  return out;
}
uint32_t Scaled(uint32_t c, double f) {
  uint32_t out = 0;
  for (int s : {0, 8, 16}) out |= uint32_t(int((int(c >> s) & 255) * f)) << s;
  return out;
}
// The device's blend of a over b with a's share nAlpha / 255.
uint32_t Over(uint32_t a, uint32_t b, int nAlpha) {
  uint32_t out = 0;
  for (int s : {0, 8, 16})
    out |= uint32_t(((int(a >> s) & 255) * nAlpha + (int(b >> s) & 255) * (255 - nAlpha)) / 255)
           << s;
  return out;
}
uint32_t Half(uint32_t a, uint32_t b) {
  return PerChannel(a, b, [](int x, int y) { return (x + y) >> 1; });
}

// The demo's colours and its picture of squares.
const uint32_t kDemoColours[] = {0xFF00FF, 0xE03030, 0x30C030, 0x3060E0, 0xFFFFFF,
                                 0xF0D020, 0x20D0D0, 0x808080, 0x000000, 0xA05020};
constexpr uint32_t kGround = 0x20D0D0, kTint = 0x3060E0, kShaft = 0xE03030, kMark = 0xF0D020;
uint32_t Checks(int x, int y) { return kDemoColours[1 + (x / 12 + 2 * (y / 12)) % 6]; }
uint32_t AverageOfChecks(int x0, int y0, int w, int h) {
  int sum[3] = {0, 0, 0};
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      for (int k = 0; k < 3; ++k) sum[k] += int(Checks(x, y) >> (8 * k)) & 255;
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) out |= uint32_t(sum[k] / (w * h)) << (8 * k);
  return out;
}

bool NearBy(uint32_t a, uint32_t b, int nTolerance) {
  for (int nShift : {0, 8, 16})
    if (std::abs(int(a >> nShift & 255) - int(b >> nShift & 255)) > nTolerance) return false;
  return true;
}

TEST_P(cDemoTest, WritesTheEffectsSheet) {
  const std::filesystem::path tool =
      std::filesystem::path(BRIMVALE_EXE).parent_path() / "tools" / "draw_demo";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "draw_demo not built";
  const std::string strDir = drawtest::TempDir();
  const std::string strSheet = strDir + "/sheet.png";
  const std::string strCommand = tool.string() + " " + GetParam().szName + " " + strDir +
                                 "/frame.png " + strDir + " " + strSheet;
  ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
  const pngtest::DECODED sheet = pngtest::Decode(ReadTestFile(strSheet));
  ASSERT_EQ(sheet.pixels.size(), size_t(640 * 480));
  const auto Rgb = [&](int x, int y) { return sheet.pixels[size_t(y) * 640 + size_t(x)]; };
  const bool bD3D = GetParam().bDirect3D != 0, b8 = GetParam().nBpp == 8;
  const int nTolerance = GetParam().nBpp == 16 ? 12 : 2;
  auto expect = [&](int x, int y, uint32_t want, const char* szWhat) {
    EXPECT_PRED3(NearBy, Rgb(x, y), want, nTolerance)
        << szWhat << " at " << x << "," << y << std::hex << ": 0x" << Rgb(x, y) << " for 0x"
        << want;
  };
  constexpr double kDegree = 0.017453292519943295;

  // Tint levels 1 to 4: the device blends toward the colour by a factor per
  // level, the DirectDraw screens halve the channels; 8 bits look the
  // mixes up in their table.
  for (int nLevel = 1; nLevel <= 4; ++nLevel) {
    const int x = (nLevel - 1) * 80 + 29, y = 39;
    if (b8) {
      EXPECT_NE(Rgb(x, y), kShaft) << "tint level " << nLevel;
      continue;
    }
    uint32_t want = kShaft;
    if (bD3D) {
      const int nFactor[] = {128, 80, 48, 16};
      want = Over(kShaft, kTint, nFactor[nLevel - 1]);
    } else {
      for (int l = 0; l < nLevel; ++l) want = Half(want, kTint);
    }
    expect(x, y, want, "tint");
  }
  // Translucency: half and half on the DirectDraw screens, by level on the device.
  if (!b8) {
    expect(4 * 80 + 29, 39, bD3D ? Over(kShaft, kGround, 127) : Half(kShaft, kGround), "half");
    expect(5 * 80 + 29, 39, bD3D ? Over(kShaft, kGround, 191) : Half(kShaft, kGround), "level 64");
  }
  // The overlay is the device's alone.
  expect(6 * 80 + 40, 40, bD3D ? Over(0xFF8000, kGround, 127) : kGround, "overlay");
  // A quarter turn: the mark of the top-left corner lands top-right.
  expect(7 * 80 + 53, 25, kMark, "turned sprite's mark");
  expect(7 * 80 + 26, 25, kGround, "where the mark was");
  // The fade at 60, 30 and 0 degrees (8 bits: each cell its own entry, red).
  const double angles[] = {60, 30, 0};
  for (int k = 0; k < 3; ++k) {
    const double s = std::sin(angles[k] * kDegree);
    const uint32_t c = b8 ? kShaft : kGround;
    const uint32_t want = bD3D ? Scaled(c, int(s * 255) / 255.0) : Scaled(c, int(s * 256) / 256.0);
    expect(k * 80 + 5, 85, want, "fade");
  }
  // Blur (refused at 8 bits): inside a square its colour, across an edge
  // the mix of the two squares.
  const int bx = 3 * 80 + 8 - 16, by = 80 + 8 - 16;  // sheet point of squares' point (0, 0)
  expect(bx + 30, by + 30, b8 ? kGround : Checks(30, 30), "blur inside a square");
  expect(bx + 36, by + 30, b8 ? kGround : AverageOfChecks(33, 27, 6, 6), "blur across an edge");
  // Mosaic cells of 7: the top-left pixel, or the average on the DirectDraw
  // direct-colour screens.
  const int mx = 4 * 80 + 8, my = 80 + 8;
  const bool bAverage = !bD3D && !b8;
  expect(mx + 7 + 3, my + 7 + 3, bAverage ? AverageOfChecks(23, 23, 7, 7) : Checks(23, 23),
         "mosaic cell");
  // Circle window and lens around the squares' point (48, 48).
  expect(5 * 80 + 40, 120, Checks(48, 48), "circle's centre");
  expect(5 * 80 + 2, 82, kGround, "outside the circle");
  expect(6 * 80 + 40, 120, Checks(48, 48), "lens's centre");
  expect(6 * 80 + 50, 120, Checks(54, 48), "lens, 10 pixels right: the point 6 right");
}

}  // namespace
