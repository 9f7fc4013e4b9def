// The player's hit-area overlays: its collision rectangle and its three
// boxes shown as filled or framed rectangles that shimmer through four
// neighbouring colours.
#include "draw/blit.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "files/system_data.h"
#include "stage/player_obj.h"

namespace {

constexpr int kBlinkPeriod = 32;

enum : int32_t { AREA_COLLISION = 0, AREA_BODY = 1, AREA_PICK = 2, AREA_SHOT = 3 };
enum : int32_t { AREA_HIDDEN = 0, AREA_FILLED = 1, AREA_FRAMED = 2 };

}  // namespace

void cPlayerObj::DrawHitAreas(DDSURFACEDATA* pTarget) {
  // The 8-bit palette shimmers by itself while the palette cycles.
  const bool bPaletteCycles = !DDIsDirect3D() && g_DD.nBpp == 8 && g_SystemData.m_bPaletteCycle;
  for (HITAREADATA& a : m_vecHitAreas) {
    if (a.nMode != AREA_FILLED && a.nMode != AREA_FRAMED) continue;
    const HITBOX* pBox = a.nKind == AREA_BODY   ? &m_BodyBox
                         : a.nKind == AREA_PICK ? &m_PickBox
                         : a.nKind == AREA_SHOT ? &m_ShotBox
                                                : nullptr;
    a.nX = m_nScrLeft + m_nDrawDX + (pBox ? pBox->nOffX : 0);
    a.nY = m_nScrTop + m_nDrawDY + (pBox ? pBox->nOffY : 0);
    const uint32_t dwColour =
        static_cast<uint32_t>(bPaletteCycles ? a.nColour : a.nColour + (a.nBlink >> 3));
    if (a.nMode == AREA_FILLED)
      DDFillRect(pTarget, a.nX, a.nY, a.nWidth, a.nHeight, dwColour);
    else
      DDFrameRect(pTarget, a.nX, a.nY, a.nWidth, a.nHeight, 1, dwColour);
    a.nBlink = (a.nBlink + 1) % kBlinkPeriod;
  }
}
