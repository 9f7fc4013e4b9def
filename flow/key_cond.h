// One step of a key-input sequence: for each of the 19 key slots whether the
// key is ignored (0), held (1) or released (2), the hold times that count and
// how many of the keys must match.
#pragma once

#include <cstdint>
#include <vector>

#include "base/safe_vector.h"
#include "records/record.h"

class cKeyCond : public cRecord {
 public:
  static constexpr int KEY_SLOTS = 19;

  cKeyCond() { Reset(); }

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Clears the fields and makes the key states exactly 19 long, keeping the
  // values of the first 19.
  void Reset();

  cSafeVector<uint8_t> m_vecKeys;
  uint8_t m_cRelative = 0;  // slots 1/2, 5/7, 6/8 swap while facing direction 0
  int16_t m_sMinHold = 0;   // frames
  int16_t m_sMaxHold = 0;
  uint8_t m_cAnyLength = 0;  // a held key matches for any hold time above 0
  uint8_t m_cRule = 0;       // all, at least one, exactly one
};

using KEYCOND_VECTOR = cSafeVector<cKeyCond>;

void ReadKeyCondVector(KEYCOND_VECTOR& v, cDataReader& r);
