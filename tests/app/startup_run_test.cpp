// Start-up of the built program on the bundled default game and on damaged
// copies of it: which files it reads, in which drawing mode it comes up, and
// how it ends when a step fails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/cp932.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

class StartUpRun : public ::testing::Test {
 protected:
  cProcessResult Run(const std::vector<std::string>& extra, const std::string& strAnswers = "",
                     const std::string& strDialogAnswers = "") {
    std::vector<std::string> args = {ProgramPath(), "--headless",   "--frames",
                                     "5",          "--screenshot", "shot.png"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + m_Dir.Path()};
    if (!strAnswers.empty()) env.push_back("BRIMVALE_BOX_ANSWERS=" + strAnswers);
    if (!strDialogAnswers.empty()) env.push_back("BRIMVALE_DIALOG_ANSWERS=" + strDialogAnswers);
    return RunProcess(args, env, m_Dir.Path(), 30);
  }
  std::string Report() const { return m_Dir.Read("Report_Game.txt"); }
  bool ReportHasLine(const std::string& strLine) const {
    return Report().find("\n" + strLine + "\n") != std::string::npos;
  }
  // Lines a failing step writes: its own failure texts and the drawing
  // library's error codes.
  std::vector<std::string> ErrorLines() const {
    std::vector<std::string> out;
    std::string r = Report();
    for (size_t nPos = 0; nPos < r.size();) {
      size_t nEnd = r.find('\n', nPos);
      if (nEnd == std::string::npos) nEnd = r.size();
      std::string strLine = r.substr(nPos, nEnd - nPos);
      for (const char* szMark : {"失敗", "Err", "エラー", "不正"})
        if (strLine.find(szMark) != std::string::npos) {
          out.push_back(strLine);
          break;
        }
      nPos = nEnd + 1;
    }
    return out;
  }
  void SetIni(const std::string& strText) const { m_Dir.Write("System.ini", strText); }
  // The PNG's width and height from its header; 0 x 0 when there is none.
  std::pair<int, int> ShotSize() const {
    std::string s = m_Dir.Read("shot.png");
    if (s.size() < 24 || s.compare(1, 3, "PNG") != 0) return {0, 0};
    auto Be32 = [&](size_t i) {
      return int(uint8_t(s[i])) << 24 | int(uint8_t(s[i + 1])) << 16 | int(uint8_t(s[i + 2])) << 8 |
             int(uint8_t(s[i + 3]));
    };
    return {Be32(16), Be32(20)};
  }

  cTempFolder m_Dir;
};

constexpr const char* kIniTail = "VSync=2\r\nShowFps=1\r\nExit\r\n";

}  // namespace

TEST_F(StartUpRun, DefaultGameComesUpCleanInEitherDrawingModeAndScreen) {
  struct Case {
    const char* szIni;
    bool bDirect3D;
  };
  for (const Case& c : {Case{"Direct3D=1\r\nWindowMode=1\r\nBpp=0\r\n", true},
                        Case{"Direct3D=0\r\nWindowMode=1\r\nBpp=0\r\n", false},
                        Case{"Direct3D=1\r\nWindowMode=0\r\nBpp=16\r\n", true},
                        Case{"Direct3D=0\r\nWindowMode=0\r\nBpp=8\r\n", false},
                        // Asking for the start dialog comes up in Direct3D.
                        Case{"Direct3D=2\r\nWindowMode=1\r\nBpp=0\r\n", true}}) {
    CopyDefaultGame(m_Dir.Path());
    SetIni(std::string(c.szIni) + kIniTail);
    std::filesystem::remove(m_Dir / "shot.png");
    cProcessResult r = Run({});
    ASSERT_TRUE(r.bExited) << c.szIni;
    EXPECT_EQ(r.nExitCode, 0) << c.szIni;
    EXPECT_EQ(ErrorLines(), std::vector<std::string>()) << c.szIni;
    // Only a Direct3D device reports its device type.
    EXPECT_EQ(Report().find("\nDevice ") != std::string::npos, c.bDirect3D) << c.szIni;
    // The last frame went through the drawing library to the screen.
    EXPECT_EQ(ShotSize(), std::make_pair(640, 480)) << c.szIni;
  }
  // Start-up made the player's folders.
  for (const char* szFolder : {"user_data/rpl4", "data/stg4/old_ver", "bmp/hbt", "bgm"})
    EXPECT_TRUE(std::filesystem::is_directory(m_Dir / szFolder)) << szFolder;
}

