// The keyboard state table.
#include "platform/input/keyboard.h"

#include <array>
#include <atomic>

namespace plat {

namespace {

std::array<std::atomic<uint8_t>, 256> g_Keys{};

// The shared code of a side-specific key, and the other side's code.
bool SharedCode(int nVk, int& nShared, int& nOther) {
  switch (nVk) {
    case VK_LSHIFT:
      nShared = VK_SHIFT;
      nOther = VK_RSHIFT;
      return true;
    case VK_RSHIFT:
      nShared = VK_SHIFT;
      nOther = VK_LSHIFT;
      return true;
    case VK_LCONTROL:
      nShared = VK_CONTROL;
      nOther = VK_RCONTROL;
      return true;
    case VK_RCONTROL:
      nShared = VK_CONTROL;
      nOther = VK_LCONTROL;
      return true;
    case VK_LMENU:
      nShared = VK_MENU;
      nOther = VK_RMENU;
      return true;
    case VK_RMENU:
      nShared = VK_MENU;
      nOther = VK_LMENU;
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsKeyDown(int nVirtualKey) {
  if (nVirtualKey < 0 || nVirtualKey > 255) return false;
  return g_Keys[nVirtualKey].load() != 0;
}

void SetKeyDown(int nVirtualKey, bool bDown) {
  if (nVirtualKey <= 0 || nVirtualKey > 255) return;
  g_Keys[nVirtualKey] = bDown ? 1 : 0;
  int nShared = 0, nOther = 0;
  if (SharedCode(nVirtualKey, nShared, nOther))
    g_Keys[nShared] = (bDown || g_Keys[nOther].load()) ? 1 : 0;
}

void ReleaseAllKeys() {
  for (auto& k : g_Keys) k = 0;
}

}  // namespace plat
