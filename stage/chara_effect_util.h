// What the character-effect handlers share: the work surfaces they route a
// sprite through, the tint of a sprite's direct draw, and the advance of the
// effect's run.
#pragma once

#include "database/effect_run.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "stage/sprite_source.h"

namespace chara_effect {

// Work surfaces of the built-in table, made without a file.
constexpr int kRotateWork = 67;  // rotation B in Direct3D
constexpr int kScaleWork = 68;   // scaling; also the pixel surface of DirectDraw
constexpr int kPixelWork2 = 69;  // the second pixel surface
constexpr int kPixelWorkD3D = 70;

inline DDSURFACEDATA* Work(int n) { return &g_SurfaceTable[n]; }
inline DDSURFACEDATA* PixelWork() { return Work(DDIsDirect3D() ? kPixelWorkD3D : kScaleWork); }

// The drawing library's blit colour and operation set to the sprite's pair
// for the blits made while it lives.
class cTint {
 public:
  explicit cTint(const SPRITEDATA& s, bool bOn = true) : m_bOn(bOn && s.bColor) {
    if (!m_bOn) return;
    DDSetBltColor(s.Color.dwColor);
    DDSetColorOp(s.Color.nColorOp);
  }
  ~cTint() {
    if (!m_bOn) return;
    DDResetBltColor();
    DDResetColorOp();
  }
  cTint(const cTint&) = delete;
  cTint& operator=(const cTint&) = delete;

 private:
  bool m_bOn;
};

// Unless still, one frame of the run: 1 when it ended.
inline int Advance(cCharaEffectRun& run, int bStill) { return bStill ? 0 : run.Step(); }

// A keyed blit of a work surface's top-left, with the sprite's colour when
// it has one.
inline void BltWork(DDSURFACEDATA* pTarget, int x, int y, int w, int h, DDSURFACEDATA* pWork,
                    const SPRITEDATA& s) {
  if (s.bColor)
    DDBltColor(pTarget, x, y, w, h, pWork, 0, 0, 1, &s.Color);
  else
    DDBlt(pTarget, x, y, w, h, pWork, 0, 0, 1);
}

}  // namespace chara_effect
