// Formatted strings, Shift-JIS character handling and the path helpers.
#include "base/text_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/temp_folder.h"

TEST(TextHelpers, FormatStringCutsAt5119Bytes) {
  std::string s;
  FormatString(s, "%s-%d", "ab", 7);
  EXPECT_EQ(s, "ab-7");
  FormatString(s, "%s", std::string(6000, 'q').c_str());
  EXPECT_EQ(s, std::string(5119, 'q'));
}

TEST(TextHelpers, SetStrFromBufKeepsTheTextUpToItsFirstZero) {
  std::string s("abc\0def", 7);
  EXPECT_EQ(SetStrFromBuf(s), 3);
  EXPECT_EQ(s, "abc");
}

TEST(TextHelpers, SubStrSafeNeverFails) {
  struct Case {
    int nStart, nCount;
    const char* szWant;
  };
  for (const Case& c :
       {Case{-2, 5, "abc"}, Case{7, 1, ""}, Case{2, 100, "cdef"}, Case{-5, 2, "abcdef"},
        Case{1, 2, "bc"}, Case{6, 1, ""}, Case{0, 0, ""}, Case{3, -1, "def"}}) {
    std::string src = "abcdef";
    EXPECT_EQ(SubStrSafe(src, c.nStart, c.nCount), c.szWant) << c.nStart << "," << c.nCount;
  }
}

TEST(TextHelpers, CountCharsPairsLeadAndTrailBytesAndSkipsLineFeeds) {
  struct Case {
    const char* szText;
    int nWant;
  };
  for (const Case& c : {Case{"ABC", 3}, Case{"日本\n", 2}, Case{"ソ表", 2}, Case{"a\x83", 2},
                        Case{"\x83"
                             "A",
                             1},
                        Case{"", 0}, Case{"ｱｲ", 2}}) {
    EXPECT_EQ(CountChars(c.szText), c.nWant) << c.szText;
  }
}

TEST(TextHelpers, StripDirectoryNeverSplitsACharacter) {
  struct Case {
    const char* szPath;
    const char* szWant;
  };
  // "ソ" and "表" end in 0x5C; "ン" has a lead-range second byte.
  for (const Case& c : {Case{"data\\stg4\\a.stg4_783", "a.stg4_783"}, Case{"ソ", "ソ"},
                        Case{"data\\表", "表"}, Case{"x\\デザイン\\a.stg4", "a.stg4"},
                        Case{"noseparator", "noseparator"}, Case{"/home/u/a.txt", "a.txt"}}) {
    char buf[MAX_PATH];
    std::strcpy(buf, c.szPath);
    StripDirectory(buf);
    EXPECT_STREQ(buf, c.szWant) << c.szPath;
  }
}

TEST(TextHelpers, ExtensionHelpers) {
  char out[MAX_PATH];
  EXPECT_EQ(ChangeExtension(out, "a.b\\c", "x"), 1);
  EXPECT_STREQ(out, "a.x");
  EXPECT_EQ(ChangeExtension(out, "abc", "x"), 0);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(ChangeExtension(out, "s.stg4_700", nullptr), 1);
  EXPECT_STREQ(out, "s");
  EXPECT_EQ(GetExtension(out, "dir\\file.rpl4_783"), 1);
  EXPECT_STREQ(out, "rpl4_783");
  EXPECT_EQ(GetExtension(out, "end."), 1);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(GetExtension(out, "none"), 0);
  char path[MAX_PATH] = "a.b.c";
  EXPECT_EQ(RemoveExtension(path), 1);
  EXPECT_STREQ(path, "a.b");
  std::string s = "plain";
  EXPECT_EQ(RemoveExtensionStr(s), 0);
  EXPECT_EQ(s, "plain");
  EXPECT_EQ(InsertFileNumber(out, "rep.rpl4_783", 0, 3), 1);
  EXPECT_STREQ(out, "rep_03.rpl4_783");
  EXPECT_EQ(InsertFileNumber(out, "noext", 1, 2), 0);
}

TEST(TextHelpers, FindLatestVersionFileTakesTheHighestNumber) {
  cTempFolder dir(true);
  char out[MAX_PATH] = "untouched";
  EXPECT_EQ(FindLatestVersionFile(out, "X.stg4", "stg4"), 0);
  EXPECT_STREQ(out, "untouched");
  dir.Write("X.stg4_000", "");
  EXPECT_EQ(FindLatestVersionFile(out, "X.stg4_700", "stg4"), 1);
  EXPECT_STREQ(out, "X.stg4_000");
  dir.Write("X.stg4_100", "");
  dir.Write("X.stg4_783", "");
  EXPECT_EQ(FindLatestVersionFile(out, "X", "stg4"), 0);
  EXPECT_EQ(FindLatestVersionFile(out, "X.stg4", "stg4"), 1);
  EXPECT_STREQ(out, "X.stg4_783");
  dir.Write("data/stg4/Y.stg4_101", "");
  std::string s;
  EXPECT_EQ(FindLatestVersionFileStr(s, "DATA\\Stg4\\Y.stg4", "stg4"), 1);
  EXPECT_EQ(s, "DATA\\Stg4\\Y.stg4_101");
}

TEST(TextHelpers, FullAndRelativePathsAgainstTheCurrentFolder) {
  cTempFolder dir(true);
  std::string strCur = std::filesystem::current_path().string();
  char path[MAX_PATH] = "Report_Game.txt";
  EXPECT_EQ(MakeFullPath(path), 1);
  EXPECT_EQ(std::string(path), strCur + "/Report_Game.txt");
  EXPECT_EQ(MakeRelativePath(path), 1);
  EXPECT_STREQ(path, "Report_Game.txt");
  std::string s = strCur + "/user_data/rpl4/a.rpl4_783";
  EXPECT_EQ(MakeRelativePathStr(s), 1);
  EXPECT_EQ(s, "user_data\\rpl4\\a.rpl4_783");
  s = "data\\x";
  EXPECT_EQ(MakeRelativePathStr(s), 1);
  EXPECT_EQ(s, "data\\x");
  char drive[MAX_PATH] = "C:\\game\\a.stg4";
  EXPECT_EQ(MakeRelativePath(drive), 0);
  EXPECT_STREQ(drive, "C:\\game\\a.stg4");
}
