// One fuzz input for the wave reader: the bytes as a wave file; what it
// accepts goes on through the mixer's conversion to the output format, as
// a sound effect's samples do at load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio/mixer.h"
#include "sound/wave_reader.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

// True when the wave was read.
inline bool FuzzWave(const uint8_t* pData, size_t nSize) {
  const std::vector<uint8_t> vBytes(pData, pData + nSize);
  WAVEDATA wave;
  if (!DSParseWave("fuzz.wav", vBytes, &wave)) {
    Check(wave.vData.empty(), "a refused wave leaves no samples");
    return false;
  }
  const WAVEFMT& f = wave.fmt;
  Check(f.wFormatTag == kWaveFormatPCM, "only PCM is read");
  Check(f.nChannels == 1 || f.nChannels == 2, "one or two channels");
  Check(f.wBitsPerSample == 8 || f.wBitsPerSample == 16, "8 or 16 bits");
  Check(f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8, "the block is one frame");
  Check(!wave.vData.empty() && wave.vData.size() % f.nBlockAlign == 0, "whole frames only");
  Check(wave.vData.size() <= nSize, "no more samples than the file holds");

  plat::audio::PCMFORMAT pcm;
  pcm.nChannels = f.nChannels;
  pcm.nBitsPerSample = f.wBitsPerSample;
  pcm.nSamplesPerSec = static_cast<int>(f.nSamplesPerSec);
  const plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  plat::audio::SampleRef sample = mixer.MakeSample(pcm, wave.vData.data(), wave.vData.size());
  // The sound keeps its length in time, to the nearest output frame, up to
  // the longest sound the mixer makes.
  const int64_t nIn = static_cast<int64_t>(wave.vData.size() / f.nBlockAlign);
  const int64_t nRate = pcm.nSamplesPerSec, nOutRate = mixer.GetRate();
  const int64_t nOut = (nIn * nOutRate + nRate / 2) / nRate;
  Check((sample != nullptr) == (nOut <= plat::audio::kMaxSampleFrames),
        "the mixer plays every wave the reader accepts, up to its longest sound");
  if (!sample) return true;
  Check(sample->GetFrameCount() == nOut, "the converted sound keeps its length");
  // The band-limited converter rings a little past full scale on sharp
  // edges (about 9 % on a square wave); anything beyond twice full scale, or
  // not a number, would be a fault of the conversion.
  for (float v : sample->GetFrames()) Check(v >= -2.0f && v <= 2.0f, "samples stay in range");
  return true;
}

}  // namespace fuzz
