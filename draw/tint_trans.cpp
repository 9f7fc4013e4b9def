// Tint, translucency and the colour overlay. In Direct3D a render-target
// destination with a source in video memory is drawn by the device (one
// quad: the texture blended toward the texture factor, or modulated by a
// translucent diffuse colour); everything else goes through locked pixels.
#include "draw/tint_trans.h"

#include <algorithm>
#include <array>

#include "base/logs.h"
#include "base/run_options.h"
#include "draw/draw_context.h"
#include "draw/effect_pixels.h"
#include "draw/quad_build.h"
#include "platform/gfx/effect_kernels.h"
#include "platform/gfx/pixel_rules.h"

using plat::gfx::GFXRECT;
using plat::gfx::GFXTEXTURESTAGE;
using plat::gfx::GFXVERTEX;

namespace {

// Texture-factor alpha of the device's tint by level: how much of the
// texel stays.
int TintFactorAlpha(int nLevel) {
  switch (nLevel) {
    case 1:
      return 128;
    case 2:
      return 80;
    case 3:
      return 48;
    case 4:
      return 16;
    default:
      return 0;
  }
}

// The software paths' share of the texel by level (level 1 is computed
// exactly as a halving instead).
int TintSoftwareShare(int nLevel) {
  switch (nLevel) {
    case 1:
      return 128;
    case 2:
      return 64;
    case 3:
      return 32;
    case 4:
      return 16;
    default:
      return 0;
  }
}

const DDPALENTRY& PaletteEntry(const DDPALETTE* lpPalette, uint32_t dwColor) {
  const DDPALETTE& pal = lpPalette ? *lpPalette : g_DD.ProgramPalette;
  return pal[dwColor & 0xFF];
}

bool UsesDevice(const DDSURFACEDATA* lpDst, const DDSURFACEDATA* lpSrc) {
  return lpDst->lpDT && lpSrc->lpDT && lpDst->lpDT->bRenderTarget &&
         lpSrc->lpDT->nMemoryType != DTMEMORYTYPE_SYSTEM;
}

// The device's quad of the source rectangle onto the destination.
bool DrawSourceQuad(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int x, int y, int nWidth,
                    int nHeight, const DDSRCRECT& src, uint32_t dwDiffuse,
                    const GFXTEXTURESTAGE& stage, uint32_t dwTFactor) {
  GFXRECT d;
  DDSRCRECT s;
  if (!lpSrc->lpDT->lpTexture) return true;  // a texture gone with the device draws nothing
  if (!DDClipEffectQuad(lpDst, lpSrc, x, y, nWidth, nHeight, src, d, s)) return true;
  GFXVERTEX v[4];
  DDBuildBltQuad(v, d.nLeft, d.nTop, d.nRight - d.nLeft, d.nBottom - d.nTop, s.x, s.y, s.w, s.h,
                 lpSrc->nTexWidth, lpSrc->nTexHeight, dwDiffuse);
  const plat::gfx::GFXBLITRECT q = DDBlitRect(d.nLeft, d.nTop, d.nRight - d.nLeft,
                                              d.nBottom - d.nTop, s.x, s.y, s.w, s.h, dwDiffuse);
  DDDrawEffectQuad(lpDst, lpSrc, v, stage, dwTFactor, lpSrc->lpDT->lpTexture.get(), &q);
  return true;
}

// One 8-bit lookup repeated nTimes, as one map of the 256 indices: the
// lookup composed with itself by repeated squaring, so any count costs a
// few passes over 256 entries.
std::array<uint8_t, 256> RepeatedLookup(const uint8_t* lpTable, int nColor, int nTimes) {
  std::array<uint8_t, 256> result, step;
  for (int p = 0; p < 256; ++p) {
    result[size_t(p)] = uint8_t(p);
    step[size_t(p)] = lpTable[p * 256 + nColor];
  }
  for (int n = nTimes; n > 0; n >>= 1) {
    if (n & 1)
      for (auto& r : result) r = step[r];
    std::array<uint8_t, 256> twice;
    for (int p = 0; p < 256; ++p) twice[size_t(p)] = step[step[size_t(p)]];
    step = twice;
  }
  return result;
}

// The rows and columns where an unmirrored source and the destination both
// have pixels, handed to fn(destination row, source row, kLo, kHi).
template <typename Fn>
void ForEachOverlapRow(const DDEFFECTPIXELS& dst, const DDEFFECTPIXELS& src, int x, int y, int w,
                       int h, int sx, int sy, Fn fn) {
  int kLo, kHi;
  DDOverlapColumns(x, sx, w, dst.nWidth, src.nWidth, kLo, kHi);
  if (kLo >= kHi) return;
  for (int j = 0; j < h; ++j) {
    const int64_t dy = int64_t(y) + j, syj = int64_t(sy) + j;
    if (dy < 0 || dy >= dst.nHeight || syj < 0 || syj >= src.nHeight) continue;
    fn(int(dy), int(syj), kLo, kHi);
  }
}

// Every pixel of the rectangle with a destination and a source point inside
// their surfaces, mirrored sources included: fn(dx, dy, sx, sy).
template <typename Fn>
void ForEachPixel(const DDEFFECTPIXELS& dst, const DDEFFECTPIXELS& src, int x, int y, int w, int h,
                  const DDSRCRECT& s, Fn fn) {
  for (int j = 0; j < h; ++j) {
    const int64_t dy = int64_t(y) + j, row = s.h < 0 ? int64_t(s.y) - 1 - j : int64_t(s.y) + j;
    if (dy < 0 || dy >= dst.nHeight || row < 0 || row >= src.nHeight) continue;
    for (int k = 0; k < w; ++k) {
      const int64_t dx = int64_t(x) + k, col = s.w < 0 ? int64_t(s.x) - 1 - k : int64_t(s.x) + k;
      if (dx < 0 || dx >= dst.nWidth || col < 0 || col >= src.nWidth) continue;
      fn(int(dx), int(dy), int(col), int(row));
    }
  }
}

void TintDirect3D(cEffectLocks& locks, int x, int y, int w, int h, const DDSRCRECT& s, int nFlags,
                  const DDPALENTRY& e, int nLevel) {
  const DDPIXELBITS& bits = g_DD.SurfaceBits;
  const int k[3] = {plat::gfx::ScaleChannelDown(e.byRed, bits.nRedMax),
                    plat::gfx::ScaleChannelDown(e.byGreen, bits.nGreenMax),
                    plat::gfx::ScaleChannelDown(e.byBlue, bits.nBlueMax)};
  const double a = TintSoftwareShare(nLevel) / 255.0;
  auto tint = [&](int c, int kc) {
    return nLevel == 1 ? (c + kc) >> 1 : int(c * a + kc * (1 - a));
  };
  ForEachPixel(locks.Dst, locks.Src, x, y, w, h, s, [&](int dx, int dy, int sx, int sy) {
    const uint32_t v = locks.Src.Read(sx, sy);
    if (nFlags == 1 && !DDIsOpaqueTexel(v)) return;
    int c[3];
    DDReadChannels(locks.Src, v, c[0], c[1], c[2]);
    DDWriteChannels(locks.Dst, dx, dy, tint(c[0], k[0]), tint(c[1], k[1]), tint(c[2], k[2]));
  });
}

void TintDirectDraw(cEffectLocks& locks, int x, int y, int w, int h, int sx, int sy, int nFlags,
                    const DDPALENTRY& e, uint32_t dwColor, int nLevel) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  const bool bKey = nFlags == 1;
  const int nTimes = std::max(nLevel, 0);
  if (dst.nBytes != src.nBytes) return;
  switch (dst.nBytes) {
    case 1: {
      const auto map = RepeatedLookup(g_BlendTable.data(), int(dwColor & 0xFF), nTimes);
      const uint8_t key = uint8_t(g_DD.dwColorKey);
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        uint8_t* d = dst.RowBytes(dy) + x;
        const uint8_t* p = src.RowBytes(syj) + sx;
        for (int k = kLo; k < kHi; ++k)
          if (!bKey || p[k] != key) d[k] = map[p[k]];
      });
      break;
    }
    case 2: {
      const plat::gfx::GFXFIELDS16 f = DDFields16(dst);
      // The palette holds field values in this mode; they are widened first.
      auto widen = [](int v, int nMax) {
        return std::min(plat::gfx::ScaleChannelUp(std::min(v, nMax), nMax), 255);
      };
      const plat::gfx::GFXRGB k{widen(e.byRed, f.nMax[0]), widen(e.byGreen, f.nMax[1]),
                                widen(e.byBlue, f.nMax[2])};
      const uint16_t key = uint16_t(g_DD.dwColorKey);
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        uint16_t* d = reinterpret_cast<uint16_t*>(dst.RowBytes(dy)) + x + kLo;
        const uint16_t* p = reinterpret_cast<const uint16_t*>(src.RowBytes(syj)) + sx + kLo;
        if (nLevel < 0) {
          // No halving at all: the picture as it is.
          for (int k = 0; k < kHi - kLo; ++k)
            if (!bKey || (p[k] & f.wKeyMask) != (key & f.wKeyMask)) d[k] = p[k];
        } else {
          plat::gfx::TintRow16(d, p, kHi - kLo, f, k, nLevel, bKey, key);
        }
      });
      break;
    }
    case 4: {
      const plat::gfx::GFXRGB k{e.byRed, e.byGreen, e.byBlue};
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        uint32_t* d = reinterpret_cast<uint32_t*>(dst.RowBytes(dy)) + x + kLo;
        const uint32_t* p = reinterpret_cast<const uint32_t*>(src.RowBytes(syj)) + sx + kLo;
        plat::gfx::TintRow32(d, p, kHi - kLo, k, nTimes, bKey, g_DD.dwColorKey);
      });
      break;
    }
    default:
      break;
  }
}

