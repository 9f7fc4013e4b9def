// Hand-built record files for tests: old-version layouts that our own writer
// no longer produces, and corrupt ones. Values should be distinctive (0x1234,
// 0x0A0B0C0D...) so that a field read one byte off shows at once.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class cByteBuilder {
 public:
  cByteBuilder() = default;
  // A record file's 4-byte format version.
  static cByteBuilder File(uint32_t nVersion) {
    cByteBuilder b;
    b.U32(nVersion);
    return b;
  }

  cByteBuilder& U8(uint8_t v) { return Raw(&v, 1); }
  cByteBuilder& I8(int8_t v) { return Raw(&v, 1); }
  cByteBuilder& U16(uint16_t v) { return Le(v, 2); }
  cByteBuilder& I16(int16_t v) { return Le(static_cast<uint16_t>(v), 2); }
  cByteBuilder& U32(uint32_t v) { return Le(v, 4); }
  cByteBuilder& I32(int32_t v) { return Le(static_cast<uint32_t>(v), 4); }
  cByteBuilder& F64(double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    return Le(u, 8);
  }
  // A count (of fields, strings or elements).
  cByteBuilder& Count(uint32_t n) { return U32(n); }
  // A stored string: length + 1, then the text and a 0 (nothing for "").
  cByteBuilder& Str(const std::string& s) {
    U32(static_cast<uint32_t>(s.size() + 1));
    if (!s.empty()) {
      Raw(s.data(), s.size());
      U8(0);
    }
    return *this;
  }
  cByteBuilder& Zeros(size_t n) {
    m_v.insert(m_v.end(), n, 0);
    return *this;
  }
  cByteBuilder& Raw(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    m_v.insert(m_v.end(), b, b + n);
    return *this;
  }
  cByteBuilder& Append(const std::vector<uint8_t>& v) { return Raw(v.data(), v.size()); }

  const std::vector<uint8_t>& Bytes() const { return m_v; }
  size_t Size() const { return m_v.size(); }
  operator const std::vector<uint8_t>&() const { return m_v; }

 private:
  cByteBuilder& Le(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) m_v.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> m_v;
};
