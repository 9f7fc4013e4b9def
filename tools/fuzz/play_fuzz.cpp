// libFuzzer entry that plays a damaged stage or replay for a few hundred
// frames without pixels (built by scripts/fuzz).
#include "platform/null/null_backend.h"
#include "tools/fuzz/play_fuzz_input.h"

// Runs on the null back end: a box the play shows is answered at once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  plat::null::InstallNullBackend();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  play_fuzz::FuzzPlayInput(pData, nSize);
  return 0;
}
