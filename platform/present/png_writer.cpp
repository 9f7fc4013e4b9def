// PNG encoder with stored deflate blocks.
#include "platform/present/png_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plat {

namespace {

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* szType, const std::vector<uint8_t>& data) {
  PutBE32(out, static_cast<uint32_t>(data.size()));
  size_t nStart = out.size();
  out.insert(out.end(), szType, szType + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBE32(out, Crc32(out.data() + nStart, out.size() - nStart));
}

}  // namespace

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc) {
  const auto& t = CrcTable();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = t[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const uint8_t* p, size_t n) {
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < n; ++i) {
    a = (a + p[i]) % 65521u;
    b = (b + a) % 65521u;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  // Raw scan lines: filter byte 0, then R, G, B.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(nHeight) * (1 + static_cast<size_t>(nWidth) * 3));
  for (int y = 0; y < nHeight; ++y) {
    raw.push_back(0);
    const uint32_t* row = pPixels + static_cast<size_t>(y) * nPitchPixels;
    for (int x = 0; x < nWidth; ++x) {
      raw.push_back(static_cast<uint8_t>(row[x] >> 16));
      raw.push_back(static_cast<uint8_t>(row[x] >> 8));
      raw.push_back(static_cast<uint8_t>(row[x]));
    }
  }
  // zlib stream of stored blocks of at most 65535 bytes.
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t nPos = 0;
  do {
    size_t nLen = std::min<size_t>(65535, raw.size() - nPos);
    bool bLast = nPos + nLen == raw.size();
    z.push_back(bLast ? 1 : 0);
    z.push_back(static_cast<uint8_t>(nLen));
    z.push_back(static_cast<uint8_t>(nLen >> 8));
    z.push_back(static_cast<uint8_t>(~nLen));
    z.push_back(static_cast<uint8_t>(~nLen >> 8));
    z.insert(z.end(), raw.begin() + nPos, raw.begin() + nPos + nLen);
    nPos += nLen;
  } while (nPos < raw.size());
  PutBE32(z, Adler32(raw.data(), raw.size()));

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, static_cast<uint32_t>(nWidth));
  PutBE32(ihdr, static_cast<uint32_t>(nHeight));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace plat
