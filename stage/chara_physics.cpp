// The motion of characters between their flows and the block tests: gravity,
// jump speeds, the responses to landing and to ceilings, knock-back, the
// saved position of an update step, HP and SP with their gauges, and the
// axis moves of the computer's characters.
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/trunc_int.h"
#include "base/window_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

namespace {

// Sign with the tolerance knock-back directions are compared with.
int SignOf(double v) {
  if (v > 1e-08) return 1;
  if (v < -1e-08) return -1;
  return 0;
}

bool Opposed(double a, double b) { return SignOf(a) * SignOf(b) < 0; }

// Moves v toward 0 by d, 0 once it would cross.
void TowardZero(double& v, double d) {
  if (v > 0) {
    v -= d;
    if (v < 0) v = 0;
  } else if (v < 0) {
    v += d;
    if (v > 0) v = 0;
  }
}

}  // namespace

void cGameObj::ApplyGravity() {
  if (m_nFlying || m_nRiding || m_nHeld || m_dKnockY < 0) return;
  m_dVY += g_Stage.m_dStepGravity;
}

double cGameObj::JumpSpeedFromHeight(double dHeight) const {
  const double g = g_Stage.m_dStepGravity;
  // A negative height (a spring's byte above 127, a negative jump setting)
  // would take the root of a negative number; it jumps as from height 0.
  double dRoot = g * (g + 8 * dHeight);
  if (!(dRoot >= 0)) dRoot = 0;
  double v = (-g - std::sqrt(dRoot)) / 2;
  if (m_nControl == 0) v *= 0.99 - 0.025 * g_Stage.m_dGravity;
  return v;
}

double cGameObj::JumpSpeedFromHbl(int8_t cHeight) const {
  return JumpSpeedFromHeight(static_cast<double>(cHeight) * 16);
}

int32_t cGameObj::StepsToApex(double dSpeed) const {
  const double g = g_Stage.m_dStepGravity;
  // Without gravity pulling down there is no top of the jump.
  if (!(g > 0)) return std::numeric_limits<int32_t>::min();
  return TruncI32(g_Stage.m_dSteps - dSpeed / g);
}

int cGameObj::IsOnGround() {
  if (m_pFootCell != NO_CELL && g_PlayScene->GetCellHitType(m_pFootCell, m_nGroup) != 0) return 1;
  return m_nRiding ? 1 : 0;
}

void cGameObj::LandOnBlock() {
  m_dVY = 0;
  m_dPushVY = 0;
  m_nTouchB = 1;
  m_nNoFloorSteps = 0;
  m_nFalling = 0;
  m_nJumping = 0;
  m_nJumpCut = 0;
  m_nKnocked = 0;
  if (m_nControl == 1) m_nJumpBlocked = 0;
  // Feet on the cell boundary; the fraction of y is kept.
  m_dY -= (TruncI32(m_dBottom) & 31) + 1;
  OnMovedY();
  FireTrigger(9);
  FireTrigger(13);
  FireTrigger(15);
}

void cGameObj::HitCeiling() {
  m_nJumpCut = 1;
  m_nJumping = 1;
  m_nTouchT = 1;
  m_nJumpBlocked = 1;
  m_dVY = 0;
  m_dPushVY = 0;
  if (!g_SystemData.m_bCompat781) m_dKnockY = 0;
  m_dY += 32 - (TruncI32(m_dY) & 31);
  OnMovedY();
  FireTrigger(9);
  FireTrigger(13);
  FireTrigger(14);
}

void cGameObj::StopFall(int bPushedAside) {
  m_nRiding = 0;
  if (m_dKnockY == 0) m_dVY = 0;
  if (bPushedAside) m_nPushedAside = 1;
}

void cGameObj::ClearBlockContacts() { m_nTouchL = m_nTouchR = m_nTouchT = m_nTouchB = 0; }

void cGameObj::SavePosition() { m_SavedPos = {m_dX, m_dY, m_dRight, m_dBottom}; }

void cGameObj::RestorePosition() {
  m_dX = m_SavedPos.dX;
  m_dY = m_SavedPos.dY;
  m_dRight = m_SavedPos.dRight;
  m_dBottom = m_SavedPos.dBottom;
}

