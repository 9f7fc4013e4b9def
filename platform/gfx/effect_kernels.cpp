// The effects' row loops: scalar definitions, and SSE2 loops for 16-bit
// pixels with 5- and 6-bit fields.
#include "platform/gfx/effect_kernels.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/pixel_rules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define BRIMVALE_WIDE_MIX 1
#endif

namespace plat::gfx {

GFXFIELDS16 GetFields16(ePixelFormat format) {
  GFXFIELDS16 f;
  if (format == ePixelFormat::X1R5G5B5 || format == ePixelFormat::A1R5G5B5) {
    f.nShift[0] = 10;
    f.nMax[1] = 31;
    f.wKeyMask = 0x7FFF;
  }
  return f;
}

namespace {

// ---- Scalar definitions --------------------------------------------------

struct UNPACKED {
  int c[3];
};

inline UNPACKED Up(uint16_t v, const GFXFIELDS16& f) {
  UNPACKED u;
  for (int i = 0; i < 3; ++i) u.c[i] = ScaleChannelUp((v >> f.nShift[i]) & f.nMax[i], f.nMax[i]);
  return u;
}

inline uint16_t Down(const UNPACKED& u, const GFXFIELDS16& f) {
  uint32_t v = 0;
  for (int i = 0; i < 3; ++i) v |= uint32_t(ScaleChannelDown(u.c[i], f.nMax[i])) << f.nShift[i];
  return uint16_t(v);
}

inline int Halve(int c, int k, int nLevel) {
  for (int i = 0; i < nLevel; ++i) c = (c + k) >> 1;
  return c;
}

inline int Fade(int c, int k, int t) { return (c * t + k * (256 - t)) >> 8; }

#if defined(__SSE2__)
// ---- Eight 16-bit pixels at a time ---------------------------------------
//
// f * 255 / max and c * max / 255 for the values that occur (f <= max,
// c <= 255) are exact as (x * m) >> s: 5-bit fields m 8457, s 18; 6-bit m
// 8323, s 19; back to the field m 4113, s 20 for both.

struct FIELDV {
  __m128i shift;  // for _mm_srl_epi16 / _mm_sll_epi16
  __m128i mask;
  __m128i max;
  __m128i upMul;
  __m128i upShift;
};

struct FIELDSV {
  FIELDV ch[3];
  __m128i keyMask;
};

bool IsVectorWidth(int nMax) { return nMax == 31 || nMax == 63; }

FIELDSV MakeFieldsV(const GFXFIELDS16& f) {
  FIELDSV v;
  for (int i = 0; i < 3; ++i) {
    v.ch[i].shift = _mm_cvtsi32_si128(f.nShift[i]);
    v.ch[i].mask = _mm_set1_epi16(short(f.nMax[i]));
    v.ch[i].max = v.ch[i].mask;
    v.ch[i].upMul = _mm_set1_epi16(short(f.nMax[i] == 31 ? 8457 : 8323));
    v.ch[i].upShift = _mm_cvtsi32_si128(f.nMax[i] == 31 ? 2 : 3);
  }
  v.keyMask = _mm_set1_epi16(short(f.wKeyMask));
  return v;
}

inline __m128i UpV(__m128i px, const FIELDV& c) {
  const __m128i field = _mm_and_si128(_mm_srl_epi16(px, c.shift), c.mask);
  const __m128i x = _mm_mullo_epi16(field, _mm_set1_epi16(255));
  return _mm_srl_epi16(_mm_mulhi_epu16(x, c.upMul), c.upShift);
}

inline __m128i DownV(__m128i ch, const FIELDV& c) {
  const __m128i x = _mm_mullo_epi16(ch, c.max);
  return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(4113)), 4);
}

inline __m128i PackV(const __m128i* ch, const FIELDSV& f) {
  return _mm_or_si128(_mm_or_si128(_mm_sll_epi16(DownV(ch[0], f.ch[0]), f.ch[0].shift),
                                   _mm_sll_epi16(DownV(ch[1], f.ch[1]), f.ch[1].shift)),
                      _mm_sll_epi16(DownV(ch[2], f.ch[2]), f.ch[2].shift));
}

