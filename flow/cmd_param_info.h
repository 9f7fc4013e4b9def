// Which numeric settings of each command kind a binding ("アレンジ") may
// change, and within which range: one row per flow command kind, the position
// of an entry in its row being the setting's bindable number.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"

struct CMDPARAMINFO {
  std::string strLabel;
  int32_t nMin = 0;
  int32_t nMax = 0;
};

extern cSafeVector<cSafeVector<CMDPARAMINFO>> g_CmdParamInfo;

// Builds the 40 rows. Start-up calls it once, before any stage is played.
void InitCmdParamInfo();
