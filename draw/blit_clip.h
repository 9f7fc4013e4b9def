// Clipping of a blit against its source and destination surfaces, on views
// of the two surfaces' pixels.
#pragma once

#include "draw/draw_context.h"
#include "draw/surface_data.h"
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

// A record's visible area (0, 0, nWidth, nHeight) as a view of its pixels in
// the current mode: the DirectDraw surface, or the Direct3D level 0 (none
// while the texture is gone). Inline: every blit takes two, and a view
// handed back through memory stalled the blit that read it at once.
inline plat::gfx::cImageView DDSurfaceView(const DDSURFACEDATA* lpSD) {
  plat::gfx::cImage* pImage = nullptr;
  if (g_DD.lpDTCon) {
    if (lpSD->lpDT) pImage = lpSD->lpDT->lpSurface.get();
  } else if (lpSD->lpDDS) {
    pImage = lpSD->lpDDS->lpDDSurface.get();
  }
  return plat::gfx::cImageView(pImage, plat::gfx::MakeRect(0, 0, lpSD->nWidth, lpSD->nHeight));
}
