// Shots in play: the formations' angles and positions, each movement kind's
// path, aiming, where a shot's flight ends, sword frames, a shot's knock,
// and definitions that ask for too much or for nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/trunc_int.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "stage/shot_moves.h"
#include "stage/shot_obj.h"
#include "stage/shot_volley.h"
#include "stage/summon_volley.h"
#include "draw/draw_context.h"
#include "flow/flow_cmd.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/flow_state.h"
#include "palette/common_palette.h"

namespace {

constexpr double kDeg = 57.29577951308232;

class Shots : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    MakeStage(60, 15, 2);  // two update steps a frame
    Floor(14);
    Player(8, 13);
    StartPlaying();
    Shooter().UpdateScreenRect();
  }
  cPlayerObj& Shooter() { return ThePlayerObj(); }
  static int32_t Cell(int32_t c, int32_t r) {
    return static_cast<int32_t>(g_BlockPalette.CellOf(c, r));
  }

  // A straight shot definition fired left: n shots of formation f.
  static cEdShot Def(int8_t cFormation, int8_t cCount, int16_t f1 = 0) {
    cEdShot def;
    def.m_cFormation = cFormation;
    def.m_cShotCount = cCount;
    def.m_sFormationParam[0] = f1;
    def.m_cDirection = 2;
    def.m_sSpeed = 40;  // 4 pixels a frame
    def.m_cPassBlocks = 1;
    return def;
  }
  std::vector<cShotObj*> Fire(const cEdShot& def) {
    Scene().m_ShotList.clear();
    for (auto& g : Scene().m_ShotGroups) g.clear();
    FireShotPattern(Scene(), Shooter(), nullptr, def);
    std::vector<cShotObj*> v;
    for (cShotObj& s : Scene().m_ShotList) v.push_back(&s);
    return v;
  }
  // One update step of a shot as the play step runs it; 1 when it goes.
  int StepShot(cShotObj& s) {
    if (s.Step(Scene())) return 1;
    s.AddGravity();
    s.MoveY();
    s.MoveX();
    return s.HitsBlock(Scene());
  }
  // Steps until the shot asks to go (at most nMost); the step it did.
  int StepsToRemoval(cShotObj& s, int nMost) {
    for (int i = 1; i <= nMost; ++i)
      if (StepShot(s)) return i;
    return 0;
  }
  static double AngleOf(double vx, double vy) {
    double a = std::atan2(-vy, -vx) * kDeg;
    if (a < -1e-9) a += 360;
    return std::round(a * 1000) / 1000;
  }
  // A character of the stage list standing at a stage pixel.
  cCharaObj& CharaAt(double x, double y) {
    g_CharaList.emplace_back();
    cCharaObj& c = g_CharaList.back();
    c.m_nId = 900;
    c.m_dX = x;
    c.m_dY = y;
    c.m_nWidth = c.m_nDrawW = 32;
    c.m_nHeight = c.m_nDrawH = 32;
    c.m_nFlying = 1;
    c.m_nActive = 1;
    c.UpdateScreenRect();
    return c;
  }
};

