// The PNG encoder of screenshots: 8-bit RGB, each scan line filtered the
// way that suits it best, compressed with zlib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0);

// Pixels are X8R8G8B8; the pitch is in pixels. Empty when zlib fails.
std::vector<uint8_t> EncodePng(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels);

}  // namespace plat
