// The controls of a dialog as the program sees them: each template control
// that carries a value is a control object bound to one program variable
// (a check box to an int, radio buttons to one int with a value each, an
// edit to a text). A dialog shows the variables when it opens and stores
// them back when the player confirms; an edit also keeps its text within
// its line limits while the player types. Window thread only.
#pragma once

#include <cstdint>
#include <string>

#include "app/mem_dc.h"
#include "base/safe_vector.h"
#include "platform/msg/messages.h"
#include "platform/msg/window.h"
#include "platform/ui/dialog_service.h"

class cDialog;

// Control kinds; the dialog's command dispatch also knows kinds 2 (a second
// edit kind), 7 and 8 (list kinds), which no control of this program has.
enum : int {
  CTRL_PLAIN = 0,
  CTRL_EDIT_OTHER = 2,
  CTRL_EDIT = 3,
  CTRL_FONT = 4,
  CTRL_CHECK = 5,
  CTRL_RADIO = 6,
  CTRL_LIST = 7,
  CTRL_LIST_REDRAW = 8,
  CTRL_DIALOG_SCROLL = 11,
};

class cControl {
 public:
  explicit cControl(int nKind) : m_nKind(nKind) {}
  virtual ~cControl() = default;

  virtual void Enable(int bEnable);
  virtual void Show() {}
  virtual void Store() {}
  virtual void OnChange() {}
  virtual int OnNotify(uintptr_t, intptr_t) { return 0; }
  virtual int OnScroll(uintptr_t, intptr_t) { return 0; }
  virtual void RefreshList() {}  // kind 8, from cDialog::RefreshLists
  virtual void OnKillFocus() {}
  virtual void EndRedraw() {}  // kind 8, after each command
  virtual void OnKey(int /*nVk*/, intptr_t /*nFlags*/, int /*bCtrlHeld*/) {}

  // Takes the control of the dialog's template with this identifier.
  void Bind(cDialog* pDialog, uint16_t nId);
  void RecordPosition();
  void MoveSize(int nWidth, int nHeight);
  void SetText(const std::string& strText);

  // The control exists in the running dialog's window.
  bool HasWindow() const;
  // The running dialog's window, or null (no dialog, or no such control).
  plat::cDialogWindow* Window() const;
  // The control's rectangle on the desktop; false without a window.
  bool GetScreenRect(int& x, int& y, int& cx, int& cy) const;

  plat::WndProc m_pfnSavedProc = nullptr;
  cDialog* m_pOwner = nullptr;
  plat::WndHandle m_hParent = nullptr;  // the dialog's window
  int m_nKind;
  uint16_t m_nId = 0;
  bool m_bHasWindow = false;  // the template has the identifier
  int m_nScreenX = 0;
  int m_nScreenY = 0;
  int m_nClientX = 0;
  int m_nClientY = 0;
  int m_bBusy = 0;
  std::string m_strText;
};

class cPlainCtrl : public cControl {
 public:
  cPlainCtrl() : cControl(CTRL_PLAIN) {}
};

class cCheckCtrl : public cControl {
 public:
  cCheckCtrl() : cControl(CTRL_CHECK) {}
  void Show() override;
  void Store() override;
  int* m_pnValue = nullptr;
};

class cRadioCtrl : public cControl {
 public:
  cRadioCtrl() : cControl(CTRL_RADIO) {}
  void Show() override;
  // Only a checked button writes: a group bound to one int stores the
  // value of the button that is checked.
  void Store() override;
  int* m_pnValue = nullptr;
  int m_nValue = 0;
};

// What an edit is created with. A limit of 0 takes its default.
struct EDITPARAMS {
  uint16_t nId = 0;
  std::string* pstrText = nullptr;
  int nMaxTotal = 0;    // default 4096
  int nMaxPerLine = 0;  // default 1024
  int nMaxLines = 0;    // default 32
  int bCharMode = 0;    // lengths in characters (a double-byte pair is one), else in bytes
  int anExtra[4] = {};  // carried along; nothing reads them
};

