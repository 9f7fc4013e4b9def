#include "stage/stage_surfaces.h"

DDSURFACEDATA* GroupSurface(DDSURFACEVECTOR* pGroup, int n) {
  if (!pGroup || n < 0 || n >= static_cast<int>(pGroup->size())) return nullptr;
  return &(*pGroup)[static_cast<size_t>(n)];
}
