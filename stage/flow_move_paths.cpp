// The movement commands that follow a path: round a circle, a charge aimed
// once at a target character, homing on a target with a delay, and keeping
// a character inside the view.
#include <cmath>
#include <cstdlib>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/chara_search.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/obj_root.h"
#include "stage/play_scene.h"

namespace {

const cEdMove* MovePart(const cCmdState& inst) {
  return inst.m_pCmd ? inst.m_pCmd->m_pMove.get() : nullptr;
}

void ClearPins(cGameObj& chara) { chara.m_nPinX = chara.m_nPinY = 0; }

int32_t Steps() { return g_Stage.m_nSteps > 0 ? g_Stage.m_nSteps : 1; }

cGameObj* Target(const cGameObj& chara, const cEdMove& move) {
  const size_t nSlot = static_cast<size_t>(static_cast<uint8_t>(move.m_cTargetSlot));
  return nSlot < chara.m_vecTargets.size() ? chara.m_vecTargets[nSlot] : nullptr;
}

int32_t FacingResultOf(double vx) { return vx < 0 ? 1 : vx > 0 ? 2 : 0; }

// The target's centre on the screen plus the command's offset.
void TargetPoint(const cGameObj& target, const cCmdState& inst, double& x, double& y) {
  CalcTargetPos(target, 0, 0, inst.m_nDX, inst.m_nDY, x, y);
}

}  // namespace

void StepToTargetPoint(cGameObj& chara, cCmdState& inst, const cEdMove& move,
                       const cGameObj* pTarget, double x, double y) {
  const double s = inst.m_dSpeed;
  if (move.m_cFreezeX && !move.m_cFreezeY) {
    if (StepTowardY(chara, inst, y, s) && move.m_cStopAtTarget) chara.WarpCenterY(y, inst);
    return;
  }
  if (!move.m_cFreezeX && !move.m_cFreezeY) {
    STEPTOWARD opt;
    opt.bArrive = 1;
    opt.bStopAtTarget = move.m_cStopAtTarget;
    StepToward(chara, inst, pTarget, x, y, s, opt);
    return;
  }
  if (StepTowardX(chara, inst, x, s)) {
    inst.m_nFaceResult = FacingResultOf(inst.m_dVX);
    if (move.m_cStopAtTarget) chara.WarpCenterX(x, inst);
    return;
  }
  inst.m_nFaceResult = FacingResultOf(inst.m_dVX);
}

void InitCircleCmd(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return;
  const int32_t n = Steps();
  const int16_t sClone = chara.m_sSetupWord;
  int32_t nOffset = 0;
  if (chara.m_Def.m_cMoveMirror == 1) {
    // Mirrored for a character that starts facing right: half a turn on,
    // the other way round (the senses that follow the facing stay).
    auto Toggle = [&inst] {
      if (inst.m_cDir == 0 || inst.m_cDir == 1) inst.m_cDir = static_cast<uint8_t>(1 - inst.m_cDir);
    };
    if (pMove->m_cMirrorX) {
      nOffset = 180;
      Toggle();
    }
    if (pMove->m_cMirrorY) Toggle();
  }
  int32_t r = pMove->m_sTime + pMove->m_sTimeInc * sClone;
  r = r < 0 ? 0 : r > 20 ? 20 : r;
  inst.m_nRadiusN = r * 16 * n;
  inst.m_nStartPhase = (nOffset + pMove->m_sAngle + pMove->m_sAngleInc * sClone) * n;
  inst.m_nEndPhase = (nOffset + pMove->m_sDistance + pMove->m_sDistanceInc * sClone) * n;
  const double dSweep = pMove->m_sDistance > pMove->m_sAngle
                            ? static_cast<double>(inst.m_nEndPhase) - inst.m_nStartPhase
                            : static_cast<double>(inst.m_nStartPhase) - inst.m_nEndPhase;
  if (pMove->m_cTimingMode == 0) {
    // A circle of no time still takes a step.
    inst.m_dSpeed = dSweep / (inst.m_nDuration > 0 ? inst.m_nDuration : 1) / n;
  } else if (pMove->m_cTimingMode == 1 && inst.m_dSpeed != 0) {
    // Without a speed the time stays and the circle stands still.
    inst.m_nDuration = std::abs(TruncI32(dSweep / inst.m_dSpeed / n));
  }
}

