// A drawing context for the tests of the floors above draw/: the library
// set up headless in one mode, a few palette colours, pixels read back, and
// everything released when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

class cHeadlessDrawing {
 public:
  // 32-bit DirectDraw in a window unless asked otherwise.
  explicit cHeadlessDrawing(int bDirect3D = 0, int nBpp = 32) {
    plat::gfx::ClearAllFaults();
    plat::gfx::GFXDISPLAYCONFIG display;
    display.nDesktopBpp = nBpp;
    plat::gfx::SetDisplayConfig(display);
    m_bOk = DDInit(bDirect3D, nullptr, 640, 480, nBpp, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0);
    EXPECT_TRUE(m_bOk);
  }
  ~cHeadlessDrawing() {
    DDReleaseAll();
    for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &VirBackBuffer, &WorkSD, &SystemWorkSD})
      DDZeroSurface(sd);
    SpriteBatch = DDSPRITEBATCH{};
    FillBatch = DDFILLBATCH{};
    g_DD.bInitialized = 0;
    g_DD.dwColorKey = 0;
    g_DD.ProgramPalette = DDPALETTE{};
    g_DD.DisplayPalette = DDPALETTE{};
    g_DD.SurfaceBits = DDPIXELBITS{};
    g_DD.BackBufferBits = DDPIXELBITS{};
    plat::gfx::SetDisplayConfig(plat::gfx::GFXDISPLAYCONFIG{});
  }
  cHeadlessDrawing(const cHeadlessDrawing&) = delete;
  cHeadlessDrawing& operator=(const cHeadlessDrawing&) = delete;

  bool Ok() const { return m_bOk; }

  // Palette entries of direct colours (0xRRGGBB), as the palette picture
  // would give them in a 32-bit mode.
  static void SetColours(const std::vector<std::pair<int, uint32_t>>& entries) {
    for (const auto& [i, c] : entries)
      g_DD.ProgramPalette[size_t(i)] = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0};
    g_DD.DisplayPalette = g_DD.ProgramPalette;
  }

  // A pixel of a 32-bit record as 0xRRGGBB.
  static uint32_t Rgb(DDSURFACEDATA* lpSD, int x, int y) {
    cSurfaceLock lock;
    if (!lock.Lock(lpSD) || x < 0 || y < 0 || x >= lock.m_lpSD->nWidth || y >= lock.m_lpSD->nHeight)
      return 0xDEADBEEF;
    const uint8_t* p = lock.m_lpBits + (size_t(y) * size_t(lock.m_nPitch) + size_t(x)) * 4;
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16);
  }

 private:
  bool m_bOk = false;
};
