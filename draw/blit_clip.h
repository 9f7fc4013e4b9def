// Clipping of a blit against its source and destination surfaces, on views
// of the two surfaces' pixels.
#pragma once

#include "platform/gfx/image_view.h"

// The two sides of one blit: where it draws and what it reads.
struct DDBLTVIEWS {
  plat::gfx::cImageView Dst;
  plat::gfx::cImageView Src;
};

// Clips one blit in place. views hold the requested rectangles as views cut
// from the two surface views (the source may run backwards); bDirect3D
// selects the mode's rule for scaled and mirrored blits. True when
// something is left to draw; views then hold what to draw (otherwise they
// are left as they were).
bool DDClipBlt(bool bDirect3D, const plat::gfx::cImageView& dstSurface,
               const plat::gfx::cImageView& srcSurface, DDBLTVIEWS& views);