void TransDirect3D(cEffectLocks& locks, int x, int y, int w, int h, const DDSRCRECT& s,
                   int nFlags) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  ForEachPixel(dst, src, x, y, w, h, s, [&](int dx, int dy, int sx, int sy) {
    const uint32_t v = src.Read(sx, sy);
    if (nFlags == 1 && !DDIsOpaqueTexel(v)) return;
    int sr, sg, sb, dr, dg, db;
    DDReadChannels(src, v, sr, sg, sb);
    DDReadChannels(dst, dst.Read(dx, dy), dr, dg, db);
    if (dst.bFullScreenBack) {
      // 5-bit texel channels against the 5-6-5 screen: the texel's green is
      // doubled to 6 bits before the mix, and the mix is written as it is.
      const DDPIXELBITS& b = dst.Bits;
      dst.Write(dx, dy,
                uint32_t((sr + dr) >> 1) << b.nRedShift |
                    uint32_t(((2 * sg + dg) >> 1) & b.nGreenMax) << b.nGreenShift |
                    uint32_t((sb + db) >> 1) << b.nBlueShift);
      return;
    }
    DDWriteChannels(dst, dx, dy, (sr + dr) >> 1, (sg + dg) >> 1, (sb + db) >> 1);
  });
}

void TransDirectDraw(cEffectLocks& locks, int x, int y, int w, int h, int sx, int sy, int nFlags,
                     const uint8_t* lpTable) {
  DDEFFECTPIXELS& dst = locks.Dst;
  const DDEFFECTPIXELS& src = locks.Src;
  const bool bKey = nFlags == 1;
  if (dst.nBytes != src.nBytes) return;
  switch (dst.nBytes) {
    case 1:
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        uint8_t* d = dst.RowBytes(dy) + x;
        const uint8_t* p = src.RowBytes(syj) + sx;
        for (int k = kLo; k < kHi; ++k) {
          // Index 0 is the transparent entry here, whatever the key.
          if (bKey && p[k] == 0) continue;
          d[k] = d[k] == 0 ? p[k] : lpTable[d[k] * 256 + p[k]];
        }
      });
      break;
    case 2: {
      const plat::gfx::GFXFIELDS16 f = DDFields16(dst);
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        plat::gfx::HalfMixRow16(reinterpret_cast<uint16_t*>(dst.RowBytes(dy)) + x + kLo,
                                reinterpret_cast<const uint16_t*>(src.RowBytes(syj)) + sx + kLo,
                                kHi - kLo, f, bKey, uint16_t(g_DD.dwColorKey));
      });
      break;
    }
    case 4:
      ForEachOverlapRow(dst, src, x, y, w, h, sx, sy, [&](int dy, int syj, int kLo, int kHi) {
        plat::gfx::HalfMixRow32(reinterpret_cast<uint32_t*>(dst.RowBytes(dy)) + x + kLo,
                                reinterpret_cast<const uint32_t*>(src.RowBytes(syj)) + sx + kLo,
                                kHi - kLo, bKey, g_DD.dwColorKey);
      });
      break;
    default:
      break;
  }
}

}  // namespace

