// Reading Windows bitmap files. Every field is read through a bounded
// little-endian reader, every size is checked against the bytes present
// before anything is allocated, and the pixel total is capped.
#include "platform/gfx/bmp_reader.h"

#include <bit>
#include <cstring>
#include <span>

#include "platform/fs/file_system.h"
#include "platform/gfx/pixel_rules.h"
#include "platform/io/byte_reader.h"

namespace plat::gfx {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
// Files above this are refused before reading: a 8192 x 8192 picture at 32
// bits is 256 MiB; nothing a game uses comes near.
constexpr size_t kMaxFileBytes = size_t(300) << 20;

using plat::io::cByteReader;

bool Fail(std::string* pWhy, const char* szWhy) {
  if (pWhy) *pWhy = szWhy;
  return false;
}

struct MASK {
  uint32_t dwMask = 0;
  int nShift = 0;
  uint32_t dwMax = 0;
};

MASK MakeMask(uint32_t m) {
  MASK k;
  k.dwMask = m;
  if (m) {
    k.nShift = std::countr_zero(m);
    k.dwMax = m >> k.nShift;
  }
  return k;
}

int ReadField(uint32_t px, const MASK& k) {
  if (!k.dwMax) return 0;
  const uint32_t v = (px & k.dwMask) >> k.nShift;
  if (k.dwMax <= 255) return ExpandChannel(int(v), int(k.dwMax));
  return int((uint64_t(v) * 255 + k.dwMax / 2) / k.dwMax);
}

// RLE-compressed indices, bottom-up. Pixels the stream skips stay index 0.
bool DecodeRle(cByteReader r, bool bFour, cBitmap& b) {
  const int w = b.m_nWidth, h = b.m_nHeight;
  int x = 0, y = h - 1;  // y counts picture rows from the top
  auto put = [&](int v) {
    if (x >= 0 && x < w && y >= 0 && y < h)
      b.m_Indices[size_t(y) * size_t(w) + size_t(x)] = uint8_t(v);
    ++x;
  };
  while (true) {
    if (y < 0) return true;  // ran past the top: nothing more can show
    if (r.Left() < 2) return false;
    const int c0 = r.U8(), c1 = r.U8();
    if (c0 > 0) {
      for (int k = 0; k < c0; ++k) put(bFour ? ((k & 1) ? (c1 & 15) : (c1 >> 4)) : c1);
      continue;
    }
    if (c1 == 0) {  // end of line
      x = 0;
      --y;
    } else if (c1 == 1) {  // end of bitmap
      return true;
    } else if (c1 == 2) {  // move right and up
      if (r.Left() < 2) return false;
      x += r.U8();
      y -= r.U8();
    } else {  // c1 literal pixels, padded to a 16-bit boundary
      const size_t nBytes = bFour ? size_t((c1 + 1) / 2) : size_t(c1);
      const std::span<const uint8_t> lit = r.Bytes((nBytes + 1) & ~size_t(1));
      if (r.Failed()) return false;
      for (int k = 0; k < c1; ++k) {
        const uint8_t byte = lit[bFour ? size_t(k / 2) : size_t(k)];
        put(bFour ? ((k & 1) ? (byte & 15) : (byte >> 4)) : byte);
      }
    }
  }
}

}  // namespace

uint32_t cBitmap::GetArgb(int x, int y) const {
  if (!IsIndexed()) return GetColorRow(y)[x];
  const size_t i = GetIndexRow(y)[x];
  if (i >= m_ColorTable.size()) return 0xFF000000u;
  const GFXPALENTRY& e = m_ColorTable[i];
  return MakeArgb(255, e.byRed, e.byGreen, e.byBlue);
}

