// One fuzz input for the Ogg player: the bytes as an Ogg Vorbis file, loaded
// and decoded for a few seconds of output (looping once, so the seek back
// to the start runs too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/ogg_stream.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

constexpr int kOggFuzzSeconds = 2;

// True when the stream was loaded.
inline bool FuzzOgg(const uint8_t* pData, size_t nSize) {
  plat::audio::cOggStream stream;
  if (!stream.Load(std::vector<uint8_t>(pData, pData + nSize))) {
    Check(!stream.IsLoaded(), "a refused stream is not loaded");
    return false;
  }
  stream.SetLoopCount(1);
  stream.Play();
  constexpr int kBlock = 4096;
  std::vector<float> vOut(size_t(kBlock) * 2);
  const int nFrames = kOggFuzzSeconds * plat::audio::cMixer::Get().GetRate();
  for (int nDone = 0; nDone < nFrames && stream.IsPlaying(); nDone += kBlock) {
    std::fill(vOut.begin(), vOut.end(), 0.0f);
    stream.MixInto(vOut.data(), kBlock);
  }
  stream.Stop();
  stream.Unload();
  Check(!stream.IsLoaded(), "an unloaded stream is gone");
  return true;
}

}  // namespace fuzz
