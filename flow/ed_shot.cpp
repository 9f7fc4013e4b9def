#include "flow/ed_shot.h"

#include "records/database_refs.h"

cEdShot::cEdShot() {
  Clear();
  SetDefaults();
}

void cEdShot::SetDefaults() {
  m_cTargetSlot = 0;
  m_cMirrorAngle = 1;
  m_cMirrorOffsetX = 1;
  m_cMirrorOffsetY = 0;
  m_cFactionFromShooter = 1;
  m_cScale = 1;
  m_cTargetSlot2 = 0;
}

// File order; the members are declared in another order, so this list, not
// the class, says where each value is stored.
void cEdShot::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddByte(&m_cShotCount);
  AddByte(&m_cFormation);
  AddWord(m_sFormationParam, 3);
  if (nVersion >= 671) AddByte(&m_cRefObject);
  AddByte(&m_cDirection);
  AddByte(&m_cAim);
  if (nVersion >= 767) AddByte(&m_cTargetSlot);
  AddWord(&m_sAngle);
  AddWord(&m_sAngleInc);
  if (nVersion >= 158) AddByte(&m_cMirrorAngle);
  AddWord(&m_sSpread);
  AddByte(&m_cOption12);
  AddByte(&m_cCopies);
  AddWord(&m_sOffsetX);
  AddWord(&m_sOffsetXInc);
  AddWord(&m_sOffsetY);
  AddWord(&m_sOffsetYInc);
  AddByte(&m_cMirrorOffsetX);
  AddByte(&m_cMirrorOffsetY);
  AddWord(&m_sGraphic);
  AddByte(&m_cLayer);
  AddByte(&m_cHidden);
  AddByte(&m_cFactionFromShooter);
  AddByte(&m_cFaction);
  AddByte(&m_cOption25);
  AddByte(&m_cScale);
  AddByte(&m_cOption27);
  AddByte(&m_cMoveType);
  AddWord(m_sMoveParam, 3);
  if (nVersion >= 767) AddByte(&m_cTargetSlot2);
  if (nVersion >= 211) AddByte(&m_cScrollSync);
  AddWord(&m_sSpeed);
  AddWord(&m_sSpeedInc);
  if (nVersion >= 213) {
    AddByte(&m_cAccelOn);
    AddWord(&m_sAccel);
    AddWord(&m_sAccelInc);
  }
  AddWord(&m_sRange);
  AddByte(&m_cRangeOn);
  AddWord(&m_sRangeInc);
  AddByte(&m_cRangeEndStop);
  AddByte(&m_cLifeOn);
  AddWord(&m_sLife);
  AddWord(&m_sLifeInc);
  AddByte(&m_cPassBlocks);
  AddByte(&m_cPierceChara);
  if (nVersion >= 636) AddByte(&m_cPierceBlockChara);
  AddByte(&m_cVsShot);
  AddByte(&m_cVanishValue);
  AddDword(&m_nPower);
  AddWord(&m_sShotValue);
  AddByte(&m_cImpact);
  AddWord(&m_sHitEffect);
  AddByte(&m_cItemPalette);
  AddWord(&m_sItemIndex);
  AddByte(&m_cBlockSummonMode);
  AddByte(&m_cOption56);
  if (nVersion >= 197) AddByte(&m_cOption57);
  AddByte(&m_cSummonPalette);
  AddWord(&m_sSummonIndex);
  AddByte(&m_cSummonFaction);
  AddByte(&m_cOption61);
  AddByte(&m_cSummonReverse);
  if (nVersion >= 762) {
    AddByte(&m_cReportHits);
    AddByte(&m_cReportSelector);
  }
}

void cEdShot::Read(cDataReader& r) {
  cRecord::Read(r);
  const int32_t v = r.FileVersion();
  if (v < kCurrentDataVersion) {
    if (v < 158) m_cMirrorAngle = 0;
    if (v < 197) m_cOption57 = m_cOption56;
    // Homing shots always followed the screen before the switch existed.
    if (v < 212) m_cScrollSync = (m_cMoveType >= 4 && m_cMoveType <= 7) ? 1 : 0;
    if (v < 213) {
      m_cAccelOn = 0;
      m_sAccel = 0;
      m_sAccelInc = 0;
    }
    if (v < 636) m_cPierceBlockChara = m_cPierceChara;
    if (v < 671) m_cRefObject = 0;
  }
  Validate();
}

void cEdShot::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
}

void cEdShot::Validate() {
  if (m_cScale <= 0) m_cScale = 1;
  if (IsOutsideDbList(m_sHitEffect, DBLIST_EFFECT)) m_sHitEffect = 0;
}

namespace {
// n * step + offset in 32 bits, wrapping as the stored arithmetic always did;
// negated for the mirrored direction.
double CopyOffset(int n, int16_t sStep, int16_t sOffset, bool bMirror) {
  uint32_t v = static_cast<uint32_t>(n) * static_cast<uint32_t>(static_cast<int32_t>(sStep)) +
               static_cast<uint32_t>(static_cast<int32_t>(sOffset));
  if (bMirror) v = 0u - v;
  return static_cast<double>(static_cast<int32_t>(v));
}
}  // namespace

double cEdShot::GetPosX(int n, int nDirection) const {
  return CopyOffset(n, m_sOffsetXInc, m_sOffsetX, nDirection == 1 && m_cMirrorOffsetX != 0);
}

double cEdShot::GetPosY(int n, int nDirection) const {
  return CopyOffset(n, m_sOffsetYInc, m_sOffsetY, nDirection == 1 && m_cMirrorOffsetY != 0);
}
