// One fuzz input for the bitmap reader: the bytes as a bitmap file. What is
// accepted must be whole: every pixel is read back, the pixel store is
// exactly the picture's size and within the reader's cap; what is refused
// says why and leaves nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/bmp_reader.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

// True when the bitmap was read.
inline bool FuzzBitmap(const uint8_t* pData, size_t nSize) {
  plat::gfx::cBitmap b;
  std::string strWhy;
  if (!plat::gfx::ReadBitmap(pData, nSize, b, &strWhy)) {
    Check(!strWhy.empty(), "a refused bitmap says why");
    Check(b.GetWidth() == 0 && b.m_Indices.empty() && b.m_Colors.empty(),
          "a refused bitmap leaves nothing half-read");
    return false;
  }
  const int w = b.GetWidth(), h = b.GetHeight();
  Check(w > 0 && h > 0, "a read bitmap has a size");
  Check(int64_t(w) * h <= plat::gfx::kMaxBitmapPixels, "a read bitmap is within the cap");
  const size_t nPixels = size_t(w) * size_t(h);
  if (b.IsIndexed()) {
    Check(b.m_Indices.size() == nPixels && b.m_Colors.empty(), "one index per pixel");
    Check(b.GetColorTable().size() <= (size_t(1) << b.GetBitCount()),
          "no more colours than an index reaches");
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        Check(b.GetIndex(x, y) < (1 << b.GetBitCount()), "an index fits its bits");
  } else {
    Check(b.m_Colors.size() == nPixels && b.m_Indices.empty(), "one colour per pixel");
  }
  uint32_t nSum = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) nSum += b.GetArgb(x, y);
  volatile uint32_t nSink = nSum;
  (void)nSink;
  return true;
}

}  // namespace fuzz
