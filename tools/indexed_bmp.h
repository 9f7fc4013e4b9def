// The 8-bit bitmap files the tools write: a 256-colour table and rows of
// colour indices, stored bottom-up with each row padded to four bytes, as
// the program's bitmap reader takes them.
#pragma once

#include <cstdint>
#include <vector>

namespace tools {

inline void PutLE(std::vector<uint8_t>& v, uint32_t x, int nBytes) {
  for (int i = 0; i < nBytes; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// px holds w x h indices, top row first; table holds 256 colours 0xRRGGBB.
inline std::vector<uint8_t> EncodeIndexedBmp(int w, int h, const uint8_t* px,
                                             const std::vector<uint32_t>& table) {
  const int nStride = (w + 3) & ~3;
  const uint32_t nOffset = 14 + 40 + 1024;
  const uint32_t nImage = uint32_t(nStride) * uint32_t(h);
  std::vector<uint8_t> v{'B', 'M'};
  PutLE(v, nOffset + nImage, 4);
  PutLE(v, 0, 4);
  PutLE(v, nOffset, 4);
  PutLE(v, 40, 4);
  PutLE(v, uint32_t(w), 4);
  PutLE(v, uint32_t(h), 4);
  PutLE(v, 1, 2);
  PutLE(v, 8, 2);
  PutLE(v, 0, 4);
  PutLE(v, nImage, 4);
  PutLE(v, 2835, 4);
  PutLE(v, 2835, 4);
  PutLE(v, 256, 4);
  PutLE(v, 0, 4);
  for (int i = 0; i < 256; ++i) PutLE(v, size_t(i) < table.size() ? table[size_t(i)] & 0xFFFFFF : 0, 4);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < nStride; ++x) v.push_back(x < w ? px[size_t(y) * size_t(w) + size_t(x)] : 0);
  return v;
}

}  // namespace tools
