// The float strip of an integer blit quad: what the quads of the drawing
// library carry in their vertex buffers, and what the device draws when a
// quad's numbers are beyond its integer rule.
#pragma once

#include "platform/gfx/d3d_device.h"

namespace plat::gfx {

// The strip a GFXBLITRECT stands for, over a texture of the given size (0:
// none): corners at x - 0.5 .. x + nWidth - 0.5, texture coordinates the
// texel numbers over the size, in floats.
void BuildBlitStrip(const GFXBLITRECT& q, int nTexWidth, int nTexHeight, GFXVERTEX* v);

}  // namespace plat::gfx
