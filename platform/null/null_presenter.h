// The null presenter: no window and no display. Frames stay in the core's
// frame store, where screenshots and tests read them.
#pragma once

#include "platform/present/presenter_service.h"

namespace plat::null {

class cNullPresenter : public cPresenterService {
 public:
  bool Open(int, int) override { return true; }
  void Close() override {}
  void Show(bool) override {}
  void SetTitle(const std::string&) override {}
  void Move(int, int) override {}
  bool GetPosition(int&, int&) override { return false; }
  bool GetDesktopSize(int&, int&) override { return false; }
  bool GetCursorPosition(int&, int&) override { return false; }
  void Refresh(bool) override {}
  bool IsMinimised() override { return false; }
  bool IsMaximised() override { return false; }
  void Maximise() override {}
};

}  // namespace plat::null
