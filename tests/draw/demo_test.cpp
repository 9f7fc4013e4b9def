// The demonstration frame in every mode: the tool sets the library up,
// draws, presents and writes a PNG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "draw_fixture.h"

namespace {

class cDemoTest : public testing::TestWithParam<drawtest::DRAWMODE> {};

TEST_P(cDemoTest, WritesTheFrameAsPng) {
  const std::filesystem::path tool =
      std::filesystem::path(BRIMVALE_EXE).parent_path() / "tools" / "draw_demo";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "draw_demo not built";
  const std::string strDir = drawtest::TempDir();
  const std::string strPng = strDir + "/frame.png";
  std::filesystem::remove(strPng);
  std::string strMode = GetParam().szName;
  const std::string strCommand = tool.string() + " " + strMode + " " + strPng + " " + strDir;
  ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
  std::ifstream f(strPng, std::ios::binary);
  char signature[8] = {};
  f.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

INSTANTIATE_TEST_SUITE_P(Modes, cDemoTest, testing::ValuesIn(drawtest::kModes), drawtest::ModeName);

}  // namespace
