// What the per-pixel effects share (tint, translucency, blur, mosaic, lens,
// rotation): the source rectangle of a looping surface, the two surfaces
// locked for the length of one effect, a locked surface's pixels and
// channels, what counts as transparent, and how a computed colour is
// written in each mode.
#pragma once

#include <cstdint>

#include "draw/pixel_bits.h"
#include "draw/surface_data.h"
#include "draw/surface_lock.h"
#include "platform/gfx/effect_kernels.h"
#include "platform/gfx/image_view.h"

// A source rectangle after the looping-surface adjustment (Direct3D): a
// negative width reads the columns x - 1, x - 2, ... (the picture mirrored),
// a negative height the rows likewise. The destination keeps the positive
// size; only the source mapping is mirrored.
struct DDSRCRECT {
  int x = 0, y = 0, w = 0, h = 0;
  // Column and row of the source for destination offset k, j.
  int Column(int k) const { return w < 0 ? x - 1 - k : x + k; }
  int Row(int j) const { return h < 0 ? y - 1 - j : y + j; }
};
DDSRCRECT DDWrapEffectSource(const DDSURFACEDATA* lpSrcSD, int sx, int sy, int w, int h);

// The record an effect really draws into or reads from in Direct3D: the one
// whose texture it shares, the virtual back buffer for the back buffer.
DDSURFACEDATA* DDEffectRecord(DDSURFACEDATA* lpSD);

// A record's visible area as a view of its pixels (none while its texture
// is gone).
plat::gfx::cImageView DDSurfaceView(const DDSURFACEDATA* lpSD);

// A locked surface as the effects read and write it.
struct DDEFFECTPIXELS {
  uint8_t* pBits = nullptr;
  int nPitch = 0;  // in pixels
  int nBytes = 0;  // 1, 2 or 4
  int nWidth = 0;  // the visible size, never past the locked image
  int nHeight = 0;
  bool bDirect3D = false;
  // The 5-6-5 back buffer of a Direct3D 16-bit full screen, which the
  // effects write from texture channels (green doubled).
  bool bFullScreenBack = false;
  DDPIXELBITS Bits;  // the channel layout of these pixels
  // As a source: the pixels that count as transparent, (v & mask) == value.
  uint32_t dwClearMask = 0;
  uint32_t dwClearValue = 0;
  // As a destination: a computed colour keeps these bits of the pixel
  // under it, sets these, and has its green multiplied by nGreenScale.
  uint32_t dwKeep = 0;
  uint32_t dwSet = 0;
  int nGreenScale = 1;

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < nWidth && y < nHeight; }
  uint8_t* RowBytes(int y) const { return pBits + size_t(y) * size_t(nPitch) * size_t(nBytes); }
  uint32_t Read(int x, int y) const {
    const uint8_t* p = RowBytes(y) + size_t(x) * size_t(nBytes);
    if (nBytes == 2) return uint32_t(p[0] | p[1] << 8);
    if (nBytes == 1) return p[0];
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16) | uint32_t(p[3]) << 24;
  }
  void Write(int x, int y, uint32_t v) {
    uint8_t* p = RowBytes(y) + size_t(x) * size_t(nBytes);
    for (int i = 0; i < nBytes; ++i) p[i] = uint8_t(v >> (8 * i));
  }
};

// The two surfaces of one effect, locked destination first; the effect
// fails (false) when either lock or either unlock fails. The same surface
// on both sides cannot be locked twice: the effect then draws nothing.
class cEffectLocks {
 public:
  bool Lock(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD);
  bool Unlock();
  DDEFFECTPIXELS Dst;
  DDEFFECTPIXELS Src;
  DDSURFACEDATA* DstRecord() const { return m_Dst.m_lpSD; }

 private:
  cSurfaceLock m_Dst;
  cSurfaceLock m_Src;
};

DDEFFECTPIXELS DDEffectPixels(const cSurfaceLock& lock);

