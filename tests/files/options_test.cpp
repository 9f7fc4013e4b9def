// The options record: its 36-byte default file, loading into a copy, and
// the ranges its values are brought into.
#include "files/options.h"

#include <gtest/gtest.h>

#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Options, DefaultFileIs36Bytes) {
  cOptionData opt;
  Bytes file = opt.SaveToBytes();
  EXPECT_EQ(
      file,
      cByteBuilder::File(783).Count(4).I32(0).I32(1).I32(7).I32(0).Count(1).Str("aaa").Bytes());
  EXPECT_EQ(file.size(), 36u);

  opt.m_strName = "";
  // The length value 1 and no name bytes.
  EXPECT_EQ(opt.SaveToBytes(),
            cByteBuilder::File(783).Count(4).I32(0).I32(1).I32(7).I32(0).Count(1).U32(1).Bytes());

  cOptionData back;
  back.m_strName = "zzz";
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.m_strName, "aaa");
  EXPECT_EQ(back.SaveToBytes(), file);
}

TEST(Options, LoadedValuesAreClamped) {
  struct Case {
    int32_t nIn[4];
    int32_t nOut[4];
  };
  const Case cases[] = {
      {{23, 0, 10, 3}, {23, 0, 10, 3}},
      {{24, 2, 11, 4}, {23, 1, 10, 3}},
      {{-1, -1, -1, -1}, {0, 0, 0, 0}},
      {{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, {0, 1, 10, 0}},
  };
  for (const Case& c : cases) {
    Bytes file = cByteBuilder::File(700)
                     .Count(4)
                     .I32(c.nIn[0])
                     .I32(c.nIn[1])
                     .I32(c.nIn[2])
                     .I32(c.nIn[3])
                     .Count(1)
                     .Str("me");
    cOptionData opt;
    ASSERT_EQ(opt.LoadFromBytes(file.data(), file.size()), 1);
    EXPECT_EQ(opt.m_nPalette, c.nOut[0]);
    EXPECT_EQ(opt.m_bMusic, c.nOut[1]);
    EXPECT_EQ(opt.m_nVolume, c.nOut[2]);
    EXPECT_EQ(opt.m_nRankMode, c.nOut[3]);
  }
}

TEST(Options, StartUpLoadKeepsTheOptionsUnlessTheWholeFileReads) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  std::filesystem::create_directory("user_data");
  const std::string strPath = "user_data/Option.dat";

  g_Option = cOptionData();
  LoadOptionsAtStart();  // no file: the defaults stay
  EXPECT_EQ(g_Option.m_nVolume, 7);
  EXPECT_EQ(g_Option.m_strName, "aaa");

  Bytes good = cByteBuilder::File(783).Count(4).I32(5).I32(0).I32(3).I32(2).Count(1).Str("bob");
  Bytes cases[] = {
      Bytes(good.begin(), good.end() - 2),    // cut inside the name
      Bytes(good.begin(), good.begin() + 3),  // shorter than the header
      cByteBuilder::File(784).Count(4).I32(5).I32(0).I32(3).I32(2).Count(1).Str("bob"),
      cByteBuilder::File(783).Count(5).I32(5).I32(0).I32(3).I32(2).I32(1).Count(1).Str("b"),
  };
  for (const Bytes& bad : cases) {
    ASSERT_TRUE(WriteTestFile(strPath, bad));
    LoadOptionsAtStart();
    EXPECT_EQ(g_Option.m_nPalette, 0);
    EXPECT_EQ(g_Option.m_strName, "aaa");
  }

  ASSERT_TRUE(WriteTestFile(strPath, good));
  LoadOptionsAtStart();
  EXPECT_EQ(g_Option.m_nPalette, 5);
  EXPECT_EQ(g_Option.m_bMusic, 0);
  EXPECT_EQ(g_Option.m_strName, "bob");

  // Saved through the atomic writer and read back as written.
  g_Option.m_nVolume = 10;
  ASSERT_EQ(g_Option.Save(strPath), 1);
  EXPECT_EQ(ReadTestFile(strPath), g_Option.SaveToBytes());
  g_Option = cOptionData();
}

}  // namespace
