// Weak stand-ins for the file operations the record tests use, so the tests
// link before the platform's resolver and atomic writer are in the core. The
// platform's own definitions, once linked, take precedence over these.
// Include from exactly one source file of a test program.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/fs/file_system.h"

namespace plat::fs {
namespace stand_in {
inline std::string LinuxPath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}
}  // namespace stand_in

__attribute__((weak)) bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(stand_in::LinuxPath(path), ec);
}
__attribute__((weak)) bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(stand_in::LinuxPath(path), ec);
}
__attribute__((weak)) bool MakeDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directory(stand_in::LinuxPath(path), ec);
  return !ec && IsDirectory(path);
}
__attribute__((weak)) bool RemoveTree(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(stand_in::LinuxPath(path), ec);
  return !ec;
}
__attribute__((weak)) bool CopyTree(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy(stand_in::LinuxPath(from), stand_in::LinuxPath(to),
                        std::filesystem::copy_options::recursive, ec);
  if (ec) RemoveTree(to);
  return !ec;
}
__attribute__((weak)) bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
  std::string p = stand_in::LinuxPath(path);
  std::string tmp = p + ".tmp";
  std::FILE* fp = std::fopen(tmp.c_str(), "wb");
  if (!fp) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, fp) == size;
  ok = (std::fclose(fp) == 0) && ok;
  if (ok) ok = std::rename(tmp.c_str(), p.c_str()) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}
}  // namespace plat::fs
