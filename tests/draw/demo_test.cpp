// The demonstration frame in every mode: the tool sets the library up,
// draws, presents and writes a PNG, and the PNG shows what was drawn: the
// key left out or shown, mirroring, stretching, clipping at every edge,
// fills and the last sprite of a sorted batch.
#include <gtest/gtest.h>

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
