// The null event feed: no desktop, so no events. Keys and pads are scripted
// into their tables directly.
#pragma once

#include "platform/window/event_service.h"

namespace plat::null {

class cNullEventFeed : public cEventService {
 public:
  void Start() override {}
  void Stop() override {}
  void Pump(WndHandle) override {}
};

}  // namespace plat::null
