// A small PNG encoder: 8-bit RGB, no filtering, stored deflate blocks. Big
// files, but exact and without a compression library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* p, size_t n);

// Pixels are X8R8G8B8; the pitch is in pixels.
std::vector<uint8_t> EncodePng(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels);

}  // namespace plat
