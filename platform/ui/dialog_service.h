// What a back end's dialogs and file choosers do. A dialog is described by
// a template of controls; the back end makes a window of it whose controls
// the dialog reads and writes through cDialogWindow, and whose events reach
// the dialog's own window object: button commands, edit changes and the
// close request are sent to it, keys go through the dialog key hook first.
// Where nobody can be asked, dialogs run on an in-memory window and take
// scripted answers (platform/ui/dialog_box.h); choosers take a scripted
// path or are cancelled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/msg/messages.h"

namespace plat {

// Notifications a dialog's window sends in WM_COMMAND's high word.
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t EN_KILLFOCUS = 0x0200;
constexpr uint16_t EN_UPDATE = 0x0400;
constexpr uint32_t WM_INITDIALOG = 0x0110;

enum class eDlgItemKind : uint8_t {
  Picture,        // an empty picture frame
  Label,          // static text
  GroupBox,       // a frame with a caption around other controls
  PushButton,     // sends BN_CLICKED with its identifier
  DefPushButton,  // the same, and Enter presses it
  RadioButton,    // checked alone within its group (a group starts at bGroup)
  CheckBox,       // toggles itself
  Edit,           // one line of text; EN_UPDATE after every change
};

// One control: position and size in dialog units (a quarter of the dialog
// font's average character width, an eighth of its height).
struct DLGITEM {
  uint16_t nId = 0;
  eDlgItemKind kind = eDlgItemKind::Label;
  std::string strText;  // CP932
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  bool bTabStop = false;
  bool bGroup = false;
};

struct DLGTEMPLATE {
  uint16_t nId = 0;
  int cx = 0;  // dialog units
  int cy = 0;
  std::string strFace;  // CP932 face name of the dialog font
  int nPointSize = 9;
  bool bCaption = false;
  std::vector<DLGITEM> vItems;  // in tab order
};

// A dialog's window as shown: its controls by identifier. Texts are CP932;
// edit selections are byte offsets into that text. Operations on an
// identifier the template lacks do nothing (reads give 0 and "").
class cDialogWindow {
 public:
  virtual ~cDialogWindow() = default;

  virtual bool HasItem(uint16_t nId) const = 0;
  virtual void SetItemText(uint16_t nId, const std::string& strText) = 0;
  virtual std::string GetItemText(uint16_t nId) = 0;
  virtual void SetCheck(uint16_t nId, int nState) = 0;
  virtual int GetCheck(uint16_t nId) = 0;
  virtual void GetSelection(uint16_t nId, int& nStart, int& nEnd) = 0;
  virtual void SetSelection(uint16_t nId, int nStart, int nEnd) = 0;
  virtual void SetFocus(uint16_t nId) = 0;
  virtual void EnableItem(uint16_t nId, bool bEnable) = 0;
  // A control's rectangle on the desktop; false without such a control.
  virtual bool GetItemRect(uint16_t nId, int& x, int& y, int& cx, int& cy) = 0;

  virtual void SetTitle(const std::string& strTitle) = 0;
  // The outer top-left corner on the desktop, and the client size.
  virtual void Move(int x, int y) = 0;
  virtual void GetPosition(int& x, int& y) = 0;
  virtual void GetClientSize(int& cx, int& cy) = 0;
  virtual void Show(bool bShow) = 0;
  virtual void Enable(bool bEnable) = 0;
  // Whether an input method is composing text in the focused control.
  virtual bool IsComposing() = 0;
  // The dialog's run has ended: the window goes away.
  virtual void Close() = 0;
};

// One file chooser. Paths are CP932 in the program's Windows form, relative
// to the project folder; the filter is a list of (description, patterns)
// with patterns separated by ';'.
struct FILECHOOSERREQUEST {
  bool bSave = false;
  bool bMultiple = false;
  bool bMustExist = false;
  bool bOverwritePrompt = false;
  std::string strTitle;
  std::string strInitialFolder;
  std::string strInitialName;  // save: the proposed name
  std::string strDefaultExt;
  std::vector<std::pair<std::string, std::string>> vFilters;
};

// What a modal loop does between two turns of a back end's events: serves
// the program's messages and says whether the modal run may go on.
class cModalTurn {
 public:
  virtual ~cModalTurn() = default;
  virtual bool Turn() = 0;
};

class cDialogService {
 public:
  virtual ~cDialogService() = default;
  // Window thread, at start and at the end.
  virtual void Open() = 0;
  virtual void Close() = 0;
  // Whether a person can be asked; otherwise dialogs run unattended.
  virtual bool IsAttended() = 0;
  // The window of a template, hidden; its events go to hDlg.
  virtual std::unique_ptr<cDialogWindow> CreateDialogWindow(const DLGTEMPLATE& tpl,
                                                            WndHandle hDlg) = 0;
  // One turn of the back end's events; never waits.
  virtual void Iterate() = 0;
  // Puts the mouse pointer on a desktop position.
  virtual void MoveCursor(int x, int y) = 0;
  // Runs a chooser shown to a person until it is answered or turn.Turn()
  // says stop (a close request: cancelled). The chosen files, as absolute
  // UTF-8 paths; false when cancelled.
  virtual bool RunFileChooser(const FILECHOOSERREQUEST& req, std::vector<std::string>& vChosen,
                              cModalTurn& turn) = 0;
};

}  // namespace plat
