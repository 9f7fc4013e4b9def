// A scripted keyboard and joystick set for the pad's tests.
#pragma once

#include <array>
#include <map>

#include "input/input_source.h"

class cFakeInputSource : public cInputSource {
 public:
  std::array<bool, 256> bKeys{};
  std::map<int, JOYREADING> joysticks;  // present pads
  std::map<int, int> nReads;            // read attempts per pad

  cFakeInputSource() { SetInputSource(this); }
  ~cFakeInputSource() override { SetInputSource(nullptr); }

  bool IsVirtualKeyDown(int nVirtualKey) override { return bKeys[nVirtualKey & 255]; }
  bool ReadJoystick(int nJoystick, JOYREADING& reading) override {
    ++nReads[nJoystick];
    auto it = joysticks.find(nJoystick);
    if (it == joysticks.end()) return false;
    reading = it->second;
    return true;
  }
};