bool DDBltTint(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
               DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags, const DDPALETTE* lpPalette,
               const uint8_t*, uint32_t dwColor, int nLevel) {
  if (SkipsRaster()) return true;
  if (!lpDstSD || !lpSrcSD || nLevel == 0 || nWidth <= 0 || nHeight <= 0) return true;
  const DDPALENTRY& e = PaletteEntry(lpPalette, dwColor);
  if (g_DD.lpDTCon) {
    if (nLevel < 0) return true;
    const DDSRCRECT src = DDWrapEffectSource(lpSrcSD, nSrcX, nSrcY, nWidth, nHeight);
    DDSURFACEDATA* lpDst = DDEffectRecord(lpDstSD);
    DDSURFACEDATA* lpSrc = DDEffectRecord(lpSrcSD);
    if (!lpDst->lpDT || !lpSrc->lpDT) return true;
    if (UsesDevice(lpDst, lpSrc)) {
      GFXTEXTURESTAGE stage;
      stage.nColorOp = plat::gfx::TOP_BLENDFACTORALPHA;
      stage.nColorArg1 = plat::gfx::TA_TEXTURE;
      stage.nColorArg2 = plat::gfx::TA_TFACTOR;
      stage.nAlphaOp = plat::gfx::TOP_SELECTARG1;
      stage.nAlphaArg1 = plat::gfx::TA_TEXTURE;
      const uint32_t dwFactor =
          plat::gfx::MakeArgb(TintFactorAlpha(nLevel), e.byRed, e.byGreen, e.byBlue);
      return DrawSourceQuad(lpDst, lpSrc, x, y, nWidth, nHeight, src, 0xFFFFFFFFu, stage, dwFactor);
    }
    cEffectLocks locks;
    if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
    TintDirect3D(locks, x, y, nWidth, nHeight, src, nFlags, e, nLevel);
    return locks.Unlock();
  }
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
  TintDirectDraw(locks, x, y, nWidth, nHeight, nSrcX, nSrcY, nFlags, e, dwColor, nLevel);
  return locks.Unlock();
}

