// Fused row loops of the quad rasteriser for 32-bit textures and targets:
// stage 0 and blending in one pass over a row, four pixels at a time.
//
// Most stage set-ups of the drawing library reduce, channel by channel, to
// one product with a constant and a constant sum: texture times diffuse
// (a tinted blit), texture blended toward the texture factor by its alpha
// (a tint), the texture or a constant selected. With the rounding rules of
// pixel_rules.h every intermediate value of such a stage and of the
// SRCALPHA / INVSRCALPHA blend fits an unsigned 16-bit lane, so the vector
// loop gives exactly the pixels of the general rule. The scalar twins state
// the same arithmetic one pixel at a time; tests hold the two together.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/d3d_device.h"

namespace plat::gfx {

// Stage 0 reduced per channel: out = Round255(t * nFactor + nAdd), t the
// texel's channel after dwTexelOr, Round255(x) = (x + (x >> 8)) >> 8. The
// arrays are in memory order of a pixel: blue, green, red, alpha.
// nFactor <= 255 and t * nFactor + nAdd <= 65535 for every t.
struct GFXSHADEROW {
  uint16_t nFactor[4] = {255, 255, 255, 255};
  uint16_t nAdd[4] = {128, 128, 128, 128};
  uint32_t dwTexelOr = 0;   // 0xFF000000: the texel's alpha counts as 255
  uint32_t dwOutOr = 0;     // 0xFF000000 for targets without alpha
  bool bBlend = false;      // SRCALPHA / INVSRCALPHA with the target's pixel
  bool bTarget565 = false;  // 16-bit rows: R5G6B5 target (else A1R5G5B5)
};

// The stage as such a reduction for the given diffuse colour and texture
// factor, with the target's format deciding dwOutOr and the texture's
// dwTexelOr. False when the stage does not reduce (ADD, SUBTRACT, a stage
// reading the texture twice, an argument the engine does not know).
bool ReduceStage(const GFXTEXTURESTAGE& stage, uint32_t dwDiffuse, uint32_t dwTFactor,
                 ePixelFormat textureFormat, ePixelFormat targetFormat, bool bBlend,
                 GFXSHADEROW& row);

// d[i] = the stage's result for texel s[i], blended onto d[i] when asked.
void ShadeRow32(uint32_t* d, const uint32_t* s, int n, const GFXSHADEROW& row);
void ShadeRow32Scalar(uint32_t* d, const uint32_t* s, int n, const GFXSHADEROW& row);
// ShadeRow32 over h rows, the next row nDstStride (nSrcStride) pixels on.
void ShadeRect32(uint32_t* d, size_t nDstStride, const uint32_t* s, size_t nSrcStride, int n,
                 int h, const GFXSHADEROW& row);

// The same for 16-bit texels (A1R5G5B5, or X1R5G5B5 whose texels are all
// opaque) onto 16-bit targets (R5G6B5, A1R5G5B5): the texel and the target
// pixel widened with ExpandChannel, the stage and the blend as above, the
// result narrowed with CompressChannel, as the general rule draws them.
// False for other formats or a stage that does not reduce.
bool ReduceStage16(const GFXTEXTURESTAGE& stage, uint32_t dwDiffuse, uint32_t dwTFactor,
                   ePixelFormat textureFormat, ePixelFormat targetFormat, bool bBlend,
                   GFXSHADEROW& row);
void ShadeRow16(uint16_t* d, const uint16_t* s, int n, const GFXSHADEROW& row);
void ShadeRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXSHADEROW& row);

// A constant colour (already out of stage 0) blended onto a row of a
// 32-bit target: the colour fades of the screen and translucent fills.
// dwOutOr as above.
void BlendConstRow32(uint32_t* d, int n, uint32_t dwArgb, uint32_t dwOutOr);
void BlendConstRow32Scalar(uint32_t* d, int n, uint32_t dwArgb, uint32_t dwOutOr);

}  // namespace plat::gfx
