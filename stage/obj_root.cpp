#include "stage/obj_root.h"

#include <cmath>
#include <cstdint>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/play_scene.h"

namespace {

const cScrollAxis& AxisX() { return g_PlayScene->m_ScrollX; }
const cScrollAxis& AxisY() { return g_PlayScene->m_ScrollY; }

// 32 x a block count as the wrapping 32-bit product the rules were made with.
int32_t Blocks(int32_t n) { return static_cast<int32_t>(32u * static_cast<uint32_t>(n)); }

}  // namespace

cObjRoot::cObjRoot() = default;
cObjRoot::~cObjRoot() = default;

void cObjRoot::CopyFrom(const cObjRoot& src) {
  if (&src != this) *this = src;
}

void cObjRoot::Init(int32_t nId, int32_t nControl, int32_t nSetupValue, int32_t nGroup,
                    int32_t nKindValue, const ANIMESTEP* const* ppTables, int32_t nStartAnim,
                    int32_t nDrawDX, int32_t nDrawDY, int32_t nWidth, int32_t nHeight,
                    int32_t nDrawW, int32_t nDrawH, int32_t nFacing, int32_t nFlightKind,
                    int16_t sSetupWord) {
  m_nId = nId;
  m_nControl = nControl;
  m_nSetupValue = nSetupValue;
  m_nGroup = nGroup;
  m_nKindValue = nKindValue;
  m_nDrawDX = m_nBaseDrawDX = nDrawDX;
  m_nDrawDY = m_nBaseDrawDY = nDrawDY;
  m_nWidth = m_nBaseWidth = nWidth;
  m_nHeight = m_nBaseHeight = nHeight;
  m_nDrawW = m_nBaseDrawW = nDrawW;
  m_nDrawH = m_nBaseDrawH = nDrawH;
  m_nFacing = nFacing;
  m_sSetupWord = sSetupWord;
  m_nLife = INT32_MAX;
  m_dVX = m_dVY = m_dPushVX = m_dPushVY = 0;
  m_nActive = 0;
  m_nOnScreen = 0;
  m_cCondLatch = 0;
  if (ppTables) {
    m_Anim.SetTables(ppTables);
    m_Anim.Set(nStartAnim, 1);
  }
  SetFlightKind(nFlightKind);
}

void cObjRoot::UpdateScreenRect() {
  const cScrollAxis& sx = AxisX();
  const cScrollAxis& sy = AxisY();
  const int32_t nWalkLeft = TruncI32((m_dX - m_nDrawDX) - TruncI32(sx.m_dPos));
  const int32_t nWalkTop = TruncI32((m_dY - m_nDrawDY) - TruncI32(sy.m_dPos));
  if (!m_nFlying) {
    m_nScrLeft = nWalkLeft;
    m_nScrTop = nWalkTop;
  } else {
    if (sx.IsScrolling())
      m_nScrLeft = m_nScrollSync ? TruncI32(m_dX - sx.m_dPos) - m_nDrawDX : nWalkLeft;
    else
      m_nScrLeft = TruncI32(m_dX) - TruncI32(sx.m_dPos) - m_nDrawDX;
    // A flyer on a vertically scrolling stage is drawn one pixel lower.
    if (sy.IsScrolling())
      m_nScrTop = TruncI32(m_dY - sy.m_dPos) - m_nDrawDY + 1;
    else
      m_nScrTop = TruncI32(m_dY) - TruncI32(sy.m_dPos) - m_nDrawDY;
  }
  m_nScrRight = m_nScrLeft + m_nDrawW - 1;
  m_nScrBottom = m_nScrTop + m_nDrawH - 1;
}

int cObjRoot::IsOnScreenAxes(int bIgnoreX, int bIgnoreY) const {
  const double dCamX = AxisX().m_dPos;
  const double dCamY = AxisY().m_dPos;
  if (!bIgnoreX && !(m_dRight >= dCamX && dCamX + 640 > m_dX)) return 0;
  if (!bIgnoreY && !(m_dBottom >= dCamY && dCamY + 480 > m_dY)) return 0;
  return 1;
}

