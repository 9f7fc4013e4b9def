// The character-effect handler table, the plain drawing of kind 0, and the
// copies of a sprite into a work surface that the other kinds start from.
#include "base/safe_vector.h"
#include "database/database.h"
#include "stage/chara_effect_util.h"
#include "stage/game_obj.h"

using namespace chara_effect;

namespace {

using HANDLER = int (cGameObj::*)(DDSURFACEDATA*, SPRITEDATA*, int, int);

constexpr HANDLER kHandlers[] = {
    &cGameObj::DrawEffectNone,        &cGameObj::DrawEffectBurst,
    &cGameObj::DrawEffectSplitH,      &cGameObj::DrawEffectSplitV,
    &cGameObj::DrawEffectWaveH,       &cGameObj::DrawEffectWaveV,
    &cGameObj::DrawEffectBlink,       &cGameObj::DrawEffectRotateA,
    &cGameObj::DrawEffectRotateB,     &cGameObj::DrawEffectRotateDepth,
    &cGameObj::DrawEffectCircle,      &cGameObj::DrawEffectZoom,
    &cGameObj::DrawEffectLens,        &cGameObj::DrawEffectColour,
    &cGameObj::DrawEffectTranslucent, &cGameObj::DrawEffectMosaic,
    &cGameObj::DrawEffectBlur,
};
constexpr int kHandlerCount = static_cast<int>(sizeof kHandlers / sizeof kHandlers[0]);

}  // namespace

int cGameObj::RunCharaEffect(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  const int32_t n = m_CharaEffect.m_nEffect;
  const int nCount = static_cast<int>(Database.m_vecCharaEffect.size());
  if (n < 0 || n >= nCount) {
    // A number the database does not hold: reported, and the effect ends
    // without drawing anything.
    ReportBadIndex('V', n, nCount, static_cast<int>(sizeof(cEdCharaEffect)));
    return 1;
  }
  int32_t nKind = Database.m_vecCharaEffect.At(n).m_nKind;
  // A kind this program does not know draws the sprite plainly.
  if (nKind < 0 || nKind >= kHandlerCount) nKind = 0;
  if (!pSprite || !pTarget) bDraw = 0;
  return (this->*kHandlers[nKind])(pTarget, pSprite, bStill, bDraw);
}

bool cGameObj::IsSpriteScaled(const SPRITEDATA& s) const {
  const int g = GetScale();
  return s.bOwnScale ? g != s.nScale : g > 1;
}

void cGameObj::CopyToWork(DDSURFACEDATA* pWork, const SPRITEDATA& s) {
  const DDBLTCOLOR* pColor = s.bColor ? &s.Color : nullptr;
  if (IsSpriteScaled(s)) {
    const int sw = s.nScale * m_nBaseDrawW, sh = s.nScale * m_nBaseDrawH;
    if (pColor)
      DDBltStretchColor(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpSecond, s.nSrcX, s.nSrcY, sw, sh, 0,
                        pColor);
    else
      DDBltStretch(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpSecond, s.nSrcX, s.nSrcY, sw, sh, 0);
    return;
  }
  if (pColor)
    DDBltColor(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpSecond, s.nSrcX, s.nSrcY, 0, pColor);
  else
    DDBlt(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpSecond, s.nSrcX, s.nSrcY, 0);
}

void cGameObj::CopyToWorkTinted(DDSURFACEDATA* pWork, const SPRITEDATA& s) {
  if (s.bColor)
    DDBltColor(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpFirst, s.nSrcX, s.nSrcY, 0, &s.Color);
  else
    DDBlt(pWork, 0, 0, m_nDrawW, m_nDrawH, s.lpFirst, s.nSrcX, s.nSrcY, 0);
}

int cGameObj::DrawEffectNone(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int /*bStill*/,
                             int bDraw) {
  if (!bDraw) return 0;
  const SPRITEDATA& s = *pSprite;
  const DDBLTCOLOR* pColor = s.bColor ? &s.Color : nullptr;
  const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
  if (IsSpriteScaled(s)) {
    const int sw = s.nScale * m_nBaseDrawW, sh = s.nScale * m_nBaseDrawH;
    if (pColor)
      DDBltStretchColor(pTarget, X, Y, W, H, s.lpSecond, s.nSrcX, s.nSrcY, sw, sh, 1, pColor);
    else
      DDBltStretch(pTarget, X, Y, W, H, s.lpSecond, s.nSrcX, s.nSrcY, sw, sh, 1);
  } else if (pColor) {
    DDBltColor(pTarget, X, Y, W, H, s.lpFirst, s.nSrcX, s.nSrcY, 1, pColor);
  } else {
    DDBlt(pTarget, X, Y, W, H, s.lpFirst, s.nSrcX, s.nSrcY, 1);
  }
  return 0;
}
