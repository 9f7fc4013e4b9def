// Inner loops shared by both engine faces: raw copies with and without an
// exact key, the stretch, and raw fills. Every view is already inside its
// image (IsInsideImage); source and destination formats already match.
#pragma once

#include <cstdint>

#include "platform/gfx/image_view.h"

namespace plat::gfx {

// Same-size copy: dst and src have the same width and height. With bKey,
// source pixels whose colour bits (GetKeyMask) equal dwKey's are left out.
// Overlapping views of one image copy as if through a temporary.
void CopyRect(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey);
// Destination column k reads source column StretchColumn(k, source width,
// destination width), rows likewise.
void StretchRect(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey);
void FillRectRaw(const cImageView& dst, uint32_t dwValue);

}  // namespace plat::gfx
