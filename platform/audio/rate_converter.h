// Sample-rate conversion of float stereo with libsamplerate's band-limited
// (sinc) converter: what a file recorded at 22050 or 11025 Hz needs to sound
// clean at the device's 48000 Hz, where drawing straight lines between its
// samples leaves a hiss of mirrored tones above them. The output is aligned
// with the input in time; the converter lives in the platform core, so
// sounds are converted the same in the game, in tools and in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace plat::audio {

// Converts nIn stereo frames at nInRate into exactly nOut frames at
// nOutRate (the caller decides the length; the last frames are silence
// when the converter gives fewer). Empty when the converter fails.
std::vector<float> ConvertRate(const float* pIn, int64_t nIn, int nInRate, int nOutRate,
                               int64_t nOut);

// A converter for a stream that is pulled frame by frame (music): it asks
// its source for more stereo frames at the source's rate as it needs them.
class cRateStream {
 public:
  // Fills up to nMax frames at pOut (interleaved stereo) and returns how
  // many it gave; 0 at the end of the stream.
  using SOURCE = std::function<int64_t(float* pOut, int64_t nMax)>;

  explicit cRateStream(SOURCE source);
  ~cRateStream();
  cRateStream(const cRateStream&) = delete;
  cRateStream& operator=(const cRateStream&) = delete;

  // Forgets what it held: the stream starts again.
  void Reset();
  // Writes up to nFrames frames at nOutRate converted from nInRate, adding
  // them into pOut; returns how many it gave (fewer only at the end).
  int64_t MixInto(float* pOut, int64_t nFrames, int nInRate, int nOutRate);

 private:
  struct cImpl;
  std::unique_ptr<cImpl> m_pImpl;
};

}  // namespace plat::audio
