// The quad rasteriser of the Direct3D-shaped face. Pixel centres sit at
// integer coordinates; a pixel is drawn when its centre lies inside the quad,
// with the top-left rule on edges. Texture coordinates are interpolated
// linearly and point-sampled at floor(u * width), wrapped.
//
// Axis-aligned quads (every blit and fill of the game) take a span path:
// when the texture rectangle spans whole texels, each column's texel comes
// from exact integer arithmetic (QuadTexelOffset), which is what the real-
// number rule gives; other quads are split into the strip's two triangles.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gfx/blit_kernels.h"
#include "platform/gfx/blit_strip.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/pixel_rules.h"
#include "platform/gfx/quad_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define BRIMVALE_WIDE_RECTS 1
#endif

namespace plat::gfx {

namespace {

uint32_t PickArg(int nArg, uint32_t tex, uint32_t dif, uint32_t tf) {
  switch (nArg & 0xF) {
    case TA_TEXTURE:
      return tex;
    case TA_TFACTOR:
      return tf;
    default:
      return dif;  // TA_DIFFUSE, and TA_CURRENT at stage 0
  }
}

int ApplyOp(int nOp, int a1, int a2, int nFactorAlpha) {
  switch (nOp) {
    case TOP_SELECTARG2:
      return a2;
    case TOP_MODULATE:
      return MulChannel(a1, a2);
    case TOP_ADD:
      return AddChannel(a1, a2);
    case TOP_SUBTRACT:
      return SubChannel(a1, a2);
    case TOP_BLENDFACTORALPHA:
      return LerpChannel(a1, a2, nFactorAlpha);
    default:
      return a1;  // TOP_SELECTARG1, and operations the engine does not know
  }
}

uint32_t Combine(const GFXTEXTURESTAGE& s, uint32_t tex, uint32_t dif, uint32_t tf) {
  if (s.nColorOp == TOP_DISABLE) return dif;
  const int fa = GetA(tf);
  const uint32_t c1 = PickArg(s.nColorArg1, tex, dif, tf);
  const uint32_t c2 = PickArg(s.nColorArg2, tex, dif, tf);
  const int r = ApplyOp(s.nColorOp, GetR(c1), GetR(c2), fa);
  const int g = ApplyOp(s.nColorOp, GetG(c1), GetG(c2), fa);
  const int b = ApplyOp(s.nColorOp, GetB(c1), GetB(c2), fa);
  int a;
  if (s.nAlphaOp == TOP_DISABLE) {
    a = GetA(dif);
  } else {
    a = ApplyOp(s.nAlphaOp, GetA(PickArg(s.nAlphaArg1, tex, dif, tf)),
                GetA(PickArg(s.nAlphaArg2, tex, dif, tf)), fa);
  }
  return MakeArgb(a, r, g, b);
}

template <int OP>
inline int ApplyOpT(int a1, int a2, int nFactorAlpha) {
  if constexpr (OP == TOP_SELECTARG2)
    return a2;
  else if constexpr (OP == TOP_MODULATE)
    return MulChannel(a1, a2);
  else if constexpr (OP == TOP_ADD)
    return AddChannel(a1, a2);
  else if constexpr (OP == TOP_SUBTRACT)
    return SubChannel(a1, a2);
  else if constexpr (OP == TOP_BLENDFACTORALPHA)
    return LerpChannel(a1, a2, nFactorAlpha);
  else
    return a1;
}

// Combine over a row of texels (in place), the colour operation chosen once
// per row; the same results as Combine.
template <int COP>
void CombineRowT(const GFXTEXTURESTAGE& s, uint32_t* pColors, int n, uint32_t dif, uint32_t tf) {
  const int fa = GetA(tf);
  for (int i = 0; i < n; ++i) {
    const uint32_t tex = pColors[i];
    const uint32_t c1 = PickArg(s.nColorArg1, tex, dif, tf);
    const uint32_t c2 = PickArg(s.nColorArg2, tex, dif, tf);
    const int a = s.nAlphaOp == TOP_DISABLE
                      ? GetA(dif)
                      : ApplyOp(s.nAlphaOp, GetA(PickArg(s.nAlphaArg1, tex, dif, tf)),
                                GetA(PickArg(s.nAlphaArg2, tex, dif, tf)), fa);
    pColors[i] =
        MakeArgb(a, ApplyOpT<COP>(GetR(c1), GetR(c2), fa), ApplyOpT<COP>(GetG(c1), GetG(c2), fa),
                 ApplyOpT<COP>(GetB(c1), GetB(c2), fa));
  }
}

void CombineRow(const GFXTEXTURESTAGE& s, uint32_t* pColors, int n, uint32_t dif, uint32_t tf) {
  switch (s.nColorOp) {
    case TOP_DISABLE:
      for (int i = 0; i < n; ++i) pColors[i] = dif;
      break;
    case TOP_SELECTARG2:
      CombineRowT<TOP_SELECTARG2>(s, pColors, n, dif, tf);
      break;
    case TOP_MODULATE:
      CombineRowT<TOP_MODULATE>(s, pColors, n, dif, tf);
      break;
    case TOP_ADD:
      CombineRowT<TOP_ADD>(s, pColors, n, dif, tf);
      break;
    case TOP_SUBTRACT:
      CombineRowT<TOP_SUBTRACT>(s, pColors, n, dif, tf);
      break;
    case TOP_BLENDFACTORALPHA:
      CombineRowT<TOP_BLENDFACTORALPHA>(s, pColors, n, dif, tf);
      break;
    default:
      CombineRowT<TOP_SELECTARG1>(s, pColors, n, dif, tf);
      break;
  }
}

uint32_t BlendArgb(uint32_t src, uint32_t dst) {
  const int a = GetA(src);
  return MakeArgb(LerpChannel(a, GetA(dst), a), LerpChannel(GetR(src), GetR(dst), a),
                  LerpChannel(GetG(src), GetG(dst), a), LerpChannel(GetB(src), GetB(dst), a));
}

// One pixel by the general rule: combine, blend, convert.
inline void ShadePixel(cImage& target, int x, int y, uint32_t tex, uint32_t dif,
                       const GFXTEXTURESTAGE& stage, uint32_t tf, bool bBlend) {
  uint32_t c = Combine(stage, tex, dif, tf);
  if (bBlend) c = BlendArgb(c, PixelToArgb(target.ReadPixel(x, y), target.GetFormat()));
  target.WritePixel(x, y, ArgbToPixel(c, target.GetFormat()));
}

// The 565 repacking of the 16-bit loops is the general rule's.
constexpr bool Texel1555To565IsTheRule() {
  for (uint32_t i = 0; i < 32768; ++i)
    if (Texel1555To565(uint16_t(i)) !=
        ArgbToPixel(PixelToArgb(i | 0x8000, ePixelFormat::A1R5G5B5), ePixelFormat::R5G6B5))
      return false;
  return true;
}
static_assert(Texel1555To565IsTheRule());

// Texel coordinates far beyond the texture wrap in double before they
// become ints.
int WrapFloor(double v, int nSize) {
  double f = std::floor(v);
  if (!(std::fabs(f) < 1e9)) f = std::fmod(f, double(nSize));
  return WrapTexel(int(f), nSize);
}

// The nearest integer of v when v lies within 1e-3 of one. Rounded by the
// 1.5 * 2^52 addition, exact for every |v| below 1e8 and free of library
// calls: this runs four times per quad.
bool NearInteger(double v, long long& n) {
  if (!(std::fabs(v) < 1e8)) return false;
  constexpr double kRound = 6755399441055744.0;
  const double r = (v + kRound) - kRound;
  n = static_cast<long long>(r);
  return std::fabs(v - r) < 1e-3;
}

// Which texel each pixel of a span reads along one axis: consecutive texels
// from nFirst (pIndex null), or one index per pixel.
struct AXISMAP {
  const int* pIndex = nullptr;
  int nFirst = 0;
  int At(int i) const { return pIndex ? pIndex[i] : nFirst + i; }
};

// Pixels p0 .. p0 + nCount - 1 of an axis whose quad covers w pixels from
// pixel e and spans sw texels (negative: backwards) from texel a, over a
// texture of nSize texels: QuadTexelOffset, wrapped. A same-size span
// reads consecutive texels, and needs no wrapping while it stays inside
// the texture.
AXISMAP MapAxisExact(int p0, int nCount, long long e, int w, long long a, int sw, int nSize,
                     std::vector<int>& buf) {
  const long long nStart = a + (p0 - e);
  if (sw == w && nStart >= 0 && nStart + nCount <= nSize) return {nullptr, int(nStart)};
  buf.resize(size_t(nCount));
  for (int i = 0; i < nCount; ++i) {
    const int k = int(p0 + i - e);
    buf[size_t(i)] = WrapTexel(int(a) + QuadTexelOffset(k, sw, w), nSize);
  }
  return {buf.data(), 0};
}

// The same for an axis-aligned quad given by floats: edges e0 < e1 with
// texture coordinates t0 .. t1. When the edges sit half-way between pixel
// centres and the coordinates land on whole texels, the exact rule above;
// otherwise each centre's coordinate is interpolated and floored.
AXISMAP MapAxis(int p0, int nCount, double e0, double e1, double t0, double t1, int nSize,
                std::vector<int>& buf) {
  long long a, b, twiceE0, twiceE1;
  const bool bExact = NearInteger(t0 * nSize, a) && NearInteger(t1 * nSize, b) &&
                      NearInteger(2 * e0, twiceE0) && NearInteger(2 * e1, twiceE1) &&
                      std::fabs(2 * e0 - double(twiceE0)) < 1e-9 &&
                      std::fabs(2 * e1 - double(twiceE1)) < 1e-9 && (twiceE0 & 1) && (twiceE1 & 1);
  if (bExact) {
    // Edges at n - 0.5: pixel k of the span has its centre k + 0.5 inside.
    const long long nFirst = (twiceE0 + 1) / 2;  // first pixel centre at or right of e0
    return MapAxisExact(p0, nCount, nFirst, int((twiceE1 - twiceE0) / 2), a, int(b - a), nSize,
                        buf);
  }
  buf.resize(size_t(nCount));
  for (int i = 0; i < nCount; ++i) {
    const double t = (double(p0 + i) - e0) / (e1 - e0);
    const double u = t0 + t * (t1 - t0);
    buf[size_t(i)] = WrapFloor(u * nSize, nSize);
  }
  return {buf.data(), 0};
}

struct RASTER {
  cImage* pTarget;
  const cImage* pTexture;  // null: opaque white texels
  GFXTEXTURESTAGE Stage;
  uint32_t dwTFactor;
  bool bBlend;
};

// Whether the stage passes the texel's colour straight through, and where
// the alpha comes from (texel or an opaque constant), for the span fast paths.
bool IsPassThrough(const GFXTEXTURESTAGE& s, uint32_t dif, bool& bTexAlpha) {
  const int c1 = s.nColorArg1 & 0xF, c2 = s.nColorArg2 & 0xF;
  const bool bDifArg1 = c1 == TA_DIFFUSE || c1 == TA_CURRENT;
  const bool bDifArg2 = c2 == TA_DIFFUSE || c2 == TA_CURRENT;
  bool bColor = false;
  if (s.nColorOp == TOP_SELECTARG1)
    bColor = c1 == TA_TEXTURE;
  else if (s.nColorOp == TOP_SELECTARG2)
    bColor = c2 == TA_TEXTURE;
  else if (s.nColorOp == TOP_MODULATE)
    bColor = (dif & 0xFFFFFF) == 0xFFFFFF &&
             ((c1 == TA_TEXTURE && bDifArg2) || (c2 == TA_TEXTURE && bDifArg1));
  if (!bColor) return false;
  const int a1 = s.nAlphaArg1 & 0xF, a2 = s.nAlphaArg2 & 0xF;
  const bool bDifOpaque = GetA(dif) == 255;
  if ((s.nAlphaOp == TOP_SELECTARG1 && a1 == TA_TEXTURE) ||
      (s.nAlphaOp == TOP_SELECTARG2 && a2 == TA_TEXTURE) ||
      (s.nAlphaOp == TOP_MODULATE && bDifOpaque &&
       ((a1 == TA_TEXTURE && (a2 == TA_DIFFUSE || a2 == TA_CURRENT)) ||
        (a2 == TA_TEXTURE && (a1 == TA_DIFFUSE || a1 == TA_CURRENT))))) {
    bTexAlpha = true;
    return true;
  }
  if (s.nAlphaOp == TOP_DISABLE && bDifOpaque) {
    bTexAlpha = false;
    return true;
  }
  return false;
}

bool UsesTexture(const GFXTEXTURESTAGE& s) {
  auto isTex = [](int a) { return (a & 0xF) == TA_TEXTURE; };
  if (s.nColorOp == TOP_DISABLE) return false;
  const bool bColor = (s.nColorOp != TOP_SELECTARG2 && isTex(s.nColorArg1)) ||
                      (s.nColorOp != TOP_SELECTARG1 && isTex(s.nColorArg2));
  const bool bAlpha =
      s.nAlphaOp != TOP_DISABLE && ((s.nAlphaOp != TOP_SELECTARG2 && isTex(s.nAlphaArg1)) ||
                                    (s.nAlphaOp != TOP_SELECTARG1 && isTex(s.nAlphaArg2)));
  return bColor || bAlpha;
}

// Texels of one row as ARGB, the format decided once per row.
void ReadTexels(const cImage& tex, int ty, const int* pCols, int n, uint32_t* pOut) {
  const uint8_t* row = tex.GetRow(ty);
  const auto* s32 = reinterpret_cast<const uint32_t*>(row);
  const auto* s16 = reinterpret_cast<const uint16_t*>(row);
  switch (tex.GetFormat()) {
    case ePixelFormat::A8R8G8B8:
      for (int i = 0; i < n; ++i) pOut[i] = s32[pCols[i]];
      break;
    case ePixelFormat::X8R8G8B8:
      for (int i = 0; i < n; ++i) pOut[i] = s32[pCols[i]] | 0xFF000000u;
      break;
    case ePixelFormat::A1R5G5B5:
      for (int i = 0; i < n; ++i) pOut[i] = PixelToArgb(s16[pCols[i]], ePixelFormat::A1R5G5B5);
      break;
    case ePixelFormat::X1R5G5B5:
      for (int i = 0; i < n; ++i) pOut[i] = PixelToArgb(s16[pCols[i]], ePixelFormat::X1R5G5B5);
      break;
    case ePixelFormat::R5G6B5:
      for (int i = 0; i < n; ++i) pOut[i] = PixelToArgb(s16[pCols[i]], ePixelFormat::R5G6B5);
      break;
    default:
      for (int i = 0; i < n; ++i) pOut[i] = 0xFFFFFFFFu;
      break;
  }
}

template <ePixelFormat F, typename T>
void WriteRowT(cImage& t, int x0, int y, const uint32_t* pColors, int n, bool bBlend) {
  T* d = reinterpret_cast<T*>(t.GetRow(y)) + x0;
  if (!bBlend) {
    for (int i = 0; i < n; ++i) d[i] = T(ArgbToPixel(pColors[i], F));
    return;
  }
  for (int i = 0; i < n; ++i) {
    const uint32_t c = pColors[i];
    const uint32_t a = c >> 24;
    if (a == 0) continue;
    d[i] = T(ArgbToPixel(a == 255 ? c : BlendArgb(c, PixelToArgb(d[i], F)), F));
  }
}

void WriteRow(cImage& t, int x0, int y, const uint32_t* pColors, int n, bool bBlend) {
  switch (t.GetFormat()) {
    case ePixelFormat::A8R8G8B8:
      WriteRowT<ePixelFormat::A8R8G8B8, uint32_t>(t, x0, y, pColors, n, bBlend);
      break;
    case ePixelFormat::X8R8G8B8:
      WriteRowT<ePixelFormat::X8R8G8B8, uint32_t>(t, x0, y, pColors, n, bBlend);
      break;
    case ePixelFormat::A1R5G5B5:
      WriteRowT<ePixelFormat::A1R5G5B5, uint16_t>(t, x0, y, pColors, n, bBlend);
      break;
    case ePixelFormat::X1R5G5B5:
      WriteRowT<ePixelFormat::X1R5G5B5, uint16_t>(t, x0, y, pColors, n, bBlend);
      break;
    case ePixelFormat::R5G6B5:
      WriteRowT<ePixelFormat::R5G6B5, uint16_t>(t, x0, y, pColors, n, bBlend);
      break;
    default:
      break;
  }
}

// ---- Row loops of the pass-through paths --------------------------------
//
// Keyed pictures have texel alpha 0 or 255 only. Four pixels at a time, a
// lane mask then picks the texel or what lies under it, with no branch per
// pixel; any other alpha goes through BlendArgb one pixel at a time.
// "Under" is the target's own pixel, or, when the span was just cleared
// (UNDER), the clear value every pixel of it holds.

using V4 = uint32_t __attribute__((vector_size(16)));
using V4S = int32_t __attribute__((vector_size(16)));

inline bool AllLanes(V4 m) {
  uint64_t q[2];
  std::memcpy(q, &m, sizeof q);
  return (q[0] & q[1]) == ~uint64_t(0);
}

template <bool UNDER>
inline void BlendPixel32(uint32_t& d, uint32_t c, uint32_t dwOr, uint32_t dwUnder) {
  const uint32_t a = c >> 24;
  if (a == 255)
    d = c | dwOr;
  else if (a != 0)
    d = BlendArgb(c, (UNDER ? dwUnder : d) | dwOr) | dwOr;
  else if (UNDER)
    d = dwUnder;
}

// Which lanes of a lane mask are set, as four bits.
inline unsigned LaneBits(V4 m) {
#if defined(__SSE2__)
  return unsigned(_mm_movemask_ps(_mm_castsi128_ps(__m128i(m))));
#else
  unsigned n = 0;
  for (int k = 0; k < 4; ++k) n |= (m[k] >> 31) << k;
  return n;
#endif
}

// Out of line and aligned: the loop's speed depends on where its code lands
// against the processor's 64-byte fetch blocks (a fifth slower at some
// places), so it keeps a place of its own that unrelated code moving
// elsewhere cannot shift. A whole rectangle per call: a sprite's rows are
// short, and a call per row cost as much as the row. Four texels at a time,
// a lane mask picks the texel or what lies under it, with no branch per
// texel while the alphas are 0 and 255 only.
template <bool UNDER>
inline void BlendGroup32(uint32_t* d, const uint32_t* s, V4 vs, uint32_t dwOr, uint32_t dwUnder) {
  const V4 a = vs >> 24;
  if (LaneBits(V4((a == 0) | (a == 255))) == 15) {
    const V4 bOpaque = V4(V4S(vs) >> 31);
    V4 vd;
    if constexpr (UNDER)
      vd = V4{} + dwUnder;
    else
      std::memcpy(&vd, d, sizeof vd);
    vd = ((vs | dwOr) & bOpaque) | (vd & ~bOpaque);
    std::memcpy(d, &vd, sizeof vd);
  } else {
    for (int k = 0; k < 4; ++k) BlendPixel32<UNDER>(d[k], s[k], dwOr, dwUnder);
  }
}

template <bool UNDER>
__attribute__((noinline, aligned(64))) void BlendRect32(uint32_t* d, size_t nDstStride,
                                                        const uint32_t* s, size_t nSrcStride, int w,
                                                        int h, uint32_t dwOr, uint32_t dwUnder) {
  const size_t n = w > 0 ? size_t(w) : 0;
  for (int j = 0; j < h; ++j, d += nDstStride, s += nSrcStride) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      V4 v0, v1;
      std::memcpy(&v0, s + i, sizeof v0);
      std::memcpy(&v1, s + i + 4, sizeof v1);
      // Eight transparent texels (a glyph cell is mostly such) leave the
      // target alone without reading it.
      if (!UNDER && LaneBits(V4(((v0 | v1) >> 24) == 0)) == 15) continue;
      BlendGroup32<UNDER>(d + i, s + i, v0, dwOr, dwUnder);
      BlendGroup32<UNDER>(d + i + 4, s + i + 4, v1, dwOr, dwUnder);
    }
    for (; i + 4 <= n; i += 4) {
      V4 vs;
      std::memcpy(&vs, s + i, sizeof vs);
      BlendGroup32<UNDER>(d + i, s + i, vs, dwOr, dwUnder);
    }
    for (; i < n; ++i) BlendPixel32<UNDER>(d[i], s[i], dwOr, dwUnder);
  }
}