TEST_F(Shots, FormationAnglesFromTheDirectionOfFire) {
  struct ROW {
    int8_t cFormation, cCount;
    int16_t f1, sAngle;
    std::vector<double> vecAngles;
  } rows[] = {
      {FORMATION_FAN, 4, 10, 0, {345, 355, 5, 15}},  // centred: -15, -5, +5, +15
      {FORMATION_FAN, 3, 20, 0, {340, 0, 20}},
      {FORMATION_EXPLOSION, 8, 0, 0, {0, 45, 90, 135, 180, 225, 270, 315}},
      {FORMATION_EXPLOSION, 4, 0, 30, {30, 120, 210, 300}},
      {FORMATION_ROW_CENTRED, 3, 1, 0, {0, 0, 0}},
  };
  for (const ROW& r : rows) {
    cEdShot def = Def(r.cFormation, r.cCount, r.f1);
    def.m_sAngle = r.sAngle;
    def.m_cMirrorAngle = 0;
    const std::vector<cShotObj*> v = Fire(def);
    ASSERT_EQ(v.size(), r.vecAngles.size()) << int(r.cFormation);
    for (size_t j = 0; j < v.size(); ++j) {
      double a = AngleOf(v[j]->m_dBaseVX, v[j]->m_dBaseVY);
      if (a >= 360 - 1e-6) a -= 360;
      EXPECT_NEAR(a, r.vecAngles[j], 1e-6) << int(r.cFormation) << " shot " << j;
      // Four pixels a frame over two update steps.
      EXPECT_NEAR(std::hypot(v[j]->m_dBaseVX, v[j]->m_dBaseVY), 2.0, 1e-9);
    }
  }
}

TEST_F(Shots, RowsStartBesideTheShooterAndTheDirectionFollowsItsFacing) {
  cPlayerObj& p = Shooter();
  const int32_t camX = TruncI32(Scene().m_ScrollX.m_dPos);
  const int32_t camY = TruncI32(Scene().m_ScrollY.m_dPos);
  const int32_t L = p.m_nScrLeft + camX, R = p.m_nScrRight + camX;
  const int32_t cy = p.m_nScrTop + camY + p.m_nDrawH / 2, B = p.m_nScrBottom + camY;
  struct ROW {
    int8_t cFormation, cDirection;
    int32_t nFacing;
    int32_t x, y, dy;  // first shot and the step down the row
    double vx;
  } rows[] = {
      {FORMATION_ROW_CENTRED, 2, 0, L - 16, cy - 2 * (8 + 8) - 8, 32, -2},
      {FORMATION_ROW_CENTRED, 3, 0, R + 1, cy - 2 * (8 + 8) - 8, 32, 2},
      {FORMATION_ROW_CENTRED, 0, 1, R + 1, cy - 2 * (8 + 8) - 8, 32, 2},   // ahead
      {FORMATION_ROW_CENTRED, 0, 0, L - 16, cy - 2 * (8 + 8) - 8, 32, -2},
      {FORMATION_ROW_CENTRED, 1, 1, L - 16, cy - 2 * (8 + 8) - 8, 32, -2}, // behind
      {FORMATION_ROW_FOOT, 3, 0, R + 1, B + 1 - 16, -32, 2},
  };
  for (const ROW& r : rows) {
    p.m_nFacing = r.nFacing;
    cEdShot def = Def(r.cFormation, 3, 1);
    def.m_cDirection = r.cDirection;
    const std::vector<cShotObj*> v = Fire(def);
    ASSERT_EQ(v.size(), 3u);
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(v[j]->m_dX, r.x) << int(r.cDirection) << " facing " << r.nFacing;
      EXPECT_EQ(v[j]->m_dY, r.y + j * r.dy) << int(r.cDirection);
      EXPECT_EQ(v[j]->m_dBaseVX, r.vx);
    }
  }
}

