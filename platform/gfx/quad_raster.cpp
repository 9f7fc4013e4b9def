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
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/pixel_rules.h"

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

// 15-bit colour of a 16-bit texel to a 16-bit target's pixel (opaque), built
// once per target format.
const std::vector<uint16_t>& Lut1555To(ePixelFormat dst) {
  static const std::vector<uint16_t> to565 = [] {
    std::vector<uint16_t> t(32768);
    for (uint32_t i = 0; i < 32768; ++i)
      t[i] = uint16_t(
          ArgbToPixel(PixelToArgb(i | 0x8000, ePixelFormat::A1R5G5B5), ePixelFormat::R5G6B5));
    return t;
  }();
  static const std::vector<uint16_t> to555 = [] {
    std::vector<uint16_t> t(32768);
    for (uint32_t i = 0; i < 32768; ++i)
      t[i] = uint16_t(
          ArgbToPixel(PixelToArgb(i | 0x8000, ePixelFormat::A1R5G5B5), ePixelFormat::A1R5G5B5));
    return t;
  }();
  return dst == ePixelFormat::R5G6B5 ? to565 : to555;
}

// Texel coordinates far beyond the texture wrap in double before they
// become ints.
int WrapFloor(double v, int nSize) {
  double f = std::floor(v);
  if (!(std::fabs(f) < 1e9)) f = std::fmod(f, double(nSize));
  return WrapTexel(int(f), nSize);
}

bool NearInteger(double v, long long& n) {
  if (!(std::fabs(v) < 1e8)) return false;
  n = std::llround(v);
  return std::fabs(v - double(n)) < 1e-3;
}

