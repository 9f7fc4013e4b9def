// The single-running-copy lock and ending the other copy.
#include "platform/proc/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/clock/clock.h"

namespace plat {

namespace {
int g_nLockFd = -1;

bool IsAlive(int nPid) { return ::kill(nPid, 0) == 0 || errno == EPERM; }
}  // namespace

std::string InstanceLockPath(const std::string& strNameUtf8) {
  std::string strDir;
  if (const char* sz = std::getenv("XDG_RUNTIME_DIR"); sz && *sz) {
    strDir = sz;
  } else {
    strDir = "/tmp";
  }
  return strDir + "/brimvale-" + strNameUtf8 + "-" + std::to_string(::getuid()) + ".lock";
}

eInstanceLock AcquireInstanceLock(const std::string& strNameUtf8, int& nOtherPid) {
  nOtherPid = 0;
  if (g_nLockFd >= 0) return eInstanceLock::Acquired;
  std::string strPath = InstanceLockPath(strNameUtf8);
  int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return eInstanceLock::Failed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    bool bHeld = errno == EWOULDBLOCK;
    char buf[32] = {};
    ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
    if (n > 0) nOtherPid = std::atoi(buf);
    ::close(fd);
    return bHeld ? eInstanceLock::HeldByOther : eInstanceLock::Failed;
  }
  char buf[32];
  int n = std::snprintf(buf, sizeof buf, "%d\n", static_cast<int>(::getpid()));
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, buf, n, 0) != n) {
    // The lock holds all the same; only the id for the next copy is missing.
  }
  g_nLockFd = fd;
  return eInstanceLock::Acquired;
}

void ReleaseInstanceLock() {
  if (g_nLockFd < 0) return;
  ::ftruncate(g_nLockFd, 0);
  ::flock(g_nLockFd, LOCK_UN);
  ::close(g_nLockFd);
  g_nLockFd = -1;
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
