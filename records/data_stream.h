// Bounded little-endian streams for record files. Every value of a record
// file passes through these: the reader is the program's one bounded byte
// reader (it knows how many bytes are left, fails once and for good, later
// reads give 0 and leave their targets alone) plus what records add on top:
// the file's version, stored strings, counts refused before anything is
// allocated, and a limit on nesting. The writer collects a file in memory so that it reaches the
// disk in one atomic step.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/io/byte_reader.h"

static_assert(std::endian::native == std::endian::little,
              "record members are stored as their raw little-endian images");

class cDataReader {
 public:
  // Nested records (vectors of sub-records, embedded records, sub-flows) go
  // no deeper than this; a deeper file is refused instead of exhausting the
  // stack.
  static constexpr int kMaxDepth = 64;

  // The reader keeps its own copy of the bytes (the body, after the header).
  cDataReader(std::vector<uint8_t> bytes, int32_t nFileVersion);
  // Reads from bytes the caller keeps alive for as long as the reader.
  cDataReader(const uint8_t* pData, size_t nSize, int32_t nFileVersion);

  cDataReader(const cDataReader&) = delete;
  cDataReader& operator=(const cDataReader&) = delete;

  // The format version of the file being read: the version old layouts and
  // repairs are chosen by.
  int32_t FileVersion() const { return m_nFileVersion; }
  size_t Left() const { return m_Bytes.Left(); }
  size_t Position() const { return m_Bytes.Position(); }
  bool Failed() const { return m_Bytes.Failed(); }
  bool AtEnd() const { return m_Bytes.AtEnd(); }
  // Marks the file as corrupt; every later read fails.
  void Fail() { m_Bytes.Fail(); }

  // Copies n bytes to p, or fails and leaves p untouched.
  bool ReadBytes(void* p, size_t n) { return m_Bytes.ReadBytes(p, n); }
  bool Skip(size_t n) { return m_Bytes.Skip(n); }

  uint8_t U8() { return m_Bytes.U8(); }
  int8_t I8() { return m_Bytes.I8(); }
  uint16_t U16() { return m_Bytes.U16(); }
  int16_t I16() { return m_Bytes.I16(); }
  uint32_t U32() { return m_Bytes.U32(); }
  int32_t I32() { return m_Bytes.I32(); }
  double F64() { return m_Bytes.F64(); }

  // An element count that the rest of the file must be able to hold at
  // nMinBytesPerElement bytes each; a larger (or, read as signed, negative)
  // count fails the stream and gives 0.
  uint32_t Count(size_t nMinBytesPerElement);

  // A stored string: 4 bytes L = length + 1, then L bytes (text and a 0)
  // unless L is 1. The text is cut at its first 0 byte. L = 0 is taken as
  // empty; a length past the end fails the stream. False on failure (the
  // string is then unchanged).
  bool String(std::string& str);

  // Depth guard for nested reads: false (and the stream failed) past kMaxDepth.
  bool Enter();
  void Leave();
  int Depth() const { return m_nDepth; }

  class cNest {
   public:
    explicit cNest(cDataReader& r) : m_r(r), m_bOk(r.Enter()) {}
    ~cNest() {
      if (m_bOk) m_r.Leave();
    }
    cNest(const cNest&) = delete;
    cNest& operator=(const cNest&) = delete;
    bool Ok() const { return m_bOk; }

   private:
    cDataReader& m_r;
    bool m_bOk;
  };

 private:
  std::vector<uint8_t> m_vOwned;
  plat::io::cByteReader m_Bytes;
  int32_t m_nFileVersion;
  int m_nDepth = 0;
};

class cDataWriter {
 public:
  void Bytes(const void* p, size_t n);
  void U8(uint8_t v) { Bytes(&v, 1); }
  void I8(int8_t v) { Bytes(&v, 1); }
  void U16(uint16_t v) { Bytes(&v, 2); }
  void I16(int16_t v) { Bytes(&v, 2); }
  void U32(uint32_t v) { Bytes(&v, 4); }
  void I32(int32_t v) { Bytes(&v, 4); }
  void F64(double v) { Bytes(&v, 8); }
  // The stored form String of cDataReader reads; the text up to its first 0.
  void String(const std::string& str);

  const std::vector<uint8_t>& Data() const { return m_vData; }
  std::vector<uint8_t>& Data() { return m_vData; }

 private:
  std::vector<uint8_t> m_vData;
};
