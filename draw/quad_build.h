// The quads of the Direct3D paths: vertex layout and stage-0 set-up shared
// by the immediate blits, fills and both batches.
#pragma once

#include <cstdint>

#include "draw/surface_data.h"
#include "platform/gfx/d3d_device.h"

// Four vertices (top-left, bottom-left, top-right, bottom-right) of a blit,
// positions offset by -0.5 so texels land on pixel centres; texture
// coordinates divide by the allocated texture size.
void DDBuildBltQuad(plat::gfx::GFXVERTEX* v, int x, int y, int nWidth, int nHeight, int nSrcX,
                    int nSrcY, int nSrcWidth, int nSrcHeight, int nTexWidth, int nTexHeight,
                    uint32_t dwDiffuse);
// Four vertices of a fill; with bSizedUV the texture coordinates run over
// the fill's size (the fill batch), else they are all 0.
void DDBuildFillQuad(plat::gfx::GFXVERTEX* v, int x, int y, int nWidth, int nHeight,
                     uint32_t dwColor, bool bSizedUV);
// Stage 0 of a blit: colour and alpha of texture and diffuse under the ops.
void DDSetBltStage(int nColorOp, int nAlphaOp);

// The blit quad as the integers it is built from (DDBuildBltQuad's arguments
// without the texture size).
plat::gfx::GFXBLITRECT DDBlitRect(int x, int y, int nWidth, int nHeight, int nSrcX, int nSrcY,
                                  int nSrcWidth, int nSrcHeight, uint32_t dwDiffuse);
// Draws a blit quad with the texture bound (null: none): by its integers when
// the record's texture size is the texture's own, the size the device maps
// with, so the pixels are those of the vertices; by the vertices
// DDBuildBltQuad made from the same numbers (v) otherwise. With pClear the
// rectangle is cleared to dwClear first.
void DDDrawBlitQuad(const DDSURFACEDATA* lpSrc, const plat::gfx::cImage* pTexture,
                    const plat::gfx::GFXBLITRECT& q, const plat::gfx::GFXVERTEX* v,
                    const plat::gfx::GFXRECT* pClear = nullptr, uint32_t dwClear = 0);
// Whether DDDrawBlitQuad draws the record's quads by their integers.
bool DDDrawsByIntegers(const DDSURFACEDATA* lpSrc, const plat::gfx::cImage* pTexture);
