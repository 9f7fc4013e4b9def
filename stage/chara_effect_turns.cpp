// The turning effects of a character: rotation in the picture plane (A and
// B) and the card-like turn about the vertical axis.
#include <cmath>

#include "base/trunc_int.h"
#include "draw/composite_blits.h"
#include "draw/rotate.h"
#include "stage/chara_effect_util.h"
#include "stage/game_obj.h"

using namespace chara_effect;

namespace {

const double kSqrt2 = std::sqrt(2.0);

}  // namespace

int cGameObj::DrawEffectRotateA(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill,
                                int bDraw) {
  // The device turns sprites as B does.
  if (DDIsDirect3D()) return DrawEffectRotateB(pTarget, pSprite, bStill, bDraw);
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int a = TruncI32(m_CharaEffect.m_dValue);
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    if (IsSpriteScaled(s)) {
      // Turned at the sprite's own size into a square that holds every
      // angle, then the square drawn to the character's size.
      const int sw = s.nScale * m_nBaseDrawW, sh = s.nScale * m_nBaseDrawH;
      const int q = TruncI32(s.nScale * m_nBaseDrawW * kSqrt2);
      DDSURFACEDATA* pWork = Work(kScaleWork);
      DDFillRect(pWork, 0, 0, q, q, 0);
      DDBltRotate(pWork, q >> 1, q >> 1, sw, sh, sw >> 1, sh >> 1, a, s.lpSecond, s.nSrcX, s.nSrcY,
                  0);
      const int d = TruncI32(kSqrt2 * W);
      DDBltStretch(pTarget, X + (W >> 1) - (d >> 1), Y + (H >> 1) - (d >> 1), d, d, pWork, 0, 0, q,
                   q, 1);
    } else {
      DDBltRotate(pTarget, X + (W >> 1), Y + (H >> 1), W, H, W >> 1, H >> 1, a, s.lpSecond, s.nSrcX,
                  s.nSrcY, 1);
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectRotateB(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill,
                                int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int a = TruncI32(m_CharaEffect.m_dValue);
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    if (IsSpriteScaled(s)) {
      DDSURFACEDATA* pWork = Work(DDIsDirect3D() ? kRotateWork : kScaleWork);
      CopyToWork(pWork, s);
      DDBltRotate(pTarget, X + (W >> 1), Y + (H >> 1), W, H, W >> 1, H >> 1, a, pWork, 0, 0, 1);
    } else {
      const cTint tint(s, DDIsDirect3D());
      DDBltRotate(pTarget, X + (W >> 1), Y + (H >> 1), W, H, W >> 1, H >> 1, a, s.lpSecond, s.nSrcX,
                  s.nSrcY, 1);
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectRotateDepth(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill,
                                    int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const cTint tint(s);
    DDBltFlip(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, s.lpSecond, s.nSrcX, s.nSrcY,
              s.lpOppSecond, s.nSrcX, s.nSrcY, s.nScale * m_nBaseDrawW, s.nScale * m_nBaseDrawH, 1,
              TruncI32(m_CharaEffect.m_dValue), 0);
  }
  return Advance(m_CharaEffect, bStill);
}
