// The toolkit's shared list of windows: the toolkit windows that entered it
// (modeless dialogs) and other windows registered by their handle. A modal
// dialog can hide or disable all of them while it runs.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/msg/messages.h"

class cWindow;

// A window known only by its handle, with the style bits the toolkit keeps
// for it.
struct cRegisteredWindow {
  plat::WndHandle hWnd = nullptr;
  uint32_t dwStyle = 0;

  // Style changes without any geometry update.
  void AddStyle(uint32_t dwBits);
  void RemoveStyle(uint32_t dwBits);
};

class cWindowList {
 public:
  void Add(cWindow* pWindow);
  // False when the window is not in the list.
  bool Remove(cWindow* pWindow);
  bool Contains(const cWindow* pWindow) const;

  // Shows (nonzero) or hides every window of both lists.
  void ShowAll(int bShow);
  // Enables (nonzero) or disables every window of both lists.
  void EnableAll(int bEnable);

  std::vector<cWindow*> m_vWindows;
  std::vector<cRegisteredWindow> m_vRegistered;
};

extern cWindowList g_WindowList;
