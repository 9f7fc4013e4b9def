// The view's position on each axis: its range, auto scroll and following.
#include "stage/scroll_axis.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollAxis, RangeAndClamp) {
  struct Case {
    int32_t nCells;
    int32_t nStart, nEnd, bStartOn, bEndOn;
    double dPos;
    double dClamped;
    int32_t bAtLimit;
  } cases[] = {
      {20, 0, 0, 0, 0, 0, 320, 1},  // exactly the view: any position is 320
      {20, 0, 0, 0, 0, 900, 320, 1},
      {12, 0, 0, 0, 0, 500, 320, 1},  // narrower than the view: held at the minimum
      {100, 0, 0, 0, 0, 1000, 1000, 0},
      {100, 0, 0, 0, 0, 3200, 2880, 1},  // far edge at (100 + 10) x 32
      {100, 5, 30, 1, 1, 0, 480, 1},     // limits from cells 5 to 30
      {100, 5, 30, 1, 1, 700, 672, 1},   // max 320 + 30 x 32 + 32 = 1312
      {100, 30, 5, 1, 1, 900, 1280, 1},  // end before start: fixed at the minimum
  };
  for (const Case& c : cases) {
    cScrollAxis axis;
    axis.SetUp(0, c.nCells, 0);
    axis.SetRange(c.nStart, c.nEnd, c.bStartOn, c.bEndOn);
    axis.m_dPos = c.dPos;
    axis.ClampPosition();
    EXPECT_EQ(axis.m_dPos, c.dClamped) << c.nCells << " " << c.dPos;
    EXPECT_EQ(axis.m_bAtLimit, c.bAtLimit) << c.nCells << " " << c.dPos;
  }
}

TEST(ScrollAxis, FixedWordsOfBothAxes) {
  cScrollAxis x, y;
  x.SetUp(0, 2000, 4000);
  y.SetUp(1, 200, 500);
  EXPECT_EQ(x.m_nShift, 11);  // 2019 needs 11 bits
  EXPECT_EQ(x.m_nPitch, 2048);
  EXPECT_EQ(x.m_nCells, 2020);
  EXPECT_EQ(x.m_nStageLimit, 2010 * 32);
  EXPECT_EQ(x.m_nOuterLimit, 4640);
  EXPECT_EQ(x.m_nView, 640);
  EXPECT_EQ(y.m_nShift, 0);
  EXPECT_EQ(y.m_nPitch, 220);
  EXPECT_EQ(y.m_nView, 480);
  EXPECT_EQ(y.m_nBase, 320);
}

TEST(ScrollAxis, AutoScrollSpreadsTenthsOverTheUpdateSteps) {
  struct Case {
    double dSteps;
    double dSpeed;
  } cases[] = {{1, 1.0}, {2, 0.5}, {4, 0.25}};
  for (const Case& c : cases) {
    cScrollAxis axis;
    axis.SetUp(0, 30, 0);
    axis.SetRange(0, 0, 0, 0);
    axis.SetAutoScroll(1, 10, c.dSteps);
    EXPECT_EQ(axis.m_dSpeed, c.dSpeed);
    axis.m_dPos = 320;
    axis.ClampPosition();
    // 320 pixels to the end of the range: one pixel per frame.
    int nFrames = 0;
    while (!axis.m_bAtLimit && nFrames < 1000) {
      for (int s = 0; s < c.dSteps; ++s) axis.Step();
      ++nFrames;
    }
    EXPECT_EQ(nFrames, 320);
    EXPECT_EQ(axis.m_dPos, 640);
    EXPECT_FALSE(axis.IsScrolling());
  }
  cScrollAxis off;
  off.SetAutoScroll(0, 10, 1);
  EXPECT_EQ(off.m_dSpeed, 0);
  EXPECT_EQ(off.m_bAuto, 0);
}

TEST(ScrollAxis, FollowCentresWithinTheRangeUnlessAutoScrolling) {
  cScrollAxis axis;
  axis.SetUp(0, 100, 0);
  axis.SetRange(0, 0, 0, 0);
  axis.Follow(1000.5, 16);
  EXPECT_EQ(axis.m_dPos, 1000.5 - (320 - 8));
  axis.Follow(100, 16);
  EXPECT_EQ(axis.m_dPos, 320);
  axis.Follow(5000, 16);
  EXPECT_EQ(axis.m_dPos, 3520 - 640);
  axis.SetAutoScroll(1, 10, 1);
  axis.Follow(1000, 16);
  EXPECT_EQ(axis.m_dPos, 3520 - 640);
}

}  // namespace
