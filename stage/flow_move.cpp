// The movement commands: straight moves by direction, angle or toward a
// point, the walker that turns at ledges, cancelling movement, turning and
// jumping, with what they share (resolving a direction, the velocity a
// direction or target gives, and how a velocity is applied).
#include <cmath>

#include "base/trunc_int.h"
#include "base/window_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "records/record.h"
#include "stage/block_grid.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/command_param.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

constexpr int32_t kGridMargin = 10;
const double kDiagonal = 1.0 / std::sqrt(2.0);

int32_t Param(const cFlowCmd* pCmd, int i) {
  return pCmd ? CmdParam(*pCmd, i) : 0;
}

const cEdMove* MovePart(const cCmdState& inst) {
  return inst.m_pCmd ? inst.m_pCmd->m_pMove.get() : nullptr;
}

bool HasFixedFacing(const cGameObj& chara) { return chara.m_Def.m_cFixedDir != 0; }
bool StartsFacingRight(const cGameObj& chara) { return chara.m_Def.m_cMoveMirror == 1; }

// Facing results: 1 turns left, 2 right, 0 keeps.
void SetFaceResult(const cGameObj& chara, cCmdState& inst, int32_t nResult) {
  if (!HasFixedFacing(chara)) inst.m_nFaceResult = nResult;
}

int32_t FaceResultOf(int nCode) {
  switch (nCode) {
    case 2:
    case 8:
    case 9:
      return 1;
    case 3:
    case 10:
    case 11:
      return 2;
    default:
      return 0;
  }
}

void ClearPins(cGameObj& chara) { chara.m_nPinX = chara.m_nPinY = 0; }

}  // namespace

int InputToDirection(int nChannel, int bPlain, int nFacing) {
  static constexpr int kCodes[10] = {0, 2, 3, 6, 7, 8, 9, 10, 11, 0};
  const int nForward = nFacing == 1 ? 3 : 2;
  if (nChannel == 0) return nForward;
  if (nChannel == 9) {
    const bool bReplay = g_PlayScene && g_PlayScene->IsReplay();
    const int32_t nVersion = nFileVersion.load();
    if (bReplay && (nVersion == 778 || nVersion == 779)) return nForward;
    if (!bPlain && !(bReplay && nVersion <= 777)) return nForward;
    return 0;
  }
  if (nChannel < 0 || nChannel > 9) return 0;
  return kCodes[nChannel];
}

int ResolveMoveDirection(cGameObj& chara, const cFlowState* pRun, int nCode, int bCurrentInput,
                         int bPlain, int bDiagonals) {
  const bool bRight = chara.m_nFacing == 1;
  switch (nCode) {
    case 0:
      return bRight ? 3 : 2;
    case 1:
      return bRight ? 2 : 3;
    case 4:
      return bRight ? 7 : 6;
    case 5:
      return bRight ? 6 : 7;
    case 12: {
      int nChannel = 0;
      if (bCurrentInput)
        nChannel = GetInputDirection(g_Input.At(0));
      else if (pRun)
        nChannel = pRun->m_nInputDir;
      int nResult = InputToDirection(nChannel, bPlain, chara.m_nFacing);
      if (!bDiagonals) {
        if (nResult == 8 || nResult == 9) nResult = 2;
        if (nResult == 10 || nResult == 11) nResult = 3;
      }
      return nResult;
    }
    default:
      return nCode;
  }
}

void SetDirVelocity(const CMDCONTEXT& ctx, double v, int nCode) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  inst.m_dVX = inst.m_dVY = 0;
  const bool bFly = chara.m_nFlying != 0;
  nCode = ResolveMoveDirection(chara, ctx.m_pRun, nCode, 0, 1, chara.m_nFlying);
  if (nCode < 2 || nCode > 11) return;
  const double d = v * kDiagonal;
  switch (nCode) {
    case 2:
      inst.m_dVX = -v;
      break;
    case 3:
      inst.m_dVX = v;
      break;
    case 6:
      if (bFly) inst.m_dVY = -v;
      break;
    case 7:
      if (bFly) inst.m_dVY = v;
      break;
    case 8:
      inst.m_dVX = -d;
      if (bFly) inst.m_dVY = -d;
      break;
    case 9:
      inst.m_dVX = -d;
      if (bFly) inst.m_dVY = d;
      break;
    case 10:
      inst.m_dVX = d;
      if (bFly) inst.m_dVY = -d;
      break;
    case 11:
      inst.m_dVX = d;
      if (bFly) inst.m_dVY = d;
      break;
    default:
      return;  // codes 4 and 5 do not survive the resolution
  }
  SetFaceResult(chara, inst, FaceResultOf(nCode));
}

