// Getting the pictures back after the device or its surfaces were lost:
// Direct3D resets the device and makes every texture of the texture list
// again, from its file or blank; DirectDraw restores the screen surfaces and
// the surface table and reloads their pictures. Blank surfaces cannot be
// refilled here: they come back in the key colour with bLost set, and their
// owners draw them again.
#pragma once

#include "draw/surface_data.h"

// Direct3D: 1 when the device was reset and the textures made again (or
// when there was nothing to restore), 0 while the device cannot be reset
// yet or the reset failed; the textures then stay released until a later
// call succeeds. DirectDraw: 1, nothing done. Runs on the window thread
// while the drawing thread waits.
int DDRestoreSurface();
// DirectDraw: when the primary surface is lost, restores it, the back
// buffer and the lost entries of the surface table (reloading the pictures
// of those in video memory) and gives the palette object DisplayPalette
// again. True.
bool DDRestore();

// What the fonts do around a restore: let go of what the device holds for
// them before a reset, and draw their glyph sheets again afterwards. The
// fonts install these when they exist; either may be null.
struct DDFONTRESTORE {
  void (*pfnOnLostDevice)() = nullptr;  // before the Direct3D reset
  void (*pfnRestore)() = nullptr;       // after either restore
  // The digits of font nFont drawn again into its digit sheet.
  void (*pfnRenderNumberSheet)(DDSURFACEDATA* lpSheet, int nFont) = nullptr;
};
void DDSetFontRestore(const DDFONTRESTORE& hooks);
const DDFONTRESTORE& DDGetFontRestore();
