#include "stage/effect_obj.h"

#include <algorithm>

#include "base/safe_vector.h"
#include "base/trunc_int.h"
#include "database/database.h"
#include "draw/blit.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/stage_surfaces.h"

namespace {

// Bit 15 marks a number that names no effect.
constexpr int32_t kNoEffectBit = 0x8000;
constexpr int kJitter = 4;

double CameraX() { return g_PlayScene ? g_PlayScene->m_ScrollX.m_dPos : 0.0; }
double CameraY() { return g_PlayScene ? g_PlayScene->m_ScrollY.m_dPos : 0.0; }

}  // namespace

int32_t cEffectObj::Validate(int32_t nEffect) {
  const int32_t nIndex = nEffect & 0xFFFF;
  const int nCount = static_cast<int>(Database.m_vecEffect.size());
  if ((nEffect & kNoEffectBit) == 0 && nIndex < nCount) return nIndex;
  ReportBadIndex('V', nIndex, nCount, static_cast<int>(sizeof(cEdEffect)));
  return -1;
}

void cEffectObj::Init(int32_t nEffect, double x, double y, int32_t nWidth, int32_t nHeight,
                      int32_t bRunWhenStill) {
  m_dX = x;
  m_dY = y;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_bRunWhenStill = bRunWhenStill;
  m_nEffect = Validate(nEffect);
  m_bScaled = m_nEffect >= 0 && Database.m_vecEffect.At(m_nEffect).m_nCellW != nWidth;
  BuildFrames(m_nEffect);
}

void cEffectObj::InitScaled(int32_t nEffect, const RECTD& a, const RECTD& b, int32_t nScale) {
  m_nEffect = Validate(nEffect);
  m_bRunWhenStill = 0;
  int32_t j = 1;
  m_nWidth = m_nHeight = 0;
  m_bScaled = 0;
  if (m_nEffect >= 0) {
    const cEdEffect& entry = Database.m_vecEffect.At(m_nEffect);
    if (entry.m_bScale) j = nScale;
    m_bScaled = entry.m_bScale && nScale > 1;
    m_nWidth = m_bScaled ? entry.m_nCellW * nScale : entry.m_nCellW;
    m_nHeight = m_bScaled ? entry.m_nCellH * nScale : entry.m_nCellH;
  }
  double dLeft = 0, dTop = 0, dRight = 0, dBottom = 0;
  if (a.dX <= b.dRight && b.dX <= a.dRight && a.dY <= b.dBottom && b.dY <= a.dBottom) {
    dLeft = std::max(a.dX, b.dX);
    dTop = std::max(a.dY, b.dY);
    dRight = std::min(a.dRight, b.dRight);
    dBottom = std::min(a.dBottom, b.dBottom);
  }
  m_dX = dLeft + (TruncI32(dRight - dLeft + 1) >> 1) - (m_nWidth >> 1);
  m_dY = dTop + (TruncI32(dBottom - dTop + 1) >> 1) - (m_nHeight >> 1);
  if (g_PlayScene) {
    // Both draws come from the play's own sequence: hits happen in steps.
    m_dX += RandRange(g_PlayScene->m_Rand, -kJitter * j, kJitter * j);
    m_dY += RandRange(g_PlayScene->m_Rand, -kJitter * j, kJitter * j);
  }
  BuildFrames(m_nEffect);
}

void cEffectObj::BuildFrames(int32_t nEffect) {
  m_Anim = cAnimPlayer{};
  if (nEffect < 0 || nEffect >= static_cast<int32_t>(g_EffectFrameTable.size())) return;
  m_Anim.m_vecAnims.push_back(g_EffectFrameTable.At(nEffect));
  m_Anim.Set(0, 1);
}

int cEffectObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  // No frames, or no effect: nothing to show. The none entry (0) would loop
  // unseen for ever, so it ends as well.
  if (m_nEffect <= 0 || m_Anim.m_vecAnims.empty() || m_Anim.m_vecAnims.front().size() <= 1)
    return 1;
  int32_t nCell = 0;
  if (m_bRunWhenStill || !bStill) {
    nCell = m_Anim.Tick();
    if (nCell == ANIMESTEP_END) return 1;
  } else {
    nCell = m_Anim.GetCell();
  }
  if (nCell < 0) nCell = 0;
  const cEdEffect& entry = Database.m_vecEffect.At(m_nEffect);
  const int x = TruncI32(m_dX - CameraX()), y = TruncI32(m_dY - CameraY());
  const int sx = nCell * entry.m_nCellW;
  // Effect n's two load forms follow those of the effects before it.
  DDSURFACEVECTOR* pGroup = &g_EffectSurfaces;
  if (m_bScaled) {
    if (DDSURFACEDATA* pSD = GroupSurface(pGroup, 2 * m_nEffect - 1))
      DDBltStretch(pTarget, x, y, m_nWidth, m_nHeight, pSD, sx, 0, entry.m_nCellW, entry.m_nCellH,
                   1);
  } else if (DDSURFACEDATA* pSD = GroupSurface(pGroup, 2 * m_nEffect - 2)) {
    DDBlt(pTarget, x, y, entry.m_nCellW, entry.m_nCellH, pSD, sx, 0, 1);
  }
  return 0;
}
