// Drawing a menu: its shown entries in a framed box of the main font, a
// line each, after a column for the cursor.
#pragma once

#include "base/safe_vector.h"
#include "records/menu_entry.h"

struct DDSURFACEDATA;

// The box's top left at (x, y); nothing when every shown label is empty.
void DrawCmd(DDSURFACEDATA* lpDstSD, int x, int y, cSafeVector<cCmd>& vMenu);
