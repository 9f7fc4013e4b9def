// Palette numbers to pixel values in every mode, the palette picture, and
// the colour key that keeps sprite backgrounds out of the picture.
#include "draw/palette_key.h"

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/pixel_rules.h"

using plat::gfx::ScaleChannelDown;
using plat::gfx::ScaleChannelUp;

uint32_t PalNumToRGB(uint32_t dwPalNum) {
  // Numbers past the palette are refused in both modes.
  if (dwPalNum > 255) {
    DebugLogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", static_cast<int>(dwPalNum));
    return 0;
  }
  const DDPALENTRY& e = g_DD.ProgramPalette[dwPalNum];
  if (g_DD.lpDTCon) {
    if (g_DD.nBpp != 16 && g_DD.nBpp != 32) return 0;
    if (dwPalNum == 0) return g_DD.lpDTCon->dwTransparent;
    return 0xFF000000u | uint32_t(e.byRed) << 16 | uint32_t(e.byGreen) << 8 | e.byBlue;
  }
  switch (g_DD.nBpp) {
    case 8:
      return dwPalNum;
    case 16: {
      const DDPIXELBITS& s = g_DD.SurfaceBits;
      return uint32_t(e.byBlue & s.nBlueMax) << s.nBlueShift |
             uint32_t(e.byGreen & s.nGreenMax) << s.nGreenShift |
             uint32_t(e.byRed & s.nRedMax) << s.nRedShift;
    }
    case 24:
    case 32:
      return uint32_t(e.byRed) << 16 | uint32_t(e.byGreen) << 8 | e.byBlue;
    default:
      return 0;
  }
}

bool DDLoadPaletteFromFile(DDPALETTE& Palette, const char* szFileName, int) {
  plat::gfx::cBitmap bmp;
  if (!szFileName || !plat::gfx::LoadBitmapFile(szFileName, bmp)) return false;
  if (bmp.GetBitCount() == 8) {
    const auto& table = bmp.GetColorTable();
    const bool bD3D = g_DD.lpDTCon != nullptr;
    if (bD3D || g_DD.nBpp == 8) {
      for (size_t i = 0; i < 256 && i < table.size(); ++i) {
        DDPALENTRY& e = Palette[i];
        e = table[i];
        e.byFlags = bD3D ? 255 : ((i >= 10 && i <= 245) ? PC_RESERVED : PC_EXPLICIT);
      }
    }
  }
  if (g_DD.nBpp == 8) {
    if (g_DD.lpDDCon && g_DD.lpDDPalette) g_DD.lpDDPalette->SetEntries(0, 256, Palette.data());
  } else if (g_DD.nBpp == 16 || g_DD.nBpp == 24 || g_DD.nBpp == 32) {
    DDSURFACEDATA temp;
    if (DDCreateSurfaceFromFile(&temp, szFileName, 0, g_DD.nBpp, 1, DTMEMORYTYPE_SYSTEM, nullptr, 0,
                                0, 0, 0) == 0)
      DDSetPalette_UnPal(Palette, &temp);
    DDReleaseSurface(&temp);
  }
  return true;
}

void DDSetPalette_UnPal(DDPALETTE& Palette, DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  const bool bD3D = g_DD.lpDTCon != nullptr;
  cSurfaceLock lock;
  DDLOCKDESC desc;
  uint8_t* lpBits = nullptr;
  int nPitchBytes = 0;
  DDSURFACEDATA* sd = lpSD;
  if (bD3D) {
    if (!lock.Lock(lpSD)) {
      DebugLog("DDSetPalette_UnPal Lock Err");
      return;
    }
    sd = lock.m_lpSD;
    lpBits = lock.m_lpBits;
    nPitchBytes = lock.m_nPitch * lock.m_nBytesPerPixel;
  } else {
    if (!DDLock(lpSD, &desc, &lpBits, g_DD.nBpp)) return;
    nPitchBytes = desc.nPitch;
  }
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  for (int k = 0; k < 256 && lpBits; ++k) {
    const int x = k % 16, y = 8 + k / 16;
    // A picture too small for the block leaves those entries alone.
    if (x >= sd->nWidth || y >= sd->nHeight) continue;
    const uint8_t* p = lpBits + size_t(y) * nPitchBytes;
    DDPALENTRY& e = Palette[size_t(k)];
    if (g_DD.nBpp == 16) {
      const uint32_t v = uint32_t(p[x * 2] | p[x * 2 + 1] << 8);
      const int r = int((v >> s.nRedShift) & s.nRedMax),
                g = int((v >> s.nGreenShift) & s.nGreenMax);
      const int b = int((v >> s.nBlueShift) & s.nBlueMax);
      if (!bD3D) {
        e.byRed = uint8_t(r);
        e.byGreen = uint8_t(g);
        e.byBlue = uint8_t(b);
      } else if (((v >> s.nAlphaShift) & s.nAlphaMax) != 0) {
        e.byRed = uint8_t(ScaleChannelUp(r, s.nRedMax));
        e.byGreen = uint8_t(ScaleChannelUp(g, s.nGreenMax));
        e.byBlue = uint8_t(ScaleChannelUp(b, s.nBlueMax));
      }
    } else if (g_DD.nBpp == 32) {
      const uint8_t* q = p + x * 4;
      if (!bD3D || q[3] != 0) {
        e.byRed = q[2];
        e.byGreen = q[1];
        e.byBlue = q[0];
        e.byFlags = q[3];
      }
    }
  }
  if (!bD3D) lpSD->lpDDS->lpDDSurface->Unlock();
}

