#include "records/data_stream.h"

#include <cstring>

cDataReader::cDataReader(std::vector<uint8_t> bytes, int32_t nFileVersion)
    : m_vOwned(std::move(bytes)),
      m_pData(m_vOwned.data()),
      m_nSize(m_vOwned.size()),
      m_nFileVersion(nFileVersion) {}

cDataReader::cDataReader(const uint8_t* pData, size_t nSize, int32_t nFileVersion)
    : m_pData(pData), m_nSize(pData ? nSize : 0), m_nFileVersion(nFileVersion) {}

bool cDataReader::ReadBytes(void* p, size_t n) {
  if (m_bFailed || n > Left()) {
    m_bFailed = true;
    return false;
  }
  if (n) std::memcpy(p, m_pData + m_nPos, n);
  m_nPos += n;
  return true;
}

bool cDataReader::Skip(size_t n) {
  if (m_bFailed || n > Left()) {
    m_bFailed = true;
    return false;
  }
  m_nPos += n;
  return true;
}

uint8_t cDataReader::U8() {
  uint8_t v = 0;
  ReadBytes(&v, 1);
  return v;
}

uint16_t cDataReader::U16() {
  uint16_t v = 0;
  ReadBytes(&v, 2);
  return v;
}

uint32_t cDataReader::U32() {
  uint32_t v = 0;
  ReadBytes(&v, 4);
  return v;
}

double cDataReader::F64() {
  double v = 0;
  ReadBytes(&v, 8);
  return v;
}

uint32_t cDataReader::Count(size_t nMinBytesPerElement) {
  uint32_t c = U32();
  if (m_bFailed) return 0;
  if (static_cast<int32_t>(c) < 0) {
    m_bFailed = true;
    return 0;
  }
  // Divide rather than multiply: a hostile count must not overflow the test.
  if (nMinBytesPerElement && c > Left() / nMinBytesPerElement) {
    m_bFailed = true;
    return 0;
  }
  return c;
}

bool cDataReader::String(std::string& str) {
  uint32_t nLen = U32();
  if (m_bFailed) return false;
  if (nLen <= 1) {
    str.clear();
    return true;
  }
  if (nLen > Left()) {
    m_bFailed = true;
    return false;
  }
  const char* p = reinterpret_cast<const char*>(m_pData + m_nPos);
  const void* pZero = std::memchr(p, 0, nLen);
  size_t nText = pZero ? static_cast<size_t>(static_cast<const char*>(pZero) - p) : nLen;
  str.assign(p, nText);
  m_nPos += nLen;
  return true;
}

bool cDataReader::Enter() {
  if (m_bFailed || m_nDepth >= kMaxDepth) {
    m_bFailed = true;
    return false;
  }
  ++m_nDepth;
  return true;
}

void cDataReader::Leave() {
  if (m_nDepth > 0) --m_nDepth;
}

void cDataWriter::Bytes(const void* p, size_t n) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  m_vData.insert(m_vData.end(), b, b + n);
}

void cDataWriter::String(const std::string& str) {
  size_t nText = std::strlen(str.c_str());
  U32(static_cast<uint32_t>(nText + 1));
  if (nText) {
    Bytes(str.data(), nText);
    U8(0);
  }
}
