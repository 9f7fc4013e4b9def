// The desktop's synthesiser: FluidSynth used as a library with one
// soundfont. Its own audio driver and file player are never used: the
// sequencer is ours and the mixer owns the only device.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio/midi_synth.h"

namespace plat::desktop {

// Where the soundfont is looked for: BRIMVALE_SOUNDFONT in the environment,
// else the first of Debian's soundfonts that is there (TimGM6mb, then the
// system's default General MIDI soundfont).
std::string GetSoundFontPath();
// The choice itself: the environment's file when it names one, else the
// first candidate that exists, else the first candidate.
std::string ChooseSoundFont(const char* szEnvironment, const std::vector<std::string>& candidates);
// For tests and settings: a different soundfont file; the process's
// synthesiser is made again on its next use.
void SetSoundFontPath(const std::string& strPath);

class cFluidSynthMaker : public audio::cSynthMaker {
 public:
  // Null when the soundfont is missing or will not load.
  std::unique_ptr<audio::cSynth> Make(int nRate, std::string& strError) override;
};

}  // namespace plat::desktop
