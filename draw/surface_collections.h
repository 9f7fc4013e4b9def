// Collections of surfaces: the built-in table loaded by entry number, and
// the vectors and lists of surface records other parts keep, each with a
// parallel collection of descriptors (element i describes element i).
// Records never move while they live: a vector of them is a deque, which
// keeps its elements in place as it grows at the end.
#pragma once

#include <deque>
#include <list>
#include <vector>

#include "draw/surface_data.h"

using DDSURFACEVECTOR = std::deque<DDSURFACEDATA>;
using DDSURFACELIST = std::list<DDSURFACEDATA>;
using DDIMAGEVECTOR = std::vector<DDIMAGEDATA>;
using DDIMAGELIST = std::list<DDIMAGEDATA>;

// (Re)creates the listed entries of the surface table from the drawing
// context's built-in bitmap table, in the given order. False when a
// required entry fails (after its box); the entries after it are not loaded.
bool DDLoadSurfaces(DDSURFACEDATA* lpTable, const int* lpEntries, int nCount);

// Appends a blank surface and its descriptor; the result is the creation's.
bool DDPushSurface(DDSURFACEVECTOR& Surfaces, DDIMAGEVECTOR& Images, int nWidth, int nHeight,
                   int bColorKey, int nMemory, int nMemoryType, int bShare);
bool DDPushSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, int nWidth, int nHeight,
                       int bColorKey, int nMemory, int nMemoryType, int bShare);
// Inserts before position nIndex (negative counts as 0; at or past the end
// appends).
bool DDInsertSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, int nIndex, int nWidth,
                         int nHeight, int bColorKey, int nMemory, int nMemoryType, int bShare);
// Releases the record and removes it and its descriptor: 1 when it was in
// the list, else 0 (and nothing is released).
int DDEraseSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, DDSURFACEDATA* lpSD);
// Releases every element; the elements stay.
void DDReleaseSurfaceVector(DDSURFACEVECTOR& Surfaces);
void DDReleaseSurfaceList(DDSURFACELIST& Surfaces);
