// The effects that show a character in turns: blinking, and blinking
// between hidden and translucent.
#include "draw/blend_table.h"
#include "draw/tint_trans.h"
#include "stage/chara_effect_util.h"
#include "stage/game_obj.h"

using namespace chara_effect;

namespace {

// The turns of both kinds: the visibility flips once the counter reaches
// the interval (the definition's start value); only advancing frames count.
// Still frames leave the turns where they are, as they leave every value.
int StepTurns(cCharaEffectRun& run, int bStill) {
  if (bStill) return 0;
  if (run.m_nWork1 >= run.m_nStart) {
    run.m_nWork1 = 0;
    run.m_nWork2 = !run.m_nWork2;
  }
  ++run.m_nWork1;
  return run.Step();
}

}  // namespace

int cGameObj::DrawEffectBlink(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw) {
  // Hidden first: the sprite shows while the second work value is set.
  if (bDraw && m_CharaEffect.m_nWork2 == 1) DrawEffectNone(pTarget, pSprite, bStill, bDraw);
  return StepTurns(m_CharaEffect, bStill);
}

int cGameObj::DrawEffectTranslucent(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill,
                                    int bDraw) {
  if (bDraw && m_CharaEffect.m_nWork2 == 0) {
    const SPRITEDATA& s = *pSprite;
    DDSURFACEDATA* pSrc = s.lpSecond;
    int sx = s.nSrcX, sy = s.nSrcY;
    if (IsSpriteScaled(s)) {
      pSrc = Work(kScaleWork);
      CopyToWork(pSrc, s);
      sx = sy = 0;
    } else if (DDIsDirect3D() && s.bColor) {
      pSrc = Work(kScaleWork);
      CopyToWorkTinted(pSrc, s);
      sx = sy = 0;
    }
    DDBltHalfTrans(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, pSrc, sx, sy, 1,
                   g_BlendTable.data());
  }
  return StepTurns(m_CharaEffect, bStill);
}
