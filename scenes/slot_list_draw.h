// The list of story slots the title's continue menu and the world-map menu
// show: a framed column of rows, each the slot's number and, for a used
// slot, when it was saved.
#pragma once

#include "base/safe_vector.h"
#include "files/save_slots.h"

struct DDSURFACEDATA;

// nRows rows of 16 pixels from slot nFirst at (x, y), 320 pixels wide.
void DrawStorySlotInfo(DDSURFACEDATA* lpDstSD, int x, int y, cSafeVector<cSaveSlotData>& vSlots,
                       int nFirst, int nRows);
