// The path resolver and the atomic save writer on temporary folders.
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace plat::fs {
namespace {

// CP932 spellings of names that the folder holds in UTF-8. "ソ" (83 5C) and
// "表" (95 5C) end in the byte of a backslash.
const std::string kSo = "\x83\x5c";
const std::string kHyo = "\x95\x5c";
const std::string kGame = "\x83\x51\x81\x5b\x83\x80";  // ゲーム

std::string Slurp(const std::string& path) {
  std::vector<uint8_t> v;
  if (!ReadWholeFile(path, v, 1 << 20)) return "<none>";
  return std::string(v.begin(), v.end());
}

}  // namespace

TEST(PathResolver, FindsExistingFilesWhateverTheSpelling) {
  cTempFolder dir(true);
  dir.Write("Data/Stg4/Stage1.stg4_783", "stage");
  dir.Write("bmp/ソフト/表.bmp", "picture");
  dir.Write("wave/ゲーム.wav", "sound");
  dir.Write("raw/\x83\x51.bin", "raw bytes");  // a name stored in CP932 bytes
  struct Case {
    std::string strPath;
    std::string strContent;
  };
  for (const Case& c :
       {Case{"data\\stg4\\stage1.STG4_783", "stage"}, Case{"DATA/STG4/Stage1.stg4_783", "stage"},
        Case{"./data\\\\stg4//Stage1.stg4_783", "stage"},
        Case{"bmp\\" + kSo + "\x83\x74\x83\x67\\" + kHyo + ".BMP", "picture"},
        Case{"Wave\\" + kGame + ".wav", "sound"}, Case{"raw\\\x83\x51.bin", "raw bytes"},
        Case{"data\\stg4\\Stage1.stg4_783. ", "stage"},
        Case{dir.Path() + "/DATA/stg4/STAGE1.stg4_783", "stage"}}) {
    EXPECT_EQ(Slurp(c.strPath), c.strContent) << c.strPath;
    EXPECT_TRUE(Exists(c.strPath)) << c.strPath;
  }
  EXPECT_FALSE(Exists("data\\stg4\\missing.stg4_783"));
  EXPECT_TRUE(IsDirectory("DATA\\STG4"));
  EXPECT_FALSE(IsDirectory("data\\stg4\\Stage1.stg4_783"));
}

TEST(PathResolver, NewNamesKeepTheirSpellingUnderMatchedFolders) {
  cTempFolder dir(true);
  dir.Write("User_Data/keep.txt", "");
  EXPECT_EQ(Resolve("user_data\\Rpl4\\New.rpl4_783"), "User_Data/Rpl4/New.rpl4_783");
  EXPECT_EQ(Resolve("user_data\\" + kHyo + ".dat"), "User_Data/表.dat");
  EXPECT_TRUE(MakeDirectory("user_data\\story"));
  EXPECT_FALSE(MakeDirectory("USER_DATA\\Story"));  // already there
  EXPECT_TRUE(dir.Has("User_Data/story"));
  std::FILE* fp = Open("USER_DATA\\story\\" + kSo + ".txt", "wt");
  ASSERT_NE(fp, nullptr);
  std::fputs("x", fp);
  std::fclose(fp);
  EXPECT_EQ(dir.Read("User_Data/story/ソ.txt"), "x");
}

TEST(PathResolver, ListsInProgramTextSortedByBytes) {
  cTempFolder dir(true);
  for (const char* n : {"b.txt", "A.txt", "表.bmp"}) dir.Write(std::string("f/") + n, "");
  EXPECT_EQ(List("F"), (std::vector<std::string>{"A.txt", "b.txt", kHyo + ".bmp"}));
}

TEST(PathResolver, CopyAndRemoveTrees) {
  cTempFolder dir(true);
  dir.Write("default/database/Sound.dat", "s");
  dir.Write("default/System.dat", "y");
  EXPECT_TRUE(CopyTree("Default", "data"));
  EXPECT_EQ(dir.Read("data/database/Sound.dat"), "s");
  EXPECT_FALSE(CopyTree("nothing_here", "data2"));
  EXPECT_FALSE(dir.Has("data2"));
  EXPECT_TRUE(RemoveTree("DATA"));
  EXPECT_FALSE(dir.Has("data"));
}

TEST(AtomicWriter, ReplacesTheFileWhole) {
  cTempFolder dir(true);
  dir.Write("user_data/Option.dat", "old contents");
  ASSERT_TRUE(WriteFileAtomic("USER_DATA\\option.dat", "new", 3));
  EXPECT_EQ(dir.Read("user_data/Option.dat"), "new");
  EXPECT_EQ(List("user_data").size(), 1u);  // no temporary file left
}

TEST(AtomicWriter, FailedWriteLeavesTheOldFile) {
  cTempFolder dir(true);
  dir.Write("user_data/Option.dat", "old contents");
  std::string big(100000, 'n');
  SetWriteFaultAfter(4096);
  EXPECT_FALSE(WriteFileAtomic("user_data\\Option.dat", big.data(), big.size()));
  SetWriteFaultAfter(-1);
  EXPECT_EQ(dir.Read("user_data/Option.dat"), "old contents");
  EXPECT_EQ(List("user_data").size(), 1u);
  // A folder that does not exist cannot take the temporary file either.
  EXPECT_FALSE(WriteFileAtomic("no_folder\\x.dat", "x", 1));
}

TEST(Files, ReadWholeFileRefusesMoreThanAsked) {
  cTempFolder dir(true);
  dir.Write("a.bin", std::string(100, 'a'));
  std::vector<uint8_t> v{1};
  EXPECT_FALSE(ReadWholeFile("a.bin", v, 99));
  EXPECT_EQ(v.size(), 1u);
  EXPECT_TRUE(ReadWholeFile("A.BIN", v, 100));
  EXPECT_EQ(v.size(), 100u);
  EXPECT_FALSE(ReadWholeFile("missing", v, 100));
}

}  // namespace plat::fs
