#include "platform/io/byte_reader.h"

#include <bit>
#include <cstring>

namespace plat::io {

bool cByteReader::Take(size_t n, const uint8_t*& p) {
  if (m_bFailed || n > Left()) {
    m_bFailed = true;
    p = nullptr;
    return false;
  }
  p = m_pData ? m_pData + m_nPos : nullptr;
  m_nPos += n;
  return true;
}

uint64_t cByteReader::Le(size_t n) {
  const uint8_t* p;
  uint64_t v = 0;
  if (Take(n, p))
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
  return v;
}

uint64_t cByteReader::Be(size_t n) {
  const uint8_t* p;
  uint64_t v = 0;
  if (Take(n, p))
    for (size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
  return v;
}

uint8_t cByteReader::U8() { return static_cast<uint8_t>(Le(1)); }
uint16_t cByteReader::U16() { return static_cast<uint16_t>(Le(2)); }
uint32_t cByteReader::U24() { return static_cast<uint32_t>(Le(3)); }
uint32_t cByteReader::U32() { return static_cast<uint32_t>(Le(4)); }
uint64_t cByteReader::U64() { return Le(8); }
double cByteReader::F64() { return std::bit_cast<double>(Le(8)); }
uint16_t cByteReader::U16Be() { return static_cast<uint16_t>(Be(2)); }
uint32_t cByteReader::U24Be() { return static_cast<uint32_t>(Be(3)); }
uint32_t cByteReader::U32Be() { return static_cast<uint32_t>(Be(4)); }

bool cByteReader::Match(const char* szTag, size_t n) {
  if (m_bFailed || n > Left()) return false;
  if (n && std::memcmp(m_pData + m_nPos, szTag, n) != 0) return false;
  m_nPos += n;
  return true;
}

bool cByteReader::ReadBytes(void* p, size_t n) {
  const uint8_t* s;
  if (!Take(n, s)) return false;
  if (n) std::memcpy(p, s, n);
  return true;
}

std::span<const uint8_t> cByteReader::Bytes(size_t n) {
  const uint8_t* p;
  if (!Take(n, p) || !p) return {};
  return {p, n};
}

bool cByteReader::Skip(size_t n) {
  const uint8_t* p;
  return Take(n, p);
}

bool cByteReader::Seek(size_t nPos) {
  if (m_bFailed || nPos > m_nSize) {
    m_bFailed = true;
    return false;
  }
  m_nPos = nPos;
  return true;
}

cByteReader cByteReader::Sub(size_t n) {
  const uint8_t* p;
  if (!Take(n, p)) {
    cByteReader failed;
    failed.m_bFailed = true;
    return failed;
  }
  return cByteReader(p, n);
}

cByteReader cByteReader::SubAtMost(size_t n) {
  if (m_bFailed) return Sub(n);
  return Sub(n < Left() ? n : Left());
}

bool cByteReader::Fits(uint64_t nCount, size_t nElementBytes) const {
  if (m_bFailed) return false;
  if (nElementBytes == 0) return true;
  return nCount <= Left() / nElementBytes;
}

bool cByteReader::CheckCount(uint64_t nCount, size_t nElementBytes) {
  if (Fits(nCount, nElementBytes)) return true;
  m_bFailed = true;
  return false;
}

}  // namespace plat::io
