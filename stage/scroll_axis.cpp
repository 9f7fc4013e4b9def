#include "stage/scroll_axis.h"

#include "files/stage_data.h"
#include "stage/block_grid.h"

namespace {

constexpr int32_t kMarginCells = 10;
constexpr int32_t kCell = 32;

}  // namespace

void cScrollAxis::SetUp(int nAxis, int32_t nCells, int32_t nExtent) {
  m_dPos = 0;
  m_bAtLimit = 0;
  m_nAxis = nAxis;
  m_nView = nAxis == 0 ? 640 : 480;
  m_nBase = kMarginCells * kCell;
  // Unsigned and 64-bit arithmetic: sizes come from files.
  const int64_t nLimit = (static_cast<int64_t>(nCells) + kMarginCells) * kCell;
  m_nStageLimit = nLimit < 0 ? 0 : (nLimit > INT32_MAX ? INT32_MAX : static_cast<int32_t>(nLimit));
  m_nMarginCells = kMarginCells;
  m_nOuterLimit = static_cast<int32_t>(static_cast<uint32_t>(nExtent) + 640u);
  m_nCells = static_cast<int32_t>(static_cast<uint32_t>(nCells) + 20u);
  if (nAxis == 0) {
    m_nShift = GridShift(nCells);
    m_nPitch = 1 << m_nShift;
  } else {
    m_nShift = 0;
    m_nPitch = m_nCells;
  }
  m_dSpeed = 0;
  m_bAuto = 0;
}

void cScrollAxis::SetUpAxes(cScrollAxis& x, cScrollAxis& y, const cStageData& stage) {
  x.SetUp(0, stage.m_nWidth, stage.m_nExtentX);
  y.SetUp(1, stage.m_nHeight, stage.m_nExtentY);
  x.SetAutoScroll(stage.m_nScrollKindX == 1, stage.m_nAutoSpeedX, stage.m_dSteps);
  y.SetAutoScroll(stage.m_nScrollKindY == 1, stage.m_nAutoSpeedY, stage.m_dSteps);
  x.SetRange(stage.m_nLimitLeft, stage.m_nLimitRight, stage.m_bLimitLeft, stage.m_bLimitRight);
  y.SetRange(stage.m_nLimitTop, stage.m_nLimitBottom, stage.m_bLimitTop, stage.m_bLimitBottom);
}

void cScrollAxis::ClampPosition() {
  if (m_dPos < m_nMin) {
    m_dPos = m_nMin;
    m_bAtLimit = 1;
  } else if (m_dPos + m_nView >= m_nMax) {
    m_dPos = static_cast<double>(m_nMax) - m_nView;
    if (m_dPos < m_nMin) m_dPos = m_nMin;
    m_bAtLimit = 1;
  } else {
    m_bAtLimit = 0;
  }
}

void cScrollAxis::Step() {
  m_dPos += m_dSpeed;
  ClampPosition();
}

int cScrollAxis::SetAutoScroll(int bOn, int32_t nTenths, double dStepsPerFrame) {
  if (bOn) {
    // Set-up never has fewer than one step per frame; a speed with none
    // would have nothing to spread over.
    m_dSpeed = dStepsPerFrame >= 1.0 ? nTenths * 0.1 / dStepsPerFrame : 0.0;
    m_bAuto = 1;
  } else {
    m_dSpeed = 0;
    m_bAuto = 0;
  }
  return 0;
}

void cScrollAxis::SetRange(int32_t nStartCell, int32_t nEndCell, int bStartOn, int bEndOn) {
  // 64-bit, then held in int32: cells come from files.
  auto Clamp32 = [](int64_t v) {
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
  };
  m_nMin = bStartOn ? Clamp32(m_nBase + static_cast<int64_t>(nStartCell) * kCell) : m_nBase;
  if (bEndOn) {
    m_nMax = Clamp32(m_nBase + static_cast<int64_t>(nEndCell) * kCell + kCell);
    if (m_nMax < m_nMin) m_nMax = m_nMin;
  } else {
    m_nMax = m_nStageLimit;
  }
}

void cScrollAxis::Follow(double dNearEdge, int32_t nSize) {
  if (m_bAuto) return;
  m_dPos = dNearEdge - ((m_nView >> 1) - (nSize >> 1));
  if (m_dPos < m_nMin)
    m_dPos = m_nMin;
  else if (m_dPos + m_nView >= m_nMax)
    m_dPos = static_cast<double>(m_nMax) - m_nView;
}
