// The built program, run headless in temporary folders: its report log, its
// exit status and standard error, its command line, and the test-play link.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/text/cp932.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

// Runs brimvale headless in its own temporary project folder, with its
// one-running-copy lock in a runtime folder of its own.
class BrimvaleRun : public ::testing::Test {
 protected:
  BrimvaleRun() { CopyDefaultGame(m_Dir.Path()); }
  std::vector<std::string> Env(const std::string& strAnswers = "") const {
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + m_Runtime.Path()};
    if (!strAnswers.empty()) env.push_back("BRIMVALE_BOX_ANSWERS=" + strAnswers);
    return env;
  }
  cProcessResult Run(std::vector<std::string> args, const std::string& strAnswers = "") {
    args.insert(args.begin(), ProgramPath());
    return RunProcess(args, Env(strAnswers), m_Dir.Path(), 30);
  }
  std::string Report() const { return m_Dir.Read("Report_Game.txt"); }
  std::string FirstLine() const {
    std::string r = Report();
    return r.substr(0, r.find('\n'));
  }

  cTempFolder m_Dir;
  cTempFolder m_Runtime;
};

}  // namespace

TEST_F(BrimvaleRun, HeadlessRunWritesTheReportAndEndsAfterItsFrames) {
  cProcessResult r = Run({"--headless", "--frames", "5", "--screenshot", "shot.png"});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(r.strErr, "");
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
  std::vector<std::string> args = {ProgramPath(), "--headless", "--no-wait", "--project",
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
  std::filesystem::remove(m_Dir / "Report_Game.txt");  // the copy of the game's own
  EXPECT_FALSE(m_Dir.Has("Report_Game.txt"));
}

TEST_F(BrimvaleRun, MissingCommandLineFileIsReportedOnceAndTheRunEndsAtOnce) {
  std::string strLong(300, 'L');
  struct Case {
    std::string strArg;
    std::string strLine;
  };
  for (const Case& c : {Case{"nothere.stg4", "「nothere.stg4」の読み込みに失敗しました！"},
                        Case{"\"quoted.stg4\"", "「quoted.stg4」の読み込みに失敗しました！"},
                        Case{strLong, "「" + strLong + "」の読み込みに失敗しました！"}}) {
    cProcessResult r = Run({"--headless", "--frames", "2", "--screenshot", "shot.png", c.strArg});
    ASSERT_TRUE(r.bExited) << c.strArg;
    EXPECT_EQ(r.nExitCode, 1);
    EXPECT_NE(Report().find("\n" + c.strLine + "\n"), std::string::npos) << Report();
    EXPECT_EQ(OwnErrorLines(r.strErr),
              std::vector<std::string>{plat::Cp932ToUtf8(
                  "brimvale: cannot open the stage or replay file to start with: " + c.strLine)});
    // No title came up to run its frames: there is no picture of one.
    EXPECT_FALSE(m_Dir.Has("shot.png"));
  }
}

namespace {

// '*' in an expected line stands for any text (a lock file's name).
bool LineMatches(const std::string& strLine, const std::string& strPattern) {
  const size_t nStar = strPattern.find('*');
  if (nStar == std::string::npos) return strLine == strPattern;
  const std::string strHead = strPattern.substr(0, nStar), strTail = strPattern.substr(nStar + 1);
  return strLine.size() >= strHead.size() + strTail.size() &&
         strLine.compare(0, strHead.size(), strHead) == 0 &&
         strLine.compare(strLine.size() - strTail.size(), strTail.size(), strTail) == 0;
}

}  // namespace

TEST_F(BrimvaleRun, FailuresEndWithAFailedStatusAndOneLineSayingWhy) {
  const std::string strProject = std::filesystem::canonical(m_Dir.Path()).string();
  struct Case {
    const char* szName;
    std::function<void()> prepare;
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string strLine;
    bool bSilent;         // no box is shown either: the program has no words for it
    bool bNoLog = false;  // the folder is left without a report log
  };
  const std::string strNoProjectText =
      "「data」フォルダの作成に失敗… 「default」フォルダに問題がある可能性があります。";
  m_Dir.Write("a_file", "");
  const std::vector<Case> cases = {
      {"not a project",
       [&] {
         std::filesystem::remove_all(m_Dir / "data");
         std::filesystem::remove_all(m_Dir / "default");
       },
       {"--headless", "--frames", "5"},
       {},
       "brimvale: not a project folder: it has neither a data nor a default folder: " +
           strNoProjectText,
       false,
       true},
      {"report log not creatable",
       [&] { std::filesystem::create_directory(m_Dir / "Report_Game.txt"); },
       {"--headless", "--frames", "1000000"},
       {},
       "brimvale: cannot create the report log " + strProject + "/Report_Game.txt: Is a directory",
       true},
      {"screenshot not writable",
       [] {},
       {"--headless", "--frames", "3", "--screenshot", "no_folder/shot.png"},
       {},
       "brimvale: cannot write the screenshot " + strProject +
           "/no_folder/shot.png: No such file or directory",
       true},
      {"stage file missing",
       [] {},
       {"--headless", "--frames", "3", "missing.stg4"},
       {},
       "brimvale: cannot open the stage or replay file to start with: "
       "「missing.stg4」の読み込みに失敗しました！",
       true},
      {"no display and no --headless",
       [] {},
       {"--frames", "1000000"},
       {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER=dummy"},
       "brimvale: no display (DISPLAY and WAYLAND_DISPLAY are not set); run with --headless to "
       "play without a window: ウインドウが生成出来ません！",
       false},
      {"lock file not creatable",
       [] {},
       {"--headless", "--frames", "1000000"},
       {"XDG_RUNTIME_DIR=" + (m_Dir / "a_file")},
       "brimvale: cannot take the lock that keeps a second copy out: cannot make the lock file " +
           (m_Dir / "a_file") + "/brimvale-*.lock: Not a directory",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    std::filesystem::remove_all(m_Dir.Path());
    CopyDefaultGame(m_Dir.Path());
    m_Dir.Write("a_file", "");
    c.prepare();
    std::vector<std::string> args = c.args, env = Env();
    args.insert(args.begin(), ProgramPath());
    env.insert(env.end(), c.env.begin(), c.env.end());
    cProcessResult r = RunProcess(args, env, m_Dir.Path(), 30);
    ASSERT_TRUE(r.bExited);
    EXPECT_EQ(r.nExitCode, 1);
    std::vector<std::string> lines = OwnErrorLines(r.strErr);
    ASSERT_EQ(lines.size(), 1u) << r.strErr;
    // Standard error speaks UTF-8.
    EXPECT_PRED2(LineMatches, lines[0], plat::Cp932ToUtf8(c.strLine));
    if (c.bSilent) {
      EXPECT_EQ(r.strErr.find("brimvale box ["), std::string::npos) << r.strErr;
    }
    if (c.bNoLog) {
      EXPECT_FALSE(m_Dir.Has("Report_Game.txt"));
    }
  }
}

TEST_F(BrimvaleRun, AProjectFolderThatCannotBeWrittenIsRefused) {
  // Permissions do not stop the superuser: the program then runs as nobody.
  std::vector<std::string> args = {ProgramPath(), "--headless", "--frames", "1000000"};
  if (geteuid() == 0) {
    if (!std::filesystem::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to drop root";
    args.insert(args.begin(),
                {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  }
  namespace fs = std::filesystem;
  fs::permissions(m_Dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
  fs::permissions(m_Dir.Path(), fs::perms::owner_write, fs::perm_options::remove);
  cProcessResult r = RunProcess(args, Env(), m_Dir.Path(), 30);
  fs::permissions(m_Dir.Path(), fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 1);
  EXPECT_EQ(r.strErr, "brimvale: the project folder " + fs::canonical(m_Dir.Path()).string() +
                          " cannot be written: Permission denied\n");
  EXPECT_FALSE(m_Dir.Has("Report_Game.txt"));
}

TEST_F(BrimvaleRun, CommandLines) {
  struct Case {
    std::vector<std::string> args;
    int nExit;
    std::string strOutStart;  // what standard output begins with
    std::string strErrStart;  // what standard error begins with
  };
  // The runs that play go at once, each on a project of its own.
  cTempFolder second, third;
  CopyDefaultGame(second.Path());
  CopyDefaultGame(third.Path());
  const std::vector<Case> cases = {
      {{"--help"}, 0, "usage: brimvale [options] [stage-or-replay-file]\n", ""},
      {{"-h", "--headless"}, 0, "usage: brimvale [options]", ""},
      {{"--version"}, 0, "brimvale 783\n", ""},
      {{"-v"}, 0, "brimvale 783\n", ""},
      {{"-x"}, 2, "", "brimvale: unknown option -x\nusage: brimvale"},
      {{"-"}, 2, "", "brimvale: unknown option -\n"},
      {{"--bogus"}, 2, "", "brimvale: unknown option --bogus\n"},
      {{"--help", "--bogus"}, 2, "", "brimvale: unknown option --bogus\n"},
      {{"--frames", "many"},
       2,
       "",
       "brimvale: --frames needs a whole number of frames, not \"many\""},
      {{"--frames"}, 2, "", "brimvale: --frames needs a value\n"},
      {{"--frames="}, 2, "", "brimvale: --frames needs a whole number of frames, not \"\"\n"},
      {{"--headless=yes"}, 2, "", "brimvale: --headless takes no value\n"},
      {{"a", "b"}, 2, "", "brimvale: only one stage or replay file can be given\n"},
      // A folder that is not there is no project: a failed run.
      {{"--project", m_Dir / "no_such_folder"}, 1, "", "brimvale: cannot enter the project folder"},
      // The same run spelt both ways.
      {{"--headless", "--frames=3", "--project=" + m_Dir.Path()}, 0, "", ""},
      {{"--headless", "--frames", "3", "--project", second.Path()}, 0, "", ""},
      // After "--" a name that begins with '-' is a file.
      {{"--headless", "--frames=2", "--project=" + third.Path(), "--", "-h"},
       1,
       "",
       "brimvale: cannot open the stage or replay file to start with: 「-h」"},
  };
  std::vector<std::unique_ptr<cChildProcess>> runs;
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), ProgramPath());
    runs.push_back(std::make_unique<cChildProcess>(args, Env(), m_Runtime.Path()));
  }
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    cProcessResult r = runs[i]->Wait(60);
    const std::string strArgs = testing::PrintToString(c.args);
    ASSERT_TRUE(r.bExited) << strArgs;
    EXPECT_EQ(r.nExitCode, c.nExit) << strArgs;
    EXPECT_EQ(r.strOut.substr(0, c.strOutStart.size()), c.strOutStart) << strArgs;
    if (c.strOutStart.empty()) {
      EXPECT_EQ(r.strOut, "") << strArgs;
    }
    const std::string strErrStart = plat::Cp932ToUtf8(c.strErrStart);
    EXPECT_EQ(r.strErr.substr(0, strErrStart.size()), strErrStart) << strArgs;
    if (c.strErrStart.empty()) {
      EXPECT_EQ(r.strErr, "") << strArgs;
    }
  }
  // Only the runs wrote a report, and only in their projects.
  EXPECT_FALSE(m_Runtime.Has("Report_Game.txt"));
  EXPECT_TRUE(second.Has("Report_Game.txt"));
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
      RunProcess({ProgramPath(), "--headless", "--test-play", "--frames", "2"}, env, m_Dir.Path());
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  const std::vector<uint8_t> start = {1, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0};
  const std::vector<uint8_t> end = {0, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(notices(), (std::vector<std::vector<uint8_t>>{start, end}));

  // An ordinary start says nothing to the editor.
  r = RunProcess({ProgramPath(), "--headless", "--frames", "2"}, env, m_Dir.Path());
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_TRUE(notices().empty());
  close(fd);
}
