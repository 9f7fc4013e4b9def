// A display of its own for a test: an X server with no screen to show it
// (Xvfb), started on a free display number and ended with the test. Tests
// that need a real display to show a box or a window skip without one.
#pragma once

#include <signal.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "support/run_process.h"

class cXvfb {
 public:
  cXvfb() {
    const char* szServer = "/usr/bin/Xvfb";
    if (!std::filesystem::exists(szServer)) return;
    // Parallel tests each look for their own number; a number another
    // server took makes this one end at once, and the next is tried.
    for (int nTry = 0; nTry < 20 && m_strDisplay.empty(); ++nTry) {
      const int n = 100 + (getpid() * 7 + nTry) % 800;
      const std::string strSocket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock") ||
          std::filesystem::exists(strSocket))
        continue;
      auto server = std::make_unique<cChildProcess>(
          std::vector<std::string>{szServer, ":" + std::to_string(n), "-nolisten", "tcp", "-screen",
                                   "0", "800x600x24"},
          std::vector<std::string>{}, "/");
      for (int i = 0; i < 500 && server->IsRunning(); ++i) {
        if (std::filesystem::exists(strSocket)) {
          m_strDisplay = ":" + std::to_string(n);
          m_pServer = std::move(server);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
  }
  ~cXvfb() {
    if (!m_pServer) return;
    // Ended politely, the server removes its lock and its socket.
    kill(m_pServer->Pid(), SIGTERM);
    m_pServer->Wait(10);
  }
  cXvfb(const cXvfb&) = delete;
  cXvfb& operator=(const cXvfb&) = delete;

  // ":n", or empty when no display could be started.
  const std::string& Display() const { return m_strDisplay; }

 private:
  std::unique_ptr<cChildProcess> m_pServer;
  std::string m_strDisplay;
};
