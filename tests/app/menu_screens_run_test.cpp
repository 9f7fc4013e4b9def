// The built program walks the menus of a small game of the tests' own by
// scripted keys, in Direct3D and in DirectDraw: each run ends at a fixed
// frame whose picture must match its golden picture, and the files the
// menus write are checked where a run saves. A deliberate change to what a
// menu shows records the pictures again with BRIMVALE_RECORD_GOLDEN=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "files/options.h"
#include "files/play_data.h"
#include "support/menu_project.h"
#include "support/keyed_run.h"
#include "support/png_decode.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path ScreensFolder() { return std::filesystem::path(TestDataDir()) / "screens"; }

// Presses a key for one frame.
std::string Tap(int nFrame, const char* szKey) {
  return std::to_string(nFrame) + " +" + szKey + "\n" + std::to_string(nFrame + 1) + " -" + szKey +
         "\n";
}

// Menu entries of the title, from its first row.
std::string TitleChoice(int nRow, int nFrame = 40) {
  std::string s;
  for (int i = 0; i < nRow; ++i) s += Tap(nFrame + 2 * i, "Down");
  return s + Tap(nFrame + 2 * nRow + 2, "Z");
}

struct SCREEN {
  const char* szName;
  int nFrames;
  std::string strKeys;
};

// From the title to the world map by a new story: the map has faded in by
// frame 110; the icon stands on the start cell (5, 5).
const std::string kToMap = TitleChoice(0);

const SCREEN kScreens[] = {
    // The mode menu with the cursor moved to the second row.
    {"title", 60, Tap(40, "Down")},
    // The continue entry's slot list, the cursor on slot 2 (saved).
    {"title_slots", 70, TitleChoice(1) + Tap(55, "Down")},
    // Two steps right: the icon on stage A, whose title shows.
    {"worldmap", 130, kToMap + Tap(110, "Right") + Tap(114, "Right")},
    // A step down onto the wall is undone, the icon turned down; then up
    // onto stage C, whose file is missing: its question.
    {"worldmap_enter", 150,
     kToMap + Tap(110, "Down") + Tap(114, "Down") + Tap(118, "Up") + Tap(122, "Up") +
         Tap(126, "Up") + Tap(135, "Z")},
    // A saved story continued from its slot: the icon back on stage A.
    {"title_continue", 140, TitleChoice(1) + Tap(55, "Down") + Tap(60, "Z")},
    // The ranking beside the map, switched on with button 3 on stage A.
    {"worldmap_ranking", 130, kToMap + Tap(110, "Right") + Tap(114, "Right") + Tap(120, "C")},
    // From the saved story two steps right onto stage B, which must be
    // played: its question opens at once; cancelled, the icon goes back.
    {"worldmap_mustplay", 150,
     TitleChoice(1) + Tap(55, "Down") + Tap(60, "Z") + Tap(130, "Right") + Tap(134, "Right")},
    {"worldmap_mustplay_back", 160,
     TitleChoice(1) + Tap(55, "Down") + Tap(60, "Z") + Tap(130, "Right") + Tap(134, "Right") +
         Tap(145, "X")},
    // The world-map menu.
    {"mapmenu", 180, kToMap + Tap(110, "X")},
    // Its slot list with the save question open on the second slot.
    {"mapmenu_save", 200,
     kToMap + Tap(110, "X") + Tap(170, "Z") + Tap(180, "Down") + Tap(190, "Z")},
    // Automatic saving before any save: the message alone.
    {"mapmenu_autosave", 185, kToMap + Tap(110, "X") + Tap(170, "Down") + Tap(174, "Z")},
    // The question before going back to the title.
    {"mapmenu_title", 190,
     kToMap + Tap(110, "X") + Tap(170, "Down") + Tap(172, "Down") + Tap(174, "Down") +
         Tap(178, "Z")},
    // The challenge's stage select, the cursor on stage 2.
    {"select", 110, TitleChoice(2) + Tap(100, "Down")},
    // The ranking of stage 1 beside the list.
    {"select_ranking", 110, TitleChoice(2) + Tap(100, "C")},
    // The options, the volume being raised by one.
    {"options", 120,
     TitleChoice(5) + Tap(100, "Down") + Tap(102, "Down") + Tap(106, "Z") + Tap(110, "Up")},
};

