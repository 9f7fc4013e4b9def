// A reader of the PNG files the frame writer makes (8-bit RGB, any of the
// five filters, zlib): what tests check written screenshots with.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/present/png_writer.h"

namespace pngtest {

inline uint32_t BE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

struct DECODED {
  int nWidth = 0, nHeight = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  std::vector<std::string> chunks;
};

// A reader of what the encoder writes (8-bit RGB, any of the five filters);
// chunks whose check sum is wrong are left out, so the pixels come out empty.
inline DECODED Decode(const std::vector<uint8_t>& png) {
  DECODED d;
  if (png.size() < 8 || std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8) != 0) return d;
  std::vector<uint8_t> z;
  for (size_t i = 8; i + 12 <= png.size();) {
    const uint32_t n = BE32(&png[i]);
    if (i + 12 + n > png.size()) return d;
    const std::string type(png.begin() + i + 4, png.begin() + i + 8);
    if (BE32(&png[i + 8 + n]) != plat::Crc32(&png[i + 4], n + 4)) return d;
    d.chunks.push_back(type);
    if (type == "IHDR") {
      d.nWidth = int(BE32(&png[i + 8]));
      d.nHeight = int(BE32(&png[i + 12]));
      if (png[i + 16] != 8 || png[i + 17] != 2) return d;
    }
    if (type == "IDAT") z.insert(z.end(), png.begin() + i + 8, png.begin() + i + 8 + n);
    i += 12 + n;
  }
  const size_t nLine = size_t(d.nWidth) * 3;
  std::vector<uint8_t> raw(size_t(d.nHeight) * (1 + nLine));
  uLongf nRaw = raw.size();
  if (uncompress(raw.data(), &nRaw, z.data(), z.size()) != Z_OK || nRaw != raw.size()) return d;
  std::vector<uint8_t> above(nLine, 0), line(nLine);
  for (int y = 0; y < d.nHeight; ++y) {
    const uint8_t* p = &raw[size_t(y) * (1 + nLine)];
    for (size_t i = 0; i < nLine; ++i) {
      const int a = i >= 3 ? line[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
      int nPredict = 0;
      switch (p[0]) {
        case 0:
          break;
        case 1:
          nPredict = a;
          break;
        case 2:
          nPredict = b;
          break;
        case 3:
          nPredict = (a + b) / 2;
          break;
        case 4: {
          const int q = a + b - c, pa = std::abs(q - a), pb = std::abs(q - b), pc = std::abs(q - c);
          nPredict = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
          break;
        }
        default:
          return d;
      }
      line[i] = uint8_t(p[1 + i] + nPredict);
    }
    for (int x = 0; x < d.nWidth; ++x)
      d.pixels.push_back(uint32_t(line[x * 3]) << 16 | uint32_t(line[x * 3 + 1]) << 8 |
                         line[x * 3 + 2]);
    above = line;
  }
  return d;
}

}  // namespace pngtest
