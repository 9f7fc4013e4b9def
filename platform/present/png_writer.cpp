// PNG encoder: filtered scan lines through zlib.
#include "platform/present/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace plat {

namespace {

constexpr int kBytesPerPixel = 3;

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

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// One scan line filtered with filter type nType (0 none, 1 sub, 2 up,
// 3 average, 4 Paeth) against the line above (zeros for the first).
void FilterLine(int nType, const uint8_t* pLine, const uint8_t* pAbove, size_t nBytes,
                uint8_t* pOut) {
  for (size_t i = 0; i < nBytes; ++i) {
    const int a = i >= kBytesPerPixel ? pLine[i - kBytesPerPixel] : 0;
    const int b = pAbove[i];
    const int c = i >= kBytesPerPixel ? pAbove[i - kBytesPerPixel] : 0;
    int nPredict = 0;
    switch (nType) {
      case 1:
        nPredict = a;
        break;
      case 2:
        nPredict = b;
        break;
      case 3:
        nPredict = (a + b) / 2;
        break;
      case 4:
        nPredict = Paeth(a, b, c);
        break;
      default:
        break;
    }
    pOut[i] = static_cast<uint8_t>(pLine[i] - nPredict);
  }
}

// How well a filtered line will compress, guessed as the sum of its bytes
// read as signed distances from zero: the smaller, the better.
uint64_t Cost(const uint8_t* p, size_t n) {
  uint64_t nSum = 0;
  for (size_t i = 0; i < n; ++i) nSum += static_cast<uint64_t>(std::abs(static_cast<int8_t>(p[i])));
  return nSum;
}

}  // namespace

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc) {
  const auto& t = CrcTable();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = t[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::vector<uint8_t> EncodePng(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  const size_t nLineBytes = static_cast<size_t>(nWidth) * kBytesPerPixel;
  std::vector<uint8_t> above(nLineBytes, 0), line(nLineBytes), best(nLineBytes), trial(nLineBytes);
  // Scan lines, each a filter byte and the filtered R, G, B bytes.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(nHeight) * (1 + nLineBytes));
  for (int y = 0; y < nHeight; ++y) {
    const uint32_t* row = pPixels + static_cast<size_t>(y) * nPitchPixels;
    for (int x = 0; x < nWidth; ++x) {
      line[static_cast<size_t>(x) * 3] = static_cast<uint8_t>(row[x] >> 16);
      line[static_cast<size_t>(x) * 3 + 1] = static_cast<uint8_t>(row[x] >> 8);
      line[static_cast<size_t>(x) * 3 + 2] = static_cast<uint8_t>(row[x]);
    }
    int nBestType = 0;
    uint64_t nBestCost = UINT64_MAX;
    for (int nType = 0; nType <= 4; ++nType) {
      FilterLine(nType, line.data(), above.data(), nLineBytes, trial.data());
      const uint64_t nCost = Cost(trial.data(), nLineBytes);
      if (nCost < nBestCost) {
        nBestCost = nCost;
        nBestType = nType;
        best.swap(trial);
      }
    }
    raw.push_back(static_cast<uint8_t>(nBestType));
    raw.insert(raw.end(), best.begin(), best.end());
    above.swap(line);
  }

  uLongf nZipped = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> z(nZipped);
  if (compress2(z.data(), &nZipped, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    return {};
  z.resize(nZipped);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, static_cast<uint32_t>(nWidth));
  PutBE32(ihdr, static_cast<uint32_t>(nHeight));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace plat