#if defined(BRIMVALE_WIDE_RECTS)
// The group of texels k .. k + 7 of a row, of which those from i on are not
// done yet.
template <bool UNDER>
__attribute__((target("avx2"), always_inline)) inline void BlendGroup32W(
    uint32_t* d, const uint32_t* s, size_t k, size_t i, __m256i orv, __m256i under, uint32_t dwOr,
    uint32_t dwUnder) {
  const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
  const __m256i vs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + k));
  const __m256i a = _mm256_and_si256(vs, alpha);
  const __m256i opaque = _mm256_cmpeq_epi32(a, alpha);
  const __m256i either = _mm256_or_si256(opaque, _mm256_cmpeq_epi32(a, _mm256_setzero_si256()));
  __m256i* p = reinterpret_cast<__m256i*>(d + k);
  if (__builtin_expect(_mm256_movemask_epi8(either) == -1, 1)) {
    // Transparent texels leave the target unread and unwritten.
    if constexpr (UNDER)
      _mm256_storeu_si256(p, _mm256_blendv_epi8(under, _mm256_or_si256(vs, orv), opaque));
    else
      _mm256_maskstore_epi32(reinterpret_cast<int*>(p), opaque, _mm256_or_si256(vs, orv));
  } else {
    for (size_t m = i; m < k + 8; ++m) BlendPixel32<UNDER>(d[m], s[m], dwOr, dwUnder);
  }
}

