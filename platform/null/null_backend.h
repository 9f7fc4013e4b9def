// The null back end: no window (frames kept in memory, PNG on request), no
// sound device (the mixer runs silent or is rendered offline), no desktop
// events, boxes, dialogs and choosers answered from the script or their
// defaults without blocking, and a silent synthesiser that records its events. Headless runs,
// tests and tools run on it; it needs no display, sound card or font.
#pragma once

namespace plat::null {

void InstallNullBackend();

}  // namespace plat::null
