// Screen effects: the finished frame taken as a picture and drawn back moved,
// shaken, split, waved, blinked, turned, seen through a circle, zoomed,
// through a lens or in mosaic. Each kind has its handler; a handler draws
// and, on an advancing frame, moves the effect's run on; 1 ends the effect.
#include "stage/screen_effects.h"

#include <algorithm>
#include <cmath>

#include "base/trunc_int.h"
#include "database/database.h"
#include "draw/blit.h"
#include "draw/blur_mosaic.h"
#include "draw/circle_lens.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/rotate.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

constexpr int kW = 640;
constexpr int kH = 480;

double RunValue(const cScrEffectRun& run) { return run.m_dValue; }
double RunStepSize(const cScrEffectRun& run) { return run.m_dStep; }
int StepRun(cScrEffectRun& run, int32_t a, int32_t b, double s) { return run.Step(a, b, s); }

DDSURFACEDATA* WorkScreen() { return DDIsDirect3D() ? &WorkSD : &SystemWorkSD; }

// What a handler works with.
struct SCRFX {
  cPlayScene& scene;
  cScrEffectRun& run;
  const cEdScrEffect& def;
  int bStill;
  DDSURFACEDATA* pBack;
  DDSURFACEDATA* pCopy;
  int32_t Duration() const { return def.m_anParam[0]; }
  int32_t Start() const { return def.m_anParam[1]; }
  int32_t End() const { return def.m_anParam[2]; }
  int32_t P1() const { return def.m_anParam[3]; }
  int32_t P2() const { return def.m_anParam[4]; }
  double Value() const { return RunValue(run); }
  // The run from the start field to the end field at its own step.
  int Advance() { return bStill ? 0 : StepRun(run, Start(), End(), RunStepSize(run)); }
  // The run on time, from 0 to the duration at 1/6 a frame.
  int AdvanceOnTime() { return bStill ? 0 : StepRun(run, 0, Duration(), 1.0 / 6); }
};

// The player's screen centre, where the circle, the zoom and the lens look.
void PlayerCentre(int& cx, int& cy) {
  if (g_Players.empty()) {
    cx = kW / 2;
    cy = kH / 2;
    return;
  }
  const cPlayerObj& p = g_Players[0];
  cx = p.m_nScrLeft + (p.m_nDrawW >> 1);
  cy = p.m_nScrTop + (p.m_nDrawH >> 1);
}

int FxNone(SCRFX&) { return 0; }

int FxMove(SCRFX& fx) {
  const int32_t d = fx.Duration();
  const double dShare = d > 0 ? fx.Value() / d : 1.0;
  const int x = TruncI32(fx.Start() + (fx.P1() - fx.Start()) * dShare);
  const int y = TruncI32(fx.End() + (fx.P2() - fx.End()) * dShare);
  DDBlt(fx.pBack, x, y, kW, kH, fx.pCopy, 0, 0, 0);
  return fx.AdvanceOnTime();
}

// The shake swings between -a and a, turning at each end; a swing of no
// duration has nothing to swing through and ends at once.
int FxShake(SCRFX& fx, bool bVertical) {
  cPlayScene::SCREFFECTWORK& w = fx.scene.m_ScrWork;
  const int32_t d = fx.Duration();
  if (d <= 0) return 1;
  const int64_t a = fx.Start();
  DDBlt(fx.pBack, bVertical ? 0 : w.nShift, bVertical ? w.nShift : 0, kW, kH, fx.pCopy, 0, 0, 0);
  if (!fx.bStill) {
    const int64_t nSpeed = a * fx.End() * 4 / (int64_t{d} * 6);
    int64_t s = w.nShift + w.nDirection * nSpeed;
    if (s > a) {
      s = a;
      w.nDirection = -1;
    } else if (s < -a) {
      s = -a;
      w.nDirection = 1;
    }
    w.nShift = static_cast<int32_t>(s);
  }
  return fx.AdvanceOnTime();
}
int FxShakeX(SCRFX& fx) { return FxShake(fx, false); }
int FxShakeY(SCRFX& fx) { return FxShake(fx, true); }

// Strips as many as p1 (at least one), each the screen's size over that
// count, rounded up.
int FxSplit(SCRFX& fx, bool bColumns) {
  const int nCount = std::max(fx.P1(), 1);
  const int nSize = ((bColumns ? kW : kH) + nCount - 1) / nCount;
  DDBltInterlace(fx.pBack, 0, 0, kW, kH, nSize, TruncI32(fx.Value()), fx.pCopy, 0, 0, 0,
                 bColumns ? 1 : 0);
  return fx.Advance();
}
int FxSplitX(SCRFX& fx) { return FxSplit(fx, false); }
int FxSplitY(SCRFX& fx) { return FxSplit(fx, true); }

