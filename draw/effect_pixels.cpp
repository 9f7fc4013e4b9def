// The pixel rules of the per-pixel effects.
#include "draw/effect_pixels.h"

#include <algorithm>
#include <cstring>

#include "draw/blit.h"
#include "draw/blit_clip.h"
#include "draw/draw_context.h"
#include "draw/quad_build.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "platform/gfx/fault_hooks.h"

DDSRCRECT DDWrapEffectSource(const DDSURFACEDATA* lpSrcSD, int sx, int sy, int w, int h) {
  plat::gfx::cImageView view(nullptr, plat::gfx::MakeRect(sx, sy, w, h));
  DDWrapSourceRect(lpSrcSD, view);
  return {view.GetLeft(), view.GetTop(), view.GetWidth(), view.GetHeight()};
}

DDSURFACEDATA* DDEffectRecord(DDSURFACEDATA* lpSD) {
  DDResolveSurface(&lpSD);
  DDRedirectBackBuffer(&lpSD);
  return lpSD;
}

DDEFFECTPIXELS DDEffectPixels(const cSurfaceLock& lock) {
  DDEFFECTPIXELS px;
  const plat::gfx::cImage* pImage = lock.GetImage();
  if (!lock.m_lpSD || !pImage || !lock.m_lpBits) return px;
  px.pBits = lock.m_lpBits;
  px.nPitch = lock.m_nPitch;
  px.nBytes = pImage->GetBytesPerPixel();
  px.nWidth = std::clamp(lock.m_lpSD->nWidth, 0, pImage->GetWidth());
  px.nHeight = std::clamp(lock.m_lpSD->nHeight, 0, pImage->GetHeight());
  px.bDirect3D = g_DD.lpDTCon != nullptr;
  px.bFullScreenBack = px.bDirect3D && g_DD.nBpp == 16 && DDIsFullScreenBackBuffer(lock.m_lpSD);
  px.Bits = px.bFullScreenBack ? g_DD.BackBufferBits : g_DD.SurfaceBits;
  if (px.bDirect3D) {
    px.dwClearMask = px.nBytes == 2 ? 0xA000u : 0xFF000000u;
    px.dwClearValue = 0;
    px.dwSet = px.bFullScreenBack ? 0u : px.nBytes == 2 ? 0x8000u : 0xFF000000u;
    px.nGreenScale = px.bFullScreenBack ? 2 : 1;
  } else {
    px.dwClearMask = DDKeyMask(px);
    px.dwClearValue = g_DD.dwColorKey & px.dwClearMask;
    px.dwKeep = px.nBytes == 4 ? 0xFF000000u : 0u;
  }
  return px;
}

bool cEffectLocks::Lock(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD) {
  if (!lpDstSD || !lpSrcSD || !m_Dst.Lock(lpDstSD)) return false;
  if (!m_Src.Lock(lpSrcSD)) {
    m_Dst.Unlock();
    return false;
  }
  Dst = DDEffectPixels(m_Dst);
  Src = DDEffectPixels(m_Src);
  // Pixels of a size the effects do not know (a 24-bit screen) are left alone.
  return true;
}

bool cEffectLocks::Unlock() {
  const bool bSrc = m_Src.Unlock();
  const bool bDst = m_Dst.Unlock();
  return bSrc && bDst;
}

bool DDIsOpaqueTexel(uint32_t v) {
  if (g_DD.nBpp == 16) return (v & 0xA000) != 0;
  return (v >> 24) != 0;
}

uint32_t DDKeyMask(const DDEFFECTPIXELS& px) {
  switch (px.nBytes) {
    case 1:
      return 0xFFu;
    case 2:
      return px.Bits.nGreenMax == 31 ? 0x7FFFu : 0xFFFFu;
    default:
      return 0xFFFFFFu;
  }
}

