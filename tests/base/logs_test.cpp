// The report log, the debug log and the close requests of the fatal log calls.
#include "base/logs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/program_state.h"
#include "platform/msg/window.h"
#include "platform/ui/message_box.h"
#include "support/temp_folder.h"

namespace {

intptr_t IgnoreAll(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// The messages waiting in the test thread's queue.
std::vector<uint32_t> TakeMessages() {
  std::vector<uint32_t> out;
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) out.push_back(msg.message);
  return out;
}

}  // namespace

TEST(ReportLog, StartsEmptyAndTakesOneLinePerCall) {
  cTempFolder dir;
  dir.Write("Report_Game.txt", "old run\n");
  std::string strPath = dir / "Report_Game.txt";
  ASSERT_EQ(ReportInit(strPath.c_str()), 1);
  EXPECT_EQ(dir.Read("Report_Game.txt"), "");
  EXPECT_EQ(ReportF("App : ver %s", "783"), 1);
  EXPECT_EQ(ReportF("n=%d", 5), 1);
  EXPECT_EQ(dir.Read("Report_Game.txt"), "App : ver 783\nn=5\n");
}

TEST(ReportLog, FileRemovedDuringTheRunIsNotMadeAgain) {
  cTempFolder dir;
  std::string strPath = dir / "Report_Game.txt";
  ASSERT_EQ(ReportInit(strPath.c_str()), 1);
  std::filesystem::remove(strPath);
  EXPECT_EQ(ReportF("lost"), 0);
  EXPECT_EQ(ReportFDebug("lost"), 0);
  EXPECT_EQ(ReportFError("lost"), 0);
  EXPECT_FALSE(dir.Has("Report_Game.txt"));
}

TEST(ReportLog, CannotBeMadeInAMissingFolder) {
  cTempFolder dir;
  std::string strPath = dir / "no_such_folder/Report_Game.txt";
  EXPECT_EQ(ReportInit(strPath.c_str()), 0);
}

TEST(ReportLog, FinishedTextIsNeverFormattedAgain) {
  cTempFolder dir;
  std::string strPath = dir / "Report_Game.txt";
  std::string strDebug = dir / "EC_Game.txt";
  ASSERT_EQ(ReportInit(strPath.c_str()), 1);
  DebugLogInit(1, strDebug.c_str());
  EXPECT_EQ(ReportFDebug("file %s", "100%d%s.stg4"), 1);
  EXPECT_EQ(dir.Read("Report_Game.txt"), "file 100%d%s.stg4\n");
  EXPECT_EQ(dir.Read("EC_Game.txt"), "file 100%d%s.stg4\n");
  DebugLog("raw %s %n");
  EXPECT_EQ(dir.Read("EC_Game.txt"), "file 100%d%s.stg4\nraw %s %n\n");
  DebugLogInit(0, "EC_Game.txt");
}

TEST(ReportLog, CopyingVariantsCutAt1023BytesAndReportFDoesNot) {
  cTempFolder dir;
  std::string strPath = dir / "Report_Game.txt";
  ASSERT_EQ(ReportInit(strPath.c_str()), 1);
  std::string strLong(3000, 'x');
  ReportFDebug("%s", strLong.c_str());
  ReportF("%s", strLong.c_str());
  EXPECT_EQ(dir.Read("Report_Game.txt"), std::string(1023, 'x') + "\n" + strLong + "\n");
}

TEST(DebugLog, OffByDefaultWritesNothingButTheFatalFormStillCloses) {
  cTempFolder dir(true);
  DebugLogInit(0, "EC_Game.txt");
  plat::WndHandle h = plat::CreateWnd(IgnoreAll, nullptr);
  EXPECT_EQ(DebugLog("x"), 0);
  EXPECT_EQ(DebugLogF("%d", 1), 0);
  EXPECT_EQ(DebugErrorBoxF("%s", "nothing shown"), 0);
  DebugLogFClose(h, "%s", "fatal");
  EXPECT_FALSE(dir.Has("EC_Game.txt"));
  EXPECT_EQ(TakeMessages(), std::vector<uint32_t>{plat::WM_CLOSE});
  plat::DestroyWnd(h);
}

TEST(DebugLog, FirstLineTruncatesAndAFailedFirstOpenIsNeverRetried) {
  cTempFolder dir;
  dir.Write("EC_Game.txt", "previous run\n");
  std::string strPath = dir / "EC_Game.txt";
  DebugLogInit(1, strPath.c_str());
  DebugLog("first");
  DebugLogF("second %d", 2);
  EXPECT_EQ(dir.Read("EC_Game.txt"), "first\nsecond 2\n");
  DebugLogInit(0, "EC_Game.txt");
}

TEST(DebugLog, FileMissingAtTheFirstLineStaysMissing) {
  cTempFolder dir;
  std::string strPath = dir / "later/EC_Game.txt";
  DebugLogInit(1, strPath.c_str());
  DebugLog("dropped");
  std::filesystem::create_directories(dir / "later");
  DebugLog("also dropped");
  EXPECT_FALSE(dir.Has("later/EC_Game.txt"));
  DebugLogInit(0, "EC_Game.txt");
}

TEST(ErrorBoxes, OutOfMemoryClosesTheMainWindow) {
  plat::WndHandle h = plat::CreateWnd(IgnoreAll, nullptr);
  g_hMainWnd = h;
  plat::SetScriptedBoxAnswers({plat::IDOK});
  OutOfMemoryClose();
  EXPECT_EQ(TakeMessages(), std::vector<uint32_t>{plat::WM_CLOSE});
  g_hMainWnd = nullptr;
  plat::DestroyWnd(h);
}
