// Dialog controls, their bindings, and the edit's line limits.
#include "app/dialog_controls.h"

#include <algorithm>

#include "app/dialog.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "platform/input/keyboard.h"
#include "platform/ui/dialog_box.h"

// ---- cControl ----

plat::cDialogWindow* cControl::Window() const {
  if (!m_bHasWindow) return nullptr;
  return plat::GetDialogWindow(m_hParent);
}

bool cControl::HasWindow() const { return Window() != nullptr; }

void cControl::Enable(int bEnable) {
  if (plat::cDialogWindow* p = Window()) p->EnableItem(m_nId, bEnable != 0);
}

void cControl::Bind(cDialog* pDialog, uint16_t nId) {
  m_pOwner = pDialog;
  m_hParent = pDialog ? pDialog->m_hWnd : nullptr;
  m_nId = nId;
  m_strText.clear();
  plat::cDialogWindow* pWindow = plat::GetDialogWindow(m_hParent);
  m_bHasWindow = pWindow && pWindow->HasItem(nId);
  RecordPosition();
}

bool cControl::GetScreenRect(int& x, int& y, int& cx, int& cy) const {
  plat::cDialogWindow* p = Window();
  return p && p->GetItemRect(m_nId, x, y, cx, cy);
}

void cControl::RecordPosition() {
  int cx = 0, cy = 0;
  if (!GetScreenRect(m_nScreenX, m_nScreenY, cx, cy)) return;
  if (m_pOwner && m_pOwner->m_hWnd) {
    WINDOWPOINT pt;
    m_pOwner->GetPosition(&pt);
    m_nClientX = m_nScreenX - pt.x - m_pOwner->m_Frame.nLeft;
    m_nClientY = m_nScreenY - pt.y - m_pOwner->m_Frame.nTop;
  }
}

void cControl::MoveSize(int, int) {
  // The desktop lays the template's controls out itself; the position is
  // recorded all the same.
  if (HasWindow()) RecordPosition();
}

void cControl::SetText(const std::string& strText) {
  if (plat::cDialogWindow* p = Window()) p->SetItemText(m_nId, strText);
}

// ---- Check boxes and radio buttons ----

void cCheckCtrl::Show() {
  if (plat::cDialogWindow* p = Window(); p && m_pnValue) p->SetCheck(m_nId, *m_pnValue);
}

void cCheckCtrl::Store() {
  plat::cDialogWindow* p = Window();
  if (m_pnValue) *m_pnValue = p ? p->GetCheck(m_nId) : 0;
}

void cRadioCtrl::Show() {
  if (plat::cDialogWindow* p = Window(); p && m_pnValue)
    p->SetCheck(m_nId, *m_pnValue == m_nValue ? 1 : 0);
}

void cRadioCtrl::Store() {
  plat::cDialogWindow* p = Window();
  if (m_pnValue && p && p->GetCheck(m_nId) != 0) *m_pnValue = m_nValue;
}

// ---- Edits ----

void cEditCtrl::Create(cDialog* pDialog, const EDITPARAMS& params) {
  m_nMode = 2;
  Bind(pDialog, params.nId);
  m_pstrText = params.pstrText;
  m_nMaxTotal = params.nMaxTotal != 0 ? params.nMaxTotal : kDefaultMaxTotal;
  m_nMaxPerLine = params.nMaxPerLine != 0 ? params.nMaxPerLine : kDefaultMaxPerLine;
  m_nMaxLines = params.nMaxLines != 0 ? params.nMaxLines : kDefaultMaxLines;
  m_bCharMode = params.bCharMode;
  std::copy(std::begin(params.anExtra), std::end(params.anExtra), m_anExtra);
  const std::string strText = m_pstrText ? *m_pstrText : std::string();
  SetDlgItemString(m_hParent, m_nId, strText);
  m_strLast = strText;
  m_bCreating = 1;
  OnChange();
  m_bCreating = 0;
}

int cEditCtrl::ReadLimit() const { return m_bCharMode ? 2 * m_nMaxTotal - 1 : m_nMaxTotal; }

int cEditCtrl::Measure(const std::string& s) const {
  return m_bCharMode ? CountChars(s.c_str()) : static_cast<int>(s.size());
}

void cEditCtrl::Show() {
  SetDlgItemString(m_hParent, m_nId, m_pstrText ? *m_pstrText : std::string());
}

void cEditCtrl::Store() {
  if (m_pstrText) GetDlgItemString(m_hParent, m_nId, *m_pstrText, ReadLimit());
}

