// Reading and writing the window placement file.
#include "app/window_pos.h"

#include <algorithm>

#include "platform/fs/file_system.h"
#include "platform/present/presenter_window.h"

cWindowPosData g_WindowPos;

namespace {

constexpr uint32_t kFormatVersion = 783;
constexpr int32_t kFieldCount = 5;

int32_t GetI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

void PutI32(std::vector<uint8_t>& out, int32_t n) {
  uint32_t u = static_cast<uint32_t>(n);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

}  // namespace

void cWindowPosData::Set(int nX, int nY, int nWidth, int nHeight, int bZoomed) {
  m_nX = nX;
  m_nY = nY;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_bZoomed = bZoomed;
}

std::vector<uint8_t> cWindowPosData::SaveToBytes() const {
  std::vector<uint8_t> out;
  out.reserve(WINDOWPOS_FILE_SIZE);
  PutI32(out, static_cast<int32_t>(kFormatVersion));
  PutI32(out, kFieldCount);
  for (int32_t n : {m_nX, m_nY, m_nWidth, m_nHeight, m_bZoomed}) PutI32(out, n);
  PutI32(out, 0);
  return out;
}

int cWindowPosData::LoadFromBytes(const uint8_t* pData, size_t nSize) {
  if (!pData || nSize < 8) return 0;
  const uint32_t dwVersion = static_cast<uint32_t>(GetI32(pData));
  if (dwVersion > kFormatVersion) return 0;  // written by a newer program
  const int32_t nFields = GetI32(pData + 4);
  // Fewer fields than this record has is an older file: the rest keep their
  // values. More, or a count the bytes cannot hold, is no placement file.
  if (nFields < 0 || nFields > kFieldCount) return 0;
  const size_t nNeed = 8 + 4 * static_cast<size_t>(nFields) + 4;
  if (nSize < nNeed) return 0;
  cWindowPosData temp = *this;
  int32_t* fields[kFieldCount] = {&temp.m_nX, &temp.m_nY, &temp.m_nWidth, &temp.m_nHeight,
                                  &temp.m_bZoomed};
  for (int i = 0; i < nFields; ++i) *fields[i] = GetI32(pData + 8 + 4 * i);
  if (GetI32(pData + 8 + 4 * nFields) != 0) return 0;  // this record keeps no strings
  temp.ClampToDesktop();
  *this = temp;
  return 1;
}

void cWindowPosData::ClampToDesktop() {
  int nDesktopWidth = 0, nDesktopHeight = 0;
  plat::GetDesktopSize(nDesktopWidth, nDesktopHeight);
  m_nX = std::clamp(m_nX, 0, std::max(0, nDesktopWidth));
  m_nY = std::clamp(m_nY, 0, std::max(0, nDesktopHeight));
  m_nWidth = std::clamp(m_nWidth, WINDOWPOS_MIN_SIZE, std::max(WINDOWPOS_MIN_SIZE, nDesktopWidth));
  m_nHeight =
      std::clamp(m_nHeight, WINDOWPOS_MIN_SIZE, std::max(WINDOWPOS_MIN_SIZE, nDesktopHeight));
}

int cWindowPosData::Load(const std::string& strFileName) {
  std::vector<uint8_t> bytes;
  // The file is 32 bytes; something far larger is refused unread.
  if (!plat::fs::ReadWholeFile(strFileName, bytes, 4096)) return 0;
  return LoadFromBytes(bytes.data(), bytes.size());
}

int cWindowPosData::Save(const std::string& strFileName) const {
  std::vector<uint8_t> bytes = SaveToBytes();
  return plat::fs::WriteFileAtomic(strFileName, bytes.data(), bytes.size()) ? 1 : 0;
}
