// Every rounding rule of the pixel engine in one place. The engine's code and
// the tests both compute pixels with these functions, so a test states the
// rule it checks instead of a number copied from a screenshot.
//
// Channels are 0..255 ints unless a name says otherwise; "max" is a field
// maximum (31 for 5 bits, 63 for 6, 1 for 1, 255 for 8).
#pragma once

#include <cstdint>

#include "platform/gfx/pixel_format.h"

namespace plat::gfx {

// ---- Channel width changes ----------------------------------------------

// Widening a field for display, sampling and blending: the field's exact
// share of 255, rounded to nearest (31 -> 255, 16 -> 132, 3 -> 25).
constexpr int ExpandChannel(int nField, int nMax) {
  return nMax > 0 ? (nField * 510 + nMax) / (2 * nMax) : 0;
}

// Narrowing a channel when the device writes a render target or clears it:
// rounded to the nearest field value, halves up (what a device's output
// conversion does): c * max / 255 + 1/2.
constexpr int CompressChannel(int nChannel, int nMax) { return (nChannel * nMax * 2 + 255) / 510; }

// The two rules above for 5- and 6-bit fields as a multiply, an add and a
// shift whose every step fits 16 bits, for the vector loops; equal to them
// for every value (checked below).
constexpr int ExpandChannel5(int nField) { return (nField * 527 + 23) >> 6; }
constexpr int ExpandChannel6(int nField) { return (nField * 259 + 33) >> 6; }
constexpr int CompressChannel5(int nChannel) { return (nChannel * 249 + 1014) >> 11; }
constexpr int CompressChannel6(int nChannel) { return (nChannel * 253 + 505) >> 10; }

constexpr bool ShiftedChannelRulesHold() {
  for (int f = 0; f < 64; ++f)
    if ((f < 32 && ExpandChannel5(f) != ExpandChannel(f, 31)) ||
        ExpandChannel6(f) != ExpandChannel(f, 63))
      return false;
  for (int c = 0; c < 256; ++c)
    if (CompressChannel5(c) != CompressChannel(c, 31) ||
        CompressChannel6(c) != CompressChannel(c, 63))
      return false;
  return true;
}
static_assert(ShiftedChannelRulesHold());

// Narrowing when a bitmap becomes a texture or goes through the bitmap copy:
// the low bits are dropped (255 -> 31, 7 -> 0).
constexpr int TruncateChannel(int nChannel, int nMax) {
  switch (nMax) {
    case 255:
      return nChannel;
    case 63:
      return nChannel >> 2;
    case 31:
      return nChannel >> 3;
    case 1:
      return nChannel >> 7;
    default:
      return nChannel * nMax / 255;
  }
}

// The drawing library's own integer scalings (its fills, its 16-bit bitmap
// conversion, its key widening): c * max / 255 and f * 255 / max, truncated.
constexpr int ScaleChannelDown(int nChannel, int nMax) {
  return nMax > 0 ? nChannel * nMax / 255 : 0;
}
constexpr int ScaleChannelUp(int nField, int nMax) { return nMax > 0 ? nField * 255 / nMax : 0; }

// ---- Colour combination (texture stage and blending) ----------------------

// a * b / 255 rounded to nearest (MODULATE of two channels).
constexpr int MulChannel(int a, int b) {
  const int t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}
constexpr int AddChannel(int a, int b) { return a + b > 255 ? 255 : a + b; }  // saturates
constexpr int SubChannel(int a, int b) { return a - b < 0 ? 0 : a - b; }  // arg1 - arg2, floor 0
// src * a + dst * (255 - a), over 255, rounded to nearest: the SRCALPHA /
// INVSRCALPHA blend and the blend-factor-alpha stage operation.
constexpr int LerpChannel(int nSrc, int nDst, int nAlpha) {
  const int t = nSrc * nAlpha + nDst * (255 - nAlpha) + 128;
  return (t + (t >> 8)) >> 8;
}

// ---- ARGB (0xAARRGGBB) helpers -------------------------------------------

constexpr int GetA(uint32_t c) { return int(c >> 24); }
constexpr int GetR(uint32_t c) { return int((c >> 16) & 0xFF); }
constexpr int GetG(uint32_t c) { return int((c >> 8) & 0xFF); }
constexpr int GetB(uint32_t c) { return int(c & 0xFF); }
constexpr uint32_t MakeArgb(int a, int r, int g, int b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

// ---- Raw pixel values <-> ARGB -------------------------------------------

// A direct-colour pixel value of the format as ARGB: fields widened with
// ExpandChannel; formats without alpha read as opaque. P8 is not handled here
// (it needs a palette): the result is then the index in the blue byte, opaque.
constexpr uint32_t PixelToArgb(uint32_t v, ePixelFormat f) {
  switch (f) {
    case ePixelFormat::R5G6B5:
      return MakeArgb(255, ExpandChannel((v >> 11) & 31, 31), ExpandChannel((v >> 5) & 63, 63),
                      ExpandChannel(v & 31, 31));
    case ePixelFormat::X1R5G5B5:
      return MakeArgb(255, ExpandChannel((v >> 10) & 31, 31), ExpandChannel((v >> 5) & 31, 31),
                      ExpandChannel(v & 31, 31));
    case ePixelFormat::A1R5G5B5:
      return MakeArgb((v & 0x8000) ? 255 : 0, ExpandChannel((v >> 10) & 31, 31),
                      ExpandChannel((v >> 5) & 31, 31), ExpandChannel(v & 31, 31));
    case ePixelFormat::X8R8G8B8:
      return v | 0xFF000000u;
    case ePixelFormat::A8R8G8B8:
      return v;
    default:
      return 0xFF000000u | (v & 0xFF);
  }
}

// ARGB packed into a format with the given channel narrowing; the 1-bit
// alpha is set from 128 up, the unused top bits of X formats are ones.
constexpr uint32_t PackArgb(uint32_t c, ePixelFormat f, int (*Narrow)(int, int)) {
  switch (f) {
    case ePixelFormat::R5G6B5:
      return uint32_t(Narrow(GetR(c), 31) << 11 | Narrow(GetG(c), 63) << 5 | Narrow(GetB(c), 31));
    case ePixelFormat::X1R5G5B5:
      return 0x8000u |
             uint32_t(Narrow(GetR(c), 31) << 10 | Narrow(GetG(c), 31) << 5 | Narrow(GetB(c), 31));
    case ePixelFormat::A1R5G5B5:
      return (GetA(c) >= 128 ? 0x8000u : 0u) |
             uint32_t(Narrow(GetR(c), 31) << 10 | Narrow(GetG(c), 31) << 5 | Narrow(GetB(c), 31));
    case ePixelFormat::X8R8G8B8:
      return c | 0xFF000000u;
    case ePixelFormat::A8R8G8B8:
      return c;
    default:
      return c & 0xFF;
  }
}

// ARGB as a pixel value of the format, the way the device writes targets and
// clears: CompressChannel on every field (X8R8G8B8 gets 0xFF on top).
constexpr uint32_t ArgbToPixel(uint32_t c, ePixelFormat f) {
  return PackArgb(c, f, CompressChannel);
}

// ARGB as a texel of the format when a bitmap is loaded into a texture:
// TruncateChannel on every field (8 -> 5 bits drops the low 3).
constexpr uint32_t ArgbToTexel(uint32_t c, ePixelFormat f) {
  return PackArgb(c, f, TruncateChannel);
}

// ---- Stretching ----------------------------------------------------------

// Floor division that rounds toward minus infinity for negative numerators.
constexpr int64_t FloorDiv(int64_t n, int64_t d) {
  const int64_t q = n / d;
  return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

// Point sampling of an axis-aligned quad: destination column k (0-based) of
// a quad w pixels wide whose texture coordinates span nSrcWidth texels from
// its left edge (negative: mirrored) reads texel offset
// floor((2k + 1) * nSrcWidth / (2w)), the texel under the pixel centre. So
// 1:1 copies k, 2:1 reads the odd columns 2k + 1, mirror -W reads -k - 1.
constexpr int QuadTexelOffset(int k, int nSrcWidth, int w) {
  return int(FloorDiv(int64_t(2 * k + 1) * nSrcWidth, int64_t(2) * w));
}

// Wrap addressing: a texel index folded into 0 .. size - 1.
constexpr int WrapTexel(int i, int nSize) {
  const int r = i % nSize;
  return r < 0 ? r + nSize : r;
}

// The DirectDraw-shaped stretch: destination column k of w reads source column
// trunc(k * nSrcWidth / w) (exact integer arithmetic, nSrcWidth >= 0).
constexpr int StretchColumn(int k, int nSrcWidth, int w) { return int(int64_t(k) * nSrcWidth / w); }

// ---- 16-bit packing -----------------------------------------------------

constexpr uint16_t Pack565(int r5, int g6, int b5) { return uint16_t(r5 << 11 | g6 << 5 | b5); }
constexpr uint16_t Pack1555(int a1, int r5, int g5, int b5) {
  return uint16_t(a1 << 15 | r5 << 10 | g5 << 5 | b5);
}

// A 1555 texel's colour written to a 565 target: ExpandChannel then
// CompressChannel, which keep a 5-bit field and widen 5 bits to 6 as
// g << 1 | g >> 4.
constexpr uint16_t Texel1555To565(uint16_t c) {
  return uint16_t((c & 0x7FE0) << 1 | (c >> 4 & 0x20) | (c & 0x1F));
}

}  // namespace plat::gfx
