// Condition lists: all or any, the once latch, and the comparisons.
#include <gtest/gtest.h>

#include <climits>

#include "stage/condition_lists.h"
#include "stage_fixture.h"

namespace {

// Stage variable n compared with c by op; kind 0 never holds.
cCond StageVarCond(int16_t n, int nOp, int32_t c) {
  cCond cond;
  cond.m_cKind = 2;
  cond.m_sVarNum = n;
  cond.m_cCompare = static_cast<uint8_t>(nOp);
  cond.m_nConstant = c;
  return cond;
}

class ConditionLists : public cStageFixture {};

TEST_F(ConditionLists, AllAnyAndOtherModes) {
  Scene().m_StageVar[1] = 5;
  const cCond yes = StageVarCond(1, 0, 5);
  const cCond no = StageVarCond(1, 1, 5);
  cCond none;  // kind 0
  struct Case {
    COND_VECTOR conds;
    int nMode;
    int nHolds;
  } cases[] = {
      {{}, 0, 1},          {{}, 1, 0},          {{}, 2, 0},        {{yes, yes}, 0, 1},
      {{yes, no}, 0, 0},   {{yes, none}, 0, 0}, {{no, yes}, 1, 1}, {{no, no}, 1, 0},
      {{none, yes}, 1, 1}, {{yes}, 2, 0},       {{yes}, 255, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Scene().CheckConditionList(c.conds, c.nMode, nullptr), c.nHolds)
        << c.conds.size() << " mode " << c.nMode;
}

TEST_F(ConditionLists, CharactersAndItemsHoldOnceTheirListHeldWithTheOnceByte) {
  struct Case {
    int nMode;
    uint8_t cOnce;
    int anHolds[4];  // variable 10, 3, 12, 0
  } cases[] = {
      {0, 0, {1, 0, 1, 0}},
      {0, 1, {1, 1, 1, 1}},
      {1, 1, {1, 1, 1, 1}},
      {2, 1, {0, 0, 0, 0}},  // another mode never holds, so never latches
  };
  for (const Case& c : cases) {
    cCharaObj chara;
    chara.m_Def.m_vecConds = {StageVarCond(3, 2, 10)};
    chara.m_Def.m_cCondMode = static_cast<uint8_t>(c.nMode);
    chara.m_Def.m_cLatch = c.cOnce;
    cItemObj item;
    item.m_Def.m_vecConds = chara.m_Def.m_vecConds;
    item.m_Def.m_cCondMode = chara.m_Def.m_cCondMode;
    item.m_Def.m_cLatch = c.cOnce;
    const int32_t anVar[4] = {10, 3, 12, 0};
    for (int i = 0; i < 4; ++i) {
      Scene().m_StageVar[3] = anVar[i];
      EXPECT_EQ(Scene().CheckCharaActive(chara), c.anHolds[i]) << c.nMode << " " << i;
      EXPECT_EQ(Scene().CheckItemActive(item), c.anHolds[i]) << c.nMode << " " << i;
    }
    // The latch is set whenever the list held, once byte or not.
    EXPECT_EQ(chara.m_cCondLatch, c.nMode < 2 ? 1 : 0);
  }
  // An empty list holds whatever its mode.
  cCharaObj empty;
  empty.m_Def.m_cCondMode = 7;
  EXPECT_EQ(Scene().CheckCharaActive(empty), 1);
  EXPECT_EQ(empty.m_cCondLatch, 0);
}

TEST_F(ConditionLists, VariableConditionsReadTheirVariable) {
  g_PlayData.m_vVars[7] = -6;
  Scene().m_StageVar[8] = 4;
  cCharaObj chara;
  chara.m_vecCharaVar[2] = 9;
  cCond c;
  c.m_cCompare = 0;
  c.m_cKind = 1, c.m_sVarNum = 7, c.m_nConstant = -6;
  EXPECT_EQ(Scene().EvalCondition(c, &chara), 1);
  c.m_cKind = 2, c.m_sVarNum = 8, c.m_nConstant = 4;
  EXPECT_EQ(Scene().EvalCondition(c, &chara), 1);
  c.m_cKind = 3, c.m_sVarNum = 2, c.m_nConstant = 9;
  EXPECT_EQ(Scene().EvalCondition(c, &chara), 1);
  EXPECT_EQ(Scene().EvalCondition(c, nullptr), 0);
  c.m_cKind = 0;
  EXPECT_EQ(Scene().EvalCondition(c, &chara), 0);
  EXPECT_EQ(TakeCloses(), 0);
  // A variable number beyond the variables is a fault of the data.
  c.m_cKind = 2, c.m_sVarNum = 5000;
  Scene().EvalCondition(c, &chara);
  EXPECT_GT(TakeCloses(), 0);
}

TEST(CompareValues, TheEightOperators) {
  struct Case {
    int32_t v, c;
    int nOp;
    int nHolds;
  } cases[] = {
      {3, 3, 0, 1},        {3, 4, 0, 0},       {3, 4, 1, 1},
      {4, 4, 2, 1},        {3, 4, 2, 0},       {4, 4, 3, 1},
      {5, 4, 3, 0},        {5, 4, 4, 1},       {4, 4, 4, 0},
      {3, 4, 5, 1},        {-6, 3, 6, 1},      {-7, 3, 6, 0},
      {5, 0, 6, 1},        {-7, 3, 7, 1},      {6, 3, 7, 0},
      {5, 0, 7, 0},        {3, 3, 8, 0},       {INT_MIN, -1, 6, 1},
      {INT_MIN, -1, 7, 0}, {INT_MIN, 3, 6, 0}, {INT_MIN, INT_MIN, 6, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareValues(c.v, c.c, c.nOp), c.nHolds) << c.v << " op " << c.nOp << " " << c.c;
}

TEST(PercentOf, RoundsHalfAwayFromZero) {
  struct Case {
    int32_t a, b, n;
  } cases[] = {{50, 3, 2}, {-50, 3, -2}, {10, 4, 0}, {100, 37, 37}, {-1, 50, -1}, {1, 49, 0}};
  for (const Case& c : cases) EXPECT_EQ(PercentOf(c.a, c.b), c.n) << c.a << " " << c.b;
}

}  // namespace
