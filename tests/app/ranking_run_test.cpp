// The built program clears the bundled game's first challenge stage by a key
// script and enters the result in the stage's ranking under a name typed in
// the name box; started again, the challenge's stage select shows the entry
// in its ranking panel, in Direct3D and in DirectDraw. A deliberate change
// to what the stage select shows records its pictures again with
// BRIMVALE_RECORD_GOLDEN=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/options.h"
#include "files/play_data.h"
#include "scenes/ranking.h"
#include "support/default_game.h"
#include "support/default_game_keys.h"
#include "support/keyed_run.h"
#include "support/png_decode.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

std::filesystem::path GoldenFolder() { return std::filesystem::path(TestDataDir()) / "screens"; }

pngtest::DECODED ReadPicture(const std::string& strPath) {
  return pngtest::Decode(ReadTestFile(strPath));
}

// The title's third entry, the challenge, chosen once the title has faded
// in: its stage select, the cursor on the first stage.
void OpenStageSelect(cKeyScript& keys) {
  keys.Tap(60, "Down");
  keys.Tap(64, "Down");
  keys.Tap(70, "Z");
}

class RankingRun : public ::testing::Test {
 protected:
  RankingRun() { CopyDefaultGame(m_Project.Path()); }
  cProcessResult Play(const cKeyScript& keys, int nFrames, const std::string& strShot,
                      const std::string& strAnswers = "") {
    return RunWithKeys(m_Project.Path(), m_Runtime.Path(), keys.Text(), nFrames, strShot,
                       strAnswers);
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_F(RankingRun, AnEnteredResultIsKeptAndShownInTheStageSelect) {
  // The options enter results on button 1, under a name asked for each time.
  {
    std::filesystem::create_directories(m_Project / "user_data");
    cCurrentFolder in(m_Project.Path());
    cOptionData options;
    options.m_nRankMode = 2;
    ASSERT_EQ(options.Save("user_data\\Option.dat"), 1);
  }
  cKeyScript play;
  OpenStageSelect(play);
  play.Tap(160, "Z");  // the first stage, the meadow
  const int f = defaultgame::PlayMeadow(play, 160);
  play.Tap(f, "Z");       // enter the results: the name box takes the name
  play.Tap(f + 20, "Z");  // close the ranking table: back to the stage select
  cProcessResult r = Play(play, f + 80, m_Runtime / "play.png", "1003=ABC");
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  {
    cCurrentFolder in(m_Project.Path());
    cRanking ranking;
    ASSERT_EQ(LoadRanking(ranking, PLAYMODE_CHALLENGE, "c01.", 0, 0, 0), 1);
    const cRankData& score = ranking.m_vTables.At(0).m_vRows.At(0);
    EXPECT_TRUE(score.m_bValid);
    EXPECT_EQ(score.m_strName, "ABC");
    EXPECT_EQ(score.m_nValue, 30);
    EXPECT_FALSE(ranking.m_vTables.At(0).m_vRows.At(1).m_bValid);
    EXPECT_TRUE(ranking.m_vTables.At(kRankingTimeTable).m_vRows.At(0).m_bValid);
  }

  // Started again: the stage select, its ranking panel switched on by
  // button 3. The panel (its first rows) must show what a select without
  // the file does not.
  cKeyScript look;
  OpenStageSelect(look);
  look.Tap(110, "C");
  const std::string strRanking = m_Project / "user_data/challenge/c01.rkg";
  const bool bRecord = std::getenv("BRIMVALE_RECORD_GOLDEN") != nullptr;
  for (const char* szMode : {"d3d", "ddraw"}) {
    SetDrawingMode(m_Project.Path(), std::string(szMode) == "d3d");
    const std::string strName = std::string("ranking_select_") + szMode + ".png";
    const std::string strShot = m_Runtime / strName;
    r = Play(look, 130, strShot);
    ASSERT_EQ(r.nExitCode, 0) << szMode << ": " << r.strErr;
    const std::vector<uint8_t> kept = ReadTestFile(strRanking);
    std::filesystem::remove(strRanking);
    r = Play(look, 130, m_Runtime / "empty.png");
    ASSERT_EQ(r.nExitCode, 0) << szMode << ": " << r.strErr;
    ASSERT_TRUE(WriteTestFile(strRanking, kept));

    const pngtest::DECODED got = ReadPicture(strShot);
    const pngtest::DECODED empty = ReadPicture(m_Runtime / "empty.png");
    ASSERT_EQ(got.nWidth, 640) << szMode;
    ASSERT_EQ(got.pixels.size(), empty.pixels.size()) << szMode;
    int nPanelDiffers = 0;
    for (int y = 120; y < 160; ++y)
      for (int x = 292; x < 564; ++x)
        nPanelDiffers += got.pixels[size_t(y * 640 + x)] != empty.pixels[size_t(y * 640 + x)];
    EXPECT_GT(nPanelDiffers, 0) << szMode << ": the panel looks as it does without the entry";

    if (bRecord) {
      std::filesystem::create_directories(GoldenFolder());
      std::filesystem::copy_file(strShot, GoldenFolder() / strName,
                                 std::filesystem::copy_options::overwrite_existing);
      continue;
    }
    const pngtest::DECODED want = ReadPicture((GoldenFolder() / strName).string());
    ASSERT_EQ(want.pixels.size(), got.pixels.size()) << strName;
    int nDiffer = 0;
    for (size_t i = 0; i < got.pixels.size(); ++i) nDiffer += got.pixels[i] != want.pixels[i];
    EXPECT_EQ(nDiffer, 0) << strName << ": pixels that differ from the golden picture";
  }
  if (bRecord) GTEST_SKIP() << "golden pictures recorded";
}

}  // namespace