TEST_F(StartUpRun, ProjectWithOnlyFactoryDataIsOfferedTheCopy) {
  CopyDefaultGame(m_Dir.Path());
  std::filesystem::rename(m_Dir / "data", m_Dir / "default");

  // No: nothing is copied and start-up ends with its report, as a failure.
  cProcessResult r = Run({}, "no");
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 1);
  EXPECT_EQ(
      OwnErrorLines(r.strErr),
      std::vector<std::string>{plat::Cp932ToUtf8(
          "brimvale: the project's data folder was not made from its default folder: "
          "「data」フォルダの作成に失敗… 「default」フォルダに問題がある可能性があります。")});
  EXPECT_TRUE(ReportHasLine(
      "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。"));
  EXPECT_FALSE(m_Dir.Has("data"));
  EXPECT_FALSE(m_Dir.Has("shot.png"));

  // Yes: the factory data becomes the project's and the game runs on it.
  r = Run({}, "yes");
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(m_Dir.Read("data/System.dat"), m_Dir.Read("default/System.dat"));
  EXPECT_EQ(m_Dir.Read("data/database/Sound.dat"), m_Dir.Read("default/database/Sound.dat"));
  EXPECT_EQ(ErrorLines(), std::vector<std::string>());
  EXPECT_EQ(ShotSize(), std::make_pair(640, 480));
}

TEST_F(StartUpRun, UnreadableProjectFileEndsStartUpWithItsReport) {
  struct Case {
    const char* szFile;  // under the project folder
    bool bTooNew;        // made one version newer than the program, else removed
    std::vector<std::string> lines;
  };
  const std::string strFailed = "brimvale: start-up failed; the report log " +
                                std::filesystem::canonical(m_Dir.Path()).string() +
                                "/Report_Game.txt says why";
  const std::vector<Case> cases = {
      {"data/database/Effect.dat",
       false,
       {"data\\database\\Effect.dat の読み込みに失敗しました！", "データベースの読み込みに失敗…"}},
      {"data/database/Bgm.dat",
       true,
       {"data\\database\\Bgm.dat の読み込みに失敗しました！\nソフトより上位のバージョンのファイ"
        "ルは使用できません。",
        "データベースの読み込みに失敗…"}},
      {"data/System.dat", true, {"data\\System.dat の読み込みに失敗…"}},
      {"data/System.dat", false, {"data\\System.dat の読み込みに失敗…"}},
      {"data/CommonPalette.cplt4", false, {"data\\CommonPalette.cplt4 のロードに失敗！"}},
      {"data/CommonPalette.cplt4", true, {"data\\CommonPalette.cplt4 のロードに失敗！"}},
      // The palette picture's failure goes to the debug log only.
      {"bmp/plt/Palette.bmp", false, {}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(m_Dir.Path());
    CopyDefaultGame(m_Dir.Path());
    if (c.bTooNew) {
      std::string s = m_Dir.Read(c.szFile);
      ASSERT_GE(s.size(), 4u);
      s.replace(0, 4, std::string("\x10\x03\0\0", 4));  // 784
      m_Dir.Write(c.szFile, s);
    } else {
      std::filesystem::remove(m_Dir / c.szFile);
    }
    cProcessResult r = Run({});
    ASSERT_TRUE(r.bExited) << c.szFile;
    EXPECT_EQ(r.nExitCode, 1) << c.szFile;
    for (const std::string& strLine : c.lines)
      EXPECT_TRUE(ReportHasLine(strLine)) << c.szFile << "\n" << Report();
    // Standard error names the report, and the error box's text when one
    // was shown.
    std::string strLine = strFailed;
    if (!c.lines.empty()) strLine += ": " + plat::Cp932ToUtf8(c.lines.back());
    for (char& ch : strLine)
      if (ch == '\n') ch = ' ';
    EXPECT_EQ(OwnErrorLines(r.strErr), std::vector<std::string>{strLine}) << c.szFile;
    EXPECT_FALSE(m_Dir.Has("shot.png")) << c.szFile;  // no frame was ever shown
  }
}

TEST_F(StartUpRun, SystemIniProblemsFallBackOrStop) {
  CopyDefaultGame(m_Dir.Path());
  // Without its end line the file counts as unreadable: reported, and the
  // system data's defaults (full screen, the start dialog's Direct3D) apply.
  SetIni("Direct3D=0\r\nWindowMode=1\r\n");
  cProcessResult r = Run({});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_TRUE(ReportHasLine("System.ini の読み込みに失敗しました！"));
  EXPECT_NE(Report().find("\nDevice "), std::string::npos);
  EXPECT_EQ(ShotSize(), std::make_pair(640, 480));

  // A depth no drawing mode has ends start-up before the screen is made.
  std::filesystem::remove(m_Dir / "shot.png");
  SetIni(std::string("Direct3D=0\r\nWindowMode=0\r\nBpp=24\r\n") + kIniTail);
  r = Run({});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 1);
  EXPECT_FALSE(m_Dir.Has("shot.png"));
  EXPECT_EQ(Report().find("\nVSync : "), std::string::npos);
}

