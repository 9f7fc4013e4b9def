// The strip effects of a character: the burst into quarters, the split
// into strips, and the waves. A scaled sprite is first drawn to size on the
// scaling surface, and its amounts grow with the giant factor.
#include "base/trunc_int.h"
#include "draw/composite_blits.h"
#include "stage/chara_effect_util.h"
#include "stage/game_obj.h"

using namespace chara_effect;

namespace {

constexpr int kPhaseTurn = 360;

// The picture a strip effect draws from.
struct STRIPSOURCE {
  DDSURFACEDATA* pSD = nullptr;
  int x = 0;
  int y = 0;
  int g = 1;  // the factor of the amounts
  bool bTint = false;
};

// The length cut into n strips, rounded up; fewer than one strip counts as
// one, and a strip is at least one line.
int StripSize(int nLength, int nStrips) {
  if (nStrips < 1) nStrips = 1;
  const int e = static_cast<int>((static_cast<int64_t>(nLength) + nStrips - 1) / nStrips);
  return e < 1 ? 1 : e;
}

STRIPSOURCE StripSource(cGameObj& o, const SPRITEDATA& s) {
  if (o.IsSpriteScaled(s)) {
    o.CopyToWork(Work(kScaleWork), s);
    return {Work(kScaleWork), 0, 0, o.GetScale(), false};
  }
  return {s.lpFirst, s.nSrcX, s.nSrcY, 1, true};
}

// The sprite cut into strips shifted alternately by the run's value: rows
// across (bVertical 0) or columns down (1).
void DrawSplit(cGameObj& o, DDSURFACEDATA* pTarget, const SPRITEDATA& sprite, int bVertical) {
  const STRIPSOURCE src = StripSource(o, sprite);
  const cTint tint(sprite, src.bTint);
  const int e = StripSize(bVertical ? o.m_nDrawW : o.m_nDrawH, o.m_CharaEffect.GetDef().m_anParam[3]);
  DDBltInterlace(pTarget, o.m_nScrLeft, o.m_nScrTop, o.m_nDrawW, o.m_nDrawH, e,
                 TruncI32(src.g * o.m_CharaEffect.m_dValue), src.pSD, src.x, src.y, 1, bVertical);
}

}  // namespace

int cGameObj::DrawEffectBurst(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) {
    const STRIPSOURCE src = StripSource(*this, *pSprite);
    const cTint tint(*pSprite, src.bTint);
    DDBltQuarter(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, src.pSD, src.x, src.y,
                 TruncI32(src.g * m_CharaEffect.m_dValue), 1);
  }
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectSplitH(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) DrawSplit(*this, pTarget, *pSprite, 0);
  return Advance(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectSplitV(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  if (bDraw) DrawSplit(*this, pTarget, *pSprite, 1);
  return Advance(m_CharaEffect, bStill);
}

namespace {

int DrawWave(cGameObj& o, DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw,
             int bVertical) {
  cCharaEffectRun& run = o.m_CharaEffect;
  if (bDraw) {
    const STRIPSOURCE src = StripSource(o, *pSprite);
    const cTint tint(*pSprite, src.bTint);
    const cEdCharaEffect& def = run.GetDef();
    DDBltWave(pTarget, o.m_nScrLeft, o.m_nScrTop, o.m_nDrawW, o.m_nDrawH, def.m_anParam[3],
              src.g * run.m_dValue, run.m_nWork1, src.g * def.m_anParam[4], src.pSD, src.x, src.y,
              1, bVertical);
  }
  if (bStill) return 0;
  if (++run.m_nWork1 >= kPhaseTurn) run.m_nWork1 = 0;
  return run.Step();
}

}  // namespace

int cGameObj::DrawEffectWaveH(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  return DrawWave(*this, pTarget, pSprite, bStill, bDraw, 0);
}

int cGameObj::DrawEffectWaveV(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  return DrawWave(*this, pTarget, pSprite, bStill, bDraw, 1);
}