void SetAngleVelocity(const CMDCONTEXT& ctx, double v, int nCode, int32_t nAngle) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  nCode = ResolveMoveDirection(chara, ctx.m_pRun, nCode, 0, 1, chara.m_nFlying);
  int32_t nBase = 0;
  switch (nCode) {
    case 2:
      nBase = 0;
      break;
    case 3:
      nBase = 180;
      break;
    case 6:
      nBase = 90;
      break;
    case 7:
      nBase = 270;
      break;
    case 8:
      nBase = 45;
      break;
    case 9:
      nBase = 315;
      break;
    case 10:
      nBase = 135;
      break;
    case 11:
      nBase = 225;
      break;
    default:
      nBase = 0;
      break;
  }
  if (nCode == 2 || nCode == 3 || (nCode >= 6 && nCode <= 11))
    SetFaceResult(chara, inst, FaceResultOf(nCode));
  const double dTheta = (nBase + static_cast<int16_t>(nAngle)) * (M_PI / 180.0);
  inst.m_dVX = -v * std::cos(dTheta);
  inst.m_dVY = chara.m_nFlying ? -v * std::sin(dTheta) : 0.0;
}

void AimAtTarget(const CMDCONTEXT& ctx, double v, int32_t dx, int32_t dy) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return;
  const cPlayScene& scene = ctx.m_Scene;
  const double dCamX = scene.m_ScrollX.m_dPos, dCamY = scene.m_ScrollY.m_dPos;
  const double cx = chara.m_nScrLeft + (chara.m_nDrawW >> 1) + dCamX;
  const double cy = chara.m_nScrTop + (chara.m_nDrawH >> 1) + dCamY;
  double lx = 0, ly = 0;
  switch (pMove->m_cCoordKind) {
    case 0:
      lx = chara.m_dHomeX + dx - cx;
      ly = chara.m_dHomeY + dy - cy;
      break;
    case 1:
      lx = dx;
      ly = dy;
      break;
    case 2:
      lx = kGridMargin * 32.0 + dx + 16 - cx;
      ly = kGridMargin * 32.0 + dy + 16 - cy;
      break;
    case 3:
      lx = dCamX + dx + 16 - cx;
      ly = dCamY + dy + 16 - cy;
      break;
    default:
      break;  // no target point: no movement
  }
  if (!pMove->m_cUseX) lx = 0;
  if (!pMove->m_cUseY) ly = 0;
  const double d = std::sqrt(lx * lx + ly * ly);
  if (d != 0) {
    inst.m_dVX = pMove->m_cFreezeX ? 0 : lx / d * v;
    inst.m_dVY = pMove->m_cFreezeY ? 0 : ly / d * v;
  } else {
    inst.m_dVX = inst.m_dVY = 0;
  }
  if (!HasFixedFacing(chara))
    inst.m_nFaceResult = inst.m_dVX < -0.00000001 ? 1 : inst.m_dVX > 0.00000001 ? 2 : 0;
  if (pMove->m_cTimeFromDist && v != 0) {
    inst.m_nRemain = TruncI32(std::fabs(d) / std::fabs(v));
    if (pMove->m_cStopAtTarget && inst.m_nRemain < 1) {
      if (pMove->m_cUseX && !pMove->m_cFreezeX) {
        inst.m_dVX = 0;
        inst.m_nFaceResult = 0;
      }
      if (pMove->m_cUseY && !pMove->m_cFreezeY) inst.m_dVY = 0;
    }
  }
}

void ApplyMoveVelocity(cGameObj& chara, double vx, double vy, int32_t nFaceResult, cCmdState& inst,
                       int bForce) {
  const cEdMove* pMove = MovePart(inst);
  const bool bKeep = pMove && pMove->m_cKeepFacing;
  if ((!HasFixedFacing(chara) || bForce) && !bKeep) {
    if (nFaceResult == 1) chara.m_nFacing = 0;
    if (nFaceResult == 2) chara.m_nFacing = 1;
  }
  if (pMove && pMove->m_cInertia) {
    const double n = g_Stage.m_dSteps;
    auto Push = [&](double v, double& dPush, int32_t& nDecay) {
      double a = v / n / 60;
      if ((dPush < 0 && a > 0) || (dPush > 0 && a < 0))
        a *= pMove->m_dReversal;
      else
        nDecay = 0;
      dPush += a;
      if (dPush > inst.m_dSpeedCap) dPush = inst.m_dSpeedCap;
      if (dPush < -inst.m_dSpeedCap) dPush = -inst.m_dSpeedCap;
    };
    Push(vx, chara.m_dPushVX, chara.m_nDecayX);
    Push(vy, chara.m_dPushVY, chara.m_nDecayY);
  } else {
    chara.m_dVX += vx;
    chara.m_dVY += vy;
  }
  if (!pMove || !pMove->m_cOwnAnime) {
    chara.m_nMovedByCmd = 1;
    chara.m_Anim.Change(chara.m_nFlying ? 3 : 1, 1);
  }
}

