// The vocabulary of statuses as the editor shows it: the characters'
// statuses and the system values with the ranges the editor offers for a
// value and for an operand, and the flag statuses of the flag condition with
// the names of their values. Nothing reads them during play (the play keeps
// its own ranges); they fix the names and numbers the rest of the program
// uses.
#pragma once

#include <cstdint>

struct STATUSINFO {
  const char* szLabel;
  int32_t nLow, nHigh;                // the value
  int32_t nOperandLow, nOperandHigh;  // an operand
  uint8_t cFlag1, cFlag2, cFlag3;     // the editor's: 2 set for HP and SP alone
};

struct FLAGSTATUSINFO {
  const char* szLabel;
  int32_t nLow, nHigh, nDefault;
  const char* const* pszValues;  // value nLow first, ended by an empty text
};

constexpr int kCharaStatusCount = 15;
constexpr int kSystemStatusCount = 5;
constexpr int kFlagStatusCount = 7;

extern const STATUSINFO g_StatusCatalogue[kCharaStatusCount];
extern const STATUSINFO g_SystemStatusCatalogue[kSystemStatusCount];
extern const FLAGSTATUSINFO g_FlagStatusCatalogue[kFlagStatusCount];