TEST_F(Shots, LightningColumnsAndTheRingAroundATarget) {
  cPlayerObj& p = Shooter();
  const double camX = Scene().m_ScrollX.m_dPos;
  const int32_t cx = p.m_nScrLeft + TruncI32(camX) + p.m_nDrawW / 2;
  const int32_t cy = p.m_nScrTop + TruncI32(Scene().m_ScrollY.m_dPos) + p.m_nDrawH / 2;
  for (int bCompat555 : {0, 1}) {
    g_SystemData.m_bCompat555 = bCompat555;
    cEdShot def = Def(FORMATION_LIGHTNING, 3, 1);
    def.m_sFormationParam[1] = 2;  // two columns
    def.m_sFormationParam[2] = 2;  // 32 pixels apart
    def.m_cRefObject = 2;          // around the shooter
    const std::vector<cShotObj*> v = Fire(def);
    ASSERT_EQ(v.size(), 6u);
    const int32_t nStep = bCompat555 ? 16 : 32;
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 2; ++k) {
        const cShotObj& s = *v[j * 2 + k];
        EXPECT_EQ(s.m_dX, TruncI32(camX + 640 - 16) - j * nStep) << bCompat555;
        EXPECT_EQ(s.m_dY, cy - 8 - 16 + k * 32);
      }
    }
  }
  cEdShot ring = Def(FORMATION_SURROUND, 4, 2);
  ring.m_cRefObject = 2;
  const std::vector<cShotObj*> v = Fire(ring);
  ASSERT_EQ(v.size(), 4u);
  for (const cShotObj* s : v) {
    const double dx = s->m_dX - cx, dy = s->m_dY - cy;
    // Rounded half up and then toward 0: 31 on the left and top.
    EXPECT_NEAR(std::hypot(dx, dy), 32, 1.0);
    // Inward: the speed points back at the centre.
    EXPECT_LT(dx * s->m_dBaseVX + dy * s->m_dBaseVY, 0);
  }
  // No target in the slot: nothing is fired.
  ring.m_cRefObject = 0;
  ring.m_cTargetSlot = 2;
  EXPECT_TRUE(Fire(ring).empty());
}

TEST_F(Shots, AimedAnglesTowardTheTargetSlot) {
  cPlayerObj& p = Shooter();
  const int32_t x = p.m_nScrLeft + p.m_nDrawW / 2, y = p.m_nScrTop + p.m_nDrawH / 2;
  cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
  SHOTLAUNCH launch;
  // No target (slot 1 holds the player itself until emptied): by the facing.
  p.m_vecTargets[0] = nullptr;
  p.m_nFacing = 1;
  EXPECT_EQ(AimAngle(Scene(), x, y, p, def, launch), 180);
  p.m_nFacing = 0;
  EXPECT_EQ(AimAngle(Scene(), x, y, p, def, launch), 0);
  struct ROW {
    double dx, dy;
    int32_t nAngle;
  } rows[] = {{100, 0, 180}, {-100, 0, 360}, {0, -100, 90}, {0, 100, 270}, {100, 100, 225},
              {-100, -100, 45}, {100, -58, 150}};
  for (const ROW& r : rows) {
    cCharaObj& t = CharaAt(p.m_dX + r.dx, p.m_dY + r.dy);
    t.m_nScrLeft = x + TruncI32(r.dx) - 16;
    t.m_nScrTop = y + TruncI32(r.dy) - 16;
    p.m_vecTargets[0] = &t;
    EXPECT_EQ(AimAngle(Scene(), x, y, p, def, launch), r.nAngle) << r.dx << "," << r.dy;
    p.m_vecTargets[0] = nullptr;
    g_CharaList.clear();
  }
}

