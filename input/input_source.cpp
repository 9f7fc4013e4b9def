// The seam between the pad and whatever feeds it keys and joysticks: the
// platform's key-state table and pad snapshots unless a test puts its own
// source in place.
#include "input/input_source.h"

#include <atomic>

#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"

namespace {

class cPlatformInputSource : public cInputSource {
 public:
  bool IsVirtualKeyDown(int nVirtualKey) override { return plat::IsKeyDown(nVirtualKey); }
  bool ReadJoystick(int nJoystick, JOYREADING& reading) override {
    plat::JOYSTATE state;
    if (!plat::ReadJoystick(nJoystick, state)) return false;
    reading.dwXpos = state.dwXpos;
    reading.dwYpos = state.dwYpos;
    reading.dwButtons = state.dwButtons;
    return true;
  }
};

cPlatformInputSource g_PlatformInputSource;
std::atomic<cInputSource*> g_pInputSource{&g_PlatformInputSource};

}  // namespace

void SetInputSource(cInputSource* pSource) {
  g_pInputSource.store(pSource ? pSource : &g_PlatformInputSource);
}
cInputSource* GetInputSource() { return g_pInputSource.load(); }

bool IsVirtualKeyDown(int nVirtualKey) {
  if (nVirtualKey < 0 || nVirtualKey > 255) return false;
  return g_pInputSource.load()->IsVirtualKeyDown(nVirtualKey);
}

bool ReadJoystick(int nJoystick, JOYREADING& reading) {
  if (nJoystick < 0) return false;
  return g_pInputSource.load()->ReadJoystick(nJoystick, reading);
}
