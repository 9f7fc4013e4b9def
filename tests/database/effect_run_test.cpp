// Effect runs: how long a character or screen effect runs in each way of
// running, when it repeats, and what a number outside the tables does.
#include "database/effect_run.h"

#include <gtest/gtest.h>

#include "database/database.h"
#include "database/post_load_tables.h"
#include "database_test_support.h"

namespace {

class EffectRuns : public testing::Test {
 protected:
  void SetUp() override { Database.SetDefault(); }
  void TearDown() override {
    Database.SetDefault();
    g_CharaEffectRunTable.clear();
    g_CharaEffectRunTableAlt.clear();
    g_ScrEffectRunTable.clear();
    g_ScrEffectRunTableAlt.clear();
  }

  // Character effect 1 and screen effect 1 of the given kind and values;
  // the run tables built as at start-up.
  static void Define(int32_t nKind, int32_t nTime, int32_t nStart, int32_t nEnd) {
    for (cEdEffectDef* pDef : {static_cast<cEdEffectDef*>(&Database.m_vecCharaEffect[1]),
                               static_cast<cEdEffectDef*>(&Database.m_vecScrEffect[1])}) {
      pDef->m_nKind = nKind;
      pDef->m_anParam[0] = nTime;
      pDef->m_anParam[1] = nStart;
      pDef->m_anParam[2] = nEnd;
    }
    Database.MakeAltLists();
    BuildCharaEffectTables(g_CharaEffectRunTable, g_CharaEffectRunTableAlt);
    BuildScrEffectTables(g_ScrEffectRunTable, g_ScrEffectRunTableAlt);
  }
};

// Frames until Step reports the end (capped), and the value at the last
// frame before it.
struct RUNRESULT {
  int nFrames = 0;
  double dLastValue = 0;
};

RUNRESULT RunChara(int32_t nMode, int32_t bRepeat, int nCap = 1000) {
  cCharaEffectRun run;
  run.Start(1, nMode, bRepeat);
  RUNRESULT r;
  while (r.nFrames < nCap) {
    ++r.nFrames;
    const double v = run.m_dValue;
    if (run.Step()) return r;
    r.dLastValue = v;
  }
  return r;
}

// The frames the same definition lasts, counted the way the run counts.
int FramesToPass(double dStep, double dLimit) {
  double d = 0;
  int n = 0;
  do {
    d += dStep;
    ++n;
  } while (d <= dLimit);
  return n;
}

TEST_F(EffectRuns, LengthByWayOfRunning) {
  // Burst from 0 to 32 over half a second: 32/30 per frame.
  Define(1, 5, 0, 32);
  const int nOneWay = FramesToPass(32.0 / 30, 32);
  struct {
    int32_t nMode;
    int nFrames;
  } cases[] = {
      {EFFECTRUN_NORMAL, nOneWay},
      {EFFECTRUN_REVERSED, nOneWay},
      {EFFECTRUN_BOTH, 2 * nOneWay},
  };
  for (const auto& c : cases) EXPECT_EQ(RunChara(c.nMode, 0).nFrames, c.nFrames) << c.nMode;
  EXPECT_NEAR(nOneWay, 30, 1);

  cCharaEffectRun run;
  run.Start(1, EFFECTRUN_REVERSED, 0);
  EXPECT_EQ(run.m_dValue, 32);
  run.Step();
  EXPECT_DOUBLE_EQ(run.m_dValue, 32 - 32.0 / 30);
  // The reversed table runs the copy; the loaded list keeps its values.
  EXPECT_EQ(Database.m_vecCharaEffect[1].m_anParam[1], 0);
}

TEST_F(EffectRuns, RepeatNeverEndsAndTurnsBackAndForth) {
  Define(1, 1, 0, 12);  // 2 per frame
  EXPECT_EQ(RunChara(EFFECTRUN_NORMAL, 1, 500).nFrames, 500);
  cCharaEffectRun run;
  run.Start(1, EFFECTRUN_BOTH, 1);
  std::vector<int> values;
  for (int i = 0; i < 16; ++i) {
    run.Step();
    values.push_back(static_cast<int>(run.m_dValue));
  }
  // Up to 12, one frame past it, then down from the end value again.
  EXPECT_EQ(values, (std::vector<int>{2, 4, 6, 8, 10, 12, 12, 10, 8, 6, 4, 2, 0, 0, 2, 4}));
}

TEST_F(EffectRuns, TimeCountingAndZeroDuration) {
  struct {
    const char* szName;
    int32_t nKind, nTime, nStart, nEnd;
    int nFrames;
  } cases[] = {
      {"start equals end lasts its duration", 1, 5, 7, 7, FramesToPass(1.0 / 6, 5)},
      {"blink counts time whatever its values", 6, 2, 2, 0, FramesToPass(1.0 / 6, 2)},
      {"no duration with a range ends at once", 1, 0, 0, 32, 1},
      {"no duration on time ends at once", 6, 0, 2, 0, 1},
  };
  for (const auto& c : cases) {
    Define(c.nKind, c.nTime, c.nStart, c.nEnd);
    EXPECT_EQ(RunChara(EFFECTRUN_NORMAL, 0).nFrames, c.nFrames) << c.szName;
  }
}

TEST_F(EffectRuns, NumbersOutsideTheTablesStartTheNoneEffect) {
  Define(1, 5, 0, 32);
  for (int32_t n : {-1, 2, 0x7FFFFFFF}) {
    cCharaEffectRun run;
    run.Start(n, EFFECTRUN_NORMAL, 0);
    EXPECT_EQ(run.m_nEffect, 0) << n;
    cScrEffectRun scr;
    scr.Start(n, EFFECTRUN_REVERSED, 1);
    EXPECT_EQ(scr.m_nEffect, 0) << n;
  }
}

TEST_F(EffectRuns, ScreenRunsCompareTheWholePart) {
  // A zoom from 10 to 13 at the handler's 1.5 per frame: the value's whole
  // part is compared, so 13.0 still runs and 14.5 ends.
  Define(11, 10, 10, 13);
  cScrEffectRun run;
  run.Start(1, EFFECTRUN_NORMAL, 0);
  EXPECT_EQ(run.Step(10, 13, 1.5), 0);  // 11.5
  EXPECT_EQ(run.Step(10, 13, 1.5), 0);  // 13
  EXPECT_EQ(run.Step(10, 13, 1.5), 1);  // 14.5
  // Downward: 10 to 7.
  run.Start(1, EFFECTRUN_REVERSED, 0);
  EXPECT_EQ(run.m_dValue, 13);
  EXPECT_EQ(run.Step(13, 10, 3), 0);  // 10
  EXPECT_EQ(run.Step(13, 10, 3), 1);  // 7
  // Shaking runs on time: 1 tenth is 6 frames, the 7th ends it.
  Define(2, 1, 4, 4);
  run.Start(1, EFFECTRUN_NORMAL, 0);
  int n = 1;
  while (!run.Step(0, 0, 99)) ++n;
  EXPECT_EQ(n, FramesToPass(1.0 / 6, 1));
}

}  // namespace
