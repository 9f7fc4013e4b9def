// A dialog window kept in memory: the controls of a template with their
// texts, check states, selections and focus, and nothing on a screen. A
// dialog that nobody can answer runs on it, and so do the tests of the
// dialog logic; Click and Type do what a person's mouse and keys would.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog_service.h"

namespace plat {

class cMemoryDialogWindow : public cDialogWindow {
 public:
  // Events go to hDlg as a shown window's would (null: nowhere).
  cMemoryDialogWindow(const DLGTEMPLATE& tpl, WndHandle hDlg);

  bool HasItem(uint16_t nId) const override;
  void SetItemText(uint16_t nId, const std::string& strText) override;
  std::string GetItemText(uint16_t nId) override;
  void SetCheck(uint16_t nId, int nState) override;
  int GetCheck(uint16_t nId) override;
  void GetSelection(uint16_t nId, int& nStart, int& nEnd) override;
  void SetSelection(uint16_t nId, int nStart, int nEnd) override;
  void SetFocus(uint16_t nId) override;
  void EnableItem(uint16_t nId, bool bEnable) override;
  bool GetItemRect(uint16_t nId, int& x, int& y, int& cx, int& cy) override;
  void SetTitle(const std::string& strTitle) override { m_strTitle = strTitle; }
  void Move(int x, int y) override;
  void GetPosition(int& x, int& y) override;
  void GetClientSize(int& cx, int& cy) override;
  void Show(bool bShow) override { m_bShown = bShow; }
  void Enable(bool bEnable) override { m_bEnabled = bEnable; }
  bool IsComposing() override { return m_bComposing; }
  void Close() override { m_bClosed = true; }

  // A click: a radio button is checked and the others of its group cleared,
  // a check box toggles; then every button sends BN_CLICKED. False when the
  // template has no such button.
  bool Click(uint16_t nId);
  // Typing into an edit: the selection is replaced, then each character
  // (a CP932 lead and trail byte pair is one) goes in at the caret with its
  // own EN_UPDATE, as keys would put them in.
  bool Type(uint16_t nId, const std::string& strText);
  // Backspace in an edit: the selection goes, or else what stands before
  // the caret (a line break of "\r\n" as one), then EN_UPDATE.
  bool Backspace(uint16_t nId);
  // The default push button's identifier, 0 when there is none.
  uint16_t GetDefaultButton() const;

  // Test handles.
  void SetComposing(bool bComposing) { m_bComposing = bComposing; }
  const std::string& GetTitle() const { return m_strTitle; }
  uint16_t GetFocus() const { return m_nFocus; }
  bool IsShown() const { return m_bShown; }
  bool IsEnabled() const { return m_bEnabled; }
  bool IsClosed() const { return m_bClosed; }
  bool IsItemEnabled(uint16_t nId) const;

 private:
  struct cItem {
    DLGITEM def;
    std::string strText;
    int nCheck = 0;
    int nSelStart = 0;
    int nSelEnd = 0;
    bool bEnabled = true;
  };
  cItem* Find(uint16_t nId);
  const cItem* Find(uint16_t nId) const;
  void Notify(uint16_t nId, uint16_t nCode);

  WndHandle m_hDlg;
  std::vector<cItem> m_vItems;
  std::string m_strTitle;
  int m_nClientWidth;
  int m_nClientHeight;
  int m_nX = 0;
  int m_nY = 0;
  uint16_t m_nFocus = 0;
  bool m_bShown = false;
  bool m_bEnabled = true;
  bool m_bComposing = false;
  bool m_bClosed = false;
};

}  // namespace plat
