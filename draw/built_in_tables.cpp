#include "draw/built_in_tables.h"

#include <cstring>

#include "base/global_order.h"

GLOBAL_OBJECT(GLOBAL_SURFACE_TABLE) DDSURFACEDATA g_SurfaceTable[kBuiltInSurfaceCount];
GLOBAL_OBJECT(GLOBAL_BITMAP_TABLE) DDIMAGEDATA g_ImageTable[kBuiltInSurfaceCount];

namespace {

// Only the entries start-up itself reads are named so far; the scenes'
// pictures join this table with the loaders that use them.
struct cImageTableInit {
  cImageTableInit() {
    std::strcpy(g_ImageTable[0].szFileName, "bmp\\plt\\Palette.bmp");
    g_ImageTable[0].nMemory = 1;
    std::strcpy(g_ImageTable[1].szFileName, "bmp\\Debug.bmp");
    g_ImageTable[1].bColorKey = 1;
  }
} g_ImageTableInit;

void Link(int nEntry, int nSource) { g_SurfaceTable[nEntry].lpShareSD = &g_SurfaceTable[nSource]; }

}  // namespace

void LinkSharedSurfaces() {
  // Each odd entry 3..21 draws from the even one before it.
  for (int n = 3; n <= 21; n += 2) Link(n, n - 1);
  // 22..39 draw in pairs from the even entries 4..20.
  for (int n = 22; n <= 39; ++n) Link(n, 4 + 2 * ((n - 22) / 2));
  Link(41, 40);
  Link(44, 43);
  Link(68, 67);
}
