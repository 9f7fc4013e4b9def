// The demonstration frame in every mode: the tool sets the library up,
// draws, presents and writes a PNG, and the PNG shows what was drawn: the
// key left out or shown, mirroring, stretching, clipping at every edge,
// fills and the last sprite of a sorted batch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "draw_fixture.h"

namespace {

uint32_t BE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// An RGB image as the frame writer stores it: 8-bit RGB, filter 0 on every
// row, stored deflate blocks. False on anything else.
struct PNGFRAME {
  int nWidth = 0;
  int nHeight = 0;
  std::vector<uint8_t> Rows;  // filter byte, then RGB, per row

  uint32_t Rgb(int x, int y) const {
    const uint8_t* p = &Rows[size_t(y) * (1 + size_t(nWidth) * 3) + 1 + size_t(x) * 3];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
};

bool ReadFramePng(const std::string& strPath, PNGFRAME& frame) {
  std::ifstream f(strPath, std::ios::binary);
  const std::vector<uint8_t> png((std::istreambuf_iterator<char>(f)),
                                 std::istreambuf_iterator<char>());
  if (png.size() < 8 || std::string(png.begin() + 1, png.begin() + 4) != "PNG") return false;
  std::vector<uint8_t> z;
  for (size_t i = 8; i + 12 <= png.size();) {
    const uint32_t n = BE32(&png[i]);
    if (i + 12 + n > png.size()) return false;
    const std::string type(png.begin() + long(i) + 4, png.begin() + long(i) + 8);
    const uint8_t* pData = &png[i + 8];
    if (type == "IHDR") {
      if (n != 13 || pData[8] != 8 || pData[9] != 2) return false;
      frame.nWidth = int(BE32(pData));
      frame.nHeight = int(BE32(pData + 4));
    } else if (type == "IDAT") {
      z.insert(z.end(), pData, pData + n);
    }
    i += 12 + n;
  }
  for (size_t i = 2;;) {
    if (i + 5 > z.size() || (z[i] & 6) != 0) return false;
    const size_t nLen = size_t(z[i + 1] | z[i + 2] << 8);
    if (i + 5 + nLen > z.size()) return false;
    frame.Rows.insert(frame.Rows.end(), z.begin() + long(i) + 5, z.begin() + long(i + 5 + nLen));
    const bool bLast = z[i] & 1;
    i += 5 + nLen;
    if (bLast) break;
  }
  const size_t nRow = 1 + size_t(frame.nWidth) * 3;
  if (frame.nWidth <= 0 || frame.Rows.size() != nRow * size_t(frame.nHeight)) return false;
  for (int y = 0; y < frame.nHeight; ++y)
    if (frame.Rows[size_t(y) * nRow] != 0) return false;
  return true;
}

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
  PNGFRAME frame;
  ASSERT_TRUE(ReadFramePng(strPng, frame));
  ASSERT_EQ(frame.nWidth, 640);
  ASSERT_EQ(frame.nHeight, 480);

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
    EXPECT_PRED2(Near, frame.Rgb(p.x, p.y), p.dwRgb)
        << p.szWhat << " at " << p.x << "," << p.y << std::hex << ": 0x" << frame.Rgb(p.x, p.y)
        << " for 0x" << p.dwRgb;
}

INSTANTIATE_TEST_SUITE_P(Modes, cDemoTest, testing::ValuesIn(drawtest::kModes), drawtest::ModeName);

}  // namespace
