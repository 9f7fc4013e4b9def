// Saves that fail are never silent: the old file stays whole, the report log
// says so when it can, and standard error always does, in English with the
// program's own text in UTF-8.
#include "base/save_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/logs.h"
#include "platform/fs/file_system.h"
#include "support/temp_folder.h"

namespace {

// The program's own text as it holds it (CP932), and as a terminal reads it.
const char* const kOwnCp932 = "%s の書き込みに失敗！";
const std::string kOwnUtf8 = reinterpret_cast<const char*>(u8" の書き込みに失敗！");

TEST(SaveFile, AFailedSaveIsReportedInTheLogAndOnStandardError) {
  struct ROW {
    const char* szCase;
    const char* szOwnText;
    bool bReportLog;        // a report log to write to
    std::string strReport;  // what it then holds
    std::string strStderr;  // the line on standard error
  };
  const ROW rows[] = {
      {"English only", nullptr, true,
       "save failed: user_data\\Option.dat (No space left on device)\n",
       "brimvale: save failed: user_data\\Option.dat (No space left on device)\n"},
      {"the program's own text", kOwnCp932, true,
       std::string("user_data\\Option.dat") + (kOwnCp932 + 2) + "\n",
       std::string("brimvale: save failed: user_data\\Option.dat (No space left on device) "
                   "user_data\\Option.dat") +
           kOwnUtf8 + "\n"},
      {"no report log", kOwnCp932, false, "",
       std::string("brimvale: save failed: user_data\\Option.dat (No space left on device) "
                   "user_data\\Option.dat") +
           kOwnUtf8 + "\n"},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(row.szCase);
    cTempFolder dir(true);
    dir.Write("user_data/Option.dat", "old contents");
    ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
    // A report log that went away cannot be written, and is not made again.
    if (!row.bReportLog) std::filesystem::remove(dir / "Report_Game.txt");
    plat::fs::SetWriteFaultAfter(2);  // the disk fills after two bytes
    testing::internal::CaptureStderr();
    const bool bSaved = SaveFile("user_data\\Option.dat", "new contents", 12, row.szOwnText);
    const std::string strStderr = testing::internal::GetCapturedStderr();
    plat::fs::SetWriteFaultAfter(-1);
    EXPECT_FALSE(bSaved);
    EXPECT_EQ(dir.Read("user_data/Option.dat"), "old contents");
    EXPECT_EQ(strStderr, row.strStderr);
    EXPECT_EQ(dir.Has("Report_Game.txt") ? dir.Read("Report_Game.txt") : "", row.strReport);
  }
}

TEST(SaveFile, ASaveThatLandsSaysNothing) {
  cTempFolder dir(true);
  ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(SaveFile("Option.dat", "new", 3, kOwnCp932));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(dir.Read("Option.dat"), "new");
  EXPECT_EQ(dir.Read("Report_Game.txt"), "");
}

}  // namespace