TEST_F(Shots, EachMovementKindsPath) {
  cPlayerObj& p = Shooter();
  // A target up and to the left of the shooter, in slot 1.
  cCharaObj& t = CharaAt(p.m_dX - 200, p.m_dY - 200);
  p.m_vecTargets[0] = &t;
  struct ROW {
    int8_t cKind;
    int16_t m1, m2, m3;
    bool bTarget;
    const char* szExpect;
  } rows[] = {
      {SHOTMOVE_STRAIGHT, 0, 0, 0, true, "straight"},
      {SHOTMOVE_AIM_TARGET, 0, 0, 0, true, "aims"},
      {SHOTMOVE_AIM_TARGET, 0, 0, 0, false, "straight"},  // no target: on it flies
      {SHOTMOVE_HOME_TARGET, 0, 8, 0, true, "aims"},
      {SHOTMOVE_HOME_TARGET, 0, 0, 0, true, "straight"},  // m2 0: never steers
      {SHOTMOVE_HOME_TARGET, 0, 8, 0, false, "straight"},
      {SHOTMOVE_WAVE, 1, 10, 0, true, "waves"},
      {SHOTMOVE_FALL, 1, 0, 0, true, "falls"},
  };
  for (const ROW& r : rows) {
    cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
    def.m_cMoveType = r.cKind;
    def.m_sMoveParam[0] = r.m1;
    def.m_sMoveParam[1] = r.m2;
    def.m_sMoveParam[2] = r.m3;
    def.m_cTargetSlot2 = r.bTarget ? 0 : 3;
    const std::vector<cShotObj*> v = Fire(def);
    ASSERT_EQ(v.size(), 1u);
    cShotObj& s = *v[0];
    const double x0 = s.m_dX, y0 = s.m_dY;
    double yMin = y0, yMax = y0;
    for (int i = 0; i < 80; ++i) {
      ASSERT_EQ(StepShot(s), 0) << r.szExpect << " step " << i;
      yMin = std::min(yMin, s.m_dY);
      yMax = std::max(yMax, s.m_dY);
    }
    const std::string strExpect = r.szExpect;
    if (strExpect == "straight") {
      EXPECT_DOUBLE_EQ(s.m_dX, x0 - 80 * 2.0) << int(r.cKind);
      EXPECT_DOUBLE_EQ(s.m_dY, y0) << int(r.cKind);
    } else if (strExpect == "aims") {
      // Up and left toward the target, at the same speed.
      EXPECT_LT(s.m_dBaseVX, -1) << int(r.cKind);
      EXPECT_LT(s.m_dBaseVY, -1) << int(r.cKind);
      EXPECT_NEAR(std::hypot(s.m_dBaseVX, s.m_dBaseVY), 2.0, 1e-9) << int(r.cKind);
      EXPECT_LT(s.m_dY, y0 - 80);
    } else if (strExpect == "waves") {
      // Moving left it swings up and down across its flight.
      EXPECT_LT(yMin, y0 - 1);
      EXPECT_GT(yMax, y0 + 1);
      EXPECT_LE(s.m_dBaseVX, 0);
    } else if (strExpect == "falls") {
      EXPECT_EQ(s.m_nFlying, 0);
      EXPECT_GT(s.m_dVY, 0);
      EXPECT_GT(s.m_dY, y0);
    }
  }
}

TEST_F(Shots, WhereAFlightEnds) {
  struct ROW {
    const char* szCase;
    int bLife;
    int16_t sLife;
    int bRange;
    int16_t sRange, sSpeed;
    int bStop;
    int nRemovedAt;  // 0: still flying after 100 steps
  } rows[] = {
      {"a tenth of a second lives 12 steps", 1, 1, 0, 0, 40, 0, 13},
      {"48 range pixels at 1 a step", 0, 0, 1, 4, 20, 0, 49},
      {"a range shorter than a frame takes a frame", 0, 0, 1, 2, 400, 0, 3},
      {"halted at its range, gone with its life", 1, 5, 1, 4, 20, 1, 61},
  };
  for (const ROW& r : rows) {
    cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
    def.m_cLifeOn = static_cast<int8_t>(r.bLife);
    def.m_sLife = r.sLife;
    def.m_cRangeOn = static_cast<int8_t>(r.bRange);
    def.m_sRange = r.sRange;
    def.m_sSpeed = r.sSpeed;
    def.m_cRangeEndStop = static_cast<int8_t>(r.bStop);
    const std::vector<cShotObj*> v = Fire(def);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(StepsToRemoval(*v[0], 100), r.nRemovedAt) << r.szCase;
  }
  // The range speed-up covers 16 pixels in the frame's two steps.
  cEdShot fast = Def(FORMATION_ROW_CENTRED, 1);
  fast.m_cRangeOn = 1;
  fast.m_sRange = 2;
  fast.m_sSpeed = 400;
  cShotObj& s = *Fire(fast)[0];
  EXPECT_DOUBLE_EQ(s.m_dBaseVX, -8);
  // A halted shot stands.
  cEdShot halt = Def(FORMATION_ROW_CENTRED, 1);
  halt.m_cRangeOn = halt.m_cRangeEndStop = 1;
  halt.m_sRange = 2;
  halt.m_sSpeed = 20;
  cShotObj& h = *Fire(halt)[0];
  for (int i = 0; i < 20; ++i) StepShot(h);
  const double x = h.m_dX;
  for (int i = 0; i < 20; ++i) StepShot(h);
  EXPECT_EQ(h.m_dX, x);
}

