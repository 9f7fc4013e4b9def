// Limited sight: a screen-sized window onto a mask of the screen's colour
// with a hole of the player's sight range in its middle, laid over the
// stage so that only the part around the player shows.
#include <algorithm>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/circle_lens.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/play_screen_layout.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

void SightWindow(int32_t nMaskW, int32_t nMaskH, int32_t nScrLeft, int32_t nScrTop, int32_t nDrawW,
                 int32_t nDrawH, int nFacingSign, int32_t nRange, int nKind, int32_t& sx,
                 int32_t& sy) {
  int64_t x = int64_t{nMaskW >> 1} - (nDrawW >> 1) - nScrLeft;
  int64_t y = int64_t{nMaskH >> 1} - (nDrawH >> 1) - nScrTop;
  if (nKind == 2 || nKind == 4) x += int64_t{nFacingSign} * (nDrawW >> 1) - int64_t{nFacingSign} * nRange;
  sx = static_cast<int32_t>(std::clamp<int64_t>(x, 0, std::max(nMaskW - 640, 0)));
  sy = static_cast<int32_t>(std::clamp<int64_t>(y, 0, std::max(nMaskH - 480, 0)));
}

void cPlayScene::CreateSightSurfaces() {
  DDSURFACEDATA* pMask = &g_SurfaceTable[SURF_SIGHT_MASK];
  DDSURFACEDATA* pHole = &g_SurfaceTable[SURF_SIGHT_HOLE];
  const cPlayerObj* pPlayer = g_Players.empty() ? nullptr : &g_Players[0];
  // A negative range from the data is no sight at all, never a negative hole.
  const int32_t n = pPlayer ? std::clamp(pPlayer->m_nSightRange, 0, 0x3FFFFFFF / 2 - 960) : 0;
  DDReleaseSurface(pMask);
  DDReleaseSurface(pHole);
  const int32_t w = 1280 + 2 * n, h = 960 + 2 * n;
  if (!DDCreateSurface(pMask, w, h, 1, 1, 0, 0, 0)) {
    OutOfMemoryClose();
    return;
  }
  DDFillSurface(pMask, 16);
  if (n == 0) return;
  const int nKind = pPlayer->m_Def.m_cSightShape;
  if (nKind == 1 || nKind == 2) {
    if (!DDCreateSurface(pHole, 2 * n, 2 * n, 1, 1, 0, 0, 0)) {
      OutOfMemoryClose();
      return;
    }
    if (g_SystemData.m_bTrueColorImages)
      DDFillSurfaceColor(pHole, DDIsDirect3D() ? g_DD.lpDTCon->dwTransparent : g_DD.dwColorKey);
    else
      DDFillSurface(pHole, 0);
    DDBltCircle(pMask, w / 2, h / 2, n, n, n, 1, pHole, n, n, 0);
  } else {
    DDFillRect(pMask, w / 2 - n, h / 2 - n, 2 * n, 2 * n, 0);
  }
}

void cPlayScene::DrawSightMask(DDSURFACEDATA* pTarget, const cPlayerObj& player) {
  DDSURFACEDATA* pMask = &g_SurfaceTable[SURF_SIGHT_MASK];
  if (pMask->nWidth <= 0 || pMask->nHeight <= 0) return;
  int32_t sx = 0, sy = 0;
  SightWindow(pMask->nWidth, pMask->nHeight, player.m_nScrLeft, player.m_nScrTop, player.m_nDrawW,
              player.m_nDrawH, player.FacingSign(), std::max(player.m_nSightRange, 0),
              player.m_Def.m_cSightShape, sx, sy);
  DDBlt(pTarget, 0, 0, 640, 480, pMask, sx, sy, 1);
}
