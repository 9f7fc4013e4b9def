// Placeholder boxes: replaced by GTK and scripted answers.
#include "platform/ui/message_box.h"

namespace plat {
int MessageBox(WndHandle, const std::string&, const std::string&, uint32_t type) {
  return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
}
}  // namespace plat
