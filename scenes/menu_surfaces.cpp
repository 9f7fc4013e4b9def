// The menu scenes' pictures and work surfaces.
#include "scenes/menu_surfaces.h"

#include "base/global_order.h"
#include "base/program_state.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"

GLOBAL_OBJECT(GLOBAL_MENU_BMP) DDSURFACEVECTOR g_MenuSurfaces;
GLOBAL_OBJECT(GLOBAL_MENU_BMP) DDIMAGEVECTOR g_MenuImages;

DDSURFACEDATA* MenuPicture(int nEntry) { return &g_SurfaceTable[nEntry]; }

bool LoadMenuPictures(const int* lpEntries, int nCount) {
  // Without a drawing context (scenes run on their own in tests) there is
  // nothing to load into.
  if (!g_DD.lpImageTable) return true;
  if (DDLoadSurfaces(g_SurfaceTable, lpEntries, nCount)) return true;
  PostFatalClose();
  return false;
}

void ReleaseMenuPictures(const int* lpEntries, int nCount) {
  for (int i = 0; i < nCount; ++i) DDReleaseSurface(&g_SurfaceTable[lpEntries[i]]);
}

void ReleaseMenuSurfaces() {
  DDReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuImages.clear();
}

DDSURFACEDATA* CreateMenuSurface(int nWidth, int nHeight, int bColorKey) {
  if (!g_DD.lpImageTable) return nullptr;
  if (!DDPushSurface(g_MenuSurfaces, g_MenuImages, nWidth, nHeight, bColorKey, 0, 0, 0)) {
    PostFatalClose();
    return nullptr;
  }
  return &g_MenuSurfaces.back();
}

bool IsPaletteMode() { return !DDIsDirect3D() && g_DD.nBpp == 8; }

void DrawAccessory(DDSURFACEDATA* lpDstSD, int x, int y, int nSize, int sx, int sy) {
  DDBlt(lpDstSD, x, y, nSize, nSize, MenuPicture(MENUBMP_ACCESSORY), sx, sy, 1);
}
