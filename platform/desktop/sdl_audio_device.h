// The desktop's sound device: one SDL audio device in float stereo at its
// own rate, pulling the mixer from SDL's audio thread.
#pragma once

#include <cstdint>

#include "platform/audio/audio_device.h"

namespace plat::desktop {

class cSdlAudioDevice : public audio::cAudioDevice {
 public:
  bool Open(std::string& strReason) override;
  void Close() override;

 private:
  uint32_t m_nDevice = 0;  // SDL's device id; 0: none open
  bool m_bSubsystem = false;
};

}  // namespace plat::desktop