void ComputeCmdAngle(cGameObj& chara, cCmdState& inst) {
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return;
  int32_t a = pMove->m_sAngle + pMove->m_sAngleInc * chara.m_sSetupWord;
  if (pMove->m_cMirrorAngle && StartsFacingRight(chara)) a = 360 - a;
  if (a >= 360) a %= 360;
  inst.m_nAngle = a;
}

void ComputeTargetOffset(cGameObj& chara, cCmdState& inst) {
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return;
  inst.m_nDX = pMove->m_sTargetXDot + pMove->m_sTargetXBl * 32;
  inst.m_nDY = pMove->m_sTargetYDot + pMove->m_sTargetYBl * 32;
  if (StartsFacingRight(chara)) {
    if (pMove->m_cMirrorX) inst.m_nDX = -inst.m_nDX;
    if (pMove->m_cMirrorY) inst.m_nDY = -inst.m_nDY;
  }
}

void TurnAroundStep(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  inst.m_dVY = 0;
  inst.m_nFaceResult = 0;
  inst.m_dVX = chara.FacingSign() * inst.m_dSpeed;
  if (chara.m_nPushedAside) {
    const bool bRight = chara.m_nFacing == 1;
    inst.m_nFaceResult = bRight ? 1 : 2;
    inst.m_dVX = -inst.m_dVX;
    for (const cCharaObj& c : g_CharaList) {
      if (c.m_nId != chara.m_nRideId) continue;
      const double d = c.m_dX - chara.m_RideSnap.dX;
      if ((bRight && d < 0) || (!bRight && d > 0))
        inst.m_dVX += 2 * d;
      else
        inst.m_dVX += d;
      break;
    }
    chara.m_nPushedAside = 0;
    return;
  }
  cPlayScene& scene = ctx.m_Scene;
  const int32_t nRows = g_BlockPalette.Rows();
  int32_t nRow = TruncI32(chara.m_dBottom + 1.1) >> 5;
  if (nRow >= nRows) nRow = nRows - 1;
  if (nRow < 0) nRow = 0;
  auto Ground = [&](int32_t nCol) {
    const int64_t nCell =
        static_cast<int64_t>(nCol) + (static_cast<int64_t>(nRow) << g_BlockPalette.Shift());
    if (nCol < 0 || nCell < 0 || nCell >= g_BlockPalette.Size()) return false;
    return scene.GetCellHitType(static_cast<int32_t>(nCell), chara.m_nGroup) != 0;
  };
  const bool bLeft = Ground(chara.m_nColL), bRight = Ground(chara.m_nColR);
  if (bLeft && !bRight) inst.m_nFaceResult = 1;
  if (bRight && !bLeft) inst.m_nFaceResult = 2;
}

void ComputeMoveTiming(cCmdState& inst, const cFlowCmd& cmd, int16_t sClone) {
  const cEdMove* pMove = cmd.m_pMove.get();
  if (!pMove) return;
  double d = pMove->m_sDistance + static_cast<double>(pMove->m_sDistanceInc) * sClone;
  if (pMove->m_cDistUnit != 1) d *= 16;
  if (pMove->m_cTimingMode == 1) {
    // A command of no time still takes one step.
    inst.m_dSpeed = d / (inst.m_nDuration > 0 ? inst.m_nDuration : 1);
  } else if (pMove->m_cTimingMode == 2) {
    // No speed: the time stays and nothing moves.
    if (inst.m_dSpeed == 0) return;
    int32_t n = TruncI32(d / inst.m_dSpeed);
    if (!g_SystemData.m_bCompat695 && n < 0) n = n == INT32_MIN ? INT32_MAX : -n;
    inst.m_nDuration = n;
  }
}

void InitMoveCmdTiming(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  const cEdMove* pMove = MovePart(inst);
  if (pMove && pMove->m_cTimingMode != 0) ComputeMoveTiming(inst, *inst.m_pCmd, chara.m_sSetupWord);
}

int32_t JumpTimeFromHeight(const cGameObj& chara, int32_t nHeight) {
  const int32_t n = g_Stage.m_nSteps > 0 ? g_Stage.m_nSteps : 1;
  int32_t nSteps = chara.StepsToApex(chara.JumpSpeedFromHbl(static_cast<int8_t>(nHeight & 0xff)));
  // Without gravity there is no top: the jump takes its least time.
  if (nSteps < 0) nSteps = 0;
  return nSteps / n / 6 + 1;
}

