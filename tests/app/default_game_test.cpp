// The bundled game is what its generator writes today, and its window has
// a title.
#include "support/default_game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/system_data.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

TEST(DefaultGame, IsWhatItsGeneratorWritesAndHasATitle) {
  const std::filesystem::path tool =
      std::filesystem::path(ProgramPath()).parent_path() / "tools" / "make_default_game";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "make_default_game not built";
  cTempFolder made;
  cProcessResult r = RunProcess({tool.string(), made.Path()}, {}, made.Path());
  ASSERT_TRUE(r.bExited);
  ASSERT_EQ(r.nExitCode, 0) << r.strErr;
  // Every file the generator writes is in the repository's game, byte for
  // byte: after a change to the generator, the game is made again with it.
  int nFiles = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(made.Path())) {
    if (!e.is_regular_file()) continue;
    const std::string strRel = std::filesystem::relative(e.path(), made.Path()).string();
    EXPECT_EQ(ReadTestFile(e.path().string()),
              ReadTestFile((DefaultGameFolder() / strRel).string()))
        << strRel;
    ++nFiles;
  }
  EXPECT_GT(nFiles, 0);

  cSystemData system;
  ASSERT_TRUE(system.Load((DefaultGameFolder() / "data" / "System.dat").string()));
  EXPECT_EQ(system.m_strTitle, "Brimvale");
}
