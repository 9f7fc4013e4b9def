// The fused row loops: SSE2 where the compiler targets it (always on
// x86-64), the scalar twins everywhere else and for the last pixels of a row.
#include "platform/gfx/quad_rows.h"

#include <cstring>

#include "platform/gfx/pixel_rules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define BRIMVALE_WIDE_ROWS 1
#endif

namespace plat::gfx {

namespace {

constexpr int kShift[4] = {0, 8, 16, 24};  // blue, green, red, alpha

inline uint32_t Round255(uint32_t x) { return (x + (x >> 8)) >> 8; }

// One argument of the stage: the texel, or a constant channel value.
struct ARG {
  bool bTexel;
  int nConst;
};

ARG ArgOf(int nArg, int nShift, uint32_t dwDiffuse, uint32_t dwTFactor) {
  switch (nArg & 0xF) {
    case TA_TEXTURE:
      return {true, 0};
    case TA_TFACTOR:
      return {false, int((dwTFactor >> nShift) & 0xFF)};
    default:
      return {false, int((dwDiffuse >> nShift) & 0xFF)};
  }
}

// The channel as t * f + add (before Round255); a constant c is f = 0,
// add = 255 c + 128, which Round255 turns back into c exactly.
bool Constant(int c, uint16_t& f, uint16_t& add) {
  f = 0;
  add = uint16_t(255 * c + 128);
  return true;
}

bool ReduceOp(int nOp, ARG a1, ARG a2, int nFactorAlpha, uint16_t& f, uint16_t& add) {
  switch (nOp) {
    case TOP_SELECTARG2:
      a1 = a2;
      [[fallthrough]];
    default:  // SELECTARG1, and operations the engine does not know
      if (a1.bTexel) {
        f = 255;
        add = 128;
        return true;
      }
      return Constant(a1.nConst, f, add);
    case TOP_MODULATE:
      if (a1.bTexel && a2.bTexel) return false;
      if (!a1.bTexel && !a2.bTexel) return Constant(MulChannel(a1.nConst, a2.nConst), f, add);
      f = uint16_t(a1.bTexel ? a2.nConst : a1.nConst);
      add = 128;
      return true;
    case TOP_BLENDFACTORALPHA:
      if (a1.bTexel && a2.bTexel) {
        f = 255;
        add = 128;
        return true;
      }
      if (!a1.bTexel && !a2.bTexel)
        return Constant(LerpChannel(a1.nConst, a2.nConst, nFactorAlpha), f, add);
      if (a1.bTexel) {
        f = uint16_t(nFactorAlpha);
        add = uint16_t(a2.nConst * (255 - nFactorAlpha) + 128);
      } else {
        f = uint16_t(255 - nFactorAlpha);
        add = uint16_t(a1.nConst * nFactorAlpha + 128);
      }
      return true;
    case TOP_ADD:
    case TOP_SUBTRACT:
      if (a1.bTexel || a2.bTexel) return false;
      return Constant(
          nOp == TOP_ADD ? AddChannel(a1.nConst, a2.nConst) : SubChannel(a1.nConst, a2.nConst), f,
          add);
  }
}

}  // namespace

bool ReduceStage(const GFXTEXTURESTAGE& stage, uint32_t dwDiffuse, uint32_t dwTFactor,
                 ePixelFormat textureFormat, ePixelFormat targetFormat, bool bBlend,
                 GFXSHADEROW& row) {
  if (textureFormat == ePixelFormat::X8R8G8B8)
    row.dwTexelOr = 0xFF000000u;
  else if (textureFormat == ePixelFormat::A8R8G8B8)
    row.dwTexelOr = 0;
  else
    return false;
  if (targetFormat == ePixelFormat::X8R8G8B8)
    row.dwOutOr = 0xFF000000u;
  else if (targetFormat == ePixelFormat::A8R8G8B8)
    row.dwOutOr = 0;
  else
    return false;
  row.bBlend = bBlend;
  const int fa = GetA(dwTFactor);
  if (stage.nColorOp == TOP_DISABLE) {
    // The diffuse colour, alpha included.
    for (int c = 0; c < 4; ++c)
      Constant(int((dwDiffuse >> kShift[c]) & 0xFF), row.nFactor[c], row.nAdd[c]);
    return true;
  }
  for (int c = 0; c < 3; ++c) {
    const ARG a1 = ArgOf(stage.nColorArg1, kShift[c], dwDiffuse, dwTFactor);
    const ARG a2 = ArgOf(stage.nColorArg2, kShift[c], dwDiffuse, dwTFactor);
    if (!ReduceOp(stage.nColorOp, a1, a2, fa, row.nFactor[c], row.nAdd[c])) return false;
  }
  if (stage.nAlphaOp == TOP_DISABLE) return Constant(GetA(dwDiffuse), row.nFactor[3], row.nAdd[3]);
  const ARG a1 = ArgOf(stage.nAlphaArg1, 24, dwDiffuse, dwTFactor);
  const ARG a2 = ArgOf(stage.nAlphaArg2, 24, dwDiffuse, dwTFactor);
  return ReduceOp(stage.nAlphaOp, a1, a2, fa, row.nFactor[3], row.nAdd[3]);
}

bool ReduceStage16(const GFXTEXTURESTAGE& stage, uint32_t dwDiffuse, uint32_t dwTFactor,
                   ePixelFormat textureFormat, ePixelFormat targetFormat, bool bBlend,
                   GFXSHADEROW& row) {
  if ((textureFormat != ePixelFormat::A1R5G5B5 && textureFormat != ePixelFormat::X1R5G5B5) ||
      (targetFormat != ePixelFormat::R5G6B5 && targetFormat != ePixelFormat::A1R5G5B5))
    return false;
  // The texel widened to ARGB, the result packed by the caller: the stage
  // is the one of 32-bit texels (an X1R5G5B5 texel's alpha counts as 255).
  if (!ReduceStage(
          stage, dwDiffuse, dwTFactor,
          textureFormat == ePixelFormat::X1R5G5B5 ? ePixelFormat::X8R8G8B8 : ePixelFormat::A8R8G8B8,
          ePixelFormat::A8R8G8B8, bBlend, row))
    return false;
  row.bTarget565 = targetFormat == ePixelFormat::R5G6B5;
  return true;
}

namespace {

inline uint32_t ShadePixel(uint32_t t, uint32_t d, const GFXSHADEROW& row) {
  t |= row.dwTexelOr;
  uint32_t v[4];
  for (int c = 0; c < 4; ++c)
    v[c] = Round255(((t >> kShift[c]) & 0xFF) * row.nFactor[c] + row.nAdd[c]);
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) {
    uint32_t x = v[c];
    if (row.bBlend) x = Round255(x * v[3] + ((d >> kShift[c]) & 0xFF) * (255 - v[3]) + 128);
    out |= x << kShift[c];
  }
  return out | row.dwOutOr;
}

inline uint32_t BlendConstPixel(uint32_t d, uint32_t c, uint32_t dwOutOr) {
  const uint32_t a = c >> 24;
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k)
    out |= Round255(((c >> kShift[k]) & 0xFF) * a + ((d >> kShift[k]) & 0xFF) * (255 - a) + 128)
           << kShift[k];
  return out | dwOutOr;
}

