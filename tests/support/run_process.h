// Runs a program to its end with extra environment entries, in a folder,
// killing it after a time limit, with what it wrote to standard output and
// standard error; for tests that drive the built executable.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

struct cProcessResult {
  bool bEnded = false;   // gone before the time limit, however it ended
  bool bExited = false;  // ended by itself (not by the time limit or a signal)
  int nExitCode = -1;
  double dSeconds = 0;
  std::string strOut;  // standard output
  std::string strErr;  // standard error
};

class cChildProcess {
 public:
  // Starts argv[0] with env entries "NAME=value" added, or "NAME" alone
  // taken out of the environment.
  cChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& strDir) {
    auto NameOf = [](const std::string& s) { return s.substr(0, s.find('=')); };
    // A later entry for a name replaces an earlier one.
    std::vector<std::string> envAll;
    for (size_t i = 0; i < env.size(); ++i) {
      bool bLater = false;
      for (size_t j = i + 1; j < env.size(); ++j)
        if (NameOf(env[i]) == NameOf(env[j])) bLater = true;
      if (!bLater && env[i].find('=') != std::string::npos) envAll.push_back(env[i]);
    }
    for (char** e = environ; *e; ++e) {
      std::string s = *e;
      bool bOverridden = false;
      for (const std::string& o : env)
        if (NameOf(s) == NameOf(o)) bOverridden = true;
      if (!bOverridden) envAll.push_back(s);
    }
    std::vector<char*> av, ev;
    for (const std::string& a : argv) av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
    for (const std::string& e : envAll) ev.push_back(const_cast<char*>(e.c_str()));
    ev.push_back(nullptr);
    std::string tmpl = (std::filesystem::temp_directory_path() / "brimvale-out-XXXXXX").string();
    if (mkdtemp(tmpl.data())) m_strOutDir = tmpl;
    // The child starts in its own folder; the test's folder stays.
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, strDir.c_str());
    if (!m_strOutDir.empty()) {
      posix_spawn_file_actions_addopen(&fa, 1, (m_strOutDir + "/out").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
      posix_spawn_file_actions_addopen(&fa, 2, (m_strOutDir + "/err").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    m_tStart = std::chrono::steady_clock::now();
    if (posix_spawn(&m_nPid, av[0], &fa, nullptr, av.data(), ev.data()) != 0) m_nPid = -1;
    posix_spawn_file_actions_destroy(&fa);
  }
  ~cChildProcess() {
    if (m_nPid > 0 && !m_bReaped) {
      kill(m_nPid, SIGKILL);
      waitpid(m_nPid, nullptr, 0);
    }
    std::error_code ec;
    if (!m_strOutDir.empty()) std::filesystem::remove_all(m_strOutDir, ec);
  }
  cChildProcess(const cChildProcess&) = delete;
  cChildProcess& operator=(const cChildProcess&) = delete;

  int Pid() const { return m_nPid; }

  // Whether the program still runs (an ended one is reaped here).
  bool IsRunning() {
    if (m_nPid <= 0 || m_bReaped) return false;
    return !Reap();
  }

  cProcessResult Wait(double dLimitSeconds) {
    cProcessResult r;
    if (m_nPid <= 0) return r;
    bool bEnded = m_bReaped;
    while (!bEnded) {
      bEnded = Reap();
      if (bEnded) break;
      if (Seconds() > dLimitSeconds) {
        kill(m_nPid, SIGKILL);
        waitpid(m_nPid, nullptr, 0);
        m_bReaped = true;
        m_dEnd = Seconds();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    r.dSeconds = m_dEnd;
    if (bEnded) {
      r.bEnded = true;
      r.bExited = WIFEXITED(m_nStatus);
      r.nExitCode = r.bExited ? WEXITSTATUS(m_nStatus) : -1;
    }
    r.strOut = ReadOutput("out");
    r.strErr = ReadOutput("err");
    return r;
  }

 private:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tStart).count();
  }
  bool Reap() {
    int status = 0;
    if (waitpid(m_nPid, &status, WNOHANG) != m_nPid) return false;
    m_bReaped = true;
    m_nStatus = status;
    m_dEnd = Seconds();
    return true;
  }
  std::string ReadOutput(const char* szName) const {
    if (m_strOutDir.empty()) return std::string();
    std::ifstream in(m_strOutDir + "/" + szName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  pid_t m_nPid = -1;
  bool m_bReaped = false;
  int m_nStatus = 0;
  double m_dEnd = 0;
  std::string m_strOutDir;
  std::chrono::steady_clock::time_point m_tStart;
};

inline cProcessResult RunProcess(const std::vector<std::string>& argv,
                                 const std::vector<std::string>& env, const std::string& strDir,
                                 double dLimitSeconds = 30) {
  cChildProcess child(argv, env, strDir);
  return child.Wait(dLimitSeconds);
}

// The lines of the program's standard error that are its own, without the
// transcript of the boxes a run without a window answered by itself.
inline std::vector<std::string> OwnErrorLines(const std::string& strErr) {
  std::vector<std::string> out;
  for (size_t nPos = 0; nPos < strErr.size();) {
    size_t nEnd = strErr.find('\n', nPos);
    if (nEnd == std::string::npos) nEnd = strErr.size();
    std::string strLine = strErr.substr(nPos, nEnd - nPos);
    if (strLine.rfind("brimvale box [", 0) != 0) out.push_back(strLine);
    nPos = nEnd + 1;
  }
  return out;
}
