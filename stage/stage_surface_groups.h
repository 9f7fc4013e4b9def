// The database's surface groups of the running play scene, as the character
// and effect drawing find them: the play screen loads the groups and points
// here at them; null (nothing drawn) while none are loaded.
#pragma once

#include "draw/surface_collections.h"

struct STAGESURFACEGROUPS {
  // Four load forms per bitmap set from entry 1: the sheet, the sheet
  // mirrored frame by frame, and both again in system memory.
  DDSURFACEVECTOR* pCharaBitmaps = nullptr;
  // Two load forms per effect from entry 1: the image, and the image in
  // system memory that stretched blits read.
  DDSURFACEVECTOR* pEffects = nullptr;
};
extern STAGESURFACEGROUPS g_StageSurfaceGroups;

// Element n of a group, or null when the group or the element is missing.
DDSURFACEDATA* GroupSurface(DDSURFACEVECTOR* pGroup, int n);