inline uint16_t ShadePixel16(uint16_t t, uint16_t d, const GFXSHADEROW& row) {
  const ePixelFormat target = row.bTarget565 ? ePixelFormat::R5G6B5 : ePixelFormat::A1R5G5B5;
  return uint16_t(ArgbToPixel(
      ShadePixel(PixelToArgb(t, ePixelFormat::A1R5G5B5), PixelToArgb(d, target), row), target));
}

#if defined(__SSE2__)
inline __m128i Round255V(__m128i x) {
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Each pixel's alpha lane copied into its four lanes.
inline __m128i BroadcastAlpha(__m128i v) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
}

template <bool BLEND>
inline __m128i ShadeHalf(__m128i t, __m128i d, __m128i f, __m128i add) {
  __m128i v = Round255V(_mm_add_epi16(_mm_mullo_epi16(t, f), add));
  if constexpr (BLEND) {
    const __m128i a = BroadcastAlpha(v);
    const __m128i ia = _mm_xor_si128(a, _mm_set1_epi16(255));
    v = Round255V(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(v, a), _mm_mullo_epi16(d, ia)),
                                _mm_set1_epi16(128)));
  }
  return v;
}

// Out of line and aligned, as the engine's other hot row loops: their speed
// must not move with the placement of unrelated code.
template <bool BLEND>
__attribute__((noinline, aligned(64))) void ShadeRow32V(uint32_t* d, const uint32_t* s, int n,
                                                        const GFXSHADEROW& row) {
  const __m128i f = _mm_set_epi16(
      short(row.nFactor[3]), short(row.nFactor[2]), short(row.nFactor[1]), short(row.nFactor[0]),
      short(row.nFactor[3]), short(row.nFactor[2]), short(row.nFactor[1]), short(row.nFactor[0]));
  const __m128i add =
      _mm_set_epi16(short(row.nAdd[3]), short(row.nAdd[2]), short(row.nAdd[1]), short(row.nAdd[0]),
                    short(row.nAdd[3]), short(row.nAdd[2]), short(row.nAdd[1]), short(row.nAdd[0]));
  const __m128i texOr = _mm_set1_epi32(int(row.dwTexelOr));
  const __m128i outOr = _mm_set1_epi32(int(row.dwOutOr));
  const __m128i zero = _mm_setzero_si128();
  const size_t nCount = n > 0 ? size_t(n) : 0;
  size_t i = 0;
  // Where the stage gives alpha 0 for a texel of alpha 0, a blended group
  // of such texels leaves the target's pixels as they are (but for the bits
  // a target without alpha always has): the group is passed over.
  const bool bSkipClear = BLEND && row.dwTexelOr == 0 && Round255(row.nAdd[3]) == 0;
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
  for (; i + 4 <= nCount; i += 4) {
    const __m128i t = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), texOr);
    if (bSkipClear &&
        _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(t, alphaMask), zero)) == 0xFFFF) {
      if (row.dwOutOr) {
        __m128i* p = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(p, _mm_or_si128(_mm_loadu_si128(p), outOr));
      }
      continue;
    }
    __m128i dv = zero;
    if constexpr (BLEND) dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i lo =
        ShadeHalf<BLEND>(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(dv, zero), f, add);
    const __m128i hi =
        ShadeHalf<BLEND>(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(dv, zero), f, add);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_or_si128(_mm_packus_epi16(lo, hi), outOr));
  }
  for (; i < nCount; ++i) d[i] = ShadePixel(s[i], d[i], row);
}