bool DDBltTrans(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                const uint8_t* lpBlendTable, int nLevel) {
  if (SkipsRaster()) return true;
  if (!lpDstSD || !lpSrcSD || nWidth <= 0 || nHeight <= 0) return true;
  if (g_DD.lpDTCon) {
    const DDSRCRECT src = DDWrapEffectSource(lpSrcSD, nSrcX, nSrcY, nWidth, nHeight);
    DDSURFACEDATA* lpDst = DDEffectRecord(lpDstSD);
    DDSURFACEDATA* lpSrc = DDEffectRecord(lpSrcSD);
    if (!lpDst->lpDT || !lpSrc->lpDT) return true;
    if (UsesDevice(lpDst, lpSrc)) {
      GFXTEXTURESTAGE stage;
      stage.nColorOp = plat::gfx::TOP_MODULATE;
      stage.nColorArg1 = plat::gfx::TA_TEXTURE;
      stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
      stage.nAlphaOp = plat::gfx::TOP_MODULATE;
      stage.nAlphaArg1 = plat::gfx::TA_TEXTURE;
      stage.nAlphaArg2 = plat::gfx::TA_DIFFUSE;
      const uint32_t dwDiffuse = uint32_t(255 - std::clamp(nLevel, 0, 255)) << 24 | 0xFFFFFFu;
      DrawSourceQuad(lpDst, lpSrc, x, y, nWidth, nHeight, src, dwDiffuse, stage, 0xFFFFFFFFu);
      // Stage 0 as a plain blit leaves its alpha.
      stage.nAlphaOp = plat::gfx::TOP_SELECTARG1;
      g_DD.lpDevice->SetTextureStage(stage);
      return true;
    }
    cEffectLocks locks;
    if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
    TransDirect3D(locks, x, y, nWidth, nHeight, src, nFlags);
    return locks.Unlock();
  }
  cEffectLocks locks;
  if (!locks.Lock(lpDstSD, lpSrcSD)) return false;
  TransDirectDraw(locks, x, y, nWidth, nHeight, nSrcX, nSrcY, nFlags,
                  lpBlendTable ? lpBlendTable : g_BlendTable.data());
  return locks.Unlock();
}

