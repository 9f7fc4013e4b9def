// CP932 at the edge of the program.
#include "platform/text/cp932.h"

#include <gtest/gtest.h>

namespace plat {

TEST(Cp932, ConvertsBothWaysAsCodePage932) {
  struct Case {
    std::string strCp932, strUtf8;
  };
  // 0x5C is a backslash here, and 81 60 the wave dash of code page 932.
  for (const Case& c : {Case{"abc\\", "abc\\"}, Case{"\x83\x5c", "ソ"}, Case{"\xb1", "ｱ"},
                        Case{"\x81\x60", "～"}, Case{"\x87\x40", "①"}}) {
    EXPECT_EQ(Cp932ToUtf8(c.strCp932), c.strUtf8);
    std::string out;
    ASSERT_TRUE(Utf8ToCp932(c.strUtf8, out)) << c.strUtf8;
    EXPECT_EQ(out, c.strCp932);
  }
}

TEST(Cp932, BrokenTextNeverStopsAConversion) {
  EXPECT_EQ(Cp932ToUtf8("a\x83"), "a\xEF\xBF\xBD");
  std::string out = "kept";
  EXPECT_FALSE(Cp932ToUtf8Strict("a\x83", out));
  EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x98\x80", out));  // an emoji CP932 cannot hold
  EXPECT_EQ(out, "kept");
}

TEST(Cp932, PathsSplitOnSeparatorsButNeverInsideACharacter) {
  EXPECT_EQ(SplitCp932Path("data\\\x83\x5c\\x/y//z"),
            (std::vector<std::string>{"data", "\x83\x5c", "x", "y", "z"}));
  EXPECT_EQ(SplitCp932Path("\\a"), (std::vector<std::string>{"a"}));
}

}  // namespace plat