inline __m128i Splat16(int v) { return _mm_set1_epi16(short(v)); }
inline __m128i Expand5V(__m128i f) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(f, Splat16(527)), Splat16(23)), 6);
}
inline __m128i Expand6V(__m128i f) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(f, Splat16(259)), Splat16(33)), 6);
}
inline __m128i Compress5V(__m128i c) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(c, Splat16(249)), Splat16(1014)), 11);
}
inline __m128i Compress6V(__m128i c) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(c, Splat16(253)), Splat16(505)), 10);
}
// Round255(v * a + d * (255 - a) + 128).
inline __m128i LerpV(__m128i v, __m128i d, __m128i a, __m128i ia) {
  return Round255V(
      _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(v, a), _mm_mullo_epi16(d, ia)), Splat16(128)));
}

// Eight 16-bit pixels at a time, each channel in a lane of its own.
template <bool BLEND, bool T565>
__attribute__((noinline, aligned(64))) void ShadeRow16V(uint16_t* d, const uint16_t* s, int n,
                                                        const GFXSHADEROW& row) {
  const __m128i m5 = Splat16(31), m6 = Splat16(63), m8 = Splat16(255);
  const __m128i texOr = Splat16(row.dwTexelOr ? 0x8000 : 0);
  const bool bSkipClear = BLEND && row.dwTexelOr == 0 && Round255(row.nAdd[3]) == 0;
  __m128i f[4], add[4];
  for (int c = 0; c < 4; ++c) {
    f[c] = Splat16(row.nFactor[c]);
    add[c] = Splat16(row.nAdd[c]);
  }
  const size_t nCount = n > 0 ? size_t(n) : 0;
  size_t i = 0;
  for (; i + 8 <= nCount; i += 8) {
    const __m128i t = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), texOr);
    // Alpha 0 everywhere and a stage that keeps it 0: the pixels stay.
    if (bSkipClear && _mm_movemask_epi8(_mm_srai_epi16(t, 15)) == 0) continue;
    const __m128i tc[4] = {Expand5V(_mm_and_si128(t, m5)),
                           Expand5V(_mm_and_si128(_mm_srli_epi16(t, 5), m5)),
                           Expand5V(_mm_and_si128(_mm_srli_epi16(t, 10), m5)),
                           _mm_and_si128(_mm_srai_epi16(t, 15), m8)};
    __m128i v[4];
    for (int c = 0; c < 4; ++c)
      v[c] = Round255V(_mm_add_epi16(_mm_mullo_epi16(tc[c], f[c]), add[c]));
    if constexpr (BLEND) {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i ia = _mm_xor_si128(v[3], m8);
      __m128i dc[4];
      dc[0] = Expand5V(_mm_and_si128(dv, m5));
      if constexpr (T565) {
        dc[1] = Expand6V(_mm_and_si128(_mm_srli_epi16(dv, 5), m6));
        dc[2] = Expand5V(_mm_srli_epi16(dv, 11));
      } else {
        dc[1] = Expand5V(_mm_and_si128(_mm_srli_epi16(dv, 5), m5));
        dc[2] = Expand5V(_mm_and_si128(_mm_srli_epi16(dv, 10), m5));
        dc[3] = _mm_and_si128(_mm_srai_epi16(dv, 15), m8);
      }
      for (int c = 0; c < 3; ++c) v[c] = LerpV(v[c], dc[c], v[3], ia);
      if constexpr (!T565) v[3] = LerpV(v[3], dc[3], v[3], ia);
    }
    __m128i out;
    if constexpr (T565) {
      out = _mm_or_si128(
          _mm_or_si128(_mm_slli_epi16(Compress5V(v[2]), 11), _mm_slli_epi16(Compress6V(v[1]), 5)),
          Compress5V(v[0]));
    } else {
      // The alpha bit from 128 up.
      const __m128i a1 = _mm_slli_epi16(_mm_srli_epi16(v[3], 7), 15);
      out = _mm_or_si128(_mm_or_si128(a1, _mm_slli_epi16(Compress5V(v[2]), 10)),
                         _mm_or_si128(_mm_slli_epi16(Compress5V(v[1]), 5), Compress5V(v[0])));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
  }
  for (; i < nCount; ++i) d[i] = ShadePixel16(s[i], d[i], row);
}

