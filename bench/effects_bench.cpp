// Speed of the drawing effects as the play screen uses them, full screen
// where the screen effects work on the whole screen: the tinted and the
// translucent blit of a background, a fade step, a turned 64 x 64 sprite
// and a blur of the whole screen, in 32-bit Direct3D and 16-bit DirectDraw.
// Every effect works on real pictures (a quarter of them keyed).
#include <benchmark/benchmark.h>

#include "draw/blend_table.h"
#include "draw/blit.h"
#include "draw/blur_mosaic.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "draw/rotate.h"
#include "draw/tint_trans.h"
#include "draw_bench_library.h"

namespace {

using drawbench::cLibrary;
using drawbench::kH;
using drawbench::kW;

template <int D3D, int BPP>
void BM_FullScreenTint(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBltTint(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 1, &g_DD.ProgramPalette,
              g_BlendTable.data(), 100, 2);
    benchmark::ClobberMemory();
  }
}

template <int D3D, int BPP>
void BM_FullScreenTranslucent(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBltTrans(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 1, g_BlendTable.data(), 100);
    benchmark::ClobberMemory();
  }
}

// A middle step of a fade over a real picture: the background is drawn,
// the first step goes half way at once (90 to 45 degrees), and every
// iteration after it is a step so small that the fade stays half way.
template <int D3D, int BPP>
void BM_FadeFrame(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  DDBlt(&BackBuffer, 0, 0, kW, kH, &lib.m_Back, 0, 0, 0);
  DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 45, g_DD.ProgramPalette, 0);
  for (auto _ : state) {
    DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 1e-9, g_DD.ProgramPalette, 0);
    benchmark::ClobberMemory();
  }
  DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 10, g_DD.ProgramPalette, 1);
}

template <int D3D, int BPP>
void BM_RotatedSprite64(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBltRotate(&BackBuffer, 320, 240, 64, 64, 32, 32, 30, &lib.m_Sheet, 64, 64, 1);
    benchmark::ClobberMemory();
  }
}

template <int D3D, int BPP>
void BM_FullScreenBlur(benchmark::State& state) {
  cLibrary lib(D3D, BPP);
  if (!lib.Ok(state)) return;
  for (auto _ : state) {
    DDBlur(&BackBuffer, 0, 0, kW, kH, 3, 3, &lib.m_Back, 0, 0, 1);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_FullScreenTint<1, 32>)
    ->Name("Draw_D3D32_FullScreenTint")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenTranslucent<1, 32>)
    ->Name("Draw_D3D32_FullScreenTranslucent")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FadeFrame<1, 32>)->Name("Draw_D3D32_FadeFrame")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotatedSprite64<1, 32>)
    ->Name("Draw_D3D32_RotatedSprite64")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullScreenBlur<1, 32>)
    ->Name("Draw_D3D32_FullScreenBlur")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenTint<0, 16>)
    ->Name("Draw_DD16_FullScreenTint")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenTranslucent<0, 16>)
    ->Name("Draw_DD16_FullScreenTranslucent")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FadeFrame<0, 16>)->Name("Draw_DD16_FadeFrame")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotatedSprite64<0, 16>)
    ->Name("Draw_DD16_RotatedSprite64")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullScreenBlur<0, 16>)
    ->Name("Draw_DD16_FullScreenBlur")
    ->Unit(benchmark::kMillisecond);

}  // namespace