class cEditCtrl : public cControl {
 public:
  static constexpr int kDefaultMaxTotal = 4096;
  static constexpr int kDefaultMaxPerLine = 1024;
  static constexpr int kDefaultMaxLines = 32;

  cEditCtrl() : cControl(CTRL_EDIT) {}
  void Create(cDialog* pDialog, const EDITPARAMS& params);
  void Show() override;
  void Store() override;
  // After every change of the text: a line longer than allowed wraps onto
  // the next; a line beyond the allowed count is refused and the previous
  // text and caret come back.
  void OnChange() override;

  int m_nMode = 2;
  std::string* m_pstrText = nullptr;
  int m_nMaxTotal = kDefaultMaxTotal;
  int m_bCharMode = 0;
  int m_nMaxPerLine = kDefaultMaxPerLine;
  int m_nMaxLines = kDefaultMaxLines;
  int m_bCreating = 0;
  std::string m_strLast;  // the last accepted text
  int m_nSelStart = 0;    // the selection read at the last change
  int m_nSelEnd = 0;
  int m_anExtra[4] = {};

 private:
  int ReadLimit() const;
  int Measure(const std::string& s) const;
};

class cFontCtrl : public cControl {
 public:
  cFontCtrl() : cControl(CTRL_FONT) {}
  ~cFontCtrl() override;
  cMemDC m_aMemDC[2];
};

// What a dialog's scroll-bar control is created with.
struct SCROLLPARAMS {
  uint16_t nId = 0;
  plat::WndHandle* phTarget = nullptr;  // null: the control is the bar itself
  int nBar = 0;
  int nUnused = 0;
  int nMin = 0;
  int nMax = 0;
  int nPage = 0;
  int bRedraw = 0;
};

// A scroll-bar control of a dialog with a scroll view. The desktop's
// dialogs have no scroll-bar controls of their own here: the control keeps
// its range, page and position itself, and the dialog reads them as it
// would read a bar's.
class cDlgCtrl : public cControl {
 public:
  cDlgCtrl() : cControl(CTRL_DIALOG_SCROLL) {}
  void CreateScroll(cDialog* pDialog, const SCROLLPARAMS& params);
  // Sets the position within the range and page; returns the position kept.
  int SetPosition(int nPos);

  plat::WndHandle* m_phTarget = nullptr;
  int m_nBar = 0;
  int m_nUnused = 0;
  int m_nMin = 0;
  int m_nMax = 0;
  int m_nPage = 0;
  int m_bRedraw = 0;
  int m_nPos = 0;
  bool m_bCreated = false;
};

// Entries: how a dialog declares its value-carrying controls, one vector
// per kind, each a control followed by what it is bound with.
struct CHECKENTRY {
  cCheckCtrl ctrl;
  uint16_t nId = 0;
  int* pnValue = nullptr;
};

struct RADIOENTRY {
  cRadioCtrl ctrl;
  uint16_t nId = 0;
  int* pnValue = nullptr;
  int nValue = 0;
};

struct PLAINENTRY {
  cPlainCtrl ctrl;
  uint16_t nId = 0;
};

class cCtrlBinding {
 public:
  // One line of n characters: total n + 1, per line n in character mode
  // (in byte mode the default), one line.
  void Set(uint16_t nId, std::string* pstrText, int n, int bCharMode);

  cEditCtrl ctrl;
  EDITPARAMS params;
};

// The control of the first entry bound to the identifier. None: the error
// box (shown with the debug log on) and a close request, and null, which
// the caller must not use.
cCheckCtrl* FindCheckCtrl(cSafeVector<CHECKENTRY>& vEntries, uint16_t nId);
cPlainCtrl* FindPlainCtrl(cSafeVector<PLAINENTRY>& vEntries, uint16_t nId);
void DestroyCtrlBindings(cSafeVector<cCtrlBinding>& vBindings);