void InitHomingCmd(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return;
  inst.m_nHomingDelay = (pMove->m_sTime + pMove->m_sTimeInc * chara.m_sSetupWord) * Steps();
  if (pMove->m_cTimingMode != 0) ComputeMoveTiming(inst, *inst.m_pCmd, chara.m_sSetupWord);
}

int CmdMoveCircle(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove || inst.m_nRadiusN == 0) return 0;
  ClearPins(chara);
  if (!inst.m_nStarted) {
    inst.m_nStarted = 1;
    inst.m_dPhaseX = inst.m_dPhaseY = inst.m_nStartPhase;
  }
  int nSense = inst.m_cDir;
  if (nSense == 2) nSense = chara.m_nFacing == 1 ? 1 : 0;
  if (nSense == 3) nSense = chara.m_nFacing == 0 ? 1 : 0;
  const double n = Steps();
  const double dStep = n * inst.m_dSpeed;
  inst.m_dVX = inst.m_dVY = 0;
  if (!pMove->m_cFreezeX)
    inst.m_dVX = -CalcWaveSpeed(inst.m_nRadiusN, 1, inst.m_dPhaseX, dStep, 0) * inst.m_dSpeed;
  if (!pMove->m_cFreezeY && chara.m_nFlying)
    inst.m_dVY = -CalcWaveSpeed(inst.m_nRadiusN, 1, inst.m_dPhaseY, dStep, nSense == 1 ? 90 : 270) *
                 inst.m_dSpeed;
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, 0, inst, 0);
  return 0;
}

int CmdMoveCharge(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return 0;
  ClearPins(chara);
  const bool bFly = chara.m_nFlying != 0;
  if (!inst.m_nStarted) {
    inst.m_nStarted = 1;
    ComputeCmdAngle(chara, inst);
    ComputeTargetOffset(chara, inst);
    const cGameObj* pTarget = Target(chara, *pMove);
    if (!pTarget) {
      inst.m_dVX = inst.m_dVY = 0;
      return 0;
    }
    if (pTarget->m_nDying) return 0;  // it never aims again
    const double s = inst.m_dSpeed;
    if (bFly) {
      double x = 0, y = 0;
      TargetPoint(*pTarget, inst, x, y);
      StepToTargetPoint(chara, inst, *pMove, pTarget, x, y);
    } else if (pMove->m_cFreezeX) {
      inst.m_dVX = 0;
    } else {
      const double x = pTarget->m_nScrLeft + pTarget->m_nDrawW / 2 + inst.m_nDX;
      StepTowardX(chara, inst, x, s);
      inst.m_nFaceResult = FacingResultOf(inst.m_dVX);
    }
    if (inst.m_nAngle != 0) {
      // The aim turned by the command's angle.
      constexpr double kDeg = 180.0 / M_PI;
      double dTheta;
      if (!g_SystemData.m_bCompat728) {
        dTheta = static_cast<int16_t>(TruncI32(std::atan2(inst.m_dVY, inst.m_dVX) * kDeg + 180)) +
                 inst.m_nAngle;
        inst.m_dVX = -s * std::cos(dTheta / kDeg);
      } else {
        dTheta = static_cast<int16_t>(TruncI32(std::atan2(inst.m_dVX, inst.m_dVY) * kDeg + 90)) +
                 inst.m_nAngle;
        inst.m_dVX = s * std::cos(dTheta / kDeg);
      }
      if (bFly) inst.m_dVY = -s * std::sin(dTheta / kDeg);
    }
  } else if (!bFly) {
    inst.m_dVY = 0;
  }
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, inst.m_nFaceResult, inst, 0);
  return 0;
}

