// A shot's set-up and its update step: its own speeds, acceleration, life
// and range, a sword's frames around its owner, the axis moves and the
// block test.
#include <climits>
#include <cmath>

#include "base/trunc_int.h"
#include "database/database.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/anim_player.h"
#include "stage/block_grid.h"
#include "stage/play_scene.h"
#include "stage/shot_obj.h"
#include "stage/shot_moves.h"

namespace {

// The sword type a definition names (the checked access reports a bad one
// and gives type 0).
const cEdSwordType& SwordTypeOf(const cEdShot& def) {
  return Database.m_vecSwordType.At(static_cast<uint8_t>(def.m_cMoveType));
}

// Steps of a count worked out in doubles: beyond the int32 range it never
// comes (NaN included).
int32_t StepCount(double d) {
  if (!(d < 2147483647.0)) return INT32_MAX;
  return TruncI32(d);
}

}  // namespace

void cShotObj::Init(int32_t nId, cGameObj& shooter, int32_t nKind, const cEdShot& def,
                    const SHOTLAUNCH& launch) {
  const cStageData& stage = g_Stage;
  const double n = stage.m_dSteps;
  m_Def = def;
  if (m_Def.m_cScale < 1) m_Def.m_cScale = 1;
  const int32_t nScale = m_Def.m_cScale;

  int32_t nFacing = shooter.m_nFacing;
  if (launch.dVX > 0)
    nFacing = 1;
  else if (launch.dVX < 0)
    nFacing = 0;

  int32_t w = 16, h = 16;
  const bool bSword = nKind == SHOTKIND_SWORD;
  if (bSword) {
    const cEdSwordType& type = SwordTypeOf(m_Def);
    if (static_cast<int32_t>(type.m_vecFrame.size()) > 0) {
      w = type.m_vecFrame.At(0).m_nWidth;
      h = type.m_vecFrame.At(0).m_nHeight;
    }
  }
  m_nIsShot = bSword ? 0 : 1;

  m_nOwnerId = shooter.m_nId;
  cObjRoot::Init(nId, shooter.m_nControl, shooter.m_nSetupValue, m_Def.m_cFaction,
                 m_Def.m_sGraphic, g_ShotAnimTables, bSword ? 0 : 1, 0, 0, w, h, 16, 16, nFacing,
                 FLIGHT_THROUGH, static_cast<int16_t>(launch.nIndex));
  if (m_Def.m_cFactionFromShooter) {
    m_nGroup = shooter.m_Def.m_cFaction;
    m_Def.m_cFaction = static_cast<int8_t>(m_nGroup);
  }

  if (bSword) {
    m_HitBox.Set(0, 0, w, h);
  } else {
    const bool bPlayers = shooter.m_nControl == 0;
    const int32_t bw = bPlayers ? stage.m_nPlayerShotHitW : stage.m_nOtherShotHitW;
    const int32_t bh = bPlayers ? stage.m_nPlayerShotHitH : stage.m_nOtherShotHitH;
    m_HitBox.Set(8 - (bw >> 1), 8 - (bh >> 1), bw, bh);
  }
  SetScale(nScale, 1);

  m_dX = launch.nX;
  ClampX(2);
  m_dY = launch.nY;
  ClampY(2);

  m_dBaseVX = launch.dVX / n;
  m_dBaseVY = launch.dVY / n;

  if (m_Def.m_cAccelOn) {
    m_nAccelerating = 1;
    m_dAccel = (m_Def.m_sAccel + m_Def.m_sAccelInc * static_cast<double>(launch.nIndex)) * 0.1 / n;
    SplitAccel(*this, launch.dVX, launch.dVY);
  } else {
    m_nAccelerating = 0;
    m_dAccel = 0;
    m_dPushVX = m_dPushVY = 0;
  }

  m_dVX = m_dVY = 0;
  m_nScrollSync = m_Def.m_cScrollSync;

  m_nLifeSteps = 0;
  if (m_Def.m_cLifeOn) m_nLifeSteps = StepCount(launch.nLife * n * 6);

  m_nRangeSteps = 0;
  if (m_Def.m_cRangeOn) {
    double d = launch.nRange * 16.0 - m_nWidth;
    if (d < 0) d = 0;
    const double s = std::fabs(launch.dSpeed / n);
    if (d > 0 && s > 0)
      m_nRangeSteps = StepCount(d / s);
    else if (TruncI32(n * s) > m_nWidth)
      m_nRangeSteps = StepCount(m_nWidth / s);
    else
      m_nRangeSteps = stage.m_nSteps;
    if (m_nRangeSteps < stage.m_nSteps) {
      // The range is shorter than one frame's flight: it is covered in
      // exactly one frame instead.
      const double dSum = std::fabs(launch.dVX) + std::fabs(launch.dVY);
      m_dBaseVX = dSum > 0 ? launch.dVX * (d / n) / dSum : 0;
      m_dBaseVY = dSum > 0 ? launch.dVY * (d / n) / dSum : 0;
      m_nRangeSteps = stage.m_nSteps;
    }
  }

  m_nSubStep = m_nMoveCount = 0;
  m_nTurnStep = m_nEndStep = m_nMoveDone = 0;
  m_dMoveSpeed = 0;
  m_dWavePhase = m_dWaveAxis = m_dWaveAmplitude = m_dWaveWork = 0;
  m_lstHit.clear();
  const uint8_t cSlot = static_cast<uint8_t>(m_Def.m_cTargetSlot2);
  m_pTarget = cSlot < shooter.m_vecTargets.size() ? shooter.m_vecTargets[cSlot] : nullptr;
  m_pShooter = &shooter;
  m_nDead = 0;
  m_nCredit = m_Def.m_cReportHits;
  m_cKey = m_Def.m_cReportSelector;
}

