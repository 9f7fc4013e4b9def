// Loading a stage for play: the newest numbered file, the checks before and
// after the read on the loading thread, and the settings copy.
#include "files/stage_load.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "platform/fs/file_system.h"

namespace {

using Bytes = std::vector<uint8_t>;

cStageData NamedStage(const std::string& strName, bool bPlayer) {
  cStageData s;
  s.m_strName = strName;
  s.m_nWidth = 25;
  s.m_nHeight = 15;
  s.m_vecBgs.resize(2);
  s.m_vecBgs[1].m_strImage = strName + ".bmp";
  s.m_vecCharas.resize(1);
  s.m_vecCharas[0].m_cOperator = bPlayer ? 0 : 1;
  return s;
}

class StageLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteStage("data/stg4/c01-1.stg4_100", NamedStage("old", true));
    WriteStage("data/stg4/c01-1.stg4_783", NamedStage("new", true));
    WriteStage("data/stg4/nobody.stg4_783", NamedStage("nobody", false));
    WriteStage("data/stg4/plain.stg4", NamedStage("plain", true));
    g_StageCopy = NamedStage("kept", true);
  }
  void TearDown() override {
    g_Stage = cStageData();
    g_StageCopy = cStageData();
    g_PlayData = cPlayData();
    g_KeyLog.Reset();
    g_SystemData = cSystemData();
    bCommandLineStage = 0;
  }
  void WriteStage(const std::string& strName, cStageData stage) {
    m_Dir.Write(strName, "");
    WriteTestFile(m_Dir / strName, stage.SaveToBytes());
    plat::fs::ForgetListings();
  }

  cTempFolder m_Dir{true};
  cBoxCapture m_Boxes;
  cCloseCounter m_Closes;
};

TEST_F(StageLoad, NewestNumberedFileAndTheSettingsCopy) {
  ASSERT_EQ(LoadPlayStage("data\\stg4\\c01-1.stg4", 1, &g_StageCopy), 1);
  EXPECT_EQ(g_Stage.m_strName, "new");
  EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\c01-1.stg4_783");
  EXPECT_EQ(g_StageCopy.m_strName, "new");
  EXPECT_EQ(g_StageCopy.m_vecBgs.size(), 2u);
  EXPECT_EQ(g_StageCopy.m_vecBgs[1].m_strImage, "new.bmp");
  EXPECT_TRUE(g_StageCopy.m_vecCharas.empty());
  EXPECT_TRUE(g_StageCopy.m_vecPalCharas.empty());
  EXPECT_TRUE(m_Boxes.Texts().empty());

  // The file itself, and no copy without a target.
  ASSERT_EQ(LoadPlayStage("data\\stg4\\c01-1.stg4_100", 0, nullptr), 1);
  EXPECT_EQ(g_Stage.m_strName, "old");
  EXPECT_EQ(g_StageCopy.m_strName, "new");
  EXPECT_EQ(m_Closes.Take(), 0);
}

TEST_F(StageLoad, FailuresAndTheirMessages) {
  // A damaged file: the right trailer at the end, nonsense inside.
  Bytes damaged = NamedStage("x", true).SaveToBytes();
  damaged[4] = 0xFF;
  WriteTestFile(m_Dir / "data/stg4/damaged.stg4_783", damaged);
  Bytes noTrailer = NamedStage("x", true).SaveToBytes();
  noTrailer.back() ^= 1;
  WriteTestFile(m_Dir / "data/stg4/cut.stg4_783", noTrailer);
  plat::fs::ForgetListings();

  struct CASE {
    const char* szPath;
    int bNewest;
    const char* szBox;
    int nCloses;
  };
  const CASE cases[] = {
      {"data\\stg4\\plain.stg4", 1, nullptr, 0},  // no numbered version: silent
      {"data\\stg4\\missing.stg4_783", 0,
       "ステージファイル data\\stg4\\missing.stg4_783 の読み込みに失敗しました！", 0},
      {"data\\stg4\\damaged.stg4_783", 0,
       "ステージファイル data\\stg4\\damaged.stg4_783 の読み込みに失敗しました！", 0},
      {"data\\stg4\\cut.stg4_783", 0,
       "ステージファイル data\\stg4\\cut.stg4_783 が破損しています！", 1},
      {"data\\stg4\\nobody.stg4", 1, "主人公が配置されていないのでプレイできません！", 1},
  };
  for (const CASE& c : cases) {
    m_Boxes.Texts().clear();
    EXPECT_EQ(LoadPlayStage(c.szPath, c.bNewest, &g_StageCopy), 0) << c.szPath;
    EXPECT_EQ(m_Boxes.Texts(),
              c.szBox ? std::vector<std::string>{c.szBox} : std::vector<std::string>{})
        << c.szPath;
    EXPECT_EQ(m_Closes.Take(), c.nCloses) << c.szPath;
    // The settings of the stage before stay for its restarts.
    EXPECT_EQ(g_StageCopy.m_strName, "kept");
  }
}

}  // namespace
