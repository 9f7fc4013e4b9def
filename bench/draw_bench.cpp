// Speed of the drawing library's own calls as the game makes them: a
// full-screen keyed and plain blit, a 32x32 sprite, and a play-screen frame
// (the first background without the key, then 300 keyed sprites in a sorted
// batch), in 32-bit Direct3D and 16-bit DirectDraw. The library is set up
// headless from bitmap files, as at start-up; bench/gfx_bench.cpp measures
// the engine alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"

namespace {

constexpr int kW = 640, kH = 480;

void Put(std::vector<uint8_t>& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// An 8-bit bottom-up bitmap; entry 0 of its table is the key colour.
bool WriteIndexedBmp(const std::string& strPath, int w, int h, const std::vector<uint8_t>& px) {
  const int nStride = (w + 3) & ~3;
  const uint32_t nOffset = 14 + 40 + 1024;
  std::vector<uint8_t> v{'B', 'M'};
  for (uint32_t x : {nOffset + uint32_t(nStride * h), 0u, nOffset, 40u, uint32_t(w), uint32_t(h)})
    Put(v, x, 4);
  Put(v, 1, 2);
  Put(v, 8, 2);
  for (uint32_t x : {0u, uint32_t(nStride * h), 2835u, 2835u, 256u, 0u}) Put(v, x, 4);
  for (int i = 0; i < 256; ++i)
    Put(v, i == 0 ? 0xFF00FFu : uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i / 2), 4);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < nStride; ++x) v.push_back(x < w ? px[size_t(y) * w + x] : 0);
  std::FILE* f = std::fopen(strPath.c_str(), "wb");
  if (!f) return false;
  const bool bOk = std::fwrite(v.data(), 1, v.size(), f) == v.size();
  return std::fclose(f) == 0 && bOk;
}

// A picture where a quarter of the pixels (8x8 blocks) are the key.
std::vector<uint8_t> Pattern(int w, int h) {
  std::vector<uint8_t> px(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[size_t(y) * w + x] =
          ((x >> 3) + (y >> 3)) % 4 == 0 ? 0 : uint8_t(1 + (x * 7 + y * 13) % 255);
  return px;
}

const std::string& FixtureDir() {
  static const std::string strDir = [] {
    const std::filesystem::path p = std::filesystem::temp_directory_path() / "brimvale-draw-bench";
    std::filesystem::create_directories(p);
    const std::string s = p.string();
    // The palette picture's first pixel gives the key.
    WriteIndexedBmp(s + "/palette.bmp", 16, 16, std::vector<uint8_t>(256, 0));
    WriteIndexedBmp(s + "/back.bmp", kW, kH, Pattern(kW, kH));
    WriteIndexedBmp(s + "/sheet.bmp", 256, 256, Pattern(256, 256));
    ReportInit((s + "/report.txt").c_str());
    DebugLogInit(1, (s + "/debug.txt").c_str());
    return s;
  }();
  return strDir;
}

// The library started in one mode with a keyed background and a keyed
// sprite sheet, released again at the end.
class cLibrary {
 public:
  cLibrary(int bDirect3D, int nBpp) {
    const std::string& strDir = FixtureDir();
    plat::gfx::ClearAllFaults();
    plat::gfx::GFXDISPLAYCONFIG display = plat::gfx::GetDisplayConfig();
    display.nDesktopBpp = nBpp;
    plat::gfx::SetDisplayConfig(display);
    m_bOk = DDInit(bDirect3D, nullptr, kW, kH, nBpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    if (!m_bOk) return;
    const std::string strPal = strDir + "/palette.bmp";
    DDLoadPaletteFromFile(g_DD.ProgramPalette, strPal.c_str(), 0);
    DDSetTransmitFromFile(strPal.c_str());
    m_bOk = DDCreateSurfaceFromFile(&m_Back, (strDir + "/back.bmp").c_str(), 1, nBpp, 0, 0, nullptr,
                                    0, 0, 0, 0) == 0 &&
            DDCreateSurfaceFromFile(&m_Sheet, (strDir + "/sheet.bmp").c_str(), 1, nBpp, 0, 0,
                                    nullptr, 0, 0, 0, 0) == 0;
  }
  ~cLibrary() {
    DDReleaseSurface(&m_Sheet);
    DDReleaseSurface(&m_Back);
    DDReleaseAll();
    for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &VirBackBuffer, &WorkSD, &SystemWorkSD})
      DDZeroSurface(sd);
    g_DD.bInitialized = 0;
  }
  bool Ok(benchmark::State& state) const {
    if (!m_bOk) state.SkipWithError("the drawing library could not be set up");
    return m_bOk;
  }
  DDSURFACEDATA m_Back, m_Sheet;

 private:
  bool m_bOk = false;
};

// Sprite positions spread over the screen, some cut by its edges.
void SpritePos(int i, int& x, int& y, int& sx, int& sy) {
  x = (i * 97) % (kW + 32) - 16;
  y = (i * 61) % (kH + 32) - 16;
  sx = (i % 8) * 32;
  sy = ((i / 8) % 8) * 32;
}

template <int D3D, int BPP>
void BM_FullScreenKeyed(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBlt(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 1);
    benchmark::ClobberMemory();
  }
}

template <int D3D, int BPP>
void BM_FullScreenPlain(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBlt(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 0);
    benchmark::ClobberMemory();
  }
}

template <int D3D, int BPP>
void BM_Sprite32(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBlt(&BackBuffer, 300, 200, 32, 32, &lib.m_Sheet, 32, 64, 1);
    benchmark::ClobberMemory();
  }
}

// The play screen's order: the first background without the key (its picture
// is keyed all the same), then the objects in a batch sorted by source.
template <int D3D, int BPP>
void BM_FrameBackgroundAnd300Sprites(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBlt(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 0);
    DDBatchBegin(1);
    DDBatchRegister(&lib.m_Sheet);
    for (int i = 0; i < 300; ++i) {
      int x, y, sx, sy;
      SpritePos(i, x, y, sx, sy);
      DDBlt(&BackBuffer, x, y, 32, 32, &lib.m_Sheet, sx, sy, 1);
    }
    DDBatchEnd();
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_FullScreenKeyed<1, 32>)
    ->Name("Draw_D3D32_FullScreenKeyed")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenPlain<1, 32>)
    ->Name("Draw_D3D32_FullScreenPlain")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sprite32<1, 32>)->Name("Draw_D3D32_Sprite32")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameBackgroundAnd300Sprites<1, 32>)
    ->Name("Draw_D3D32_FrameBackgroundAnd300Sprites")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenKeyed<0, 16>)
    ->Name("Draw_DD16_FullScreenKeyed")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenPlain<0, 16>)
    ->Name("Draw_DD16_FullScreenPlain")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sprite32<0, 16>)->Name("Draw_DD16_Sprite32")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameBackgroundAnd300Sprites<0, 16>)
    ->Name("Draw_DD16_FrameBackgroundAnd300Sprites")
    ->Unit(benchmark::kMillisecond);

}  // namespace
