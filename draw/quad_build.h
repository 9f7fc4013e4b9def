// The quads of the Direct3D paths: vertex layout and stage-0 set-up shared
// by the immediate blits, fills and both batches.
#pragma once

#include <cstdint>

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
