// The one software mixer of the program: sound-effect voices over shared
// sample data, plus music sources (the Ogg player, the MIDI sequencer), mixed
// in float stereo at the output rate. The audio device only pulls from
// Render; tests call Render themselves with a fixed frame count.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace plat::audio {

// Volumes are kept as the game gives them, in hundredths of a decibel
// (0 = full, -10000 = silent).
constexpr int kVolumeSilent = -10000;
constexpr int kVolumeFull = 0;

// 10^(v/2000); -10000 and below is exactly 0.
float GainFromVolume(int nVolume);

// PCM as it comes from a file, before it is brought to the output format.
struct PCMFORMAT {
  int nChannels = 0;       // 1 or 2
  int nBitsPerSample = 0;  // 8 (unsigned) or 16 (signed little-endian)
  int nSamplesPerSec = 0;
};

// The longest sound the mixer converts: 2^26 frames, 23 minutes at 48 kHz
// and 512 MiB of samples. A sound effect lasts seconds; without a bound a
// small file at a low rate (100 frames a second becomes 480 times as many)
// would ask for more memory than any machine has.
constexpr int64_t kMaxSampleFrames = int64_t(1) << 26;

// Samples in float stereo at the output rate; every voice made from them
// shares them. A sound kept at another rate is converted when it is first
// asked for (most often its first play), once: a project loads every sound
// it has, and the converter costs far more than reading them.
struct cSampleData {
  // The frames at the output rate, interleaved left, right; any thread.
  const std::vector<float>& GetFrames() const {
    std::call_once(m_Converted, [this] { Convert(); });
    return m_vFrames;
  }
  int64_t GetFrameCount() const { return static_cast<int64_t>(GetFrames().size() / 2); }

  // The file's frames at its own rate, interleaved; let go once converted.
  mutable std::vector<float> m_vSource;
  int m_nSourceRate = 0;
  int m_nRate = 0;               // the output rate
  int64_t m_nFrames = 0;         // the length at the output rate

 private:
  void Convert() const;
  mutable std::once_flag m_Converted;
  mutable std::vector<float> m_vFrames;
};
using SampleRef = std::shared_ptr<const cSampleData>;

// Something that adds itself into the mix: called with the mixer lock held,
// on whatever thread renders.
class cMusicSource {
 public:
  virtual ~cMusicSource() = default;
  virtual void MixInto(float* pOut, int nFrames) = 0;
};

using VoiceId = int;  // below 0: no voice
constexpr VoiceId kNoVoice = -1;

class cMixer {
 public:
  static cMixer& Get();

  // Output rate: what samples are converted to and what sources render at.
  int GetRate() const { return m_nRate; }
  // Set by the output when it opens; voices made at another rate keep
  // their samples, so this only happens before any sound is made.
  void SetRate(int nRate);

  // Converts PCM to the output format; null when the format is not one the
  // mixer plays, or the sound would be longer than kMaxSampleFrames. The
  // byte count is cut to whole frames.
  SampleRef MakeSample(const PCMFORMAT& fmt, const uint8_t* pData, size_t nBytes) const;

  VoiceId CreateVoice(SampleRef sample);
  // A second voice over the same samples, with the copied voice's volume.
  VoiceId DuplicateVoice(VoiceId id);
  void DeleteVoice(VoiceId id);
  // Rewinds and starts the voice (a playing one is cut off first).
  void RestartVoice(VoiceId id, bool bLoop);
  void StopVoice(VoiceId id);
  bool IsVoicePlaying(VoiceId id);
  void SetVoiceVolume(VoiceId id, int nVolume);
  int GetVoiceVolume(VoiceId id);
  void DeleteAllVoices();
  int GetVoiceCount();

  void AddSource(cMusicSource* pSource);
  void RemoveSource(cMusicSource* pSource);

  // Writes nFrames stereo frames (2 × nFrames floats) of the mix.
  void Render(float* pOut, int nFrames);

  // Sources change their own state under this lock, so the rendering
  // thread never sees half of a change.
  std::recursive_mutex& GetLock() { return m_Lock; }

 private:
  struct VOICE {
    SampleRef sample;
    int64_t nPos = 0;
    int nVolume = 0;
    float fGain = 1.0f;
    bool bUsed = false;
    bool bPlaying = false;
    bool bLoop = false;
  };

  VOICE* FindVoice(VoiceId id);

  std::recursive_mutex m_Lock;
  int m_nRate = 48000;
  std::vector<VOICE> m_vVoices;
  std::vector<cMusicSource*> m_vSources;
};

}  // namespace plat::audio
