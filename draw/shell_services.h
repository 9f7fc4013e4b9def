// What the drawing library asks of the application shell: the Direct3D
// frame pacer and the driver interface level of the display. The shell
// provides both; the definitions in shell_services.cpp are weak stand-ins
// that only hold until it does.
#pragma once

// Whether the Direct3D frame of the given rate may be presented now.
bool PaceFrameD3D(int nFrameRate);
// The display driver's interface level (9 for a level-9 driver).
int GetDDIVersion();