class MenuScreens : public ::testing::TestWithParam<const char*> {
 protected:
  cProcessResult RunMenus(const std::string& strKeys, int nFrames, const std::string& strShot,
                          const std::string& strAnswers = "") {
    return RunWithKeys(m_Project.Path(), m_Runtime.Path(), strKeys, nFrames, strShot, strAnswers);
  }
  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_P(MenuScreens, ScriptedWalksMatchTheirGoldens) {
  const std::string strMode = GetParam();
  const bool bRecord = std::getenv("BRIMVALE_RECORD_GOLDEN") != nullptr;
  for (const SCREEN& screen : kScreens) {
    // Each walk starts from the same files.
    std::filesystem::remove_all(m_Project.Path() + "/user_data");
    menutest::WriteMenuProject(m_Project.Path(), strMode == "d3d");
    const std::string strName = std::string("menus_") + screen.szName + "_" + strMode + ".png";
    const std::string strShot = m_Runtime / strName;
    const cProcessResult r = RunMenus(screen.strKeys, screen.nFrames, strShot);
    ASSERT_TRUE(r.bExited) << strName;
    ASSERT_EQ(r.nExitCode, 0) << strName << ": " << r.strErr;
    if (bRecord) {
      std::filesystem::create_directories(ScreensFolder());
      std::filesystem::copy_file(strShot, ScreensFolder() / strName,
                                 std::filesystem::copy_options::overwrite_existing);
      continue;
    }
    const pngtest::DECODED got = pngtest::Decode(ReadFileBytes(strShot));
    const pngtest::DECODED want = pngtest::Decode(ReadFileBytes(ScreensFolder() / strName));
    ASSERT_EQ(want.pixels.size(), got.pixels.size()) << strName;
    int nDiffer = 0;
    for (size_t i = 0; i < got.pixels.size(); ++i) nDiffer += got.pixels[i] != want.pixels[i];
    EXPECT_EQ(nDiffer, 0) << strName << ": pixels that differ from the golden picture";
  }
  if (bRecord) GTEST_SKIP() << "golden pictures recorded";
}

TEST_P(MenuScreens, MenusWriteTheirFiles) {
  if (std::string(GetParam()) != "d3d") GTEST_SKIP() << "the files do not depend on the mode";
  menutest::WriteMenuProject(m_Project.Path(), true);
  // The map menu saves the new story into the first slot: save, the second
  // slot row is left for the first, the question's first answer.
  const std::string strSave =
      kToMap + Tap(110, "X") + Tap(170, "Z") + Tap(180, "Z") + Tap(184, "Up") + Tap(188, "Z");
  cProcessResult r = RunMenus(strSave, 200, m_Runtime / "save.png");
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  {
    cCurrentFolder in(m_Project.Path());
    cPlayData saved;
    ASSERT_EQ(LoadPlayRecordFile(saved, "user_data\\story\\Story01.dat"), 1);
    EXPECT_EQ(saved.m_nMapX, 5);
    EXPECT_EQ(saved.m_nMapY, 5);
    EXPECT_EQ(saved.m_nLastSlot, 0);
  }
  // The options keep a lowered palette number (0 wraps to 23) and a raised
  // volume once the screen is left; a cancelled change (music switched
  // off) keeps the old value.
  const std::string strOptions = TitleChoice(5) + Tap(110, "Z") + Tap(114, "Down") + Tap(118, "Z") +
                                 Tap(122, "Down") + Tap(124, "Down") + Tap(128, "Z") +
                                 Tap(132, "Up") + Tap(136, "Z") + Tap(140, "Up") + Tap(144, "Z") +
                                 Tap(148, "Up") + Tap(152, "X");
  // Then the name row opens the name entry, which takes the answer typed
  // for it, and button 2 leaves.
  const std::string strName =
      Tap(156, "Down") + Tap(158, "Down") + Tap(160, "Down") + Tap(164, "Z") + Tap(170, "X");
  r = RunMenus(strOptions + strName, 220, m_Runtime / "options.png", "1003=xyz");
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  cCurrentFolder in(m_Project.Path());
  cOptionData options;
  ASSERT_EQ(options.Load("user_data\\Option.dat"), 1);
  EXPECT_EQ(options.m_nPalette, 23);
  EXPECT_EQ(options.m_nVolume, 8);
  EXPECT_EQ(options.m_bMusic, 1);
  EXPECT_EQ(options.m_strName, "xyz");
}

// Damaged or missing files under the menus: each run goes on or ends as
// the game says, with its message, and never on a checked-access failure.
TEST_P(MenuScreens, BadFilesAreReportedNotFollowed) {
  if (std::string(GetParam()) != "ddraw") GTEST_SKIP() << "the files do not depend on the mode";
  struct Case {
    const char* szName;
    std::function<void(const std::string&)> damage;
    std::string strKeys;
    int nFrames;
    const char* szReport;  // what the report or a box must say, or ""
  };
  const auto WriteMap = [](const std::string& strDir, const std::function<void(cWorldMap&)>& edit) {
    cCurrentFolder in(strDir);
    cWorldMap map = menutest::MakeMap();
    edit(map);
    map.Save("data\\WorldMap.dat");
  };
  const Case cases[] = {
      // A slot cut short lists as empty: choosing it is refused and the
      // title stays.
      {"damaged slot",
       [](const std::string& d) {
         std::filesystem::resize_file(std::filesystem::path(d) / "user_data/story/Story02.dat", 40);
       },
       TitleChoice(1) + Tap(55, "Down") + Tap(60, "Z"), 100, ""},
      // A title picture that is not there: its message, and the game closes.
      {"missing title picture",
       [](const std::string& d) {
         std::filesystem::remove(std::filesystem::path(d) / "bmp/Title.bmp");
       },
       "", 100, "bmp\\Title.bmp"},
      // A new story that starts on a stage that must be played and whose
      // file is missing: its message, and the game closes.
      {"must-play stage missing",
       [&](const std::string& d) {
         WriteMap(d, [](cWorldMap& map) {
           map.m_vecPoints.push_back(map.m_vecPoints[3]);
           map.m_vecPoints.back().m_nX = 5;
           map.m_vecPoints.back().m_nY = 5;
           map.m_vecPoints.back().m_vecStages[0].m_bPass = 0;
         });
       },
       kToMap, 140, "missing.stg4"},
      // Entries naming stage and variable numbers past every list, and a
      // map without points: walked over like any other.
      {"numbers past the lists",
       [&](const std::string& d) {
         WriteMap(d, [](cWorldMap& map) {
           map.m_vecPoints[0].m_vecStages[0].m_nStageNo = 123456;
           map.m_vecPoints[0].m_vecStages[0].m_nRequired = 5000;
           map.m_vecPoints[1].m_vecStages[0].m_nVariable = -7;
           map.m_vCells[0] = 4000;  // a terrain kind the map has not
         });
       },
       kToMap + Tap(110, "Right") + Tap(114, "Right") + Tap(118, "Right") + Tap(122, "Right") +
           Tap(126, "Z"),
       150, ""},
      {"no points",
       [&](const std::string& d) { WriteMap(d, [](cWorldMap& map) { map.m_vecPoints.clear(); }); },
       kToMap + Tap(110, "Right") + Tap(114, "Z") + Tap(120, "X"), 200, ""},
      // A challenge file that opens more stages than the challenge has,
      // with a longer list: the stages the challenge has are listed.
      {"challenge file past the stages",
       [](const std::string& d) {
         cCurrentFolder in(d);
         cSystemData sys;
         sys.m_nChallengeStages = 3;
         sys.m_bChallengeAllOpen = 0;
         sys.m_bTitleMenuImage = 0;
         sys.Save("data\\System.dat");
         cPlayData play;
         play.Reset();
         play.m_nChallengeOpen = 50;
         play.m_vChallenge.resize(12);
         play.m_vChallenge[11].m_bCleared = 1;
         plat::fs::MakeDirectory("user_data\\challenge");
         play.Save("user_data\\challenge\\Challenge.dat");
       },
       TitleChoice(2) + Tap(100, "Right") + Tap(104, "Down") + Tap(108, "X"), 140, ""},
      // A challenge without stages: the list is empty and starts nothing.
      {"no challenge stages",
       [](const std::string& d) {
         cCurrentFolder in(d);
         cSystemData sys;
         sys.m_nChallengeStages = 0;
         sys.m_bTitleMenuImage = 0;
         sys.Save("data\\System.dat");
       },
       TitleChoice(2) + Tap(100, "Z") + Tap(104, "Down") + Tap(108, "Z"), 130, ""},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(m_Project.Path() + "/user_data");
    menutest::WriteMenuProject(m_Project.Path(), false);
    c.damage(m_Project.Path());
    const cProcessResult r = RunMenus(c.strKeys, c.nFrames, m_Runtime / "bad.png");
    ASSERT_TRUE(r.bExited) << c.szName;
    EXPECT_EQ(r.nExitCode, 0) << c.szName << ": " << r.strErr;
    const std::string strReport = m_Project.Read("Report_Game.txt");
    EXPECT_EQ(strReport.find("err V"), std::string::npos) << c.szName;
    // The game's boxes of a run without a window are written out as they
    // are answered.
    EXPECT_NE((strReport + r.strOut + r.strErr).find(c.szReport), std::string::npos) << c.szName;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, MenuScreens, ::testing::Values("d3d", "ddraw"));

}  // namespace
