// The services the record and file sources call, stubbed for the fuzz
// targets: a fuzz run touches no files, posts no messages and shows no
// boxes.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "base/logs.h"
#include "base/safe_vector.h"
#include "platform/fs/file_system.h"
#include "platform/msg/messages.h"
#include "platform/ui/message_box.h"

int DebugLogF(const char*, ...) { return 0; }
int ReportF(const char*, ...) { return 0; }
int ReportFError(const char*, ...) { return 0; }
int ErrorBoxF(const char*, ...) { return 0; }
int DebugErrorBoxF(const char*, ...) { return 0; }
void ReportBadIndex(char, int, int, int) {}

namespace plat {
int MessageBox(WndHandle, const std::string&, const std::string&, uint32_t) { return IDNO; }
bool PostMessage(WndHandle, uint32_t, uintptr_t, intptr_t) { return false; }
namespace fs {
std::FILE* Open(const std::string&, const char*) { return nullptr; }
bool Exists(const std::string&) { return false; }
bool IsDirectory(const std::string&) { return false; }
bool MakeDirectory(const std::string&) { return false; }
bool CopyTree(const std::string&, const std::string&) { return false; }
bool RemoveTree(const std::string&) { return false; }
bool WriteFileAtomic(const std::string&, const void*, size_t) { return false; }
std::string GetCurrentDirectory() { return std::string(); }
}  // namespace fs
}  // namespace plat
