// The desktop's message boxes: GTK dialogs created and run on the window
// thread (boxes from other threads are sent there), iterated from our own
// loop so requests from the game side keep being served. Without a display
// boxes are answered unattended.
#pragma once

#include "platform/msg/messages.h"
#include "platform/ui/box_service.h"

namespace plat::desktop {

class cGtkBoxes : public cBoxService {
 public:
  void Open() override;
  void Close() override;
  int Ask(const std::string& text, const std::string& caption, uint32_t type) override;

  bool IsShowingDialogs() const { return m_hBoxWnd != nullptr; }

 private:
  ThreadId m_WindowThread = 0;
  WndHandle m_hBoxWnd = nullptr;  // on the window thread; runs boxes sent there
};

}  // namespace plat::desktop
