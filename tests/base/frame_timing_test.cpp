// Frame timing on a clock the test sets by hand.
#include "base/frame_timing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/clock/clock.h"

namespace {

class FrameTiming : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFrameTiming();
    plat::SetTestClock(5000);
  }
  void TearDown() override {
    SetFramePacingDirect3D(false);
    plat::UseRealClock();
  }
  // Asks the gate once per millisecond for nMs milliseconds; the number of
  // times it opened.
  int OpeningsOver(int nRate, int nMs) {
    int n = 0;
    for (int i = 0; i < nMs; ++i) {
      n += WaitFrameGate(nRate) ? 1 : 0;
      plat::AdvanceTestClock(1);
    }
    return n;
  }
};

}  // namespace

TEST_F(FrameTiming, GateOpensEveryWholeIntervalAfterItLastOpened) {
  struct Case {
    int nRate, nMs, nOpenings;
  };
  // 60: every 16 ms (1000 / 60 in whole ms); 1000: once per ms; above
  // 1000 the interval is 0 and the gate is always open; 0: no gate.
  for (const Case& c : {Case{60, 160, 10}, Case{1000, 50, 50}, Case{1001, 50, 50}, Case{0, 30, 30},
                        Case{30, 100, 4}}) {
    ResetFrameTiming();
    EXPECT_EQ(OpeningsOver(c.nRate, c.nMs), c.nOpenings) << c.nRate;
  }
}

TEST_F(FrameTiming, GateKeepsItsPaceAcrossTheClockWrap) {
  plat::SetTestClock(0xFFFFFFFFu - 40);
  EXPECT_EQ(OpeningsOver(60, 160), 10);
}

TEST_F(FrameTiming, SlowFrameTimeIsNotMadeUp) {
  EXPECT_TRUE(WaitFrameGate(60));
  plat::AdvanceTestClock(50);
  EXPECT_TRUE(WaitFrameGate(60));
  plat::AdvanceTestClock(15);
  EXPECT_FALSE(WaitFrameGate(60));
  plat::AdvanceTestClock(1);
  EXPECT_TRUE(WaitFrameGate(60));
}

TEST_F(FrameTiming, CountFpsReportsTheLastWholeSecondWithoutTheClosingCall) {
  EXPECT_EQ(CountFps(1), 0);
  for (int i = 0; i < 58; ++i) {
    plat::AdvanceTestClock(16);
    EXPECT_EQ(CountFps(1), 0);
  }
  plat::AdvanceTestClock(1000 - 58 * 16);
  EXPECT_EQ(CountFps(1), 59);
  EXPECT_EQ(CountFps(0), 59);
  plat::AdvanceTestClock(1000);
  EXPECT_EQ(CountFps(1), 0);
}

TEST_F(FrameTiming, CountFpsAcrossTheClockWrap) {
  plat::SetTestClock(0xFFFFFFFFu - 10);
  CountFps(1);
  CountFps(1);
  plat::AdvanceTestClock(1000);
  EXPECT_EQ(CountFps(1), 2);
}

TEST_F(FrameTiming, FrameSkipCounter) {
  EXPECT_FALSE(FrameSkipCounter(0, 3));
  EXPECT_TRUE(FrameSkipCounter(2, 3));
  const bool want[] = {false, false, true, false, false, true};
  for (bool b : want) EXPECT_EQ(FrameSkipCounter(1, 3), b);
  FrameSkipCounter(1, 3);
  EXPECT_FALSE(FrameSkipCounter(2, 3));
  EXPECT_TRUE(FrameSkipCounter(1, 0));
}

TEST_F(FrameTiming, StopwatchStartsAtOneAndMeasuresOnRequest) {
  EXPECT_EQ(GetFrameTime(0), 1u);
  StartFrameTimer();
  plat::AdvanceTestClock(7);
  EXPECT_EQ(GetFrameTime(0), 1u);
  EXPECT_EQ(GetFrameTime(1), 7u);
  plat::AdvanceTestClock(5);
  EXPECT_EQ(GetFrameTime(0), 7u);
}

TEST_F(FrameTiming, Direct3DPacingPlacesFramesAtFractionsOfASecond) {
  EXPECT_TRUE(PaceFrameD3D(60));  // not in Direct3D mode: never held
  SetFramePacingDirect3D(true);
  // Frame k of a second goes through once 1000 / 60 * k ms (in doubles) have
  // passed since its start.
  std::vector<int> passedAt;
  for (int t = 0; t < 1000 && passedAt.size() < 61; ++t) {
    if (PaceFrameD3D(60)) passedAt.push_back(t);
    plat::AdvanceTestClock(1);
  }
  ASSERT_EQ(passedAt.size(), 61u);
  for (int k = 0; k < 60; ++k) EXPECT_EQ(passedAt[k], std::ceil((1000.0 / 60) * k)) << k;
  // The next second is anchored where the 60th frame went, so the first
  // frame of it goes at the next look.
  EXPECT_EQ(passedAt[60], passedAt[59] + 1);
  EXPECT_TRUE(PaceFrameD3D(0));
}
