// The one General MIDI synthesiser of the process: FluidSynth used as a
// library with one soundfont, rendering into the mixer's output. The caller
// holds the mixer lock around every call, so events and rendering never
// interleave half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat::audio {

// Where the soundfont is looked for; BRIMVALE_SOUNDFONT in the environment
// overrides the Debian default.
std::string GetSoundFontPath();
// For tests and settings: a different soundfont file; the synthesiser is
// rebuilt on its next use.
void SetSoundFontPath(const std::string& strPath);

class cSynth {
 public:
  // The process's synthesiser at the mixer's rate, built on first use; null
  // when it cannot be built (no soundfont), with the reason in *pError. A
  // player keeps what it was given alive, even across a Release.
  static std::shared_ptr<cSynth> Get(std::string* pError);
  // Drops the process's hold on the synthesiser (shut-down, or a new
  // soundfont or rate).
  static void Release();

  // A channel message: status 0x80..0xEF with its data bytes.
  void ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2);
  // A system-exclusive message without its F0 and closing F7.
  void SysEx(const uint8_t* pData, size_t nBytes);
  void AllNotesOff();   // notes end with their release
  void AllSoundsOff();  // silence at once
  // Every channel to its start state, and nothing left of the last piece's
  // reverb and chorus.
  void SystemReset();
  // Notes still sound, or their reverb and chorus still ring out.
  bool IsSounding();
  // Adds nFrames stereo frames of synthesised sound into pOut.
  void MixInto(float* pOut, int nFrames);
  int GetRate() const { return m_nRate; }

  ~cSynth();

 private:
  cSynth() = default;
  struct cImpl;
  cImpl* m_pImpl = nullptr;
  int m_nRate = 0;
  int64_t m_nTailFrames = 0;  // effect tail left to render after the last voice
};

}  // namespace plat::audio
