// The SDL sound device behind the sound output: it opens on a driver that
// works, and without one the output runs silent with SDL's reason.
#include "platform/desktop/sdl_audio_device.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/audio/audio_output.h"

namespace plat::desktop {

TEST(SdlAudioDevice, OpensOnAWorkingDriverAndRunsSilentWithoutOne) {
  audio::CloseOutput();
  if (audio::OpenOutput(false) != audio::OUTPUTKIND::Device) {
    const std::string strReason = audio::GetSilentReason();
    audio::CloseOutput();
    GTEST_SKIP() << "SDL's dummy sound driver does not start here: " << strReason;
  }
  EXPECT_EQ(audio::GetSilentReason(), "");
  // Opening again keeps the open device.
  EXPECT_EQ(audio::OpenOutput(false), audio::OUTPUTKIND::Device);
  audio::CloseOutput();
  EXPECT_EQ(audio::GetOutputKind(), audio::OUTPUTKIND::None);

  setenv("SDL_AUDIODRIVER", "brimvale-no-such-driver", 1);
  EXPECT_EQ(audio::OpenOutput(false), audio::OUTPUTKIND::Silent);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_NE(audio::GetSilentReason(), "");
  audio::CloseOutput();

  // A requested silence never asks for a device.
  EXPECT_EQ(audio::OpenOutput(true), audio::OUTPUTKIND::Silent);
  EXPECT_EQ(audio::GetSilentReason(), "silent output requested");
  audio::CloseOutput();
}

}  // namespace plat::desktop
