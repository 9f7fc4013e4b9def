// Vertex layout and stage set-up of the Direct3D quads.
#include "draw/quad_build.h"

#include "draw/draw_context.h"
#include "platform/gfx/blit_strip.h"

void DDBuildBltQuad(plat::gfx::GFXVERTEX* v, int x, int y, int nWidth, int nHeight, int nSrcX,
                    int nSrcY, int nSrcWidth, int nSrcHeight, int nTexWidth, int nTexHeight,
                    uint32_t dwDiffuse) {
  plat::gfx::BuildBlitStrip(
      DDBlitRect(x, y, nWidth, nHeight, nSrcX, nSrcY, nSrcWidth, nSrcHeight, dwDiffuse), nTexWidth,
      nTexHeight, v);
}

void DDBuildFillQuad(plat::gfx::GFXVERTEX* v, int x, int y, int nWidth, int nHeight,
                     uint32_t dwColor, bool bSizedUV) {
  const float x0 = float(x) - 0.5f, x1 = float(x + nWidth) - 0.5f;
  const float y0 = float(y) - 0.5f, y1 = float(y + nHeight) - 0.5f;
  const float w = bSizedUV ? float(nWidth) : 0.0f, h = bSizedUV ? float(nHeight) : 0.0f;
  v[0] = {x0, y0, 0.0f, 1.0f, dwColor, 0.0f, 0.0f};
  v[1] = {x0, y1, 0.0f, 1.0f, dwColor, 0.0f, h};
  v[2] = {x1, y0, 0.0f, 1.0f, dwColor, w, 0.0f};
  v[3] = {x1, y1, 0.0f, 1.0f, dwColor, w, h};
}

void DDSetBltStage(int nColorOp, int nAlphaOp) {
  plat::gfx::GFXTEXTURESTAGE stage;
  stage.nColorOp = nColorOp;
  stage.nColorArg1 = plat::gfx::TA_TEXTURE;
  stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
  stage.nAlphaOp = nAlphaOp;
  stage.nAlphaArg1 = plat::gfx::TA_TEXTURE;
  stage.nAlphaArg2 = plat::gfx::TA_DIFFUSE;
  g_DD.lpDevice->SetTextureStage(stage);
}

plat::gfx::GFXBLITRECT DDBlitRect(int x, int y, int nWidth, int nHeight, int nSrcX, int nSrcY,
                                  int nSrcWidth, int nSrcHeight, uint32_t dwDiffuse) {
  return {x, y, nWidth, nHeight, nSrcX, nSrcY, nSrcWidth, nSrcHeight, dwDiffuse};
}

bool DDDrawsByIntegers(const DDSURFACEDATA* lpSrc, const plat::gfx::cImage* pTexture) {
  return !pTexture ||
         (lpSrc->nTexWidth == pTexture->GetWidth() && lpSrc->nTexHeight == pTexture->GetHeight());
}

void DDDrawBlitQuad(const DDSURFACEDATA* lpSrc, const plat::gfx::cImage* pTexture,
                    const plat::gfx::GFXBLITRECT& q, const plat::gfx::GFXVERTEX* v,
                    const plat::gfx::GFXRECT* pClear, uint32_t dwClear) {
  plat::gfx::cD3DDevice& dev = *g_DD.lpDevice;
  if (DDDrawsByIntegers(lpSrc, pTexture)) {
    if (pClear)
      dev.ClearAndDrawBlitRect(*pClear, dwClear, q);
    else
      dev.DrawBlitRect(q);
    return;
  }
  plat::gfx::GFXVERTEX built[4];
  if (!v) {
    DDBuildBltQuad(built, q.x, q.y, q.nWidth, q.nHeight, q.nSrcX, q.nSrcY, q.nSrcWidth,
                   q.nSrcHeight, lpSrc->nTexWidth, lpSrc->nTexHeight, q.dwDiffuse);
    v = built;
  }
  if (pClear)
    dev.ClearAndDrawQuad(*pClear, dwClear, v);
  else
    dev.DrawQuad(v);
}
