// The key log: its two run-length channels against runs counted by hand,
// play-back to the end of the shorter channel, and logs refused on load.
#include "files/key_log.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"
#include "flow/record_fuzz.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(KeyLog, RecordsRunsPerChannel) {
  struct CASE {
    std::vector<int16_t> dirs, buttons;
    std::vector<int16_t> dirValues;
    std::vector<int32_t> dirRuns;
    std::vector<int16_t> buttonValues;
    std::vector<int32_t> buttonRuns;
  };
  const CASE cases[] = {
      {{0, 0, 0, 4, 4, 0}, {1, 1, 1, 1, 1, 1}, {0, 4, 0}, {3, 2, 1}, {1}, {6}},
      // The channels change at their own frames.
      {{1, 1, 2, 2}, {5, 6, 6, 6}, {1, 2}, {2, 2}, {5, 6}, {1, 3}},
      {{-1, -1, 8}, {-32768, 0, 0}, {-1, 8}, {2, 1}, {-32768, 0}, {1, 2}},
      {{}, {}, {}, {}, {}, {}},
  };
  for (const CASE& c : cases) {
    cKeyLog log;
    for (size_t i = 0; i < c.dirs.size(); ++i) log.AddKey(c.dirs[i], c.buttons[i]);
    EXPECT_EQ(log.m_vDirValues, cSafeVector<int16_t>(c.dirValues));
    EXPECT_EQ(log.m_vDirRuns, cSafeVector<int32_t>(c.dirRuns));
    EXPECT_EQ(log.m_vButtonValues, cSafeVector<int16_t>(c.buttonValues));
    EXPECT_EQ(log.m_vButtonRuns, cSafeVector<int32_t>(c.buttonRuns));
    // Played back: the same frames, then the end.
    for (size_t i = 0; i < c.dirs.size(); ++i) {
      int16_t d = 99, b = 99;
      ASSERT_EQ(log.GetKey(&d, &b), 0) << i;
      EXPECT_EQ(d, c.dirs[i]);
      EXPECT_EQ(b, c.buttons[i]);
    }
    int16_t d = 99, b = 99;
    EXPECT_EQ(log.GetKey(&d, &b), 1);
    EXPECT_EQ(d, 99);
  }
}

TEST(KeyLog, RunsLongerThanSixteenBitsAndTheirFile) {
  cKeyLog log;
  log.m_nSeed = 0x12345678;
  for (int i = 0; i < 70000; ++i) log.AddKey(3, 0);
  log.AddKey(3, 1);
  EXPECT_EQ(log.m_vDirRuns, cSafeVector<int32_t>{70001});
  EXPECT_EQ(log.m_vButtonRuns, (cSafeVector<int32_t>{70000, 1}));
  const Bytes expected = cByteBuilder::File(783)
                             .Count(1)
                             .I32(0x12345678)
                             .Count(0)
                             .Count(1)
                             .I16(3)
                             .Count(2)
                             .I16(0)
                             .I16(1)
                             .Count(1)
                             .I32(70001)
                             .Count(2)
                             .I32(70000)
                             .I32(1)
                             .Bytes();
  EXPECT_EQ(log.SaveToBytes(), expected);
  cKeyLog back;
  ASSERT_EQ(back.LoadFromBytes(expected.data(), expected.size()), 1);
  int n = 0;
  int16_t d, b;
  while (back.GetKey(&d, &b) == 0) ++n;
  EXPECT_EQ(n, 70001);
  EXPECT_EQ(b, 1);
}

TEST(KeyLog, ShorterChannelEndsPlayBack) {
  cKeyLog log;
  log.m_vDirValues = {2};
  log.m_vDirRuns = {10};
  log.m_vButtonValues = {1, 4};
  log.m_vButtonRuns = {1, 2};
  int n = 0;
  int16_t d, b;
  while (log.GetKey(&d, &b) == 0) ++n;
  EXPECT_EQ(n, 3);
  // Copies keep their own position; a copy plays from where it was made.
  log.Rewind();
  log.GetKey(&d, &b);
  cKeyLog copy;
  copy = log;
  EXPECT_EQ(copy.m_nButtonIndex, 0);
  EXPECT_EQ(log.m_nButtonIndex, 1);
}

TEST(KeyLog, UnpairedOrEmptyRunsAreRefused) {
  auto File = [](std::vector<int16_t> dv, std::vector<int32_t> dr) {
    cByteBuilder b = cByteBuilder::File(783).Count(1).I32(0).Count(0);
    b.Count(static_cast<uint32_t>(dv.size()));
    for (int16_t v : dv) b.I16(v);
    b.Count(1).I16(0);
    b.Count(static_cast<uint32_t>(dr.size()));
    for (int32_t v : dr) b.I32(v);
    b.Count(1).I32(1);
    return b.Bytes();
  };
  struct CASE {
    Bytes file;
    int nResult;
  };
  const CASE cases[] = {{File({1, 2}, {3, 4}), 1},
                        {File({1, 2}, {3}), 0},
                        {File({1}, {3, 4}), 0},
                        {File({1, 2}, {3, 0}), 0},
                        {File({1, 2}, {-5, 1}), 0}};
  for (const CASE& c : cases) {
    cKeyLog log;
    EXPECT_EQ(log.LoadFromBytes(c.file.data(), c.file.size()), c.nResult);
  }
  ExpectTruncationFails<cKeyLog>(cases[0].file);
  ExpectHugeCountsSurvive<cKeyLog>(cases[0].file);
}

}  // namespace
