// libFuzzer entry for the bitmap reader (built by scripts/fuzz).
#include "tools/fuzz/bmp_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzBitmap(pData, nSize);
  return 0;
}
