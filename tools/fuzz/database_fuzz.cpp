// libFuzzer entry for the ten database lists, the post-load tables and the
// common palette (built by scripts/fuzz).
#include "tools/fuzz/database_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzDatabase(pData, nSize);
  return 0;
}
