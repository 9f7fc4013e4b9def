// The path resolver and the atomic save writer on temporary folders.
#include "platform/fs/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
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
  int nError = 0;
  EXPECT_FALSE(WriteFileAtomic("no_folder\\x.dat", "x", 1, &nError));
  EXPECT_EQ(nError, ENOENT);
  // The full disk the fault hook plays is the reason given.
  SetWriteFaultAfter(0);
  EXPECT_FALSE(WriteFileAtomic("user_data\\Option.dat", "new", 3, &nError));
  SetWriteFaultAfter(-1);
  EXPECT_EQ(nError, ENOSPC);
}

TEST(AtomicWriter, TemporaryNamesAreRecognisable) {
  const struct {
    const char* szName;
    bool bTemporary;
  } rows[] = {
      {"Option.dat.a1B2c3.saving", true},
      {"x.000000.saving", true},
      {"Story1.dat.ZZZZZZ.saving", true},
      {"Option.dat", false},
      {"Option.dat.a1B2c3", false},          // no suffix
      {".a1B2c3.saving", false},             // no target name
      {"Option.dat.a1B2c.saving", false},    // five random letters
      {"Option.dat.a1B2c34.saving", false},  // seven
      {"Option.dat-a1B2c3.saving", false},   // no dot before them
      {"Option.dat.a1-2c3.saving", false},
      {"Option.dat.a1B2c3.saving2", false},
      {"notes.saving", false},
      {"", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IsSaveTemporaryName(row.szName), row.bTemporary) << row.szName;
}

TEST(AtomicWriter, TemporariesOfInterruptedSavesAreSweptAndNothingElse) {
  cTempFolder dir(true);
  dir.Write("user_data/Option.dat", "old contents");
  // A save stopped before its rename leaves the old file whole and a
  // temporary file that tells itself apart.
  SetStopBeforeRename(true);
  EXPECT_FALSE(WriteFileAtomic("user_data\\Option.dat", "new", 3));
  SetStopBeforeRename(false);
  EXPECT_EQ(dir.Read("user_data/Option.dat"), "old contents");
  std::vector<std::string> left = List("user_data");
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].rfind("Option.dat.", 0), 0u);
  EXPECT_TRUE(IsSaveTemporaryName(left[1])) << left[1];
  EXPECT_EQ(dir.Read("user_data/" + left[1]), "new");
  // Made by this process: not stale yet.
  EXPECT_EQ(RemoveStaleSaveTemporaries("user_data"), 0);
  const std::string strKilled = "user_data/" + left[1];
  // What a killed save leaves, from a run before this one ...
  const std::string kStale[] = {strKilled, "user_data/Option.dat.Qx81Zt.saving",
                                "user_data/x.000000.saving"};
  // ... and files that only look like it, or are not that old.
  const char* const kKept[] = {"user_data/Option.dat", "user_data/Option.dat.Qx81Zt",
                               "user_data/notes.saving", "user_data/Option.dat.Q-81Zt.saving",
                               "user_data/Fresh.dat.abcdef.saving"};
  for (const std::string& str : kStale)
    if (!dir.Has(str)) dir.Write(str, "half a save");
  for (const char* sz : kKept)
    if (!dir.Has(sz)) dir.Write(sz, "keep");
  std::filesystem::create_directories(dir / "user_data/Old.dat.abcdef.saving");  // a folder
  const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  for (const std::string& str : kStale) ASSERT_EQ(::utimensat(AT_FDCWD, str.c_str(), old, 0), 0);
  for (const char* sz : {"user_data/Option.dat.Qx81Zt", "user_data/notes.saving",
                         "user_data/Option.dat.Q-81Zt.saving", "user_data/Old.dat.abcdef.saving"})
    ASSERT_EQ(::utimensat(AT_FDCWD, sz, old, 0), 0);

  EXPECT_EQ(RemoveStaleSaveTemporaries("USER_DATA"), 3);
  for (const std::string& str : kStale) EXPECT_FALSE(dir.Has(str)) << str;
  for (const char* sz : kKept) EXPECT_TRUE(dir.Has(sz)) << sz;
  EXPECT_TRUE(dir.Has("user_data/Old.dat.abcdef.saving"));
  EXPECT_EQ(dir.Read("user_data/Option.dat"), "old contents");
  EXPECT_EQ(RemoveStaleSaveTemporaries("no_such_folder"), 0);
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

// A file of nBytes that takes no room on the disk.
void MakeSparse(const std::string& path, off_t nBytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, nBytes), 0);
  ::close(fd);
}

TEST(Files, BoundedReadRefusesAnOversizedFileBeforeReadingIt) {
  cTempFolder dir(true);
  // 2 GiB that would take seconds and all of that memory to read.
  MakeSparse("huge.dat", off_t(2) << 30);
  MakeSparse("cap.dat", 4096);
  std::vector<uint8_t> v{7};
  struct ROW {
    const char* szFile;
    size_t nCap;
    eReadResult result;
    size_t nSize;  // of v afterwards
  };
  const ROW rows[] = {
      {"huge.dat", size_t(256) << 20, eReadResult::TooLarge, 1},
      {"huge.dat", (size_t(2) << 30) - 1, eReadResult::TooLarge, 1},
      {"cap.dat", 4095, eReadResult::TooLarge, 1},
      {"cap.dat", 4096, eReadResult::Read, 4096},
      {"missing.dat", 4096, eReadResult::CannotOpen, 4096},
      {".", 4096, eReadResult::ReadError, 4096},  // a folder has no bytes to read
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(testing::Message() << row.szFile << " cap " << row.nCap);
    EXPECT_EQ(ReadFileBounded(row.szFile, v, row.nCap), row.result);
    EXPECT_EQ(v.size(), row.nSize);
  }
  // A device says no size: it is read up to the cap and refused past it.
  EXPECT_EQ(ReadFileBounded("/dev/zero", v, 1 << 16), eReadResult::TooLarge);
  EXPECT_EQ(ReadFileBounded("/dev/null", v, 1 << 16), eReadResult::Read);
  EXPECT_TRUE(v.empty());
}

}  // namespace plat::fs