TEST_F(Shots, BlocksStopShotsUnlessTheyPassThem) {
  // A wall two columns left of the player.
  g_BlockPalette.SetBlock(Cell(6, 13), g_Stage.m_vecBlocks.front(), 1);
  for (int bPass : {0, 1}) {
    cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
    def.m_cPassBlocks = static_cast<int8_t>(bPass);
    cShotObj& s = *Fire(def)[0];
    EXPECT_EQ(StepsToRemoval(s, 40) != 0, bPass == 0) << bPass;
  }
  // A 48-pixel shot finds a block under its middle column alone.
  cEdShot big = Def(FORMATION_ROW_CENTRED, 1);
  big.m_cScale = 3;
  cShotObj& s = *Fire(big)[0];
  s.m_Def.m_cPassBlocks = 0;
  const int32_t k = 20;
  s.m_dX = (k + 10) * 32.0 + 20;  // cells k, k + 1, k + 2 along x
  s.m_dY = (2 + 10) * 32.0 + 20;  // rows 2, 3, 4
  s.ClampX(2);
  s.ClampY(2);
  EXPECT_EQ(s.m_nWidth, 48);
  EXPECT_EQ(s.HitsBlock(Scene()), 0);
  g_BlockPalette.SetBlock(Cell(k + 1, 2), g_Stage.m_vecBlocks.front(), 1);
  EXPECT_EQ(s.HitsBlock(Scene()), 1);
}

TEST_F(Shots, ShotsLeavePastTheScreenEdgeAndTheStage) {
  g_Stage.m_aRules[3].Set(1, 1, 1, 1, 0, 0, 0, 0);  // the player's shots
  cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
  def.m_sSpeed = 200;  // 10 pixels a step
  Fire(def);
  const double x0 = Scene().m_ShotList.front().m_dX;
  const double dCamX = Scene().m_ScrollX.m_dPos;
  int nFrames = 0;
  while (!Scene().m_ShotList.empty() && nFrames < 200) {
    Frames(1);
    ++nFrames;
  }
  EXPECT_TRUE(Scene().m_ShotList.empty());
  // Not before it passed the screen's left edge.
  EXPECT_GE(nFrames, static_cast<int>((x0 + 16 - dCamX) / 20.0));
}