int cObjRoot::IsOnScreen() const { return IsOnScreenAxes(0, 0); }

int cObjRoot::IsInsideStage(int nMode) const {
  const cScrollAxis& sx = AxisX();
  const cScrollAxis& sy = AxisY();
  if (nMode == 1)
    return m_dX >= 0 && m_dRight < sx.m_nOuterLimit && m_dY >= 0 && m_dBottom < sy.m_nOuterLimit;
  return m_dX >= sx.m_nBase && m_dRight < sx.m_nStageLimit && m_dY >= sy.m_nBase &&
         m_dBottom < sy.m_nStageLimit;
}

int cObjRoot::IsOutOfRange(int nRule) const {
  if (m_nOnScreen) return 0;
  if (nRule < 0 || nRule >= STAGE_RULE_COUNT) return 0;
  const cStageParam8& rule = g_Stage.m_aRules[nRule];
  const cScrollAxis& sx = AxisX();
  const cScrollAxis& sy = AxisY();
  const double dCamX = sx.m_dPos;
  const double dCamY = sy.m_dPos;
  if (rule.m_bLeft && TruncI32(dCamX - Blocks(rule.m_nLeftMargin)) >= m_dRight) return 1;
  if (rule.m_bRight && TruncI32(dCamX + Blocks(rule.m_nRightMargin) + 640) <= m_dX) return 1;
  if (rule.m_bBottom && TruncI32(dCamY + Blocks(rule.m_nBottomMargin) + 480) <= m_dY) return 1;
  if (rule.m_bTop && TruncI32(dCamY - Blocks(rule.m_nTopMargin)) >= m_dBottom) return 1;
  if (m_dX <= 0 || m_dRight >= static_cast<double>(sx.m_nOuterLimit) - 1) return 1;
  if (m_dY <= 0 || m_dBottom >= static_cast<double>(sy.m_nOuterLimit) - 1) return 1;
  return 0;
}

void cObjRoot::UpdateEdgeCols() {
  m_nColL = TruncI32(m_dX) >> 5;
  m_nColR = TruncI32(m_dRight) >> 5;
}

void cObjRoot::UpdateEdgeRows() {
  m_nRowT = TruncI32(m_dY) >> 5;
  m_nRowB = TruncI32(m_dBottom) >> 5;
}

int cObjRoot::ClampX(int nMode) {
  const cScrollAxis& a = AxisX();
  const int32_t w = m_nWidth;
  int nResult = 0;
  auto OutsideView = [&] { return a.m_nMin > m_dX || m_dX + w - 1 >= a.m_nMax; };
  if (nMode == 0) {
    if (a.m_nMin > m_dX)
      m_dX = a.m_nMin;
    else if (m_dX + w - 1 >= a.m_nMax)
      m_dX = static_cast<double>(a.m_nMax) - w;
  } else if (nMode == 1) {
    if (a.m_nBase > m_dX)
      m_dX = a.m_nBase;
    else if (m_dX + w - 1 >= a.m_nStageLimit)
      m_dX = static_cast<double>(a.m_nStageLimit) - w;
    else
      nResult = OutsideView() ? 1 : 0;
  } else {
    if (m_dX < 0) {
      m_dX = 0;
      nResult = 3;
    } else if (m_dX + w - 1 >= a.m_nOuterLimit) {
      m_dX = static_cast<double>(a.m_nOuterLimit) - w;
      nResult = 3;
    } else if (m_dX < a.m_nBase || m_dX + w - 1 >= a.m_nStageLimit) {
      nResult = 2;
    } else {
      nResult = OutsideView() ? 1 : 0;
    }
  }
  m_dRight = m_dX + w - 1;
  UpdateHitRectX();
  UpdateEdgeCols();
  return nResult;
}

