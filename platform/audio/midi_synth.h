// The one General MIDI synthesiser of the process, made by the back end
// (FluidSynth with a soundfont on the desktop, a silent one that records what
// it is told in the null back end), rendering into the mixer's output. The
// caller holds the mixer lock around every call, so events and rendering
// never interleave half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat::audio {

class cSynth {
 public:
  // The process's synthesiser at the mixer's rate, made on first use; null
  // when it cannot be made (no soundfont), with the reason in *pError. A
  // player keeps what it was given alive, even across a Release.
  static std::shared_ptr<cSynth> Get(std::string* pError);
  // Drops the process's hold on the synthesiser (shut-down, or a new
  // soundfont, rate or back end).
  static void Release();

  virtual ~cSynth() = default;

  // A channel message: status 0x80..0xEF with its data bytes.
  virtual void ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) = 0;
  // A system-exclusive message without its F0 and closing F7.
  virtual void SysEx(const uint8_t* pData, size_t nBytes) = 0;
  virtual void AllNotesOff() = 0;   // notes end with their release
  virtual void AllSoundsOff() = 0;  // silence at once
  // Every channel to its start state, and nothing left of the last piece's
  // reverb and chorus.
  virtual void SystemReset() = 0;
  // Notes still sound, or their reverb and chorus still ring out.
  virtual bool IsSounding() = 0;
  // Adds nFrames stereo frames of synthesised sound into pOut.
  virtual void MixInto(float* pOut, int nFrames) = 0;

  int GetRate() const { return m_nRate; }

 protected:
  explicit cSynth(int nRate) : m_nRate(nRate) {}

 private:
  int m_nRate = 0;
};

// What a back end gives the process its synthesiser with.
class cSynthMaker {
 public:
  virtual ~cSynthMaker() = default;
  // A synthesiser rendering at nRate; null with the reason in strError when
  // none can be made.
  virtual std::unique_ptr<cSynth> Make(int nRate, std::string& strError) = 0;
};

}  // namespace plat::audio
