// The composite blits over the mode matrix, their pixels worked out from
// their rules: outlines, framed pictures, numbers, the sine wave, the
// interlace split, the turning card and the four quarters, and what zero
// sizes and sources cut by their surface's edge do.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/trunc_int.h"
#include "draw/blit.h"
#include "draw/composite_blits.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"

namespace {

using drawtest::ReadRgbArea;

using drawtest::kBackground, drawtest::kRed, drawtest::kYellow, drawtest::kWhite, drawtest::kBlue,
    drawtest::kGreen;
constexpr int kPalBackground = 3, kPalRed = 10, kPalYellow = 11, kPalWhite = 12, kPalBlue = 13,
              kPalGreen = 14, kPalDigits = 20;
// Each digit's cell is two colours, its left and right half, no two alike.
constexpr uint32_t kDigitLeft[10] = {0x0000FF, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
                                     0xFF00FF, 0xFFFF00, 0xFFFFFF, 0xFFFFFF, 0xFF0000};
constexpr uint32_t kDigitRight[10] = {0xFFFF00, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
                                      0xFF00FF, 0xFFFF00, 0xFFFFFF, 0xFF0000, 0xFFFFFF};

// A region of the back buffer read once.
class cArea {
 public:
  cArea(int x, int y, int w, int h)
      : m_x(x), m_y(y), m_w(w), m_px(ReadRgbArea(&BackBuffer, x, y, w, h)) {}
  uint32_t At(int x, int y) const { return m_px[size_t(y - m_y) * size_t(m_w) + size_t(x - m_x)]; }

 private:
  int m_x, m_y, m_w;
  std::vector<uint32_t> m_px;
};

class cCompositeTest : public drawtest::cDrawModeTest {
 protected:
  void SetUp() override {
    cDrawModeTest::SetUp();
    std::vector<std::pair<int, uint32_t>> pal = {
        {kPalBackground, kBackground}, {kPalRed, kRed},   {kPalYellow, kYellow},
        {kPalWhite, kWhite},           {kPalBlue, kBlue}, {kPalGreen, kGreen}};
    for (int d = 0; d < 10; ++d) {
      pal.push_back({kPalDigits + 2 * d, kDigitLeft[d]});
      pal.push_back({kPalDigits + 2 * d + 1, kDigitRight[d]});
    }
    drawtest::InstallPalette(pal);
    Clear();
    // The picture: red, its top row yellow, its left column white; the
    // second face blue.
    ASSERT_TRUE(DDCreateSurface(&m_Picture, 64, 64, 1, 0, 0, 0, 0));
    DDFillRect(&m_Picture, 0, 0, 64, 64, kPalRed);
    DDFillRect(&m_Picture, 0, 0, 64, 1, kPalYellow);
    DDFillRect(&m_Picture, 0, 0, 1, 64, kPalWhite);
    ASSERT_TRUE(DDCreateSurface(&m_Back, 64, 64, 1, 0, 0, 0, 0));
    DDFillRect(&m_Back, 0, 0, 64, 64, kPalBlue);
  }
  void TearDown() override {
    DDReleaseSurface(&m_Picture);
    DDReleaseSurface(&m_Back);
    cDrawModeTest::TearDown();
  }
  void Clear() { DDFillRect(&BackBuffer, 0, 0, 640, 480, kPalBackground); }
  uint32_t Rgb(uint32_t c) const { return drawtest::ScreenRgbOf(c); }
  // Pixels of the area that are not the background.
  int CountDrawn(int x, int y, int w, int h) {
    int n = 0;
    for (uint32_t c : ReadRgbArea(&BackBuffer, x, y, w, h)) n += c != Rgb(kBackground);
    return n;
  }