namespace {

// The speeds an update step starts from: the auto scroll for a shot that
// moves with it, else none.
void RestartStepSpeeds(cShotObj& shot, const cPlayScene& scene) {
  if (!g_SystemData.m_bCompat214 && shot.m_nScrollSync == 1) {
    shot.m_dVX = scene.m_ScrollX.MovingSpeed();
    if (shot.m_nFlying) shot.m_dVY = scene.m_ScrollY.MovingSpeed();
  } else {
    shot.m_dVX = 0;
    if (shot.m_nFlying) shot.m_dVY = 0;
  }
}

}  // namespace

int cShotObj::Step(cPlayScene& scene) {
  if (m_nIsShot == 0) return SwordStep(scene);
  RestartStepSpeeds(*this, scene);
  RunMoveKind(*this, scene);
  if (m_nAccelerating) {
    m_dBaseVX += m_dPushVX;
    if (m_nFlying)
      m_dBaseVY += m_dPushVY;
    else
      m_dVY += m_dPushVY;
  }
  m_dVX += m_dBaseVX;
  if (m_nFlying) m_dVY += m_dBaseVY;
  if (m_Def.m_cLifeOn) {
    if (m_nLifeSteps <= 0) return 1;
    --m_nLifeSteps;
  }
  if (m_dVX != 0) m_nFacing = m_dVX >= 0 ? 1 : 0;
  if (m_Def.m_cRangeOn) {
    if (m_nRangeSteps > 0) {
      --m_nRangeSteps;
    } else {
      if (!m_Def.m_cRangeEndStop) return 1;
      // Halted at the end of its range: it moves with the scroll only,
      // until its life ends.
      m_dBaseVX = m_dBaseVY = 0;
      m_Def.m_cMoveType = 0;
      RestartStepSpeeds(*this, scene);
    }
  }
  return 0;
}

