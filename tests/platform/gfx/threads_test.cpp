// Images are plain memory: two threads drawing into their own images at the
// same time get exactly what one thread gets.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/direct_draw.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

// A small scene of tinted, mirrored, stretched and rotated quads plus keyed
// DirectDraw blits; returns a checksum of both results.
uint64_t DrawScene(int nSeed) {
  std::unique_ptr<cD3DDevice> dev;
  GFXPRESENTPARAMS pp;
  pp.nWidth = 64, pp.nHeight = 48;
  cD3DDevice::Create(pp, false, dev);
  cImagePtr tex;
  dev->CreateTexture(16, 16, ePixelFormat::A8R8G8B8, ePool::Managed, false, tex);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      tex->WritePixel(x, y, MakeArgb((x + y) % 3 == 0 ? 0 : 128 + x * 8, x * 16, y * 16, nSeed));
  dev->SetAlphaBlend(true);
  dev->SetTexture(tex.get());
  for (int i = 0; i < 200; ++i) {
    const float x = float((i * 7) % 60) - 0.5f, y = float((i * 5) % 44) - 0.5f,
                s = float(4 + i % 12);
    const float a = float(i) * 0.1f;
    const uint32_t dif = MakeArgb(255, 255 - i, 128 + i % 100, 255);
    GFXVERTEX v[4] = {{x, y, 0, 1, dif, 0, 0},
                      {x + s * std::sin(a), y + s, 0, 1, dif, 0, 1},
                      {x + s, y, 0, 1, dif, i % 2 ? -1.f : 1.f, 0},
                      {x + s + s * std::sin(a), y + s, 0, 1, dif, i % 2 ? -1.f : 1.f, 1}};
    dev->SetTextureStage({i % 3 == 0 ? TOP_MODULATE : TOP_ADD, TA_TEXTURE, TA_DIFFUSE,
                          TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE});
    dev->DrawQuad(v);
  }
  cDirectDraw dd;
  dd.SetDisplayMode(64, 48, 16, 60);
  cImagePtr back, sprite;
  dd.CreateOffscreen(64, 48, true, back);
  dd.CreateOffscreen(8, 8, true, sprite);
  dd.SetColorKey(*sprite, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) sprite->WritePixel(x, y, uint32_t((x * y + nSeed) & 7));
  for (int i = 0; i < 200; ++i)
    dd.BltFast(*back, (i * 3) % 56, (i * 11) % 40, *sprite, MakeRect(0, 0, 8, 8), true);
  uint64_t sum = 0;
  for (const cImage* im : {dev->GetBackBuffer().get(), back.get()})
    for (int y = 0; y < im->GetHeight(); ++y)
      for (int x = 0; x < im->GetWidth(); ++x) sum = sum * 1099511628211ull + im->ReadPixel(x, y);
  return sum;
}

TEST(Threads, DrawingOnTwoThreadsMatchesOne) {
  const uint64_t a = DrawScene(1), b = DrawScene(2);
  ASSERT_NE(a, b);
  uint64_t ta = 0, tb = 0;
  std::thread t1([&] { ta = DrawScene(1); });
  std::thread t2([&] { tb = DrawScene(2); });
  t1.join();
  t2.join();
  EXPECT_EQ(ta, a);
  EXPECT_EQ(tb, b);
}

}  // namespace
}  // namespace plat::gfx
