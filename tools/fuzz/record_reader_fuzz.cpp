// libFuzzer entry for the record reader, built with clang apart from the
// rest of the program (see tools/CMakeLists.txt). The services the record
// sources call are stubbed here: a fuzz run touches no files and shows no
// boxes.
#include <cstdarg>
#include <cstdio>

#include "base/logs.h"
#include "base/safe_vector.h"
#include "base/text_helpers.h"
#include "platform/fs/file_system.h"
#include "platform/ui/message_box.h"
#include "tools/fuzz/record_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  return record_fuzz::FuzzRecordFile(pData, nSize);
}

int DebugLogF(const char*, ...) { return 0; }
int ReportF(const char*, ...) { return 0; }
int ReportFError(const char*, ...) { return 0; }
int DebugErrorBoxF(const char*, ...) { return 0; }
void ReportBadIndex(char, int, int, int) {}
int CountChars(const char* szText) {
  int n = 0;
  for (const char* p = szText; *p; ++p) ++n;
  return n;
}

namespace plat {
int MessageBox(WndHandle, const std::string&, const std::string&, uint32_t) { return IDNO; }
namespace fs {
std::FILE* Open(const std::string&, const char*) { return nullptr; }
bool IsDirectory(const std::string&) { return false; }
bool MakeDirectory(const std::string&) { return false; }
bool CopyTree(const std::string&, const std::string&) { return false; }
bool RemoveTree(const std::string&) { return false; }
bool WriteFileAtomic(const std::string&, const void*, size_t) { return false; }
}  // namespace fs
}  // namespace plat