  DDSURFACEDATA m_Picture, m_Back;
};

TEST_P(cCompositeTest, OutlinesLieInsideTheRectangleAndFramesOutsideThePicture) {
  DDFrameRect(&BackBuffer, 100, 100, 40, 30, 3, kPalWhite);
  cArea a(90, 90, 60, 50);
  EXPECT_EQ(a.At(100, 115), Rgb(kWhite));
  EXPECT_EQ(a.At(102, 115), Rgb(kWhite));
  EXPECT_EQ(a.At(103, 115), Rgb(kBackground));
  EXPECT_EQ(a.At(139, 115), Rgb(kWhite));
  EXPECT_EQ(a.At(136, 115), Rgb(kBackground));
  EXPECT_EQ(a.At(120, 100), Rgb(kWhite));
  EXPECT_EQ(a.At(120, 129), Rgb(kWhite));
  EXPECT_EQ(a.At(120, 126), Rgb(kBackground));
  EXPECT_EQ(a.At(99, 115), Rgb(kBackground));

  // Thicker than half the size: the bands cover it all.
  DDFrameRect(&BackBuffer, 200, 100, 10, 8, 5, kPalGreen);
  for (uint32_t c : ReadRgbArea(&BackBuffer, 200, 100, 10, 8)) EXPECT_EQ(c, Rgb(kGreen));
  EXPECT_EQ(CountDrawn(195, 95, 20, 18), 80);

  DDBltFrame(&BackBuffer, 300, 100, 20, 10, &m_Picture, 2, kPalBlue);
  cArea f(290, 90, 40, 30);
  EXPECT_EQ(f.At(300, 100), Rgb(kWhite)) << "the picture's corner";
  EXPECT_EQ(f.At(301, 100), Rgb(kYellow)) << "its top row";
  EXPECT_EQ(f.At(301, 105), Rgb(kRed));
  EXPECT_EQ(f.At(319, 109), Rgb(kRed));
  for (auto [x, y] :
       {std::pair{298, 105}, {299, 105}, {320, 105}, {321, 105}, {310, 98}, {310, 111}})
    EXPECT_EQ(f.At(x, y), Rgb(kBlue)) << x << "," << y;
  EXPECT_EQ(f.At(297, 105), Rgb(kBackground));
  EXPECT_EQ(f.At(322, 105), Rgb(kBackground));
}

TEST_P(cCompositeTest, NumbersArePaddedRightOrCentredFromTheDigitSheet) {
  DDSURFACEDATA digits;
  ASSERT_TRUE(DDCreateSurface(&digits, 80, 10, 1, 0, 0, 0, 0));
  for (int d = 0; d < 10; ++d) {
    DDFillRect(&digits, d * 8, 0, 4, 10, uint32_t(kPalDigits + 2 * d));
    DDFillRect(&digits, d * 8 + 4, 0, 4, 10, uint32_t(kPalDigits + 2 * d + 1));
  }
  struct {
    int nValue, nMinDigits, bCenter;
    int nFirstX;  // where the first digit lands, from x 100
    const char* szDigits;
  } const cases[] = {
      {7, 3, 0, 16, "7"},
      {7, 3, 1, 8, "7"},
      {0, 1, 0, 0, "0"},
      {1234, 2, 0, 0, "1234"},
      {1234, 6, 1, 8, "1234"},
      {1234, 7, 1, 12, "1234"},
      {2147483647, 1, 0, 0, "2147483647"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nValue);
    Clear();
    DDDrawNumber(&BackBuffer, 100, 50, 8, 10, &digits, 0, 0, 1, c.nValue, c.nMinDigits, c.bCenter);
    cArea a(90, 50, 100, 10);
    int x = 100 + c.nFirstX;
    EXPECT_EQ(a.At(x - 1, 55), Rgb(kBackground));
    for (const char* p = c.szDigits; *p; ++p, x += 8) {
      EXPECT_EQ(a.At(x, 55), Rgb(kDigitLeft[*p - '0'])) << *p;
      EXPECT_EQ(a.At(x + 7, 59), Rgb(kDigitRight[*p - '0'])) << *p;
    }
    if (x < 190) {
      EXPECT_EQ(a.At(x, 55), Rgb(kBackground));
    }
  }
  Clear();
  DDDrawNumber(&BackBuffer, 100, 50, 8, 10, &digits, 0, 0, 1, -5, 3, 0);
  EXPECT_EQ(CountDrawn(0, 40, 640, 30), 0) << "no negative numbers";
  DDReleaseSurface(&digits);
}

TEST_P(cCompositeTest, WaveLinesMoveByTheSineOfTheirAngle) {
  const double m1 = 0.017453292519943295;
  struct {
    int nWaves;
    double dAmplitude;
    int nPhase, nStrip, bVertical;
  } const cases[] = {
      {1, 8.0, 0, 1, 1}, {2, 5.5, 45, 3, 1},   {1, 6.0, 90, 1, 0},
      {3, 4.0, 0, 5, 0}, {1, -7.0, 30, 64, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "waves " << c.nWaves << " strip " << c.nStrip
                                    << (c.bVertical ? " columns" : " rows"));
    Clear();
    DDBltWave(&BackBuffer, 200, 200, 64, 64, c.nWaves, c.dAmplitude, c.nPhase, c.nStrip, &m_Picture,
              0, 0, 1, c.bVertical);
    cArea a(180, 180, 104, 104);
    double dSum = 0.0;
    for (int i = 0; i < 64; i += c.nStrip) {
      dSum += 360.0 / 64 * c.nStrip;
      const int nOff = TruncI32(c.dAmplitude * std::sin(c.nWaves * m1 * (c.nPhase + dSum)));
      for (int k = i; k < i + c.nStrip && k < 64; ++k) {
        if (c.bVertical) {
          EXPECT_EQ(a.At(200 + k, 200 + nOff), Rgb(k == 0 ? kWhite : kYellow)) << "column " << k;
          EXPECT_EQ(a.At(200 + k, 200 + nOff - 1), Rgb(kBackground)) << "column " << k;
        } else {
          EXPECT_EQ(a.At(200 + nOff, 200 + k), Rgb(kWhite)) << "row " << k;
          EXPECT_EQ(a.At(200 + nOff - 1, 200 + k), Rgb(kBackground)) << "row " << k;
        }
      }
    }
  }
  // One column: its offset is the sine at phase + 360.
  Clear();
  DDBltWave(&BackBuffer, 300, 100, 1, 16, 1, 10.0, 30, 1, &m_Picture, 1, 0, 1, 1);
  const int nOff = TruncI32(10.0 * std::sin(m1 * (30 + 360.0)));
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 300, 100 + nOff, 1, 1)[0], Rgb(kYellow));
  EXPECT_EQ(CountDrawn(290, 80, 20, 50), 16);
}

