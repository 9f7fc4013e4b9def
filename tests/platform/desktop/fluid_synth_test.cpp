// FluidSynth as the process's synthesiser: it sounds, it falls silent when
// told, and a missing soundfont refuses it with the reason.
#include "platform/desktop/fluid_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/audio/midi_synth.h"
#include "support/test_paths.h"

namespace plat::desktop {
namespace {

float Peak(audio::cSynth& synth, int nFrames) {
  std::vector<float> v(static_cast<size_t>(nFrames) * 2);
  synth.MixInto(v.data(), nFrames);
  float f = 0;
  for (float x : v) f = std::max(f, std::abs(x));
  return f;
}

class FluidSynthTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_regular_file(GetSoundFontPath()))
      GTEST_SKIP() << "no soundfont at " << GetSoundFontPath();
  }
};

TEST_F(FluidSynthTest, ANoteSoundsAndFallsSilentWhenToldTo) {
  cFluidSynthMaker maker;
  std::string strError;
  std::unique_ptr<audio::cSynth> synth = maker.Make(48000, strError);
  ASSERT_TRUE(synth) << strError;
  EXPECT_EQ(synth->GetRate(), 48000);
  EXPECT_LT(Peak(*synth, 4800), 1e-4f);
  EXPECT_FALSE(synth->IsSounding());

  synth->ShortMessage(0x90, 0x45, 0x64);
  EXPECT_GT(Peak(*synth, 4800), 0.01f);
  EXPECT_TRUE(synth->IsSounding());

  synth->AllSoundsOff();
  Peak(*synth, 48000);  // what is left of the reverb rings out
  EXPECT_LT(Peak(*synth, 480), 1e-4f);

  // A reset leaves nothing ringing for the next piece.
  synth->ShortMessage(0x90, 0x45, 0x64);
  Peak(*synth, 4800);
  synth->SystemReset();
  EXPECT_LT(Peak(*synth, 480), 1e-4f);
}

TEST_F(FluidSynthTest, AMissingSoundFontRefusesTheProcesssSynthesiser) {
  std::string strError;
  ASSERT_TRUE(audio::cSynth::Get(&strError)) << strError;

  const std::string strAbsent = "/nonexistent/brimvale/absent.sf2";
  SetSoundFontPath(strAbsent);
  EXPECT_FALSE(audio::cSynth::Get(&strError));
  EXPECT_EQ(strError, "soundfont not found: " + strAbsent);

  SetSoundFontPath("");
  EXPECT_TRUE(audio::cSynth::Get(&strError));
}

TEST(SoundFontChoice, TheEnvironmentThenTheFirstSoundFontThatIsThere) {
  const std::string strThere = TestDataDir() + "/midi/LICENSE.md";  // any file that exists
  const std::string strAbsent = "/nonexistent/brimvale/TimGM6mb.sf2";
  struct ROW {
    const char* szEnvironment;
    std::vector<std::string> candidates;
    std::string strChosen;
  };
  const ROW rows[] = {
      {nullptr, {strAbsent, strThere}, strThere},  // the first missing: the system's default
      {nullptr, {strThere, strAbsent}, strThere},
      {nullptr, {strAbsent, strAbsent + "2"}, strAbsent},  // none: the first is named
      {"", {strAbsent, strThere}, strThere},               // set but empty counts as unset
      {"/my/own.sf2", {strThere}, "/my/own.sf2"},
  };
  for (const ROW& r : rows)
    EXPECT_EQ(ChooseSoundFont(r.szEnvironment, r.candidates), r.strChosen)
        << (r.szEnvironment ? r.szEnvironment : "(unset)") << " " << r.candidates.front();
}

}  // namespace
}  // namespace plat::desktop
