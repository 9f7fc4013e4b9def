// A character on the play screen: its sprite drawn through its character
// effect, its mark, its death, its gauges, and the lookup by id.
#include <algorithm>

#include "base/trunc_int.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/sprite_source.h"
#include "stage/stage_objects.h"

namespace {

constexpr int kMarkSheet = 43;  // bmp\Mark.bmp, and its system-memory form at 44
constexpr int kMarkSheetCopy = 44;
constexpr int kAccessory = 49;  // bmp\Accessory.bmp: icons and gauges
constexpr int kCell = 32;
constexpr int kCellsPerColumn = 15;
constexpr int kGaugeWidth = 50;
constexpr int kGaugeHeight = 2;
// Status items of the warning limits.
constexpr int kStatusHP = 2;
constexpr int kStatusSP = 3;
// A gauge shows its change for the frames above this, then the bar alone.
constexpr int kGaugeChangeFrames = 60;

int StageFrameRate() { return g_PlayScene ? g_PlayScene->m_nStageFrameRate : 60; }

void RefreshScreenRect(cGameObj& obj) {
  // The player has a screen rectangle of its own.
  if (auto* pPlayer = dynamic_cast<cPlayerObj*>(&obj))
    pPlayer->UpdateScreenRect();
  else
    obj.cObjRoot::UpdateScreenRect();
}

void DrawGauge(DDSURFACEDATA* pTarget, const cGameObj& obj, GAUGE& g, int bSP, int32_t nValue,
               int32_t nMax) {
  if (g.nFrames <= 0 || obj.m_nDying) return;
  DDSURFACEDATA* pSheet = &g_SurfaceTable[kAccessory];
  // Taller sheets keep their gauge rows packed at 2 pixels from row 208.
  const int y0 = pSheet->nHeight > 208 ? 208 : 128;
  const int nStep = pSheet->nHeight > 208 ? 2 : 16;
  const int sx = bSP ? 64 : 0;
  const int x = obj.m_nScrLeft + (obj.m_nDrawW >> 1) - 25;
  const int y = obj.m_nScrTop - (bSP ? 7 : 3);
  const int nBar = std::clamp<int32_t>(g.nValue, 0, kGaugeWidth);
  DDBlt(pTarget, x, y, kGaugeWidth, kGaugeHeight, pSheet, sx, y0, 1);
  const int bWarn = g_SystemData.IsAtOrBelowLimit(bSP ? kStatusSP : kStatusHP, nValue, nMax);
  DDBlt(pTarget, x, y, nBar, kGaugeHeight, pSheet, sx, y0 + (bWarn ? 2 : 1) * nStep, 1);
  const double q = g.dStep;
  if (q >= 0) {
    const int w = std::clamp<int32_t>(TruncI32(q), 0, kGaugeWidth);
    DDBlt(pTarget, x + nBar - w, y, w, kGaugeHeight, pSheet, sx + nBar - w, y0 + 4 * nStep, 1);
  } else {
    const int w = std::clamp<int32_t>(TruncI32(-q), 0, kGaugeWidth);
    DDBlt(pTarget, x + nBar, y, w, kGaugeHeight, pSheet, sx + nBar, y0 + 3 * nStep, 1);
  }
  // Gauges take no still flag: they count down in every drawing.
  --g.nFrames;
  if (g.nFrames < kGaugeChangeFrames)
    g.dStep = 0;
  else
    g.dStep -= g.dStepPerFrame;
}

}  // namespace

void cGameObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  const int32_t nCell = StepAnims(bStill);
  if (m_Def.m_cTransparent) {
    StepCharaEffect(bStill);
    return;
  }
  RefreshScreenRect(*this);
  if (m_nPinX) {
    m_nScrLeft = m_nPinLeft;
    m_nScrRight = m_nPinLeft + m_nDrawW - 1;
  }
  if (m_nPinY) {
    m_nScrTop = m_nPinTop;
    m_nScrBottom = m_nPinTop + m_nDrawH - 1;
  }
  SPRITEDATA sprite;
  const bool bSprite = MakeSprite(nCell, sprite);
  if (RunCharaEffect(pTarget, bSprite ? &sprite : nullptr, bStill, bSprite ? 1 : 0))
    m_CharaEffect.m_nEffect = 0;
  if (m_Def.m_cMarkShown != 1) return;
  const int k = m_Def.m_sMark;
  const int sx = (k / kCellsPerColumn) * kCell, sy = (k % kCellsPerColumn) * kCell;
  if (GetScale() > 1)
    DDBltStretch(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH,
                 &g_SurfaceTable[kMarkSheetCopy], sx, sy, m_nBaseDrawW, m_nBaseDrawH, 1);
  else
    DDBlt(pTarget, m_nScrLeft, m_nScrTop, kCell, kCell, &g_SurfaceTable[kMarkSheet], sx, sy, 1);
}

int cGameObj::DrawDeath(DDSURFACEDATA* pTarget, int bStill) {
  SPRITEDATA sprite;
  const bool bSprite = MakeSprite(0, sprite);
  SPRITEDATA* pSprite = bSprite ? &sprite : nullptr;
  if (m_nControl == 1) {
    if (m_CharaEffect.m_nEffect == 0) return 1;
    if (!RunCharaEffect(pTarget, pSprite, bStill, bSprite ? 1 : 0)) return 0;
    m_CharaEffect.m_nEffect = 0;
    return 1;
  }
  if (m_CharaEffect.m_nEffect != 0) {
    if (RunCharaEffect(pTarget, pSprite, bStill, bSprite ? 1 : 0)) m_CharaEffect.m_nEffect = 0;
    return 0;
  }
  // The defeated player lingers a second after its death effect.
  if (bStill) return 0;
  ++m_nDeathFrames;
  return m_nDeathFrames > StageFrameRate() ? 1 : 0;
}

int cGameObj::StepCharaEffect(int bStill) {
  if (!RunCharaEffect(nullptr, nullptr, bStill, 0)) return 0;
  m_CharaEffect.m_nEffect = 0;
  return 1;
}

void cGameObj::DrawHpGauge(DDSURFACEDATA* pTarget) {
  DrawGauge(pTarget, *this, m_HpGauge, 0, m_nHP, m_Def.m_nMaxHP);
}

void cGameObj::DrawSpGauge(DDSURFACEDATA* pTarget) {
  DrawGauge(pTarget, *this, m_SpGauge, 1, m_nSP, m_Def.m_nMaxSP);
}

cGameObj* FindObjEntry(int32_t nId) {
  for (cPlayerObj& p : g_Players)
    if (p.m_nId == nId) return &p;
  for (cCharaObj& c : g_CharaList)
    if (c.m_nId == nId) return &c;
  return nullptr;
}
