// libFuzzer entry for the ten database lists, the post-load tables and the
// common palette (built by scripts/fuzz).
#include "platform/null/null_backend.h"
#include "tools/fuzz/database_fuzz_input.h"

// Runs on the null back end: a box a loader shows is answered at once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  plat::null::InstallNullBackend();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzDatabase(pData, nSize);
  return 0;
}
