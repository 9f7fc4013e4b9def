// Speed of the pixel engine on the game's common work: a full-screen keyed
// and plain blit, a 32x32 sprite, and a frame of a background plus 300
// sprites, in a 16-bit DirectDraw-shaped screen and a 32-bit Direct3D-shaped
// back buffer.
#include <benchmark/benchmark.h>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/direct_draw.h"

namespace {

using namespace plat::gfx;

constexpr int kW = 640, kH = 480;
constexpr uint32_t kKey16 = 0xF81F;

// Deterministic picture: a quarter of the pixels are the key (transparent).
uint32_t PatternPixel(int x, int y) { return uint32_t(x * 7 + y * 13) & 0xFFFF; }
bool PatternKeyed(int x, int y) { return ((x >> 3) + (y >> 3)) % 4 == 0; }

struct DD16 {
  cDirectDraw dd;
  cImagePtr back, picture, sheet;
  DD16() {
    dd.SetDisplayMode(kW, kH, 16, 60);
    dd.CreateOffscreen(kW, kH, false, back);
    dd.CreateOffscreen(kW, kH, false, picture);
    dd.CreateOffscreen(256, 256, false, sheet);
    for (cImage* im : {picture.get(), sheet.get()}) {
      dd.SetColorKey(*im, kKey16);
      for (int y = 0; y < im->GetHeight(); ++y)
        for (int x = 0; x < im->GetWidth(); ++x)
          im->WritePixel(x, y,
                         PatternKeyed(x, y)
                             ? kKey16
                             : (PatternPixel(x, y) == kKey16 ? 0 : PatternPixel(x, y)));
    }
  }
};

struct D3D32 {
  std::unique_ptr<cD3DDevice> dev;
  cImagePtr picture, sheet;
  D3D32() {
    cD3DDevice::Create({}, false, dev);
    dev->CreateTexture(kW, kH, ePixelFormat::A8R8G8B8, ePool::Managed, false, picture);
    dev->CreateTexture(256, 256, ePixelFormat::A8R8G8B8, ePool::Managed, false, sheet);
    for (cImage* im : {picture.get(), sheet.get()})
      for (int y = 0; y < im->GetHeight(); ++y)
        for (int x = 0; x < im->GetWidth(); ++x)
          im->WritePixel(x, y, PatternKeyed(x, y) ? 0u : 0xFF000000u | PatternPixel(x, y) << 4);
    dev->SetAlphaBlend(true);
    dev->SetTextureStage(
        {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE});
  }
  void Blit(const cImage& tex, int x, int y, int w, int h, int sx, int sy) {
    const float x0 = float(x) - 0.5f, x1 = float(x + w) - 0.5f, y0 = float(y) - 0.5f,
                y1 = float(y + h) - 0.5f;
    const float u0 = float(sx) / float(tex.GetWidth()), u1 = float(sx + w) / float(tex.GetWidth());
    const float t0 = float(sy) / float(tex.GetHeight()),
                t1 = float(sy + h) / float(tex.GetHeight());
    const GFXVERTEX v[4] = {{x0, y0, 0, 1, 0xFFFFFFFF, u0, t0},
                            {x0, y1, 0, 1, 0xFFFFFFFF, u0, t1},
                            {x1, y0, 0, 1, 0xFFFFFFFF, u1, t0},
                            {x1, y1, 0, 1, 0xFFFFFFFF, u1, t1}};
    dev->SetTexture(&tex);
    dev->DrawQuad(v);
  }
};

// Sprite positions spread over the screen, some cut by its edges.
void SpritePos(int i, int& x, int& y, int& sx, int& sy) {
  x = (i * 97) % (kW + 32) - 16;
  y = (i * 61) % (kH + 32) - 16;
  sx = (i % 8) * 32;
  sy = ((i / 8) % 8) * 32;
}

void BM_DD16_FullScreenKeyed(benchmark::State& state) {
  DD16 s;
  for (auto _ : state) {
    s.dd.BltFast(*s.back, 0, 0, *s.picture, MakeRect(0, 0, kW, kH), true);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DD16_FullScreenKeyed)->Unit(benchmark::kMillisecond);

void BM_DD16_FullScreenPlain(benchmark::State& state) {
  DD16 s;
  for (auto _ : state) {
    s.dd.BltFast(*s.back, 0, 0, *s.picture, MakeRect(0, 0, kW, kH), false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DD16_FullScreenPlain)->Unit(benchmark::kMillisecond);

void BM_DD16_Sprite32(benchmark::State& state) {
  DD16 s;
  for (auto _ : state) {
    s.dd.BltFast(*s.back, 300, 200, *s.sheet, MakeRect(32, 64, 32, 32), true);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DD16_Sprite32)->Unit(benchmark::kMicrosecond);

void BM_DD16_FrameBackgroundAnd300Sprites(benchmark::State& state) {
  DD16 s;
  for (auto _ : state) {
    s.dd.BltFast(*s.back, 0, 0, *s.picture, MakeRect(0, 0, kW, kH), false);
    for (int i = 0; i < 300; ++i) {
      int x, y, sx, sy;
      SpritePos(i, x, y, sx, sy);
      // The caller clips, as the drawing library does before the call.
      int l = 0, t = 0, w = 32, h = 32;
      if (x < 0) l = -x, w += x, x = 0;
      if (y < 0) t = -y, h += y, y = 0;
      w = std::min(w, kW - x);
      h = std::min(h, kH - y);
      if (w > 0 && h > 0)
        s.dd.BltFast(*s.back, x, y, *s.sheet, MakeRect(sx + l, sy + t, w, h), true);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DD16_FrameBackgroundAnd300Sprites)->Unit(benchmark::kMillisecond);

void BM_D3D32_FullScreenKeyed(benchmark::State& state) {
  D3D32 s;
  for (auto _ : state) {
    s.Blit(*s.picture, 0, 0, kW, kH, 0, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D32_FullScreenKeyed)->Unit(benchmark::kMillisecond);

void BM_D3D32_Sprite32(benchmark::State& state) {
  D3D32 s;
  for (auto _ : state) {
    s.Blit(*s.sheet, 300, 200, 32, 32, 32, 64);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D32_Sprite32)->Unit(benchmark::kMicrosecond);

void BM_D3D32_FrameBackgroundAnd300Sprites(benchmark::State& state) {
  D3D32 s;
  for (auto _ : state) {
    s.dev->SetAlphaBlend(false);
    s.Blit(*s.picture, 0, 0, kW, kH, 0, 0);
    s.dev->SetAlphaBlend(true);
    for (int i = 0; i < 300; ++i) {
      int x, y, sx, sy;
      SpritePos(i, x, y, sx, sy);
      s.Blit(*s.sheet, x, y, 32, 32, sx, sy);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D32_FrameBackgroundAnd300Sprites)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The slower general rule: a half-transparent full-screen fill (fades) and a
// tinted full-screen blit.
void BM_D3D32_FullScreenTranslucentFill(benchmark::State& state) {
  D3D32 s;
  s.dev->SetTextureStage(
      {TOP_SELECTARG2, TA_TEXTURE, TA_TFACTOR, TOP_SELECTARG2, TA_TEXTURE, TA_TFACTOR});
  s.dev->SetTextureFactor(0x80000000);
  for (auto _ : state) {
    s.dev->SetTexture(nullptr);
    const GFXVERTEX v[4] = {{-0.5f, -0.5f, 0, 1, 0x80000000, 0, 0},
                            {-0.5f, kH - 0.5f, 0, 1, 0x80000000, 0, 0},
                            {kW - 0.5f, -0.5f, 0, 1, 0x80000000, 0, 0},
                            {kW - 0.5f, kH - 0.5f, 0, 1, 0x80000000, 0, 0}};
    s.dev->DrawQuad(v);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D32_FullScreenTranslucentFill)->Unit(benchmark::kMillisecond);

void BM_D3D32_FullScreenTintedBlit(benchmark::State& state) {
  D3D32 s;
  for (auto _ : state) {
    const cImage& tex = *s.picture;
    const GFXVERTEX v[4] = {{-0.5f, -0.5f, 0, 1, 0xC0FF8040, 0, 0},
                            {-0.5f, kH - 0.5f, 0, 1, 0xC0FF8040, 0, float(kH) / tex.GetHeight()},
                            {kW - 0.5f, -0.5f, 0, 1, 0xC0FF8040, float(kW) / tex.GetWidth(), 0},
                            {kW - 0.5f, kH - 0.5f, 0, 1, 0xC0FF8040, float(kW) / tex.GetWidth(),
                             float(kH) / tex.GetHeight()}};
    s.dev->SetTextureStage(
        {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE});
    s.dev->SetTexture(&tex);
    s.dev->DrawQuad(v);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D32_FullScreenTintedBlit)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The 16-bit Direct3D modes: 1555 textures onto a 565 back buffer.
void BM_D3D16_FrameBackgroundAnd300Sprites(benchmark::State& state) {
  GFXPRESENTPARAMS pp;
  pp.BackBufferFormat = ePixelFormat::R5G6B5;
  std::unique_ptr<cD3DDevice> dev;
  cD3DDevice::Create(pp, false, dev);
  cImagePtr picture, sheet;
  dev->CreateTexture(kW, kH, ePixelFormat::A1R5G5B5, ePool::Managed, false, picture);
  dev->CreateTexture(256, 256, ePixelFormat::A1R5G5B5, ePool::Managed, false, sheet);
  for (cImage* im : {picture.get(), sheet.get()})
    for (int y = 0; y < im->GetHeight(); ++y)
      for (int x = 0; x < im->GetWidth(); ++x)
        im->WritePixel(x, y, PatternKeyed(x, y) ? 0u : 0x8000u | (PatternPixel(x, y) & 0x7FFF));
  dev->SetTextureStage(
      {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE});
  auto blit = [&](const cImage& tex, int x, int y, int w, int h, int sx, int sy) {
    const float x0 = float(x) - 0.5f, x1 = float(x + w) - 0.5f, y0 = float(y) - 0.5f,
                y1 = float(y + h) - 0.5f;
    const float u0 = float(sx) / float(tex.GetWidth()), u1 = float(sx + w) / float(tex.GetWidth());
    const float t0 = float(sy) / float(tex.GetHeight()),
                t1 = float(sy + h) / float(tex.GetHeight());
    const GFXVERTEX v[4] = {{x0, y0, 0, 1, 0xFFFFFFFF, u0, t0},
                            {x0, y1, 0, 1, 0xFFFFFFFF, u0, t1},
                            {x1, y0, 0, 1, 0xFFFFFFFF, u1, t0},
                            {x1, y1, 0, 1, 0xFFFFFFFF, u1, t1}};
    dev->SetTexture(&tex);
    dev->DrawQuad(v);
  };
  for (auto _ : state) {
    dev->SetAlphaBlend(false);
    blit(*picture, 0, 0, kW, kH, 0, 0);
    dev->SetAlphaBlend(true);
    for (int i = 0; i < 300; ++i) {
      int x, y, sx, sy;
      SpritePos(i, x, y, sx, sy);
      blit(*sheet, x, y, 32, 32, sx, sy);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_D3D16_FrameBackgroundAnd300Sprites)->Unit(benchmark::kMillisecond);

}  // namespace
