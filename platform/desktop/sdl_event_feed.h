// The desktop's event feed: SDL keyboard, mouse-button, joystick and window
// events, turned into key and pad states and into messages to the main
// window.
#pragma once

#include "platform/window/event_service.h"

namespace plat::desktop {

class cSdlPresenter;

class cSdlEventFeed : public cEventService {
 public:
  // The presenter whose window's display connection the feed may sleep on.
  explicit cSdlEventFeed(const cSdlPresenter* pPresenter = nullptr) : m_pPresenter(pPresenter) {}

  // Starts SDL's event and joystick parts; without them the feed stays
  // quiet.
  void Start() override;
  void Stop() override;
  void Pump(WndHandle hMainWnd) override;
  void Wait(const WAITMARK& mark, uint32_t nMs) override;

  bool IsStarted() const { return m_bStarted; }

 private:
  bool m_bStarted = false;
  const cSdlPresenter* m_pPresenter = nullptr;
  // The last wait read everything the display had sent and then saw its
  // connection stay silent: the next turn takes what SDL queued without
  // asking the display again.
  bool m_bDisplayRead = false;
};

}  // namespace plat::desktop
