// libFuzzer entry for the wave reader and the mixer's conversion (built by
// scripts/fuzz).
#include "tools/fuzz/wave_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzWave(pData, nSize);
  return 0;
}
