// Screen fades and palette effects. Direct3D darkens the screen with one
// black quad of growing opacity; 8-bit DirectDraw blends the palette; the
// other DirectDraw modes mix a copy of the screen, saved on the first step,
// toward the colour.
#include "draw/fades.h"

#include <algorithm>
#include <cmath>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "draw/scene_batch.h"
#include "platform/gfx/effect_kernels.h"
#include "platform/gfx/fault_hooks.h"

namespace {

// Degrees to radians for the fade levels.
constexpr double kDegree = 0.017453292519943295;

// Each fade keeps its angle between calls; a finished fade is back at its
// starting value.
double g_dFadeOutAngleD3D = 90;
double g_dFadeOutAngleDD = 90;
double g_dFadeInAngleD3D = 0;
double g_dFadeInAngleDD = 0;

// The black quad over the whole screen whose opacity is 255 - trunc(sin *
// 255). False when the render target could not be changed.
bool DrawFadeQuad(double dAngle) {
  const int a = static_cast<int>(std::sin(dAngle * kDegree) * 255);
  const uint32_t dwColor = uint32_t(255 - a) << 24;
  DDSURFACEDATA* lpTarget = &BackBuffer;
  DDRedirectBackBuffer(&lpTarget);
  if (!lpTarget->lpDT || !lpTarget->lpDT->lpVB) return true;
  const float w = float(lpTarget->nWidth), h = float(lpTarget->nHeight);
  const float tw = lpTarget->nTexWidth > 0 ? float(lpTarget->nTexWidth) : 1.0f;
  const float th = lpTarget->nTexHeight > 0 ? float(lpTarget->nTexHeight) : 1.0f;
  // A vertex buffer that cannot be locked only skips the drawing.
  if (plat::gfx::TakeFault(plat::gfx::eFaultPoint::LockVertexBuffer)) return true;
  auto& v = lpTarget->lpDT->lpVB->Vertices;
  v[0] = {-0.5f, -0.5f, 0, 1, dwColor, 0, 0};
  v[1] = {-0.5f, h - 0.5f, 0, 1, dwColor, 0, h / th};
  v[2] = {w - 0.5f, -0.5f, 0, 1, dwColor, w / tw, 0};
  v[3] = {w - 0.5f, h - 0.5f, 0, 1, dwColor, w / tw, h / th};
  DDBeginScene();
  if (!DDSetRenderTarget(0, lpTarget)) return false;
  plat::gfx::GFXTEXTURESTAGE stage;
  stage.nColorOp = plat::gfx::TOP_SELECTARG2;
  stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
  stage.nAlphaOp = plat::gfx::TOP_SELECTARG2;
  stage.nAlphaArg2 = plat::gfx::TA_DIFFUSE;
  g_DD.lpDevice->SetTextureStage(stage);
  g_DD.lpDevice->SetTexture(nullptr);
  g_DD.lpDevice->DrawQuad(v.data());
  return DDSetRenderTarget(0, g_DD.lpDTCon->lpScreenTarget) != 0;
}

// The DirectDraw step at one angle: the palette, or the saved screen mixed
// toward the colour.
void DrawFadeDD(double dAngle, DDPALETTE& Work, int nFirst, int nLast, uint8_t bRed, uint8_t bGreen,
                uint8_t bBlue, const DDPALETTE& Source) {
  const int nLevel = static_cast<int>(std::sin(dAngle * kDegree) * 256);
  if (g_DD.nBpp == 8) {
    DDBlendPalette(Work, nFirst, nLast, nLevel, bRed, bGreen, bBlue, Source);
    nFirst = std::max(nFirst, 0);
    nLast = std::min(nLast, 255);
    if (g_DD.lpDDPalette && nFirst <= nLast)
      g_DD.lpDDPalette->SetEntries(nFirst, nLast - nFirst + 1, Work.data() + nFirst);
  } else if (g_DD.nBpp == 16 || g_DD.nBpp == 24 || g_DD.nBpp == 32) {
    DDFade_UnPal(&BackBuffer, nLevel, bRed, bGreen, bBlue, &SystemWorkSD);
  }
}

// The picture a direct-colour DirectDraw fade mixes from, saved on its first step.
void SaveScreen() {
  if (g_DD.nBpp == 8) return;
  DDBlt(&SystemWorkSD, 0, 0, SystemWorkSD.nWidth, SystemWorkSD.nHeight, &BackBuffer, 0, 0, 0);
}

int StepOut(double& dAngle, double dStep) {
  if (dAngle > 0) {
    dAngle -= dStep;
    if (dAngle < 0) dAngle = 0;
    return 0;
  }
  dAngle = 90;
  return 1;
}

int StepIn(double& dAngle, double dStep) {
  if (dAngle < 90) {
    dAngle += dStep;
    if (dAngle > 90) dAngle = 90;
    return 0;
  }
  dAngle = 0;
  return 1;
}

}  // namespace

