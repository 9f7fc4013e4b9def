// libFuzzer entry for the record reader (built by scripts/fuzz).
#include "tools/fuzz/record_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  record_fuzz::FuzzRecordFile(pData, nSize);
  return 0;
}
