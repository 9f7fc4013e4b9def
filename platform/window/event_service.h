// What a back end's event feed does on the window thread: the desktop's keys
// and pads go into the key-state and pad tables, its window events (close
// button, focus, move, size, expose) become messages to the main window.
// The null feed has no desktop and gives nothing: tests and headless runs
// script keys and pads straight into the tables.
#pragma once

#include "platform/msg/messages.h"

namespace plat {

class cEventService {
 public:
  virtual ~cEventService() = default;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  // Once per loop turn: everything that happened since the last turn.
  virtual void Pump(WndHandle hMainWnd) = 0;
  // Window thread, between turns: sleeps at most nMs, until the desktop has
  // an event, a frame is handed over, or the thread has news since the mark.
  virtual void Wait(const WAITMARK& mark, uint32_t nMs) { WaitFromMarkFor(mark, nMs); }
};

}  // namespace plat
