// libFuzzer entry for the record reader, built with clang apart from the
// rest of the program (see tools/CMakeLists.txt). The services the record
// sources call are stubbed in fuzz_stubs.cpp: a fuzz run touches no files
// and shows no boxes.
#include "tools/fuzz/record_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  return record_fuzz::FuzzRecordFile(pData, nSize);
}
