// The SDL audio device that pulls the mix.
#include "platform/desktop/sdl_audio_device.h"

#include <SDL.h>

#include "platform/audio/mixer.h"

namespace plat::desktop {

namespace {

void SDLCALL PullMix(void*, Uint8* pStream, int nBytes) {
  audio::cMixer::Get().Render(reinterpret_cast<float*>(pStream),
                              nBytes / static_cast<int>(2 * sizeof(float)));
}

}  // namespace

bool cSdlAudioDevice::Open(std::string& strReason) {
  if (m_nDevice != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    strReason = SDL_GetError();
    return false;
  }
  m_bSubsystem = true;
  SDL_AudioSpec want{};
  SDL_AudioSpec have{};
  want.freq = 48000;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = PullMix;
  // The device keeps its own rate; the mixer follows it.
  m_nDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (m_nDevice == 0) {
    strReason = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_bSubsystem = false;
    return false;
  }
  audio::cMixer::Get().SetRate(have.freq);
  SDL_PauseAudioDevice(m_nDevice, 0);
  return true;
}

void cSdlAudioDevice::Close() {
  if (m_nDevice != 0) {
    SDL_CloseAudioDevice(m_nDevice);
    m_nDevice = 0;
  }
  if (m_bSubsystem) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_bSubsystem = false;
  }
}

}  // namespace plat::desktop
