// Files far larger than any real one of their kind are refused at once,
// before a byte of them is read, with the file's ordinary load failure; a
// player's file that is refused leaves the defaults, as a missing one does.
// The files are the default game's, made sparse past their kind's cap: the
// same bytes a real file starts with, so only the size decides.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "base/logs.h"
#include "base/paths.h"
#include "database/database.h"
#include "database/database_startup.h"
#include "files/options.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "palette/common_palette.h"
#include "records/record.h"
#include "support/default_game.h"
#include "support/temp_folder.h"

namespace {

struct OVERSIZED {
  const char* szCase;
  const char* szFile;  // Linux path under the project folder
  size_t nCap;
  std::function<void()> write;  // a good file to make oversized (null: the game's)
  std::function<bool()> load;   // the start-up step; true when it read the file
  std::function<bool()> defaultsKept;
  std::string strReport;  // the load failure's line ("" for none)
};

TEST(OversizedFiles, AreRefusedAtOnceWithTheirLoadFailure) {
  const std::vector<OVERSIZED> cases = {
      {"System.dat", "data/System.dat", kMaxDataFileBytes,
       [] {
         cSystemData sd;
         sd.m_strTitle = "from the file";
         ASSERT_TRUE(sd.Save(g_Paths[PATH_SYSTEM_DAT]));
       },
       [] { return LoadSystemDataAtStart(); },
       [] { return g_SystemData.m_strTitle != "from the file"; },
       "data\\System.dat の読み込みに失敗…"},
      {"a database list", "data/database/Anime.dat", kMaxDataFileBytes, nullptr,
       [] { return LoadDatabaseAtStartUp(); }, [] { return true; },
       "data\\database\\Anime.dat の読み込みに失敗しました！\nデータベースの読み込みに失敗…"},
      {"the common palette", "data/CommonPalette.cplt4", kMaxDataFileBytes, nullptr,
       [] { return LoadCommonPaletteAtStartUp(); }, [] { return true; },
       "data\\CommonPalette.cplt4 のロードに失敗！"},
      {"Option.dat", "user_data/Option.dat", kMaxPlayerFileBytes,
       [] {
         cOptionData opt;
         opt.m_nVolume = 3;
         opt.m_strName = "me";
         ASSERT_TRUE(opt.Save(g_Paths[PATH_OPTION_DAT]));
       },
       [] {
         LoadOptionsAtStart();
         return g_Option.m_nVolume == 3;
       },
       [] { return g_Option.m_nVolume == 7 && g_Option.m_strName == "aaa"; }, ""},
      {"System.ini", "System.ini", kMaxSystemIniBytes,
       [] { ASSERT_TRUE(WriteTestFile("System.ini", std::string("WindowMode=1\r\nExit\r\n"))); },
       [] {
         LoadSystemIniAtStart();
         return SYSTEMINI.nWindowMode == 1;
       },
       [] { return SYSTEMINI.nWindowMode == 0; }, "System.ini の読み込みに失敗しました！"},
  };
  for (const OVERSIZED& c : cases) {
    SCOPED_TRACE(c.szCase);
    cTempFolder dir(true);
    CopyDefaultGame(dir.Path());
    CreateDataFolders();
    g_SystemData = cSystemData();
    g_Option = cOptionData();
    ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
    if (c.write) c.write();
    // At its cap the file is still read (the data files' caps are left
    // alone: reading 256 MiB proves nothing more) ...
    if (c.nCap <= kMaxPlayerFileBytes) {
      ASSERT_EQ(::truncate(c.szFile, static_cast<off_t>(c.nCap)), 0);
      EXPECT_TRUE(c.load());
    }
    // ... one byte more and it is refused, unread.
    g_SystemData = cSystemData();
    g_Option = cOptionData();
    ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
    ASSERT_EQ(::truncate(c.szFile, static_cast<off_t>(c.nCap) + 1), 0);
    EXPECT_FALSE(c.load());
    EXPECT_TRUE(c.defaultsKept());
    EXPECT_EQ(dir.Read("Report_Game.txt"), c.strReport.empty() ? "" : c.strReport + "\n");
  }
}

}  // namespace
