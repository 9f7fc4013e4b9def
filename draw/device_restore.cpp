// The device restore of both drawing modes.
#include "draw/device_restore.h"

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"

namespace {

DDFONTRESTORE g_FontRestore;

bool IsBlankName(const char* szFileName) {
  return szFileName[0] == '\0' || (szFileName[0] == 'E' && szFileName[1] == '\0');
}

bool IsLost(const plat::gfx::cImagePtr& p) { return p && p->IsLost(); }

}  // namespace

void DDSetFontRestore(const DDFONTRESTORE& hooks) { g_FontRestore = hooks; }
const DDFONTRESTORE& DDGetFontRestore() { return g_FontRestore; }

int DDRestoreSurface() {
  DebugLog("Restore In");
  if (!g_DD.lpDTCon) {
    DebugLog("DDではDDRestoreSurfaceは未対応");
    return 1;
  }
  if (!g_DD.lpDevice) return 0;
  DTCONDATA& con = *g_DD.lpDTCon;
  // A device that was never lost keeps its textures: a restore asked for on
  // activation finds nothing to do.
  if (g_DD.lpDevice->TestCooperativeLevel() == plat::gfx::eGfxResult::Ok) {
    DebugLog("Restore Out");
    return 1;
  }
  for (DDSURFACEDATA* lpSD : TextureList) {
    if (!lpSD->lpDT || lpSD->lpDT->nMemoryType == DTMEMORYTYPE_SYSTEM) continue;
    lpSD->lpDT->lpTexture.reset();
    lpSD->lpDT->lpSurface.reset();
  }
  if (g_FontRestore.pfnOnLostDevice) g_FontRestore.pfnOnLostDevice();
  if (BackBuffer.lpDT) BackBuffer.lpDT->lpSurface.reset();
  if (g_DD.lpDevice->TestCooperativeLevel() != plat::gfx::eGfxResult::DeviceNotReset) {
    DebugLog("復旧失敗…リセット可能な状態ではありません…");
    return 0;
  }
  if (plat::gfx::Failed(g_DD.lpDevice->Reset(con.PresentParams.Params))) return 0;
  // The reset ended the scene and dropped every device state.
  con.bInScene = 0;
  DDSetRenderStates();
  if (BackBuffer.lpDT) BackBuffer.lpDT->lpSurface = g_DD.lpDevice->GetBackBuffer();
  // In list order; the list does not change while it is walked (a restore
  // keeps every record's place).
  const std::vector<DDSURFACEDATA*> records = TextureList;
  for (DDSURFACEDATA* lpSD : records) {
    if (!lpSD->lpDT) continue;
    DTDATA& dt = *lpSD->lpDT;
    if (!IsBlankName(lpSD->szFileName)) {
      if (DDCreateSurfaceFromFile(lpSD, lpSD->szFileName, dt.bColorKey, g_DD.nBpp, lpSD->nMemory,
                                  dt.nMemoryType, lpSD->lpShareSD, 0, lpSD->nMirrorWidth,
                                  lpSD->nMirrorHeight, 1) != 0)
        DebugLog("Err");
    } else {
      if (!DDCreateSurface(lpSD, lpSD->nWidth, lpSD->nHeight, dt.bColorKey, lpSD->nMemory,
                           dt.nMemoryType, lpSD->lpShareSD != nullptr, 1))
        DebugLog("Err");
      lpSD->bLost = 1;
    }
  }
  if (g_FontRestore.pfnRestore) g_FontRestore.pfnRestore();
  // A full-screen window would be shown again here; the presenter's window
  // stays on the desktop through a loss.
  DebugLog("Restore Out");
  return 1;
}

bool DDRestore() {
  if (g_DD.lpDTCon) {
    DebugLog("D3DではDDRestoreは未対応");
    return true;
  }
  if (!g_DD.lpDD || !PrimarySD.lpDDS || !IsLost(PrimarySD.lpDDS->lpDDSurface)) return true;
  g_DD.lpDD->Restore(*PrimarySD.lpDDS->lpDDSurface);
  if (BackBuffer.lpDDS && IsLost(BackBuffer.lpDDS->lpDDSurface))
    g_DD.lpDD->Restore(*BackBuffer.lpDDS->lpDDSurface);
  for (int i = 0; i < g_DD.nSurfaceNum && g_DD.lpSDTable; ++i) {
    DDSURFACEDATA& sd = g_DD.lpSDTable[i];
    if (!sd.lpDDS || !IsLost(sd.lpDDS->lpDDSurface)) continue;
    g_DD.lpDD->Restore(*sd.lpDDS->lpDDSurface);
    if (sd.nMemory != 0) continue;
    if (!IsBlankName(sd.szFileName))
      DDReloadSurface(&sd, g_DD.nBpp);
    else
      sd.bLost = 1;
  }
  if (g_DD.nBpp == 8 && g_DD.lpDDPalette)
    g_DD.lpDDPalette->SetEntries(0, 256, g_DD.DisplayPalette.data());
  if (g_FontRestore.pfnRestore) g_FontRestore.pfnRestore();
  return true;
}
