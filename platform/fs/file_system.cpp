// Files through one path resolver, and the atomic save writer.
#include "platform/fs/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/text/cp932.h"

namespace plat::fs {

namespace {

namespace stdfs = std::filesystem;

struct cListing {
  struct timespec mtime {};
  std::vector<std::string> names;
};

std::mutex g_ListingMutex;
std::map<std::string, cListing> g_Listings;
std::atomic<long long> g_nWriteFaultAfter{-1};

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The names in a folder, cached until the folder's modification time moves,
// so a file made by anyone since is seen at once.
std::vector<std::string> NamesIn(const std::string& dir) {
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  std::lock_guard<std::mutex> lock(g_ListingMutex);
  auto it = g_Listings.find(dir);
  if (it != g_Listings.end() && SameTime(it->second.mtime, st.st_mtim)) return it->second.names;
  cListing listing;
  listing.mtime = st.st_mtim;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (struct dirent* e = ::readdir(d)) {
      if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
      listing.names.push_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(listing.names.begin(), listing.names.end());
  g_Listings[dir] = listing;
  return listing.names;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool LExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Join(const std::string& base, bool bAbsolute, const std::string& name) {
  if (base.empty()) return bAbsolute ? "/" + name : name;
  if (base == "/") return "/" + name;
  return base + "/" + name;
}

// Windows drops trailing dots and blanks of a name; "." and ".." stay.
std::string TrimName(const std::string& name) {
  if (name == "." || name == "..") return name;
  size_t n = name.size();
  while (n > 0 && (name[n - 1] == '.' || name[n - 1] == ' ')) --n;
  return n == 0 ? name : name.substr(0, n);
}

std::string ToProgramText(const std::string& utf8) {
  std::string out;
  if (Utf8ToCp932(utf8, out)) return out;
  return utf8;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  long long nFault = g_nWriteFaultAfter.load();
  size_t nDone = 0;
  while (nDone < n) {
    size_t nChunk = n - nDone;
    if (nFault >= 0) {
      if (static_cast<long long>(nDone) >= nFault) {
        errno = ENOSPC;
        return false;
      }
      nChunk = std::min<size_t>(nChunk, static_cast<size_t>(nFault) - nDone);
    }
    ssize_t r = ::write(fd, p + nDone, nChunk);
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    nDone += static_cast<size_t>(r);
  }
  return true;
}

}  // namespace

std::string Resolve(const std::string& path) {
  bool bAbsolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
  std::vector<std::string> parts = SplitCp932Path(path);
  std::string base;
  bool bMatching = true;
  for (const std::string& raw : parts) {
    std::string name = TrimName(raw);
    if (name == ".") continue;
    std::vector<std::string> candidates;
    std::string utf8;
    if (Cp932ToUtf8Strict(name, utf8)) candidates.push_back(utf8);
    if (candidates.empty() || candidates[0] != name) candidates.push_back(name);
    std::string chosen = candidates[0];
    if (bMatching && name != "..") {
      bool bFound = false;
      for (const std::string& c : candidates) {
        if (LExists(Join(base, bAbsolute, c))) {
          chosen = c;
          bFound = true;
          break;
        }
      }
      if (!bFound) {
        std::string dir = base.empty() ? (bAbsolute ? "/" : ".") : base;
        std::vector<std::string> names = NamesIn(dir);
        for (const std::string& c : candidates) {
          auto it = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& n) { return EqualNoCase(n, c); });
          if (it != names.end()) {
            chosen = *it;
            bFound = true;
            break;
          }
        }
      }
      if (!bFound) bMatching = false;
    }
    base = Join(base, bAbsolute, chosen);
  }
  if (base.empty()) return bAbsolute ? "/" : ".";
  return base;
}

std::FILE* Open(const std::string& path, const char* mode) {
  std::string strMode;
  for (const char* p = mode; *p; ++p)
    if (*p != 't') strMode += *p;
  return std::fopen(Resolve(path).c_str(), strMode.c_str());
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(Resolve(path).c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(Resolve(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path) { return ::mkdir(Resolve(path).c_str(), 0777) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(Resolve(path).c_str()) == 0; }

bool CopyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  return stdfs::copy_file(Resolve(from), Resolve(to), stdfs::copy_options::overwrite_existing, ec);
}

bool CopyTree(const std::string& from, const std::string& to) {
  std::string strFrom = Resolve(from);
  std::string strTo = Resolve(to);
  std::error_code ec;
  if (!stdfs::is_directory(strFrom, ec)) return false;
  bool bExisted = stdfs::exists(strTo, ec);
  stdfs::copy(strFrom, strTo, stdfs::copy_options::recursive, ec);
  if (ec) {
    if (!bExisted) stdfs::remove_all(strTo, ec);
    return false;
  }
  return true;
}

bool RemoveTree(const std::string& path) {
  std::error_code ec;
  stdfs::remove_all(Resolve(path), ec);
  return !ec;
}

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> out;
  for (const std::string& n : NamesIn(Resolve(folder))) out.push_back(ToProgramText(n));
  std::sort(out.begin(), out.end());
  return out;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t nMaxBytes) {
  std::FILE* fp = Open(path, "rb");
  if (!fp) return false;
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  bool bOk = true;
  for (;;) {
    size_t n = std::fread(buf, 1, sizeof buf, fp);
    if (data.size() + n > nMaxBytes) {
      bOk = false;
      break;
    }
    data.insert(data.end(), buf, buf + n);
    if (n < sizeof buf) {
      bOk = !std::ferror(fp);
      break;
    }
  }
  std::fclose(fp);
  if (bOk) out = std::move(data);
  return bOk;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
  std::string strTarget = Resolve(path);
  std::string strTemp = strTarget + ".XXXXXX";
  int fd = ::mkstemp(strTemp.data());
  if (fd < 0) return false;
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  bool bOk = WriteAll(fd, static_cast<const uint8_t*>(data), size) && ::fsync(fd) == 0;
  bOk = (::close(fd) == 0) && bOk;
  if (bOk) bOk = ::rename(strTemp.c_str(), strTarget.c_str()) == 0;
  if (!bOk) {
    ::unlink(strTemp.c_str());
    return false;
  }
  std::string strDir = stdfs::path(strTarget).parent_path().string();
  if (strDir.empty()) strDir = ".";
  int dfd = ::open(strDir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::string GetCurrentDirectory() {
  std::error_code ec;
  std::string strCur = stdfs::current_path(ec).string();
  if (ec) return std::string();
  return ToProgramText(strCur);
}

bool SetCurrentDirectory(const std::string& path) {
  bool bOk = ::chdir(Resolve(path).c_str()) == 0;
  ForgetListings();
  return bOk;
}

void ForgetListings() {
  std::lock_guard<std::mutex> lock(g_ListingMutex);
  g_Listings.clear();
}

void SetWriteFaultAfter(long long nBytes) { g_nWriteFaultAfter = nBytes; }

}  // namespace plat::fs
