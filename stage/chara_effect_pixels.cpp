// The pixel effects of a character: the circle window, the enlargement,
// the lens, the colour change, the mosaic and the blur. They work on the
// sprite's own rectangle, copied into a work surface where the drawing mode
// or the scale needs it; the screen is never copied.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/trunc_int.h"
#include "draw/blend_table.h"
#include "draw/blur_mosaic.h"
#include "draw/circle_lens.h"
#include "draw/tint_trans.h"
#include "stage/chara_effect_util.h"
#include "stage/game_obj.h"

using namespace chara_effect;

namespace {

const double kSqrt2 = std::sqrt(2.0);
// In the 8-bit mode the blur is a tint toward this palette colour.
constexpr uint32_t kBlurTintColour = 31;

bool VirtualBackBufferOn() { return g_DD.lpDTCon && g_DD.lpDTCon->bVirtualBackBuffer; }

// Direct3D: the work surface drawn at the character's place through the
// second pixel surface; the caller has drawn into that surface.
void DrawSecondWork(cGameObj& o, DDSURFACEDATA* pTarget, const SPRITEDATA& s, bool bColour) {
  if (bColour)
    BltWork(pTarget, o.m_nScrLeft, o.m_nScrTop, o.m_nDrawW, o.m_nDrawH, Work(kPixelWork2), s);
  else
    DDBlt(pTarget, o.m_nScrLeft, o.m_nScrTop, o.m_nDrawW, o.m_nDrawH, Work(kPixelWork2), 0, 0, 1);
}

}  // namespace

