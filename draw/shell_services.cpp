// Weak stand-ins for the shell's frame pacer and driver-level query: the
// library links and runs headless on its own; the shell's definitions win.
#include "draw/shell_services.h"

#include "platform/gfx/display_config.h"

__attribute__((weak)) bool PaceFrameD3D(int) { return true; }

__attribute__((weak)) int GetDDIVersion() { return plat::gfx::GetDisplayConfig().nDriverLevel; }
