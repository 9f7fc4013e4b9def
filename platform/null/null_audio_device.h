// The null sound device: there is none. The output runs silent, and tests
// render the mixer offline themselves.
#pragma once

#include "platform/audio/audio_device.h"

namespace plat::null {

class cNullAudioDevice : public audio::cAudioDevice {
 public:
  bool Open(std::string& strReason) override {
    strReason = "no audio device";
    return false;
  }
  void Close() override {}
};

}  // namespace plat::null