int cObjRoot::ClampY(int nMode) {
  const cScrollAxis& a = AxisY();
  const int32_t h = m_nHeight;
  int nResult = 0;
  auto ViewResult = [&] {
    if (a.m_nMin > m_dY) return 1;
    if (m_dY + h - 1 >= a.m_nMax) return 4;
    return 0;
  };
  if (nMode == 0) {
    if (a.m_nMin > m_dY)
      m_dY = a.m_nMin;
    else if (m_dY + h - 1 >= a.m_nMax)
      m_dY = static_cast<double>(a.m_nMax) - h;
  } else if (nMode == 1) {
    if (a.m_nBase > m_dY)
      m_dY = a.m_nBase;
    else if (m_dY + h - 1 >= a.m_nStageLimit)
      m_dY = static_cast<double>(a.m_nStageLimit) - h;
    else
      nResult = ViewResult();
  } else {
    if (m_dY < 0) {
      m_dY = 0;
      nResult = 3;
    } else if (m_dY + h - 1 >= a.m_nOuterLimit) {
      m_dY = static_cast<double>(a.m_nOuterLimit) - h;
      nResult = 6;
    } else if (m_dY < a.m_nBase) {
      nResult = 2;
    } else if (m_dY + h - 1 >= a.m_nStageLimit) {
      // The bottom edge, as on the x axis: a walker falls out of the stage
      // as soon as its feet pass the active area.
      nResult = 5;
    } else {
      nResult = ViewResult();
    }
  }
  m_dBottom = m_dY + h - 1;
  UpdateHitRectY();
  UpdateEdgeRows();
  return nResult;
}

void cObjRoot::KeepCentreX(int32_t nNew, int32_t nOld) {
  m_dX -= static_cast<double>((nNew - nOld) * (m_nBaseWidth / 2));
  ClampX(2);
}

void cObjRoot::SetFlightKind(int32_t nKind) {
  switch (nKind) {
    case FLIGHT_OFF:
      m_nFlying = 0;
      m_cBlockMode = 1;
      break;
    case FLIGHT_THROUGH:
      m_nFlying = 1;
      m_cBlockMode = 0;
      break;
    case FLIGHT_STOPPED:
      m_nFlying = 1;
      m_cBlockMode = 1;
      break;
    case FLIGHT_DEADLY:
      m_nFlying = 1;
      m_cBlockMode = 2;
      break;
    default:
      break;
  }
}

void cObjRoot::SetScale(int32_t nNew, int32_t nOld) {
  m_nWidth = nNew * m_nBaseWidth;
  m_nHeight = nNew * m_nBaseHeight;
  m_nDrawDX = nNew * m_nBaseDrawDX;
  m_nDrawDY = nNew * m_nBaseDrawDY;
  m_nDrawW = nNew * m_nBaseDrawW;
  m_nDrawH = nNew * m_nBaseDrawH;
  // The position moves only when the size does; the boxes are made from
  // the scale every time (a block character's from its whole rectangle).
  if (nNew != nOld) {
    KeepCentreX(nNew, nOld);
    OnSizeChange(nNew, nOld);
  }
  ScaleHitBoxes(nNew);
}

int cObjRoot::AxisMoveX(int nClampMode) {
  const double dLimit = g_Stage.m_dStepSpeedLimit;
  if (m_dVX > dLimit)
    m_dVX = dLimit;
  else if (m_dVX < -dLimit)
    m_dVX = -dLimit;
  m_dX += m_dVX;
  return ClampX(nClampMode);
}

int cObjRoot::AxisMoveY(int nClampMode) {
  const double dLimit = g_Stage.m_dStepSpeedLimit;
  if (m_dVY > dLimit)
    m_dVY = dLimit;
  else if (m_dVY < -dLimit)
    m_dVY = -dLimit;
  m_dY += m_dVY;
  return ClampY(nClampMode);
}

