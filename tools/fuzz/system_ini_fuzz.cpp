// libFuzzer entry for System.ini (built by scripts/fuzz).
#include "tools/fuzz/system_ini_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzSystemIni(pData, nSize);
  return 0;
}
