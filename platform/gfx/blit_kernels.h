// Inner loops shared by the DirectDraw-shaped face: raw copies with and
// without an exact key, the stretch, and raw fills. Rectangles are already
// inside both images; formats already match.
#pragma once

#include <cstdint>

#include "platform/gfx/image.h"

namespace plat::gfx {

void CopyRect(cImage& dst, int x, int y, const cImage& src, int sx, int sy, int w, int h, bool bKey,
              uint32_t dwKey);
void StretchRect(cImage& dst, const GFXRECT& dstRect, const cImage& src, const GFXRECT& srcRect,
                 bool bKey, uint32_t dwKey);
void FillRectRaw(cImage& dst, const GFXRECT& rect, uint32_t dwValue);

}  // namespace plat::gfx