// Eight texels at a time where the processor has 256-bit integer operations.
// A group whose alphas are all 0 or 255 writes its opaque texels through a
// lane mask, with no branch on which lanes are which: sprites mix
// opaque and transparent groups at random, and a mispredicted branch per
// group cost more than the group's whole work. The last group of a row ends at
// the row's end and may go over pixels already done: picking again gives
// the same pixels, so only groups with other alphas (blended pixel by pixel)
// must not repeat a pixel. Rows under eight texels take the narrow loop.
template <bool UNDER>
__attribute__((target("avx2"), noinline, aligned(64))) void BlendRect32W(
    uint32_t* d, size_t nDstStride, const uint32_t* s, size_t nSrcStride, int w, int h,
    uint32_t dwOr, uint32_t dwUnder) {
  const size_t n = w > 0 ? size_t(w) : 0;
  const __m256i orv = _mm256_set1_epi32(int(dwOr));
  const __m256i under = _mm256_set1_epi32(int(dwUnder));
  if (n >= 8)
    for (int j = 0; j < h; ++j, d += nDstStride, s += nSrcStride) {
      size_t i = 0;
      for (; i + 8 <= n; i += 8) BlendGroup32W<UNDER>(d, s, i, i, orv, under, dwOr, dwUnder);
      if (i < n) BlendGroup32W<UNDER>(d, s, n - 8, i, orv, under, dwOr, dwUnder);
    }
  // The upper halves of the wide registers cleared before any other code
  // runs (the compiler leaves them to a function widened by attribute).
  _mm256_zeroupper();
  if (n < 8) BlendRect32<UNDER>(d, nDstStride, s, nSrcStride, w, h, dwOr, dwUnder);
}

bool HasWideRects() {
  static const bool bWide = __builtin_cpu_supports("avx2");
  return bWide;
}
#endif

// BlendRect32, eight texels at a time where the processor allows.
template <bool UNDER>
void BlendRect(uint32_t* d, size_t nDstStride, const uint32_t* s, size_t nSrcStride, int w, int h,
               uint32_t dwOr, uint32_t dwUnder) {
#if defined(BRIMVALE_WIDE_RECTS)
  if (HasWideRects()) {
    BlendRect32W<UNDER>(d, nDstStride, s, nSrcStride, w, h, dwOr, dwUnder);
    return;
  }
#endif
  BlendRect32<UNDER>(d, nDstStride, s, nSrcStride, w, h, dwOr, dwUnder);
}

void OrRow32(uint32_t* d, const uint32_t* s, int w, uint32_t dwOr) {
  int i = 0;
  for (; i + 4 <= w; i += 4) {
    V4 v;
    std::memcpy(&v, s + i, sizeof v);
    v |= dwOr;
    std::memcpy(d + i, &v, sizeof v);
  }
  for (; i < w; ++i) d[i] = s[i] | dwOr;
}

// ---- 16-bit texels (1555) onto 16-bit targets ----------------------------
//
// A texel's colour on a 565 target is Texel1555To565 (pixel_rules.h), on a
// 1555 target the texel with its alpha bit set. Eight texels at a time as
// in the 32-bit loop: the alpha bit says opaque or transparent.

using V8 = uint16_t __attribute__((vector_size(16)));
using V8S = int16_t __attribute__((vector_size(16)));

template <bool TO565>
inline uint16_t Opaque16(uint16_t c) {
  if constexpr (TO565)
    return Texel1555To565(c);
  else
    return uint16_t(c | 0x8000);
}

template <bool TO565>
inline V8 Opaque16(V8 c) {
  if constexpr (TO565)
    return V8((c & 0x7FE0) << 1) | ((c >> 4) & 0x20) | (c & 0x1F);
  else
    return c | 0x8000;
}

// Every texel converted (textures without alpha, or drawing unblended):
// nAnd keeps or drops the 1555 alpha bit of a transparent texel.
template <bool TO565>
__attribute__((noinline)) void ConvertRow16(uint16_t* d, const uint16_t* s, int w, uint16_t nOr) {
  const size_t n = w > 0 ? size_t(w) : 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    V8 c;
    std::memcpy(&c, s + i, sizeof c);
    c |= nOr;
    const V8 v = TO565 ? Opaque16<true>(c) : c;
    std::memcpy(d + i, &v, sizeof v);
  }
  for (; i < n; ++i) {
    const uint16_t c = uint16_t(s[i] | nOr);
    d[i] = TO565 ? Opaque16<true>(c) : c;
  }
}

