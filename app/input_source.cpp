// The seam between the pad and whatever feeds it keys and joysticks.
#include "app/input_source.h"

#include <atomic>

namespace {
std::atomic<cInputSource*> g_pInputSource{nullptr};
}

void SetInputSource(cInputSource* pSource) { g_pInputSource.store(pSource); }
cInputSource* GetInputSource() { return g_pInputSource.load(); }

bool IsVirtualKeyDown(int nVirtualKey) {
  cInputSource* pSource = g_pInputSource.load();
  if (!pSource || nVirtualKey < 0 || nVirtualKey > 255) return false;
  return pSource->IsVirtualKeyDown(nVirtualKey);
}

bool ReadJoystick(int nJoystick, JOYREADING& reading) {
  cInputSource* pSource = g_pInputSource.load();
  if (!pSource || nJoystick < 0) return false;
  return pSource->ReadJoystick(nJoystick, reading);
}
