// Placeholder presenter until the real one arrives: keeps the last frame in
// memory and saves it as PNG on request (8-bit RGB, uncompressed deflate
// blocks, so no image library is needed).
#include "platform/present/presenter.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <vector>

namespace plat {

namespace {

std::mutex g_FrameMutex;
std::vector<uint32_t> g_LastFrame;
int g_nFrameWidth = 0;
int g_nFrameHeight = 0;

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

void PutChunk(std::vector<uint8_t>& out, const char* szType, const std::vector<uint8_t>& data) {
  PutBe32(out, uint32_t(data.size()));
  const size_t nStart = out.size();
  out.insert(out.end(), szType, szType + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + nStart, out.size() - nStart));
}

}  // namespace

void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  std::lock_guard<std::mutex> lock(g_FrameMutex);
  g_LastFrame.resize(size_t(nWidth) * size_t(nHeight));
  for (int y = 0; y < nHeight; ++y)
    for (int x = 0; x < nWidth; ++x)
      g_LastFrame[size_t(y) * size_t(nWidth) + size_t(x)] =
          pPixels[size_t(y) * size_t(nPitchPixels) + size_t(x)];
  g_nFrameWidth = nWidth;
  g_nFrameHeight = nHeight;
}

bool SaveLastFramePng(const std::string& strPath) {
  std::vector<uint8_t> raw;
  int w, h;
  {
    std::lock_guard<std::mutex> lock(g_FrameMutex);
    w = g_nFrameWidth;
    h = g_nFrameHeight;
    if (w <= 0 || h <= 0) return false;
    raw.reserve(size_t(h) * (size_t(w) * 3 + 1));
    for (int y = 0; y < h; ++y) {
      raw.push_back(0);  // no filter
      for (int x = 0; x < w; ++x) {
        const uint32_t c = g_LastFrame[size_t(y) * size_t(w) + size_t(x)];
        raw.push_back(uint8_t(c >> 16));
        raw.push_back(uint8_t(c >> 8));
        raw.push_back(uint8_t(c));
      }
    }
  }
  // zlib stream of stored blocks.
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool bLast = pos + n >= raw.size();
    z.push_back(bLast ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + n));
    pos += n;
    if (bLast) break;
  }
  PutBe32(z, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBe32(ihdr, uint32_t(w));
  PutBe32(ihdr, uint32_t(h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", ihdr);
  PutChunk(png, "IDAT", z);
  PutChunk(png, "IEND", {});
  std::FILE* f = std::fopen(strPath.c_str(), "wb");
  if (!f) return false;
  const bool bOk = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && bOk;
}

}  // namespace plat
