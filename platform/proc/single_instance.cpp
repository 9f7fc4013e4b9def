// The one-running-copy lock and ending the other copy.
#include "platform/proc/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/clock/clock.h"

namespace plat {

namespace {
int g_nLockFd = -1;
std::string g_strLockPath;

bool IsAlive(int nPid) { return ::kill(nPid, 0) == 0 || errno == EPERM; }

std::string RealPath(const std::string& strPath) {
  char* sz = ::realpath(strPath.empty() ? "." : strPath.c_str(), nullptr);
  if (!sz) return std::string();
  std::string str = sz;
  std::free(sz);
  return str;
}

// 64-bit FNV-1a: names the lock from the whole path in a file name of fixed
// length, however long or oddly spelt the path is.
uint64_t HashPath(const std::string& str) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char ch : str) {
    h ^= ch;
    h *= 1099511628211ull;
  }
  return h;
}

// The folder's own name, for a person reading the runtime folder: letters,
// digits, '-' and '_' only, at most 32 of them.
std::string ReadableName(const std::string& strRealPath) {
  std::string strBase = strRealPath.substr(strRealPath.find_last_of('/') + 1);
  std::string str;
  for (unsigned char ch : strBase) {
    if (str.size() >= 32) break;
    str += (std::isalnum(ch) && ch < 0x80) || ch == '-' || ch == '_' ? static_cast<char>(ch) : '_';
  }
  return str.empty() ? "root" : str;
}

std::string Reason(const char* szWhat, const std::string& strPath) {
  return std::string(szWhat) + " " + strPath + ": " + std::strerror(errno);
}
}  // namespace

std::string InstanceLockPath(const std::string& strProjectDir) {
  const std::string strReal = RealPath(strProjectDir);
  if (strReal.empty()) return std::string();
  std::string strDir = "/tmp";
  if (const char* sz = std::getenv("XDG_RUNTIME_DIR"); sz && *sz) strDir = sz;
  char szName[128];
  std::snprintf(szName, sizeof szName, "/brimvale-%u-%s-%016llx.lock",
                static_cast<unsigned>(::getuid()), ReadableName(strReal).c_str(),
                static_cast<unsigned long long>(HashPath(strReal)));
  return strDir + szName;
}

eInstanceLock AcquireInstanceLock(const std::string& strProjectDir, int& nOtherPid,
                                  std::string& strError) {
  nOtherPid = 0;
  strError.clear();
  if (g_nLockFd >= 0) return eInstanceLock::Acquired;
  const std::string strPath = InstanceLockPath(strProjectDir);
  if (strPath.empty()) {
    strError = Reason("cannot find the real path of the project folder", strProjectDir);
    return eInstanceLock::Failed;
  }
  // A copy that lets go removes the file; one that opened it just before
  // then holds a lock on a file nobody else can see, so the lock counts only
  // while the file it is on is still the one at the path.
  for (int nTry = 0; nTry < 100; ++nTry) {
    int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      strError = Reason("cannot make the lock file", strPath);
      return eInstanceLock::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK) {
        strError = Reason("cannot lock the lock file", strPath);
        ::close(fd);
        return eInstanceLock::Failed;
      }
      char buf[32] = {};
      ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
      if (n > 0) nOtherPid = std::atoi(buf);
      ::close(fd);
      return eInstanceLock::HeldByOther;
    }
    struct stat stOpen {
    }, stPath{};
    if (::fstat(fd, &stOpen) != 0 || ::stat(strPath.c_str(), &stPath) != 0 ||
        stOpen.st_dev != stPath.st_dev || stOpen.st_ino != stPath.st_ino) {
      ::close(fd);
      continue;
    }
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%d\n", static_cast<int>(::getpid()));
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, buf, n, 0) != n) {
      // The lock holds all the same; only the id for the next copy is missing.
    }
    g_nLockFd = fd;
    g_strLockPath = strPath;
    return eInstanceLock::Acquired;
  }
  strError = "the lock file " + strPath + " keeps being replaced";
  return eInstanceLock::Failed;
}

void ReleaseInstanceLock() {
  if (g_nLockFd < 0) return;
  // Removed while still held, so no copy can take a lock on a file that is
  // about to go.
  ::unlink(g_strLockPath.c_str());
  ::close(g_nLockFd);
  g_nLockFd = -1;
  g_strLockPath.clear();
}

eEndCopy EndOtherCopy(int nPid, int nWaitMs) {
  if (nPid <= 0 || nPid == ::getpid() || !IsAlive(nPid)) return eEndCopy::NotRunning;
  if (::kill(nPid, SIGTERM) != 0)
    return errno == ESRCH ? eEndCopy::NotRunning : eEndCopy::NotPermitted;
  uint32_t dwStart = GetTickMs();
  while (IsAlive(nPid) && static_cast<int32_t>(GetTickMs() - dwStart) < nWaitMs) SleepMs(10);
  if (IsAlive(nPid)) {
    ::kill(nPid, SIGKILL);
    // A killed process is gone at once; its lock with it.
    for (int i = 0; i < 100 && IsAlive(nPid); ++i) SleepMs(5);
  }
  return eEndCopy::Ended;
}

}  // namespace plat
