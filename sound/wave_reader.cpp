// RIFF wave reading over the whole file in memory. Every chunk is bounded by
// the lesser of the RIFF chunk's end and the file's end, so a lying length
// never makes the reader look past the bytes that are there.
#include "sound/wave_reader.h"

#include <algorithm>
#include <cstring>

#include "base/logs.h"
#include "sound/sound_file.h"

namespace {

// Sound effects are short; a file above this is not one.
constexpr size_t kMaxWaveBytes = 256u << 20;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct CHUNK {
  size_t nData = 0;    // offset of the chunk's first data byte
  uint32_t nSize = 0;  // size as stored
  size_t nNext = 0;    // offset of the chunk after it (pad byte included)
};

// Looks for the chunk named szId among the chunks from nPos up to nEnd.
bool FindChunk(const std::vector<uint8_t>& b, size_t nPos, size_t nEnd, const char* szId,
               CHUNK& out) {
  while (nPos + 8 <= nEnd) {
    const uint32_t nSize = Le32(&b[nPos + 4]);
    const uint64_t nNext = static_cast<uint64_t>(nPos) + 8 + nSize + (nSize & 1);
    if (std::memcmp(&b[nPos], szId, 4) == 0) {
      out.nData = nPos + 8;
      out.nSize = nSize;
      out.nNext = static_cast<size_t>(std::min<uint64_t>(nNext, nEnd));
      return true;
    }
    if (nNext > nEnd) return false;
    nPos = static_cast<size_t>(nNext);
  }
  return false;
}

void ReportUnsupported(const char* szFile) {
  ReportFDebug(
      "%s "
      "の読み込みに失敗しました…\n対応していない形式か、不正なwavファイルです。\n本ソフトではPCM形"
      "式のみ再生できます。",
      szFile);
}

}  // namespace

int DSParseWave(const char* szFile, const std::vector<uint8_t>& b, WAVEDATA* pWave) {
  if (b.size() < 12 || std::memcmp(&b[0], "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVE", 4) != 0) {
    ReportFDebug("%s の読み込みに失敗しました…\n不正なファイルです。", szFile);
    return 0;
  }
  const size_t nRiffEnd = static_cast<size_t>(std::min<uint64_t>(8ull + Le32(&b[4]), b.size()));

  CHUNK fmt;
  if (!FindChunk(b, 12, nRiffEnd, "fmt ", fmt)) return 0;
  const size_t nFmtPresent = nRiffEnd > fmt.nData ? nRiffEnd - fmt.nData : 0;
  if (fmt.nSize > 18 || fmt.nSize < 16 || nFmtPresent < fmt.nSize) {
    ReportUnsupported(szFile);
    return 0;
  }
  WAVEFMT f;
  const uint8_t* p = &b[fmt.nData];
  f.wFormatTag = Le16(p);
  f.nChannels = Le16(p + 2);
  f.nSamplesPerSec = Le32(p + 4);
  f.nAvgBytesPerSec = Le32(p + 8);
  f.nBlockAlign = Le16(p + 12);
  f.wBitsPerSample = Le16(p + 14);
  f.cbSize = fmt.nSize >= 18 ? Le16(p + 16) : 0;
  if (f.wFormatTag != kWaveFormatPCM) {
    ReportFDebug(
        "%s "
        "の読み込みに失敗しました…\nPCM形式以外の形式です。\n本ソフトではPCM形式のみ再生できます。",
        szFile);
    return 0;
  }
  // Only what the mixer can play at the right pitch: a wrong block size or a
  // rate of 0 would otherwise give a division by zero or a runaway sound.
  const bool bBits = f.wBitsPerSample == 8 || f.wBitsPerSample == 16;
  const bool bChannels = f.nChannels == 1 || f.nChannels == 2;
  const bool bRate = f.nSamplesPerSec >= 100 && f.nSamplesPerSec <= 200000;
  if (!bBits || !bChannels || !bRate || f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) {
    ReportUnsupported(szFile);
    return 0;
  }

  CHUNK data;
  if (!FindChunk(b, fmt.nNext, nRiffEnd, "data", data)) return 0;
  if (data.nSize == 0) return 0;
  size_t nBytes = std::min<size_t>(data.nSize, nRiffEnd - data.nData);
  nBytes -= nBytes % f.nBlockAlign;
  if (nBytes == 0) return 0;
  pWave->fmt = f;
  pWave->vData.assign(b.begin() + static_cast<std::ptrdiff_t>(data.nData),
                      b.begin() + static_cast<std::ptrdiff_t>(data.nData + nBytes));
  return 1;
}

int DSLoadWave(const char* szFile, WAVEDATA* pWave) {
  std::vector<uint8_t> vBytes;
  if (!ReadSoundFile(szFile ? szFile : "", vBytes, kMaxWaveBytes)) return 0;
  return DSParseWave(szFile, vBytes, pWave);
}
