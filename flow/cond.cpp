#include "flow/cond.h"

void cCond::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddByte(&m_cKind);
  AddDword(&m_nConstant);
  if (nVersion >= 110) {
    AddDword(&m_nRandLow);
    AddDword(&m_nRandHigh);
    AddByte(&m_cObject);
    AddByte(&m_cStatus);
    AddByte(&m_cLeftKind);
    AddByte(&m_cVarScope);
    AddWord(&m_sVarNum);
    AddByte(&m_cRightSource);
    AddByte(&m_cRightObject);
    AddByte(&m_cRightStatus);
    AddByte(&m_cRightVarScope);
    AddWord(&m_sRightVarNum);
  } else {
    // Two 16-bit values that no later format kept.
    AddWord(&wDiscardField);
    AddWord(&wDiscardField);
  }
  AddByte(&m_cCompare);
  if (nVersion >= 43) AddByte(&m_cPercent);
  AddByte(&m_cShape);
}

void cCond::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.FileVersion() < kCurrentDataVersion) Renumber(r.FileVersion());
}

void cCond::Renumber(int32_t v) {
  if (v < 160 && m_cKind >= 5) m_cKind += 2;
  // The state condition "on screen" once meant the opposite.
  if (v < 161 && m_cKind == 6 && m_cStatus == 2) m_cCompare ^= 1;
  // Statuses were inserted into the catalogue at 10 (168) and 5 (203).
  for (int nStep = 0; nStep < 2; ++nStep) {
    const int32_t nBefore = nStep == 0 ? 168 : 203;
    const int nFrom = nStep == 0 ? 10 : 5;
    if (v >= nBefore || m_cKind != 4) continue;
    if (m_cLeftKind == 0 && m_cObject != 2 && m_cStatus >= nFrom) ++m_cStatus;
    if (m_cRightSource == 2 && m_cRightObject != 2 && m_cRightStatus >= nFrom) ++m_cRightStatus;
  }
  if (v < 210 && m_cKind == 5 && m_cObject != 2 && m_cStatus >= 6) ++m_cStatus;
  if (m_cKind == 7) {
    if (v < 657) m_cObject = 0;
    if (v < 745) m_cLeftKind = 0;
    if (v < 746) {
      m_cRightSource = 1;
      m_cRightObject = 1;
    }
  }
  // Three target slots were added before the old subjects from 2 up.
  if (v < 767 && (m_cKind == 4 || m_cKind == 5)) {
    if (m_cObject >= 2) m_cObject += 3;
    if (m_cRightObject >= 2) m_cRightObject += 3;
  }
}

void ReadConditionVector(COND_VECTOR& v, cDataReader& r) { ReadRecordVector(v, r, cCond()); }
