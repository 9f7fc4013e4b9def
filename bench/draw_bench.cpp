// Speed of the drawing library's own calls as the game makes them: a
// full-screen keyed and plain blit, a 32x32 sprite, and a play-screen frame
// (the first background without the key, then 300 keyed sprites in a sorted
// batch), in 32-bit Direct3D and 16-bit DirectDraw. The library is set up
// headless from bitmap files, as at start-up; bench/gfx_bench.cpp measures
// the engine alone.
#include <benchmark/benchmark.h>

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw_bench_library.h"

namespace {

using drawbench::cLibrary;
using drawbench::kH;
using drawbench::kW;

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
