// The conditions that gate one command: a switch, the all/any rule and the
// conditions themselves.
#pragma once

#include <cstdint>

#include "flow/cond.h"
#include "records/record.h"

class cCondList : public cRecord {
 public:
  cCondList() { Clear(); }

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  uint8_t m_cEnabled = 0;  // 0: the command runs without testing the conditions
  uint8_t m_cRule = 0;     // 0 all must hold, 1 one is enough
  COND_VECTOR m_vecConds;
};
