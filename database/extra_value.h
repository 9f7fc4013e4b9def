// The extra value several database entries store from format 151 on. Files of
// 151 and 152 held it before it was settled, so only from 153 on is it taken
// as stored; older entries read it as 0.
#pragma once

#include <cstdint>

constexpr int32_t kExtraKeptFromVersion = 153;

inline void RepairExtraValue(int32_t nFileVersion, int32_t& nExtra) {
  if (nFileVersion < kExtraKeptFromVersion) nExtra = 0;
}
