// Locks of surfaces for pixel work and the pixel copies built on them: the
// bitmap copy into DirectDraw surfaces (with per-frame mirroring and the
// 16-bit conversion that keeps picture colours off the key), reloads, the
// bitmap-size test and the palette-index map.
#include "draw/surface_lock.h"

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "platform/gfx/bitmap_copy.h"
#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/pixel_rules.h"

using plat::gfx::Failed;

bool cSurfaceLock::Lock(DDSURFACEDATA* lpSD) {
  Unlock();
  if (!lpSD) return false;
  DDResolveSurface(&lpSD);
  DDRedirectBackBuffer(&lpSD);
  m_nBpp = g_DD.nBpp;
  m_nBytesPerPixel = g_DD.nBytesPerPixel;
  plat::gfx::GFXLOCK lock;
  if (g_DD.lpDTCon) {
    if (!lpSD->lpDT || !g_DD.lpDevice) return false;
    DTDATA& dt = *lpSD->lpDT;
    if (dt.bRenderTarget && lpSD != &BackBuffer) {
      if (!dt.lpSurface || !dt.lpSystemSurface ||
          Failed(g_DD.lpDevice->GetRenderTargetData(*dt.lpSurface, *dt.lpSystemSurface))) {
        DebugLog(
            "FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->"
            "lpSystemSurface) )");
        return false;
      }
      if (Failed(dt.lpSystemSurface->Lock(lock))) {
        DebugLog("FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )");
        return false;
      }
      m_pLocked = dt.lpSystemSurface;
      m_pWriteBackTo = dt.lpSurface;
    } else {
      if (!dt.lpSurface) return false;
      if (Failed(dt.lpSurface->Lock(lock))) {
        DebugErrorBoxF("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
        return false;
      }
      m_pLocked = dt.lpSurface;
    }
    m_bBackBuffer = lpSD == &BackBuffer;
    m_bDirect3D = true;
  } else {
    DDLOCKDESC desc;
    uint8_t* lpBits = nullptr;
    if (!DDLock(lpSD, &desc, &lpBits, g_DD.nBpp)) return false;
    m_pLocked = lpSD->lpDDS->lpDDSurface;
    lock.pBits = lpBits;
    lock.nPitch = desc.nPitch;
    m_bDirect3D = false;
  }
  m_lpSD = lpSD;
  m_lpBits = lock.pBits;
  const int nImageBytes = m_pLocked->GetBytesPerPixel();
  m_nPitch = nImageBytes > 0 ? lock.nPitch / nImageBytes : 0;
  return true;
}

void cSurfaceLock::Unlock() {
  if (!m_lpSD) return;
  if (m_bDirect3D) {
    if (m_bBackBuffer) {
      if (Failed(m_pLocked->Unlock()))
        DebugLog("Back :: D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
    } else if (m_pWriteBackTo) {
      if (Failed(m_pLocked->Unlock())) {
        DebugLog("D3D_OK != m_lpSD->lpDT->lpSystemSurface->UnlockRect();");
      } else if (!g_DD.lpDevice ||
                 Failed(g_DD.lpDevice->UpdateSurface(*m_pLocked, *m_pWriteBackTo))) {
        DebugErrorBoxF(
            "FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, "
            "m_lpSD->lpDT->lpSurface, NULL)");
      }
    } else if (Failed(m_pLocked->Unlock())) {
      DebugLog("D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
    }
  } else {
    m_pLocked->Unlock();
  }
  m_lpSD = nullptr;
  m_lpBits = nullptr;
  m_nPitch = 0;
  m_pLocked.reset();
  m_pWriteBackTo.reset();
  m_bBackBuffer = false;
}

bool DDLock(DDSURFACEDATA* lpSD, DDLOCKDESC* lpDesc, uint8_t** lplpBits, int nBpp) {
  if (g_DD.lpDTCon) {
    DebugLog("D3DではDDLockは未対応");
    return true;
  }
  if (!lpSD || !lpSD->lpDDS || !lpSD->lpDDS->lpDDSurface || !lpDesc) return false;
  plat::gfx::GFXLOCK lock;
  if (Failed(lpSD->lpDDS->lpDDSurface->Lock(lock))) return false;
  lpDesc->dwSize = 124;
  lpDesc->nPitch = lock.nPitch;
  lpDesc->lpSurface = lock.pBits;
  if ((nBpp == 8 || nBpp == 16 || nBpp == 24 || nBpp == 32) && lplpBits) *lplpBits = lock.pBits;
  return true;
}

int DDMirrorCoord(int n, int nFrame) {
  if (nFrame <= 0) return n;
  return nFrame * (n / nFrame + 1) - (n % nFrame) - 1;
}

namespace {

// Copies pixel by pixel with the per-frame mirror; a mirrored position
// outside the picture ends the row (columns) or the picture (rows).
template <typename Fn>
void ForEachMirrored(const plat::gfx::cBitmap& bmp, int nMirrorWidth, int nMirrorHeight, Fn fn) {
  const int w = bmp.GetWidth(), h = bmp.GetHeight();
  for (int y = 0; y < h; ++y) {
    const int yd = DDMirrorCoord(y, nMirrorHeight);
    if (yd >= h) return;
    for (int x = 0; x < w; ++x) {
      const int xd = DDMirrorCoord(x, nMirrorWidth);
      if (xd >= w) break;
      fn(x, y, xd, yd);
    }
  }
}

uint32_t Pack16(int r, int g, int b) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  return uint32_t(plat::gfx::ScaleChannelDown(r, s.nRedMax)) << s.nRedShift |
         uint32_t(plat::gfx::ScaleChannelDown(g, s.nGreenMax)) << s.nGreenShift |
         uint32_t(plat::gfx::ScaleChannelDown(b, s.nBlueMax)) << s.nBlueShift;
}

}  // namespace

bool CopyBitmap(DDSURFACEDATA* lpSD, const char* szFileName, int nBpp, int bPalIndex,
                int nMirrorWidth, int nMirrorHeight) {
  if (g_DD.lpDTCon || !szFileName || !*szFileName) return true;
  if (!lpSD || !lpSD->lpDDS || !lpSD->lpDDS->lpDDSurface) return false;
  plat::gfx::cBitmap bmp;
  if (!plat::gfx::LoadBitmapFile(szFileName, bmp)) return false;
  plat::gfx::cImage& image = *lpSD->lpDDS->lpDDSurface;
  // Every path checks the size: a file that changed size since the surface
  // was made is reported and left out, never written past the surface.
  if (image.GetWidth() != bmp.GetWidth() || image.GetHeight() != bmp.GetHeight()) {
    DebugLogF("CopyBitmap Err %s Surface(%d,%d) Bmp(%d,%d)", szFileName, image.GetWidth(),
              image.GetHeight(), bmp.GetWidth(), bmp.GetHeight());
    return true;
  }
  const bool bIndexCopy = nBpp == 8 && bmp.IsIndexed();
  const bool bKeyedCopy = nBpp == 16 && (bmp.GetBitCount() == 24 || bmp.GetBitCount() == 32);
  if (bIndexCopy || bKeyedCopy) {
    DDLOCKDESC desc;
    uint8_t* lpBits = nullptr;
    if (!DDLock(lpSD, &desc, &lpBits, nBpp)) return false;
    if (bIndexCopy) {
      ForEachMirrored(bmp, nMirrorWidth, nMirrorHeight, [&](int x, int y, int xd, int yd) {
        lpBits[size_t(yd) * desc.nPitch + xd] = bmp.GetIndex(x, y);
      });
    } else {
      const RGBTRIPLE key = g_DD.lpDDCon ? g_DD.lpDDCon->rgbTransmit16 : RGBTRIPLE{};
      const DDPIXELBITS& s = g_DD.SurfaceBits;
      const uint32_t dwKey = g_DD.dwColorKey & 0xFFFF;
      ForEachMirrored(bmp, nMirrorWidth, nMirrorHeight, [&](int x, int y, int xd, int yd) {
        const uint32_t c = bmp.GetArgb(x, y);
        const int r = plat::gfx::GetR(c), g = plat::gfx::GetG(c), b = plat::gfx::GetB(c);
        uint32_t v;
        if (r == key.rgbtRed && g == key.rgbtGreen && b == key.rgbtBlue) {
          v = dwKey;
        } else {
          v = Pack16(r, g, b);
          if (v == dwKey) {
            // A picture colour that lands on the key moves one step in blue.
            const uint32_t nBlue = (v >> s.nBlueShift) & s.nBlueMax;
            v = nBlue == uint32_t(s.nBlueMax) ? v - (1u << s.nBlueShift) : v + (1u << s.nBlueShift);
          }
        }
        uint8_t* p = lpBits + size_t(yd) * desc.nPitch + size_t(xd) * 2;
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
      });
    }
    image.Unlock();
  } else {
    plat::gfx::CopyBitmapToImage(image, bmp, nMirrorWidth, nMirrorHeight);
  }
  lpSD->nWidth = bmp.GetWidth();
  lpSD->nHeight = bmp.GetHeight();
  lpSD->nMirrorWidth = nMirrorWidth;
  lpSD->nMirrorHeight = nMirrorHeight;
  DDSetSurfaceName(lpSD->szFileName, szFileName);
  if (bPalIndex && nBpp != 8) {
    if (!DDBuildPalIndexMap(&lpSD->lpDDS->lpPalIndex, lpSD)) return false;
  } else {
    lpSD->lpDDS->lpPalIndex.clear();
  }
  return true;
}

bool DDReloadSurface(DDSURFACEDATA* lpSD, int nBpp) {
  if (g_DD.lpDTCon) return true;
  if (!lpSD || !lpSD->lpDDS) return false;
  return CopyBitmap(lpSD, lpSD->szFileName, nBpp, !lpSD->lpDDS->lpPalIndex.empty(),
                    lpSD->nMirrorWidth, lpSD->nMirrorHeight);
}

int DDIsBitmapLarger(int* lpbLarger, const char* szFileName, int nWidth, int nHeight) {
  if (g_DD.lpDTCon) return 1;
  plat::gfx::cBitmap bmp;
  if (!szFileName || !plat::gfx::LoadBitmapFile(szFileName, bmp)) {
    *lpbLarger = 0;
    return 0;
  }
  *lpbLarger = (bmp.GetWidth() > nWidth || bmp.GetHeight() > nHeight) ? 1 : 0;
  return 1;
}

namespace {

int FindEntry(int r, int g, int b) {
  for (int i = 0; i < 256; ++i) {
    const DDPALENTRY& e = g_DD.ProgramPalette[size_t(i)];
    if (e.byRed == r && e.byGreen == g && e.byBlue == b) return i;
  }
  return 0;  // no entry has the colour
}

}  // namespace

int DDBuildPalIndexMap(std::vector<uint8_t>* lpMap, DDSURFACEDATA* lpSD) {
  cSurfaceLock lock;
  if (!lpMap || !lock.Lock(lpSD)) {
    OutOfMemoryClose();
    return 0;
  }
  DDSURFACEDATA* sd = lock.m_lpSD;
  lpMap->assign(size_t(std::max(sd->nHeight, 0)) * size_t(lock.m_nPitch), 0);
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  const bool bKeyed = sd->lpDT && sd->lpDT->bColorKey;
  const int w = std::min(sd->nWidth, lock.m_nPitch);
  for (int y = 0; y < sd->nHeight; ++y) {
    const uint8_t* row = lock.m_lpBits + size_t(y) * lock.m_nPitch * lock.m_nBytesPerPixel;
    for (int x = 0; x < w; ++x) {
      int nIndex = 0;
      if (g_DD.nBpp == 16) {
        const uint32_t v = uint32_t(row[x * 2] | row[x * 2 + 1] << 8);
        if (g_DD.lpDTCon) {
          if (!(bKeyed && v == 0)) {
            nIndex = FindEntry(
                plat::gfx::ScaleChannelUp((v >> s.nRedShift) & s.nRedMax, s.nRedMax),
                plat::gfx::ScaleChannelUp((v >> s.nGreenShift) & s.nGreenMax, s.nGreenMax),
                plat::gfx::ScaleChannelUp((v >> s.nBlueShift) & s.nBlueMax, s.nBlueMax));
          }
        } else {
          for (int i = 0; i < 256; ++i) {
            const DDPALENTRY& e = g_DD.ProgramPalette[size_t(i)];
            const uint32_t pe = uint32_t(e.byBlue & s.nBlueMax) << s.nBlueShift |
                                uint32_t(e.byGreen & s.nGreenMax) << s.nGreenShift |
                                uint32_t(e.byRed & s.nRedMax) << s.nRedShift;
            if (pe == v) {
              nIndex = i;
              break;
            }
          }
        }
      } else if (g_DD.nBpp == 24 || g_DD.nBpp == 32) {
        const uint8_t* p = row + x * 4;
        nIndex = FindEntry(p[2], p[1], p[0]);
      }
      (*lpMap)[size_t(y) * lock.m_nPitch + x] = uint8_t(nIndex);
    }
  }
  return 1;
}