int DDFadeOut(DDPALETTE& Work, int nFirst, int nLast, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
              double dStep, const DDPALETTE& Source, uint8_t bFinish) {
  if (g_DD.lpDTCon) {
    if (bFinish) g_dFadeOutAngleD3D = 0;
    if (!DrawFadeQuad(g_dFadeOutAngleD3D)) return 0;
    return StepOut(g_dFadeOutAngleD3D, dStep);
  }
  if (g_dFadeOutAngleDD == 90) SaveScreen();
  if (bFinish) g_dFadeOutAngleDD = 0;
  DrawFadeDD(g_dFadeOutAngleDD, Work, nFirst, nLast, bRed, bGreen, bBlue, Source);
  return StepOut(g_dFadeOutAngleDD, dStep);
}

int DDFadeIn(DDPALETTE& Work, int nFirst, int nLast, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
             double dStep, const DDPALETTE& Source, uint8_t bFinish) {
  if (g_DD.lpDTCon) {
    if (bFinish) g_dFadeInAngleD3D = 90;
    if (!DrawFadeQuad(g_dFadeInAngleD3D)) return 0;
    return StepIn(g_dFadeInAngleD3D, dStep);
  }
  if (g_dFadeInAngleDD == 0) SaveScreen();
  if (bFinish) g_dFadeInAngleDD = 90;
  DrawFadeDD(g_dFadeInAngleDD, Work, nFirst, nLast, bRed, bGreen, bBlue, Source);
  return StepIn(g_dFadeInAngleDD, dStep);
}

void DDBlendPalette(DDPALETTE& Work, int nFirst, int nLast, int nLevel, uint8_t bRed,
                    uint8_t bGreen, uint8_t bBlue, const DDPALETTE& Source) {
  nFirst = std::max(nFirst, 0);
  nLast = std::min(nLast, 255);
  nLevel = std::clamp(nLevel, 0, 256);
  auto mix = [nLevel](int c, int s) { return uint8_t((c * (256 - nLevel) + s * nLevel) >> 8); };
  for (int i = nFirst; i <= nLast; ++i) {
    const DDPALENTRY s = Source[size_t(i)];
    Work[size_t(i)] = {mix(bRed, s.byRed), mix(bGreen, s.byGreen), mix(bBlue, s.byBlue),
                       PC_RESERVED};
  }
}

void DDCyclePalette(DDPALETTE& Work, int nFirst, int nLast, int n, int nDirection,
                    const DDPALETTE& Source) {
  if (g_DD.nBpp != 8 && g_DD.nBpp != 16 && g_DD.nBpp != 32) return;
  const DDPALETTE old = Source;  // Work and Source may be the same palette
  Work = old;
  nFirst = std::max(nFirst, 0);
  nLast = std::min(nLast, 255);
  if (nFirst > nLast || (nDirection != 0 && nDirection != 1)) return;
  const int nLength = nLast - nFirst + 1;
  const int nShift = ((n % nLength) + nLength) % nLength;
  for (int k = 0; k < nLength; ++k) {
    if (nDirection == 0)
      Work[size_t(nFirst + (k + nShift) % nLength)] = old[size_t(nFirst + k)];
    else
      Work[size_t(nFirst + k)] = old[size_t(nFirst + (k + nShift) % nLength)];
  }
}

uint32_t DDPalToRGB16(const DDPALENTRY* lpEntry) {
  if (g_DD.lpDTCon) {
    DebugLog("DDPalToRGB16はDirect3Dでは未対応");
    return 0;
  }
  if (!lpEntry) return 0;
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  return uint32_t(lpEntry->byRed & s.nRedMax) << s.nRedShift |
         uint32_t(lpEntry->byGreen & s.nGreenMax) << s.nGreenShift |
         uint32_t(lpEntry->byBlue & s.nBlueMax) << s.nBlueShift;
}

int DDFade_UnPal(DDSURFACEDATA* lpDstSD, int nLevel, uint8_t bRed, uint8_t bGreen, uint8_t bBlue,
                 DDSURFACEDATA* lpSrcSD) {
  if (g_DD.lpDTCon) {
    DebugLog("D3DではDDFade_UnPalは未対応");
    return 1;
  }
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return 0;
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  // Only where both have pixels: a saved copy smaller than the screen
  // leaves the rest alone.
  const int w = std::min(dst.nWidth, src.nWidth), h = std::min(dst.nHeight, src.nHeight);
  const plat::gfx::GFXRGB k{bRed, bGreen, bBlue};
  if (dst.nBytes == src.nBytes && (g_DD.nBpp == 16 || g_DD.nBpp == 32)) {
    const plat::gfx::GFXFIELDS16 f = DDFields16(dst);
    for (int y = 0; y < h; ++y) {
      if (dst.nBytes == 2)
        plat::gfx::FadeRow16(reinterpret_cast<uint16_t*>(dst.RowBytes(y)),
                             reinterpret_cast<const uint16_t*>(src.RowBytes(y)), w, f, nLevel, k);
      else
        plat::gfx::FadeRow32(reinterpret_cast<uint32_t*>(dst.RowBytes(y)),
                             reinterpret_cast<const uint32_t*>(src.RowBytes(y)), w, nLevel, k);
    }
  }
  return locks.Unlock() ? 1 : 0;
}
