// The null synthesiser: renders silence, needs no soundfont, and on request
// keeps every call it is given, so tests can check the stream of MIDI events
// a player sends. A headless run records nothing: its music may loop for
// hours.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/midi_synth.h"

namespace plat::null {

struct SYNTHCALL {
  enum class KIND { Short, SysEx, AllNotesOff, AllSoundsOff, SystemReset };
  KIND kind = KIND::Short;
  uint8_t byStatus = 0;  // Short: the channel message
  uint8_t byData1 = 0;
  uint8_t byData2 = 0;
  std::vector<uint8_t> vSysEx;  // SysEx: its bytes without F0 and F7
};

// Whether null synthesisers keep their calls from now on (off at start).
void RecordSynthCalls(bool bRecord);

class cNullSynth : public audio::cSynth {
 public:
  explicit cNullSynth(int nRate) : cSynth(nRate) {}

  void ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) override;
  void SysEx(const uint8_t* pData, size_t nBytes) override;
  void AllNotesOff() override;
  void AllSoundsOff() override;
  void SystemReset() override;
  bool IsSounding() override { return false; }
  void MixInto(float*, int) override {}

  // Read and cleared under the mixer lock (or with nothing rendering).
  const std::vector<SYNTHCALL>& GetCalls() const { return m_vCalls; }
  void ClearCalls() { m_vCalls.clear(); }

 private:
  void Add(SYNTHCALL call);

  std::vector<SYNTHCALL> m_vCalls;
};

class cNullSynthMaker : public audio::cSynthMaker {
 public:
  std::unique_ptr<audio::cSynth> Make(int nRate, std::string& strError) override;
};

}  // namespace plat::null
