// One running copy per project folder, on the built program: two games run
// side by side, the same game started twice asks, and a copy that does not
// start leaves the running one alone. A copy waiting behind its question
// ends on a close signal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "platform/text/cp932.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "support/xvfb.h"

namespace {

class SingleCopyRun : public ::testing::Test {
 protected:
  SingleCopyRun() { CopyDefaultGame(m_Project.Path()); }

  std::vector<std::string> Env(const std::string& strAnswers = "") const {
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + m_Runtime.Path()};
    if (!strAnswers.empty()) env.push_back("BRIMVALE_BOX_ANSWERS=" + strAnswers);
    return env;
  }
  // A copy that runs until it is told to close.
  std::unique_ptr<cChildProcess> StartRunning(const std::string& strProject) {
    return std::make_unique<cChildProcess>(
        std::vector<std::string>{ProgramPath(), "--headless", "--project", strProject}, Env(),
        m_Runtime.Path());
  }
  // Waits until the copy's start-up is over: its report's last start-up line.
  static bool WaitStarted(const std::string& strProject) {
    for (int i = 0; i < 3000; ++i) {
      std::ifstream in(strProject + "/Report_Game.txt", std::ios::binary);
      std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (s.find("\nSound : ") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // Whether the program has its own handler for SIGTERM yet (before that,
  // the signal would simply end it).
  static bool WaitCatchesSigterm(cChildProcess& child) {
    const std::string strStatus = "/proc/" + std::to_string(child.Pid()) + "/status";
    for (int i = 0; i < 3000 && child.IsRunning(); ++i) {
      std::ifstream in(strStatus);
      for (std::string strLine; std::getline(in, strLine);)
        if (strLine.rfind("SigCgt:", 0) == 0 &&
            (std::stoull(strLine.substr(7), nullptr, 16) >> (SIGTERM - 1) & 1))
          return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  std::vector<std::string> LockFiles() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(m_Runtime.Path()))
      if (e.path().extension() == ".lock") out.push_back(e.path().filename());
    return out;
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

}  // namespace

TEST_F(SingleCopyRun, TwoProjectsRunAtOnceWithoutAsking) {
  cTempFolder other;
  CopyDefaultGame(other.Path());
  std::unique_ptr<cChildProcess> first = StartRunning(other.Path());
  ASSERT_TRUE(WaitStarted(other.Path()));
  EXPECT_EQ(LockFiles().size(), 1u);

  cProcessResult second =
      RunProcess({ProgramPath(), "--headless", "--frames", "3", "--project", m_Project.Path()},
                 Env("yes"), m_Runtime.Path());
  ASSERT_TRUE(second.bExited);
  EXPECT_EQ(second.nExitCode, 0);
  EXPECT_EQ(second.strErr, "");  // nothing was asked
  EXPECT_TRUE(first->IsRunning());

  kill(first->Pid(), SIGTERM);
  cProcessResult r = first->Wait(30);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  // Each copy took its lock away with it.
  EXPECT_EQ(LockFiles(), std::vector<std::string>());
}

TEST_F(SingleCopyRun, TheSameProjectTwiceAsksAndARefusedCopyTouchesNothing) {
  std::unique_ptr<cChildProcess> first = StartRunning(m_Project.Path());
  ASSERT_TRUE(WaitStarted(m_Project.Path()));
  // A mark in the running copy's report: a second copy that opened the log
  // would wipe it.
  { std::ofstream(m_Project / "Report_Game.txt", std::ios::app) << "mark\n"; }
  const std::string strReport = m_Project.Read("Report_Game.txt");

  // Another spelling of the same folder is the same project.
  const std::string strLink = m_Runtime / "link";
  std::filesystem::create_directory_symlink(m_Project.Path(), strLink);
  const std::string strPid = std::to_string(first->Pid());

  // Unattended, the question is answered No: this copy does not start.
  cProcessResult no = RunProcess(
      {ProgramPath(), "--headless", "--frames", "1", "--project", strLink}, Env(), m_Runtime.Path());
  ASSERT_TRUE(no.bExited);
  EXPECT_EQ(no.nExitCode, 1);
  EXPECT_EQ(OwnErrorLines(no.strErr),
            std::vector<std::string>{"brimvale: this project is already running (process " +
                                     strPid + "); not started"});
  EXPECT_NE(no.strErr.find(plat::Cp932ToUtf8("brimvale box [二重起動] ")), std::string::npos)
      << no.strErr;
  EXPECT_NE(no.strErr.find("(PID " + strPid + ") -> no (default)"), std::string::npos) << no.strErr;
  EXPECT_TRUE(first->IsRunning());
  EXPECT_EQ(m_Project.Read("Report_Game.txt"), strReport);

  // Yes: the first copy is asked to close and this one runs. On a loaded
  // machine the first may miss the half-second it is given and be ended.
  cProcessResult yes =
      RunProcess({ProgramPath(), "--headless", "--frames", "3", "--project", m_Project.Path()},
                 Env("yes"), m_Runtime.Path());
  ASSERT_TRUE(yes.bExited);
  EXPECT_EQ(yes.nExitCode, 0);
  cProcessResult firstEnd = first->Wait(30);
  EXPECT_TRUE(firstEnd.bEnded);
  if (firstEnd.bExited) {
    EXPECT_EQ(firstEnd.nExitCode, 0);
  }
  EXPECT_EQ(LockFiles(), std::vector<std::string>());
}

TEST_F(SingleCopyRun, ACopyWaitingOnItsQuestionEndsOnACloseSignal) {
  cXvfb display;
  if (display.Display().empty()) GTEST_SKIP() << "no Xvfb to show the question on";
  std::unique_ptr<cChildProcess> first = StartRunning(m_Project.Path());
  ASSERT_TRUE(WaitStarted(m_Project.Path()));

  // The second copy asks in a real box, and nobody answers.
  std::vector<std::string> env = Env();
  env.insert(env.end(), {"DISPLAY=" + display.Display(), "WAYLAND_DISPLAY", "NO_AT_BRIDGE=1",
                         "SDL_AUDIODRIVER=dummy", "BRIMVALE_BOX_ANSWERS"});
  cChildProcess second({ProgramPath(), "--project", m_Project.Path()}, env, m_Runtime.Path());
  // Once it takes close signals itself it goes on to its question; a
  // moment later it is waiting there.
  ASSERT_TRUE(WaitCatchesSigterm(second));
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  ASSERT_TRUE(second.IsRunning()) << second.Wait(0).strErr;
  kill(second.Pid(), SIGTERM);
  cProcessResult r = second.Wait(10);
  ASSERT_TRUE(r.bExited) << "still waiting on its question";
  EXPECT_EQ(r.nExitCode, 1);
  const std::vector<std::string> lines = OwnErrorLines(r.strErr);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "brimvale: this project is already running (process " +
                              std::to_string(first->Pid()) + "); not started");
  EXPECT_TRUE(first->IsRunning());
  kill(first->Pid(), SIGTERM);
  EXPECT_TRUE(first->Wait(30).bExited);
}