int cShotObj::SwordStep(cPlayScene& scene) {
  cGameObj* pOwner = FindObjEntry(m_nOwnerId);
  if (!pOwner) return 1;
  cGameObj& owner = *pOwner;
  m_nFacing = owner.m_nFacing;
  const cEdSwordType& type = SwordTypeOf(m_Def);
  if (m_nMoveCount < 0 || m_nMoveCount >= static_cast<int32_t>(type.m_vecFrame.size())) return 1;
  const cEdSwordFrame& frame = type.m_vecFrame.At(m_nMoveCount);
  const int32_t g = GetScale();
  if (m_nSubStep == 0) {
    m_nBaseWidth = m_nBaseDrawW = frame.m_nWidth;
    m_nBaseHeight = m_nBaseDrawH = frame.m_nHeight;
    m_nWidth = m_nDrawW = frame.m_nWidth * g;
    m_nHeight = m_nDrawH = frame.m_nHeight * g;
    m_HitBox.Set(0, 0, frame.m_nWidth, frame.m_nHeight);
    m_HitBox.Scale(g);
  }

  // Around the owner's drawing rectangle, in stage pixels.
  owner.UpdateScreenRect();
  const int32_t nCamX = TruncI32(scene.m_ScrollX.m_dPos);
  const int32_t nCamY = TruncI32(scene.m_ScrollY.m_dPos);
  const int32_t L = owner.m_nScrLeft + nCamX, R = owner.m_nScrRight + nCamX;
  const int32_t T = owner.m_nScrTop + nCamY, B = owner.m_nScrBottom + nCamY;
  const int32_t cx = L + owner.m_nDrawW / 2, cy = T + owner.m_nDrawH / 2;
  const bool bRight = owner.m_nFacing == 1;
  int32_t x = 0, y = 0;
  switch (frame.m_nPlace) {
    case SWORD_PLACE_BACK:
      m_nFacing = bRight ? 0 : 1;
      x = bRight ? L - m_nWidth : R + 1;
      y = cy - m_nHeight / 2;
      break;
    case SWORD_PLACE_ABOVE:
      x = cx - m_nWidth / 2;
      y = T - m_nHeight;
      break;
    case SWORD_PLACE_BELOW:
      x = cx - m_nWidth / 2;
      y = B + 1;
      break;
    default:  // in front
      x = bRight ? R + 1 : L - m_nWidth;
      y = cy - m_nHeight / 2;
      break;
  }
  int32_t ox = frame.m_nOffsetX * g, oy = frame.m_nOffsetY * g;
  if (bRight && frame.m_bFlipX) ox = -ox;
  if (bRight && frame.m_bFlipY) oy = -oy;
  m_dX = x + ox;
  m_dY = y + oy;
  ClampX(2);
  ClampY(2);

  ++m_nSubStep;
  if (m_nSubStep >= StepCount(frame.m_nTime * g_Stage.m_dSteps * 6)) {
    m_nSubStep = 0;
    if (++m_nMoveCount >= static_cast<int32_t>(type.m_vecFrame.size())) return 1;
  }
  return 0;
}

int cShotObj::MoveX() {
  if (m_dPushVX != 0) m_dVX += m_dPushVX;
  if (m_dVX != 0) AxisMoveX(2);
  return 0;
}

int cShotObj::MoveY() {
  if (m_dPushVY != 0) m_dVY += m_dPushVY;
  // The vertical move ends in the clamp (a second clamp at the same place
  // would change nothing).
  if (m_dVY != 0) AxisMoveY(2);
  return 0;
}

int cShotObj::HitsBlock(cPlayScene& scene) {
  if (m_Def.m_cPassBlocks == 1) return 0;
  const int32_t L = TruncI32(m_dX), T = TruncI32(m_dY);
  const int32_t R = TruncI32(m_dRight), B = TruncI32(m_dBottom);
  auto Solid = [&](int32_t x, int32_t y) {
    return scene.GetCellHitType(g_BlockPalette.CellAt(x, y), m_nGroup) != 0;
  };
  if (m_nWidth > 32) {
    // Every cell under the rectangle, at 32-pixel steps, the last step
    // on the far edge.
    for (int64_t y = T;; y += 32) {
      const int32_t yy = y > B ? B : static_cast<int32_t>(y);
      for (int64_t x = L;; x += 32) {
        const int32_t xx = x > R ? R : static_cast<int32_t>(x);
        if (Solid(xx, yy)) return 1;
        if (xx >= R) break;
      }
      if (yy >= B) break;
    }
    return 0;
  }
  return Solid(L, T) || Solid(R, T) || Solid(L, B) || Solid(R, B) ? 1 : 0;
}
