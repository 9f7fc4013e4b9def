// The built program draws the demo stage as it was drawn when the golden
// pictures were taken: a replay of a short scripted walk, in Direct3D and in
// DirectDraw, at fixed frames. A deliberate change to what the play screen
// shows records them again with BRIMVALE_RECORD_GOLDEN=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "input/input.h"
#include "platform/fs/file_system.h"
#include "support/default_game.h"
#include "support/png_decode.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path GoldenFolder() { return std::filesystem::path(TestDataDir()) / "screens"; }

class DemoScreens : public ::testing::TestWithParam<const char*> {
 protected:
  DemoScreens() { CopyDefaultGame(m_Project.Path()); }

  // Walks right from the 10th play frame and jumps twice on the way.
  void SaveWalkReplay() {
    cCurrentFolder in(m_Project.Path());
    cStageData stage;
    ASSERT_TRUE(stage.Load("data\\stg4\\demo.stg4_783"));
    cKeyLog log;
    for (int f = 0; f < 400; ++f) {
      const bool bRight = f >= 10 && f < 300;
      const bool bJump = (f >= 40 && f < 60) || (f >= 120 && f < 135);
      log.AddKey(static_cast<int16_t>(bRight ? DIR_RIGHT : 0), static_cast<int16_t>(bJump ? 1 : 0));
    }
    log.m_nSeed = 1;
    cPlayData start;
    plat::fs::MakeDirectory("user_data");
    plat::fs::MakeDirectory("user_data\\rpl4");
    ASSERT_EQ(log.SaveReplay("user_data\\rpl4\\walk.rpl4_783", stage, stage, start), 1);
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_P(DemoScreens, FramesOfAScriptedWalkMatchTheirGoldens) {
  const std::string strMode = GetParam();
  SetDrawingMode(m_Project.Path(), strMode == "d3d");
  SaveWalkReplay();
  const bool bRecord = std::getenv("BRIMVALE_RECORD_GOLDEN") != nullptr;
  for (int nFrames : {60, 240}) {
    const std::string strName = "demo_" + strMode + "_" + std::to_string(nFrames) + ".png";
    const std::string strShot = m_Runtime.Path() + "/" + strName;
    const cProcessResult r = RunProcess(
        {ProgramPath(), "--headless", "--no-wait", "--frames", std::to_string(nFrames), "--project",
         m_Project.Path(), "--screenshot", strShot, "user_data/rpl4/walk.rpl4_783"},
        {"XDG_RUNTIME_DIR=" + m_Runtime.Path()}, m_Project.Path(), 60);
    ASSERT_TRUE(r.bExited);
    ASSERT_EQ(r.nExitCode, 0) << r.strErr;
    const std::vector<uint8_t> shot = ReadBytes(strShot);
    if (bRecord) {
      std::filesystem::create_directories(GoldenFolder());
      std::filesystem::copy_file(strShot, GoldenFolder() / strName,
                                 std::filesystem::copy_options::overwrite_existing);
      continue;
    }
    const pngtest::DECODED got = pngtest::Decode(shot);
    const pngtest::DECODED want = pngtest::Decode(ReadBytes(GoldenFolder() / strName));
    ASSERT_EQ(got.nWidth, 640);
    ASSERT_EQ(got.nHeight, 480);
    ASSERT_EQ(want.pixels.size(), got.pixels.size()) << strName;
    int nDiffer = 0;
    for (size_t i = 0; i < got.pixels.size(); ++i) nDiffer += got.pixels[i] != want.pixels[i];
    EXPECT_EQ(nDiffer, 0) << strName << ": pixels that differ from the golden picture";
  }
  if (bRecord) GTEST_SKIP() << "golden pictures recorded";
}

INSTANTIATE_TEST_SUITE_P(Modes, DemoScreens, ::testing::Values("d3d", "ddraw"));

}  // namespace
