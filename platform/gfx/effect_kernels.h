// Row loops of the drawing library's colour effects on DirectDraw-shaped
// screens: the tint (halvings toward a colour), the half-and-half mix of the
// translucent blit, and the fade of a saved picture toward a colour.
//
// 16-bit pixels are worked on as the effects define them: each field scaled
// up to 0..255 (f * 255 / max), mixed, scaled back (c * max / 255), both
// truncated. With SSE2 eight pixels go at a time, the two divisions done as
// exact multiplications for the 5- and 6-bit fields; the scalar twins are
// the definition, and tests hold the two together. Other field widths use
// the scalar loop.
//
// Key tests compare a pixel's colour bits (GetKeyMask) with the key, as the
// keyed blits do.
#pragma once

#include <cstdint>

#include "platform/gfx/pixel_format.h"

namespace plat::gfx {

// The three colour fields of a 16-bit pixel.
struct GFXFIELDS16 {
  int nShift[3] = {11, 5, 0};  // red, green, blue
  int nMax[3] = {31, 63, 31};
  uint16_t wKeyMask = 0xFFFF;
};
GFXFIELDS16 GetFields16(ePixelFormat format);

// An effect colour or fade target: red, green, blue, 0..255.
struct GFXRGB {
  int r = 0, g = 0, b = 0;
};

// d = s pulled toward k by nLevel halvings, c = (c + k) >> 1 per channel;
// with bKey, source pixels equal to the key leave d alone.
void TintRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, GFXRGB k, int nLevel,
               bool bKey, uint16_t wKey);
void TintRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, GFXRGB k,
                     int nLevel, bool bKey, uint16_t wKey);

// d = (s + d) >> 1 per channel; with bKey, source pixels equal to the key
// leave d alone; a destination pixel equal to the key takes s as it is.
void HalfMixRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, bool bKey,
                  uint16_t wKey);
void HalfMixRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, bool bKey,
                        uint16_t wKey);

// d = (s * t + k * (256 - t)) >> 8 per channel, t = nLevel in 0..256.
void FadeRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, int nLevel, GFXRGB k);
void FadeRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, int nLevel,
                     GFXRGB k);

// The same on 32-bit pixels (red, green, blue in bytes 2, 1, 0, no scaling);
// the destination's fourth byte is left as it was. Keys compare the three
// colour bytes.
void TintRow32(uint32_t* d, const uint32_t* s, int n, GFXRGB k, int nLevel, bool bKey,
               uint32_t dwKey);
void HalfMixRow32(uint32_t* d, const uint32_t* s, int n, bool bKey, uint32_t dwKey);
void HalfMixRow32Scalar(uint32_t* d, const uint32_t* s, int n, bool bKey, uint32_t dwKey);
void FadeRow32(uint32_t* d, const uint32_t* s, int n, int nLevel, GFXRGB k);

// Halving toward a colour settles within this many steps from any start
// (0..255): more halvings change nothing.
constexpr int kTintSettledSteps = 8;

}  // namespace plat::gfx