void DDGetPixelFormatBits(DDPIXELBITS* lpBits) {
  if (g_DD.lpDTCon || !g_DD.lpDD || !lpBits) return;
  // The screen has no alpha field: the alpha entries stay as they are.
  DDPIXELBITS bits = plat::gfx::GetFormatBits(g_DD.lpDD->GetScreenFormat());
  bits.nAlphaShift = lpBits->nAlphaShift;
  bits.nAlphaMax = lpBits->nAlphaMax;
  *lpBits = bits;
}

void DDSetTransmit(uint8_t cbRed, uint8_t cbGreen, uint8_t cbBlue) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  if (g_DD.lpDTCon) {
    DTCONDATA& con = *g_DD.lpDTCon;
    con.rgbTransmit = {cbBlue, cbGreen, cbRed};
    DebugLogF(
        "SetTrans lpDTCon->rgbTransmit.rgbtRed = %d,lpDTCon->rgbTransmit.rgbtGreen = "
        "%d,lpDTCon->rgbTransmit.rgbtBlue = %d",
        cbRed, cbGreen, cbBlue);
    if (g_DD.nBpp == 32) {
      con.dwTransparent = 0;
      con.dwTransmitColor = 0xFF000000u | uint32_t(cbRed) << 16 | uint32_t(cbGreen) << 8 | cbBlue;
      g_DD.dwColorKey = 0;
    } else if (g_DD.nBpp == 16) {
      // The values are fields of the texture format; the clear colour is
      // built from them widened to 8 bits, so keyed texels on the screen show
      // the key colour as they do at 32 bits.
      con.dwTransparent = 0;
      con.dwTransmitColor = 0xFF000000u | uint32_t(ScaleChannelUp(cbRed, s.nRedMax)) << 16 |
                            uint32_t(ScaleChannelUp(cbGreen, s.nGreenMax)) << 8 |
                            uint32_t(ScaleChannelUp(cbBlue, s.nBlueMax));
    }
    return;
  }
  if (g_DD.nBpp == 32) {
    g_DD.dwColorKey = uint32_t(cbRed) << 16 | uint32_t(cbGreen) << 8 | cbBlue;
    if (g_DD.lpDDCon) g_DD.lpDDCon->rgbTransmit = {cbBlue, cbGreen, cbRed};
  } else if (g_DD.nBpp == 16) {
    const uint32_t r = uint32_t(ScaleChannelDown(cbRed, s.nRedMax));
    const uint32_t g = uint32_t(ScaleChannelDown(cbGreen, s.nGreenMax));
    const uint32_t b = uint32_t(ScaleChannelDown(cbBlue, s.nBlueMax));
    g_DD.dwColorKey = (r << s.nRedShift | g << s.nGreenShift | b << s.nBlueShift) & 0xFFFF;
    DebugLog("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！");
    DebugErrorBoxF("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", static_cast<int>(g_DD.dwColorKey),
                   cbRed, cbGreen, cbBlue, ScaleChannelUp(int(r), s.nRedMax),
                   ScaleChannelUp(int(g), s.nGreenMax), ScaleChannelUp(int(b), s.nBlueMax));
  }
}

bool DDSetTransmitFromFile(const char* szFileName) {
  if (!szFileName) szFileName = "";
  DDSURFACEDATA temp;
  const int nCode = DDCreateSurfaceFromFile(&temp, szFileName, 0, g_DD.nBpp, 1, DTMEMORYTYPE_SYSTEM,
                                            nullptr, 0, 0, 0, 0);
  if (!DDLogSurfaceError(nCode)) {
    DebugLogF("%s 作成失敗！", szFileName);
    return false;
  }
  cSurfaceLock lock;
  if (!lock.Lock(&temp)) {
    DebugLog("Lock 失敗！");
    DDReleaseSurface(&temp);
    return false;
  }
  const uint8_t* p = lock.m_lpBits;
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  if (g_DD.lpDTCon) {
    if (g_DD.nBpp == 16) {
      const uint32_t v = uint32_t(p[0] | p[1] << 8);
      g_DD.dwColorKey = v;
      if (*szFileName) {
        plat::gfx::cBitmap bmp;
        if (!plat::gfx::LoadBitmapFile(szFileName, bmp)) {
          // The lock goes before the record it belongs to.
          lock.Unlock();
          DDReleaseSurface(&temp);
          return false;
        }
        if (bmp.GetBitCount() == 8 && !bmp.GetColorTable().empty()) {
          const auto& c0 = bmp.GetColorTable()[0];
          g_DD.lpDTCon->rgbTransmit16 = {c0.byBlue, c0.byGreen, c0.byRed};
        }
      }
      DDSetTransmit(uint8_t((v >> s.nRedShift) & s.nRedMax),
                    uint8_t((v >> s.nGreenShift) & s.nGreenMax),
                    uint8_t((v >> s.nBlueShift) & s.nBlueMax));
      DebugLogF("SetTrans(filename) lpDTCon->wTransmit_16 = (%x)",
                g_DD.lpDTCon->dwTransparent & 0xFFFF);
    } else if (g_DD.nBpp == 32) {
      DDSetTransmit(p[2], p[1], p[0]);
    }
  } else {
    switch (g_DD.nBpp) {
      case 8:
        g_DD.dwColorKey = p[0];
        break;
      case 16:
        g_DD.dwColorKey = uint32_t(p[0] | p[1] << 8);
        break;
      case 32:
        g_DD.dwColorKey = uint32_t(p[0] | p[1] << 8 | p[2] << 16);
        if (g_DD.lpDDCon) g_DD.lpDDCon->rgbTransmit = {p[0], p[1], p[2]};
        break;
      default:
        break;
    }
  }
  lock.Unlock();
  DDReleaseSurface(&temp);
  return true;
}