int FxWave(SCRFX& fx, bool bVertical) {
  cPlayScene::SCREFFECTWORK& w = fx.scene.m_ScrWork;
  DDBltWave(fx.pBack, 0, 0, kW, kH, fx.P1(), fx.Value(), w.nAngle, std::max(fx.P2(), 1), fx.pCopy,
            0, 0, 0, bVertical ? 1 : 0);
  if (!fx.bStill) w.nAngle = (w.nAngle + 1) % 360;
  return fx.Advance();
}
int FxWaveX(SCRFX& fx) { return FxWave(fx, false); }
int FxWaveY(SCRFX& fx) { return FxWave(fx, true); }

// Every n frames the phase turns; the first hides the objects behind the
// stage's backgrounds.
int FxBlink(SCRFX& fx) {
  cPlayScene::SCREFFECTWORK& w = fx.scene.m_ScrWork;
  DDBlt(fx.pBack, 0, 0, kW, kH, fx.pCopy, 0, 0, 0);
  if (w.bShown) {
    fx.scene.DrawBackgrounds(fx.pBack, 0);
    fx.scene.DrawBackgrounds(fx.pBack, 1);
  }
  if (!fx.bStill && ++w.nFrames >= std::max(fx.Start(), 1)) {
    w.nFrames = 0;
    w.bShown = !w.bShown;
  }
  return fx.AdvanceOnTime();
}

int FxRotate(SCRFX& fx) {
  DDBltRotate(fx.pBack, kW / 2, kH / 2, kW, kH, kW / 2, kH / 2, TruncI32(fx.Value()), fx.pCopy, 0,
              0, 0);
  return fx.Advance();
}

int FxCircle(SCRFX& fx) {
  int cx, cy;
  PlayerCentre(cx, cy);
  const int nRadius = TruncI32(fx.Value());
  if (nRadius > 0)
    DDBltCircle(fx.pBack, cx, cy, kW, kH, nRadius, std::max(fx.P1(), 1), fx.pCopy, cx, cy, 0);
  return fx.Advance();
}

int FxZoom(SCRFX& fx) {
  const double z = fx.Value() * 0.0015625;
  if (z >= 1) {
    // The part of the screen around the player, kept inside the screen.
    const int w = TruncI32(kW / z), h = TruncI32(kH / z);
    int cx, cy;
    PlayerCentre(cx, cy);
    const int x = std::clamp(cx - w / 2, 0, kW - w);
    const int y = std::clamp(cy - h / 2, 0, kH - h);
    DDBltStretch(fx.pBack, 0, 0, kW, kH, fx.pCopy, x, y, w, h, 0);
  } else {
    const int w = TruncI32(kW * z), h = TruncI32(kH * z);
    if (w > 0 && h > 0)
      DDBltStretch(fx.pBack, (kW - w) / 2, (kH - h) / 2, w, h, fx.pCopy, 0, 0, kW, kH, 0);
  }
  return fx.Advance();
}

int FxLens(SCRFX& fx) {
  int cx, cy;
  PlayerCentre(cx, cy);
  cx += fx.P1();
  cy += fx.P2();
  const int nFar = std::max(std::max(cx, kW - cx), std::max(cy, kH - cy));
  const int nRadius = TruncI32(std::sqrt(2.0) * nFar);
  DDBltRadial(fx.pBack, cx, cy, nRadius, TruncI32(fx.Value()), fx.pCopy, cx, cy, 0, 0);
  return fx.Advance();
}

int FxMosaic(SCRFX& fx) {
  DDMosaic(fx.pBack, 0, 0, kW, kH, std::max(TruncI32(fx.Value()), 1), fx.pCopy, 0, 0, 0);
  return fx.Advance();
}

using SCRFXPROC = int (*)(SCRFX&);
constexpr SCRFXPROC kHandlers[kScreenEffectKinds] = {
    FxNone,  FxMove,  FxShakeX, FxShakeY, FxSplitX, FxSplitY, FxWaveX,
    FxWaveY, FxBlink, FxRotate, FxCircle, FxZoom,   FxLens,   FxMosaic};

}  // namespace

void cPlayScene::DrawScreenEffect(int bStill) {
  if (m_ScrEffect.m_nEffect == 0) {
    m_ScrWork = SCREFFECTWORK{};
    return;
  }
  if (m_ScrWork.nEffect != m_ScrEffect.m_nEffect) {
    m_ScrWork = SCREFFECTWORK{};
    m_ScrWork.nEffect = m_ScrEffect.m_nEffect;
  }
  const cEdScrEffect& def = m_ScrEffect.GetDef();
  // A kind from a damaged or newer file draws nothing rather than jumping
  // past the table.
  const int nKind = def.m_nKind >= 0 && def.m_nKind < kScreenEffectKinds ? def.m_nKind : 0;
  DDSURFACEDATA* pCopy = WorkScreen();
  SCRFX fx{*this, m_ScrEffect, def, bStill, &BackBuffer, pCopy};
  if (nKind != 0) {
    DDBlt(pCopy, 0, 0, kW, kH, &BackBuffer, 0, 0, 0);
    DDFillRect(&BackBuffer, 0, 0, kW, kH, 16);
  }
  if (kHandlers[nKind](fx) != 1) return;
  m_ScrEffect.m_nEffect = 0;
  m_ScrWork = SCREFFECTWORK{};
  DDSetVirtualBackBuffer(0);
}
