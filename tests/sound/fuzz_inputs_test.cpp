// The wave and MIDI fuzz entries over their fixed corpora.
#include <gtest/gtest.h>

#include "support/fuzz_corpus.h"
#include "tools/fuzz/midi_fuzz_input.h"
#include "tools/fuzz/wave_fuzz_input.h"

namespace {

TEST(FuzzInputs, Waves) {
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* sz : {"valid/mono_pcm_8_44100.wav", "valid/no_samples.wav",
                         "valid/mono_pcm_16_44100_junk_chunk_with_padding_byte.wav"})
    seeds.push_back(ReadTestData(std::string("wave/") + sz));
  const FUZZRUN run = RunFuzzCorpus("wave_reader", seeds, fuzz::FuzzWave);
  EXPECT_EQ(run.nSeedsAccepted, 2);  // a file without samples is refused
  EXPECT_GT(run.nAccepted, run.nSeedsAccepted);
}

TEST(FuzzInputs, MidiFiles) {
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* sz : {"test-c-major-scale.mid", "test-2-tracks-type-1.mid",
                         "test-running-status-sysex.mid", "test-smpte-offset.mid"})
    seeds.push_back(ReadTestData(std::string("midi/") + sz));
  const FUZZRUN run = RunFuzzCorpus("midi_file", seeds, fuzz::FuzzMidi);
  EXPECT_EQ(run.nSeedsAccepted, static_cast<int>(seeds.size()));
  EXPECT_GT(run.nAccepted, run.nSeedsAccepted);
}

}  // namespace
