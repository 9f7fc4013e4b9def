// libFuzzer entry for code lines (built by scripts/fuzz).
#include "platform/null/null_backend.h"
#include "tools/fuzz/code_line_fuzz_input.h"

// Runs on the null back end: the error boxes of the lines are answered at
// once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  plat::null::InstallNullBackend();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  static code_fuzz::cCodePlay* s_pPlay = new code_fuzz::cCodePlay();
  code_fuzz::FuzzCodeLines(*s_pPlay, pData, nSize);
  return 0;
}
