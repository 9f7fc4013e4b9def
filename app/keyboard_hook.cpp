// The dialogs' keyboard hook.
#include "app/keyboard_hook.h"

#include <algorithm>
#include <vector>

#include "base/logs.h"
#include "platform/input/keyboard.h"
#include "platform/ui/dialog_box.h"

namespace {

// The hook each dialog window carries, as a property of that window.
struct HOOKPROPERTY {
  plat::WndHandle hWnd;
  cHook* pHook;
};
std::vector<HOOKPROPERTY> g_vHookProperties;

cHook* FindHookProperty(plat::WndHandle hWnd) {
  if (!hWnd) return nullptr;
  for (const HOOKPROPERTY& p : g_vHookProperties)
    if (p.hWnd == hWnd) return p.pHook;
  return nullptr;
}

void SetHookProperty(plat::WndHandle hWnd, cHook* pHook) {
  for (HOOKPROPERTY& p : g_vHookProperties)
    if (p.hWnd == hWnd) {
      p.pHook = pHook;
      return;
    }
  g_vHookProperties.push_back(HOOKPROPERTY{hWnd, pHook});
}

constexpr uint32_t kKeyReleased = 0x80000000u;

}  // namespace

cHook::~cHook() {
  std::erase_if(g_vHookProperties, [this](const HOOKPROPERTY& p) { return p.pHook == this; });
}

int cHook::KeyboardHook(plat::WndHandle hDlg, int bModeless) {
  m_hWnd = hDlg;
  m_bModeless = bModeless;
  SetHookProperty(hDlg, this);
  if (s_bInstalled) return 1;
  plat::SetDialogKeyHook(&cHook::KeyboardProc);
  s_bInstalled = plat::GetDialogKeyHook() == &cHook::KeyboardProc;
  return s_bInstalled ? 1 : 0;
}

int cHook::IsRepostKey(int nVk) {
  switch (nVk) {
    case plat::VK_SPACE:
    case plat::VK_LEFT:
    case plat::VK_UP:
    case plat::VK_RIGHT:
    case plat::VK_DOWN:
    case plat::VK_DELETE:
      return 1;
    default:
      return (nVk >= plat::VK_F1 && nVk <= plat::VK_F1 + 7) ? 1 : 0;
  }
}

intptr_t cHook::KeyboardProc(int nCode, uintptr_t wParam, intptr_t lParam) {
  // Every path passes the key on: the dialog itself handles it as well.
  constexpr intptr_t kPassOn = 0;
  if (nCode < 0 || nCode == HC_NOREMOVE) return kPassOn;
  const plat::WndHandle hActive = plat::GetActiveDialog();
  const cHook* pHook = FindHookProperty(hActive);
  if (!pHook || pHook->m_hWnd != hActive) return kPassOn;
  const bool bPost = !pHook->m_bModeless || s_bCtrlHeld == 0;
  const int nVk = static_cast<int>(wParam);
  if (static_cast<uint32_t>(lParam) & kKeyReleased) {
    if (nVk == plat::VK_CONTROL) s_bCtrlHeld = 0;
    if (bPost) plat::PostMessage(hActive, plat::WM_KEYUP, wParam, lParam);
    return kPassOn;
  }
  if (nVk == plat::VK_TAB) return kPassOn;  // the dialog moves the focus
  // The input context of the dialog: whether an input method is composing.
  plat::cDialogWindow* pContext = plat::GetDialogWindow(hActive);
  if (!pContext) DebugErrorBoxF("Err ImmGetContext");
  const bool bComposing = pContext && pContext->IsComposing();
  if (nVk == plat::VK_RETURN) {
    // Enter finishes a composition; it is the input method's alone then.
    if (bComposing) return kPassOn;
    if (bPost) plat::PostMessage(hActive, plat::WM_KEYDOWN, wParam, lParam);
    return kPassOn;
  }
  if (pContext && !bComposing && IsRepostKey(nVk)) {
    plat::PostMessage(hActive, WM_DIALOGKEY, wParam, lParam);
    return kPassOn;
  }
  if (nVk == plat::VK_CONTROL) s_bCtrlHeld = 1;
  if (bPost) plat::PostMessage(hActive, plat::WM_KEYDOWN, wParam, lParam);
  return kPassOn;
}

void UnhookKeyboard() {
  if (!cHook::s_bInstalled) return;
  plat::SetDialogKeyHook(nullptr);
  cHook::s_bInstalled = false;
}
