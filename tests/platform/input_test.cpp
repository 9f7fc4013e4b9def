// Keyboard state by virtual-key code, and scripted pads.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"

namespace plat {

TEST(Keyboard, ScancodesMapToVirtualKeys) {
  struct Case {
    int nScancode, nVk;
  };
  for (const Case& c : {Case{SDL_SCANCODE_A, 'A'}, Case{SDL_SCANCODE_Z, 'Z'},
                        Case{SDL_SCANCODE_0, '0'}, Case{SDL_SCANCODE_9, '9'},
                        Case{SDL_SCANCODE_ESCAPE, VK_ESCAPE}, Case{SDL_SCANCODE_SPACE, VK_SPACE},
                        Case{SDL_SCANCODE_LEFT, VK_LEFT}, Case{SDL_SCANCODE_DOWN, VK_DOWN},
                        Case{SDL_SCANCODE_F3, VK_F1 + 2}, Case{SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5},
                        Case{SDL_SCANCODE_KP_0, VK_NUMPAD0}, Case{SDL_SCANCODE_BACKSPACE, VK_BACK},
                        Case{SDL_SCANCODE_RSHIFT, VK_RSHIFT}, Case{SDL_SCANCODE_MUTE, 0}}) {
    EXPECT_EQ(VirtualKeyFromScancode(c.nScancode), c.nVk) << c.nScancode;
  }
}

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
  SetScriptedJoystick(2, &pad);
  EXPECT_FALSE(ReadJoystick(0, s));
  ASSERT_TRUE(ReadJoystick(2, s));
  EXPECT_EQ(s.dwXpos, 0u);
  EXPECT_EQ(s.dwYpos, 32767u);
  EXPECT_EQ(s.dwButtons, 0x5u);
  EXPECT_EQ(CountJoysticks(), 1);
  SetScriptedJoystick(2, nullptr);
  EXPECT_FALSE(ReadJoystick(2, s));
  EXPECT_FALSE(ReadJoystick(kMaxJoysticks, s));
}

}  // namespace plat
