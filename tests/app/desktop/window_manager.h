// A window manager on the test's X server (openbox), for tests whose fault
// shows only where windows get frames: started for one test, ended with it.
// Where none can be started, Start() is false and Why() says why.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock/clock.h"
#include "support/temp_folder.h"

class cWindowManager {
 public:
  cWindowManager() = default;
  cWindowManager(const cWindowManager&) = delete;
  cWindowManager& operator=(const cWindowManager&) = delete;
  ~cWindowManager() { Stop(); }

  // Starts it on $DISPLAY and waits until it manages the screen: openbox
  // runs its start-up command once it does.
  bool Start() {
    if (!std::filesystem::exists("/usr/bin/openbox")) {
      m_strWhy = "openbox is not installed (scripts/setup test installs it)";
      return false;
    }
    const std::string strReady = m_Home / "ready";
    const std::string strStartup = "touch " + strReady;
    const std::string strHome = m_Home.Path();
    const pid_t pid = fork();
    if (pid < 0) {
      m_strWhy = "openbox could not be started";
      return false;
    }
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      // Its settings and caches stay in the test's folder.
      setenv("HOME", strHome.c_str(), 1);
      setenv("XDG_CONFIG_HOME", strHome.c_str(), 1);
      setenv("XDG_CACHE_HOME", strHome.c_str(), 1);
      const int fd = open("/dev/null", O_WRONLY);
      if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
      }
      execl("/usr/bin/openbox", "openbox", "--sm-disable", "--startup", strStartup.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    m_nPid = pid;
    for (int i = 0; i < 1000; ++i) {
      int nStatus = 0;
      if (waitpid(pid, &nStatus, WNOHANG) == pid) {
        m_nPid = 0;
        m_strWhy = "openbox ended as it started";
        return false;
      }
      if (std::filesystem::exists(strReady)) return true;
      plat::SleepMs(10);
    }
    Stop();
    m_strWhy = "openbox did not take the screen within ten seconds";
    return false;
  }

  void Stop() {
    if (m_nPid <= 0) return;
    kill(m_nPid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
      int nStatus = 0;
      if (waitpid(m_nPid, &nStatus, WNOHANG) == m_nPid) {
        m_nPid = 0;
        return;
      }
      plat::SleepMs(10);
    }
    kill(m_nPid, SIGKILL);
    waitpid(m_nPid, nullptr, 0);
    m_nPid = 0;
  }

  const std::string& Why() const { return m_strWhy; }

 private:
  cTempFolder m_Home;
  pid_t m_nPid = 0;
  std::string m_strWhy;
};
