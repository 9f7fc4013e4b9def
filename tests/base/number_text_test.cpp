// Numbers as text: digit counts and the padded forms.
#include "base/number_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(NumberText, DigitCounts) {
  const std::pair<int32_t, int> cases[] = {{0, 1},       {9, 1},          {10, 2},
                                           {-45, 2},     {999999, 6},     {1000000, 7},
                                           {INT_MAX, 10}, {INT_MIN, 10}};
  for (const auto& [n, want] : cases) EXPECT_EQ(GetDigitNum(n), want) << n;
}

TEST(NumberText, PaddedAndSignedForms) {
  struct Case {
    int32_t nValue;
    int nWidth;
    int bKeepZeros;
    int bPlus;
    const char* szWant;
  } const cases[] = {
      {7, 3, 0, 0, "  7"},   {7, 3, 1, 0, "007"},      {-7, 0, 0, 0, "-7"},
      {0, 0, 0, 1, "+0"},    {0, 3, 0, 0, "  0"},      {1234, 2, 0, 0, "1234"},
      {105, 5, 0, 0, "  105"}, {3, 2, 1, 0, "03"},     {-30, 4, 0, 1, "-  30"},
      {INT_MIN, 0, 0, 0, "-2147483648"},
  };
  for (const Case& c : cases) {
    std::string s = "old";
    NumToStr(s, c.nValue, c.nWidth, c.bKeepZeros, c.bPlus);
    EXPECT_EQ(s, c.szWant) << c.nValue << " width " << c.nWidth;
  }
}

}  // namespace
