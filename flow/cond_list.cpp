#include "flow/cond_list.h"

void cCondList::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddByte(&m_cEnabled);
  AddByte(&m_cRule);
}

void cCondList::Read(cDataReader& r) {
  cRecord::Read(r);
  // Lists stored before 766 were switches without conditions.
  if (!r.Failed() && r.FileVersion() >= 766) ReadConditionVector(m_vecConds, r);
}

void cCondList::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecConds, w);
}
