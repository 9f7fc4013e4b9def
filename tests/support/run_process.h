// Runs a program to its end with extra environment entries, in a folder,
// killing it after a time limit; for tests that drive the built executable.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

extern char** environ;

struct cProcessResult {
  bool bEnded = false;   // gone before the time limit, however it ended
  bool bExited = false;  // ended by itself (not by the time limit or a signal)
  int nExitCode = -1;
  double dSeconds = 0;
};

class cChildProcess {
 public:
  // Starts argv[0] with env entries "NAME=value" added.
  cChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& strDir) {
    std::vector<std::string> envAll = env;
    for (char** e = environ; *e; ++e) {
      std::string s = *e;
      bool bOverridden = false;
      for (const std::string& o : env)
        if (s.substr(0, s.find('=') + 1) == o.substr(0, o.find('=') + 1)) bOverridden = true;
      if (!bOverridden) envAll.push_back(s);
    }
    std::vector<char*> av, ev;
    for (const std::string& a : argv) av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
    for (const std::string& e : envAll) ev.push_back(const_cast<char*>(e.c_str()));
    ev.push_back(nullptr);
    // The child starts in its own folder; the test's folder stays.
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, strDir.c_str());
    m_tStart = std::chrono::steady_clock::now();
    if (posix_spawn(&m_nPid, av[0], &fa, nullptr, av.data(), ev.data()) != 0) m_nPid = -1;
    posix_spawn_file_actions_destroy(&fa);
  }
  ~cChildProcess() {
    if (m_nPid > 0 && !m_bReaped) {
      kill(m_nPid, SIGKILL);
      waitpid(m_nPid, nullptr, 0);
    }
  }
  int Pid() const { return m_nPid; }

  cProcessResult Wait(double dLimitSeconds) {
    cProcessResult r;
    if (m_nPid <= 0) return r;
    for (;;) {
      int status = 0;
      pid_t p = waitpid(m_nPid, &status, WNOHANG);
      auto now = std::chrono::steady_clock::now();
      r.dSeconds = std::chrono::duration<double>(now - m_tStart).count();
      if (p == m_nPid) {
        m_bReaped = true;
        r.bEnded = true;
        r.bExited = WIFEXITED(status);
        r.nExitCode = r.bExited ? WEXITSTATUS(status) : -1;
        return r;
      }
      if (r.dSeconds > dLimitSeconds) {
        kill(m_nPid, SIGKILL);
        waitpid(m_nPid, nullptr, 0);
        m_bReaped = true;
        return r;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

 private:
  pid_t m_nPid = -1;
  bool m_bReaped = false;
  std::chrono::steady_clock::time_point m_tStart;
};

inline cProcessResult RunProcess(const std::vector<std::string>& argv,
                                 const std::vector<std::string>& env, const std::string& strDir,
                                 double dLimitSeconds = 30) {
  cChildProcess child(argv, env, strDir);
  return child.Wait(dLimitSeconds);
}
