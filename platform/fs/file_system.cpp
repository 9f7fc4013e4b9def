// Placeholder file access: replaced by the resolver.
#include "platform/fs/file_system.h"

#include <algorithm>

namespace plat::fs {
std::FILE* Open(const std::string& path, const char* mode) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return std::fopen(p.c_str(), mode);
}
}  // namespace plat::fs