bool DDBltHalfTrans(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                    DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nFlags,
                    const uint8_t* lpBlendTable) {
  if (SkipsRaster()) return true;
  return DDBltTrans(lpDstSD, x, y, nWidth, nHeight, lpSrcSD, nSrcX, nSrcY, nFlags, lpBlendTable,
                    128);
}

int DDChangeColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nAlpha,
                  uint8_t bRed, uint8_t bGreen, uint8_t bBlue) {
  if (SkipsRaster()) return 1;
  return DDChangeColorBlt(lpDstSD, x, y, nWidth, nHeight, lpDstSD, nAlpha, bRed, bGreen, bBlue);
}

int DDChangeColorBlt(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                     DDSURFACEDATA* lpQuadSD, int nAlpha, uint8_t bRed, uint8_t bGreen,
                     uint8_t bBlue) {
  if (SkipsRaster()) return 1;
  if (!g_DD.lpDTCon) {
    DebugLog(
        "DDrawでは DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,int "
        "nHeight,int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) は未対応");
    return 1;
  }
  if (!lpDstSD || !lpQuadSD) return 1;
  DDSURFACEDATA* lpDst = DDEffectRecord(lpDstSD);
  DDSURFACEDATA* lpQuad = DDEffectRecord(lpQuadSD);
  if (!lpDst->lpDT || !lpQuad->lpDT) return 1;
  const uint32_t dwDiffuse =
      plat::gfx::MakeArgb(255 - std::clamp(nAlpha, 0, 255), bRed, bGreen, bBlue);
  GFXVERTEX v[4];
  DDBuildBltQuad(v, x, y, nWidth, nHeight, x, y, nWidth, nHeight, lpQuad->nTexWidth,
                 lpQuad->nTexHeight, dwDiffuse);
  const plat::gfx::GFXBLITRECT q =
      DDBlitRect(x, y, nWidth, nHeight, x, y, nWidth, nHeight, dwDiffuse);
  GFXTEXTURESTAGE stage;
  stage.nColorOp = plat::gfx::TOP_MODULATE;
  stage.nColorArg1 = plat::gfx::TA_TEXTURE;
  stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
  stage.nAlphaOp = plat::gfx::TOP_MODULATE;
  stage.nAlphaArg1 = plat::gfx::TA_TEXTURE;
  stage.nAlphaArg2 = plat::gfx::TA_DIFFUSE;
  // The back buffer carries no texture, and a render target cannot be read
  // while it is drawn into: both show the flat colour.
  const plat::gfx::cImage* pTexture = lpQuad == lpDst ? nullptr : lpQuad->lpDT->lpTexture.get();
  DDDrawEffectQuad(lpDst, lpQuad, v, stage, 0xFFFFFFFFu, pTexture, &q);
  return 1;
}
