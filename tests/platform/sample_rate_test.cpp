// Sounds recorded at another rate than the device's: they keep their length
// in time and their loudness, and come out clean, without the mirrored
// tones that drawing straight lines between samples would add.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/rate_converter.h"

namespace plat::audio {
namespace {

constexpr double kPi = 3.14159265358979323846;

// nFrames of a 16-bit mono tone at nRate.
std::vector<uint8_t> Tone(int nRate, double dHz, double dLevel, int nFrames) {
  std::vector<uint8_t> v;
  for (int i = 0; i < nFrames; ++i) {
    const auto s = static_cast<int16_t>(std::lround(std::sin(2 * kPi * dHz * i / nRate) * dLevel));
    v.push_back(static_cast<uint8_t>(s));
    v.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  return v;
}

class SampleRateTest : public ::testing::Test {
 protected:
  SampleRateTest() : m_nOldRate(cMixer::Get().GetRate()) { cMixer::Get().SetRate(48000); }
  ~SampleRateTest() override { cMixer::Get().SetRate(m_nOldRate); }
  int m_nOldRate;
};

}  // namespace

TEST_F(SampleRateTest, TonesAtLowerRatesComeOutCleanWholeAndAsLoud) {
  struct ROW {
    int nRate;
    double dHz;
  };
  for (const ROW& r :
       {ROW{22050, 3000.0}, ROW{22050, 7000.0}, ROW{11025, 2500.0}, ROW{44100, 9000.0}}) {
    SCOPED_TRACE(r.nRate);
    const int nIn = r.nRate / 2 + 1;  // half a second and a frame: lengths that do not divide
    const std::vector<uint8_t> pcm = Tone(r.nRate, r.dHz, 16000, nIn);
    SampleRef sample = cMixer::Get().MakeSample(PCMFORMAT{1, 16, r.nRate}, pcm.data(), pcm.size());
    ASSERT_TRUE(sample);
    // n frames at the file's rate are n × out / in at the device's, rounded.
    const int64_t nOut = (int64_t(nIn) * 48000 + r.nRate / 2) / r.nRate;
    ASSERT_EQ(sample->GetFrameCount(), nOut);
    // Away from the ends, what comes out is the same tone at the new rate:
    // whatever else is there is noise and mirrored tones.
    double dSignal = 0, dError = 0, dPeak = 0;
    for (int64_t i = 200; i < nOut - 200; ++i) {
      const double dWant = std::sin(2 * kPi * r.dHz * i / 48000) * 16000 / 32768;
      const double dGot = sample->GetFrames()[2 * i];
      EXPECT_EQ(sample->GetFrames()[2 * i + 1], sample->GetFrames()[2 * i]);
      dSignal += dWant * dWant;
      dError += (dGot - dWant) * (dGot - dWant);
      dPeak = std::max(dPeak, std::fabs(dGot));
    }
    const double dSnr = 10 * std::log10(dSignal / dError);
    EXPECT_GT(dSnr, 60.0);
    EXPECT_NEAR(dPeak, 16000.0 / 32768, 0.01);
  }
}

TEST(RateStream, MusicPulledInSmallPiecesComesOutCleanAndWhole) {
  // A tone at 44100 Hz handed over in odd pieces, pulled at 48000 Hz in
  // others: the pieces join without a seam, and the stream ends where the
  // tone ends.
  constexpr int kIn = 44100 / 4;
  int64_t nGiven = 0;
  cRateStream stream([&](float* pOut, int64_t nMax) {
    const int64_t n = std::min<int64_t>({nMax, 97, kIn - nGiven});
    for (int64_t i = 0; i < n; ++i)
      pOut[2 * i] = pOut[2 * i + 1] =
          static_cast<float>(0.5 * std::sin(2 * kPi * 1000.0 * (nGiven + i) / 44100));
    nGiven += n;
    return n;
  });
  std::vector<float> out;
  for (;;) {
    std::vector<float> piece(2 * 300, 0.0f);
    const int64_t n = stream.MixInto(piece.data(), 300, 44100, 48000);
    out.insert(out.end(), piece.begin(), piece.begin() + 2 * n);
    if (n < 300) break;
  }
  EXPECT_NEAR(static_cast<double>(out.size() / 2), kIn * 48000.0 / 44100, 2);
  double dSignal = 0, dError = 0;
  for (size_t i = 200; i + 200 < out.size() / 2; ++i) {
    const double dWant = 0.5 * std::sin(2 * kPi * 1000.0 * i / 48000);
    dSignal += dWant * dWant;
    dError += (out[2 * i] - dWant) * (out[2 * i] - dWant);
  }
  EXPECT_GT(10 * std::log10(dSignal / dError), 60.0);

  // Started again, it plays again from the start.
  nGiven = 0;
  stream.Reset();
  std::vector<float> again(2 * 300, 0.0f);
  EXPECT_EQ(stream.MixInto(again.data(), 300, 44100, 48000), 300);
  EXPECT_NEAR(again[2 * 250], 0.5 * std::sin(2 * kPi * 1000.0 * 250 / 48000), 1e-3);
}

}  // namespace plat::audio
