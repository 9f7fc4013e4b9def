// The mix at full load: 32 sound-effect voices and a MIDI piece, ten seconds
// at 48 kHz rendered as the device pulls it, in blocks of 1024 frames.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"
#include "sound/midi_player.h"

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 1024;

void Put(std::vector<uint8_t>& v, std::initializer_list<int> bytes) {
  for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
}

// Ten seconds at 120 beats a minute: chords, bass, an eighth-note tune and
// drums on four channels, about twenty notes sounding at once.
std::vector<uint8_t> BuildPiece() {
  std::vector<uint8_t> t;
  Put(t, {0x00, 0xC0, 0, 0x00, 0xC1, 33, 0x00, 0xC2, 73});
  const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
  for (int beat = 0; beat < 20; ++beat) {
    const int* c = chords[(beat / 4) % 4];
    Put(t, {0x00, 0x90, c[0], 80, 0x00, 0x90, c[1], 80, 0x00, 0x90, c[2], 80});
    Put(t, {0x00, 0x91, c[0] - 24, 100, 0x00, 0x99, 36, 110, 0x00, 0x99, 42, 90});
    Put(t, {0x00, 0x92, 72 + beat % 5, 90});
    Put(t, {0x81, 0x70, 0x82, 72 + beat % 5, 0, 0x00, 0x92, 74 + beat % 3, 90, 0x00, 0x99, 42, 70});
    Put(t, {0x81, 0x70, 0x82, 74 + beat % 3, 0, 0x00, 0x80, c[0], 0, 0x00, 0x80, c[1], 0, 0x00,
            0x80, c[2], 0});
    Put(t, {0x00, 0x81, c[0] - 24, 0});
  }
  Put(t, {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> f = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                            0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
  const uint32_t n = static_cast<uint32_t>(t.size());
  Put(f, {static_cast<int>(n >> 24), static_cast<int>((n >> 16) & 0xFF),
          static_cast<int>((n >> 8) & 0xFF), static_cast<int>(n & 0xFF)});
  f.insert(f.end(), t.begin(), t.end());
  return f;
}

void BM_MixTenSeconds32VoicesAndMidi(benchmark::State& state) {
  plat::audio::OpenOfflineOutput(kRate);
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();

  // Voices over one second of 16-bit stereo at 44.1 kHz, so they were
  // resampled once at load, as game sounds are.
  std::vector<uint8_t> pcm;
  for (int i = 0; i < 44100; ++i) {
    const int16_t s = static_cast<int16_t>(8000 * std::sin(i * 0.05) + (i * 7919 % 2000) - 1000);
    for (int c = 0; c < 2; ++c) {
      pcm.push_back(static_cast<uint8_t>(s & 0xFF));
      pcm.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
  }
  plat::audio::PCMFORMAT fmt{2, 16, 44100};
  plat::audio::SampleRef sample = mixer.MakeSample(fmt, pcm.data(), pcm.size());
  std::vector<plat::audio::VoiceId> voices;
  for (int i = 0; i < 32; ++i) {
    voices.push_back(mixer.CreateVoice(sample));
    mixer.SetVoiceVolume(voices.back(), -600 - 50 * i);
    mixer.RestartVoice(voices.back(), true);
  }

  const std::string strPath = "/tmp/brimvale_bench_piece.mid";
  const std::vector<uint8_t> piece = BuildPiece();
  if (std::FILE* fp = std::fopen(strPath.c_str(), "wb")) {
    std::fwrite(piece.data(), 1, piece.size(), fp);
    std::fclose(fp);
  }
  auto midi = std::make_unique<cMidiStream>(strPath.c_str());
  if (!midi->HasImage()) {
    state.SkipWithError("MIDI piece refused (soundfont missing?)");
    return;
  }
  midi->Play(0, 0, 1);

  std::vector<float> out(kBlock * 2);
  for (auto _ : state) {
    for (int n = 0; n < kRate * 10; n += kBlock) mixer.Render(out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
  }
  midi.reset();
  for (plat::audio::VoiceId v : voices) mixer.DeleteVoice(v);
  std::remove(strPath.c_str());
  plat::audio::CloseOutput();
}
BENCHMARK(BM_MixTenSeconds32VoicesAndMidi)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