inline __m128i Select(__m128i bTake, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(bTake, a), _mm_andnot_si128(bTake, b));
}

// The loops keep places of their own, as the engine's other hot loops do.
__attribute__((noinline, aligned(64))) int TintRow16V(uint16_t* d, const uint16_t* s, int n,
                                                      const GFXFIELDS16& f, GFXRGB k, int nLevel,
                                                      bool bKey, uint16_t wKey) {
  const FIELDSV fv = MakeFieldsV(f);
  const __m128i kv[3] = {_mm_set1_epi16(short(k.r)), _mm_set1_epi16(short(k.g)),
                         _mm_set1_epi16(short(k.b))};
  const __m128i key = _mm_set1_epi16(short(wKey & f.wKeyMask));
  const __m128i keyOn = _mm_set1_epi16(bKey ? -1 : 0);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i ch[3];
    for (int c = 0; c < 3; ++c) {
      ch[c] = UpV(sv, fv.ch[c]);
      for (int l = 0; l < nLevel; ++l) ch[c] = _mm_srli_epi16(_mm_add_epi16(ch[c], kv[c]), 1);
    }
    const __m128i out = PackV(ch, fv);
    const __m128i bSkip = _mm_and_si128(keyOn, _mm_cmpeq_epi16(_mm_and_si128(sv, fv.keyMask), key));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Select(bSkip, dv, out));
  }
  return i;
}

__attribute__((noinline, aligned(64))) int HalfMixRow16V(uint16_t* d, const uint16_t* s, int n,
                                                         const GFXFIELDS16& f, bool bKey,
                                                         uint16_t wKey) {
  const FIELDSV fv = MakeFieldsV(f);
  const __m128i key = _mm_set1_epi16(short(wKey & f.wKeyMask));
  const __m128i keyOn = _mm_set1_epi16(bKey ? -1 : 0);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i ch[3];
    for (int c = 0; c < 3; ++c)
      ch[c] = _mm_srli_epi16(_mm_add_epi16(UpV(sv, fv.ch[c]), UpV(dv, fv.ch[c])), 1);
    __m128i out = PackV(ch, fv);
    out = Select(_mm_cmpeq_epi16(_mm_and_si128(dv, fv.keyMask), key), sv, out);
    const __m128i bSkip = _mm_and_si128(keyOn, _mm_cmpeq_epi16(_mm_and_si128(sv, fv.keyMask), key));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), Select(bSkip, dv, out));
  }
  return i;
}

__attribute__((noinline, aligned(64))) int FadeRow16V(uint16_t* d, const uint16_t* s, int n,
                                                      const GFXFIELDS16& f, int nLevel, GFXRGB k) {
  const FIELDSV fv = MakeFieldsV(f);
  const __m128i t = _mm_set1_epi16(short(nLevel));
  // k (256 - t) <= 65280: the colour's share is one constant per channel.
  const __m128i kv[3] = {_mm_set1_epi16(short(k.r * (256 - nLevel))),
                         _mm_set1_epi16(short(k.g * (256 - nLevel))),
                         _mm_set1_epi16(short(k.b * (256 - nLevel)))};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i ch[3];
    for (int c = 0; c < 3; ++c)
      ch[c] = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(UpV(sv, fv.ch[c]), t), kv[c]), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), PackV(ch, fv));
  }
  return i;
}

bool UsesVectors(const GFXFIELDS16& f) {
  return IsVectorWidth(f.nMax[0]) && IsVectorWidth(f.nMax[1]) && IsVectorWidth(f.nMax[2]);
}
#endif

}  // namespace

void TintRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, GFXRGB k,
                     int nLevel, bool bKey, uint16_t wKey) {
  const uint16_t key = wKey & f.wKeyMask;
  for (int i = 0; i < n; ++i) {
    if (bKey && (s[i] & f.wKeyMask) == key) continue;
    UNPACKED u = Up(s[i], f);
    u.c[0] = Halve(u.c[0], k.r, nLevel);
    u.c[1] = Halve(u.c[1], k.g, nLevel);
    u.c[2] = Halve(u.c[2], k.b, nLevel);
    d[i] = Down(u, f);
  }
}

void TintRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, GFXRGB k, int nLevel,
               bool bKey, uint16_t wKey) {
  nLevel = std::clamp(nLevel, 0, kTintSettledSteps);
  int i = 0;
#if defined(__SSE2__)
  if (UsesVectors(f)) i = TintRow16V(d, s, n, f, k, nLevel, bKey, wKey);
#endif
  TintRow16Scalar(d + i, s + i, n - i, f, k, nLevel, bKey, wKey);
}

void HalfMixRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, bool bKey,
                        uint16_t wKey) {
  const uint16_t key = wKey & f.wKeyMask;
  for (int i = 0; i < n; ++i) {
    if (bKey && (s[i] & f.wKeyMask) == key) continue;
    if ((d[i] & f.wKeyMask) == key) {
      d[i] = s[i];
      continue;
    }
    const UNPACKED a = Up(s[i], f), b = Up(d[i], f);
    UNPACKED m;
    for (int c = 0; c < 3; ++c) m.c[c] = (a.c[c] + b.c[c]) >> 1;
    d[i] = Down(m, f);
  }
}

void HalfMixRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, bool bKey,
                  uint16_t wKey) {
  int i = 0;
#if defined(__SSE2__)
  if (UsesVectors(f)) i = HalfMixRow16V(d, s, n, f, bKey, wKey);
#endif
  HalfMixRow16Scalar(d + i, s + i, n - i, f, bKey, wKey);
}

void FadeRow16Scalar(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, int nLevel,
                     GFXRGB k) {
  for (int i = 0; i < n; ++i) {
    UNPACKED u = Up(s[i], f);
    u.c[0] = Fade(u.c[0], k.r, nLevel);
    u.c[1] = Fade(u.c[1], k.g, nLevel);
    u.c[2] = Fade(u.c[2], k.b, nLevel);
    d[i] = Down(u, f);
  }
}

void FadeRow16(uint16_t* d, const uint16_t* s, int n, const GFXFIELDS16& f, int nLevel, GFXRGB k) {
  nLevel = std::clamp(nLevel, 0, 256);
  int i = 0;
#if defined(__SSE2__)
  if (UsesVectors(f)) i = FadeRow16V(d, s, n, f, nLevel, k);
#endif
  FadeRow16Scalar(d + i, s + i, n - i, f, nLevel, k);
}

void TintRow32(uint32_t* d, const uint32_t* s, int n, GFXRGB k, int nLevel, bool bKey,
               uint32_t dwKey) {
  nLevel = std::clamp(nLevel, 0, kTintSettledSteps);
  const uint32_t key = dwKey & 0xFFFFFF;
  for (int i = 0; i < n; ++i) {
    const uint32_t v = s[i];
    if (bKey && (v & 0xFFFFFF) == key) continue;
    const uint32_t r = uint32_t(Halve(int(v >> 16) & 255, k.r, nLevel));
    const uint32_t g = uint32_t(Halve(int(v >> 8) & 255, k.g, nLevel));
    const uint32_t b = uint32_t(Halve(int(v) & 255, k.b, nLevel));
    d[i] = (d[i] & 0xFF000000u) | r << 16 | g << 8 | b;
  }
}

void HalfMixRow32Scalar(uint32_t* d, const uint32_t* s, int n, bool bKey, uint32_t dwKey) {
  const uint32_t key = dwKey & 0xFFFFFF;
  for (int i = 0; i < n; ++i) {
    const uint32_t v = s[i];
    if (bKey && (v & 0xFFFFFF) == key) continue;
    const uint32_t top = d[i] & 0xFF000000u;
    if ((d[i] & 0xFFFFFF) == key) {
      d[i] = top | (v & 0xFFFFFF);
      continue;
    }
    // Half of each byte, without carries between them.
    d[i] = top | (((v & d[i]) + (((v ^ d[i]) & 0xFEFEFE) >> 1)) & 0xFFFFFF);
  }
}

