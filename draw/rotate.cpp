// The rotated blit. The device's quad turns the rectangle's corners in
// floating point; the software path walks the destination box of the turned
// rectangle and maps each point back with truncated sines and cosines in
// 10-bit fixed point, stepping the products along each row.
#include "draw/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/run_options.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "draw/quad_build.h"

namespace {

// Degrees to radians for the rotation (a constant of its own).
constexpr double kRotateDegree = 0.017453292519943278;

void RotateByDevice(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int x, int y, int w, int h, int ox,
                    int oy, int nAngle, const DDSRCRECT& src) {
  if (!lpSrc->lpDT->lpTexture) return;
  DTCONDATA& con = *g_DD.lpDTCon;
  const double s = std::sin(nAngle * kRotateDegree), c = std::cos(nAngle * kRotateDegree);
  // Corners in strip order: top-left, bottom-left, top-right, bottom-right.
  const double px[4] = {double(-ox), double(-ox), double(w - ox), double(w - ox)};
  const double py[4] = {double(-oy), double(h - oy), double(-oy), double(h - oy)};
  const float tw = lpSrc->nTexWidth > 0 ? float(lpSrc->nTexWidth) : 1.0f;
  const float th = lpSrc->nTexHeight > 0 ? float(lpSrc->nTexHeight) : 1.0f;
  const float u0 = float(src.x) / tw, u1 = float(src.x + src.w) / tw;
  const float v0 = float(src.y) / th, v1 = float(src.y + src.h) / th;
  const float us[4] = {u0, u0, u1, u1}, vs[4] = {v0, v1, v0, v1};
  plat::gfx::GFXVERTEX v[4];
  for (int k = 0; k < 4; ++k) {
    const double X = px[k] * c - py[k] * s, Y = px[k] * s + py[k] * c;
    v[k] = {float(X + (ox - (w >> 1)) + x - 0.5),
            float(Y + (oy - (h >> 1)) + y - 0.5),
            0,
            1,
            con.dwBltColor,
            us[k],
            vs[k]};
  }
  plat::gfx::GFXTEXTURESTAGE stage;
  stage.nColorOp = con.nColorOp;
  stage.nColorArg1 = plat::gfx::TA_TEXTURE;
  stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
  stage.nAlphaOp = con.nAlphaOp;
  stage.nAlphaArg1 = plat::gfx::TA_TEXTURE;
  stage.nAlphaArg2 = plat::gfx::TA_DIFFUSE;
  DDDrawEffectQuad(lpDst, lpSrc, v, stage, 0xFFFFFFFFu, lpSrc->lpDT->lpTexture.get());
}

// The offsets t of 0 .. n - 1 whose source position (p + t, or p - 1 - t
// for a mirrored rectangle of size q < 0) lies on 0 .. m - 1.
void SourceRange(int p, int q, int n, int m, int& lo, int& hi) {
  const int64_t a = q < 0 ? int64_t(p) - m : -int64_t(p);
  const int64_t b = q < 0 ? int64_t(p) : int64_t(m) - p;
  lo = int(std::clamp<int64_t>(a, 0, n));
  hi = int(std::clamp<int64_t>(b, lo, n));
}

// trunc(sin * 1024) and trunc(cos * 1024).
void FixedSinCos(int nAngle, int64_t& s, int64_t& c) {
  s = int64_t(std::sin(nAngle * kRotateDegree) * 1024);
  c = int64_t(std::cos(nAngle * kRotateDegree) * 1024);
}

// The steps k of 0 .. n - 1 at which f(k) = f0 + k * df lies in lo .. hi - 1
// (a run, f being linear), cut into kLo .. kHi - 1.
void CutRun(int64_t f0, int64_t df, int64_t lo, int64_t hi, int64_t& kLo, int64_t& kHi) {
  auto floorDiv = [](int64_t p, int64_t q) {
    const int64_t d = p / q;
    return (p % q != 0 && ((p < 0) != (q < 0))) ? d - 1 : d;
  };
  auto ceilDiv = [&](int64_t p, int64_t q) { return -floorDiv(-p, q); };
  if (df == 0) {
    if (f0 < lo || f0 >= hi) kHi = kLo;
    return;
  }
  // f(k) >= lo and f(k) < hi, solved for k.
  if (df > 0) {
    kLo = std::max(kLo, ceilDiv(lo - f0, df));
    kHi = std::min(kHi, ceilDiv(hi - f0, df));
  } else {
    kLo = std::max(kLo, floorDiv(hi - f0, df) + 1);
    kHi = std::min(kHi, floorDiv(lo - f0, df) + 1);
  }
}

// The row loop over the points whose source offsets (a, b) >> 10, stepping
// by (ca, sb) in fixed point, all lie in the rectangle and on the source.
template <typename T>
__attribute__((noinline, aligned(64))) void RotateRow(T* d, const uint8_t* pSrcBits,
                                                      size_t nSrcPitch, int n, int64_t a, int64_t b,
                                                      int64_t ca, int64_t sb, int ox, int oy,
                                                      const DDSRCRECT& s, bool bKey,
                                                      uint32_t dwKeyMask, uint32_t dwKey,
                                                      bool bRepack) {
  const int nColStep = s.w < 0 ? -1 : 1, nRowStep = s.h < 0 ? -1 : 1;
  const int nCol0 = s.w < 0 ? s.x - 1 - ox : s.x + ox, nRow0 = s.h < 0 ? s.y - 1 - oy : s.y + oy;
  for (int k = 0; k < n; ++k, a += ca, b += sb) {
    const int col = nCol0 + nColStep * int(a >> 10), row = nRow0 + nRowStep * int(b >> 10);
    uint32_t p = reinterpret_cast<const T*>(pSrcBits + size_t(row) * nSrcPitch)[col];
    if (bKey && (p & dwKeyMask) == dwKey) continue;
    if (bRepack) p = DDRepackForBackBuffer(p);
    d[k] = T(p);
  }
}

void RotateBySoftware(cEffectLocks& locks, int x, int y, int w, int h, int ox, int oy, int nAngle,
                      const DDSRCRECT& src, int nFlags) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& sp = locks.Src;
  if (dst.nBytes != sp.nBytes) return;
  int64_t s, c, si, ci;
  FixedSinCos(nAngle, s, c);
  FixedSinCos(-nAngle, si, ci);
  // The turned rectangle's box, two pixels wider on every side.
  int64_t xMin = INT64_MAX, xMax = INT64_MIN, yMin = INT64_MAX, yMax = INT64_MIN;
  for (int64_t px : {-int64_t(ox), int64_t(w) - ox - 1})
    for (int64_t py : {-int64_t(oy), int64_t(h) - oy - 1}) {
      const int64_t X = ((px * c - py * s) >> 10) + ox, Y = ((px * s + py * c) >> 10) + oy;
      xMin = std::min(xMin, X);
      xMax = std::max(xMax, X);
      yMin = std::min(yMin, Y);
      yMax = std::max(yMax, Y);
    }
  // Box columns k and rows r put the point at (x + k - ox, y + r - oy): only
  // those on the destination are visited.
  const int64_t kLo = std::max(xMin - 2, int64_t(ox) - x);
  const int64_t kHi = std::min(xMax + 2, int64_t(ox) - x + dst.nWidth);
  const int64_t rLo = std::max(yMin - 2, int64_t(oy) - y);
  const int64_t rHi = std::min(yMax + 2, int64_t(oy) - y + dst.nHeight);
  if (kLo >= kHi || rLo >= rHi) return;
  // The source points must lie in the rectangle and on the source surface.
  int uLo, uHi, vLo, vHi;
  SourceRange(src.x, src.w, w, sp.nWidth, uLo, uHi);
  SourceRange(src.y, src.h, h, sp.nHeight, vLo, vHi);
  if (uLo >= uHi || vLo >= vHi) return;
  const bool bKey = nFlags == 1;
  const uint32_t dwKeyMask = dst.bDirect3D ? 0xFFFFFFFFu : DDKeyMask(sp);
  const uint32_t dwKey = g_DD.dwColorKey & dwKeyMask;
  const bool bRepack = dst.bFullScreenBack && !sp.bFullScreenBack;
  const size_t nSrcPitch = size_t(sp.nPitch) * size_t(sp.nBytes);
  for (int64_t r = rLo; r < rHi; ++r) {
    const int64_t dy = r - oy, dx0 = kLo - ox;
    const int64_t a = dx0 * ci - dy * si, b = dy * ci + dx0 * si;
    // Only the points whose source lies in the rectangle and on the surface.
    int64_t k0 = 0, k1 = kHi - kLo;
    CutRun(a, ci, int64_t(uLo - ox) * 1024, int64_t(uHi - ox) * 1024, k0, k1);
    CutRun(b, si, int64_t(vLo - oy) * 1024, int64_t(vHi - oy) * 1024, k0, k1);
    if (k0 >= k1) continue;
    uint8_t* pRow = dst.RowBytes(int(y + dy)) + size_t(x + dx0 + k0) * size_t(dst.nBytes);
    const int n = int(k1 - k0);
    const int64_t a0 = a + k0 * ci, b0 = b + k0 * si;
    switch (dst.nBytes) {
      case 1:
        RotateRow(pRow, sp.pBits, nSrcPitch, n, a0, b0, ci, si, ox, oy, src, bKey, dwKeyMask, dwKey,
                  false);
        break;
      case 2:
        RotateRow(reinterpret_cast<uint16_t*>(pRow), sp.pBits, nSrcPitch, n, a0, b0, ci, si, ox, oy,
                  src, bKey, dwKeyMask, dwKey, bRepack);
        break;
      case 4:
        RotateRow(reinterpret_cast<uint32_t*>(pRow), sp.pBits, nSrcPitch, n, a0, b0, ci, si, ox, oy,
                  src, bKey, dwKeyMask, dwKey, false);
        break;
      default:
        break;
    }
  }
}

}  // namespace

bool DDBltRotate(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nPivotX,
                 int nPivotY, int nAngle, DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY,
                 int nFlags) {
  if (SkipsRaster()) return true;
  if (!lpDstSD || !lpSrcSD || nWidth <= 0 || nHeight <= 0) return true;
  DDSRCRECT src{nSrcX, nSrcY, nWidth, nHeight};
  if (g_DD.lpDTCon) {
    src = DDWrapEffectSource(lpSrcSD, nSrcX, nSrcY, nWidth, nHeight);
    DDSURFACEDATA* lpDst = DDEffectRecord(lpDstSD);
    DDSURFACEDATA* lpSrc = DDEffectRecord(lpSrcSD);
    if (!lpDst->lpDT || !lpSrc->lpDT) return true;
    if (lpDst->lpDT->bRenderTarget && lpSrc->lpDT->nMemoryType != DTMEMORYTYPE_SYSTEM) {
      RotateByDevice(lpDst, lpSrc, x, y, nWidth, nHeight, nPivotX, nPivotY, nAngle, src);
      return true;
    }
  }
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
  RotateBySoftware(locks, x, y, nWidth, nHeight, nPivotX, nPivotY, nAngle, src, nFlags);
  return locks.Unlock();
}