TEST_F(Shots, SwordFramesFollowTheOwnerAndEndWithIt) {
  cEdSwordType type;
  type.m_vecFrame.clear();
  for (int32_t nPlace : {SWORD_PLACE_FRONT, SWORD_PLACE_ABOVE}) {
    cEdSwordFrame f;
    f.m_nPlace = nPlace;
    f.m_nWidth = 24;
    f.m_nHeight = 8;
    f.m_nTime = 1;  // 12 steps at two a frame
    f.m_nOffsetX = 0;
    type.m_vecFrame.push_back(f);
  }
  Database.m_vecSwordType.clear();
  Database.m_vecSwordType.push_back(type);
  cPlayerObj& p = Shooter();
  p.m_nFacing = 1;
  cEdShot def;
  def.m_cPassBlocks = 1;
  SHOTLAUNCH launch;
  cShotObj* pSword = FireOne(Scene(), p, SHOTKIND_SWORD, def, launch);
  ASSERT_NE(pSword, nullptr);
  EXPECT_EQ(pSword->m_nIsShot, 0);
  ASSERT_EQ(StepShot(*pSword), 0);
  p.UpdateScreenRect();
  const int32_t camX = TruncI32(Scene().m_ScrollX.m_dPos);
  const int32_t camY = TruncI32(Scene().m_ScrollY.m_dPos);
  EXPECT_EQ(pSword->m_dX, p.m_nScrRight + camX + 1);
  EXPECT_EQ(pSword->m_dY, p.m_nScrTop + camY + p.m_nDrawH / 2 - 4);
  EXPECT_EQ(pSword->m_nWidth, 24);
  int nStep = 1;
  while (pSword->m_nMoveCount == 0 && nStep < 50) {
    StepShot(*pSword);
    ++nStep;
  }
  EXPECT_EQ(nStep, 12);
  StepShot(*pSword);
  EXPECT_EQ(pSword->m_dY, p.m_nScrTop + camY - 8);  // above now
  EXPECT_EQ(StepsToRemoval(*pSword, 50), 11);
  // An owner gone takes its sword in the next step.
  cShotObj* pSecond = FireOne(Scene(), p, SHOTKIND_SWORD, def, launch);
  ASSERT_NE(pSecond, nullptr);
  pSecond->m_nOwnerId = 12345;
  EXPECT_EQ(StepShot(*pSecond), 1);
  Database.m_vecSwordType.clear();
}

TEST_F(Shots, AShotsKnockFollowsItsFlightASwingsItsFacing) {
  cCharaObj& c = CharaAt(1000, 400);
  cEdShot def = Def(FORMATION_ROW_CENTRED, 1);
  def.m_cImpact = 10;
  cShotObj shot;
  shot.m_Def = def;
  shot.m_dVX = -2;
  shot.m_dVY = 0;
  c.ImpactFromShot(shot);
  EXPECT_LT(c.m_dKnockX, 0);
  EXPECT_EQ(c.m_nKnocked, 1);
  shot.m_nIsShot = 0;  // a swing facing right pushes right whatever its speed
  shot.m_nFacing = 1;
  c.ImpactFromShot(shot);
  EXPECT_GT(c.m_dKnockX, 0);
  // No impact, no knock.
  c.m_dKnockX = 0;
  shot.m_Def.m_cImpact = 0;
  c.ImpactFromShot(shot);
  EXPECT_EQ(c.m_dKnockX, 0);
}

TEST_F(Shots, DefinitionsAskingTooMuchOrNothing) {
  // No shots, no clones.
  EXPECT_TRUE(Fire(Def(FORMATION_EXPLOSION, 0)).empty());
  cEdShot none = Def(FORMATION_FAN, 3, 10);
  none.m_cCopies = -1;
  EXPECT_TRUE(Fire(none).empty());
  // A giant factor of 0 is 1.
  cEdShot flat = Def(FORMATION_ROW_CENTRED, 1);
  flat.m_cScale = 0;
  const std::vector<cShotObj*> v = Fire(flat);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0]->m_nWidth, 16);
  EXPECT_EQ(v[0]->GetScale(), 1);
  // 127 shots in 128 clones, over and over: the list stops at its bound.
  cEdShot flood = Def(FORMATION_EXPLOSION, 127);
  flood.m_cCopies = 127;
  Scene().m_ShotList.clear();
  for (auto& g : Scene().m_ShotGroups) g.clear();
  for (int i = 0; i < 3; ++i) FireShotPattern(Scene(), Shooter(), nullptr, flood);
  EXPECT_EQ(Scene().m_ShotList.size(), kMostShotsInFlight);
  // Lightning of no columns, a ring of no radius: nothing, or all at the
  // centre.
  cEdShot dry = Def(FORMATION_LIGHTNING, 5);
  dry.m_cRefObject = 2;
  EXPECT_TRUE(Fire(dry).empty());
  // Homing with no character in the group flies straight on.
  cEdShot homing = Def(FORMATION_ROW_CENTRED, 1);
  homing.m_cMoveType = SHOTMOVE_HOME_NEAREST;
  homing.m_sMoveParam[1] = 20;
  homing.m_sMoveParam[2] = 7;
  cShotObj& h = *Fire(homing)[0];
  const double vx = h.m_dBaseVX;
  for (int i = 0; i < 10; ++i) StepShot(h);
  EXPECT_EQ(h.m_dBaseVX, vx);
  // Graphics beyond the shot image draw nothing, and nothing breaks.
  for (int32_t g : {-1, 119, 120, 30000}) {
    h.m_nKindValue = g;
    h.UpdateScreenRect();
    h.Draw(&BackBuffer, 0);
    h.Draw(&BackBuffer, 1);
  }
  // A sword type that is not there is reported, and the first one used.
  Database.m_vecSwordType.clear();
  Database.m_vecSwordType.resize(1);
  cEdShot sword;
  sword.m_cMoveType = 9;
  SHOTLAUNCH launch;
  TakeCloses();
  ASSERT_NE(FireOne(Scene(), Shooter(), SHOTKIND_SWORD, sword, launch), nullptr);
  EXPECT_GE(TakeCloses(), 1);
  Database.m_vecSwordType.clear();
}

