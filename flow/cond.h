// One condition of a flow, a command's condition list or a definition: a
// variable, status, flag, state or distance compared with a constant, a
// random number, another status or a variable.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "records/record.h"

class cCond : public cRecord {
 public:
  cCond() { Clear(); }

  void RegisterFields(int32_t nVersion) override;
  // The body, then the renumbering of old kinds, operands and comparisons.
  void Read(cDataReader& r) override;

  // Brings a condition stored by an older format to today's numbering.
  void Renumber(int32_t nFileVersion);

  uint8_t m_cKind = 0;      // 0 none, 1..3 variables, 4 status, 5 flag, 6 state, 7 distance
  uint8_t m_cLeftKind = 0;  // 0 a status, 1 a variable
  uint8_t m_cVarScope = 0;  // 0 common, 1 stage variables
  uint8_t m_cObject = 0;    // 0 itself (distance: the player), 1..4 targets
  uint8_t m_cStatus = 0;    // which status, flag or state
  int16_t m_sVarNum = 0;
  uint8_t m_cRightSource = 0;  // 0 constant, 1 random, 2 a status, 3 a variable
  int32_t m_nConstant = 0;     // distance conditions: hbl
  int32_t m_nRandLow = 0;
  int32_t m_nRandHigh = 0;
  uint8_t m_cRightObject = 0;  // 1..4 targets, 5 the system values, else itself
  uint8_t m_cRightStatus = 0;
  uint8_t m_cRightVarScope = 0;
  int16_t m_sRightVarNum = 0;  // distance conditions: further dots
  uint8_t m_cCompare = 0;      // = != >= <= > < multiple, not multiple
  uint8_t m_cPercent = 0;      // the right side is a percentage of the maximum
  uint8_t m_cShape = 0;        // distance area: boxes 0..5, circle 6
};

using COND_VECTOR = cSafeVector<cCond>;

void ReadConditionVector(COND_VECTOR& v, cDataReader& r);
