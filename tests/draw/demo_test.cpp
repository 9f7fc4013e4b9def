// The demonstration contact sheet in every mode: the tool sets the library
// up, draws each panel, presents it and writes the sheet as one PNG, and
// the PNG shows what was drawn. Panel 0: the key left out or shown,
// mirroring, stretching, clipping at every edge, fills and the last sprite
// of a sorted batch. Panel 1: text in the three fonts, boxes, symbol
// pictures and numbers. Panel 2: the composite blits, where the formulas
// say.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/trunc_int.h"
#include "draw_fixture.h"
#include "support/png_decode.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

// The demo's colours (its colour table) and its background ramp.
constexpr uint32_t kDemoKey = 0xFF00FF, kDemoRed = 0xE03030, kDemoGreen = 0x30C030,
                   kDemoBlue = 0x3060E0, kDemoWhite = 0xFFFFFF, kDemoYellow = 0xF0D020;
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

constexpr int kPanelWidth = 640, kPanelHeight = 480, kSheetColumns = 2;

// The sheet, read by panel.
class cSheet {
 public:
  explicit cSheet(pngtest::DECODED d) : m_d(std::move(d)) {}
  uint32_t Rgb(int nPanel, int x, int y) const {
    const int sx = (nPanel % kSheetColumns) * kPanelWidth + x;
    const int sy = (nPanel / kSheetColumns) * kPanelHeight + y;
    return m_d.pixels[size_t(sy) * size_t(m_d.nWidth) + size_t(sx)];
  }
  // Pixels of the rectangle near the colour.
  int Count(int nPanel, int x, int y, int w, int h, uint32_t dwRgb) const {
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += Near(Rgb(nPanel, i, j), dwRgb) ? 1 : 0;
    return n;
  }
  const pngtest::DECODED& Decoded() const { return m_d; }

 private:
  pngtest::DECODED m_d;
};

struct PIXEL {
  int x, y;
  uint32_t dwRgb;
  const char* szWhat;
};

void ExpectPixels(const cSheet& sheet, int nPanel, const std::vector<PIXEL>& pixels) {
  for (const PIXEL& p : pixels)
    EXPECT_PRED2(Near, sheet.Rgb(nPanel, p.x, p.y), p.dwRgb)
        << "panel " << nPanel << ": " << p.szWhat << " at " << p.x << "," << p.y << std::hex
        << ": 0x" << sheet.Rgb(nPanel, p.x, p.y) << " for 0x" << p.dwRgb;
}

void CheckCorePanel(const cSheet& sheet) {
  ExpectPixels(sheet, 0,
               {
                   {600, 100, Background(600, 100), "background"},
                   {21, 21, kDemoYellow, "keyed sprite: its corner mark"},
                   {25, 35, kDemoRed, "keyed sprite: its shaft"},
                   {22, 28, Background(22, 28), "keyed sprite: the key is left out"},
                   {62, 28, kDemoKey, "unkeyed sprite: the key colour shows"},
                   {170, 21, kDemoYellow, "mirrored copy: the mark on the right"},
                   {141, 21, Background(141, 21), "mirrored copy: key where the mark was"},
                   {183, 23, kDemoYellow, "stretched twice: the mark is 8 pixels"},
                   {190, 52, kDemoBlue, "stretched twice: the second frame's shaft"},
                   {0, 215, kDemoRed, "cut at the left edge: the arrow's head"},
                   {625, 201, kDemoYellow, "cut at the right edge: the mark"},
                   {305, 0, kDemoRed, "cut at the top edge: the shaft"},
                   {301, 465, kDemoYellow, "cut at the bottom edge: the mark"},
                   {50, 115, kDemoGreen, "fill"},
                   {0, 150, kDemoWhite, "fill cut at the left edge"},
                   {30, 150, Background(30, 150), "beside the cut fill"},
                   {320, 240, kDemoWhite, "pixel"},
                   {360, 240, kDemoYellow, "circle"},
                   {549, 301, kDemoYellow, "last sprite of the batch, from the mirrored copy"},
               });
}