plat::gfx::GFXFIELDS16 DDFields16(const DDEFFECTPIXELS& px) {
  plat::gfx::GFXFIELDS16 f;
  f.nShift[0] = px.Bits.nRedShift;
  f.nShift[1] = px.Bits.nGreenShift;
  f.nShift[2] = px.Bits.nBlueShift;
  f.nMax[0] = px.Bits.nRedMax;
  f.nMax[1] = px.Bits.nGreenMax;
  f.nMax[2] = px.Bits.nBlueMax;
  f.wKeyMask = uint16_t(DDKeyMask(px));
  return f;
}

bool DDIsKeyPixel(uint32_t v, const DDEFFECTPIXELS& px) {
  const uint32_t dwMask = DDKeyMask(px);
  return (v & dwMask) == (g_DD.dwColorKey & dwMask);
}

namespace {

uint32_t PackFields(const DDPIXELBITS& s, int r, int g, int b) {
  return uint32_t(r & s.nRedMax) << s.nRedShift | uint32_t(g & s.nGreenMax) << s.nGreenShift |
         uint32_t(b & s.nBlueMax) << s.nBlueShift;
}

}  // namespace

uint32_t DDRepackForBackBuffer(uint32_t v) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  const int r = int((v >> s.nRedShift) & uint32_t(s.nRedMax));
  const int g = int((v >> s.nGreenShift) & uint32_t(s.nGreenMax));
  const int b = int((v >> s.nBlueShift) & uint32_t(s.nBlueMax));
  return PackFields(g_DD.BackBufferBits, r, g * 2, b);
}

bool DDClipEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int x, int y, int nWidth,
                      int nHeight, const DDSRCRECT& src, plat::gfx::GFXRECT& dstRect,
                      DDSRCRECT& srcRect) {
  const plat::gfx::cImageView dstSurface = DDSurfaceView(lpDst);
  const plat::gfx::cImageView srcSurface = DDSurfaceView(lpSrc);
  DDBLTVIEWS views{dstSurface.Sub(x, y, nWidth, nHeight),
                   srcSurface.Sub(src.x, src.y, src.w, src.h)};
  if (!DDClipBlt(true, dstSurface, srcSurface, views)) return false;
  dstRect = views.Dst.GetRect();
  srcRect = {views.Src.GetLeft(), views.Src.GetTop(), views.Src.GetWidth(), views.Src.GetHeight()};
  return true;
}

bool DDDrawEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpQuadSD,
                      const plat::gfx::GFXVERTEX* pVertices,
                      const plat::gfx::GFXTEXTURESTAGE& stage, uint32_t dwTFactor,
                      const plat::gfx::cImage* pTexture, const plat::gfx::GFXBLITRECT* pRect) {
  DTCONDATA& con = *g_DD.lpDTCon;
  if (!lpQuadSD->lpDT || !lpQuadSD->lpDT->lpVB) return false;
  if (plat::gfx::TakeFault(plat::gfx::eFaultPoint::LockVertexBuffer)) return false;
  std::copy(pVertices, pVertices + 4, lpQuadSD->lpDT->lpVB->Vertices.begin());
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return false;
  g_DD.lpDevice->SetTextureStage(stage);
  g_DD.lpDevice->SetTextureFactor(dwTFactor);
  g_DD.lpDevice->SetTexture(pTexture);
  if (pRect)
    DDDrawBlitQuad(lpQuadSD, pTexture, *pRect, lpQuadSD->lpDT->lpVB->Vertices.data());
  else
    g_DD.lpDevice->DrawQuad(lpQuadSD->lpDT->lpVB->Vertices.data());
  DDSetRenderTarget(0, con.lpScreenTarget);
  return true;
}

void DDOverlapColumns(int x, int sx, int nWidth, int nDstWidth, int nSrcWidth, int& kLo, int& kHi) {
  // In 64 bits: positions far off either side must not wrap.
  kLo = int(std::min<int64_t>(std::max<int64_t>({0, -int64_t(x), -int64_t(sx)}), nWidth));
  kHi = int(std::clamp<int64_t>(
      std::min<int64_t>({nWidth, int64_t(nDstWidth) - x, int64_t(nSrcWidth) - sx}), -1, nWidth));
}
