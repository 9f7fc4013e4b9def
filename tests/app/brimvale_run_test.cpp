// The built program, run headless in temporary folders: its report log, its
// exit code, the single running copy and its bad-input behaviour.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

namespace {

// Runs brimvale headless in its own temporary project folder, with its
// single-copy lock in that folder too so runs never meet each other.
class BrimvaleRun : public ::testing::Test {
 protected:
  BrimvaleRun() { CopyDefaultGame(m_Dir.Path()); }
  std::vector<std::string> Env(const std::string& strAnswers = "") const {
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + m_Dir.Path()};
    if (!strAnswers.empty()) env.push_back("BRIMVALE_BOX_ANSWERS=" + strAnswers);
    return env;
  }
  cProcessResult Run(std::vector<std::string> args, const std::string& strAnswers = "") {
    args.insert(args.begin(), BRIMVALE_EXE);
    return RunProcess(args, Env(strAnswers), m_Dir.Path(), 30);
  }
  std::string Report() const { return m_Dir.Read("Report_Game.txt"); }
  std::string FirstLine() const {
    std::string r = Report();
    return r.substr(0, r.find('\n'));
  }

  cTempFolder m_Dir;
};

}  // namespace

TEST_F(BrimvaleRun, HeadlessRunWritesTheReportAndEndsAfterItsFrames) {
  cProcessResult r = Run({"--headless", "--frames", "5", "--screenshot", "shot.png"});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(FirstLine(), "App : ver 783");
  std::string strReport = Report();
  for (const char* szLine : {"\nOS : ", "\nCPU : ", "\nMem Total : ", "\nHD Free : "})
    EXPECT_NE(strReport.find(szLine), std::string::npos) << szLine;
  EXPECT_TRUE(m_Dir.Has("shot.png"));
  EXPECT_FALSE(m_Dir.Has("EC_Game.txt"));
}

TEST_F(BrimvaleRun, ProjectFolderOptionAndARunWithoutAFrameLimitEndsOnRequest) {
  cTempFolder project;
  CopyDefaultGame(project.Path());
  std::vector<std::string> args = {BRIMVALE_EXE, "--headless", "--no-wait", "--project",
                                   project.Path()};
  cChildProcess child(args, Env(), m_Dir.Path());
  for (int i = 0; i < 3000 && project.Read("Report_Game.txt").find("HD Free") == std::string::npos;
       ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(project.Read("Report_Game.txt").substr(0, 13), "App : ver 783");
  kill(child.Pid(), SIGTERM);
  cProcessResult r = child.Wait(30);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_FALSE(m_Dir.Has("Report_Game.txt"));
}

TEST_F(BrimvaleRun, MissingCommandLineFileIsReportedOnceAndPlayGoesOn) {
  std::string strLong(300, 'L');
  struct Case {
    std::string strArg;
    std::string strLine;
  };
  for (const Case& c : {Case{"nothere.stg4", "「nothere.stg4」の読み込みに失敗しました！"},
                        Case{"\"quoted.stg4\"", "「quoted.stg4」の読み込みに失敗しました！"},
                        Case{strLong, "「" + strLong + "」の読み込みに失敗しました！"}}) {
    cProcessResult r = Run({"--headless", "--frames", "2", c.strArg});
    ASSERT_TRUE(r.bExited) << c.strArg;
    EXPECT_EQ(r.nExitCode, 0);
    EXPECT_NE(Report().find("\n" + c.strLine + "\n"), std::string::npos) << Report();
  }
}

TEST_F(BrimvaleRun, ReportLogThatCannotBeMadeEndsTheProgramQuietly) {
  std::filesystem::create_directory(m_Dir / "Report_Game.txt");
  cProcessResult r = Run({"--headless", "--frames", "1000000"});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_LT(r.dSeconds, 25);  // it did not wait for its frames
}

TEST_F(BrimvaleRun, BadCommandLinesAreRefusedWithAUsage) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--frames", "many"},
                                        {"--frames"},
                                        {"--bogus"},
                                        {"a", "b"},
                                        {"--project", (m_Dir / "no_such_folder")}}) {
    cProcessResult r = Run(args);
    ASSERT_TRUE(r.bExited);
    EXPECT_EQ(r.nExitCode, 2) << args[0];
  }
  EXPECT_FALSE(m_Dir.Has("Report_Game.txt"));
}

TEST_F(BrimvaleRun, SecondCopyAsksAndOnlyYesEndsTheFirst) {
  cTempFolder first;
  CopyDefaultGame(first.Path());
  std::vector<std::string> args = {BRIMVALE_EXE, "--headless", "--project", first.Path()};
  cChildProcess running(args, Env(), m_Dir.Path());
  // The first copy holds the lock once the lock file names it.
  std::string strPid = std::to_string(running.Pid()) + "\n";
  bool bHeld = false;
  for (int i = 0; i < 3000 && !bHeld; ++i) {
    for (const auto& e : std::filesystem::directory_iterator(m_Dir.Path()))
      if (e.path().extension() == ".lock" && m_Dir.Read(e.path().filename()) == strPid)
        bHeld = true;
    if (!bHeld) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(bHeld);

  // Unattended, the question is answered No: this copy ends, the first stays.
  cProcessResult no = Run({"--headless", "--frames", "1"});
  ASSERT_TRUE(no.bExited);
  EXPECT_EQ(no.nExitCode, 0);
  EXPECT_EQ(kill(running.Pid(), 0), 0);

  // Yes: the first copy is asked to close and this one runs. The first copy
  // is reaped as soon as it ends, as its parent would; on a loaded machine
  // it may miss the half-second it is given and be ended instead.
  cProcessResult firstEnd;
  std::thread reaper([&] { firstEnd = running.Wait(30); });
  cProcessResult yes = Run({"--headless", "--frames", "3"}, "yes");
  reaper.join();
  ASSERT_TRUE(yes.bExited);
  EXPECT_EQ(yes.nExitCode, 0);
  EXPECT_TRUE(firstEnd.bEnded);
  if (firstEnd.bExited) {
    EXPECT_EQ(firstEnd.nExitCode, 0);
  }
}

TEST_F(BrimvaleRun, TestPlayTellsTheEditorItsStartAndItsEnd) {
  std::string strSock = m_Dir / "editor.sock";
  int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, strSock.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  auto notices = [&] {
    std::vector<std::vector<uint8_t>> out;
    uint8_t buf[64];
    for (ssize_t n; (n = recv(fd, buf, sizeof buf, MSG_DONTWAIT)) > 0;)
      out.emplace_back(buf, buf + n);
    return out;
  };
  std::vector<std::string> env = Env();
  env.push_back("BRIMVALE_EDITOR_SOCKET=" + strSock);

  cProcessResult r =
      RunProcess({BRIMVALE_EXE, "--headless", "--test-play", "--frames", "2"}, env, m_Dir.Path());
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  const std::vector<uint8_t> start = {1, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0};
  const std::vector<uint8_t> end = {0, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(notices(), (std::vector<std::vector<uint8_t>>{start, end}));

  // An ordinary start says nothing to the editor.
  r = RunProcess({BRIMVALE_EXE, "--headless", "--frames", "2"}, env, m_Dir.Path());
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_TRUE(notices().empty());
  close(fd);
}