namespace {

int CountLines(const std::string& s) {
  return 1 + static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

}  // namespace

void cEditCtrl::OnChange() {
  if (m_bBusy) return;
  m_bBusy = 1;
  std::string strText;
  GetDlgItemString(m_hParent, m_nId, strText, ReadLimit());
  int nStart = 0, nEnd = 0;
  if (plat::cDialogWindow* p = Window()) p->GetSelection(m_nId, nStart, nEnd);
  m_nSelStart = nStart;
  m_nSelEnd = nEnd;
  // How many bytes a shortening may take off: in character mode a
  // double-byte character costs two removals.
  const int nMaxRemovals = m_bCharMode ? 2 * m_nMaxPerLine : m_nMaxPerLine;
  auto Shorten = [&](std::string& s) {
    for (int k = 0; k < nMaxRemovals && !s.empty() && Measure(s) > m_nMaxPerLine; ++k) s.pop_back();
  };

  if (m_nMaxLines > 0 || m_nMaxPerLine > 0) {
    bool bRefused = false;
    // Backspace at the start of a line joins it to the line above: refused
    // when the line above is full already.
    if (plat::IsKeyDown(plat::VK_BACK) && nStart == nEnd &&
        m_strLast.size() == strText.size() + 2 && CountLines(strText) < CountLines(m_strLast)) {
      std::string strBefore = SubStrSafe(m_strLast, 0, nStart);
      const size_t nCr = strBefore.rfind('\r');
      if (nCr != std::string::npos) strBefore = strBefore.substr(nCr);
      if (Measure(strBefore) >= m_nMaxPerLine) {
        strText = m_strLast;
        bRefused = true;
      }
    }
    if (!bRefused) {
      if (m_nMaxLines > 0) {
        size_t nLineStart = 0;
        for (int nPass = 0; nPass < m_nMaxLines && nLineStart <= strText.size(); ++nPass) {
          const size_t nCr = strText.find('\r', nLineStart);
          const size_t nLineEnd = nCr == std::string::npos ? strText.size() : nCr;
          std::string strLine = strText.substr(nLineStart, nLineEnd - nLineStart);
          if (Measure(strLine) > m_nMaxPerLine) {
            // The cut-off part continues on the next line.
            Shorten(strLine);
            const size_t nAt = nLineStart + strLine.size();
            strText.insert(nAt, "\r\n");
            if (nStart >= static_cast<int>(nAt)) nStart += 2;
            if (nEnd >= static_cast<int>(nAt)) nEnd += 2;
            const size_t nNext = strText.find('\r', nAt + 2);
            if (nNext != std::string::npos) strText.erase(nNext, 2);
          }
          const size_t nNextCr = strText.find('\r', nLineStart);
          if (nNextCr == std::string::npos) break;
          nLineStart = nNextCr + 2;
        }
      }
      if (CountLines(strText) > m_nMaxLines) {
        strText = m_strLast;
        if (m_bCreating) {
          Shorten(strText);
        } else {
          nStart = m_nSelStart;
          nEnd = m_nSelEnd;
        }
      }
      const int nLen = static_cast<int>(strText.size());
      if (nStart >= 0 && nStart < nLen && strText[static_cast<size_t>(nStart)] == '\n') ++nStart;
      if (nEnd >= 0 && nEnd < nLen && strText[static_cast<size_t>(nEnd)] == '\n') ++nEnd;
      nStart = std::clamp(nStart, 0, nLen);
      nEnd = std::clamp(nEnd, 0, nLen);
    }
  }
  SetDlgItemString(m_hParent, m_nId, strText);
  if (!m_bCreating) {
    if (plat::cDialogWindow* p = Window()) p->SetSelection(m_nId, nStart, nEnd);
  }
  m_strLast = strText;
  m_bBusy = 0;
}

// ---- Font holder and scroll bars ----

cFontCtrl::~cFontCtrl() {
  for (cMemDC& dc : m_aMemDC) cFontHolder::Release(dc);
}

void cDlgCtrl::CreateScroll(cDialog* pDialog, const SCROLLPARAMS& params) {
  Bind(pDialog, params.nId);
  m_phTarget = params.phTarget;
  m_nBar = params.nBar;
  m_nUnused = params.nUnused;
  m_nMin = params.nMin;
  m_nMax = params.nMax;
  m_nPage = params.nPage;
  m_bRedraw = params.bRedraw;
  m_bCreated = true;
  SetPosition(m_nPos);
}

int cDlgCtrl::SetPosition(int nPos) {
  // The highest position shows the last page.
  const int nHighest = std::max(m_nMin, m_nMax - std::max(0, m_nPage - 1));
  m_nPos = std::clamp(nPos, m_nMin, nHighest);
  return m_nPos;
}

// ---- Entries ----

void cCtrlBinding::Set(uint16_t nId, std::string* pstrText, int n, int bCharMode) {
  params = EDITPARAMS{};
  params.nId = nId;
  params.pstrText = pstrText;
  params.nMaxTotal = n + 1;
  params.nMaxPerLine = bCharMode ? n : 0;
  params.nMaxLines = 1;
  params.bCharMode = bCharMode;
}

namespace {

void ReportMissingControl(uint16_t nId) {
  DebugErrorBoxF("コントロールID 【%u】 が見つかりません！", static_cast<unsigned>(nId));
  PostFatalClose();
}

}  // namespace

cCheckCtrl* FindCheckCtrl(cSafeVector<CHECKENTRY>& vEntries, uint16_t nId) {
  for (int i = 0; i < static_cast<int>(vEntries.size()); ++i)
    if (vEntries.At(i).nId == nId) return &vEntries.At(i).ctrl;
  ReportMissingControl(nId);
  return nullptr;
}

cPlainCtrl* FindPlainCtrl(cSafeVector<PLAINENTRY>& vEntries, uint16_t nId) {
  for (int i = 0; i < static_cast<int>(vEntries.size()); ++i)
    if (vEntries.At(i).nId == nId) return &vEntries.At(i).ctrl;
  ReportMissingControl(nId);
  return nullptr;
}

void DestroyCtrlBindings(cSafeVector<cCtrlBinding>& vBindings) { vBindings.clear(); }
