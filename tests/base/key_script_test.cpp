// Key scripts: the lines a script accepts and the ones it refuses, and the
// changes handed to the key table frame by frame.
#include "base/key_script.h"

#include <gtest/gtest.h>

#include "platform/input/keyboard.h"

namespace {

TEST(KeyScript, ParsesPressesAndReleasesInFrameOrder) {
  std::vector<KEYSCRIPTEVENT> events;
  std::string strError;
  ASSERT_TRUE(ParseKeyScript("# title\n\n0 +Down\r\n3 -down\n3 +Z\n  9   -z  \n12 +F2\n", events,
                             strError))
      << strError;
  struct Want {
    int nFrame;
    int nVk;
    bool bDown;
  } const want[] = {{0, plat::VK_DOWN, true},
                    {3, plat::VK_DOWN, false},
                    {3, 'Z', true},
                    {9, 'Z', false},
                    {12, plat::VK_F1 + 1, true}};
  ASSERT_EQ(events.size(), std::size(want));
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].nFrame, want[i].nFrame) << i;
    EXPECT_EQ(events[i].nVirtualKey, want[i].nVk) << i;
    EXPECT_EQ(events[i].bDown, want[i].bDown) << i;
  }
}

TEST(KeyScript, RefusesBadLinesNamingThem) {
  struct Case {
    const char* szText;
    const char* szWant;  // part of the reason
  } const cases[] = {
      {"1 +Z\n2 +Tab\n", "line 2: unknown key \"Tab\""},
      {"5 +Z\n4 -Z\n", "line 2: frame 4 comes before frame 5"},
      {"x +Z\n", "line 1: \"x\" is not a frame number"},
      {"-1 +Z\n", "is not a frame number"},
      {"99999999999 +Z\n", "is not a frame number"},
      {"3 Z\n", "is not \"FRAME +KEY\""},
      {"3 +\n", "is not \"FRAME +KEY\""},
      {"3\n", "is not \"FRAME +KEY\""},
      {"3 +Z +X\n", "is not \"FRAME +KEY\""},
  };
  for (const Case& c : cases) {
    std::vector<KEYSCRIPTEVENT> events;
    std::string strError;
    EXPECT_FALSE(ParseKeyScript(c.szText, events, strError)) << c.szText;
    EXPECT_NE(strError.find(c.szWant), std::string::npos) << c.szText << " -> " << strError;
  }
}

TEST(KeyScript, AppliesEachChangeOnceWhenItsFrameIsPolled) {
  plat::ReleaseAllKeys();
  SetKeyScript({{2, 'Z', true}, {2, plat::VK_LEFT, true}, {4, 'Z', false}});
  ApplyKeyScript(0);
  EXPECT_FALSE(plat::IsKeyDown('Z'));
  ApplyKeyScript(3);  // a frame polled late still gets what was due
  EXPECT_TRUE(plat::IsKeyDown('Z'));
  EXPECT_TRUE(plat::IsKeyDown(plat::VK_LEFT));
  plat::SetKeyDown(plat::VK_LEFT, false);
  ApplyKeyScript(3);  // nothing is applied twice
  EXPECT_FALSE(plat::IsKeyDown(plat::VK_LEFT));
  ApplyKeyScript(4);
  EXPECT_FALSE(plat::IsKeyDown('Z'));
  SetKeyScript({});
  plat::ReleaseAllKeys();
}

}  // namespace
