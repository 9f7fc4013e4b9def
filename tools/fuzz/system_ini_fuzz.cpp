// libFuzzer entry for System.ini (built by scripts/fuzz).
#include "platform/null/null_backend.h"
#include "tools/fuzz/system_ini_fuzz_input.h"

// Runs on the null back end: a box a loader shows is answered at once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  plat::null::InstallNullBackend();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzSystemIni(pData, nSize);
  return 0;
}
