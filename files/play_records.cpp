#include "files/play_records.h"

void cStageResult::RegisterFields(int32_t v) {
  ClearFields();
  if (v >= 759) {
    AddDword(&m_bSuffix);
    AddDword(&m_nSuffix1);
    AddDword(&m_nSuffix2);
  }
  AddDword(&m_nBest);
  AddString(&m_strName);
  if (v >= 759) AddString(&m_strKey);
}

void cStageResult::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  if (r.FileVersion() < 759) {
    m_strKey = m_strName;
    m_bSuffix = 0;
  }
}

void cPlayerStatus::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_nHP);
  AddDword(&m_nSP);
  AddDword(&m_nTime);
  AddDword(&m_nLives);
  AddDword(&m_nBgm);
}

void cPlayerStatus::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadSubRecord(m_Chara, r);
}

void cPlayerStatus::Write(cDataWriter& w) {
  cRecord::Write(w);
  m_Chara.Write(w);
}

void cChallengeRecord::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_bCleared);
  AddDword(&m_nBest);
}