// Text is white, boxes are blue inside a yellow outline; glyph shapes come
// from the installed font, so text is checked where a glyph surely has ink
// (the middle of ■) or only as some ink inside its cells.
void CheckTextPanel(const cSheet& sheet) {
  ExpectPixels(sheet, 1,
               {
                   {13, 25, kDemoWhite, "font 0: the middle of ■"},
                   {16, 66, kDemoWhite, "font 1: the middle of ■"},
                   {24, 116, kDemoWhite, "font 2: the middle of ■"},
                   // "FPS60(12)" in a box sized to it: 9 cells of 16, one line.
                   {24, 160, kDemoBlue, "box sized to its text: the window picture"},
                   {23, 170, kDemoYellow, "box sized to its text: the outline's left"},
                   {168, 170, kDemoYellow, "box sized to its text: the outline's right"},
                   {100, 159, kDemoYellow, "box sized to its text: the outline's top"},
                   {100, 176, kDemoYellow, "box sized to its text: the outline's bottom"},
                   {167, 175, kDemoBlue, "box sized to its text: its last pixel"},
                   // Indent 8 and two lines, the wider one 9 cells.
                   {176, 210, kDemoYellow, "indented box: 8 + 144 wide"},
                   {100, 232, kDemoYellow, "indented box: two lines high"},
                   {40, 208, kDemoWhite, "indented box: ■ at the indent"},
                   // a, b, x as symbol pictures (colours 1, 2, 3 by letter).
                   {32, 268, kDemoRed, "symbol picture for a"},
                   {48, 268, kDemoGreen, "symbol picture for b"},
                   {112, 268, kDemoBlue, "symbol picture for x"},
                   {96, 268, kDemoWhite, "■ among the symbols"},
               });
  // 42 in five places of 16: right-aligned from x 72, centred from x 48.
  EXPECT_GT(sheet.Count(1, 72, 320, 32, 16, kDemoWhite), 4) << "42 right-aligned";
  EXPECT_EQ(sheet.Count(1, 24, 320, 48, 16, kDemoWhite), 0) << "nothing before it";
  EXPECT_GT(sheet.Count(1, 48, 340, 32, 16, kDemoWhite), 4) << "42 centred";
  EXPECT_EQ(sheet.Count(1, 24, 340, 24, 16, kDemoWhite), 0) << "nothing before it";
  EXPECT_EQ(sheet.Count(1, 80, 340, 40, 16, kDemoWhite), 0) << "nothing after it";
  EXPECT_GT(sheet.Count(1, 24, 370, 32, 32, kDemoWhite), 10) << "8 in the large digits";
  EXPECT_GT(sheet.Count(1, 549, 469, 90, 10, kDemoWhite), 4) << "small frame-rate text";
}

