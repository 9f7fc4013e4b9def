// The reader of PCM wave files for sound effects: a RIFF "WAVE" file with a
// "fmt " chunk of 16 to 18 bytes (PCM, 8 or 16 bits, mono or stereo) and a
// "data" chunk after it. Refusals are reported with the file name.
#pragma once

#include <cstdint>
#include <vector>

// The format chunk as stored, field by field (the 18-byte form; a 16-byte
// chunk leaves cbSize at 0).
struct WAVEFMT {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};

struct WAVEDATA {
  WAVEFMT fmt;
  std::vector<uint8_t> vData;  // whole frames only
};

constexpr uint16_t kWaveFormatPCM = 1;

// 1 when the file was read into *pWave; 0 otherwise (some refusals are
// reported, a missing file or missing chunk is not).
int DSLoadWave(const char* szFile, WAVEDATA* pWave);
// The same on bytes already in memory; szFile names them in reports.
int DSParseWave(const char* szFile, const std::vector<uint8_t>& vBytes, WAVEDATA* pWave);
