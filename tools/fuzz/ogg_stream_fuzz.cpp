// libFuzzer entry for the Ogg player (built by scripts/fuzz).
#include "tools/fuzz/ogg_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzOgg(pData, nSize);
  return 0;
}
