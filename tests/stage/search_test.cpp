// Searches for characters and the step of an object toward a point.
#include <gtest/gtest.h>

#include <cmath>

#include "stage/chara_search.h"
#include "stage_fixture.h"

namespace {

class Search : public cStageFixture {
 protected:
  // A character whose screen centre is (cx, cy).
  cCharaObj& At(int32_t cx, int32_t cy, int bOnScreen) {
    cCharaObj& c = g_CharaList.emplace_back();
    c.m_nId = static_cast<int32_t>(g_CharaList.size());
    c.m_nDrawW = c.m_nDrawH = 32;
    c.m_nScrLeft = cx - 16;
    c.m_nScrTop = cy - 16;
    c.m_nActive = 1;
    c.m_nOnScreen = bOnScreen;
    return c;
  }
};

TEST_F(Search, NearestPrefersCharactersOnScreenAndKeepsTheFirstOfATie) {
  cCharaObj& far = At(300, 300, 1);
  cCharaObj& tie1 = At(110, 100, 1);
  cCharaObj& tie2 = At(100, 110, 1);
  cCharaObj& off = At(100, 100, 0);
  CHARAFILTER f;
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 0, f), &tie1);
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 1, f), &off);
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 2, f), &tie1);
  tie1.m_nDying = 1;  // never found
  tie2.m_Def.m_cInvincible = 2;
  f.bNoInvincible2 = 1;
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 0, f), &far);
  far.m_Def.m_cBlockLike = 1;
  f.bNoBlockChara = 1;
  // Nothing on screen passes: the off-screen one.
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 0, f), &off);
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 2, f), nullptr);
  off.m_nActive = 0;
  EXPECT_EQ(FindNearestChara(100, 100, g_CharaList, 0, f), nullptr);
}

TEST_F(Search, FiltersOnIdSelfAndCharacterVariables) {
  cCharaObj& a = At(0, 0, 1);
  cCharaObj& b = At(0, 0, 1);
  a.m_vecCharaVar[4] = -6;
  b.m_vecCharaVar[4] = 7;
  b.m_Def.m_cCharaId = 9;
  struct Case {
    int nOp;
    int32_t c;
    cGameObj* pFirst;
  } cases[] = {{6, 3, &a}, {7, 3, &b}, {6, 0, &a}, {7, 0, nullptr}, {4, 0, &b}, {0, -6, &a}};
  for (const Case& k : cases) {
    CHARAFILTER f;
    f.bVarTest = 1;
    f.nVarIndex = 4;
    f.nVarOp = k.nOp;
    f.nVarConst = k.c;
    EXPECT_EQ(FindCharaInList(g_CharaList, f), k.pFirst) << k.nOp << " " << k.c;
  }
  CHARAFILTER f;
  f.bNotSelf = 1;
  f.pSearcher = &a;
  EXPECT_EQ(FindCharaInList(g_CharaList, f), &b);
  f = CHARAFILTER{};
  f.bCharaId = 1;
  f.nCharaId = 9;
  std::list<cGameObj*> group = {&a, &b};
  EXPECT_EQ(FindCharaInList(group, f), &b);
  std::vector<std::pair<cGameObj*, int32_t>> keyed = {{&b, 3}, {&a, 3}, {&b, 4}};
  EXPECT_EQ(FindCharaByKey(keyed, 3, CHARAFILTER{}), &a);
  EXPECT_EQ(FindCharaByKey(keyed, 5, CHARAFILTER{}), nullptr);
}

TEST_F(Search, StepTowardAPoint) {
  cCharaObj& o = At(100, 100, 1);
  cCmdState st;
  STEPTOWARD direct;
  direct.bArrive = 1;
  EXPECT_EQ(StepToward(o, st, nullptr, 130, 140, 5, direct), 0);
  EXPECT_DOUBLE_EQ(st.m_dVX, 3);
  EXPECT_DOUBLE_EQ(st.m_dVY, 4);
  EXPECT_EQ(st.m_nFaceResult, 2);
  // A negative speed moves away.
  StepToward(o, st, nullptr, 130, 140, -5, direct);
  EXPECT_DOUBLE_EQ(st.m_dVX, -3);
  EXPECT_EQ(st.m_nFaceResult, 1);
  // Arrival within one step's speed on both axes.
  EXPECT_EQ(StepToward(o, st, nullptr, 104, 95, 5, direct), 1);
  // On the point itself: no direction, no division by 0.
  StepToward(o, st, nullptr, 100, 100, 5, direct);
  EXPECT_EQ(st.m_dVX, 0);
  EXPECT_EQ(st.m_dVY, 0);
  EXPECT_EQ(st.m_nFaceResult, 0);
  // Fleeing diagonally never arrives.
  STEPTOWARD flee;
  flee.bDirect = 0;
  flee.bArrive = 1;
  EXPECT_EQ(StepToward(o, st, nullptr, 101, 101, -2, flee), 0);
  EXPECT_DOUBLE_EQ(st.m_dVX, -2 * 0.7071067811865476);
  EXPECT_DOUBLE_EQ(st.m_dVY, -2 * 0.7071067811865476);

  // One axis: arrival when the speed exceeds the distance.
  EXPECT_EQ(StepTowardX(o, st, 104, 5), 1);
  EXPECT_EQ(st.m_dVX, 5);
  EXPECT_EQ(StepTowardY(o, st, 90, 5), 0);
  EXPECT_EQ(st.m_dVY, -5);
}