__attribute__((noinline, aligned(64))) void BlendConstRow32V(uint32_t* d, int n, uint32_t c,
                                                             uint32_t dwOutOr) {
  // Round255(c a + d (255 - a) + 128): the colour's share is one constant.
  const uint32_t a = c >> 24;
  short k[4];
  for (int j = 0; j < 4; ++j) k[j] = short(((c >> kShift[j]) & 0xFF) * a + 128);
  const __m128i add = _mm_set_epi16(k[3], k[2], k[1], k[0], k[3], k[2], k[1], k[0]);
  const __m128i ia = _mm_set1_epi16(short(255 - a));
  const __m128i outOr = _mm_set1_epi32(int(dwOutOr));
  const __m128i zero = _mm_setzero_si128();
  const size_t nCount = n > 0 ? size_t(n) : 0;
  size_t i = 0;
  for (; i + 4 <= nCount; i += 4) {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i lo =
        Round255V(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), ia), add));
    const __m128i hi =
        Round255V(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), ia), add));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_or_si128(_mm_packus_epi16(lo, hi), outOr));
  }
  for (; i < nCount; ++i) d[i] = BlendConstPixel(d[i], c, dwOutOr);
}
#endif

}  // namespace

void ShadeRow32Scalar(uint32_t* d, const uint32_t* s, int n, const GFXSHADEROW& row) {
  for (int i = 0; i < n; ++i) d[i] = ShadePixel(s[i], d[i], row);
}

#if defined(BRIMVALE_WIDE_ROWS)
namespace {

// Eight pixels at a time where the processor has the 256-bit integer
// operations: the same operations as ShadeRow32V, so the same pixels; the
// rest of the row goes to the four-pixel loop.
__attribute__((target("avx2"))) inline __m256i Round255W(__m256i x) {
  return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

template <bool BLEND>
__attribute__((target("avx2"))) inline __m256i ShadeHalfW(__m256i t, __m256i d, __m256i f,
                                                          __m256i add) {
  __m256i v = Round255W(_mm256_add_epi16(_mm256_mullo_epi16(t, f), add));
  if constexpr (BLEND) {
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF);
    const __m256i ia = _mm256_xor_si256(a, _mm256_set1_epi16(255));
    v = Round255W(
        _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(v, a), _mm256_mullo_epi16(d, ia)),
                         _mm256_set1_epi16(128)));
  }
  return v;
}

