#include "records/data_stream.h"

#include <cstring>

cDataReader::cDataReader(std::vector<uint8_t> bytes, int32_t nFileVersion)
    : m_vOwned(std::move(bytes)),
      m_Bytes(m_vOwned.data(), m_vOwned.size()),
      m_nFileVersion(nFileVersion) {}

cDataReader::cDataReader(const uint8_t* pData, size_t nSize, int32_t nFileVersion)
    : m_Bytes(pData, nSize), m_nFileVersion(nFileVersion) {}

uint32_t cDataReader::Count(size_t nMinBytesPerElement) {
  const uint32_t c = U32();
  if (Failed()) return 0;
  if (static_cast<int32_t>(c) < 0 || !m_Bytes.CheckCount(c, nMinBytesPerElement)) {
    Fail();
    return 0;
  }
  return c;
}

bool cDataReader::String(std::string& str) {
  const uint32_t nLen = U32();
  if (Failed()) return false;
  if (nLen <= 1) {
    str.clear();
    return true;
  }
  const std::span<const uint8_t> bytes = m_Bytes.Bytes(nLen);
  if (Failed()) return false;
  const char* p = reinterpret_cast<const char*>(bytes.data());
  const void* pZero = std::memchr(p, 0, nLen);
  const size_t nText = pZero ? static_cast<size_t>(static_cast<const char*>(pZero) - p) : nLen;
  str.assign(p, nText);
  return true;
}

bool cDataReader::Enter() {
  if (Failed() || m_nDepth >= kMaxDepth) {
    Fail();
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
