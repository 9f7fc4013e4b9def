// The one bounded byte reader under every file format the program reads:
// record files, bitmaps, wave and MIDI files. A view over bytes someone else
// keeps alive, with a position, the bytes left and a sticky failure flag:
// the first read that does not fit fails the reader, and from then on every
// read fails too and yields zero (copies leave their targets alone), so a
// parser can read a whole structure and test once at the end. Counts taken
// from a file are checked against the bytes left, overflow-safe, before
// anything is allocated for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace plat::io {

class cByteReader {
 public:
  cByteReader() = default;
  cByteReader(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nSize(pData ? nSize : 0) {}
  explicit cByteReader(std::span<const uint8_t> bytes) : cByteReader(bytes.data(), bytes.size()) {}

  size_t Size() const { return m_nSize; }
  size_t Position() const { return m_nPos; }
  // Nothing is left of a failed reader, so a loop that runs while bytes
  // are left ends with the first bad read.
  size_t Left() const { return m_bFailed ? 0 : m_nSize - m_nPos; }
  bool AtEnd() const { return Left() == 0; }
  bool Failed() const { return m_bFailed; }
  // Marks the input as bad; every later read fails.
  void Fail() { m_bFailed = true; }

  // Little-endian fixed-width values.
  uint8_t U8();
  int8_t I8() { return static_cast<int8_t>(U8()); }
  uint16_t U16();
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U24();
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint64_t U64();
  double F64();
  // Big-endian fixed-width values.
  uint16_t U16Be();
  uint32_t U24Be();
  uint32_t U32Be();

  // The next byte without moving (0 at the end; peeking never fails the
  // reader).
  uint8_t PeekU8() const { return !m_bFailed && m_nPos < m_nSize ? m_pData[m_nPos] : 0; }
  // True (and moved past them) when the next bytes are szTag's n bytes;
  // otherwise nothing moves and nothing fails.
  bool Match(const char* szTag, size_t n = 4);

  // Copies n bytes to p, or fails and leaves p untouched.
  bool ReadBytes(void* p, size_t n);
  // The next n bytes in place, or an empty span and the reader failed.
  std::span<const uint8_t> Bytes(size_t n);
  bool Skip(size_t n);
  // To an absolute position; past the end fails.
  bool Seek(size_t nPos);

  // A reader over the next n bytes, which this one moves past: a chunk whose
  // reads can never leave it. When n is more than is left, both fail (the
  // sub-reader is empty).
  cByteReader Sub(size_t n);
  // The same for a chunk whose stored length may lie: it gets the lesser of
  // n and the bytes left, and nothing fails.
  cByteReader SubAtMost(size_t n);

  // Whether nCount elements of nElementBytes each fit in the bytes left;
  // the product is never formed, so no count can overflow the test.
  bool Fits(uint64_t nCount, size_t nElementBytes) const;
  // The same, failing the reader when they do not fit.
  bool CheckCount(uint64_t nCount, size_t nElementBytes);

  // The bytes the reader views, whole.
  const uint8_t* Data() const { return m_pData; }

 private:
  // Moves past the next n bytes, p at the first; false and the reader
  // failed when they are not there.
  bool Take(size_t n, const uint8_t*& p);
  uint64_t Le(size_t n);
  uint64_t Be(size_t n);

  const uint8_t* m_pData = nullptr;
  size_t m_nSize = 0;
  size_t m_nPos = 0;
  bool m_bFailed = false;
};

}  // namespace plat::io