// A rectangle per call, as BlendRect32.
template <bool TO565, bool UNDER>
__attribute__((noinline, aligned(64))) void KeyRect16(uint16_t* d, size_t nDstStride,
                                                      const uint16_t* s, size_t nSrcStride, int w,
                                                      int h, uint16_t nUnder) {
  const size_t n = w > 0 ? size_t(w) : 0;
  for (int j = 0; j < h; ++j, d += nDstStride, s += nSrcStride) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      V8 c;
      std::memcpy(&c, s + i, sizeof c);
      const V8 m = V8(V8S(c) >> 15);
      // Eight transparent texels leave the target alone without reading it.
      if (!UNDER && LaneBits(V4(m)) == 0) continue;
      V8 vd;
      if constexpr (UNDER)
        vd = V8{} + nUnder;
      else
        std::memcpy(&vd, d + i, sizeof vd);
      vd = (Opaque16<TO565>(c) & m) | (vd & ~m);
      std::memcpy(d + i, &vd, sizeof vd);
    }
    for (; i < n; ++i) {
      const uint16_t c = s[i];
      if (c & 0x8000)
        d[i] = Opaque16<TO565>(c);
      else if (UNDER)
        d[i] = nUnder;
    }
  }
}

// The texel indices of a span as an array, for the loops that gather.
const int* IndexArray(const AXISMAP& m, int n) {
  if (m.pIndex) return m.pIndex;
  thread_local std::vector<int> linear;
  linear.resize(size_t(n));
  for (int i = 0; i < n; ++i) linear[size_t(i)] = m.nFirst + i;
  return linear.data();
}

// pUnder: the span was just cleared to this pixel value (nullptr: it was not).
// What a stage does with a texture, worked out once for a run of quads that
// share it: whether the texel's colour passes straight through, and where
// its alpha comes from.
struct SPANPLAN {
  bool bPass = false;
  bool bTexAlpha = false;
};

SPANPLAN MakePlan(const RASTER& r, uint32_t dif) {
  SPANPLAN plan;
  plan.bPass = r.pTexture && IsPassThrough(r.Stage, dif, plan.bTexAlpha);
  return plan;
}

void DrawSpans(const RASTER& r, int x0, int x1, int y0, int y1, const AXISMAP& cols,
               const AXISMAP& rows, uint32_t dif, const uint32_t* pUnder, const SPANPLAN& plan) {
  cImage& t = *r.pTarget;
  const cImage* tex = r.pTexture;
  const ePixelFormat tf = t.GetFormat();
  const bool bTexAlpha = plan.bTexAlpha;
  const bool bPass = plan.bPass;
  const int w = x1 - x0;
  const bool bLinearCols = cols.pIndex == nullptr;

  if (bPass && tex->GetBytesPerPixel() == 4 && t.GetBytesPerPixel() == 4) {
    // Every pixel of the span is written unless transparent texels are left
    // out, so only that case needs the clear value.
    const bool bTexHasAlpha = bTexAlpha && tex->GetFormat() == ePixelFormat::A8R8G8B8;
    const uint32_t dwOr = tf == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
    const uint32_t dwUnder = pUnder ? *pUnder : 0u;
    const size_t nDstStride = size_t(t.GetPitch()) / 4, nSrcStride = size_t(tex->GetPitch()) / 4;
    for (int j = 0; j < y1 - y0; ++j) {
      const auto* s = reinterpret_cast<const uint32_t*>(tex->GetRow(rows.At(j)));
      auto* d = reinterpret_cast<uint32_t*>(t.GetRow(y0 + j)) + x0;
      const uint32_t dwRowOr = bTexHasAlpha ? dwOr : 0xFF000000u;
      if (!bTexHasAlpha || !r.bBlend) {
        if (bLinearCols)
          OrRow32(d, s + cols.nFirst, w, dwRowOr);
        else
          for (int i = 0; i < w; ++i) d[i] = s[cols.pIndex[i]] | dwRowOr;
      } else if (bLinearCols) {
        // A rectangle of consecutive rows in one call, else row by row.
        const int nRows = rows.pIndex ? 1 : y1 - y0;
        if (pUnder)
          BlendRect<true>(d, nDstStride, s + cols.nFirst, nSrcStride, w, nRows, dwOr, dwUnder);
        else
          BlendRect<false>(d, nDstStride, s + cols.nFirst, nSrcStride, w, nRows, dwOr, 0);
        if (!rows.pIndex) break;
      } else {
        for (int i = 0; i < w; ++i) {
          if (pUnder)
            BlendPixel32<true>(d[i], s[cols.pIndex[i]], dwOr, dwUnder);
          else
            BlendPixel32<false>(d[i], s[cols.pIndex[i]], dwOr, 0);
        }
      }
    }
    return;
  }
  if (bPass && tex->GetBytesPerPixel() == 2 && tex->GetFormat() != ePixelFormat::R5G6B5 &&
      (tf == ePixelFormat::R5G6B5 || tf == ePixelFormat::A1R5G5B5)) {
    const bool b565 = tf == ePixelFormat::R5G6B5;
    const bool bTexHasAlpha = bTexAlpha && tex->GetFormat() == ePixelFormat::A1R5G5B5;
    // A texture without alpha counts every texel opaque.
    const uint16_t nOr = bTexHasAlpha ? 0 : 0x8000;
    const bool bKeyed = bTexHasAlpha && r.bBlend;
    const uint16_t nUnder = pUnder ? uint16_t(*pUnder) : 0;
    thread_local std::vector<uint16_t> gathered;
    if (!bLinearCols) gathered.resize(size_t(w));
    const size_t nDstStride = size_t(t.GetPitch()) / 2, nSrcStride = size_t(tex->GetPitch()) / 2;
    for (int j = 0; j < y1 - y0; ++j) {
      const auto* s = reinterpret_cast<const uint16_t*>(tex->GetRow(rows.At(j)));
      auto* d = reinterpret_cast<uint16_t*>(t.GetRow(y0 + j)) + x0;
      if (bLinearCols) {
        s += cols.nFirst;
      } else {
        for (int i = 0; i < w; ++i) gathered[size_t(i)] = s[cols.pIndex[i]];
        s = gathered.data();
      }
      if (!bKeyed) {
        if (b565)
          ConvertRow16<true>(d, s, w, nOr);
        else
          ConvertRow16<false>(d, s, w, nOr);
        continue;
      }
      // A rectangle of consecutive rows in one call, else row by row.
      const int nRows = bLinearCols && !rows.pIndex ? y1 - y0 : 1;
      if (pUnder) {
        if (b565)
          KeyRect16<true, true>(d, nDstStride, s, nSrcStride, w, nRows, nUnder);
        else
          KeyRect16<false, true>(d, nDstStride, s, nSrcStride, w, nRows, nUnder);
      } else {
        if (b565)
          KeyRect16<true, false>(d, nDstStride, s, nSrcStride, w, nRows, 0);
        else
          KeyRect16<false, false>(d, nDstStride, s, nSrcStride, w, nRows, 0);
      }
      if (nRows > 1) break;
    }
    return;
  }
  // Everything else, over the cleared span: stages that reduce to a product
  // and a sum per channel in one fused pass on 32-bit targets, the general
  // rule a row at a time otherwise.
  if (pUnder) FillRectRaw(cImageView(&t, {x0, y0, x1, y1}), *pUnder);
  const bool bUsesTexture = tex && UsesTexture(r.Stage);
  const bool bTarget32 = t.GetBytesPerPixel() == 4;
  if (!bUsesTexture) {
    const uint32_t c = Combine(r.Stage, 0xFFFFFFFFu, dif, r.dwTFactor);
    if (bTarget32 && r.bBlend) {
      const uint32_t dwOutOr = tf == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
      for (int j = 0; j < y1 - y0; ++j)
        BlendConstRow32(reinterpret_cast<uint32_t*>(t.GetRow(y0 + j)) + x0, w, c, dwOutOr);
      return;
    }
    if (!r.bBlend) {
      FillRectRaw(cImageView(&t, {x0, y0, x1, y1}), ArgbToPixel(c, tf));
      return;
    }
  }
  GFXSHADEROW fused;
  if (bUsesTexture && !bTarget32 && tex->GetBytesPerPixel() == 2 &&
      ReduceStage16(r.Stage, dif, r.dwTFactor, tex->GetFormat(), tf, r.bBlend, fused)) {
    thread_local std::vector<uint16_t> texels;
    if (!bLinearCols) texels.resize(size_t(w));
    for (int j = 0; j < y1 - y0; ++j) {
      const auto* s = reinterpret_cast<const uint16_t*>(tex->GetRow(rows.At(j)));
      if (bLinearCols) {
        s += cols.nFirst;
      } else {
        for (int i = 0; i < w; ++i) texels[size_t(i)] = s[cols.pIndex[i]];
        s = texels.data();
      }
      ShadeRow16(reinterpret_cast<uint16_t*>(t.GetRow(y0 + j)) + x0, s, w, fused);
    }
    return;
  }
  thread_local std::vector<uint32_t> colors;
  colors.resize(size_t(w));
  const bool bFused32 =
      bUsesTexture && bTarget32 && tex->GetBytesPerPixel() == 4 &&
      ReduceStage(r.Stage, dif, r.dwTFactor, tex->GetFormat(), tf, r.bBlend, fused);
  const bool bFusedArgb =
      bUsesTexture && bTarget32 && !bFused32 &&
      ReduceStage(r.Stage, dif, r.dwTFactor, ePixelFormat::A8R8G8B8, tf, r.bBlend, fused);
  if (!bUsesTexture) {
    const uint32_t c = Combine(r.Stage, 0xFFFFFFFFu, dif, r.dwTFactor);
    std::fill(colors.begin(), colors.end(), c);
  }
  if (bFused32 && bLinearCols && !rows.pIndex) {
    // Consecutive rows of consecutive texels: the rectangle in one call.
    ShadeRect32(reinterpret_cast<uint32_t*>(t.GetRow(y0)) + x0, size_t(t.GetPitch()) / 4,
                reinterpret_cast<const uint32_t*>(tex->GetRow(rows.At(0))) + cols.nFirst,
                size_t(tex->GetPitch()) / 4, w, y1 - y0, fused);
    return;
  }
  const int* pCols = bUsesTexture && !bFused32 ? IndexArray(cols, w) : nullptr;
  for (int j = 0; j < y1 - y0; ++j) {
    auto* d32 = reinterpret_cast<uint32_t*>(t.GetRow(y0 + j)) + x0;
    if (bFused32) {
      const auto* s = reinterpret_cast<const uint32_t*>(tex->GetRow(rows.At(j)));
      if (bLinearCols) {
        ShadeRow32(d32, s + cols.nFirst, w, fused);
      } else {
        for (int i = 0; i < w; ++i) colors[size_t(i)] = s[cols.pIndex[i]];
        ShadeRow32(d32, colors.data(), w, fused);
      }
      continue;
    }
    if (bUsesTexture) ReadTexels(*tex, rows.At(j), pCols, w, colors.data());
    if (bFusedArgb) {
      ShadeRow32(d32, colors.data(), w, fused);
      continue;
    }
    if (bUsesTexture) CombineRow(r.Stage, colors.data(), w, dif, r.dwTFactor);
    WriteRow(t, x0, y0 + j, colors.data(), w, r.bBlend);
  }
}

