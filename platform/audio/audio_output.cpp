// SDL audio device in float stereo, feeding from the mixer.
#include "platform/audio/audio_output.h"

#include <SDL.h>

#include <atomic>
#include <mutex>

#include "platform/audio/mixer.h"

namespace plat::audio {

namespace {

struct cOutputState {
  std::mutex lock;
  OUTPUTKIND kind = OUTPUTKIND::None;
  SDL_AudioDeviceID device = 0;
  bool bSubsystem = false;
  std::string strReason;
};

cOutputState& State() {
  static cOutputState state;
  return state;
}

std::atomic<bool> g_bSilentRequested{false};

void SDLCALL PullMix(void*, Uint8* pStream, int nBytes) {
  cMixer::Get().Render(reinterpret_cast<float*>(pStream),
                       nBytes / static_cast<int>(2 * sizeof(float)));
}

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
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    st.kind = OUTPUTKIND::Silent;
    st.strReason = SDL_GetError();
    return st.kind;
  }
  st.bSubsystem = true;
  SDL_AudioSpec want{};
  SDL_AudioSpec have{};
  want.freq = 48000;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = PullMix;
  // The device keeps its own rate; the mixer follows it.
  st.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (st.device == 0) {
    st.strReason = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    st.bSubsystem = false;
    st.kind = OUTPUTKIND::Silent;
    return st.kind;
  }
  cMixer::Get().SetRate(have.freq);
  SDL_PauseAudioDevice(st.device, 0);
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
  if (st.device != 0) {
    SDL_CloseAudioDevice(st.device);
    st.device = 0;
  }
  if (st.bSubsystem) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    st.bSubsystem = false;
  }
  st.kind = OUTPUTKIND::None;
}

OUTPUTKIND GetOutputKind() {
  cOutputState& st = State();
  std::lock_guard<std::mutex> lock(st.lock);
  return st.kind;
}

const std::string& GetSilentReason() { return State().strReason; }

}  // namespace plat::audio
