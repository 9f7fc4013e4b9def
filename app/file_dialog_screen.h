// What the drawing library does to the screen around a file chooser: over
// a full-screen device the chooser gets the plain hook, and in 8-bit
// DirectDraw mode palette entry 0 is black while the chooser is open (the
// chooser draws with it) and back to the shown colour afterwards.
#pragma once

#include "base/file_dialogs.h"

void PrepareScreenForFileDialog(OPENFILENAME& ofn, bool bBefore);

// Start-up: every chooser of the program goes through it from then on.
void InstallFileDialogScreen();
