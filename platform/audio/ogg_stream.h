// An Ogg Vorbis music source over libvorbisfile: load a file's bytes, play,
// stop, unload, loop a number of times or endlessly. Decoding happens as the
// mixer pulls, and a loop seeks back inside the same pull, so the end of the
// piece runs into its start without a gap.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/mixer.h"

namespace plat::audio {

constexpr int kLoopEndless = 0x7fffffff;

class cOggStream : public cMusicSource {
 public:
  cOggStream();
  ~cOggStream() override;
  cOggStream(const cOggStream&) = delete;
  cOggStream& operator=(const cOggStream&) = delete;

  // False (nothing loaded) when the bytes are not an Ogg Vorbis stream.
  bool Load(std::vector<uint8_t> vBytes);
  void Unload();
  bool IsLoaded();
  // Repeats after the first pass: 0 plays once, kLoopEndless never ends.
  void SetLoopCount(int nLoops);
  void Play();
  void Stop();
  bool IsPlaying();

  void MixInto(float* pOut, int nFrames) override;

 private:
  struct cImpl;
  std::unique_ptr<cImpl> m_pImpl;
};

}  // namespace plat::audio