namespace {

bool ReadInto(const uint8_t* pData, size_t nSize, cBitmap& b, std::string* pWhy) {
  cByteReader r(pData, nSize);
  if (nSize < 26 || !r.Match("BM", 2)) return Fail(pWhy, "not a bitmap file");
  r.Seek(10);
  const uint32_t dwOffBits = r.U32();
  const uint32_t dwHeaderSize = r.U32();
  int64_t nWidth, nHeight;
  int nPlanes, nBitCount;
  uint32_t dwCompression = BI_RGB, dwClrUsed = 0;
  bool bCore = false;
  if (dwHeaderSize == 12) {
    bCore = true;
    nWidth = r.U16();
    nHeight = r.I16();
    nPlanes = r.U16();
    nBitCount = r.U16();
  } else if (dwHeaderSize == 16 || dwHeaderSize == 40 || dwHeaderSize == 52 || dwHeaderSize == 56 ||
             dwHeaderSize == 64 || dwHeaderSize == 108 || dwHeaderSize == 124) {
    nWidth = r.I32();
    nHeight = r.I32();
    nPlanes = r.U16();
    nBitCount = r.U16();
    if (dwHeaderSize >= 40) {
      dwCompression = r.U32();
      r.Skip(12);  // image size and resolution
      dwClrUsed = r.U32();
    }
    // The 64-byte header of the other system numbers its own compressions.
    if (dwHeaderSize == 64 && dwCompression >= BI_BITFIELDS)
      return Fail(pWhy, "unsupported compression");
  } else {
    return Fail(pWhy, "unknown header size");
  }
  if (r.Failed()) return Fail(pWhy, "truncated header");
  if (nPlanes != 1) return Fail(pWhy, "bad plane count");
  if (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 16 && nBitCount != 24 &&
      nBitCount != 32)
    return Fail(pWhy, "unsupported bit count");
  const bool bTopDown = nHeight < 0;
  if (nWidth <= 0 || nHeight == 0 || nWidth > 65535 || nHeight < -65535 || nHeight > 65535)
    return Fail(pWhy, "bad size");
  if (bTopDown) nHeight = -nHeight;
  if (nWidth * nHeight > kMaxBitmapPixels) return Fail(pWhy, "picture too large");

  const bool bRle = dwCompression == BI_RLE8 || dwCompression == BI_RLE4;
  if (dwCompression == BI_RLE8 && nBitCount != 8) return Fail(pWhy, "RLE8 needs 8 bits");
  if (dwCompression == BI_RLE4 && nBitCount != 4) return Fail(pWhy, "RLE4 needs 4 bits");
  if (bRle && bTopDown) return Fail(pWhy, "top-down RLE");
  const bool bFields = dwCompression == BI_BITFIELDS || dwCompression == BI_ALPHABITFIELDS;
  if (bFields && nBitCount != 16 && nBitCount != 32)
    return Fail(pWhy, "bit fields need 16 or 32 bits");
  if (!bRle && !bFields && dwCompression != BI_RGB) return Fail(pWhy, "unsupported compression");

  // Masks: inside the longer headers, or right after the 40-byte one.
  size_t nTableAt = 14 + size_t(dwHeaderSize);
  MASK red, green, blue, alpha;
  if (nBitCount == 16) {
    red = MakeMask(0x7C00), green = MakeMask(0x03E0), blue = MakeMask(0x001F);
  } else if (nBitCount == 32) {
    red = MakeMask(0xFF0000), green = MakeMask(0xFF00), blue = MakeMask(0xFF);
  }
  if (bFields) {
    if (dwHeaderSize == 40) {
      nTableAt += dwCompression == BI_ALPHABITFIELDS ? 16 : 12;
    }
    r.Seek(54);
    red = MakeMask(r.U32());
    green = MakeMask(r.U32());
    blue = MakeMask(r.U32());
    if (dwCompression == BI_ALPHABITFIELDS || dwHeaderSize >= 56) alpha = MakeMask(r.U32());
    if (r.Failed()) return Fail(pWhy, "truncated masks");
  }

  // Colour table.
  if (nBitCount <= 8) {
    const uint32_t nMax = 1u << nBitCount;
    uint32_t nCount = dwClrUsed == 0 ? nMax : dwClrUsed;
    if (nCount > nMax) nCount = nMax;  // entries past what an index can reach are never used
    const size_t nEntry = bCore ? 3 : 4;
    if (!r.Seek(nTableAt) || !r.CheckCount(nCount, nEntry))
      return Fail(pWhy, "colour table cut short");
    b.m_ColorTable.resize(nCount);
    for (uint32_t i = 0; i < nCount; ++i) {
      const std::span<const uint8_t> e = r.Bytes(nEntry);
      b.m_ColorTable[i] = {e[2], e[1], e[0], 0};
    }
  }

  if (dwOffBits >= nSize) return Fail(pWhy, "no pixel data");
  r.Seek(dwOffBits);
  cByteReader bits = r.Sub(r.Left());
  const int w = int(nWidth), h = int(nHeight);
  b.m_nWidth = w;
  b.m_nHeight = h;
  b.m_nBitCount = nBitCount;

  if (bRle) {
    b.m_Indices.assign(size_t(w) * size_t(h), 0);
    if (!DecodeRle(bits, dwCompression == BI_RLE4, b)) return Fail(pWhy, "RLE data cut short");
    return true;
  }

  const size_t nStride = ((size_t(w) * size_t(nBitCount) + 31) / 32) * 4;
  if (!bits.CheckCount(size_t(h), nStride)) return Fail(pWhy, "pixel data cut short");
  if (nBitCount <= 8)
    b.m_Indices.resize(size_t(w) * size_t(h));
  else
    b.m_Colors.resize(size_t(w) * size_t(h));
  for (int row = 0; row < h; ++row) {
    const uint8_t* s = bits.Bytes(nStride).data();
    const int y = bTopDown ? row : h - 1 - row;
    if (nBitCount <= 8) {
      uint8_t* d = b.m_Indices.data() + size_t(y) * size_t(w);
      if (nBitCount == 8) {
        std::memcpy(d, s, size_t(w));
        continue;
      }
      const int nPerByte = 8 / nBitCount;
      const int nMask = (1 << nBitCount) - 1;
      for (int x = 0; x < w; ++x) {
        const int nByte = s[x / nPerByte];
        const int nShift = 8 - nBitCount * (x % nPerByte + 1);
        d[x] = uint8_t((nByte >> nShift) & nMask);
      }
      continue;
    }
    uint32_t* d = b.m_Colors.data() + size_t(y) * size_t(w);
    for (int x = 0; x < w; ++x) {
      if (nBitCount == 24) {
        const uint8_t* px = s + size_t(x) * 3;
        d[x] = MakeArgb(255, px[2], px[1], px[0]);
        continue;
      }
      uint32_t px;
      if (nBitCount == 16)
        px = uint32_t(s[size_t(x) * 2]) | uint32_t(s[size_t(x) * 2 + 1]) << 8;
      else
        std::memcpy(&px, s + size_t(x) * 4, 4);
      const int a = alpha.dwMax ? ReadField(px, alpha) : 255;
      d[x] = MakeArgb(a, ReadField(px, red), ReadField(px, green), ReadField(px, blue));
    }
  }
  return true;
}

}  // namespace

bool ReadBitmap(const uint8_t* pData, size_t nSize, cBitmap& bitmap, std::string* pWhy) {
  bitmap = cBitmap();
  if (ReadInto(pData, nSize, bitmap, pWhy)) return true;
  bitmap = cBitmap();  // a refused file leaves nothing half-read behind
  return false;
}

bool LoadBitmapFile(const std::string& strPath, cBitmap& bitmap, std::string* pWhy) {
  bitmap = cBitmap();
  std::vector<uint8_t> data;
  switch (plat::fs::ReadFileBounded(strPath, data, kMaxFileBytes)) {
    case plat::fs::eReadResult::Read:
      return ReadBitmap(data.data(), data.size(), bitmap, pWhy);
    case plat::fs::eReadResult::CannotOpen:
      return Fail(pWhy, "cannot open");
    case plat::fs::eReadResult::TooLarge:
      return Fail(pWhy, "file too large");
    default:
      return Fail(pWhy, "cannot read");
  }
}

}  // namespace plat::gfx