int CmdMoveHoming(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return 0;
  const cGameObj* pTarget = Target(chara, *pMove);
  if (!pTarget || pTarget->m_nDying) return 0;
  ClearPins(chara);
  if (!inst.m_nStarted) {
    inst.m_nStarted = 1;
    ComputeTargetOffset(chara, inst);
  }
  const int32_t d = inst.m_nHomingDelay;
  double x = 0, y = 0;
  TargetPoint(*pTarget, inst, x, y);
  const bool bFly = chara.m_nFlying != 0;
  if (!bFly && pMove->m_cFreezeX) return 0;
  auto Aim = [&](double px, double py) {
    if (bFly) {
      StepToTargetPoint(chara, inst, *pMove, pTarget, px, py);
    } else {
      StepTowardX(chara, inst, px, inst.m_dSpeed);
      inst.m_nFaceResult = FacingResultOf(inst.m_dVX);
    }
  };
  if (!bFly) inst.m_dVY = 0;
  if (d <= 0) {
    Aim(x, y);
  } else if (inst.m_nCount == 0) {
    inst.m_lstPositions.clear();
    inst.m_lstPositions.push_back({x, y});
    Aim(x, y);
  } else if (inst.m_nCount % d == 0) {
    // Where the target was one period ago.
    const POSITIOND old =
        inst.m_lstPositions.empty() ? POSITIOND{x, y} : inst.m_lstPositions.front();
    Aim(old.dX, old.dY);
    inst.m_lstPositions.push_back({x, y});
    if (!inst.m_lstPositions.empty()) inst.m_lstPositions.pop_front();
  }
  if (!bFly) inst.m_dVY = 0;
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, inst.m_nFaceResult, inst, 0);
  ++inst.m_nCount;
  return 0;
}

void AvoidScreenEdge(const CMDCONTEXT& ctx, const cEdMove& /*move*/) {
  const cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const bool bRight = chara.m_nFacing == 1;
  int nCode = inst.m_cDir;
  if (nCode == 0)
    nCode = bRight ? 3 : 2;
  else if (nCode == 1)
    nCode = bRight ? 2 : 3;
  else if (nCode == 4)
    nCode = bRight ? 7 : 6;
  else if (nCode == 5)
    nCode = bRight ? 6 : 7;
  const bool bLeft = nCode == 2 || nCode == 8 || nCode == 9;
  const bool bRightPart = !bLeft && (nCode == 3 || nCode == 10 || nCode == 11);
  const bool bUp = nCode == 6 || nCode == 8 || nCode == 10;
  const bool bDown = !bUp && (nCode == 7 || nCode == 9 || nCode == 11);
  const double s = inst.m_dSpeed;
  inst.m_dVX = inst.m_dVY = 0;
  const cScrollAxis& ax = ctx.m_Scene.m_ScrollX;
  const cScrollAxis& ay = ctx.m_Scene.m_ScrollY;
  if (ax.m_dSpeed == 0 || ax.m_bAtLimit) {
    if (bLeft && chara.m_nScrLeft > 608) inst.m_dVX = -s;
    if (bRightPart && chara.m_nScrRight < 32) inst.m_dVX = s;
    if (bUp && chara.m_nScrTop > 448) inst.m_dVY = -s;
    if (bDown && chara.m_nScrBottom < 32) inst.m_dVY = s;
    return;
  }
  const double c = ax.m_dSpeed, e = ay.m_dSpeed;
  const double cx = ax.m_dPos, cy = ay.m_dPos;
  const double w = ax.m_nMax, h = ay.m_nMax;
  if (bLeft && chara.m_nScrLeft > 608 - std::fabs(c + 1) && cx > 0 && cx + c <= w - 640)
    inst.m_dVX = c - s;
  if (bRightPart && chara.m_nScrRight < std::fabs(c + 1) + 32 && cx + c > 0 && cx < w - 640)
    inst.m_dVX = c + s;
  if (bUp && chara.m_nScrTop > 448 - std::fabs(e + 1) && cy > 0 && cy + e <= h - 480)
    inst.m_dVY = e - s;
  if (bDown && chara.m_nScrBottom < std::fabs(e + 1) + 32 && cy + e > 0 && cy < h - 480)
    inst.m_dVY = e + s;
}

int CmdMoveAvoidEdge(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return 0;
  ClearPins(chara);
  AvoidScreenEdge(ctx, *pMove);
  if (!chara.m_nFlying) inst.m_dVY = 0;
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, inst.m_nFaceResult, inst, 0);
  ++inst.m_nCount;
  return 0;
}