TEST_F(StartUpRun, TheStartDialogsChoiceIsKeptAndNotAskedAgain) {
  CopyDefaultGame(m_Dir.Path());
  SetIni(std::string("Direct3D=2\r\nWindowMode=1\r\nBpp=0\r\n") + kIniTail);
  // Cancel: start-up ends quietly (the player chose it: no failed status),
  // nothing saved, no screen made.
  cProcessResult r = RunProcess({ProgramPath(), "--headless", "--frames", "5"},
                                {"XDG_RUNTIME_DIR=" + m_Dir.Path(), "BRIMVALE_DIALOG_ANSWERS=1001"},
                                m_Dir.Path(), 30);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_FALSE(m_Dir.Has("user_data/Boot.dat"));
  EXPECT_EQ(Report().find("\nMode : "), std::string::npos);
  EXPECT_EQ(ErrorLines(), std::vector<std::string>());

  // DirectDraw and "do not ask again": saved, and the game comes up in it.
  r = Run({}, "", "1003,1004,1000");
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(m_Dir.Read("user_data/Boot.dat"),
            std::string("\x0f\x03\0\0\x02\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(Report().find("\nDevice "), std::string::npos);
  EXPECT_EQ(ShotSize(), std::make_pair(640, 480));

  // The next start asks nothing: an answer left for it is never taken.
  std::filesystem::remove(m_Dir / "shot.png");
  r = Run({}, "", "1001");
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(Report().find("\nDevice "), std::string::npos);
  EXPECT_EQ(ShotSize(), std::make_pair(640, 480));
}

TEST_F(StartUpRun, TheReportDescribesTheMachineThenTheDisplay) {
  CopyDefaultGame(m_Dir.Path());
  struct Case {
    const char* szIni;
    std::vector<std::string> wanted;    // line starts present, in this order
    std::vector<std::string> unwanted;  // line starts absent
  };
  const Case cases[] = {
      {"Direct3D=0\r\nWindowMode=1\r\nBpp=0\r\n",
       {"App : ver 783", "OS : ", "CPU : ", "Mem Total : ", "Mem Free : ", "Vir Total : ",
        "Vir Free : ", "HD Free : ", "Mode : Window", "Bpp : 32",
        "VRAM Total : ", "VRAM Free : ", "RR : "},
       {"TextureMem : ", "---デバイス"}},
      {"Direct3D=1\r\nWindowMode=0\r\nBpp=16\r\n",
       {"HD Free : ", "Mode : Fullscreen", "Bpp : 16", "TextureMem : ", "---デバイス0",
        "DDI : ", "TextureMaxSize : (", "TextureMaxBlend : (", "AU-SU ", "WR-SU "},
       {"VRAM Total : ", "RR : "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szIni);
    SetIni(std::string(c.szIni) + kIniTail);
    cProcessResult r = Run({});
    ASSERT_TRUE(r.bExited);
    const std::string strReport = "\n" + Report();
    size_t nAt = 0;
    for (const std::string& s : c.wanted) {
      const size_t nFound = strReport.find("\n" + s, nAt);
      EXPECT_NE(nFound, std::string::npos) << s << "\n" << strReport;
      if (nFound != std::string::npos) nAt = nFound + 1;
    }
    for (const std::string& s : c.unwanted)
      EXPECT_EQ(strReport.find("\n" + s), std::string::npos) << s;
    // A disk with more than 2 GB free shows 2048 at most.
    const size_t nHd = strReport.find("\nHD Free : ");
    ASSERT_NE(nHd, std::string::npos);
    EXPECT_LE(std::atoi(strReport.c_str() + nHd + 11), 2048);
  }
}

TEST_F(StartUpRun, TwoGigabyteFilesAreRefusedAtOnce) {
  // Sparse: 2 GiB that take no room, and would take seconds and all of that
  // memory to read.
  struct Case {
    const char* szFile;
    bool bComesUp;  // a player's file or System.ini: refused, and the defaults apply
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"data/System.dat", false, {"data\\System.dat の読み込みに失敗…"}},
      {"data/database/Picture.dat",
       false,
       {"data\\database\\Picture.dat の読み込みに失敗しました！", "データベースの読み込みに失敗…"}},
      {"data/CommonPalette.cplt4", false, {"data\\CommonPalette.cplt4 のロードに失敗！"}},
      {"System.ini", true, {"System.ini の読み込みに失敗しました！"}},
      {"user_data/Option.dat", true, {}},
      {"user_data/Window.dat", true, {}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(m_Dir.Path());
    CopyDefaultGame(m_Dir.Path());
    SetIni(std::string("Direct3D=0\r\nWindowMode=1\r\n") + kIniTail);
    std::filesystem::create_directories(m_Dir / "user_data");
    if (!m_Dir.Has(c.szFile)) m_Dir.Write(c.szFile, "");
    std::filesystem::resize_file(m_Dir / c.szFile, std::uintmax_t(2) << 30);
    cProcessResult r = Run({});
    ASSERT_TRUE(r.bExited) << c.szFile;
    // A start-up that ends on the refused file says so in its status.
    EXPECT_EQ(r.nExitCode, c.bComesUp ? 0 : 1) << c.szFile;
    for (const std::string& strLine : c.lines)
      EXPECT_TRUE(ReportHasLine(strLine)) << c.szFile << "\n" << Report();
    EXPECT_EQ(ErrorLines().size(), c.lines.size()) << c.szFile << "\n" << Report();
    EXPECT_EQ(m_Dir.Has("shot.png"), c.bComesUp) << c.szFile;
  }
}

TEST_F(StartUpRun, TemporariesOfInterruptedSavesGoAtTheNextStart) {
  CopyDefaultGame(m_Dir.Path());
  SetIni(std::string("Direct3D=0\r\nWindowMode=1\r\n") + kIniTail);
  // A save killed before its rename left its temporary file; the saved file
  // itself is whole. Files that only look like one stay.
  m_Dir.Write("user_data/KeyConfig.dat", std::string(108, '\0'));
  m_Dir.Write("user_data/KeyConfig.dat.k3Yx0Q.saving", "half");
  m_Dir.Write("user_data/story/Story1.dat.AAAAAA.saving", "half");
  m_Dir.Write("KeyConfig.dat.k3Yx0Q.saving", "half");
  const char* const kKept[] = {"user_data/KeyConfig.dat", "user_data/KeyConfig.dat.k3Yx0Q",
                               "user_data/my.saving", "bmp/back/sky.bmp.k3Yx0Q.saving.bak"};
  for (const char* sz : kKept)
    if (!m_Dir.Has(sz)) m_Dir.Write(sz, "keep");
  // All of it from a run an hour ago.
  for (const auto& e : std::filesystem::recursive_directory_iterator(m_Dir.Path()))
    std::filesystem::last_write_time(
        e.path(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  cProcessResult r = Run({});
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_FALSE(m_Dir.Has("user_data/KeyConfig.dat.k3Yx0Q.saving"));
  EXPECT_FALSE(m_Dir.Has("user_data/story/Story1.dat.AAAAAA.saving"));
  EXPECT_FALSE(m_Dir.Has("KeyConfig.dat.k3Yx0Q.saving"));
  for (const char* sz : kKept) EXPECT_TRUE(m_Dir.Has(sz)) << sz;
  EXPECT_EQ(m_Dir.Read("user_data/KeyConfig.dat"), std::string(108, '\0'));
  EXPECT_TRUE(ReportHasLine("removed 3 temporary file(s) of interrupted saves")) << Report();
}
