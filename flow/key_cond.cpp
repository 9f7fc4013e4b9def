#include "flow/key_cond.h"

void cKeyCond::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddByte(&m_cRelative);
  AddWord(&m_sMinHold);
  AddWord(&m_sMaxHold);
  AddByte(&m_cAnyLength);
  AddByte(&m_cRule);
}

void cKeyCond::Reset() {
  Clear();
  m_vecKeys.resize(KEY_SLOTS, 0);
}

void cKeyCond::Read(cDataReader& r) {
  cRecord::Read(r);
  // Any stored length is kept: replays write the vector back as it came.
  const uint32_t n = r.Count(1);
  if (r.Failed()) return;
  m_vecKeys.assign(n, 0);
  r.ReadBytes(m_vecKeys.data(), n);
}

void cKeyCond::Write(cDataWriter& w) {
  cRecord::Write(w);
  w.U32(static_cast<uint32_t>(m_vecKeys.size()));
  w.Bytes(m_vecKeys.data(), m_vecKeys.size());
}

void ReadKeyCondVector(KEYCOND_VECTOR& v, cDataReader& r) { ReadRecordVector(v, r, cKeyCond()); }
