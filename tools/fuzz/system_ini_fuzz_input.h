// One fuzz input for System.ini: the bytes as the file, read over the
// defaults of the system data's key table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/system_data.h"
#include "files/system_ini.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

// True when the file was read to its end line.
inline bool FuzzSystemIni(const uint8_t* pData, size_t nSize) {
  static cSystemData sd;  // only its key table is used
  SYSTEMINIDATA ini;
  SetSystemIniDefaults(ini, sd.m_vIniKeys);
  const std::string strDefaultStage = ini.strFreeStage;
  const int nRead = ParseSystemIni(pData, nSize, ini, sd.m_vIniKeys);
  Check(ini.strFreeStage == strDefaultStage ||
            (ini.strFreeStage.size() >= 2 && ini.strFreeStage.size() <= kFreeStageMax),
        "a stage name from the file is 2 to 259 bytes");
  return nRead != 0;
}

}  // namespace fuzz
