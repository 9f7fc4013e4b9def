#include "stage/shot_moves.h"

#include <cmath>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/chara_search.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/shot_obj.h"
#include "stage/stage_objects.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Steps a distance of nHbl half blocks takes at dSpeed per step; beyond the
// int32 range (a speed of almost nothing) it never comes.
int32_t StepsFor(int32_t nHbl, double dSpeed) {
  const double d = nHbl * 16.0 / dSpeed;
  if (!(d < 2147483647.0)) return INT32_MAX;
  if (!(d > -2147483648.0)) return INT32_MIN;
  return TruncI32(d);
}

cGameObj* PlayerOrNull() { return g_Players.empty() ? nullptr : &ThePlayer(); }

// The nearest character of a hit group to the shot's centre, as the hit
// passes would see it (on screen only under the on-screen option).
cGameObj* NearestOfGroup(const cShotObj& shot, cPlayScene& scene, int32_t nGroup) {
  if (nGroup < 0 || nGroup >= kHitGroups) return nullptr;
  CHARAFILTER f;
  f.bNoInvincible2 = 1;
  const int32_t x = shot.m_nScrLeft + shot.m_nDrawW / 2;
  const int32_t y = shot.m_nScrTop + shot.m_nDrawH / 2;
  return FindNearestChara(x, y, scene.m_CharaGroups.At(nGroup), g_Stage.m_bOnScreenHits ? 2 : 0,
                          f);
}

cGameObj* LiveTarget(const cShotObj& shot) {
  return shot.m_pTarget && shot.m_pTarget->m_nDying == 0 ? shot.m_pTarget : nullptr;
}

void AimOnce(cShotObj& shot, cPlayScene& scene, int nKind) {
  const int32_t m1 = shot.m_Def.m_sMoveParam[0];
  const double S = shot.m_dMoveSpeed;
  if (shot.m_nMoveCount == 0) shot.m_nTurnStep = (m1 != 0 && S != 0) ? StepsFor(m1, S) : 0;
  if (shot.m_nMoveCount != shot.m_nTurnStep) return;
  shot.UpdateScreenRect();
  cGameObj* pTarget = nullptr;
  if (nKind == SHOTMOVE_AIM_PLAYER)
    pTarget = PlayerOrNull();
  else if (nKind == SHOTMOVE_AIM_NEAREST)
    pTarget = NearestOfGroup(shot, scene, shot.m_Def.m_sMoveParam[1]);
  else
    pTarget = LiveTarget(shot);
  if (pTarget) {
    VelocityToward(shot, *pTarget, scene, shot.m_dBaseVX, shot.m_dBaseVY);
    if (shot.m_nAccelerating) SplitAccel(shot, shot.m_dBaseVX, shot.m_dBaseVY);
  }
  shot.m_nMoveDone = 1;
}

void Home(cShotObj& shot, cPlayScene& scene, int nKind) {
  const int32_t m1 = shot.m_Def.m_sMoveParam[0];
  const int32_t m2 = shot.m_Def.m_sMoveParam[1];
  const double S = shot.m_dMoveSpeed;
  if (shot.m_nMoveCount == 0) {
    shot.m_nTurnStep = (m1 != 0 && S != 0) ? StepsFor(m1, S) : 0;
    shot.m_nEndStep = m2 != 0 ? (S != 0 ? StepsFor(m2, S) : INT32_MAX) : 0;
  }
  if (shot.m_nMoveCount >= shot.m_nEndStep) {
    shot.m_nMoveDone = 1;
    return;
  }
  if (shot.m_nMoveCount < shot.m_nTurnStep) return;
  shot.UpdateScreenRect();
  cGameObj* pTarget = nullptr;
  if (nKind == SHOTMOVE_HOME_PLAYER)
    pTarget = PlayerOrNull();
  else if (nKind == SHOTMOVE_HOME_TARGET)
    pTarget = LiveTarget(shot);
  else
    pTarget = NearestOfGroup(shot, scene, shot.m_Def.m_sMoveParam[2]);
  if (pTarget) HomingSteer(shot, *pTarget, scene);
}

// A component that changed sign in this step stops at 0.
double NoReversal(double dOld, double dNew) {
  if ((dOld > 0 && dNew < 0) || (dOld < 0 && dNew > 0)) return 0;
  return dNew;
}

void Wave(cShotObj& shot) {
  const double n = g_Stage.m_dSteps;
  const double dPeriod = shot.m_Def.m_sMoveParam[1];
  if (shot.m_nSubStep == 0) {
    shot.m_dWaveAmplitude = shot.m_Def.m_sMoveParam[0] * 16.0;
    shot.m_nSubStep = 1;
    const double a = shot.m_Def.m_sMoveParam[2] + (shot.m_nFacing == 1 ? 0 : 180);
    // A period of 0 makes no wave; its phase stays at the start.
    shot.m_dWavePhase = dPeriod != 0 ? n * a / dPeriod : 0;
    const double d = CalcWaveSpeed(shot.m_dWaveAmplitude, dPeriod, shot.m_dWavePhase, 1, 0);
    double dAngle = std::atan2(shot.m_dBaseVY, shot.m_dBaseVX);
    if (dAngle < 0) dAngle += 2 * kPi;
    shot.m_dWaveAxis = (dAngle * 180 / kPi - 90) * kPi / 180;
    shot.m_dBaseVX += d * std::cos(shot.m_dWaveAxis);
    shot.m_dBaseVY += d * std::sin(shot.m_dWaveAxis);
  } else {
    const double d = CalcWaveSpeedY(shot.m_dWaveAmplitude, dPeriod, shot.m_dWavePhase, 1, 0);
    const double vx = shot.m_dBaseVX + d * std::cos(shot.m_dWaveAxis);
    const double vy = shot.m_dBaseVY + d * std::sin(shot.m_dWaveAxis);
    shot.m_dBaseVX = NoReversal(shot.m_dBaseVX, vx);
    shot.m_dBaseVY = NoReversal(shot.m_dBaseVY, vy);
  }
  if (shot.m_nAccelerating) SplitAccel(shot, shot.m_dBaseVX, shot.m_dBaseVY);
}

