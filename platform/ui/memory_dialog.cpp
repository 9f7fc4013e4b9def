// The in-memory dialog window.
#include "platform/ui/memory_dialog.h"

#include <algorithm>

#include "platform/text/cp932.h"

namespace plat {

namespace {

// Pixels per dialog unit of a nine-point dialog font: its average character
// is 6 pixels wide and 12 high.
constexpr int kUnitNumerator = 3;
constexpr int kUnitDenominator = 2;

bool IsButton(eDlgItemKind kind) {
  return kind == eDlgItemKind::PushButton || kind == eDlgItemKind::DefPushButton ||
         kind == eDlgItemKind::RadioButton || kind == eDlgItemKind::CheckBox;
}

// Byte length of the character at i: a lead and trail pair is one.
size_t CharLength(const std::string& s, size_t i) {
  if (i + 1 < s.size() && IsCp932LeadByte(static_cast<unsigned char>(s[i])) &&
      IsCp932TrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

}  // namespace

cMemoryDialogWindow::cMemoryDialogWindow(const DLGTEMPLATE& tpl, WndHandle hDlg)
    : m_hDlg(hDlg),
      m_nClientWidth(tpl.cx * kUnitNumerator / kUnitDenominator),
      m_nClientHeight(tpl.cy * kUnitNumerator / kUnitDenominator) {
  for (const DLGITEM& def : tpl.vItems) {
    cItem item;
    item.def = def;
    item.strText = def.strText;
    m_vItems.push_back(item);
  }
  // The first control that takes the tab key has the focus at first.
  for (const cItem& item : m_vItems)
    if (item.def.bTabStop) {
      m_nFocus = item.def.nId;
      break;
    }
}

cMemoryDialogWindow::cItem* cMemoryDialogWindow::Find(uint16_t nId) {
  for (cItem& item : m_vItems)
    if (item.def.nId == nId) return &item;
  return nullptr;
}

const cMemoryDialogWindow::cItem* cMemoryDialogWindow::Find(uint16_t nId) const {
  for (const cItem& item : m_vItems)
    if (item.def.nId == nId) return &item;
  return nullptr;
}

void cMemoryDialogWindow::Notify(uint16_t nId, uint16_t nCode) {
  if (!m_hDlg || m_bClosed) return;
  SendMessage(m_hDlg, WM_COMMAND, (static_cast<uintptr_t>(nCode) << 16) | nId, 0);
}

bool cMemoryDialogWindow::HasItem(uint16_t nId) const { return Find(nId) != nullptr; }

void cMemoryDialogWindow::SetItemText(uint16_t nId, const std::string& strText) {
  cItem* p = Find(nId);
  if (!p) return;
  const bool bChanged = p->strText != strText;
  p->strText = strText;
  if (p->def.kind != eDlgItemKind::Edit) return;
  // A new text puts the caret at its start, and an edit reports the change.
  p->nSelStart = p->nSelEnd = 0;
  if (bChanged) Notify(nId, EN_UPDATE);
}

std::string cMemoryDialogWindow::GetItemText(uint16_t nId) {
  const cItem* p = Find(nId);
  return p ? p->strText : std::string();
}

void cMemoryDialogWindow::SetCheck(uint16_t nId, int nState) {
  if (cItem* p = Find(nId)) p->nCheck = nState != 0 ? 1 : 0;
}

int cMemoryDialogWindow::GetCheck(uint16_t nId) {
  const cItem* p = Find(nId);
  return p ? p->nCheck : 0;
}

void cMemoryDialogWindow::GetSelection(uint16_t nId, int& nStart, int& nEnd) {
  const cItem* p = Find(nId);
  nStart = p ? p->nSelStart : 0;
  nEnd = p ? p->nSelEnd : 0;
}

void cMemoryDialogWindow::SetSelection(uint16_t nId, int nStart, int nEnd) {
  cItem* p = Find(nId);
  if (!p) return;
  const int nLen = static_cast<int>(p->strText.size());
  // -1 as the end selects to the end of the text, as an edit takes it.
  if (nEnd < 0) nEnd = nLen;
  p->nSelStart = std::clamp(std::min(nStart, nEnd), 0, nLen);
  p->nSelEnd = std::clamp(std::max(nStart, nEnd), 0, nLen);
}

void cMemoryDialogWindow::SetFocus(uint16_t nId) {
  if (Find(nId)) m_nFocus = nId;
}

void cMemoryDialogWindow::EnableItem(uint16_t nId, bool bEnable) {
  if (cItem* p = Find(nId)) p->bEnabled = bEnable;
}

bool cMemoryDialogWindow::IsItemEnabled(uint16_t nId) const {
  const cItem* p = Find(nId);
  return p && p->bEnabled;
}

bool cMemoryDialogWindow::GetItemRect(uint16_t nId, int& x, int& y, int& cx, int& cy) {
  const cItem* p = Find(nId);
  if (!p) return false;
  x = m_nX + p->def.x * kUnitNumerator / kUnitDenominator;
  y = m_nY + p->def.y * kUnitNumerator / kUnitDenominator;
  cx = p->def.cx * kUnitNumerator / kUnitDenominator;
  cy = p->def.cy * kUnitNumerator / kUnitDenominator;
  return true;
}

void cMemoryDialogWindow::Move(int x, int y) {
  m_nX = x;
  m_nY = y;
}

void cMemoryDialogWindow::GetPosition(int& x, int& y) {
  x = m_nX;
  y = m_nY;
}

void cMemoryDialogWindow::GetClientSize(int& cx, int& cy) {
  cx = m_nClientWidth;
  cy = m_nClientHeight;
}

bool cMemoryDialogWindow::Click(uint16_t nId) {
  cItem* p = Find(nId);
  if (!p || !IsButton(p->def.kind) || !p->bEnabled) return false;
  m_nFocus = nId;
  if (p->def.kind == eDlgItemKind::CheckBox) {
    p->nCheck = p->nCheck ? 0 : 1;
  } else if (p->def.kind == eDlgItemKind::RadioButton) {
    // The group runs from the last control that starts one up to the next.
    size_t nIndex = static_cast<size_t>(p - m_vItems.data());
    size_t nFirst = nIndex;
    while (nFirst > 0 && !m_vItems[nFirst].def.bGroup) --nFirst;
    for (size_t i = nFirst; i < m_vItems.size(); ++i) {
      if (i > nFirst && m_vItems[i].def.bGroup) break;
      if (m_vItems[i].def.kind == eDlgItemKind::RadioButton) m_vItems[i].nCheck = 0;
    }
    p->nCheck = 1;
  }
  Notify(nId, BN_CLICKED);
  return true;
}

bool cMemoryDialogWindow::Type(uint16_t nId, const std::string& strText) {
  cItem* p = Find(nId);
  if (!p || p->def.kind != eDlgItemKind::Edit || !p->bEnabled) return false;
  m_nFocus = nId;
  // The selection goes first, as the first key replaces it.
  if (p->nSelStart != p->nSelEnd) {
    p->strText.erase(static_cast<size_t>(p->nSelStart),
                     static_cast<size_t>(p->nSelEnd - p->nSelStart));
    p->nSelEnd = p->nSelStart;
    Notify(nId, EN_UPDATE);
  }
  for (size_t i = 0; i < strText.size();) {
    const size_t n = CharLength(strText, i);
    cItem* q = Find(nId);  // the dialog may have changed the text meanwhile
    const size_t nAt = std::min(static_cast<size_t>(q->nSelStart), q->strText.size());
    q->strText.insert(nAt, strText, i, n);
    q->nSelStart = q->nSelEnd = static_cast<int>(nAt + n);
    Notify(nId, EN_UPDATE);
    i += n;
  }
  return true;
}

bool cMemoryDialogWindow::Backspace(uint16_t nId) {
  cItem* p = Find(nId);
  if (!p || p->def.kind != eDlgItemKind::Edit || !p->bEnabled) return false;
  m_nFocus = nId;
  const size_t nCaret = std::min(static_cast<size_t>(p->nSelStart), p->strText.size());
  size_t nFrom = nCaret;
  size_t nTo = std::min(static_cast<size_t>(p->nSelEnd), p->strText.size());
  if (nFrom == nTo) {
    if (nCaret == 0) return true;
    // The character before the caret: walk from the start, pairs as one.
    size_t nPrev = 0;
    for (size_t i = 0; i < nCaret; i += CharLength(p->strText, i)) nPrev = i;
    nFrom = nPrev;
    if (nCaret >= 2 && p->strText.compare(nCaret - 2, 2, "\r\n") == 0) nFrom = nCaret - 2;
    nTo = nCaret;
  }
  p->strText.erase(nFrom, nTo - nFrom);
  p->nSelStart = p->nSelEnd = static_cast<int>(nFrom);
  Notify(nId, EN_UPDATE);
  return true;
}

uint16_t cMemoryDialogWindow::GetDefaultButton() const {
  for (const cItem& item : m_vItems)
    if (item.def.kind == eDlgItemKind::DefPushButton) return item.def.nId;
  return 0;
}

}  // namespace plat
