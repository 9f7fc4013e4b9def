// Shared set-up of the pixel-effect tests: the library in one mode of the
// matrix with a known key, blank surfaces whose raw pixels the tests write
// and read through the library's own lock, and raw pixels built from
// channel values in the layout of the mode's surfaces.
#pragma once

#include <cstdint>

#include "draw/surface_data.h"
#include "draw_fixture.h"

namespace drawtest {

class cEffectTest : public cDrawModeTest {
 public:
  // An opaque pixel of the channels (in field units) in the layout of the
  // mode's textures (Direct3D) or screen (DirectDraw).
  static uint32_t Raw(int r, int g, int b);
  // Field maxima of the mode's textures or screen: red, green, blue.
  static int Max(int nChannel);
  // The channels of a raw pixel in that layout.
  static void Channels(uint32_t v, int& r, int& g, int& b);

 protected:
  void SetUp() override;
  void TearDown() override;

  // A blank w x h surface: Direct3D a render-target texture, or with
  // bSystem a system-memory texture (drawn by software); DirectDraw an
  // off-screen surface in video memory.
  void Blank(DDSURFACEDATA& sd, int w, int h, bool bSystem = false);
  static void Poke(DDSURFACEDATA* lpSD, int x, int y, uint32_t v);
  static void Fill(DDSURFACEDATA* lpSD, uint32_t v);
  // The mode's key as the effects compare it.
  uint32_t Key() const { return m_dwKey; }

  DDSURFACEDATA m_Src, m_Dst;

 private:
  uint32_t m_dwKey = 0;
};

}  // namespace drawtest
