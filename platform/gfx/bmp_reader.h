// Our own reader of Windows bitmap files: 1, 4, 8, 16, 24 and 32 bits;
// uncompressed, RLE4, RLE8 and bit-field encodings; bottom-up and top-down
// rows; colour tables. Bad files (truncated, lying headers, giant sizes,
// colour tables shorter than their count) fail cleanly: no crash, and no
// allocation beyond kMaxBitmapPixels pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/image.h"

namespace plat::gfx {

// 8192 x 8192: far above any picture a game of 640 x 480 screens uses.
constexpr int64_t kMaxBitmapPixels = int64_t(8192) * 8192;

// A decoded bitmap, top row first whatever the file's row order.
// Indexed files (1, 4, 8 bits) keep their indices and colour table; direct-
// colour files (16, 24, 32 bits) hold 0xAARRGGBB per pixel, alpha 0xFF unless
// the file gives an alpha mask.
class cBitmap {
 public:
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetBitCount() const { return m_nBitCount; }  // as stored in the file
  bool IsIndexed() const { return m_nBitCount <= 8; }
  const std::vector<GFXPALENTRY>& GetColorTable() const { return m_ColorTable; }

  const uint8_t* GetIndexRow(int y) const {
    return m_Indices.data() + size_t(y) * size_t(m_nWidth);
  }
  const uint32_t* GetColorRow(int y) const {
    return m_Colors.data() + size_t(y) * size_t(m_nWidth);
  }
  uint8_t GetIndex(int x, int y) const { return GetIndexRow(y)[x]; }
  // ARGB of any pixel: indexed ones through the colour table (opaque; an
  // index past the table's end reads as black).
  uint32_t GetArgb(int x, int y) const;

  // Filled by the reader.
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nBitCount = 0;
  std::vector<GFXPALENTRY> m_ColorTable;  // byFlags 0
  std::vector<uint8_t> m_Indices;         // indexed files only
  std::vector<uint32_t> m_Colors;         // direct-colour files only
};

// Reads a bitmap from memory. On failure returns false and, when pWhy is
// given, a short reason for the log.
bool ReadBitmap(const uint8_t* pData, size_t nSize, cBitmap& bitmap, std::string* pWhy = nullptr);
// Reads a bitmap file through the program's path resolver.
bool LoadBitmapFile(const std::string& strPath, cBitmap& bitmap, std::string* pWhy = nullptr);

}  // namespace plat::gfx