TEST_F(Shots, AShotCommandFiresEveryTenthOfASecondASwordCommandOnce) {
  cFlowCmd cmd;
  NewEdShot(cmd.m_pShot);
  *cmd.m_pShot = Def(FORMATION_ROW_CENTRED, 2);
  Database.m_vecSwordType.clear();
  Database.m_vecSwordType.resize(1);
  Scene().m_ShotList.clear();
  for (auto& g : Scene().m_ShotGroups) g.clear();
  cCmdState shots, sword;
  const CMDCONTEXT shot{Shooter(), nullptr, &shots, cmd, Scene(), &Shooter()};
  const CMDCONTEXT swing{Shooter(), nullptr, &sword, cmd, Scene(), &Shooter()};
  // Two update steps a frame: a volley at steps 0, 12 and 24.
  for (int i = 0; i < 25; ++i) CmdShot(shot);
  EXPECT_EQ(Scene().m_ShotList.size(), 6u);
  for (int i = 0; i < 25; ++i) CmdSword(swing);
  EXPECT_EQ(Scene().m_ShotList.size(), 7u);
  EXPECT_EQ(Scene().m_ShotList.back().m_nIsShot, 0);
  // The shooter knows its shots, so its end clears their links.
  EXPECT_EQ(Shooter().m_vecRefBy2.size(), 7u);
  Database.m_vecSwordType.clear();
}

TEST_F(Shots, SummonsLayOutPaletteEntriesAsAVolleyLaysOutShots) {
  const CHARA_VECTOR savedCharas = CommonPalette.m_vecChara;
  const ITEM_VECTOR savedItems = CommonPalette.m_vecItem;
  CommonPalette.m_vecChara.resize(3);
  CommonPalette.m_vecChara[1].m_cOperator = 1;
  CommonPalette.m_vecChara[1].m_nCarriedItem = -1;
  CommonPalette.m_vecChara[1].m_cFlying = 2;
  CommonPalette.m_vecChara[2].m_cOperator = 0;  // the player's kind: never summoned
  CommonPalette.m_vecItem.resize(2);
  struct ROW {
    int16_t sIndex;
    size_t nCharas;
  } rows[] = {{1, 2}, {2, 0}, {9, 0}, {-1, 0}};
  for (const ROW& r : rows) {
    g_CharaList.clear();
    cEdShot def = Def(FORMATION_ROW_CENTRED, 2);
    def.m_cDirection = 6;  // a row over the shooter's head
    def.m_cSummonPalette = 0;  // common
    def.m_sSummonIndex = r.sIndex;
    def.m_cSummonFaction = 1;  // the summoner's side
    FireCharaSummon(Scene(), Shooter(), nullptr, def);
    EXPECT_EQ(g_CharaList.size(), r.nCharas) << r.sIndex;
    for (const cCharaObj& c : g_CharaList) {
      EXPECT_EQ(c.m_nGroup, Shooter().m_nGroup);
      EXPECT_EQ(c.m_pParent, &Shooter());
      EXPECT_EQ(c.m_nFacing, Shooter().m_nFacing);  // fired upward: the summoner's
    }
  }
  g_CharaList.clear();
  const size_t nItems = g_ItemList.size();
  cEdShot items = Def(FORMATION_EXPLOSION, 3);
  items.m_sSummonIndex = 1;
  FireItemSummon(Scene(), Shooter(), nullptr, items);
  EXPECT_EQ(g_ItemList.size(), nItems + 3);
  CommonPalette.m_vecChara = savedCharas;
  CommonPalette.m_vecItem = savedItems;
}