// The composite blits of a 64 x 64 picture: red, its top row yellow and its
// left column white; the second face blue.
void CheckCompositePanel(const cSheet& sheet) {
  ExpectPixels(sheet, 2,
               {
                   {21, 50, kDemoWhite, "outline: left band"},
                   {98, 50, kDemoWhite, "outline: right band"},
                   {50, 21, kDemoWhite, "outline: top band"},
                   {50, 78, kDemoWhite, "outline: bottom band"},
                   {50, 50, Background(50, 50), "outline: inside"},
                   {131, 25, kDemoRed, "framed picture"},
                   {127, 40, kDemoYellow, "framed picture: the frame left of it"},
                   {187, 40, kDemoYellow, "framed picture: the frame right of it"},
                   {150, 21, kDemoYellow, "framed picture: the frame above it"},
                   {150, 74, kDemoYellow, "framed picture: the frame below it"},
               });
  const double m = 0.017453292519943295;
  // Columns moved up and down: the yellow top row follows the sine.
  for (int i = 1; i < 64; i += 7) {
    const int nOff = TruncI32(8.0 * std::sin(m * (0 + 360.0 / 64 * (i + 1))));
    ExpectPixels(sheet, 2, {{220 + i, 20 + nOff, kDemoYellow, "vertical wave: the top row"}});
  }
  // Strips of 4 rows moved sideways: the white left column follows the sine.
  for (int j = 0; j < 16; j += 3) {
    const int nOff = TruncI32(6.0 * std::sin(2 * m * (90 + 360.0 / 64 * 4 * (j + 1))));
    ExpectPixels(sheet, 2,
                 {{320 + nOff, 20 + 4 * j + 1, kDemoWhite, "horizontal wave: left column"}});
  }
  // Strips of 8 columns: odd ones 6 up, even ones 6 down.
  for (int d = 0; d < 64; d += 8) {
    const bool bOdd = (d / 8) % 2 == 1;
    ExpectPixels(sheet, 2,
                 {{20 + d + 1, 140 + (bOdd ? -6 : 6), kDemoYellow, "column interlace: top row"}});
  }
  for (int d = 0; d < 64; d += 8) {
    const bool bOdd = (d / 8) % 2 == 1;
    ExpectPixels(sheet, 2,
                 {{120 + (bOdd ? -6 : 6), 140 + d + 1, kDemoWhite, "row interlace: left column"}});
  }
  ExpectPixels(sheet, 2,
               {
                   {235, 134, kDemoYellow, "quarter: top left moved up left"},
                   {279, 134, kDemoYellow, "quarter: top right moved up right"},
                   {234, 183, kDemoWhite, "quarter: bottom left moved down left"},
                   {283, 183, kDemoRed, "quarter: bottom right moved down right"},
                   {270, 150, Background(270, 150), "quarter: the gap between"},
               });
  // A 64-wide card (u = 32): band x + v .. x + 64 - v, the second face from
  // counter 32 on.
  const int nSteps[] = {0, 12, 24, 31, 32, 44, 56};
  for (int k = 0; k < 7; ++k) {
    const int r = nSteps[k], u = 32;
    const int v = (r / u) % 2 == 0 ? r % u : u - (r % u) - 1;
    const uint32_t dwFace = ((r + u) / 64) % 2 ? kDemoBlue : kDemoRed;
    const int x = 20 + k * 72;
    ExpectPixels(sheet, 2,
                 {{x + 32, 260 + 32, dwFace, "card about the vertical axis: its face"},
                  {x + 32, 350 + 32, dwFace, "card about the horizontal axis: its face"}});
    if (v > 0)
      ExpectPixels(sheet, 2,
                   {{x + v - 1, 292, Background(x + v - 1, 292), "card: left of its band"},
                    {x + 32, 350 + v - 1, Background(x + 32, 350 + v - 1), "card: above"}});
  }
}

class cDemoTest : public testing::TestWithParam<drawtest::DRAWMODE> {};

TEST_P(cDemoTest, WritesTheContactSheetAsPng) {
  const std::filesystem::path tool =
      std::filesystem::path(ProgramPath()).parent_path() / "tools" / "draw_demo";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "draw_demo not built";
  const std::string strDir = drawtest::TempDir();
  const std::string strPng = strDir + "/frame.png";
  std::filesystem::remove(strPng);
  std::string strMode = GetParam().szName;
  const std::string strCommand = tool.string() + " " + strMode + " " + strPng + " " + strDir;
  ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
  const cSheet sheet(pngtest::Decode(ReadTestFile(strPng)));
  ASSERT_EQ(sheet.Decoded().nWidth, kPanelWidth * kSheetColumns);
  ASSERT_GE(sheet.Decoded().nHeight, kPanelHeight * 2);
  ASSERT_EQ(sheet.Decoded().pixels.size(),
            size_t(sheet.Decoded().nWidth) * size_t(sheet.Decoded().nHeight));
  CheckCorePanel(sheet);
  CheckTextPanel(sheet);
  CheckCompositePanel(sheet);
}

INSTANTIATE_TEST_SUITE_P(Modes, cDemoTest, testing::ValuesIn(drawtest::kModes), drawtest::ModeName);

}  // namespace
