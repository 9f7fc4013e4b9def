// The surfaces the play screen draws from besides the built-in table: the
// database's dedicated character bitmaps, sword images and effect images
// (loaded once for a run of play scenes), and the pictures shown during a
// run, each a collection with its parallel descriptors.
#pragma once

#include "draw/surface_collections.h"

// Dedicated character bitmaps: four forms per bitmap-set entry from entry 1
// (the sheet, the sheet mirrored frame by frame, and both again in system
// memory); entry e at (e - 1) x 4.
extern DDSURFACEVECTOR g_CharaBmpSurfaces;
extern DDIMAGEVECTOR g_CharaBmpImages;
// Sword images: four forms per sword type from entry 0 (image A, image B,
// and both in system memory); entry e at e x 4.
extern DDSURFACEVECTOR g_SwordSurfaces;
extern DDIMAGEVECTOR g_SwordImages;
// Effect images: two forms per effect from entry 1 (the image, and again in
// system memory); effect n at 2n - 2 and 2n - 1.
extern DDSURFACEVECTOR g_EffectSurfaces;
extern DDIMAGEVECTOR g_EffectImages;
// The pictures of the run, parallel to the play scene's picture list.
extern DDSURFACELIST g_PictureSurfaces;
extern DDIMAGELIST g_PictureImages;

// Element n of a group, or null when the group does not hold it (not
// loaded, or a number past the list).
DDSURFACEDATA* GroupSurface(DDSURFACEVECTOR* pGroup, int n);

// Built-in table entries the play scene uses.
enum : int {
  SURF_BLOCK = 2,
  SURF_SHOT = 20,
  SURF_SHOT_MIRRORED = 21,
  SURF_MARK = 43,  // 44: the same sheet that stretched blits read
  SURF_STATUS_BAR = 46,
  SURF_ACCESSORY = 49,
  SURF_WORD = 51,
  SURF_BACKGROUND = 55,  // 55..62: the stage's eight backgrounds
  SURF_SHOT_SHEET = 63,
  SURF_SHOT_SHEET_MIRRORED = 64,
  SURF_SIGHT_MASK = 65,
  SURF_SIGHT_HOLE = 66,
  SURF_WORK_COLOUR = 67,
  SURF_WORK_SCREEN = 68,
};
constexpr int kStageBackgrounds = 8;
