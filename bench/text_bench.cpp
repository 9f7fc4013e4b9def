// Speed of text as the game draws it: one line of 40 characters, half-width
// and full-width mixed, with the main font from its glyph sheets (every
// character already in a sheet, as after the first frames), and the same
// line rendered on the spot (Direct3D's default, without the glyph cache);
// in 32-bit Direct3D and 16-bit DirectDraw. Glyphs come from the installed
// Japanese font.
#include <benchmark/benchmark.h>

#include <string>

#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/font.h"
#include "draw/font_tables.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"

namespace {

// 20 half-width and 20 full-width characters.
constexpr const char* kLine = "Score 012345 Lv9 ok!ステージ１－３　残り時間★ＨＰ満タン！！";

class cTextBench {
 public:
  cTextBench(int bDirect3D, int nBpp, int nFontCache) {
    plat::gfx::ClearAllFaults();
    plat::gfx::GFXDISPLAYCONFIG display = plat::gfx::GetDisplayConfig();
    display.nDesktopBpp = nBpp;
    plat::gfx::SetDisplayConfig(display);
    m_bOk = DDInit(bDirect3D, nullptr, 640, 480, nBpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    if (!m_bOk) return;
    g_DD.ProgramPalette[241] = {255, 255, 255, 0};
    g_DD.DisplayPalette = g_DD.ProgramPalette;
    const DDFONTDATA& d = g_FontSpec[1];
    m_Font.Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                  d.nFrameThickness, d.nFrameColor, nullptr, nFontCache);
    m_bOk = m_Font.GetGlyphSource() != nullptr && CountChars(kLine) == 40;
    // The sheets take the characters they lack on the first line drawn.
    m_Font.DrawText(&BackBuffer, 8, 200, kLine);
  }
  ~cTextBench() {
    m_Font.Release();
    DDReleaseAll();
    for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &VirBackBuffer, &WorkSD, &SystemWorkSD})
      DDZeroSurface(sd);
    g_DD.bInitialized = 0;
  }
  bool Ok(benchmark::State& state) const {
    if (!m_bOk) state.SkipWithError("no drawing library, no Japanese font, or a wrong line");
    return m_bOk;
  }
  Font m_Font;

 private:
  bool m_bOk = false;
};

template <int D3D, int BPP, int CACHE>
void BM_TextLine40(benchmark::State& state) {
  cTextBench bench(D3D, BPP, CACHE);
  if (!bench.Ok(state)) return;
  for (auto _ : state) {
    bench.m_Font.DrawText(&BackBuffer, 8, 200, kLine);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_TextLine40<1, 32, 1>)
    ->Name("Text_D3D32_Line40FromSheets")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextLine40<0, 16, 1>)
    ->Name("Text_DD16_Line40FromSheets")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextLine40<1, 32, 0>)
    ->Name("Text_D3D32_Line40OnTheSpot")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextLine40<0, 16, 0>)
    ->Name("Text_DD16_Line40OnTheSpot")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
