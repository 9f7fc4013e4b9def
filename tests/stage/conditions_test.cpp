// Conditions as flows test them, and the status operation in every width:
// the comparisons and percentages, the status, flag, state and distance
// conditions, and status operations on 8-, 16- and 32-bit statuses, the
// system values and the operands that are random or another status.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flow/status_catalogue.h"
#include "play_fixture.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/condition_lists.h"
#include "stage/flow_engine.h"
#include "stage/player_obj.h"
#include "stage/status_refs.h"

namespace {

TEST(Compare, OperatorsAndPercentages) {
  struct CASE {
    int32_t v, c;
    int nOp, nHolds;
  };
  const CASE kCases[] = {
      {3, 3, 0, 1},   {3, 4, 0, 0},   {3, 4, 1, 1},    {4, 4, 2, 1},   {3, 4, 2, 0},
      {4, 4, 3, 1},   {5, 4, 3, 0},   {5, 4, 4, 1},    {4, 4, 4, 0},   {3, 4, 5, 1},
      {4, 4, 5, 0},   {7, 0, 6, 1},   {7, 0, 7, 0},    {-6, 3, 6, 1},  {-7, 3, 6, 0},
      {-7, 3, 7, 1},  {-6, 3, 7, 0},  {INT32_MIN, -1, 6, 1},           {1, 1, 8, 0},
  };
  for (const CASE& c : kCases)
    EXPECT_EQ(CompareValues(c.v, c.c, c.nOp), c.nHolds) << c.v << " op " << c.nOp << " " << c.c;
  EXPECT_EQ(PercentOf(50, 3), 2);
  EXPECT_EQ(PercentOf(-50, 3), -2);
  EXPECT_EQ(PercentOf(10, 4), 0);
  EXPECT_EQ(PercentOfByte(300, 100), 44);
  EXPECT_EQ(PercentOfShort(70000, 100), 4464);
}

// (start value, operand, operation, width, range) -> the value after it:
// the operand is cut to the width and the sum, difference and percentage
// wrap in it before the clamp; a product saturates on its true side.
TEST(StatusOp, WidthsWrapBeforeTheClamp) {
  struct CASE {
    int32_t t, x, nOp, nBits, nLow, nHigh, nResult;
  };
  const CASE kCases[] = {
      {90, 50, 1, 8, 0, 99, 0},        // the 8-bit sum is -116
      {90, 5, 1, 8, 0, 99, 95},
      {90, 2, 3, 8, 0, 99, 99},        // 180 saturates
      {5, 300, 0, 8, 0, 99, 44},       // the operand cut to 8 bits
      {-10, 3, 2, 8, -20, 20, -13},
      {100, 200, 1, 16, 0, 200, 200},
      {32000, 1000, 1, 16, 0, 200, 0},  // the 16-bit sum is negative
      {100, 50, 6, 8, 0, 99, 50},
      {100, 3, 4, 16, 0, 200, 33},
      {7, 0, 4, 8, 0, 99, 7},
      {7, 0, 5, 16, 0, 200, 7},
      {400000, 3, 3, 32, -999999, 999999, 999999},
      {400000, -3, 3, 32, -999999, 999999, -999999},
  };
  for (const CASE& c : kCases)
    EXPECT_EQ(ApplyStatusOpWidth(c.t, c.x, c.nOp, c.nLow, c.nHigh, c.nBits), c.nResult)
        << c.t << " op " << c.nOp << " " << c.x << " in " << c.nBits;
}

// The ranges the status operation keeps are those the editor offers, but
// for the Z layer, whose last value (8) the play never takes.
TEST(StatusOp, RangesFollowTheCatalogue) {
  for (int s = 0; s < kCharaStatusCount; ++s) {
    int32_t nLow = 0, nHigh = 0;
    CharaStatusRange(s, nLow, nHigh);
    EXPECT_EQ(nLow, g_StatusCatalogue[s].nLow) << g_StatusCatalogue[s].szLabel;
    EXPECT_EQ(nHigh, g_StatusCatalogue[s].nHigh - (s == STATUS_Z ? 1 : 0)) << s;
  }
}

class Conditions : public cPlayFixture {
 protected:
  // The player at (3, 13); a computer's character at (5, 13) in the
  // player's target slot 1.
  void SetUp() override {
    cPlayFixture::SetUp();
    MakeStage(20, 15, 1);
    Floor(14);
    Player(3, 13).m_nMaxHP = 30;
    Chara(5, 13).m_nMaxHP = 20;
    StartPlaying();
    Frames(10);  // everyone has landed
    m_pOther = &g_CharaList.front();
    cPlayerObj& p = ThePlayerObj();
    p.m_vecTargets.assign(4, nullptr);
    p.m_vecTargets[0] = m_pOther;
    m_pOther->AddRefBy(&p, 0);
  }
  int Eval(const cCond& cond) { return Scene().EvalCondition(cond, &ThePlayerObj()); }
  cGameObj* m_pOther = nullptr;
};

cCond Cond(uint8_t cKind, std::function<void(cCond&)> fnSet) {
  cCond c;
  c.m_cKind = cKind;
  fnSet(c);
  return c;
}

// Status conditions (kind 4): the tested value, the operand and the
// percentage rules, with the player's HP 15 of 30.
TEST_F(Conditions, StatusConditions) {
  cPlayerObj& p = ThePlayerObj();
  p.m_nHP = 15;
  p.m_Def.m_cCharaId = 44;
  p.m_vecCharaVar.At(3) = 9;
  m_pOther->m_nHP = 12;
  g_PlayData.m_vVars.At(5) = 15;
  Scene().m_StageVar.At(6) = 9;
  struct CASE {
    const char* szName;
    cCond cond;
    int nHolds;
  };
  auto Status = [](int nSubject, int nSelector, int nOp, int32_t nConst, int bPercent = 0) {
    return Cond(4, [=](cCond& c) {
      c.m_cObject = static_cast<uint8_t>(nSubject);
      c.m_cStatus = static_cast<uint8_t>(nSelector);
      c.m_cCompare = static_cast<uint8_t>(nOp);
      c.m_nConstant = nConst;
      c.m_cPercent = static_cast<uint8_t>(bPercent);
    });
  };
  const CASE kCases[] = {
      {"HP >= 50 % of max", Status(0, 1, 2, 50, 1), 1},
      {"HP >= 53 % of max", Status(0, 1, 2, 53, 1), 0},
      {"max HP with percent compares with 0", Status(0, 3, 4, 1000, 1), 1},
      {"ID = 300 compares with 44", Status(0, 5, 0, 300), 1},
      {"target's HP = 12", Status(1, 1, 0, 12), 1},
      {"empty slot fails", Status(2, 1, 1, 12), 0},
      {"selector past the catalogue holds", Status(0, 30, 0, 1), 1},
      {"character variable 3 = 9", Cond(4, [](cCond& c) {
         c.m_sVarNum = 3;
         c.m_nConstant = 9;
       }), 1},
      {"lives unlimited fail", Cond(4, [](cCond& c) {
         c.m_cObject = 5;
         c.m_cStatus = 4;
         c.m_cCompare = 1;
         c.m_nConstant = 5;
       }), 0},
      {"common variable 5 = HP of itself", Cond(4, [](cCond& c) {
         c.m_cLeftKind = 1;
         c.m_sVarNum = 5;
         c.m_cRightSource = 2;
         c.m_cRightObject = 0;
         c.m_cRightStatus = 1;
       }), 1},
      {"stage variable 6 = random 9..9", Cond(4, [](cCond& c) {
         c.m_cLeftKind = 1;
         c.m_cVarScope = 1;
         c.m_sVarNum = 6;
         c.m_cRightSource = 1;
         c.m_nRandLow = c.m_nRandHigh = 9;
       }), 1},
      {"operand from an empty slot fails", Cond(4, [](cCond& c) {
         c.m_cCompare = 1;
         c.m_cRightSource = 2;
         c.m_cRightObject = 3;
       }), 0},
      {"sight of a computer's character as operand fails", Cond(4, [](cCond& c) {
         c.m_cCompare = 1;
         c.m_cRightSource = 2;
         c.m_cRightObject = 1;
         c.m_cRightStatus = 8;
       }), 0},
  };
  g_PlayData.m_nLives = kUnlimitedLives;
  for (const CASE& c : kCases) EXPECT_EQ(Eval(c.cond), c.nHolds) << c.szName;
}

// Flag (kind 5) and state (kind 6) conditions.
TEST_F(Conditions, FlagAndStateConditions) {
  cPlayerObj& p = ThePlayerObj();
  p.m_Def.m_cGiant = 3;
  p.m_Def.m_cTransparent = 1;
  p.m_nFacing = 1;
  g_Stage.m_nScrollKindY = 1;
  auto Flag = [](int nSubject, int nSelector, int nOp, int16_t sValue) {
    return Cond(5, [=](cCond& c) {
      c.m_cObject = static_cast<uint8_t>(nSubject);
      c.m_cStatus = static_cast<uint8_t>(nSelector);
      c.m_cCompare = static_cast<uint8_t>(nOp);
      c.m_sVarNum = sValue;
    });
  };
  auto State = [](int nSubject, int nSelector, int bNot) {
    return Cond(6, [=](cCond& c) {
      c.m_cObject = static_cast<uint8_t>(nSubject);
      c.m_cStatus = static_cast<uint8_t>(nSelector);
      c.m_cCompare = static_cast<uint8_t>(bNot);
    });
  };
  struct CASE {
    const char* szName;
    cCond cond;
    int nHolds;
  };
  const CASE kCases[] = {
      {"giant = 3", Flag(0, 5, 0, 3), 1},
      {"transparent = 1", Flag(0, 1, 0, 1), 1},
      {"vanish always fails", Flag(0, 0, 1, 5), 0},
      {"empty slot reads 0", Flag(2, 4, 0, 0), 1},
      {"vertical auto scroll on", Flag(5, 1, 0, 1), 1},
      {"system selector 2 fails", Flag(5, 2, 1, 7), 0},
      {"faces right", State(0, 1, 0), 1},
      {"faces left", State(0, 0, 0), 0},
      {"not facing left", State(0, 0, 1), 1},
      {"standing on the floor", State(0, 2, 0), 1},
      {"player on screen", State(0, 3, 0), 1},
      {"empty slot fails even negated", State(2, 1, 1), 0},
      {"exists: empty slot", State(2, 4, 0), 0},
      {"exists negated: empty slot", State(2, 4, 1), 1},
      {"exists: target", State(1, 4, 0), 1},
      {"exists: itself", State(0, 4, 0), 1},
  };
  for (const CASE& c : kCases) EXPECT_EQ(Eval(c.cond), c.nHolds) << c.szName;
}

// Distance conditions (kind 7): a circle of 2 hbl holds for centres 32 dots
// apart and fails at 33; spans before and behind follow the facing.
TEST_F(Conditions, DistanceConditions) {
  cPlayerObj& p = ThePlayerObj();
  cGameObj& o = *m_pOther;
  auto Dist = [](int nShape, int32_t nHbl, int16_t sDots, int nOp = 0) {
    return Cond(7, [=](cCond& c) {
      c.m_cObject = 1;
      c.m_cShape = static_cast<uint8_t>(nShape);
      c.m_nConstant = nHbl;
      c.m_sRightVarNum = sDots;
      c.m_cCompare = static_cast<uint8_t>(nOp);
    });
  };
  o.m_dX = p.m_dX + 32;
  o.m_dY = p.m_dY;
  o.m_nWidth = p.m_nWidth;
  o.m_nHeight = p.m_nHeight;
  EXPECT_EQ(Eval(Dist(6, 2, 0)), 1);
  EXPECT_EQ(Eval(Dist(6, 2, 0, 1)), 0);
  o.m_dX = p.m_dX + 33;
  EXPECT_EQ(Eval(Dist(6, 2, 0)), 0);
  EXPECT_EQ(Eval(Dist(6, 2, 1)), 1);
  EXPECT_EQ(Eval(Dist(6, 2, 0, 1)), 1);
  // Far ahead on the right: in front when facing right, not behind.
  o.m_dX = p.m_dX + 200;
  o.m_dRight = o.m_dX + o.m_nWidth - 1;
  p.m_nFacing = 1;
  EXPECT_EQ(Eval(Dist(1, 20, 0)), 1);
  EXPECT_EQ(Eval(Dist(2, 20, 0)), 0);
  p.m_nFacing = 0;
  EXPECT_EQ(Eval(Dist(1, 20, 0)), 0);
  EXPECT_EQ(Eval(Dist(0, 20, 0)), 1);
  EXPECT_EQ(Eval(Dist(0, 2, 0)), 0);
  EXPECT_EQ(Eval(Dist(9, 20, 0)), 0);
  // An empty slot fails, negated or not.
  cCond empty = Dist(0, 20, 0, 1);
  empty.m_cObject = 2;
  EXPECT_EQ(Eval(empty), 0);
}

cFlowCmd StatusOpCmd(std::vector<std::pair<int, int32_t>> params) {
  cFlowCmd cmd;
  cmd.m_cKind = 22;
  cmd.m_vecParams.assign(18, 0);
  for (auto [i, v] : params) cmd.m_vecParams[static_cast<size_t>(i)] = v;
  return cmd;
}

// The status operation on each width of character status, the system
// values, and operands read from statuses or drawn at random.
TEST_F(Conditions, StatusOperationsByWidth) {
  cPlayerObj& p = ThePlayerObj();
  cGameObj& o = *m_pOther;
  auto Op = [&](std::vector<std::pair<int, int32_t>> params) {
    cFlowCmd cmd = StatusOpCmd(std::move(params));
    CmdStatusOp(CMDCONTEXT{p, nullptr, nullptr, cmd, Scene(), &p});
  };
  // (selector, start, operation, operand) on the player -> the value.
  struct CASE {
    int nSelector;
    int32_t nStart, nOp, nOperand, nResult;
  };
  const CASE kCases[] = {
      {5, 90, 1, 50, 0},    {5, 90, 1, 5, 95},      {5, 90, 3, 2, 99},     {6, 3, 1, 10, 7},
      {7, 100, 1, 100, 119}, {10, 5, 2, 40, -20},   {12, 3, 0, 300, 20},   {13, 150, 3, 2, 200},
      {9, 5, 2, 10, -5},    {11, 5, 2, 10, 0},      {14, 1, 3, -3, -3},
  };
  for (const CASE& c : kCases) {
    const STATUSREF ref = CharaStatus(p, c.nSelector, 0);
    ref.Set(c.nStart);
    Op({{4, c.nSelector}, {5, c.nOp}, {7, c.nOperand}});
    EXPECT_EQ(ref.Get(), c.nResult) << "selector " << c.nSelector;
  }
  // The stopping status refreshes the per-step deceleration.
  EXPECT_DOUBLE_EQ(p.m_dDecay, 200 * 0.01 / g_Stage.m_dStepsSquared);

  // Sight: a computer's character's does not change, the player's does.
  Op({{3, 1}, {4, 8}, {7, 5}});
  EXPECT_EQ(o.m_Def.m_cSightRange, 0);
  Op({{4, 8}, {7, 5}});
  EXPECT_EQ(p.m_nSightRange, 80);

  // max HP 10 with HP 50 leaves HP 10; HP 0 of a target raises the check.
  p.m_Def.m_nMaxHP = 60;
  p.m_nHP = 50;
  Op({{4, 3}, {7, 10}});
  EXPECT_EQ(p.m_nHP, 10);
  Scene().m_bCheckDefeats = 0;
  Op({{3, 1}, {4, 1}, {7, 0}});
  EXPECT_EQ(o.m_nHP, 0);
  EXPECT_EQ(Scene().m_bCheckDefeats, 1);

  // Skipped on an invincible target when asked.
  o.m_Def.m_cInvincible = 1;
  o.m_Def.m_nDefence = 3;
  Op({{3, 1}, {4, 11}, {7, 9}, {17, 1}});
  EXPECT_EQ(o.m_Def.m_nDefence, 3);
  Op({{3, 1}, {4, 11}, {7, 9}});
  EXPECT_EQ(o.m_Def.m_nDefence, 9);

  // Operands: another status (the target's defence), a random number.
  Op({{0, 1}, {1, 1}, {2, 3}, {6, 2}, {12, 1}, {13, 11}});
  EXPECT_EQ(Scene().m_StageVar.At(3), 9);
  cRandGen copy = Scene().m_Rand;
  const int32_t r = RandRange(copy, 100, 200);
  Op({{0, 1}, {1, 1}, {2, 3}, {6, 1}, {8, 200}, {9, 100}});
  EXPECT_EQ(Scene().m_StageVar.At(3), r);

  // The system: the time limit, the auto-scroll speed with its axis.
  Scene().m_nTime = 100;
  Op({{3, 5}, {4, 0}, {5, 1}, {7, 5000}});
  EXPECT_EQ(Scene().m_nTime, 999);
  g_Stage.m_nScrollKindX = 1;
  Op({{3, 5}, {4, 1}, {7, -700}});
  EXPECT_EQ(g_Stage.m_nAutoSpeedX, -480);
  EXPECT_LT(Scene().m_ScrollX.m_dSpeed, 0);
}

}  // namespace
