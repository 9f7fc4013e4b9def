// The one table from SDL scancodes to virtual-key codes.
#include "platform/desktop/scancode_keys.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include "platform/input/keyboard.h"

namespace plat::desktop {

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

}  // namespace plat::desktop
