// What a back end's sound device does: pull the mix (cMixer::Render) in
// float stereo at the device's own rate. The null back end has no device.
#pragma once

#include <string>

namespace plat::audio {

class cAudioDevice {
 public:
  virtual ~cAudioDevice() = default;
  // Opens the device, sets the mixer to its rate and starts pulling; false,
  // with the reason, when there is no device to open.
  virtual bool Open(std::string& strReason) = 0;
  virtual void Close() = 0;
};

}  // namespace plat::audio
