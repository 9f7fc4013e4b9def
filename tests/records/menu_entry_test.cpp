// Menu entries: the stored body and the mapping of shown lines to entries.
#include "records/menu_entry.h"

#include <gtest/gtest.h>

#include "support/byte_builder.h"

namespace {

TEST(MenuEntry, BodyAndDefaults) {
  cCmd cmd;
  EXPECT_EQ(cmd.m_bEnable, 1);
  cmd.m_bEnable = 0x01020304;
  cmd.m_strLabel = "ab";
  EXPECT_EQ(cmd.SaveToBytes(),
            cByteBuilder::File(783).Count(1).I32(0x01020304).Count(1).Str("ab").Bytes());
  // A stored flag is kept as it is, whatever its value.
  std::vector<uint8_t> file = cByteBuilder::File(100).Count(1).I32(-1).Count(1).Str("x");
  cCmd back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.m_bEnable, -1);
  EXPECT_EQ(back.m_strLabel, "x");
}

TEST(MenuEntry, ShownLinesMapToEntries) {
  cSafeVector<cCmd> menu = {cCmd(1, "a"), cCmd(0, "b"), cCmd(2, "c"), cCmd(-1, "d")};
  EXPECT_EQ(cCmd::GetCmdCount(menu), 3);
  const std::pair<int, int> lines[] = {{0, 0}, {1, 2}, {2, 3}, {3, 0}, {-1, 0}};
  for (auto [nLine, nEntry] : lines) EXPECT_EQ(cCmd::GetCmdNum(nLine, menu), nEntry) << nLine;

  cSafeVector<cCmd> empty;
  EXPECT_EQ(cCmd::GetCmdCount(empty), 0);
  EXPECT_EQ(cCmd::GetCmdNum(0, empty), 0);
}

}  // namespace
