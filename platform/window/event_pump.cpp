// Signals and the back end's events turned into window messages.
#include "platform/window/event_pump.h"

#include <csignal>

#include "platform/backend/backend.h"
#include "platform/present/presenter_window.h"
#include "platform/window/event_service.h"

namespace plat {

namespace {

// A signal handler can wake nothing safely: the window thread looks for
// close signals at least this often.
constexpr uint32_t kSignalLookMs = 100;

volatile std::sig_atomic_t g_nCloseSignals = 0;
std::sig_atomic_t g_nCloseSignalsSeen = 0;

extern "C" void OnCloseSignal(int) { g_nCloseSignals = g_nCloseSignals + 1; }

}  // namespace

void InitWindowEvents() { GetBackend().pEvents->Start(); }

void ShutdownWindowEvents() { GetBackend().pEvents->Stop(); }

void InstallCloseSignal() {
  struct sigaction sa {};
  sa.sa_handler = OnCloseSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

bool IsCloseSignalPending() { return g_nCloseSignals != g_nCloseSignalsSeen; }

void PumpWindowEvents(WndHandle hMainWnd) {
  std::sig_atomic_t nSignals = g_nCloseSignals;
  if (nSignals != g_nCloseSignalsSeen) {
    g_nCloseSignalsSeen = nSignals;
    PostMessage(hMainWnd, WM_CLOSE, 0, 0);
  }
  GetBackend().pEvents->Pump(hMainWnd);
  ServicePresenter(false);
}

void WaitWindowEvents(const WAITMARK& mark) {
  if (IsCloseSignalPending()) return;
  GetBackend().pEvents->Wait(mark, kSignalLookMs);
}

}  // namespace plat