TEST_P(cCompositeTest, InterlaceMovesOddAndEvenStripsApart) {
  for (int bColumn : {1, 0}) {
    SCOPED_TRACE(bColumn ? "columns" : "rows");
    Clear();
    // 60 lines in strips of 8: seven strips, the last 4 lines not drawn.
    const int w = bColumn ? 60 : 64, h = bColumn ? 64 : 60;
    DDBltInterlace(&BackBuffer, 200, 200, w, h, 8, 5, &m_Picture, 0, 0, 1, bColumn);
    cArea a(180, 180, 110, 110);
    for (int s = 0; s < 7; ++s) {
      const int d = s * 8, f = s % 2 ? -5 : 5;
      if (bColumn) {
        EXPECT_EQ(a.At(200 + d + 1, 200 + f), Rgb(kYellow)) << "strip " << s;
        EXPECT_EQ(a.At(200 + d + 1, 200 + f - 1), Rgb(kBackground)) << "strip " << s;
      } else {
        EXPECT_EQ(a.At(200 + f, 200 + d + 1), Rgb(kWhite)) << "strip " << s;
        EXPECT_EQ(a.At(200 + f - 1, 200 + d + 1), Rgb(kBackground)) << "strip " << s;
      }
    }
    EXPECT_EQ(CountDrawn(180, 180, 110, 110), 56 * 64) << "whole strips only";
  }
  Clear();
  DDBltInterlace(&BackBuffer, 200, 200, 64, 64, 65, 5, &m_Picture, 0, 0, 1, 1);
  EXPECT_EQ(CountDrawn(180, 180, 110, 110), 0) << "a strip wider than the block";
  DDBltInterlace(&BackBuffer, 200, 200, 10, 10, 0, 5, &m_Picture, 0, 0, 1, 1);
  EXPECT_EQ(CountDrawn(180, 180, 110, 110), 100) << "strip size 0: one plain blit";
}

TEST_P(cCompositeTest, TheCardNarrowsToItsEdgeAndShowsTheOtherFace) {
  // Width 32: u = 16; the band is x + v .. x + 32 - v.
  struct {
    int nCounter, v, bBack;
  } const cases[] = {{0, 0, 0},  {5, 5, 0},   {15, 15, 0}, {16, 15, 1}, {20, 11, 1}, {31, 0, 1},
                     {32, 0, 1}, {47, 15, 1}, {48, 15, 0}, {63, 0, 0},  {64, 0, 0}};
  for (int nMode : {0, 1}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "mode " << nMode << " counter " << c.nCounter);
      Clear();
      DDBltFlip(&BackBuffer, 100, 100, 32, 32, &m_Picture, 1, 1, &m_Back, 0, 0, 63, 63, 1,
                c.nCounter, nMode);
      const int nBand = 32 - 2 * c.v;
      EXPECT_EQ(CountDrawn(90, 90, 52, 52), nBand * 32);
      const int x = nMode == 0 ? 100 + c.v : 100, y = nMode == 0 ? 100 : 100 + c.v;
      EXPECT_EQ(ReadRgbArea(&BackBuffer, x, y, 1, 1)[0], Rgb(c.bBack ? kBlue : kRed));
    }
  }
  Clear();
  DDBltFlip(&BackBuffer, 100, 100, 32, 32, &m_Picture, 0, 0, &m_Back, 0, 0, 64, 64, 1, 3, 2);
  DDBltFlip(&BackBuffer, 100, 100, 1, 32, &m_Picture, 0, 0, &m_Back, 0, 0, 64, 64, 1, 3, 0);
  DDBltFlip(&BackBuffer, 100, 100, 32, 1, &m_Picture, 0, 0, &m_Back, 0, 0, 64, 64, 1, 3, 1);
  EXPECT_EQ(CountDrawn(90, 90, 52, 52), 0) << "no mode 2, and no turn of a card one line wide";
}

