// The shared window list.
#include "app/window_list.h"

#include <algorithm>

#include "app/window.h"
#include "platform/ui/dialog_box.h"

namespace {

// The native side of a handle: a running dialog shows, hides and enables
// its window; other windows have nothing to show here.
void ApplyToNative(plat::WndHandle hWnd, const int* pbShow, const uint32_t* pdwStyle) {
  plat::cDialogWindow* pWindow = plat::GetDialogWindow(hWnd);
  if (!pWindow) return;
  if (pbShow) pWindow->Show(*pbShow != 0);
  if (pdwStyle) pWindow->Enable((*pdwStyle & WS_DISABLED) == 0);
}

}  // namespace

void cRegisteredWindow::AddStyle(uint32_t dwBits) {
  dwStyle |= dwBits;
  ApplyToNative(hWnd, nullptr, &dwStyle);
}

void cRegisteredWindow::RemoveStyle(uint32_t dwBits) {
  dwStyle &= ~dwBits;
  ApplyToNative(hWnd, nullptr, &dwStyle);
}

void cWindowList::Add(cWindow* pWindow) { m_vWindows.push_back(pWindow); }

bool cWindowList::Remove(cWindow* pWindow) {
  auto it = std::find(m_vWindows.begin(), m_vWindows.end(), pWindow);
  if (it == m_vWindows.end()) return false;
  m_vWindows.erase(it);
  return true;
}

bool cWindowList::Contains(const cWindow* pWindow) const {
  return std::find(m_vWindows.begin(), m_vWindows.end(), pWindow) != m_vWindows.end();
}

void cWindowList::ShowAll(int bShow) {
  for (cWindow* p : m_vWindows) p->ShowNative(bShow);
  for (const cRegisteredWindow& r : m_vRegistered)
    if (r.hWnd) ApplyToNative(r.hWnd, &bShow, nullptr);
}

void cWindowList::EnableAll(int bEnable) {
  for (cWindow* p : m_vWindows) {
    if (bEnable)
      p->RemoveStyle(WS_DISABLED);
    else
      p->AddStyle(WS_DISABLED);
  }
  for (cRegisteredWindow& r : m_vRegistered) {
    if (!r.hWnd) continue;
    if (bEnable)
      r.RemoveStyle(WS_DISABLED);
    else
      r.AddStyle(WS_DISABLED);
  }
}
