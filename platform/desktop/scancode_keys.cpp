// SDL scancodes to virtual-key codes.
#include "platform/desktop/scancode_keys.h"

#include <SDL_scancode.h>

#include <utility>

#include "platform/input/keyboard.h"

namespace plat::desktop {

namespace {

constexpr std::pair<int, int> kScancodeToVk[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    {SDL_SCANCODE_LALT, VK_LMENU},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT},
    {SDL_SCANCODE_RALT, VK_RMENU},
    {SDL_SCANCODE_RGUI, 0x5C},
};

}  // namespace

int VirtualKeyFromScancode(int nScancode) {
  if (nScancode >= SDL_SCANCODE_A && nScancode <= SDL_SCANCODE_Z)
    return 'A' + (nScancode - SDL_SCANCODE_A);
  if (nScancode >= SDL_SCANCODE_1 && nScancode <= SDL_SCANCODE_9)
    return '1' + (nScancode - SDL_SCANCODE_1);
  if (nScancode == SDL_SCANCODE_0) return '0';
  if (nScancode >= SDL_SCANCODE_F1 && nScancode <= SDL_SCANCODE_F12)
    return VK_F1 + (nScancode - SDL_SCANCODE_F1);
  if (nScancode >= SDL_SCANCODE_KP_1 && nScancode <= SDL_SCANCODE_KP_9)
    return VK_NUMPAD0 + 1 + (nScancode - SDL_SCANCODE_KP_1);
  for (const auto& [sc, vk] : kScancodeToVk)
    if (sc == nScancode) return vk;
  return 0;
}

}  // namespace plat::desktop
