// The path tables and the factory-data copy, in a temporary game folder.
#include "base/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/ui/message_box.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

int g_nAsked = 0;
int AnswerYes(plat::WndHandle, const std::string&, const std::string&, uint32_t uType) {
  ++g_nAsked;
  EXPECT_EQ(uType, plat::MB_YESNO);
  return plat::IDYES;
}
int AnswerNo(plat::WndHandle, const std::string&, const std::string&, uint32_t) {
  ++g_nAsked;
  return plat::IDNO;
}

void MakeFactoryData() {
  fs::create_directories("default/database");
  ASSERT_TRUE(WriteTestFile("default/System.dat", std::string("sys")));
  ASSERT_TRUE(WriteTestFile("default/database/Bgm.dat", std::string("bgm")));
}

TEST(Paths, Tables) {
  EXPECT_STREQ(g_Paths[PATH_SYSTEM_DAT], "data\\System.dat");
  EXPECT_STREQ(g_Paths[PATH_OPTION_DAT], "user_data\\Option.dat");
  EXPECT_STREQ(g_Paths[PATH_WINDOW_DAT], "user_data\\Window.dat");
  EXPECT_STREQ(g_Paths[PATH_DB_ANIME_SET + 2 * 9], "data\\database\\Bgm.dat");
  EXPECT_STREQ(g_Paths[PATH_RANKING_STORY + 2], "user_data\\free\\");
  EXPECT_STREQ(g_Exts[EXT_RANKING], "rkg");
  EXPECT_STREQ(g_DataFolders[0], "user_data");
  EXPECT_STREQ(g_DataFolders[kDataFolderCount - 1], "bgm");
}

TEST(Paths, FactoryDataIsCopiedOnlyWhenThePlayerAgrees) {
  struct Case {
    const char* szName;
    bool bData, bDefault;
    AskFunction pfnAsk;
    int nResult, nAsked;
    bool bDataAfter;
  };
  const Case cases[] = {
      {"data exists", true, true, AnswerNo, 1, 0, true},
      {"empty data exists", true, false, AnswerNo, 1, 0, true},
      {"neither", false, false, AnswerYes, 0, 0, false},
      {"player says no", false, true, AnswerNo, 0, 1, false},
      {"player says yes", false, true, AnswerYes, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    cTempFolder dir;
    cCurrentFolder here(dir.Path());
    if (c.bData) fs::create_directory("data");
    if (c.bDefault) MakeFactoryData();
    g_nAsked = 0;
    EXPECT_EQ(CreateDefaultData(nullptr, c.pfnAsk), c.nResult);
    EXPECT_EQ(g_nAsked, c.nAsked);
    EXPECT_EQ(fs::is_directory("data"), c.bDataAfter);
    if (!c.bData && c.bDataAfter) {
      EXPECT_EQ(ReadTestFile("data/database/Bgm.dat"), ReadTestFile("default/database/Bgm.dat"));
      EXPECT_EQ(ReadTestFile("data/System.dat").size(), 3u);
    }
  }
}

TEST(Paths, FailedCopyLeavesNoDataFolder) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  MakeFactoryData();
  // A named pipe cannot be copied as a file: the copy fails part-way.
  ASSERT_EQ(mkfifo("default/zz_pipe", 0600), 0);
  EXPECT_EQ(CreateDefaultData(nullptr, AnswerYes), 0);
  EXPECT_FALSE(fs::exists("data"));
}

TEST(Paths, StartUpStepFailsWithoutProjectData) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  EXPECT_FALSE(CreateDefaultDataAtStart(nullptr));
  fs::create_directory("data");
  EXPECT_TRUE(CreateDefaultDataAtStart(nullptr));
}

TEST(Paths, DataFoldersAreCreated) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  fs::create_directory("bmp");
  CreateDataFolders();
  CreateDataFolders();  // existing folders are fine
  for (const char* szFolder : g_DataFolders) {
    std::string strPath = szFolder;
    for (char& ch : strPath)
      if (ch == '\\') ch = '/';
    EXPECT_TRUE(fs::is_directory(strPath)) << strPath;
  }
}

}  // namespace
