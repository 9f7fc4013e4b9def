// libFuzzer entry for the readers of stage files, replays, the world map and
// play records, built with clang apart from the rest of the program (see
// tools/CMakeLists.txt). The services their sources call are stubbed in
// fuzz_stubs.cpp: a fuzz run touches no files and shows no boxes.
#include "tools/fuzz/files_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  return files_fuzz::FuzzFilesInput(pData, nSize);
}
