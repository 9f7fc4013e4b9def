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
#include <ctime>
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
std::atomic<bool> g_bStopBeforeRename{false};

constexpr const char* kTemporarySuffix = ".saving";
constexpr size_t kTemporaryRandom = 6;  // the letters mkstemps fills in

struct timespec WallClockNow() {
  struct timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return ts;
}

// When this process started, as file times count: temporaries written
// before it belong to a copy that is gone.
const struct timespec g_ProcessStart = WallClockNow();

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

eReadResult ReadFileBounded(const std::string& path, std::vector<uint8_t>& out, size_t nMaxBytes) {
  const int fd = ::open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return eReadResult::CannotOpen;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return eReadResult::ReadError;
  }
  // A regular file says its size: one above the cap is refused before a
  // byte is read. Other files (pipes, devices) say nothing and are read up
  // to the cap and one byte more.
  if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > nMaxBytes) {
    ::close(fd);
    return eReadResult::TooLarge;
  }
  std::vector<uint8_t> data;
  if (S_ISREG(st.st_mode)) data.reserve(static_cast<size_t>(st.st_size));
  eReadResult result = eReadResult::Read;
  uint8_t buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      result = eReadResult::ReadError;
      break;
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > nMaxBytes - data.size()) {
      result = eReadResult::TooLarge;  // it grew while being read
      break;
    }
    data.insert(data.end(), buf, buf + n);
  }
  ::close(fd);
  if (result == eReadResult::Read) out = std::move(data);
  return result;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t nMaxBytes) {
  return ReadFileBounded(path, out, nMaxBytes) == eReadResult::Read;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size, int* pError) {
  std::string strTarget = Resolve(path);
  std::string strTemp = strTarget + "." + std::string(kTemporaryRandom, 'X') + kTemporarySuffix;
  auto Failed = [pError](int nError) {
    if (pError) *pError = nError;
    return false;
  };
  int fd = ::mkstemps(strTemp.data(), static_cast<int>(std::strlen(kTemporarySuffix)));
  if (fd < 0) return Failed(errno);
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  int nError = 0;
  bool bOk = WriteAll(fd, static_cast<const uint8_t*>(data), size);
  if (bOk && ::fsync(fd) != 0) bOk = false;
  if (!bOk) nError = errno;
  if (::close(fd) != 0 && bOk) {
    bOk = false;
    nError = errno;
  }
  if (bOk && g_bStopBeforeRename.load()) return Failed(EINTR);
  if (bOk && ::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
    bOk = false;
    nError = errno;
  }
  if (!bOk) {
    ::unlink(strTemp.c_str());
    return Failed(nError);
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

void SetStopBeforeRename(bool bStop) { g_bStopBeforeRename = bStop; }

bool IsSaveTemporaryName(const std::string& name) {
  const size_t nSuffix = std::strlen(kTemporarySuffix);
  // At least one character of the target's name, a dot, the random part.
  if (name.size() < 2 + kTemporaryRandom + nSuffix) return false;
  if (name.compare(name.size() - nSuffix, nSuffix, kTemporarySuffix) != 0) return false;
  const size_t nRandom = name.size() - nSuffix - kTemporaryRandom;
  if (name[nRandom - 1] != '.') return false;
  for (size_t i = nRandom; i < nRandom + kTemporaryRandom; ++i) {
    const char c = name[i];
    const bool bAlnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!bAlnum) return false;
  }
  return true;
}

int RemoveStaleSaveTemporaries(const std::string& folder) {
  const std::string strDir = Resolve(folder);
  // File times come from a coarser clock than ours: a margin keeps a save
  // that began just after the start safe.
  const time_t nBefore = g_ProcessStart.tv_sec - 1;
  int nRemoved = 0;
  DIR* d = ::opendir(strDir.c_str());
  if (!d) return 0;
  while (struct dirent* e = ::readdir(d)) {
    if (!IsSaveTemporaryName(e->d_name)) continue;
    const std::string strPath = strDir + "/" + e->d_name;
    struct stat st;
    if (::lstat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_mtim.tv_sec >= nBefore) continue;
    if (::unlink(strPath.c_str()) == 0) ++nRemoved;
  }
  ::closedir(d);
  return nRemoved;
}

}  // namespace plat::fs