// The clear of ClearAndDrawQuad, still to be done: the rectangle (already
// cut to the target) and the pixel value.
struct PENDINGCLEAR {
  GFXRECT Rect;
  uint32_t dwPixel;
};

void DoClear(cImage& t, const PENDINGCLEAR* pClear) {
  if (pClear && pClear->Rect.nLeft < pClear->Rect.nRight &&
      pClear->Rect.nTop < pClear->Rect.nBottom)
    FillRectRaw(cImageView(&t, pClear->Rect), pClear->dwPixel);
}

// The pending clear of a quad whose pixels are x0..x1, y0..y1: when it
// covers exactly those, its value, for the span to write under the quad in
// the same pass; otherwise it is done now and there is none.
const uint32_t* ClearOrUnder(cImage& t, const PENDINGCLEAR* pClear, int x0, int x1, int y0,
                             int y1) {
  if (!pClear) return nullptr;
  const GFXRECT& c = pClear->Rect;
  if (c.nLeft == x0 && c.nRight == x1 && c.nTop == y0 && c.nBottom == y1) return &pClear->dwPixel;
  DoClear(t, pClear);
  return nullptr;
}

// False when the quad is not axis-aligned (nothing done then, the pending
// clear included); otherwise the clear is done (in the same pass when the
// quad's pixels are its rectangle) and the quad drawn.
bool DrawAxisAligned(const RASTER& r, const GFXVERTEX* v, const PENDINGCLEAR* pClear) {
  if (!(v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y &&
        v[0].u == v[1].u && v[2].u == v[3].u && v[0].v == v[2].v && v[1].v == v[3].v &&
        v[0].dwDiffuse == v[1].dwDiffuse && v[0].dwDiffuse == v[2].dwDiffuse &&
        v[0].dwDiffuse == v[3].dwDiffuse))
    return false;
  double ex0 = v[0].x, ex1 = v[2].x, ey0 = v[0].y, ey1 = v[1].y;
  double u0 = v[0].u, u1 = v[2].u, t0 = v[0].v, t1 = v[1].v;
  if (ex1 < ex0) {
    std::swap(ex0, ex1);
    std::swap(u0, u1);
  }
  if (ey1 < ey0) {
    std::swap(ey0, ey1);
    std::swap(t0, t1);
  }
  cImage& t = *r.pTarget;
  if (!(ex1 > ex0) || !(ey1 > ey0)) {  // empty
    DoClear(t, pClear);
    return true;
  }
  // Centres p with e0 <= p < e1, clipped to the target.
  const double dx0 = std::max(std::ceil(ex0), 0.0),
               dx1 = std::min(std::ceil(ex1), double(t.GetWidth()));
  const double dy0 = std::max(std::ceil(ey0), 0.0),
               dy1 = std::min(std::ceil(ey1), double(t.GetHeight()));
  if (!(dx1 > dx0) || !(dy1 > dy0)) {
    DoClear(t, pClear);
    return true;
  }
  const int x0 = int(dx0), x1 = int(dx1), y0 = int(dy0), y1 = int(dy1);
  const uint32_t* pUnder = ClearOrUnder(t, pClear, x0, x1, y0, y1);
  thread_local std::vector<int> colBuf, rowBuf;
  AXISMAP cols, rows;
  if (r.pTexture) {
    cols = MapAxis(x0, x1 - x0, ex0, ex1, u0, u1, r.pTexture->GetWidth(), colBuf);
    rows = MapAxis(y0, y1 - y0, ey0, ey1, t0, t1, r.pTexture->GetHeight(), rowBuf);
  }
  DrawSpans(r, x0, x1, y0, y1, cols, rows, v[0].dwDiffuse, pUnder, MakePlan(r, v[0].dwDiffuse));
  return true;
}

// Whether the float strip of the quad lands on whole pixels and texels
// exactly, so that the integer rule gives its pixels: positions and texel
// numbers this small are exact in floats, and a texture coordinate times
// the texture size comes back within 1e-3 of its texel.
bool IsExactBlitRect(const GFXBLITRECT& q) {
  constexpr int kLimit = 8192;
  auto small = [](long long n) { return n >= -kLimit && n <= kLimit; };
  return q.nWidth > 0 && q.nHeight > 0 && small(q.x) && small(q.y) &&
         small(q.x + (long long)q.nWidth) && small(q.y + (long long)q.nHeight) && small(q.nSrcX) &&
         small(q.nSrcY) && small(q.nSrcX + (long long)q.nSrcWidth) &&
         small(q.nSrcY + (long long)q.nSrcHeight) && q.nSrcWidth != 0 && q.nSrcHeight != 0;
}

// DrawAxisAligned for a quad of whole pixels and texels (IsExactBlitRect).
void DrawExactRect(const RASTER& r, const GFXBLITRECT& q, const PENDINGCLEAR* pClear,
                   const SPANPLAN& plan) {
  cImage& t = *r.pTarget;
  const int x0 = std::max(q.x, 0), x1 = std::min(q.x + q.nWidth, t.GetWidth());
  const int y0 = std::max(q.y, 0), y1 = std::min(q.y + q.nHeight, t.GetHeight());
  if (x1 <= x0 || y1 <= y0) {
    DoClear(t, pClear);
    return;
  }
  const uint32_t* pUnder = ClearOrUnder(t, pClear, x0, x1, y0, y1);
  thread_local std::vector<int> colBuf, rowBuf;
  AXISMAP cols, rows;
  if (r.pTexture) {
    cols = MapAxisExact(x0, x1 - x0, q.x, q.nWidth, q.nSrcX, q.nSrcWidth, r.pTexture->GetWidth(),
                        colBuf);
    rows = MapAxisExact(y0, y1 - y0, q.y, q.nHeight, q.nSrcY, q.nSrcHeight, r.pTexture->GetHeight(),
                        rowBuf);
  }
  DrawSpans(r, x0, x1, y0, y1, cols, rows, q.dwDiffuse, pUnder, plan);
}