// A computer's character whose flow fires spread, homing volleys at the
// player and a player whose flow swings a sword: the play fires them, and
// two plays of the same stage agree frame by frame.
class ShotFlows : public cPlayFixture {
 protected:
  std::vector<uint64_t> Play(int nFrames) {
    MakeStage(30, 15, 2);
    Floor(14);
    Database.m_vecSwordType.clear();
    Database.m_vecSwordType.resize(1);
    cEdChara& hero = Player(3, 13);
    hero.m_vecFlows.push_back(FlowOf(SHOTKIND_SWORD, cEdShot{}));
    cEdChara& enemy = Chara(12, 13);
    enemy.m_cActRange = 3;
    cEdShot volley;
    volley.m_cFormation = FORMATION_EXPLOSION;
    volley.m_cShotCount = 4;
    volley.m_sSpeed = 30;
    volley.m_sSpread = 20;
    volley.m_cMoveType = SHOTMOVE_HOME_PLAYER;
    volley.m_sMoveParam[1] = 20;
    volley.m_cPassBlocks = 1;
    volley.m_cLifeOn = 1;
    volley.m_sLife = 5;
    enemy.m_vecFlows.push_back(FlowOf(SHOTKIND_SHOT, volley));
    StartPlaying();
    std::vector<uint64_t> vecDigests;
    for (int i = 0; i < nFrames; ++i) {
      Frames(1);
      vecDigests.push_back(HashPlayState(Scene()));
      m_nMostShots = std::max(m_nMostShots, Scene().m_ShotList.size());
      for (const cShotObj& shot : Scene().m_ShotList) m_nSwords += shot.m_nIsShot == 0;
    }
    delete m_pScene;
    m_pScene = nullptr;
    g_BlockPalette.Clear();
    Database.m_vecSwordType.clear();
    return vecDigests;
  }
  // An always-running flow of one command of a kind, lasting a second.
  static cFlow FlowOf(uint8_t cKind, const cEdShot& shot) {
    cFlowCmd cmd;
    cmd.m_cKind = cKind;
    cmd.m_sTime = 10;
    NewEdShot(cmd.m_pShot);
    *cmd.m_pShot = shot;
    cFlow flow;
    flow.m_cTrigger = 0;
    flow.m_vecCmds.push_back(std::move(cmd));
    return flow;
  }
  size_t m_nMostShots = 0;
  int m_nSwords = 0;
};

TEST_F(ShotFlows, FlowsFireVolleysAndSwingsAndTwoPlaysAgree) {
  const std::vector<uint64_t> first = Play(90);
  EXPECT_GE(m_nMostShots, 8u);
  EXPECT_GT(m_nSwords, 0);
  const std::vector<uint64_t> second = Play(90);
  EXPECT_EQ(first, second);
}

}  // namespace
