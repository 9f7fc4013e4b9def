// The benchmarks' headless library and its bitmap files.
#include "draw_bench_library.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"

namespace drawbench {

namespace {

void Put(std::vector<uint8_t>& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// Entry i of the pictures' colour table; entry 0 is the key colour.
uint32_t TableRgb(int i) {
  return i == 0 ? 0xFF00FFu : uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i / 2);
}

// An 8-bit bottom-up bitmap with the colour table above.
bool WriteIndexedBmp(const std::string& strPath, int w, int h, const std::vector<uint8_t>& px) {
  const int nStride = (w + 3) & ~3;
  const uint32_t nOffset = 14 + 40 + 1024;
  std::vector<uint8_t> v{'B', 'M'};
  for (uint32_t x : {nOffset + uint32_t(nStride * h), 0u, nOffset, 40u, uint32_t(w), uint32_t(h)})
    Put(v, x, 4);
  Put(v, 1, 2);
  Put(v, 8, 2);
  for (uint32_t x : {0u, uint32_t(nStride * h), 2835u, 2835u, 256u, 0u}) Put(v, x, 4);
  for (int i = 0; i < 256; ++i) Put(v, TableRgb(i), 4);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < nStride; ++x) v.push_back(x < w ? px[size_t(y) * w + x] : 0);
  std::FILE* f = std::fopen(strPath.c_str(), "wb");
  if (!f) return false;
  const bool bOk = std::fwrite(v.data(), 1, v.size(), f) == v.size();
  return std::fclose(f) == 0 && bOk;
}

// A quarter of the pixels (8x8 blocks) are the key.
uint8_t PatternIndex(int x, int y) {
  return ((x >> 3) + (y >> 3)) % 4 == 0 ? 0 : uint8_t(1 + (x * 7 + y * 13) % 255);
}

std::vector<uint8_t> Pattern(int w, int h) {
  std::vector<uint8_t> px(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = PatternIndex(x, y);
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

}  // namespace

uint32_t PictureArgb(int x, int y) {
  const int i = PatternIndex(x, y);
  return i == 0 ? 0u : 0xFF000000u | TableRgb(i);
}

cLibrary::cLibrary(int bDirect3D, int nBpp) {
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
          DDCreateSurfaceFromFile(&m_Sheet, (strDir + "/sheet.bmp").c_str(), 1, nBpp, 0, 0, nullptr,
                                  0, 0, 0, 0) == 0;
}

cLibrary::~cLibrary() {
  DDReleaseSurface(&m_Sheet);
  DDReleaseSurface(&m_Back);
  DDReleaseAll();
  for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &VirBackBuffer, &WorkSD, &SystemWorkSD})
    DDZeroSurface(sd);
  g_DD.bInitialized = 0;
}

bool cLibrary::Ok(benchmark::State& state) const {
  if (!m_bOk) state.SkipWithError("the drawing library could not be set up");
  return m_bOk;
}

}  // namespace drawbench