// A run of quads whose stage passes keyed texels straight onto the target
// (the sprites of a batch): what DrawSpans would work out for each of them,
// worked out once, so that a same-size quad inside its texture goes to the
// rectangle loop with nothing but its clipping in between.
enum class eKeyedRun { None, Keyed32, Keyed565, Keyed1555 };

struct KEYEDRUN {
  eKeyedRun Kind = eKeyedRun::None;
  cImage* pTarget = nullptr;
  const cImage* pTexture = nullptr;
  uint32_t dwOr = 0;
};

KEYEDRUN MakeKeyedRun(const RASTER& r, const SPANPLAN& plan) {
  KEYEDRUN run;
  if (!plan.bPass || !plan.bTexAlpha || !r.bBlend || !r.pTexture) return run;
  const ePixelFormat tf = r.pTarget->GetFormat(), xf = r.pTexture->GetFormat();
  run.pTarget = r.pTarget;
  run.pTexture = r.pTexture;
  if (xf == ePixelFormat::A8R8G8B8 && r.pTarget->GetBytesPerPixel() == 4) {
    run.Kind = eKeyedRun::Keyed32;
    run.dwOr = tf == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
  } else if (xf == ePixelFormat::A1R5G5B5 && tf == ePixelFormat::R5G6B5) {
    run.Kind = eKeyedRun::Keyed565;
  } else if (xf == ePixelFormat::A1R5G5B5 && tf == ePixelFormat::A1R5G5B5) {
    run.Kind = eKeyedRun::Keyed1555;
  }
  return run;
}

// The quad drawn when it is exact (IsExactBlitRect), of its texture's size
// on screen and inside the texture once clipped, and true; false, with
// nothing drawn, for any other quad.
bool DrawKeyedSameSize(const KEYEDRUN& run, const GFXBLITRECT& q) {
  if (q.nSrcWidth != q.nWidth || q.nSrcHeight != q.nHeight || !IsExactBlitRect(q)) return false;
  cImage& t = *run.pTarget;
  const cImage& tex = *run.pTexture;
  const int x0 = std::max(q.x, 0), x1 = std::min(q.x + q.nWidth, t.GetWidth());
  const int y0 = std::max(q.y, 0), y1 = std::min(q.y + q.nHeight, t.GetHeight());
  if (x1 <= x0 || y1 <= y0) return true;
  const int sx = q.nSrcX + (x0 - q.x), sy = q.nSrcY + (y0 - q.y);
  if (sx < 0 || sy < 0 || sx + (x1 - x0) > tex.GetWidth() || sy + (y1 - y0) > tex.GetHeight())
    return false;
  const size_t nBytes = size_t(t.GetBytesPerPixel());
  uint8_t* d = t.GetRow(y0) + size_t(x0) * nBytes;
  const uint8_t* s = tex.GetRow(sy) + size_t(sx) * nBytes;
  const size_t nDstStride = size_t(t.GetPitch()) / nBytes, nSrcStride = size_t(tex.GetPitch()) / nBytes;
  switch (run.Kind) {
    case eKeyedRun::Keyed32:
      BlendRect<false>(reinterpret_cast<uint32_t*>(d), nDstStride,
                       reinterpret_cast<const uint32_t*>(s), nSrcStride, x1 - x0, y1 - y0, run.dwOr,
                       0);
      break;
    case eKeyedRun::Keyed565:
      KeyRect16<true, false>(reinterpret_cast<uint16_t*>(d), nDstStride,
                             reinterpret_cast<const uint16_t*>(s), nSrcStride, x1 - x0, y1 - y0, 0);
      break;
    case eKeyedRun::Keyed1555:
      KeyRect16<false, false>(reinterpret_cast<uint16_t*>(d), nDstStride,
                              reinterpret_cast<const uint16_t*>(s), nSrcStride, x1 - x0, y1 - y0, 0);
      break;
    case eKeyedRun::None:
      return false;
  }
  return true;
}

// One edge of a triangle, as the inside test reads it: a pixel centre (x, y)
// passes when w = dx (y - py) - dy (x - px) is above 0, or 0 on a top or
// left edge. w is computed the same way wherever it is tested, and it is
// monotone in x along a row, so the centres that pass form one run.
struct EDGE {
  double px, py, dx, dy;
  bool bTopLeft;
};

EDGE MakeEdge(const GFXVERTEX& p, const GFXVERTEX& q) {
  const double dy = double(q.y) - p.y, dx = double(q.x) - p.x;
  return {p.x, p.y, dx, dy, (dy == 0 && dx > 0) || dy < 0};
}

inline bool Inside(const EDGE& e, int x, double y) {
  const double w = e.dx * (y - e.py) - e.dy * (double(x) - e.px);
  return w > 0 || (w == 0 && e.bTopLeft);
}

// The first x of lo..hi + 1 whose test equals bWant, the tests being
// monotone (!bWant ... bWant): a guess from the edge's crossing, checked and
// walked a few steps, with a halving search when the guess is far off.
int FirstWhere(const EDGE& e, double y, int lo, int hi, double xGuess, bool bWant) {
  auto ok = [&](int x) { return Inside(e, x, y) == bWant; };
  int x =
      std::isfinite(xGuess) ? int(std::clamp(std::ceil(xGuess), double(lo), double(hi + 1))) : lo;
  for (int nStep = 0; nStep < 4; ++nStep) {
    const bool bHere = x > hi || ok(x);
    const bool bBefore = x > lo && ok(x - 1);
    if (bHere && !bBefore) return x;
    x += bHere ? -1 : 1;
  }
  int a = lo, b = hi + 1;  // ok(b) counts as true
  while (a < b) {
    const int m = a + (b - a) / 2;
    if (ok(m))
      b = m;
    else
      a = m + 1;
  }
  return a;
}

// Cuts lo..hi of row y to the centres inside the edge; false when none are.
bool CutToEdge(const EDGE& e, double y, int& lo, int& hi) {
  if (e.dy == 0) return Inside(e, lo, y);
  const double xCross = e.px + e.dx * (y - e.py) / e.dy;
  if (e.dy < 0) {
    lo = FirstWhere(e, y, lo, hi, xCross, true);  // w grows with x
  } else {
    hi = FirstWhere(e, y, lo, hi, xCross, false) - 1;  // w falls with x
  }
  return lo <= hi;
}

// A quantity interpolated linearly over a triangle: f(x, y) = f0 + fx (x -
// x0) + fy (y - y0).
struct PLANE {
  double f0 = 0, fx = 0, fy = 0, x0 = 0, y0 = 0;
  double At(double x, double y) const { return f0 + fx * (x - x0) + fy * (y - y0); }
};

PLANE MakePlane(const GFXVERTEX& a, const GFXVERTEX& b, const GFXVERTEX& c, double fa, double fb,
                double fc, double area) {
  const double bx = double(b.x) - a.x, by = double(b.y) - a.y;
  const double cx = double(c.x) - a.x, cy = double(c.y) - a.y;
  PLANE p;
  p.f0 = fa;
  p.fx = ((fb - fa) * cy - (fc - fa) * by) / area;
  p.fy = ((fc - fa) * bx - (fb - fa) * cx) / area;
  p.x0 = a.x;
  p.y0 = a.y;
  return p;
}

// A convex area to fill: its edges facing inward, and what is interpolated
// over it (texture coordinates in texels, the diffuse channels when they
// differ between the vertices).
struct POLYGON {
  EDGE Edges[4];
  int nEdges = 0;
  PLANE U, V;
  bool bFlat = true;
  uint32_t dwDiffuse = 0;
  PLANE Dif[4];
  double dMinX = 0, dMaxX = 0, dMinY = 0, dMaxY = 0;
};

double EdgeFn(const GFXVERTEX& p, const GFXVERTEX& q, double x, double y) {
  return (double(q.x) - p.x) * (y - p.y) - (double(q.y) - p.y) * (x - p.x);
}

// The planes of triangle a, b, c (area: its doubled signed area, not 0).
void SetPlanes(POLYGON& poly, const GFXVERTEX& a, const GFXVERTEX& b, const GFXVERTEX& c,
               double area, int nTexW, int nTexH) {
  poly.U = MakePlane(a, b, c, double(a.u) * nTexW, double(b.u) * nTexW, double(c.u) * nTexW, area);
  poly.V = MakePlane(a, b, c, double(a.v) * nTexH, double(b.v) * nTexH, double(c.v) * nTexH, area);
  poly.dwDiffuse = a.dwDiffuse;
  poly.bFlat = a.dwDiffuse == b.dwDiffuse && a.dwDiffuse == c.dwDiffuse;
  if (!poly.bFlat)
    for (int k = 0; k < 4; ++k) {
      const int s = 24 - 8 * k;
      poly.Dif[k] =
          MakePlane(a, b, c, double((a.dwDiffuse >> s) & 0xFF), double((b.dwDiffuse >> s) & 0xFF),
                    double((c.dwDiffuse >> s) & 0xFF), area);
    }
}

