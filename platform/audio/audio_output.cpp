// Which output the mixer has: the back end's device, silence, or offline.
#include "platform/audio/audio_output.h"

#include <atomic>
#include <mutex>

#include "platform/audio/audio_device.h"
#include "platform/audio/mixer.h"
#include "platform/backend/backend.h"

namespace plat::audio {

namespace {

struct cOutputState {
  std::mutex lock;
  OUTPUTKIND kind = OUTPUTKIND::None;
  std::string strReason;
};

cOutputState& State() {
  static cOutputState state;
  return state;
}

std::atomic<bool> g_bSilentRequested{false};

}  // namespace

void SetSilentRequested(bool bSilent) { g_bSilentRequested = bSilent; }
bool IsSilentRequested() { return g_bSilentRequested.load(); }

OUTPUTKIND OpenOutput(bool bSilent) {
  cOutputState& st = State();
  std::lock_guard<std::mutex> lock(st.lock);
  if (st.kind != OUTPUTKIND::None) return st.kind;
  if (bSilent) {
    st.kind = OUTPUTKIND::Silent;
    st.strReason = "silent output requested";
    return st.kind;
  }
  std::string strReason;
  if (!GetBackend().pAudio->Open(strReason)) {
    st.kind = OUTPUTKIND::Silent;
    st.strReason = strReason;
    return st.kind;
  }
  st.kind = OUTPUTKIND::Device;
  st.strReason.clear();
  return st.kind;
}

void OpenOfflineOutput(int nRate) {
  CloseOutput();
  cOutputState& st = State();
  std::lock_guard<std::mutex> lock(st.lock);
  cMixer::Get().SetRate(nRate);
  st.kind = OUTPUTKIND::Offline;
  st.strReason.clear();
}

void CloseOutput() {
  cOutputState& st = State();
  std::lock_guard<std::mutex> lock(st.lock);
  if (st.kind == OUTPUTKIND::Device) GetBackend().pAudio->Close();
  st.kind = OUTPUTKIND::None;
}

OUTPUTKIND GetOutputKind() {
  cOutputState& st = State();
  std::lock_guard<std::mutex> lock(st.lock);
  return st.kind;
}

const std::string& GetSilentReason() { return State().strReason; }

}  // namespace plat::audio
