// The silent synthesiser that records what it is told.
#include "platform/null/null_synth.h"

#include <atomic>
#include <utility>

namespace plat::null {

namespace {

std::atomic<bool> g_bRecording{false};

SYNTHCALL CallOf(SYNTHCALL::KIND kind) {
  SYNTHCALL call;
  call.kind = kind;
  return call;
}

}  // namespace

void RecordSynthCalls(bool bRecord) { g_bRecording = bRecord; }

void cNullSynth::Add(SYNTHCALL call) {
  if (g_bRecording) m_vCalls.push_back(std::move(call));
}

void cNullSynth::ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) {
  SYNTHCALL call = CallOf(SYNTHCALL::KIND::Short);
  call.byStatus = byStatus;
  call.byData1 = byData1;
  call.byData2 = byData2;
  Add(std::move(call));
}

void cNullSynth::SysEx(const uint8_t* pData, size_t nBytes) {
  if (!g_bRecording) return;
  SYNTHCALL call = CallOf(SYNTHCALL::KIND::SysEx);
  call.vSysEx.assign(pData, pData + nBytes);
  Add(std::move(call));
}

void cNullSynth::AllNotesOff() { Add(CallOf(SYNTHCALL::KIND::AllNotesOff)); }

void cNullSynth::AllSoundsOff() { Add(CallOf(SYNTHCALL::KIND::AllSoundsOff)); }

void cNullSynth::SystemReset() { Add(CallOf(SYNTHCALL::KIND::SystemReset)); }

std::unique_ptr<audio::cSynth> cNullSynthMaker::Make(int nRate, std::string&) {
  return std::make_unique<cNullSynth>(nRate);
}

}  // namespace plat::null