void SetBounds(POLYGON& poly, const GFXVERTEX* const* pVertices, int n) {
  poly.dMinX = poly.dMaxX = pVertices[0]->x;
  poly.dMinY = poly.dMaxY = pVertices[0]->y;
  for (int i = 1; i < n; ++i) {
    poly.dMinX = std::min(poly.dMinX, double(pVertices[i]->x));
    poly.dMaxX = std::max(poly.dMaxX, double(pVertices[i]->x));
    poly.dMinY = std::min(poly.dMinY, double(pVertices[i]->y));
    poly.dMaxY = std::max(poly.dMaxY, double(pVertices[i]->y));
  }
}

// False for a triangle without area.
bool MakeTriangle(const GFXVERTEX& a0, const GFXVERTEX& b0, const GFXVERTEX& c0, int nTexW,
                  int nTexH, POLYGON& poly) {
  const GFXVERTEX* a = &a0;
  const GFXVERTEX* b = &b0;
  const GFXVERTEX* c = &c0;
  double area = EdgeFn(*a, *b, c->x, c->y);
  if (area == 0 || !std::isfinite(area)) return false;
  if (area < 0) {
    std::swap(b, c);
    area = -area;
  }
  poly.Edges[0] = MakeEdge(*b, *c);
  poly.Edges[1] = MakeEdge(*c, *a);
  poly.Edges[2] = MakeEdge(*a, *b);
  poly.nEdges = 3;
  SetPlanes(poly, *a, *b, *c, area, nTexW, nTexH);
  const GFXVERTEX* all[3] = {a, b, c};
  SetBounds(poly, all, 3);
  return true;
}

// A strip whose two triangles form a convex parallelogram, with texture
// coordinates and colours that form one too (a rotated picture): filled as
// one area. Its outer edges are the triangles' own edges, in the same
// direction, and the shared diagonal gives each of its pixels to exactly
// one triangle, so the pixels covered are those of the two triangles; one
// plane serves both, as it does for any parallelogram. False otherwise.
bool MakeParallelogram(const GFXVERTEX* v, int nTexW, int nTexH, POLYGON& poly) {
  auto near = [](double a, double b, double tol) { return std::fabs(a - b) <= tol; };
  if (!(near(double(v[0].x) + v[3].x, double(v[1].x) + v[2].x, 1e-3) &&
        near(double(v[0].y) + v[3].y, double(v[1].y) + v[2].y, 1e-3) &&
        near(double(v[0].u) + v[3].u, double(v[1].u) + v[2].u, 1e-6) &&
        near(double(v[0].v) + v[3].v, double(v[1].v) + v[2].v, 1e-6) &&
        v[0].dwDiffuse == v[1].dwDiffuse && v[0].dwDiffuse == v[2].dwDiffuse &&
        v[0].dwDiffuse == v[3].dwDiffuse))
    return false;
  // The outline: top-left, bottom-left, bottom-right, top-right.
  const GFXVERTEX* ring[4] = {&v[0], &v[1], &v[3], &v[2]};
  double turns[4];
  for (int i = 0; i < 4; ++i)
    turns[i] = EdgeFn(*ring[i], *ring[(i + 1) % 4], ring[(i + 2) % 4]->x, ring[(i + 2) % 4]->y);
  const bool bForward = turns[0] > 0 && turns[1] > 0 && turns[2] > 0 && turns[3] > 0;
  const bool bBackward = turns[0] < 0 && turns[1] < 0 && turns[2] < 0 && turns[3] < 0;
  if (!bForward && !bBackward) return false;
  if (bBackward) std::swap(ring[1], ring[3]);
  for (int i = 0; i < 4; ++i) poly.Edges[i] = MakeEdge(*ring[i], *ring[(i + 1) % 4]);
  poly.nEdges = 4;
  SetPlanes(poly, v[0], v[1], v[2], EdgeFn(v[0], v[1], v[2].x, v[2].y), nTexW, nTexH);
  SetBounds(poly, ring, 4);
  return std::isfinite(poly.U.fx) && std::isfinite(poly.V.fx);
}

// n texels along a row, as ARGB: texel coordinates (in texels) start at u0,
// v0 and grow by du, dv per pixel. Inside the texture the steps are taken
// in 32.32 fixed point; elsewhere each coordinate is floored and wrapped.
template <int BYTES>
void GatherRunT(const cImage& tex, double u0, double du, double v0, double dv, int n,
                uint32_t* pOut) {
  const int w = tex.GetWidth(), h = tex.GetHeight();
  const uint8_t* pBits = tex.GetBits();
  const size_t nPitch = size_t(tex.GetPitch());
  const ePixelFormat f = tex.GetFormat();
  const uint32_t dwOr = f == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
  auto texel = [&](int x, int y) -> uint32_t {
    const uint8_t* row = pBits + size_t(y) * nPitch;
    if constexpr (BYTES == 4)
      return reinterpret_cast<const uint32_t*>(row)[x] | dwOr;
    else
      return PixelToArgb(reinterpret_cast<const uint16_t*>(row)[x], f);
  };
  constexpr double kOne = 4294967296.0;  // 2^32
  const double uEnd = u0 + du * (n - 1), vEnd = v0 + dv * (n - 1);
  if (std::fabs(u0) < 1e9 && std::fabs(uEnd) < 1e9 && std::fabs(v0) < 1e9 &&
      std::fabs(vEnd) < 1e9) {
    const int64_t u = int64_t(std::floor(u0 * kOne)), v = int64_t(std::floor(v0 * kOne));
    const int64_t su = int64_t(std::floor(du * kOne)), sv = int64_t(std::floor(dv * kOne));
    const int64_t uLast = u + su * (n - 1), vLast = v + sv * (n - 1);
    if (std::min(u, uLast) >= 0 && (std::max(u, uLast) >> 32) < w && std::min(v, vLast) >= 0 &&
        (std::max(v, vLast) >> 32) < h) {
      int64_t uu = u, vv = v;
      for (int i = 0; i < n; ++i, uu += su, vv += sv) pOut[i] = texel(int(uu >> 32), int(vv >> 32));
      return;
    }
  }
  for (int i = 0; i < n; ++i) pOut[i] = texel(WrapFloor(u0 + du * i, w), WrapFloor(v0 + dv * i, h));
}

void GatherRun(const cImage& tex, double u0, double du, double v0, double dv, int n,
               uint32_t* pOut) {
  if (tex.GetBytesPerPixel() == 4)
    GatherRunT<4>(tex, u0, du, v0, dv, n, pOut);
  else
    GatherRunT<2>(tex, u0, du, v0, dv, n, pOut);
}

void FillPolygon(const RASTER& r, const POLYGON& poly) {
  cImage& t = *r.pTarget;
  // Clamped in double first: far-off vertices must not overflow an int.
  auto clampTo = [](double v, int nMax) { return int(std::clamp(v, -1.0, double(nMax))); };
  const int x0 = clampTo(std::max(std::ceil(poly.dMinX), 0.0), t.GetWidth());
  const int x1 = clampTo(std::min(std::floor(poly.dMaxX), double(t.GetWidth() - 1)), t.GetWidth());
  const int y0 = clampTo(std::max(std::ceil(poly.dMinY), 0.0), t.GetHeight());
  const int y1 =
      clampTo(std::min(std::floor(poly.dMaxY), double(t.GetHeight() - 1)), t.GetHeight());
  if (x0 > x1 || y0 > y1) return;

  const cImage* tex = r.pTexture;
  const bool bUsesTexture = tex && UsesTexture(r.Stage);
  GFXSHADEROW fused;
  const bool bFused = poly.bFlat && t.GetBytesPerPixel() == 4 &&
                      ReduceStage(r.Stage, poly.dwDiffuse, r.dwTFactor, ePixelFormat::A8R8G8B8,
                                  t.GetFormat(), r.bBlend, fused);
  // Spans are shaded in pieces of at most kPiece pixels.
  constexpr int kPiece = 256;
  uint32_t colors[kPiece];
  for (int y = y0; y <= y1; ++y) {
    int lo = x0, hi = x1;
    bool bAny = true;
    for (int e = 0; e < poly.nEdges && bAny; ++e) bAny = CutToEdge(poly.Edges[e], y, lo, hi);
    if (!bAny) continue;
    for (int x = lo; x <= hi; x += kPiece) {
      const int n = std::min(kPiece, hi - x + 1);
      if (bUsesTexture)
        GatherRun(*tex, poly.U.At(x, y), poly.U.fx, poly.V.At(x, y), poly.V.fx, n, colors);
      else
        std::fill(colors, colors + n, 0xFFFFFFFFu);
      if (bFused) {
        ShadeRow32(reinterpret_cast<uint32_t*>(t.GetRow(y)) + x, colors, n, fused);
      } else if (poly.bFlat) {
        CombineRow(r.Stage, colors, n, poly.dwDiffuse, r.dwTFactor);
        WriteRow(t, x, y, colors, n, r.bBlend);
      } else {
        for (int i = 0; i < n; ++i) {
          int ch[4];
          for (int k = 0; k < 4; ++k)
            ch[k] = std::clamp(int(std::floor(poly.Dif[k].At(x + i, y) + 0.5)), 0, 255);
          ShadePixel(t, x + i, y, colors[i], MakeArgb(ch[0], ch[1], ch[2], ch[3]), r.Stage,
                     r.dwTFactor, r.bBlend);
        }
      }
    }
  }
}