#if defined(BRIMVALE_WIDE_MIX)
namespace {

// HalfMixRow32's loop eight pixels at a time where the processor has 256-bit
// integer operations; how many pixels it did.
__attribute__((target("avx2"), noinline, aligned(64))) int HalfMixRow32W(uint32_t* d,
                                                                        const uint32_t* s, int n,
                                                                        bool bKey, uint32_t key) {
  using V8 = uint32_t __attribute__((vector_size(32)));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    V8 vs, vd;
    std::memcpy(&vs, s + i, sizeof vs);
    std::memcpy(&vd, d + i, sizeof vd);
    const V8 top = vd & 0xFF000000u;
    const V8 mix = top | (((vs & vd) + (((vs ^ vd) & 0xFEFEFE) >> 1)) & 0xFFFFFF);
    const V8 bDstKey = V8((vd & 0xFFFFFF) == key);
    V8 out = (bDstKey & (top | (vs & 0xFFFFFF))) | (~bDstKey & mix);
    if (bKey) {
      const V8 bSrcKey = V8((vs & 0xFFFFFF) == key);
      out = (bSrcKey & vd) | (~bSrcKey & out);
    }
    std::memcpy(d + i, &out, sizeof out);
  }
  // The upper halves of the wide registers cleared before other code runs.
  _mm256_zeroupper();
  return i;
}

bool HasWideMix() {
  static const bool bWide = __builtin_cpu_supports("avx2");
  return bWide;
}

}  // namespace
#endif

void HalfMixRow32(uint32_t* d, const uint32_t* s, int n, bool bKey, uint32_t dwKey) {
  const uint32_t key = dwKey & 0xFFFFFF;
  // Four pixels at a time, the three cases picked per lane by masks.
  using V4 = uint32_t __attribute__((vector_size(16)));
  int i = 0;
#if defined(BRIMVALE_WIDE_MIX)
  if (HasWideMix()) i = HalfMixRow32W(d, s, n, bKey, key);
#endif
  for (; i + 4 <= n; i += 4) {
    V4 vs, vd;
    std::memcpy(&vs, s + i, sizeof vs);
    std::memcpy(&vd, d + i, sizeof vd);
    const V4 top = vd & 0xFF000000u;
    const V4 mix = top | (((vs & vd) + (((vs ^ vd) & 0xFEFEFE) >> 1)) & 0xFFFFFF);
    const V4 bDstKey = V4((vd & 0xFFFFFF) == key);
    V4 out = (bDstKey & (top | (vs & 0xFFFFFF))) | (~bDstKey & mix);
    if (bKey) {
      const V4 bSrcKey = V4((vs & 0xFFFFFF) == key);
      out = (bSrcKey & vd) | (~bSrcKey & out);
    }
    std::memcpy(d + i, &out, sizeof out);
  }
  HalfMixRow32Scalar(d + i, s + i, n - i, bKey, dwKey);
}

void FadeRow32(uint32_t* d, const uint32_t* s, int n, int nLevel, GFXRGB k) {
  nLevel = std::clamp(nLevel, 0, 256);
  for (int i = 0; i < n; ++i) {
    const uint32_t v = s[i];
    const uint32_t r = uint32_t(Fade(int(v >> 16) & 255, k.r, nLevel));
    const uint32_t g = uint32_t(Fade(int(v >> 8) & 255, k.g, nLevel));
    const uint32_t b = uint32_t(Fade(int(v) & 255, k.b, nLevel));
    d[i] = (d[i] & 0xFF000000u) | r << 16 | g << 8 | b;
  }
}

}  // namespace plat::gfx
