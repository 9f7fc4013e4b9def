// The surfaces the play screen draws from: the database's and the run's
// collections (kept with the scene manager, which restores them), a group's
// element by number, and the built-in table's entries the play uses.
#pragma once

#include "scenes/play_surfaces.h"

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
