// Locking a surface for pixel work, and the pixel copies built on it.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/surface_data.h"
#include "platform/gfx/image.h"

// A lock held for the length of one operation; released on every way out.
class cSurfaceLock {
 public:
  cSurfaceLock() = default;
  ~cSurfaceLock() { Unlock(); }
  cSurfaceLock(const cSurfaceLock&) = delete;
  cSurfaceLock& operator=(const cSurfaceLock&) = delete;

  bool Lock(DDSURFACEDATA* lpSD);
  // False when the unlock (or a render target's write-back) failed.
  bool Unlock();
  // The image whose pixels m_lpBits points at (a render target's system
  // copy); null while nothing is locked.
  const plat::gfx::cImage* GetImage() const { return m_pLocked.get(); }

  DDSURFACEDATA* m_lpSD = nullptr;
  uint8_t* m_lpBits = nullptr;
  int m_nPitch = 0;  // in pixels
  int m_nBpp = 32;
  int m_nBytesPerPixel = 4;

 private:
  plat::gfx::cImagePtr m_pLocked;       // the image whose lock is held
  plat::gfx::cImagePtr m_pWriteBackTo;  // render target the pixels go back to
  bool m_bBackBuffer = false;
  bool m_bDirect3D = false;
};

// The DirectDraw lock of a whole surface.
struct DDLOCKDESC {
  uint32_t dwSize = 124;
  int nPitch = 0;  // bytes
  uint8_t* lpSurface = nullptr;
};

bool DDLock(DDSURFACEDATA* lpSD, DDLOCKDESC* lpDesc, uint8_t** lplpBits, int nBpp);
bool CopyBitmap(DDSURFACEDATA* lpSD, const char* szFileName, int nBpp, int bPalIndex,
                int nMirrorWidth, int nMirrorHeight);
bool DDReloadSurface(DDSURFACEDATA* lpSD, int nBpp);
int DDIsBitmapLarger(int* lpbLarger, const char* szFileName, int nWidth, int nHeight);
int DDBuildPalIndexMap(std::vector<uint8_t>* lpMap, DDSURFACEDATA* lpSD);
// Per-frame mirror of one coordinate: frame size 0 copies straight.
int DDMirrorCoord(int n, int nFrame);
