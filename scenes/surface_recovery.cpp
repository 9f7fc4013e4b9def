// Lost DirectDraw surfaces of the program's collections and of the fonts'
// digit sheets, restored once the library has restored its own.
#include "base/logs.h"
#include "draw/device_restore.h"
#include "draw/draw_context.h"
#include "draw/surface_lock.h"
#include "scenes/scene_manager.h"

namespace {

plat::gfx::cImage* LostSurfaceOf(DDSURFACEDATA& sd) {
  if (!sd.lpDDS || !sd.lpDDS->lpDDSurface || !sd.lpDDS->lpDDSurface->IsLost()) return nullptr;
  return sd.lpDDS->lpDDSurface.get();
}

// A surface made blank has no file to come back from.
bool IsBlankName(const char* szFileName) {
  return szFileName[0] == '\0' || (szFileName[0] == 'E' && szFileName[1] == '\0');
}

}  // namespace

bool cSceneManager::RestoreOneSurface(DDSURFACEDATA& sd) {
  plat::gfx::cImage* pSurface = LostSurfaceOf(sd);
  if (!pSurface || !g_DD.lpDD) return true;
  g_DD.lpDD->Restore(*pSurface);
  if (sd.nMemory != 0) return true;
  sd.bLost = 1;
  // A blank surface is left for its owner to draw again; only a picture
  // from a file that cannot be read again fails.
  if (IsBlankName(sd.szFileName)) return true;
  return DDReloadSurface(&sd, g_DD.nBpp);
}

bool cSceneManager::RestoreFontSurfaces(DDSURFACEDATA* lpSheets, int nCount) {
  for (int i = 0; i < nCount && lpSheets; ++i) {
    plat::gfx::cImage* pSurface = LostSurfaceOf(lpSheets[i]);
    if (!pSurface || !g_DD.lpDD) continue;
    g_DD.lpDD->Restore(*pSurface);
    const DDFONTRESTORE& fonts = DDGetFontRestore();
    if (lpSheets[i].nMemory == 0 && fonts.pfnRenderNumberSheet)
      fonts.pfnRenderNumberSheet(&lpSheets[i], i);
  }
  return true;
}