void Fall(cShotObj& shot) {
  const int32_t m1 = shot.m_Def.m_sMoveParam[0];
  const double S = shot.m_dMoveSpeed;
  if (shot.m_nMoveCount == 0) shot.m_nTurnStep = (m1 != 0 && S != 0) ? StepsFor(m1, S) : 0;
  if (shot.m_nMoveCount < shot.m_nTurnStep) return;
  shot.m_dVY = shot.m_dBaseVY;
  shot.m_nFlying = 0;
  shot.m_nMoveDone = 1;
}

}  // namespace

void SplitAccel(cShotObj& shot, double vx, double vy) {
  const double a = shot.m_dAccel;
  if (vx != 0 && vy != 0) {
    const double dLen = std::sqrt(vx * vx + vy * vy);
    shot.m_dPushVX = ToStepSpeed(a * vx / dLen);
    shot.m_dPushVY = ToStepSpeed(a * vy / dLen);
  } else if (vx != 0) {
    shot.m_dPushVX = vx > 0 ? ToStepSpeed(a) : -ToStepSpeed(a);
    shot.m_dPushVY = 0;
  } else if (vy != 0) {
    shot.m_dPushVX = 0;
    shot.m_dPushVY = vy > 0 ? ToStepSpeed(a) : -ToStepSpeed(a);
  } else {
    shot.m_dPushVX = shot.m_dPushVY = 0;
  }
}

void VelocityToward(const cShotObj& shot, const cGameObj& chara, const cPlayScene& scene,
                    double& vx, double& vy) {
  const double s = shot.m_dMoveSpeed;
  const double dx = (chara.m_nScrLeft + chara.m_nDrawW / 2) - (shot.m_nScrLeft + shot.m_nDrawW / 2);
  const double dy = (chara.m_nScrTop + chara.m_nDrawH / 2) - (shot.m_nScrTop + shot.m_nDrawH / 2);
  double dLen = std::sqrt(dx * dx + dy * dy);
  if (dLen == 0) dLen = 1;
  vx = dx / dLen * s;
  vy = dy / dLen * s;
  if (shot.m_nScrollSync != 1) return;
  const double Sx = scene.m_ScrollX.IsScrolling() ? scene.m_ScrollX.m_dSpeed : 0;
  const double Sy = scene.m_ScrollY.IsScrolling() ? scene.m_ScrollY.m_dSpeed : 0;
  if (g_SystemData.m_bCompat214) {
    vx += Sx;
    vy += Sy;
  } else if (chara.m_nScrollSync == 1 && (Sx != 0 || Sy != 0)) {
    SolveScrolledVelocity(dx, dy, s, Sx, Sy, vx, vy);
  }
}

void HomingSteer(cShotObj& shot, const cGameObj& chara, const cPlayScene& scene) {
  double vx = 0, vy = 0;
  VelocityToward(shot, chara, scene, vx, vy);
  if (!shot.m_nAccelerating) {
    shot.m_dBaseVX = vx;
    shot.m_dBaseVY = vy;
    return;
  }
  if (shot.m_nTurnStep == 0) {
    shot.m_dBaseVX = vx;
    shot.m_dBaseVY = vy;
  }
  SplitAccel(shot, vx, vy);
}

void RunMoveKind(cShotObj& shot, cPlayScene& scene) {
  if (shot.m_nMoveDone) return;
  if (shot.m_nMoveCount == 0) {
    shot.m_dMoveSpeed =
        (shot.m_Def.m_sSpeed + shot.m_Def.m_sSpeedInc * static_cast<double>(shot.m_sSetupWord)) *
        0.1 / g_Stage.m_dSteps;
  }
  const int nKind = shot.m_Def.m_cMoveType;
  switch (nKind) {
    case SHOTMOVE_AIM_PLAYER:
    case SHOTMOVE_AIM_NEAREST:
    case SHOTMOVE_AIM_TARGET:
      AimOnce(shot, scene, nKind);
      break;
    case SHOTMOVE_HOME_PLAYER:
    case SHOTMOVE_HOME_NEAREST:
    case SHOTMOVE_HOME_TARGET:
    case SHOTMOVE_HOME_NEAREST_ANEW:
      Home(shot, scene, nKind);
      break;
    case SHOTMOVE_WAVE:
      Wave(shot);
      break;
    case SHOTMOVE_FALL:
      Fall(shot);
      break;
    default:  // straight on
      break;
  }
  ++shot.m_nMoveCount;
}