TEST_P(cCompositeTest, QuartersMoveApartAndAnOddLineIsLeftOut) {
  DDBltQuarter(&BackBuffer, 200, 200, 33, 33, &m_Picture, 0, 0, 4, 1);
  cArea a(180, 180, 80, 80);
  EXPECT_EQ(a.At(196, 196), Rgb(kWhite)) << "top left from (0, 0)";
  EXPECT_EQ(a.At(197, 196), Rgb(kYellow));
  EXPECT_EQ(a.At(220, 196), Rgb(kYellow)) << "top right from (16, 0)";
  EXPECT_EQ(a.At(196, 220), Rgb(kWhite)) << "bottom left from (0, 16)";
  EXPECT_EQ(a.At(220, 220), Rgb(kRed)) << "bottom right from (16, 16)";
  EXPECT_EQ(a.At(212, 205), Rgb(kBackground)) << "the gap";
  EXPECT_EQ(CountDrawn(180, 180, 80, 80), 4 * 16 * 16);
}

TEST_P(cCompositeTest, SourcesCutByTheirEdgeAndEmptyBlocksDrawOnlyWhatExists) {
  // Source rectangles that run past the picture: only its pixels are drawn.
  DDBltWave(&BackBuffer, 100, 100, 64, 64, 1, 3.0, 0, 4, &m_Picture, 40, 40, 1, 1);
  DDBltInterlace(&BackBuffer, 200, 100, 64, 64, 8, 3, &m_Picture, -30, 50, 1, 0);
  DDBltQuarter(&BackBuffer, 300, 100, 64, 64, &m_Picture, 50, -20, 2, 1);
  DDBltFlip(&BackBuffer, 400, 100, 64, 64, &m_Picture, 60, 60, &m_Back, 0, 0, 64, 64, 1, 0, 0);
  EXPECT_EQ(CountDrawn(90, 90, 90, 90), 24 * 24);
  EXPECT_EQ(CountDrawn(190, 90, 90, 90), 34 * 14);
  Clear();
  for (int n : {0, -3}) {
    DDBltWave(&BackBuffer, 100, 100, n, 64, 1, 3.0, 0, 1, &m_Picture, 0, 0, 1, 1);
    DDBltWave(&BackBuffer, 100, 100, 64, n, 1, 3.0, 0, 1, &m_Picture, 0, 0, 1, 0);
    DDBltWave(&BackBuffer, 100, 100, 64, 64, 1, 3.0, 0, n, &m_Picture, 0, 0, 1, 0);
    DDBltInterlace(&BackBuffer, 100, 100, n, n, 4, 2, &m_Picture, 0, 0, 1, 1);
    DDBltQuarter(&BackBuffer, 100, 100, n, n, &m_Picture, 0, 0, 2, 1);
    DDFrameRect(&BackBuffer, 100, 100, n, n, 2, kPalWhite);
    DDDrawNumber(&BackBuffer, 100, 100, n, n, &m_Picture, 0, 0, 1, 42, 3, 0);
  }
  EXPECT_EQ(CountDrawn(0, 0, 640, 480), 0);
}

TEST_P(cCompositeTest, FillsDrawAfterThePictureLastDrawnFromIsReleased) {
  DDSURFACEDATA once;
  ASSERT_TRUE(DDCreateSurface(&once, 16, 16, 1, 0, 0, 0, 0));
  DDFillRect(&once, 0, 0, 16, 16, kPalBlue);
  DDBlt(&BackBuffer, 10, 10, 16, 16, &once, 0, 0, 1);
  DDReleaseSurface(&once);
  DDSURFACEDATA next;  // the device forgets what was released
  ASSERT_TRUE(DDCreateSurface(&next, 16, 16, 1, 0, 0, 0, 0));
  DDFillRect(&BackBuffer, 100, 100, 8, 8, kPalGreen);
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 104, 104, 1, 1)[0], Rgb(kGreen));
  EXPECT_EQ(ReadRgbArea(&BackBuffer, 12, 12, 1, 1)[0], Rgb(kBlue));
  DDReleaseSurface(&next);
}

INSTANTIATE_TEST_SUITE_P(Modes, cCompositeTest, testing::ValuesIn(drawtest::kModes),
                         drawtest::ModeName);

}  // namespace
