// The game side's requests to the window thread.
#include "base/window_requests.h"

#include "base/program_state.h"

std::atomic<int> bNameDlgDone{0};
std::atomic<int> bFileRequestDone{0};
std::atomic<int> bFileRequestResult{0};

namespace {

// Longest sleep between two looks at a done flag; the window thread
// notifies when it sets one, so this only bounds a missed notice.
constexpr uint32_t kDoneWaitMs = 100;

// Waits for the window thread to finish a request; a closing program lets
// every waiter go.
bool WaitForDone(const std::atomic<int>& bDone) {
  for (;;) {
    const plat::WAITMARK mark = plat::GetWaitMark();
    if (bDone.load() != 0) return true;
    if (plat::IsQuitting()) return false;
    plat::WaitFromMarkFor(mark, kDoneWaitMs);
  }
}

}  // namespace

int RequestNameDialog() {
  bNameDlgDone = 0;
  plat::SendMessage(g_hMainWnd.load(), WM_NAMEDLG, 0, 0);
  return WaitForDone(bNameDlgDone) ? 1 : 0;
}

int RequestFile(uint32_t message, uintptr_t wParam) {
  bFileRequestDone = 0;
  plat::SendMessage(g_hMainWnd.load(), message, wParam, 0);
  if (!WaitForDone(bFileRequestDone)) return 0;
  return bFileRequestResult.load();
}

int RequestLoadReplay() { return RequestFile(WM_OPENREPLAY, 0); }

intptr_t PlaySE(int n) {
  return plat::SendMessage(g_hMainWnd.load(), WM_PLAYSE, static_cast<uintptr_t>(n), 0);
}

intptr_t PlayDatabaseSE(int n) {
  int16_t nSound = static_cast<int16_t>(n);
  if (nSound == 0) return 0;
  return plat::SendMessage(g_hMainWnd.load(), WM_PLAYSE,
                           static_cast<uintptr_t>(nSound + kDatabaseSoundBase), 0);
}
