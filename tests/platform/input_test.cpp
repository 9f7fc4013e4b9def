// Keyboard state by virtual-key code, and scripted pads.
#include <gtest/gtest.h>

#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"

namespace plat {

TEST(Keyboard, SideKeysHoldTheirSharedCodeUntilBothAreUp) {
  ReleaseAllKeys();
  SetKeyDown(VK_LSHIFT, true);
  SetKeyDown(VK_RSHIFT, true);
  EXPECT_TRUE(IsKeyDown(VK_SHIFT));
  SetKeyDown(VK_LSHIFT, false);
  EXPECT_TRUE(IsKeyDown(VK_SHIFT));
  SetKeyDown(VK_RSHIFT, false);
  EXPECT_FALSE(IsKeyDown(VK_SHIFT));
  SetKeyDown('Z', true);
  EXPECT_TRUE(IsKeyDown('Z'));
  EXPECT_FALSE(IsKeyDown(-1));
  EXPECT_FALSE(IsKeyDown(256));
  ReleaseAllKeys();
  EXPECT_FALSE(IsKeyDown('Z'));
}

TEST(Joystick, ScriptedPadsReadLikeRealOnes) {
  JOYSTATE s;
  EXPECT_FALSE(ReadJoystick(0, s));
  JOYSTATE pad;
  pad.dwXpos = 0;
  pad.dwButtons = 0x5;
  SetJoystickState(2, &pad);
  EXPECT_FALSE(ReadJoystick(0, s));
  ASSERT_TRUE(ReadJoystick(2, s));
  EXPECT_EQ(s.dwXpos, 0u);
  EXPECT_EQ(s.dwYpos, 32767u);
  EXPECT_EQ(s.dwButtons, 0x5u);
  EXPECT_EQ(CountJoysticks(), 1);
  SetJoystickState(2, nullptr);
  EXPECT_FALSE(ReadJoystick(2, s));
  EXPECT_FALSE(ReadJoystick(kMaxJoysticks, s));
}

}  // namespace plat
