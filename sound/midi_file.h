// Standard MIDI files: reading and checking the file, and merging all its
// tracks in time order into one single-track image (format 0) that the
// player walks. Refusals are reported with the file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Offsets in the image: the events begin after the header and the one
// track's chunk header.
constexpr size_t kMidiImageFirstEvent = 22;

// Variable-length values: 7 bits a byte, most significant group first.
// Reads at most 4 bytes (and never more than nLeft); returns the bytes read,
// 0 when the value does not end within them.
int ReadVarLen(const uint8_t* p, size_t nLeft, uint32_t* pValue);
// Appends the value; returns the bytes written, 0 for a value above 0x0FFFFFFF.
int WriteVarLen(std::vector<uint8_t>& vOut, uint32_t nValue);

class cMidiData {
 public:
  // Reads, checks and converts the file; without an image the file was
  // refused (and reported).
  explicit cMidiData(const char* szPath);
  virtual ~cMidiData();
  cMidiData(const cMidiData&) = delete;
  cMidiData& operator=(const cMidiData&) = delete;

  bool HasImage() const { return !m_vImage.empty(); }
  const std::vector<uint8_t>& GetImage() const { return m_vImage; }
  const std::string& GetFileName() const { return m_strFileName; }

  // The checks and the conversion on bytes in memory; false when refused.
  bool Init(const uint8_t* pFile, size_t nBytes);

 protected:
  std::vector<uint8_t> m_vImage;  // empty: no image
  std::string m_strFileName;

 private:
  void Create(const char* szPath);
};
