// The drawing context: device set-up in either drawing mode, present, and
// boxes shown over a full-screen device.
#pragma once

#include <cstdint>

// Shows a message box over the full-screen device; 1 shown, 0 failed.
int DDMesBox(const char* szText, const char* szCaption, uint32_t uType);