// Any other quad: the strip's two triangles, each with its own planes.
void DrawStrip(const RASTER& r, const GFXVERTEX* v) {
  const int nTexW = r.pTexture ? r.pTexture->GetWidth() : 1;
  const int nTexH = r.pTexture ? r.pTexture->GetHeight() : 1;
  POLYGON poly;
  if (MakeParallelogram(v, nTexW, nTexH, poly)) {
    FillPolygon(r, poly);
    return;
  }
  if (MakeTriangle(v[0], v[1], v[2], nTexW, nTexH, poly)) FillPolygon(r, poly);
  if (MakeTriangle(v[1], v[3], v[2], nTexW, nTexH, poly)) FillPolygon(r, poly);
}

}  // namespace

namespace {

bool IsDrawable(const GFXVERTEX* pStrip4) {
  for (int i = 0; i < 4; ++i)
    if (!std::isfinite(pStrip4[i].x) || !std::isfinite(pStrip4[i].y) ||
        !std::isfinite(pStrip4[i].u) || !std::isfinite(pStrip4[i].v))
      return false;
  return true;
}

}  // namespace

eGfxResult cD3DDevice::DrawQuad(const GFXVERTEX* pStrip4) {
  if (!pStrip4) return eGfxResult::InvalidCall;
  if (m_bLost) return eGfxResult::Ok;  // a lost device accepts and drops drawing
  if (!m_pTarget || m_pTarget->IsLost()) return eGfxResult::InvalidCall;
  if (m_pTexture && (m_pTexture->IsLost() || m_pTexture->GetBytesPerPixel() < 2))
    return eGfxResult::Ok;
  if (!IsDrawable(pStrip4)) return eGfxResult::InvalidCall;
  const RASTER r{m_pTarget, m_pTexture, m_Stage, m_dwTFactor, m_bBlend};
  if (DrawAxisAligned(r, pStrip4, nullptr)) return eGfxResult::Ok;
  DrawStrip(r, pStrip4);
  return eGfxResult::Ok;
}

void BuildBlitStrip(const GFXBLITRECT& q, int nTexWidth, int nTexHeight, GFXVERTEX* v) {
  const float x0 = float(q.x) - 0.5f, x1 = float(q.x + q.nWidth) - 0.5f;
  const float y0 = float(q.y) - 0.5f, y1 = float(q.y + q.nHeight) - 0.5f;
  const float tw = nTexWidth > 0 ? float(nTexWidth) : 1.0f;
  const float th = nTexHeight > 0 ? float(nTexHeight) : 1.0f;
  const float u0 = float(q.nSrcX) / tw, u1 = float(q.nSrcX + q.nSrcWidth) / tw;
  const float t0 = float(q.nSrcY) / th, t1 = float(q.nSrcY + q.nSrcHeight) / th;
  v[0] = {x0, y0, 0.0f, 1.0f, q.dwDiffuse, u0, t0};
  v[1] = {x0, y1, 0.0f, 1.0f, q.dwDiffuse, u0, t1};
  v[2] = {x1, y0, 0.0f, 1.0f, q.dwDiffuse, u1, t0};
  v[3] = {x1, y1, 0.0f, 1.0f, q.dwDiffuse, u1, t1};
}

eGfxResult cD3DDevice::DrawBlitRect(const GFXBLITRECT& q) {
  if (m_bLost) return eGfxResult::Ok;  // a lost device accepts and drops drawing
  if (!m_pTarget || m_pTarget->IsLost()) return eGfxResult::InvalidCall;
  if (m_pTexture && (m_pTexture->IsLost() || m_pTexture->GetBytesPerPixel() < 2))
    return eGfxResult::Ok;
  if (!IsExactBlitRect(q)) {
    GFXVERTEX v[4];
    BuildBlitStrip(q, m_pTexture ? m_pTexture->GetWidth() : 0,
                   m_pTexture ? m_pTexture->GetHeight() : 0, v);
    return DrawQuad(v);
  }
  const RASTER r{m_pTarget, m_pTexture, m_Stage, m_dwTFactor, m_bBlend};
  DrawExactRect(r, q, nullptr, MakePlan(r, q.dwDiffuse));
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::DrawBlitRects(const GFXBLITRECT* pQuads, int nQuads) {
  if (m_bLost) return eGfxResult::Ok;  // a lost device accepts and drops drawing
  if (!m_pTarget || m_pTarget->IsLost()) return eGfxResult::InvalidCall;
  if (m_pTexture && (m_pTexture->IsLost() || m_pTexture->GetBytesPerPixel() < 2))
    return eGfxResult::Ok;
  const RASTER r{m_pTarget, m_pTexture, m_Stage, m_dwTFactor, m_bBlend};
  SPANPLAN plan;
  KEYEDRUN run;
  uint32_t dwPlanned = 0;
  for (int i = 0; i < nQuads; ++i) {
    const GFXBLITRECT& q = pQuads[i];
    if (i == 0 || q.dwDiffuse != dwPlanned) {
      plan = MakePlan(r, q.dwDiffuse);
      run = MakeKeyedRun(r, plan);
      dwPlanned = q.dwDiffuse;
    }
    if (run.Kind != eKeyedRun::None && DrawKeyedSameSize(run, q)) continue;
    if (!IsExactBlitRect(q)) {
      DrawBlitRect(q);
      continue;
    }
    DrawExactRect(r, q, nullptr, plan);
  }
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::ClearAndDrawBlitRect(const GFXRECT& rect, uint32_t dwArgb,
                                            const GFXBLITRECT& q) {
  if (m_bLost || !m_pTarget || m_pTarget->IsLost() || !IsExactBlitRect(q) ||
      (m_pTexture && (m_pTexture->IsLost() || m_pTexture->GetBytesPerPixel() < 2))) {
    GFXVERTEX v[4];
    BuildBlitStrip(q, m_pTexture ? m_pTexture->GetWidth() : 0,
                   m_pTexture ? m_pTexture->GetHeight() : 0, v);
    return ClearAndDrawQuad(rect, dwArgb, v);
  }
  cImage& t = *m_pTarget;
  const PENDINGCLEAR clear{
      {std::max(rect.nLeft, 0), std::max(rect.nTop, 0), std::min(rect.nRight, t.GetWidth()),
       std::min(rect.nBottom, t.GetHeight())},
      ArgbToPixel(dwArgb, t.GetFormat())};
  const RASTER r{m_pTarget, m_pTexture, m_Stage, m_dwTFactor, m_bBlend};
  DrawExactRect(r, q, &clear, MakePlan(r, q.dwDiffuse));
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::ClearAndDrawQuad(const GFXRECT& rect, uint32_t dwArgb,
                                        const GFXVERTEX* pStrip4) {
  // Whenever the quad would not be drawn, the two calls one after the other.
  if (m_bLost || !m_pTarget || m_pTarget->IsLost() || !pStrip4 ||
      (m_pTexture && (m_pTexture->IsLost() || m_pTexture->GetBytesPerPixel() < 2)) ||
      !IsDrawable(pStrip4)) {
    Clear(&rect, 1, dwArgb);
    return DrawQuad(pStrip4);
  }
  cImage& t = *m_pTarget;
  const PENDINGCLEAR clear{
      {std::max(rect.nLeft, 0), std::max(rect.nTop, 0), std::min(rect.nRight, t.GetWidth()),
       std::min(rect.nBottom, t.GetHeight())},
      ArgbToPixel(dwArgb, t.GetFormat())};
  const RASTER r{m_pTarget, m_pTexture, m_Stage, m_dwTFactor, m_bBlend};
  if (DrawAxisAligned(r, pStrip4, &clear)) return eGfxResult::Ok;
  DoClear(t, &clear);
  DrawStrip(r, pStrip4);
  return eGfxResult::Ok;
}

}  // namespace plat::gfx