int cGameObj::DrawEffectCircle(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    const int p1 = m_CharaEffect.GetDef().m_anParam[3];
    if (!DDIsDirect3D() && !IsSpriteScaled(s)) {
      DDBltCircle(pTarget, X + (W >> 1), Y + (H >> 1), W >> 1, H >> 1,
                  TruncI32(m_CharaEffect.m_dValue), p1, s.lpFirst, s.nSrcX + (W >> 1),
                  s.nSrcY + (H >> 1), 1);
    } else {
      const int g = GetScale();
      CopyToWork(Work(kScaleWork), s);
      DDBltCircle(pTarget, X + (W >> 1), Y + (H >> 1), W >> 1, H >> 1,
                  TruncI32(g * m_CharaEffect.m_dValue), g * p1, Work(kScaleWork), W >> 1, H >> 1,
                  1);
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectZoom(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    // The standard cell is 32 wide: the value is the drawn width of one.
    const double dGrow = m_CharaEffect.m_dValue - 32;
    if (IsSpriteScaled(s)) {
      CopyToWork(Work(kScaleWork), s);
      const int e = TruncI32(dGrow * GetScale()) >> 1;
      DDBltStretch(pTarget, X - (e >> 1), Y - (e >> 1), W + e, H + e, Work(kScaleWork), 0, 0, W, H,
                   1);
    } else {
      const int e = TruncI32(dGrow);
      const cTint tint(s);
      DDBltStretch(pTarget, X - (e >> 1), Y - (e >> 1), W + e, H + e, s.lpSecond, s.nSrcX, s.nSrcY,
                   W, H, 1);
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectLens(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const cEdCharaEffect& def = m_CharaEffect.GetDef();
    const int g = GetScale();
    const int W = m_nDrawW, H = m_nDrawH;
    const int c = def.m_anParam[3] * g, d = def.m_anParam[4] * g;
    const int R = TruncI32(kSqrt2 * (std::max(std::abs(c), std::abs(d)) + (W >> 1)));
    DDSURFACEDATA* pPixel = PixelWork();
    const int L = (DDIsDirect3D() || g_DD.nBpp == 16) ? 4 * R : 2 * R;
    DDFillRect(pPixel, 0, 0, L, L, 0);
    int o = TruncI32(m_CharaEffect.m_dValue);
    if (IsSpriteScaled(s)) {
      CopyToWork(pPixel, s);
      o *= g;
    } else {
      CopyToWorkTinted(pPixel, s);
    }
    const int cx = c + (W >> 1), cy = d + (H >> 1);
    if (DDIsDirect3D() && (s.bColor || VirtualBackBufferOn())) {
      // Through the second pixel surface, drawn with the sprite's colour
      // when it has one.
      DDSURFACEDATA* pWork2 = Work(kPixelWork2);
      DDFillRect(pWork2, 0, 0, 4 * R, 4 * R, 0);
      const int bClear = s.bColor ? 1 : (g_DD.bWindow && g_DD.nBpp == 32);
      DDBltRadial(pWork2, R, R, R, o, pPixel, cx, cy, 1, bClear);
      const int x = m_nScrLeft + cx - R, y = m_nScrTop + cy - R;
      if (s.bColor)
        BltWork(pTarget, x, y, 2 * R, 2 * R, pWork2, s);
      else
        DDBlt(pTarget, x, y, 2 * R, 2 * R, pWork2, 0, 0, 1);
    } else {
      DDBltRadial(pTarget, m_nScrLeft + cx, m_nScrTop + cy, R, o, pPixel, cx, cy, 1, 0);
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectColour(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    DDSURFACEDATA* pSrc = s.lpSecond;
    int sx = s.nSrcX, sy = s.nSrcY;
    if (IsSpriteScaled(s) || s.bColor) {
      pSrc = Work(kScaleWork);
      if (IsSpriteScaled(s))
        CopyToWork(pSrc, s);
      else
        CopyToWorkTinted(pSrc, s);
      sx = sy = 0;
    }
    DDBltTint(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, pSrc, sx, sy, 1,
              &g_DD.ProgramPalette, g_BlendTable.data(),
              static_cast<uint32_t>(m_CharaEffect.GetDef().m_anParam[3]),
              TruncI32(m_CharaEffect.m_dValue));
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectMosaic(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    // Cells below one pixel are one pixel.
    const int b = std::max(TruncI32(m_CharaEffect.m_dValue), 1);
    DDSURFACEDATA* pPixel = PixelWork();
    const bool bScaled = IsSpriteScaled(s);
    if (!bScaled && !DDIsDirect3D()) {
      DDMosaic(pTarget, X, Y, W, H, b, s.lpSecond, s.nSrcX, s.nSrcY, 1);
    } else {
      if (bScaled)
        CopyToWork(pPixel, s);
      else
        CopyToWorkTinted(pPixel, s);
      const bool bThrough = DDIsDirect3D() && (!bScaled || s.bColor || VirtualBackBufferOn());
      if (bThrough) {
        DDFillRect(Work(kPixelWork2), 0, 0, 2 * W, 2 * H, 0);
        DDMosaic(Work(kPixelWork2), 0, 0, W, H, b, pPixel, 0, 0, 1);
        DrawSecondWork(*this, pTarget, s, s.bColor);
      } else {
        DDMosaic(pTarget, X, Y, W, H, b, pPixel, 0, 0, 1);
      }
    }
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectBlur(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const SPRITEDATA& s = *pSprite;
    const int X = m_nScrLeft, Y = m_nScrTop, W = m_nDrawW, H = m_nDrawH;
    const int r = TruncI32(m_CharaEffect.m_dValue);
    DDSURFACEDATA* pPixel = PixelWork();
    const bool bScaled = IsSpriteScaled(s);
    if (!DDIsDirect3D() && g_DD.nBpp == 8) {
      // The palette mode cannot blur: the sprite is tinted instead.
      DDSURFACEDATA* pSrc = s.lpSecond;
      int sx = s.nSrcX, sy = s.nSrcY;
      if (bScaled) {
        CopyToWork(pPixel, s);
        pSrc = pPixel;
        sx = sy = 0;
      }
      DDBltTint(pTarget, X, Y, W, H, pSrc, sx, sy, 1, &g_DD.ProgramPalette, g_BlendTable.data(),
                kBlurTintColour, r);
    } else if (!DDIsDirect3D()) {
      if (bScaled) {
        CopyToWork(pPixel, s);
        DDBlur(pTarget, X, Y, W, H, r, r, pPixel, 0, 0, 1);
      } else {
        DDBlur(pTarget, X, Y, W, H, r, r, s.lpSecond, s.nSrcX, s.nSrcY, 1);
      }
    } else {
      if (bScaled)
        CopyToWork(pPixel, s);
      else
        CopyToWorkTinted(pPixel, s);
      if (!bScaled || s.bColor || VirtualBackBufferOn()) {
        DDFillRect(Work(kPixelWork2), 0, 0, 2 * W, 2 * H, 0);
        DDBlur(Work(kPixelWork2), 0, 0, W, H, r, r, pPixel, 0, 0, 1);
        DrawSecondWork(*this, pTarget, s, s.bColor);
      } else {
        DDBlur(pTarget, X, Y, W, H, r, r, pPixel, 0, 0, 1);
      }
    }
  }
  return Advance(m_CharaEffect, bStill);
}
