// Text and path helpers.
#include "app/text_helpers.h"

#include <cstdarg>
#include <cstdio>

namespace {
// Formatted strings hold at most 5119 bytes.
constexpr size_t kFormatBytes = 5120;
}  // namespace

void FormatString(std::string& strOut, const char* szFormat, ...) {
  char buf[kFormatBytes];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(buf, sizeof buf, szFormat, args);
  va_end(args);
  strOut = buf;
}
