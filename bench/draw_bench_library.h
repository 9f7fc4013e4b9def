// The drawing library started headless for the benchmarks, as start-up
// starts it: a palette picture giving the key, a keyed screen-sized
// background and a keyed 256 x 256 sprite sheet, written once into a folder
// under the temporary folder.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "draw/surface_data.h"

namespace drawbench {

constexpr int kW = 640, kH = 480;

// The pictures' colour at a point, as ARGB: 0 where the picture is
// transparent (the key), else opaque. The background and the sprite sheet
// are both cut from this one pattern.
uint32_t PictureArgb(int x, int y);

// The library in one mode with the background and the sheet loaded;
// everything released again at the end.
class cLibrary {
 public:
  cLibrary(int bDirect3D, int nBpp);
  ~cLibrary();
  cLibrary(const cLibrary&) = delete;
  cLibrary& operator=(const cLibrary&) = delete;
  bool Ok(benchmark::State& state) const;
  DDSURFACEDATA m_Back, m_Sheet;

 private:
  bool m_bOk = false;
};

}  // namespace drawbench
