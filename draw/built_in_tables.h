// The program's surface table and the built-in bitmap table that describes
// it entry by entry; the drawing library receives both when it starts.
#pragma once

#include "draw/surface_data.h"

constexpr int kBuiltInSurfaceCount = 71;

extern DDSURFACEDATA g_SurfaceTable[kBuiltInSurfaceCount];
extern DDIMAGEDATA g_ImageTable[kBuiltInSurfaceCount];

// Direct3D only: the entries that draw from another entry's texture point
// at it.
void LinkSharedSurfaces();
