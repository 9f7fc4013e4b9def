// The null dialogs: nobody is there, so every dialog runs unattended on an
// in-memory window and every chooser takes its scripted answer or is
// cancelled (platform/ui/dialog_box.h); nothing is shown and nothing waits.
#pragma once

#include <memory>

#include "platform/ui/dialog_service.h"
#include "platform/ui/memory_dialog.h"

namespace plat::null {

class cNullDialogs : public cDialogService {
 public:
  void Open() override {}
  void Close() override {}
  bool IsAttended() override { return false; }
  std::unique_ptr<cDialogWindow> CreateDialogWindow(const DLGTEMPLATE& tpl,
                                                    WndHandle hDlg) override {
    return std::make_unique<cMemoryDialogWindow>(tpl, hDlg);
  }
  void Iterate() override {}
  void MoveCursor(int, int) override {}
  bool RunFileChooser(const FILECHOOSERREQUEST&, std::vector<std::string>&, cModalTurn&) override {
    return false;
  }
};

}  // namespace plat::null