void cGameObj::ApplyImpact(int8_t cImpact, double dx, double dy) {
  if (cImpact == 0) return;
  const int32_t r = static_cast<int8_t>(m_Def.m_cImpactResist);
  int32_t s = cImpact;
  if (s < 0) {
    s += r;
    if (s < -20) s = -20;
    if (s > 0) s = 0;
  } else {
    s -= r;
    if (s < 0) s = 0;
    if (s > 20) s = 20;
  }
  CalcLaunchSpeed(dx, dy, static_cast<int8_t>(s), m_dKnockX, m_dKnockY);
  if (m_dPushVX != 0 && Opposed(m_dPushVX, m_dKnockX)) m_dPushVX = 0;
  if (m_dPushVY != 0 && Opposed(m_dPushVY, m_dKnockY)) m_dPushVY = 0;
  if (Opposed(m_dVY, m_dKnockY)) m_dVY = 0;
  m_nKnocked = 1;
}

void cGameObj::ImpactFromBody(const cGameObj& attacker) {
  double dy = attacker.m_dVY;
  if (!attacker.m_nFlying && attacker.m_dVY < g_Stage.m_nSteps8 * g_Stage.m_dStepGravity) dy = 0;
  ApplyImpact(attacker.m_Def.m_cBodyImpact, attacker.m_dVX, dy);
}

void cGameObj::ApplyKnockY() {
  if (m_dKnockY != 0) {
    const bool bStanding =
        (m_pFootCell != NO_CELL && g_PlayScene->GetCellHitType(m_pFootCell, m_nGroup) != 0) ||
        m_nRiding;
    if (!m_nFlying && m_dKnockY > 0 && bStanding)
      m_dKnockY = 0;
    else if (!m_nFlying)
      m_dVY = m_dVY - m_dPrevKnockY + m_dKnockY;
    else
      m_dVY += m_dKnockY;
  }
  m_dPrevKnockY = m_dKnockY;
}

void cGameObj::DecayKnockX() { TowardZero(m_dKnockX, 1 / g_Stage.m_dSteps); }
void cGameObj::DecayKnockY() { TowardZero(m_dKnockY, 1 / g_Stage.m_dSteps); }

int cGameObj::ChangeHP(int32_t nAmount, int bForced, int bGauge) {
  if (!bForced && nAmount < 1 && m_Def.m_cInvincible != 0) return 0;
  const int32_t nMax = m_Def.m_nMaxHP;
  if (nAmount > 0 && nAmount > nMax - m_nHP) nAmount = nMax - m_nHP;
  m_nHP += nAmount;
  if (m_nHP > nMax) m_nHP = nMax;
  if (m_nHP < 0) m_nHP = 0;
  if (m_nHP > 0) {
    if (bGauge) StartHpGauge(nAmount);
    return 0;
  }
  m_nHP = 0;
  return 1;
}

void cGameObj::ChangeSP(int32_t nAmount, int bGauge) {
  const int32_t nMax = m_Def.m_nMaxSP;
  if (nAmount > 0 && nAmount > nMax - m_nSP) nAmount = nMax - m_nSP;
  m_nSP += nAmount;
  if (m_nSP > nMax) m_nSP = nMax;
  if (m_nSP < 0) m_nSP = 0;
  if (nMax <= 0) return;
  if (bGauge) StartSpGauge(nAmount);
}

namespace {

// A gauge of 50 pixels; no gauge for a maximum that cannot be divided by.
void StartGauge(GAUGE& gauge, int32_t nAmount, int32_t nValue, int32_t nMax) {
  if (nAmount == 0 || nMax <= 0) return;
  gauge.nFrames = 120;
  gauge.nValue = static_cast<int32_t>(static_cast<int64_t>(nValue) * 50 / nMax);
  gauge.dStep = nAmount * 50.0 / nMax;
  gauge.dStepPerFrame = gauge.dStep / 60;
}

}  // namespace

void cGameObj::StartHpGauge(int32_t nAmount) {
  StartGauge(m_HpGauge, nAmount, m_nHP, m_Def.m_nMaxHP);
}
void cGameObj::StartSpGauge(int32_t nAmount) {
  StartGauge(m_SpGauge, nAmount, m_nSP, m_Def.m_nMaxSP);
}

int cGameObj::MoveCharaX() {
  if (m_dKnockX != 0) {
    m_dVX = m_dKnockX;
  } else if (m_dPushVX != 0) {
    DecaySpeed(m_dPushVX, m_nDecayX);
    m_dVX += m_dPushVX;
  }
  const int r = AxisMoveX(2);
  OnMovedX();
  return r == 3 ? 4 : r;
}

int cGameObj::MoveCharaY() {
  ApplyKnockY();
  if (m_dKnockY == 0 && m_nFlying && m_dPushVY != 0) {
    DecaySpeed(m_dPushVY, m_nDecayY);
    m_dVY += m_dPushVY;
  }
  const int r = AxisMoveY(2);
  OnMovedY();
  if (m_nFlying) return (r == 3 || r == 6) ? 8 : r;
  return (r == 5 || r == 6) ? 7 : r;
}
