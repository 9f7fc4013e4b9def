// The database fuzz entry (the ten lists with the post-load tables, and the
// common palette) over its fixed corpus: the default game's files.
#include "tools/fuzz/database_fuzz_input.h"

#include <gtest/gtest.h>

#include "support/default_game.h"
#include "support/fuzz_corpus.h"

namespace {

TEST(FuzzInputs, DatabaseListsAndThePalette) {
  const char* const kLists[DBFILE_COUNT] = {"AnimeSet", "Anime",       "Bmp_CharaExc", "SwordType",
                                            "Effect",   "CharaEffect", "ScrEffect",    "Picture",
                                            "Sound",    "Bgm"};
  std::vector<std::vector<uint8_t>> seeds;
  auto Seed = [&](int nFile, const std::string& strPath) {
    std::vector<uint8_t> bytes = ReadTestFile(strPath);
    ASSERT_FALSE(bytes.empty()) << strPath;
    bytes.insert(bytes.begin(), static_cast<uint8_t>(nFile));
    seeds.push_back(bytes);
  };
  const std::string strData = (DefaultGameFolder() / "data").string();
  for (int n = 0; n < DBFILE_COUNT; ++n) Seed(n, strData + "/database/" + kLists[n] + ".dat");
  Seed(DBFILE_COUNT, strData + "/CommonPalette.cplt4");
  const FUZZRUN run = RunFuzzCorpus("database", seeds, fuzz::FuzzDatabase, 100);
  EXPECT_EQ(run.nSeedsAccepted, DBFILE_COUNT + 1);
  EXPECT_GT(run.nAccepted, run.nSeedsAccepted);
  Database.SetDefault();
}

}  // namespace
