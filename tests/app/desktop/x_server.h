// An X server of the tests' own: Xvfb on a display number nobody uses,
// started once for the test program and ended with it. Where none can be
// started, HasDisplay() is false and says why.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock/clock.h"

class cXServer {
 public:
  // Tries display numbers from 90 up; a server of another program that
  // takes the same number first makes this one try the next.
  bool Start() {
    if (!std::filesystem::exists("/usr/bin/Xvfb")) {
      m_strWhy = "Xvfb is not installed (scripts/setup installs it)";
      return false;
    }
    for (int n = 90; n < 190; ++n) {
      const std::string strLock = "/tmp/.X" + std::to_string(n) + "-lock";
      const std::string strSocket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (std::filesystem::exists(strLock) || std::filesystem::exists(strSocket)) continue;
      const std::string strDisplay = ":" + std::to_string(n);
      const pid_t pid = fork();
      if (pid < 0) {
        m_strWhy = "Xvfb could not be started";
        return false;
      }
      if (pid == 0) {
        // The server ends with the test program, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int fd = open("/dev/null", O_WRONLY);
        if (fd >= 0) {
          dup2(fd, 1);
          dup2(fd, 2);
        }
        execl("/usr/bin/Xvfb", "Xvfb", strDisplay.c_str(), "-screen", "0", "1024x768x24",
              "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
      }
      if (WaitReady(pid, strLock, strSocket)) {
        m_nPid = pid;
        m_strDisplay = strDisplay;
        setenv("DISPLAY", strDisplay.c_str(), 1);
        return true;
      }
      Stop(pid);
    }
    m_strWhy = "no X display could be started with Xvfb";
    return false;
  }

  void Stop() {
    if (m_nPid > 0) Stop(m_nPid);
    m_nPid = 0;
  }

  bool HasDisplay() const { return m_nPid > 0; }
  const std::string& Why() const { return m_strWhy; }

 private:
  // Ready when this server's lock names it and its socket is there; a
  // server that ended (the number was taken meanwhile) is not.
  static bool WaitReady(pid_t pid, const std::string& strLock, const std::string& strSocket) {
    for (int i = 0; i < 500; ++i) {
      int nStatus = 0;
      if (waitpid(pid, &nStatus, WNOHANG) == pid) return false;
      std::ifstream lock(strLock);
      long nLockPid = 0;
      if (lock >> nLockPid && nLockPid == pid && std::filesystem::exists(strSocket)) return true;
      plat::SleepMs(10);
    }
    return false;
  }
  static void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
      int nStatus = 0;
      if (waitpid(pid, &nStatus, WNOHANG) == pid) return;
      plat::SleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  pid_t m_nPid = 0;
  std::string m_strDisplay;
  std::string m_strWhy;
};
