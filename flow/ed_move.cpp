#include "flow/ed_move.h"

cEdMove::cEdMove() {
  Clear();
  SetDefaults();
}

void cEdMove::SetDefaults() {
  m_cMirrorAngle = 1;
  m_cUseX = 1;
  m_cUseY = 1;
  m_cTimeFromDist = 1;
  m_cMirrorX = 1;
  m_cMirrorY = 0;
  m_cReverseWithFacing = 1;
  m_sSpeed = 10;
  m_dReversal = 1.0;
  m_cTargetSlot = 0;
}

void cEdMove::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddByte(&m_cMode);
  AddByte(&m_cDirection);
  AddWord(&m_sAngle);
  AddWord(&m_sAngleInc);
  if (nVersion >= 158) AddByte(&m_cMirrorAngle);
  AddByte(&m_cUseX);
  AddByte(&m_cUseY);
  AddWord(&m_sTargetXBl);
  AddWord(&m_sTargetYBl);
  AddWord(&m_sTargetXDot);
  AddWord(&m_sTargetYDot);
  AddByte(&m_cCoordKind);
  AddByte(&m_cTimeFromDist);
  AddByte(&m_cFreezeX);
  AddByte(&m_cFreezeY);
  AddByte(&m_cMirrorX);
  AddByte(&m_cMirrorY);
  AddByte(&m_cReverseWithFacing);
  AddByte(&m_cStopAtTarget);
  if (nVersion >= 162) AddByte(&m_cKeepFacing);
  AddByte(&m_cTimingMode);
  AddWord(&m_sSpeed);
  AddWord(&m_sSpeedInc);
  AddWord(&m_sDistance);
  AddWord(&m_sDistanceInc);
  if (nVersion >= 159) AddByte(&m_cDistUnit);
  AddWord(&m_sTime);
  AddWord(&m_sTimeInc);
  AddByte(&m_cInertia);
  AddWord(&m_sSpeedCap);
  AddQword(&m_dReversal);
  if (nVersion >= 162) AddByte(&m_cOwnAnime);
  if (nVersion >= 767) AddByte(&m_cTargetSlot);
}

void cEdMove::Read(cDataReader& r) {
  cRecord::Read(r);
  const int32_t v = r.FileVersion();
  if (v >= kCurrentDataVersion) return;
  // Older editors had no such switches: they behaved as if each were off.
  if (v < 158) m_cMirrorAngle = 0;
  if (v < 159) m_cDistUnit = 0;
  if (v < 162) {
    m_cKeepFacing = 0;
    m_cOwnAnime = 0;
  }
}
