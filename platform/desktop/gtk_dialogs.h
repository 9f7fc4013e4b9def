// The desktop's dialogs and file choosers: GTK windows laid out from the
// dialog templates (dialog units measured on the dialog's own font, the
// controls, captions and tab order of the template) and GTK's file
// chooser, kept above the game window and iterated from the program's own
// loop so the game side keeps being served. Input goes through GTK, so
// input methods work; keys reach the dialog key hook first. Without a
// display nothing is attended and dialogs run unattended.
#pragma once

#include <memory>

#include "platform/ui/dialog_service.h"

namespace plat::desktop {

class cSdlPresenter;

class cGtkDialogs : public cDialogService {
 public:
  // The presenter's window is the one dialogs are kept above (may be null).
  explicit cGtkDialogs(cSdlPresenter* pPresenter) : m_pPresenter(pPresenter) {}

  void Open() override;
  void Close() override;
  bool IsAttended() override { return m_bOpen; }
  std::unique_ptr<cDialogWindow> CreateDialogWindow(const DLGTEMPLATE& tpl,
                                                    WndHandle hDlg) override;
  void Iterate() override;
  void MoveCursor(int x, int y) override;
  bool RunFileChooser(const FILECHOOSERREQUEST& req, std::vector<std::string>& vChosen,
                      cModalTurn& turn) override;

 private:
  cSdlPresenter* m_pPresenter;
  bool m_bOpen = false;
};

// The virtual-key code of a GDK key value; 0 for keys the game cannot name.
int VirtualKeyFromKeyval(unsigned int nKeyval);

}  // namespace plat::desktop
