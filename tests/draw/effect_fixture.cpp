// Helpers of the pixel-effect tests.
#include "effect_fixture.h"

#include "draw/surface_lock.h"
#include "draw/surfaces.h"

namespace drawtest {

void cEffectTest::SetUp() {
  cDrawModeTest::SetUp();
  // The key of the DirectDraw modes: magenta, or index 0; Direct3D textures
  // mark transparency by their alpha instead.
  if (!IsD3D()) m_dwKey = Bpp() == 8 ? 0 : Raw(Max(0), 0, Max(2));
  g_DD.dwColorKey = m_dwKey;
}

void cEffectTest::TearDown() {
  DDReleaseSurface(&m_Src);
  DDReleaseSurface(&m_Dst);
  cDrawModeTest::TearDown();
}

void cEffectTest::Blank(DDSURFACEDATA& sd, int w, int h, bool bSystem) {
  ASSERT_TRUE(DDCreateSurface(&sd, w, h, 1, bSystem ? 1 : 0,
                              bSystem ? DTMEMORYTYPE_SYSTEM : DTMEMORYTYPE_VIDEO_RT, 0, 0));
  Fill(&sd, 0);
}

void cEffectTest::Poke(DDSURFACEDATA* lpSD, int x, int y, uint32_t v) {
  cSurfaceLock lock;
  ASSERT_TRUE(lock.Lock(lpSD));
  uint8_t* p = lock.m_lpBits + (size_t(y) * lock.m_nPitch + x) * lock.m_nBytesPerPixel;
  for (int i = 0; i < lock.m_nBytesPerPixel; ++i) p[i] = uint8_t(v >> (8 * i));
}

void cEffectTest::Fill(DDSURFACEDATA* lpSD, uint32_t v) {
  cSurfaceLock lock;
  ASSERT_TRUE(lock.Lock(lpSD));
  for (int y = 0; y < lock.m_lpSD->nHeight; ++y)
    for (int x = 0; x < lock.m_lpSD->nWidth; ++x) {
      uint8_t* p = lock.m_lpBits + (size_t(y) * lock.m_nPitch + x) * lock.m_nBytesPerPixel;
      for (int i = 0; i < lock.m_nBytesPerPixel; ++i) p[i] = uint8_t(v >> (8 * i));
    }
}

uint32_t cEffectTest::Raw(int r, int g, int b) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  if (g_DD.nBpp == 8) return uint32_t(r);
  uint32_t v =
      uint32_t(r) << s.nRedShift | uint32_t(g) << s.nGreenShift | uint32_t(b) << s.nBlueShift;
  if (g_DD.lpDTCon) v |= uint32_t(s.nAlphaMax) << s.nAlphaShift;
  return v;
}

int cEffectTest::Max(int nChannel) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  return nChannel == 0 ? s.nRedMax : nChannel == 1 ? s.nGreenMax : s.nBlueMax;
}

void cEffectTest::Channels(uint32_t v, int& r, int& g, int& b) {
  const DDPIXELBITS& s = g_DD.SurfaceBits;
  r = int((v >> s.nRedShift) & uint32_t(s.nRedMax));
  g = int((v >> s.nGreenShift) & uint32_t(s.nGreenMax));
  b = int((v >> s.nBlueShift) & uint32_t(s.nBlueMax));
}

}  // namespace drawtest
