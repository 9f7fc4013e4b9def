// One fuzz input for the record reader: the bytes are taken as a whole
// record file and loaded as every record kind of the start-up files. A load
// that succeeds must write back a file that loads again and writes back the
// same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/ini_key.h"
#include "files/options.h"
#include "files/system_data.h"
#include "records/menu_entry.h"
#include "tools/fuzz/fuzz_check.h"

namespace record_fuzz {

template <typename T>
inline bool LoadAndCheck(const uint8_t* pData, size_t nSize) {
  T rec;
  if (!rec.LoadFromBytes(pData, nSize)) return false;
  std::vector<uint8_t> first = rec.SaveToBytes();
  T again;
  fuzz::Check(again.LoadFromBytes(first.data(), first.size()) == 1,
              "what a record wrote loads again");
  fuzz::Check(again.SaveToBytes() == first, "and writes back the same bytes");
  return true;
}

// How many of the record kinds took the file.
inline int FuzzRecordFile(const uint8_t* pData, size_t nSize) {
  return LoadAndCheck<cSystemData>(pData, nSize) + LoadAndCheck<cOptionData>(pData, nSize) +
         LoadAndCheck<cCmd>(pData, nSize) + LoadAndCheck<cIniKey>(pData, nSize) +
         LoadAndCheck<cStatusItem>(pData, nSize) + LoadAndCheck<cModeRanking>(pData, nSize);
}

}  // namespace record_fuzz