// The bits a key comparison looks at: the colour fields only.
uint32_t DDKeyMask(const DDEFFECTPIXELS& px);
// The fields of 16-bit pixels as the effect row loops take them.
plat::gfx::GFXFIELDS16 DDFields16(const DDEFFECTPIXELS& px);

// Direct3D texels: a 16-bit texel is opaque when (texel AND 0xA000) is not
// 0 (bits 15 and 13, not 15 alone); a 32-bit texel when its alpha is not 0.
bool DDIsOpaqueTexel(uint32_t v);
// DirectDraw pixels: the colour key, compared on the colour bits.
bool DDIsKeyPixel(uint32_t v, const DDEFFECTPIXELS& px);
// Transparent as a source of the effects: Direct3D by the opacity test,
// DirectDraw by the key.
inline bool DDIsTransparentSource(uint32_t v, const DDEFFECTPIXELS& px) {
  return (v & px.dwClearMask) == px.dwClearValue;
}

// The red, green and blue fields of a pixel in the layout of its surface.
inline void DDReadChannels(const DDEFFECTPIXELS& px, uint32_t v, int& r, int& g, int& b) {
  const DDPIXELBITS& s = px.Bits;
  r = int((v >> s.nRedShift) & uint32_t(s.nRedMax));
  g = int((v >> s.nGreenShift) & uint32_t(s.nGreenMax));
  b = int((v >> s.nBlueShift) & uint32_t(s.nBlueMax));
}
// A computed colour (fields in the units of the source's layout) written by
// the mode's rule: Direct3D 16-bit with the alpha bit, or as 5-6-5 with the
// green field doubled on the full-screen back buffer; Direct3D 32-bit with
// alpha 255; DirectDraw 16-bit packed; DirectDraw 32-bit into the three
// colour bytes, the fourth kept.
inline void DDWriteChannels(DDEFFECTPIXELS& px, int x, int y, int r, int g, int b) {
  const DDPIXELBITS& s = px.Bits;
  uint32_t v = px.dwSet | uint32_t(r & s.nRedMax) << s.nRedShift |
               uint32_t((g * px.nGreenScale) & s.nGreenMax) << s.nGreenShift |
               uint32_t(b & s.nBlueMax) << s.nBlueShift;
  if (px.dwKeep) v |= px.Read(x, y) & px.dwKeep;
  px.Write(x, y, v);
}
// A Direct3D 16-bit texel as the full-screen back buffer holds it (5-6-5,
// green doubled).
uint32_t DDRepackForBackBuffer(uint32_t v);

// The rectangles of an effect drawn by the device: the destination
// rectangle and the (wrapped) source cut as the Direct3D blits cut them.
// False when nothing is left.
bool DDClipEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int x, int y, int nWidth,
                      int nHeight, const DDSRCRECT& src, plat::gfx::GFXRECT& dstRect,
                      DDSRCRECT& srcRect);
// One quad of an effect: the vertices written into lpQuadSD's vertex
// buffer, the scene begun, lpDst made render target 0, stage 0, the texture
// factor and the texture set, the quad drawn, the default target set back.
// False when the vertex buffer, the scene or the render target failed.
// pRect: the integers an axis-aligned blit quad's vertices were built from
// (DDDrawBlitQuad draws it by them); null for any other quad.
bool DDDrawEffectQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpQuadSD,
                      const plat::gfx::GFXVERTEX* pVertices,
                      const plat::gfx::GFXTEXTURESTAGE& stage, uint32_t dwTFactor,
                      const plat::gfx::cImage* pTexture,
                      const plat::gfx::GFXBLITRECT* pRect = nullptr);

// The columns k of 0 .. nWidth - 1 of an unmirrored row whose destination
// x + k and source sx + k both lie inside their surfaces.
void DDOverlapColumns(int x, int sx, int nWidth, int nDstWidth, int nSrcWidth, int& kLo, int& kHi);