TEST_F(Search, StepTowardAScrollingTargetOnAScrollingScreen) {
  MakeStage(60, 15, 1);
  g_Stage.m_nScrollKindX = 1;
  g_Stage.m_nAutoSpeedX = 20;  // 2 pixels a step
  Rebuild();
  Scene().m_ScrollX.m_dPos = 400;
  Scene().m_ScrollX.ClampPosition();
  ASSERT_TRUE(Scene().m_ScrollX.IsScrolling());
  cCharaObj& o = At(100, 100, 1);
  cCharaObj& target = At(100, 300, 1);
  target.m_nScrollSync = 1;
  cCmdState st;
  STEPTOWARD opt;
  StepToward(o, st, &target, 100, 300, 5, opt);
  // A world speed of 5 whose motion against the screen points straight down.
  EXPECT_NEAR(std::hypot(st.m_dVX, st.m_dVY), 5, 1e-12);
  EXPECT_DOUBLE_EQ(st.m_dVX, 2);
  EXPECT_GT(st.m_dVY, 0);
  // In screen coordinates at a target that does not scroll: the scroll is
  // taken off.
  target.m_nScrollSync = 0;
  opt.bScreen = 1;
  StepToward(o, st, &target, 100, 300, 5, opt);
  EXPECT_DOUBLE_EQ(st.m_dVX, -2);
  EXPECT_DOUBLE_EQ(st.m_dVY, 5);
  // The old rule adds the scroll to every step.
  g_SystemData.m_bCompat214 = 1;
  StepToward(o, st, &target, 100, 300, 5, opt);
  EXPECT_DOUBLE_EQ(st.m_dVX, 2);
}

}  // namespace

namespace {

TEST_F(Search, TargetPointsFromTheTargetsScreenCentre) {
  cCharaObj& t = At(200, 100, 1);
  struct Case {
    int bX, bY;
    int nGiven;
    double x, y;
  } cases[] = {{0, 0, 3, 205, 93}, {1, 0, 2, -1, 93}, {0, 1, 1, 205, -1}, {1, 1, 1, 205, -1}};
  for (const Case& c : cases) {
    double x = -1, y = -1;
    EXPECT_EQ(CalcTargetPos(t, c.bX, c.bY, 5, -7, x, y), c.nGiven);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

TEST(Spans, AroundAPointByFacingAndBody) {
  struct Case {
    int32_t nPos, nWidth, nL, nR;
    int bBody;
    int32_t nLeft, nRight;
  } cases[] = {
      {100, 32, 0, 0, 1, 100, 132},                                  // the body
      {100, 32, 0, 0, 0, 116, 116},                                  // the centre alone
      {100, 32, 48, 48, 0, 52, 180}, {100, 32, 0, 48, 1, 116, 180},  // ahead to the right only
      {100, 32, 48, 0, 0, 52, 116},
  };
  for (const Case& c : cases) {
    int32_t l = 0, r = 0;
    CalcFacingSpan(c.nPos, c.nWidth, c.nL, c.nR, c.bBody, l, r);
    EXPECT_EQ(l, c.nLeft);
    EXPECT_EQ(r, c.nRight);
  }
}

TEST_F(Search, SpanRangeNarrowsTheOtherObjectUnlessItsFeetFillItsPicture) {
  cCharaObj other;
  other.m_dY = 100;
  other.m_dBottom = 123;  // 24 high
  other.m_nDrawH = 32;
  // Span [116, 180]; the other spans 175..201, narrowed by 8: 183..193.
  EXPECT_EQ(IsSpanInRange(100, 32, 175, 201, 8, 0, 48, 1, 0, other), 0);
  EXPECT_EQ(IsSpanInRange(100, 32, 150, 201, 8, 0, 48, 1, 0, other), 1);
  // Below: the far end is not narrowed when height + offset + 1 >= 32.
  EXPECT_EQ(IsSpanInRange(100, 32, 0, 103, 8, 0, 0, 1, 1, other), 1);
  EXPECT_EQ(IsSpanInRange(100, 32, 0, 103, 7, 0, 0, 1, 1, other), 0);
  g_SystemData.m_bCompat733 = 1;
  EXPECT_EQ(IsSpanInRange(100, 32, 0, 103, 8, 0, 0, 1, 1, other), 0);
}

TEST_F(Search, WaveAndStepSpeeds) {
  MakeStage(20, 15, 2);
  EXPECT_DOUBLE_EQ(ToStepSpeed(120), 1.0);
  double dPhase = 700;
  const double v = CalcWaveSpeed(3, 90, dPhase, 30, 0);
  EXPECT_DOUBLE_EQ(dPhase, 10);  // wrapped at 2 x 360
  const double k = 90 * M_PI / 180;
  EXPECT_DOUBLE_EQ(v, k * std::cos(k * 350) * 3 / 2);
  dPhase = 0;
  EXPECT_DOUBLE_EQ(CalcWaveSpeedY(3, 90, dPhase, 30, 0), 0.0);
  EXPECT_EQ(dPhase, 30);
}

}  // namespace