// A rectangle per call, its constants set up once: a sprite's rows are
// short, and setting up per row cost as much as a row. The last pixels of a
// row (under eight) go one by one.
template <bool BLEND>
__attribute__((target("avx2"), noinline, aligned(64))) void ShadeRect32W(
    uint32_t* d, size_t nDstStride, const uint32_t* s, size_t nSrcStride, int n, int h,
    const GFXSHADEROW& row) {
  short fs[16], as[16];
  for (int k = 0; k < 16; ++k) {
    fs[k] = short(row.nFactor[k % 4]);
    as[k] = short(row.nAdd[k % 4]);
  }
  const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(fs));
  const __m256i add = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(as));
  const __m256i texOr = _mm256_set1_epi32(int(row.dwTexelOr));
  const __m256i outOr = _mm256_set1_epi32(int(row.dwOutOr));
  const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
  const __m256i zero = _mm256_setzero_si256();
  const bool bSkipClear = BLEND && row.dwTexelOr == 0 && Round255(row.nAdd[3]) == 0;
  const size_t nCount = n > 0 ? size_t(n) : 0;
  for (int j = 0; j < h; ++j, d += nDstStride, s += nSrcStride) {
    size_t i = 0;
    for (; i + 8 <= nCount; i += 8) {
      const __m256i t =
          _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)), texOr);
      __m256i* p = reinterpret_cast<__m256i*>(d + i);
      if (bSkipClear &&
          _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(t, alphaMask), zero)) == -1) {
        if (row.dwOutOr) _mm256_storeu_si256(p, _mm256_or_si256(_mm256_loadu_si256(p), outOr));
        continue;
      }
      __m256i dv = zero;
      if constexpr (BLEND) dv = _mm256_loadu_si256(p);
      const __m256i lo =
          ShadeHalfW<BLEND>(_mm256_unpacklo_epi8(t, zero), _mm256_unpacklo_epi8(dv, zero), f, add);
      const __m256i hi =
          ShadeHalfW<BLEND>(_mm256_unpackhi_epi8(t, zero), _mm256_unpackhi_epi8(dv, zero), f, add);
      _mm256_storeu_si256(p, _mm256_or_si256(_mm256_packus_epi16(lo, hi), outOr));
    }
    for (; i < nCount; ++i) d[i] = ShadePixel(s[i], d[i], row);
  }
  // The upper halves of the wide registers cleared before any other code
  // runs: the compiler does not do it for a function widened by attribute,
  // and left dirty they slow every 128-bit operation after them, in this
  // program and in the libraries it calls.
  _mm256_zeroupper();
}

bool HasWideRows() {
  static const bool bWide = __builtin_cpu_supports("avx2");
  return bWide;
}

}  // namespace
#endif

void ShadeRow32(uint32_t* d, const uint32_t* s, int n, const GFXSHADEROW& row) {
  ShadeRect32(d, 0, s, 0, n, 1, row);
}

void ShadeRect32(uint32_t* d, size_t nDstStride, const uint32_t* s, size_t nSrcStride, int n,
                 int h, const GFXSHADEROW& row) {
#if defined(BRIMVALE_WIDE_ROWS)
  if (HasWideRows()) {
    if (row.bBlend)
      ShadeRect32W<true>(d, nDstStride, s, nSrcStride, n, h, row);
    else
      ShadeRect32W<false>(d, nDstStride, s, nSrcStride, n, h, row);
    return;
  }
#endif
  for (int j = 0; j < h; ++j, d += nDstStride, s += nSrcStride) {
#if defined(__SSE2__)
    if (row.bBlend)
      ShadeRow32V<true>(d, s, n, row);
    else
      ShadeRow32V<false>(d, s, n, row);
#else
    ShadeRow32Scalar(d, s, n, row);
#endif
  }
}

void ShadeRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXSHADEROW& row) {
  for (int i = 0; i < n; ++i) d[i] = ShadePixel16(s[i], d[i], row);
}

void ShadeRow16(uint16_t* d, const uint16_t* s, int n, const GFXSHADEROW& row) {
#if defined(__SSE2__)
  if (row.bBlend) {
    if (row.bTarget565)
      ShadeRow16V<true, true>(d, s, n, row);
    else
      ShadeRow16V<true, false>(d, s, n, row);
  } else {
    if (row.bTarget565)
      ShadeRow16V<false, true>(d, s, n, row);
    else
      ShadeRow16V<false, false>(d, s, n, row);
  }
#else
  ShadeRow16Scalar(d, s, n, row);
#endif
}

void BlendConstRow32Scalar(uint32_t* d, int n, uint32_t dwArgb, uint32_t dwOutOr) {
  for (int i = 0; i < n; ++i) d[i] = BlendConstPixel(d[i], dwArgb, dwOutOr);
}

void BlendConstRow32(uint32_t* d, int n, uint32_t dwArgb, uint32_t dwOutOr) {
#if defined(__SSE2__)
  BlendConstRow32V(d, n, dwArgb, dwOutOr);
#else
  BlendConstRow32Scalar(d, n, dwArgb, dwOutOr);
#endif
}

}  // namespace plat::gfx
