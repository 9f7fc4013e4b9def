// A shot's picture: a 16 x 16 cell of the shot image of its facing, two
// animation cells side by side for each graphic, thirty graphics to a
// column pair; a sword's frame from the sword image of its type and facing.
#include "database/database.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "scenes/play_surfaces.h"
#include "stage/shot_obj.h"
#include "stage/stage_surfaces.h"

namespace {

constexpr int32_t kShotCell = 16;
constexpr int32_t kShotRows = 30;
constexpr int32_t kShotGraphics = 120;  // four column pairs of thirty

}  // namespace

void cShotObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  if (m_Def.m_cHidden) return;
  const int32_t nScale = GetScale();
  DDSURFACEDATA* pFirst = nullptr;
  DDSURFACEDATA* pStretch = nullptr;
  int32_t nSrcX = 0, nSrcY = 0;
  if (m_nIsShot) {
    const int32_t nCell = bStill ? m_Anim.GetCell() : m_Anim.Tick();
    const int32_t g = m_nKindValue;
    // A graphic beyond the shot image has no picture.
    if (g < 0 || g >= kShotGraphics || nCell < 0) return;
    nSrcX = (nCell + (g / kShotRows) * 2) * kShotCell;
    nSrcY = (g % kShotRows) * kShotCell;
    pFirst = pStretch = &g_SurfaceTable[m_nFacing == 1 ? SURF_SHOT_MIRRORED : SURF_SHOT];
  } else {
    const size_t nType = static_cast<uint8_t>(m_Def.m_cMoveType);
    const cEdSwordType& type = Database.m_vecSwordType.At(static_cast<int>(nType));
    if (m_nMoveCount < 0 || m_nMoveCount >= static_cast<int32_t>(type.m_vecFrame.size())) return;
    const cEdSwordFrame& frame = type.m_vecFrame.At(m_nMoveCount);
    nSrcX = frame.m_nSrcX;
    nSrcY = frame.m_nSrcY;
    const size_t nBase = nType * 4 + (m_nFacing == 1 ? 0 : 1);
    // The sword images come with the database's pictures; without them
    // the swing is not seen.
    if (nBase + 2 >= g_SwordSurfaces.size()) return;
    pFirst = &g_SwordSurfaces[nBase];
    pStretch = &g_SwordSurfaces[nBase + 2];
  }
  if (nScale > 1)
    DDBltStretch(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, pStretch, nSrcX, nSrcY,
                 m_nBaseDrawW, m_nBaseDrawH, 1);
  else
    DDBlt(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, pFirst, nSrcX, nSrcY, 1);
}
