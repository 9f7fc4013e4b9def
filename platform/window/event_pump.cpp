// SDL events and signals turned into window messages.
#include "platform/window/event_pump.h"

#include <SDL.h>

#include <csignal>

#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"
#include "platform/present/presenter_window.h"

namespace plat {

namespace {

volatile std::sig_atomic_t g_nCloseSignals = 0;
std::sig_atomic_t g_nCloseSignalsSeen = 0;
bool g_bSdlEvents = false;

extern "C" void OnCloseSignal(int) { g_nCloseSignals = g_nCloseSignals + 1; }

intptr_t PackPoint(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<uint32_t>(x & 0xFFFF));
}

void HandleWindowEvent(WndHandle hMainWnd, const SDL_WindowEvent& e) {
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      PostMessage(hMainWnd, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      PostMessage(hMainWnd, WM_ACTIVATEAPP, 1, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      ReleaseAllKeys();
      PostMessage(hMainWnd, WM_ACTIVATEAPP, 0, 0);
      break;
    case SDL_WINDOWEVENT_MOVED:
      PostMessage(hMainWnd, WM_MOVE, 0, PackPoint(e.data1, e.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      PostMessage(hMainWnd, WM_SIZE, 0, PackPoint(e.data1, e.data2));
      ServicePresenter(true);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      ServicePresenter(true);
      break;
    default:
      break;
  }
}

}  // namespace

void InitWindowEvents(bool bHeadless) {
  if (bHeadless) return;
  if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) == 0) {
    g_bSdlEvents = true;
    OpenJoysticks();
  }
}

void ShutdownWindowEvents() {
  if (!g_bSdlEvents) return;
  CloseJoysticks();
  SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
  g_bSdlEvents = false;
}

void InstallCloseSignal() {
  struct sigaction sa {};
  sa.sa_handler = OnCloseSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

void PumpWindowEvents(WndHandle hMainWnd) {
  std::sig_atomic_t nSignals = g_nCloseSignals;
  if (nSignals != g_nCloseSignalsSeen) {
    g_nCloseSignalsSeen = nSignals;
    PostMessage(hMainWnd, WM_CLOSE, 0, 0);
  }
  if (!g_bSdlEvents) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        PostMessage(hMainWnd, WM_CLOSE, 0, 0);
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(hMainWnd, e.window);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        int nVk = VirtualKeyFromScancode(e.key.keysym.scancode);
        if (nVk == 0) break;
        bool bDown = e.type == SDL_KEYDOWN;
        SetKeyDown(nVk, bDown);
        PostMessage(hMainWnd, bDown ? WM_KEYDOWN : WM_KEYUP, static_cast<uintptr_t>(nVk),
                    e.key.repeat ? 1 : 0);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        bool bDown = e.type == SDL_MOUSEBUTTONDOWN;
        if (e.button.button == SDL_BUTTON_LEFT) SetKeyDown(VK_LBUTTON, bDown);
        if (e.button.button == SDL_BUTTON_RIGHT) SetKeyDown(VK_RBUTTON, bDown);
        break;
      }
      case SDL_JOYDEVICEADDED:
        HandleJoystickDeviceEvent(true, e.jdevice.which);
        break;
      case SDL_JOYDEVICEREMOVED:
        HandleJoystickDeviceEvent(false, e.jdevice.which);
        break;
      default:
        break;
    }
  }
  RefreshJoysticks();
  ServicePresenter(false);
}

}  // namespace plat