void cObjRoot::DecaySpeed(double& dSpeed, int bEnabled) const {
  if (!bEnabled) return;
  if (dSpeed > 0) {
    dSpeed -= m_dDecay;
    if (dSpeed < 0) dSpeed = 0;
  } else if (dSpeed < 0) {
    dSpeed += m_dDecay;
    if (dSpeed > 0) dSpeed = 0;
  }
}

void cObjRoot::AddGravity() {
  if (!m_nFlying) m_dVY += g_Stage.m_dStepGravity;
}

double ToStepSpeed(double dPerSecond) { return dPerSecond / g_Stage.m_dSteps / 60; }

void CalcLaunchSpeed(double dx, double dy, int8_t cDistance, double& dVX, double& dVY) {
  if (cDistance == 0) return;
  const double dSum = std::fabs(dx) + std::fabs(dy);
  if (dSum == 0) {
    dVX = dVY = 0;
    return;
  }
  const double n = g_Stage.m_dSteps;
  auto Speed = [n](double a) {
    if (a > 0) return (std::sqrt(n * a * 128 + 1) - 1) / (2 * n);
    if (a < 0) return -((std::sqrt(1 - n * a * 128) - 1) / (2 * n));
    return 0.0;
  };
  dVX = Speed(cDistance * dx / dSum);
  dVY = Speed(cDistance * dy / dSum);
}

namespace {

// Advances the phase and gives the one it had.
double AdvancePhase(double& dPhase, double dStep) {
  const double dOld = dPhase;
  const double dTurn = g_Stage.m_dSteps * 360;
  dPhase += dStep;
  if (dPhase >= dTurn) dPhase -= dTurn;
  return dOld;
}

}  // namespace

double CalcWaveSpeed(double dAmplitude, double dPeriod, double& dPhase, double dStep,
                     double dOffset) {
  const double n = g_Stage.m_dSteps;
  const double dOld = AdvancePhase(dPhase, dStep);
  const double k = dPeriod * M_PI / 180;
  return k * std::cos(k * (dOld / n + dOffset)) * dAmplitude / n;
}

double CalcWaveSpeedY(double dAmplitude, double dPeriod, double& dPhase, double dStep,
                      double dOffset) {
  const double n = g_Stage.m_dSteps;
  const double dOld = AdvancePhase(dPhase, dStep);
  const double k = dPeriod * M_PI / 180;
  return -(k * std::sin(k * (dOld / n + dOffset)) * (k / n) * dAmplitude) / n;
}

void CalcFacingSpan(int32_t nPos, int32_t nWidth, int32_t nLeftExt, int32_t nRightExt, int bBody,
                    int32_t& nLeft, int32_t& nRight) {
  const int32_t nHalf = nWidth / 2;
  nLeft = nRight = nPos + nHalf;
  if (nLeftExt != 0) nLeft -= nHalf;
  if (nRightExt != 0) nRight += nHalf;
  if (bBody && nLeftExt == 0 && nRightExt == 0) {
    nLeft -= nHalf;
    nRight += nHalf;
  }
  nLeft -= nLeftExt;
  nRight += nRightExt;
}

int IsSpanInRange(int32_t nPos, int32_t nWidth, int32_t nOtherStart, int32_t nOtherEnd,
                  int32_t nOtherOffset, int32_t nLeftExt, int32_t nRightExt, int bBody,
                  int bVertical, const cObjRoot& other) {
  int32_t nLeft = 0, nRight = 0;
  CalcFacingSpan(nPos, nWidth, nLeftExt, nRightExt, bBody, nLeft, nRight);
  int32_t nEnd = nOtherEnd - nOtherOffset;
  if (bVertical && !g_SystemData.m_bCompat733 &&
      TruncI32(other.m_dBottom - other.m_dY) + nOtherOffset + 1 >= other.m_nDrawH)
    nEnd = nOtherEnd;
  return nLeft <= nEnd && nOtherStart + nOtherOffset <= nRight;
}
