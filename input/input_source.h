// Where the pad reads its keys and joysticks from. The game polls through
// this seam so that the platform's key-state table and joystick snapshots
// can be swapped for scripted states in tests.
#pragma once

#include <cstdint>

// One joystick reading: both axes on 0..65535 (centre about 32767) and the
// pressed buttons as a mask (bit 0 = button 1).
struct JOYREADING {
  uint32_t dwXpos = 32767;
  uint32_t dwYpos = 32767;
  uint32_t dwButtons = 0;
};

class cInputSource {
 public:
  virtual ~cInputSource() = default;
  // Whether the key with this Windows virtual-key code is held now.
  virtual bool IsVirtualKeyDown(int nVirtualKey) = 0;
  // Reads joystick n; false when it is absent or cannot be read.
  virtual bool ReadJoystick(int nJoystick, JOYREADING& reading) = 0;
};

// The source every poll uses: the platform's keyboard and pads unless
// another is set; null puts the platform's back.
void SetInputSource(cInputSource* pSource);
cInputSource* GetInputSource();

bool IsVirtualKeyDown(int nVirtualKey);
bool ReadJoystick(int nJoystick, JOYREADING& reading);
