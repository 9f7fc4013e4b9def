// One fuzz input: the bytes are taken as a whole record file and loaded as
// every record kind of the start-up files. A load that succeeds must write
// back a file that loads again and writes back the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/ini_key.h"
#include "files/options.h"
#include "files/system_data.h"
#include "records/menu_entry.h"

namespace record_fuzz {

template <typename T>
inline void LoadAndCheck(const uint8_t* pData, size_t nSize) {
  T rec;
  if (!rec.LoadFromBytes(pData, nSize)) return;
  std::vector<uint8_t> first = rec.SaveToBytes();
  T again;
  if (!again.LoadFromBytes(first.data(), first.size())) __builtin_trap();
  if (again.SaveToBytes() != first) __builtin_trap();
}

inline int FuzzRecordFile(const uint8_t* pData, size_t nSize) {
  LoadAndCheck<cSystemData>(pData, nSize);
  LoadAndCheck<cOptionData>(pData, nSize);
  LoadAndCheck<cCmd>(pData, nSize);
  LoadAndCheck<cIniKey>(pData, nSize);
  LoadAndCheck<cStatusItem>(pData, nSize);
  LoadAndCheck<cModeRanking>(pData, nSize);
  return 0;
}

}  // namespace record_fuzz