// Texel index for each of nCount pixels starting at pixel centre p0 along
// one axis of an axis-aligned quad from edge e0 to e1 (e1 != e0) with texture
// coordinates t0..t1 over a texture of nSize texels. True when the indices
// are consecutive (pOut[i] = pOut[0] + i), as in every same-size blit.
bool MapAxis(int p0, int nCount, double e0, double e1, double t0, double t1, int nSize, int* pOut) {
  long long a, b, twiceE0, twiceE1;
  const bool bExact = NearInteger(t0 * nSize, a) && NearInteger(t1 * nSize, b) &&
                      NearInteger(2 * e0, twiceE0) && NearInteger(2 * e1, twiceE1) &&
                      std::fabs(2 * e0 - double(twiceE0)) < 1e-9 &&
                      std::fabs(2 * e1 - double(twiceE1)) < 1e-9 && (twiceE0 & 1) && (twiceE1 & 1);
  if (bExact) {
    // Edges at n - 0.5: pixel k of the span has its centre k + 0.5 inside.
    const long long nFirst = (twiceE0 + 1) / 2;  // first pixel centre at or right of e0
    const int w = int((twiceE1 - twiceE0) / 2);
    const int sw = int(b - a);
    // QuadTexelOffset(k, w, w) is k: a same-size span reads consecutive
    // texels, and needs no wrapping while it stays inside the texture.
    const long long nStart = a + (p0 - nFirst);
    if (sw == w && nStart >= 0 && nStart + nCount <= nSize) {
      for (int i = 0; i < nCount; ++i) pOut[i] = int(nStart) + i;
      return true;
    }
    for (int i = 0; i < nCount; ++i) {
      const int k = int(p0 + i - nFirst);
      pOut[i] = WrapTexel(int(a) + QuadTexelOffset(k, sw, w), nSize);
    }
    return false;
  }
  for (int i = 0; i < nCount; ++i) {
    const double t = (double(p0 + i) - e0) / (e1 - e0);
    const double u = t0 + t * (t1 - t0);
    pOut[i] = WrapFloor(u * nSize, nSize);
  }
  return false;
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

// Out of line and aligned: the row loop's speed depends on where its code
// lands against the processor's 64-byte fetch blocks (a fifth slower at
// some places), so it keeps a place of its own that unrelated code moving
// elsewhere cannot shift.
template <bool UNDER>
__attribute__((noinline, aligned(64))) void BlendRow32(uint32_t* d, const uint32_t* s, int w,
                                                       uint32_t dwOr, uint32_t dwUnder) {
  const size_t n = w > 0 ? size_t(w) : 0;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    V4 vs;
    std::memcpy(&vs, s + i, sizeof vs);
    const V4 a = vs >> 24;
    if (AllLanes(V4((a == 0) | (a == 255)))) {
      const V4 bOpaque = V4(V4S(vs) >> 31);
      V4 vd;
      if constexpr (UNDER)
        vd = V4{} + dwUnder;
      else
        std::memcpy(&vd, d + i, sizeof vd);
      vd = ((vs | dwOr) & bOpaque) | (vd & ~bOpaque);
      std::memcpy(d + i, &vd, sizeof vd);
    } else {
      for (size_t k = i; k < i + 4; ++k) BlendPixel32<UNDER>(d[k], s[k], dwOr, dwUnder);
    }
  }
  for (; i < n; ++i) BlendPixel32<UNDER>(d[i], s[i], dwOr, dwUnder);
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

// pUnder: the span was just cleared to this pixel value (nullptr: it was not).
void DrawSpans(const RASTER& r, int x0, int x1, int y0, int y1, const int* pCols, bool bLinearCols,
               const int* pRows, uint32_t dif, const uint32_t* pUnder) {
  cImage& t = *r.pTarget;
  const cImage* tex = r.pTexture;
  const ePixelFormat tf = t.GetFormat();
  bool bTexAlpha = false;
  const bool bPass = tex && IsPassThrough(r.Stage, dif, bTexAlpha);
  const int w = x1 - x0;

  if (bPass && tex->GetBytesPerPixel() == 4 && t.GetBytesPerPixel() == 4) {
    // Every pixel of the span is written unless transparent texels are left
    // out, so only that case needs the clear value.
    const bool bTexHasAlpha = bTexAlpha && tex->GetFormat() == ePixelFormat::A8R8G8B8;
    const uint32_t dwOr = tf == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
    const uint32_t dwUnder = pUnder ? *pUnder : 0u;
    for (int j = 0; j < y1 - y0; ++j) {
      const auto* s = reinterpret_cast<const uint32_t*>(tex->GetRow(pRows[j]));
      auto* d = reinterpret_cast<uint32_t*>(t.GetRow(y0 + j)) + x0;
      const uint32_t dwRowOr = bTexHasAlpha ? dwOr : 0xFF000000u;
      if (!bTexHasAlpha || !r.bBlend) {
        if (bLinearCols)
          OrRow32(d, s + pCols[0], w, dwRowOr);
        else
          for (int i = 0; i < w; ++i) d[i] = s[pCols[i]] | dwRowOr;
      } else if (bLinearCols) {
        if (pUnder)
          BlendRow32<true>(d, s + pCols[0], w, dwOr, dwUnder);
        else
          BlendRow32<false>(d, s + pCols[0], w, dwOr, 0);
      } else {
        for (int i = 0; i < w; ++i) {
          if (pUnder)
            BlendPixel32<true>(d[i], s[pCols[i]], dwOr, dwUnder);
          else
            BlendPixel32<false>(d[i], s[pCols[i]], dwOr, 0);
        }
      }
    }
    return;
  }
  if (bPass && tex->GetBytesPerPixel() == 2 && tex->GetFormat() != ePixelFormat::R5G6B5 &&
      (tf == ePixelFormat::R5G6B5 || tf == ePixelFormat::A1R5G5B5)) {
    const std::vector<uint16_t>& lut = Lut1555To(tf);
    const bool bTexHasAlpha = bTexAlpha && tex->GetFormat() == ePixelFormat::A1R5G5B5;
    for (int j = 0; j < y1 - y0; ++j) {
      const auto* s = reinterpret_cast<const uint16_t*>(tex->GetRow(pRows[j]));
      auto* d = reinterpret_cast<uint16_t*>(t.GetRow(y0 + j)) + x0;
      for (int i = 0; i < w; ++i) {
        const uint16_t c = s[pCols[i]];
        const bool bOpaque = !bTexHasAlpha || (c & 0x8000);
        if (bOpaque)
          d[i] = lut[c & 0x7FFF];
        else if (!r.bBlend)
          d[i] = uint16_t(lut[c & 0x7FFF] & (tf == ePixelFormat::A1R5G5B5 ? 0x7FFF : 0xFFFF));
        else if (pUnder)
          d[i] = uint16_t(*pUnder);
      }
    }
    return;
  }
  // Everything else: the general rule, a row at a time, over the cleared span.
  if (pUnder) FillRectRaw(cImageView(&t, {x0, y0, x1, y1}), *pUnder);
  thread_local std::vector<uint32_t> colors;
  colors.resize(size_t(w));
  const bool bUsesTexture = tex && UsesTexture(r.Stage);
  if (!bUsesTexture) {
    const uint32_t c = Combine(r.Stage, 0xFFFFFFFFu, dif, r.dwTFactor);
    std::fill(colors.begin(), colors.end(), c);
  }
  for (int j = 0; j < y1 - y0; ++j) {
    if (bUsesTexture) {
      ReadTexels(*tex, pRows[j], pCols, w, colors.data());
      CombineRow(r.Stage, colors.data(), w, dif, r.dwTFactor);
    }
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
  const uint32_t* pUnder = nullptr;
  if (pClear) {
    const GFXRECT& c = pClear->Rect;
    if (c.nLeft == x0 && c.nRight == x1 && c.nTop == y0 && c.nBottom == y1)
      pUnder = &pClear->dwPixel;
    else
      DoClear(t, pClear);
  }
  thread_local std::vector<int> cols, rows;
  cols.resize(size_t(x1 - x0));
  rows.resize(size_t(y1 - y0));
  bool bLinearCols = false;
  if (r.pTexture) {
    bLinearCols = MapAxis(x0, x1 - x0, ex0, ex1, u0, u1, r.pTexture->GetWidth(), cols.data());
    MapAxis(y0, y1 - y0, ey0, ey1, t0, t1, r.pTexture->GetHeight(), rows.data());
  }
  DrawSpans(r, x0, x1, y0, y1, cols.data(), bLinearCols, rows.data(), v[0].dwDiffuse, pUnder);
  return true;
}

void DrawTriangle(const RASTER& r, const GFXVERTEX& a0, const GFXVERTEX& b0, const GFXVERTEX& c0) {
  const GFXVERTEX* a = &a0;
  const GFXVERTEX* b = &b0;
  const GFXVERTEX* c = &c0;
  auto edge = [](const GFXVERTEX& p, const GFXVERTEX& q, double x, double y) {
    return (double(q.x) - p.x) * (y - p.y) - (double(q.y) - p.y) * (x - p.x);
  };
  double area = edge(*a, *b, c->x, c->y);
  if (area == 0 || !std::isfinite(area)) return;
  if (area < 0) {
    std::swap(b, c);
    area = -area;
  }
  auto topLeft = [](const GFXVERTEX& p, const GFXVERTEX& q) {
    const double dy = double(q.y) - p.y, dx = double(q.x) - p.x;
    return (dy == 0 && dx > 0) || dy < 0;
  };
  const bool tl0 = topLeft(*b, *c), tl1 = topLeft(*c, *a), tl2 = topLeft(*a, *b);
  cImage& t = *r.pTarget;
  const double minX = std::min({double(a->x), double(b->x), double(c->x)});
  const double maxX = std::max({double(a->x), double(b->x), double(c->x)});
  const double minY = std::min({double(a->y), double(b->y), double(c->y)});
  const double maxY = std::max({double(a->y), double(b->y), double(c->y)});
  // Clamped in double first: far-off vertices must not overflow an int.
  auto clampTo = [](double v, int nMax) { return int(std::clamp(v, -1.0, double(nMax))); };
  const int x0 = clampTo(std::max(std::ceil(minX), 0.0), t.GetWidth());
  const int x1 = clampTo(std::min(std::floor(maxX), double(t.GetWidth() - 1)), t.GetWidth());
  const int y0 = clampTo(std::max(std::ceil(minY), 0.0), t.GetHeight());
  const int y1 = clampTo(std::min(std::floor(maxY), double(t.GetHeight() - 1)), t.GetHeight());
  const cImage* tex = r.pTexture;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double w0 = edge(*b, *c, x, y), w1 = edge(*c, *a, x, y), w2 = edge(*a, *b, x, y);
      if (w0 < 0 || w1 < 0 || w2 < 0) continue;
      if ((w0 == 0 && !tl0) || (w1 == 0 && !tl1) || (w2 == 0 && !tl2)) continue;
      const double l0 = w0 / area, l1 = w1 / area, l2 = w2 / area;
      uint32_t texel = 0xFFFFFFFFu;
      if (tex) {
        const double u = l0 * a->u + l1 * b->u + l2 * c->u;
        const double v = l0 * a->v + l1 * b->v + l2 * c->v;
        const int tx = WrapFloor(u * tex->GetWidth(), tex->GetWidth());
        const int ty = WrapFloor(v * tex->GetHeight(), tex->GetHeight());
        texel = PixelToArgb(tex->ReadPixel(tx, ty), tex->GetFormat());
      }
      uint32_t dif = a->dwDiffuse;
      if (!(a->dwDiffuse == b->dwDiffuse && a->dwDiffuse == c->dwDiffuse)) {
        int ch[4];
        for (int k = 0; k < 4; ++k) {
          const int s = 24 - 8 * k;
          const double val = l0 * double((a->dwDiffuse >> s) & 0xFF) +
                             l1 * double((b->dwDiffuse >> s) & 0xFF) +
                             l2 * double((c->dwDiffuse >> s) & 0xFF);
          ch[k] = std::clamp(int(std::floor(val + 0.5)), 0, 255);
        }
        dif = MakeArgb(ch[0], ch[1], ch[2], ch[3]);
      }
      ShadePixel(t, x, y, texel, dif, r.Stage, r.dwTFactor, r.bBlend);
    }
  }
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
  DrawTriangle(r, pStrip4[0], pStrip4[1], pStrip4[2]);
  DrawTriangle(r, pStrip4[1], pStrip4[3], pStrip4[2]);
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
  DrawTriangle(r, pStrip4[0], pStrip4[1], pStrip4[2]);
  DrawTriangle(r, pStrip4[1], pStrip4[3], pStrip4[2]);
  return eGfxResult::Ok;
}

}  // namespace plat::gfx
