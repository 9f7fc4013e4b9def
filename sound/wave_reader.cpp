// RIFF wave reading over the whole file in memory. Every chunk is bounded by
// the lesser of the RIFF chunk's end and the file's end, so a lying length
// never makes the reader look past the bytes that are there.
#include "sound/wave_reader.h"

#include <span>

#include "base/logs.h"
#include "platform/io/byte_reader.h"
#include "sound/sound_file.h"

namespace {

using plat::io::cByteReader;

// Sound effects are short; a file above this is not one.
constexpr size_t kMaxWaveBytes = 256u << 20;

struct CHUNK {
  uint32_t nSize = 0;  // size as stored
  cByteReader body;    // the bytes of it that are really there
};

// Looks for the chunk named szId among the chunks left in riff, and leaves
// riff after it (pad byte included).
bool FindChunk(cByteReader& riff, const char* szId, CHUNK& out) {
  while (riff.Left() >= 8) {
    const bool bThis = riff.Match(szId);
    if (!bThis) riff.Skip(4);
    const uint32_t nSize = riff.U32();
    if (bThis) {
      out.nSize = nSize;
      out.body = riff.SubAtMost(nSize);
      if ((nSize & 1) && riff.Left() > 0) riff.Skip(1);
      return true;
    }
    const uint64_t nNext = static_cast<uint64_t>(nSize) + (nSize & 1);
    if (nNext > riff.Left()) return false;
    riff.Skip(static_cast<size_t>(nNext));
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
  cByteReader file(b.data(), b.size());
  const bool bRiff = file.Match("RIFF");
  const uint32_t nRiffSize = file.U32();
  if (!bRiff || !file.Match("WAVE")) {
    ReportFDebug("%s の読み込みに失敗しました…\n不正なファイルです。", szFile);
    return 0;
  }
  // The chunks inside the RIFF chunk, as far as the file really holds them.
  cByteReader riff = file.SubAtMost(nRiffSize >= 4 ? nRiffSize - 4 : 0);

  CHUNK fmt;
  if (!FindChunk(riff, "fmt ", fmt)) return 0;
  if (fmt.nSize > 18 || fmt.nSize < 16 || fmt.body.Size() < fmt.nSize) {
    ReportUnsupported(szFile);
    return 0;
  }
  WAVEFMT f;
  cByteReader& p = fmt.body;
  f.wFormatTag = p.U16();
  f.nChannels = p.U16();
  f.nSamplesPerSec = p.U32();
  f.nAvgBytesPerSec = p.U32();
  f.nBlockAlign = p.U16();
  f.wBitsPerSample = p.U16();
  f.cbSize = fmt.nSize >= 18 ? p.U16() : 0;
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
  if (!FindChunk(riff, "data", data)) return 0;
  if (data.nSize == 0) return 0;
  size_t nBytes = data.body.Size();
  nBytes -= nBytes % f.nBlockAlign;
  if (nBytes == 0) return 0;
  const std::span<const uint8_t> samples = data.body.Bytes(nBytes);
  pWave->fmt = f;
  pWave->vData.assign(samples.begin(), samples.end());
  return 1;
}

int DSLoadWave(const char* szFile, WAVEDATA* pWave) {
  std::vector<uint8_t> vBytes;
  if (!ReadSoundFile(szFile ? szFile : "", vBytes, kMaxWaveBytes)) return 0;
  return DSParseWave(szFile, vBytes, pWave);
}
