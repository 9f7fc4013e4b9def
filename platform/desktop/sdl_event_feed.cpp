// SDL events turned into key states and window messages.
#include "platform/desktop/sdl_event_feed.h"

#include <SDL.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "platform/desktop/scancode_keys.h"
#include "platform/desktop/sdl_joysticks.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/input/keyboard.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_window.h"

namespace plat::desktop {

namespace {

// The event that wakes the window thread out of SDL's wait when a message
// or a frame comes for it; at most one wake is pending at a time.
std::atomic<uint32_t> g_nWakeEvent{0};
std::atomic<bool> g_bWakeQueued{false};
// While the window thread sleeps in poll() on the display's connection
// itself, a wake is a count added to this descriptor: SDL's own wake goes
// as a message through the display server and back, several times the
// cost, sixty times a second.
std::atomic<int> g_nWakeFd{-1};
std::atomic<bool> g_bPollWait{false};

void WakeWindowThread() {
  const uint32_t nType = g_nWakeEvent.load();
  if (nType == 0 || g_bWakeQueued.exchange(true)) return;
  if (g_bPollWait.load()) {
    const uint64_t nOne = 1;
    if (write(g_nWakeFd.load(), &nOne, sizeof nOne) == sizeof nOne) return;
  }
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
      // Made once and never closed: a wake racing with Stop must not write
      // into a descriptor number the process has since given to a file.
      if (g_nWakeFd.load() < 0) g_nWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
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
  g_bPollWait = false;
  CloseJoysticks();
  SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
  m_bStarted = false;
}

void cSdlEventFeed::Pump(WndHandle hMainWnd) {
  if (!m_bStarted) return;
  // A wake pushed from now on is seen by this turn or ends the next wait.
  g_bWakeQueued = false;
  // SDL_PollEvent reads the display's connection at every call; right after
  // a wait that found it silent there is nothing on it to read.
  const bool bRead = m_bDisplayRead;
  m_bDisplayRead = false;
  if (!bRead) SDL_PumpEvents();
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
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
  m_bDisplayRead = false;
  if (!m_bStarted || g_nWakeEvent.load() == 0) {
    WaitFromMarkFor(mark, nMs);
    return;
  }
  // What came before the waker was set up, or between the turn and here,
  // left news or a queued wake event behind, so SDL's wait ends at once.
  if (HasNewsSince(mark)) return;
  // The connection can be watched directly where the display's events are
  // all SDL waits for: an open pad is polled by SDL while it waits.
  const int nDisplayFd = m_pPresenter ? m_pPresenter->GetDisplayConnection() : -1;
  const bool bPoll = nDisplayFd >= 0 && g_nWakeFd.load() >= 0 && SDL_NumJoysticks() <= 0;
  if (g_bPollWait.exchange(bPoll) != bPoll) {
    // A wake sent the other way just now would be missed: one turn more.
    return;
  }
  if (!bPoll) {
    SDL_WaitEventTimeout(nullptr, static_cast<int>(nMs));
    return;
  }
  // Whatever the display sent is read and queued first, so only what comes
  // after makes the connection readable.
  SDL_PumpEvents();
  if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
  pollfd fds[2] = {{nDisplayFd, POLLIN, 0}, {g_nWakeFd.load(), POLLIN, 0}};
  const int nReady = poll(fds, 2, static_cast<int>(nMs));
  m_bDisplayRead = nReady >= 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) == 0;
  if (nReady > 0 && (fds[1].revents & POLLIN) != 0) {
    // A count left by a wake that came while the thread was busy ends the
    // next wait at once; it is taken here, for one turn more at most.
    uint64_t nCount = 0;
    if (read(fds[1].fd, &nCount, sizeof nCount) < 0) nCount = 0;
  }
}

}  // namespace plat::desktop