void InitJumpCmd(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  if (!inst.m_pCmd) return;
  const int32_t nHeight = Param(inst.m_pCmd, 2);
  inst.m_dSpeed = chara.JumpSpeedFromHbl(static_cast<int8_t>(nHeight & 0xff));
  // The command keeps the time its height needs.
  inst.m_pCmd->m_sTime = static_cast<int16_t>(JumpTimeFromHeight(chara, nHeight));
  inst.m_nDuration = inst.m_pCmd->m_sTime * g_Stage.m_nSteps * 6;
}

int CmdMoveStraight(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  ClearPins(chara);
  const cEdMove* pMove = MovePart(inst);
  if (!pMove) return 0;
  const bool bFly = chara.m_nFlying != 0;
  if (!inst.m_nStarted) {
    inst.m_nStarted = 1;
    ComputeCmdAngle(chara, inst);
    if (pMove->m_cMode == 1) ComputeTargetOffset(chara, inst);
    if (pMove->m_cMode == 0) {
      if (inst.m_nAngle != 0)
        SetAngleVelocity(ctx, inst.m_dSpeed, inst.m_cDir, inst.m_nAngle);
      else
        SetDirVelocity(ctx, inst.m_dSpeed, inst.m_cDir);
    } else if (pMove->m_cMode == 1) {
      AimAtTarget(ctx, inst.m_dSpeed, inst.m_nDX, inst.m_nDY);
    }
    if (!bFly) inst.m_dVY = 0;
  } else {
    if (!bFly) inst.m_dVY = 0;
    if (pMove->m_cReverseWithFacing && HasFixedFacing(chara) &&
        chara.m_nFacing != inst.m_nPrevFacing &&
        (g_SystemData.m_bCompat783 || pMove->m_cMode == 0)) {
      inst.m_dVX = -inst.m_dVX;
      inst.m_dVY = -inst.m_dVY;
    }
  }
  if (!g_SystemData.m_bCompat773) {
    if (pMove->m_cFreezeX) inst.m_dVX = 0;
    if (pMove->m_cFreezeY) inst.m_dVY = 0;
  }
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, inst.m_nFaceResult, inst, 0);
  inst.m_nPrevFacing = chara.m_nFacing;
  return 0;
}

int CmdMoveTurnAround(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  if (chara.m_nFlying) return 0;
  ClearPins(chara);
  if (chara.m_dKnockX != 0 || chara.m_dKnockY != 0) {
    inst.m_dVX = chara.FacingSign() * inst.m_dSpeed;
    inst.m_dVY = 0;
    inst.m_nFaceResult = 0;
  } else {
    TurnAroundStep(ctx);
  }
  ApplyMoveVelocity(chara, inst.m_dVX, inst.m_dVY, inst.m_nFaceResult, inst, 1);
  return 0;
}

int CmdMoveCancel(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  ClearPins(chara);
  chara.m_dVX = chara.m_dVY = 0;
  chara.m_dPushVX = chara.m_dPushVY = 0;
  chara.m_dKnockX = chara.m_dKnockY = 0;
  chara.m_nHeld = 1;
  return 0;
}

int CmdTurn(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  if (!HasFixedFacing(chara)) return 0;
  if (inst.m_nCount == 0) {
    const int32_t nChoice = Param(inst.m_pCmd, 0);
    if (nChoice >= 2 && nChoice <= 9) {
      const size_t nSlot = static_cast<size_t>((nChoice - 2) / 2);
      cGameObj* pTarget = nSlot < chara.m_vecTargets.size() ? chara.m_vecTargets[nSlot] : nullptr;
      if (!pTarget) return 0;
      const int32_t nTheirs = TruncI32(pTarget->m_dX) + (pTarget->m_nWidth >> 1);
      const int32_t nMine = TruncI32(chara.m_dX) + (chara.m_nWidth >> 1);
      PlayDatabaseSE(inst.m_pCmd ? inst.m_pCmd->m_sSound : 0);
      const bool bToward = nChoice % 2 == 0;
      const int32_t nRight = nTheirs > nMine ? 1 : 0;
      chara.m_nFacing = bToward ? nRight : 1 - nRight;
    } else {
      PlayDatabaseSE(inst.m_pCmd ? inst.m_pCmd->m_sSound : 0);
      if (nChoice == 0) chara.m_nFacing = 0;
      if (nChoice == 1) chara.m_nFacing = 1;
      if ((nChoice == 10 || nChoice == 11) && (chara.m_nWallSide == 0 || chara.m_nWallSide == 1))
        chara.m_nFacing = nChoice == 10 ? chara.m_nWallSide : 1 - chara.m_nWallSide;
    }
  }
  if (++inst.m_nCount >= 6 * g_Stage.m_nSteps) inst.m_nCount = 0;
  return 0;
}

int CmdJump(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  cCmdState& inst = *ctx.m_pInst;
  ClearPins(chara);
  chara.Jump(inst, ctx.m_pRun);
  ++inst.m_nCount;
  return 0;
}
