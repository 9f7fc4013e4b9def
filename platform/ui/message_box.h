// Message boxes: a GTK dialog on the window thread when a display exists;
// otherwise the answer comes from the script or the box's default, is logged,
// and the call returns at once.
#pragma once

#include <cstdint>
#include <string>

#include "platform/msg/messages.h"

namespace plat {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Text and caption are CP932 bytes. Returns the pressed button's id.
int MessageBox(WndHandle hOwner, const std::string& text, const std::string& caption,
               uint32_t type);

}  // namespace plat
