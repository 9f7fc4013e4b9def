// Copying a decoded bitmap into an image the way the window system's bitmap
// copy does: exact into 32-bit images, channels truncated into 16-bit ones
// (TruncateChannel), the nearest palette entry into 8-bit ones (first of
// equals wins). Optional per-frame mirroring: with a frame width W each whole
// frame of W columns is drawn mirrored in place (a partial last frame is not
// drawn); frame height H likewise.
#pragma once

#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/image.h"

namespace plat::gfx {

// Destination (x, y) receives bitmap (x, y) (or its mirror), clipped to both
// sizes. 8-bit images without a palette receive the bitmap's own indices
// (indexed bitmaps) or index 0.
void CopyBitmapToImage(cImage& dst, const cBitmap& bitmap, int nMirrorWidth, int nMirrorHeight);

// Index of the palette entry nearest to the colour (squared RGB distance,
// lowest index on ties).
int FindNearestPaletteIndex(const cPalette& palette, int r, int g, int b);

}  // namespace plat::gfx
