// SDL events turned into key states and window messages.
#include "platform/desktop/sdl_event_feed.h"

#include <SDL.h>

#include <atomic>

#include "platform/desktop/scancode_keys.h"
#include "platform/desktop/sdl_joysticks.h"
#include "platform/input/keyboard.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_window.h"

namespace plat::desktop {

namespace {

// The event that wakes the window thread out of SDL's wait when a message
// or a frame comes for it; at most one is queued at a time.
std::atomic<uint32_t> g_nWakeEvent{0};
std::atomic<bool> g_bWakeQueued{false};

void WakeWindowThread() {
  const uint32_t nType = g_nWakeEvent.load();
  if (nType == 0 || g_bWakeQueued.exchange(true)) return;
  SDL_Event e{};
  e.type = nType;
  if (SDL_PushEvent(&e) != 1) g_bWakeQueued = false;
}

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

void cSdlEventFeed::Start() {
  if (m_bStarted) return;
  if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) == 0) {
    m_bStarted = true;
    OpenJoysticks();
    const uint32_t nType = SDL_RegisterEvents(1);
    if (nType != static_cast<uint32_t>(-1)) {
      g_nWakeEvent = nType;
      // The window thread starts the feed: its own posts and the frames
      // handed over wake it.
      SetQueueWaker(WakeWindowThread);
      SetFrameWaker(WakeWindowThread);
    }
  }
}

void cSdlEventFeed::Stop() {
  if (!m_bStarted) return;
  SetQueueWaker(nullptr);
  SetFrameWaker(nullptr);
  g_nWakeEvent = 0;
  CloseJoysticks();
  SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
  m_bStarted = false;
}

void cSdlEventFeed::Pump(WndHandle hMainWnd) {
  if (!m_bStarted) return;
  // A wake pushed from now on is seen by this turn or ends the next wait.
  g_bWakeQueued = false;
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
}

void cSdlEventFeed::Wait(const WAITMARK& mark, uint32_t nMs) {
  if (!m_bStarted || g_nWakeEvent.load() == 0) {
    WaitFromMarkFor(mark, nMs);
    return;
  }
  // What came before the waker was set up, or between the turn and here,
  // left news or a queued wake event behind, so SDL's wait ends at once.
  if (HasNewsSince(mark)) return;
  SDL_WaitEventTimeout(nullptr, static_cast<int>(nMs));
}

}  // namespace plat::desktop
