// A byte builder for bitmap files in tests: header fields are written one by
// one, so a test can make any of them lie.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat::gfx::test {

class cBmpBuilder {
 public:
  int nWidth = 1;
  int nHeight = 1;  // negative: top-down
  int nBitCount = 24;
  uint32_t dwCompression = 0;
  uint32_t dwHeaderSize = 40;
  std::vector<uint32_t> masks;       // written after a 40-byte header, or inside a longer one
  std::vector<uint32_t> colorTable;  // 0x00RRGGBB
  int nClrUsed = -1;                 // -1: the table's length (0 when empty)
  std::vector<uint8_t> pixels;       // raw pixel data as stored in the file
  int nOffBitsDelta = 0;             // lie about where the pixels start
  int nPlanes = 1;

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> f;
    auto u16 = [&](uint32_t v) {
      f.push_back(uint8_t(v));
      f.push_back(uint8_t(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
      u16(v & 0xFFFF);
      u16(v >> 16);
    };
    const size_t nMasks = dwHeaderSize == 40 ? masks.size() * 4 : 0;
    const uint32_t dwOff =
        uint32_t(14 + dwHeaderSize + nMasks + colorTable.size() * 4) + uint32_t(nOffBitsDelta);
    f.push_back('B');
    f.push_back('M');
    u32(uint32_t(dwOff + pixels.size()));
    u32(0);
    u32(dwOff);
    u32(dwHeaderSize);
    u32(uint32_t(nWidth));
    u32(uint32_t(nHeight));
    u16(uint32_t(nPlanes));
    u16(uint32_t(nBitCount));
    u32(dwCompression);
    u32(uint32_t(pixels.size()));
    u32(2835);
    u32(2835);
    u32(nClrUsed < 0 ? uint32_t(colorTable.size()) : uint32_t(nClrUsed));
    u32(0);
    if (dwHeaderSize > 40) {
      for (size_t i = 0; i < 4; ++i) u32(i < masks.size() ? masks[i] : 0);
      while (f.size() < 14 + dwHeaderSize) f.push_back(0);
    } else {
      for (uint32_t m : masks) u32(m);
    }
    for (uint32_t c : colorTable) u32(c);
    while (f.size() < dwOff && nOffBitsDelta > 0) f.push_back(0);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
  }
};

}  // namespace plat::gfx::test
