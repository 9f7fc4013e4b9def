// Sound effects: the table, round robin, volumes and what reaches the mix.
#include "sound/sound_effects.h"

#include <cmath>
#include <thread>

#include "sound/wave_reader.h"
#include "sound_test_support.h"

namespace {

using soundtest::BuildWave;
using soundtest::WAVESPEC;

class SoundEffectsTest : public soundtest::cSoundTest {
 protected:
  void SetUp() override {
    cSoundTest::SetUp();
    ASSERT_EQ(DS_Init(nullptr, 22050, 8, 1), 1);
  }
  void TearDown() override {
    DSRelease();
    g_SoundList.clear();
    g_SoundInfoList.clear();
    cSoundTest::TearDown();
  }
  std::string MakeWave(const std::string& strName, const WAVESPEC& form) {
    const std::string strPath = Path(strName);
    soundtest::WriteBytes(strPath, BuildWave(form));
    return strPath;
  }
  // Shut-down closes the output; the next start opens the offline one again.
  void ReleaseAndReopen() {
    DSRelease();
    plat::audio::OpenOfflineOutput(soundtest::kRate);
    ASSERT_EQ(DS_Init(nullptr, 22050, 8, 1), 1);
  }
  // A constant 8-bit mono sound at the mixer's rate: every frame is 8/128.
  std::string MakeFlat(int nFrames) {
    WAVESPEC form;
    form.nRate = soundtest::kRate;
    form.vData.assign(static_cast<size_t>(nFrames), 136);
    return MakeWave("flat.wav", form);
  }
};

TEST(SoundGainTest, HundredthsOfADecibelBecomeGain) {
  const struct {
    int nVolume;
    float fGain;
  } rows[] = {{0, 1.0f},      {-600, 0.5011872f}, {-1000, 0.3162278f},
              {-2000, 0.1f},  {-6000, 0.001f},    {-9999, 1.0011520e-5f},
              {-10000, 0.0f}, {-12000, 0.0f},     {300, 1.0f}};
  for (const auto& r : rows)
    EXPECT_NEAR(plat::audio::GainFromVolume(r.nVolume), r.fGain, r.fGain * 1e-5f) << r.nVolume;
  EXPECT_EQ(plat::audio::GainFromVolume(-10000), 0.0f);  // exactly silent
}

TEST(SoundGainTest, OptionLevelsMapToVolumes) {
  const int expected[11] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(DSVolumeFromLevel(i), expected[i]);
  EXPECT_EQ(DSVolumeFromLevel(-1), -10000);
  EXPECT_EQ(DSVolumeFromLevel(11), 0);
}

TEST_F(SoundEffectsTest, OneShortSoundReachesTheMixSampleForSample) {
  WAVESPEC form;
  form.nBits = 16;
  form.nRate = soundtest::kRate;
  const int16_t samples[5] = {1000, -2000, 3000, -32768, 32767};
  form.vData.clear();
  for (int16_t s : samples) soundtest::PutLe(form.vData, static_cast<uint16_t>(s), 2);
  DSSOUNDDATA entry;
  ASSERT_EQ(DSCreateSound(entry, MakeWave("short.wav", form).c_str(), 1, -600), 1);
  DSPlay(entry, 0);
  const std::vector<float> out = Render(8);
  const float fGain = plat::audio::GainFromVolume(-600);
  for (int i = 0; i < 5; ++i) {
    EXPECT_FLOAT_EQ(out[2 * i], samples[i] / 32768.0f * fGain) << i;
    EXPECT_FLOAT_EQ(out[2 * i + 1], samples[i] / 32768.0f * fGain) << i;
  }
  for (int i = 10; i < 16; ++i) EXPECT_EQ(out[i], 0.0f);  // played once, then silent
  EXPECT_EQ(Render(8), std::vector<float>(16, 0.0f));
}

TEST_F(SoundEffectsTest, DuplicatesPlayRoundRobinAndCutOffTheOldest) {
  DSSOUNDDATA entry;
  ASSERT_EQ(DSCreateSound(entry, MakeFlat(100).c_str(), 3, 0), 1);
  EXPECT_EQ(entry.nBufferCount, 3);
  const float a = 8.0f / 128.0f;
  std::vector<int> vNext;
  for (int i = 0; i < 4; ++i) {
    DSPlay(entry, 0);
    vNext.push_back(entry.nNextBuffer);
    if (i < 3) Render(10);
  }
  EXPECT_EQ(vNext, (std::vector<int>{1, 2, 0, 1}));
  // Buffer 0 restarted; buffer 1 is 20 frames in, buffer 2 is 10 frames in.
  const std::vector<float> out = Render(110);
  EXPECT_FLOAT_EQ(out[0], 3 * a);
  EXPECT_FLOAT_EQ(out[2 * 79], 3 * a);
  EXPECT_FLOAT_EQ(out[2 * 80], 2 * a);
  EXPECT_FLOAT_EQ(out[2 * 89], 2 * a);
  EXPECT_FLOAT_EQ(out[2 * 90], a);
  EXPECT_FLOAT_EQ(out[2 * 99], a);
  EXPECT_EQ(out[2 * 100], 0.0f);
}

TEST_F(SoundEffectsTest, RightPitchAndLengthWhateverTheFileFormat) {
  // 0.1 s of a 441 Hz sine: 2205 frames at 22050 Hz, 4410 at 44100 Hz.
  struct ROW {
    int nRate, nBits, nChannels;
  };
  for (const ROW& r : {ROW{22050, 8, 1}, ROW{44100, 16, 2}, ROW{16000, 16, 1}, ROW{48000, 8, 2}}) {
    SCOPED_TRACE(r.nRate);
    WAVESPEC form;
    form.nRate = static_cast<uint32_t>(r.nRate);
    form.nBits = static_cast<uint16_t>(r.nBits);
    form.nChannels = static_cast<uint16_t>(r.nChannels);
    form.vData.clear();
    const int nFrames = r.nRate / 10;
    for (int i = 0; i < nFrames; ++i) {
      const double s = std::sin(2 * M_PI * 441.0 * i / r.nRate + 0.1);
      for (int c = 0; c < r.nChannels; ++c) {
        if (r.nBits == 8)
          form.vData.push_back(static_cast<uint8_t>(128 + std::lround(s * 100)));
        else
          soundtest::PutLe(form.vData,
                           static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 20000))), 2);
      }
    }
    DSSOUNDDATA entry;
    ASSERT_EQ(DSCreateSound(entry, MakeWave("sine.wav", form).c_str(), 1, 0), 1);
    DSPlay(entry, 0);
    const std::vector<float> out = Render(6000);
    int nLast = -1, nCrossings = 0;
    bool bNegative = false;
    for (int i = 0; i < 6000; ++i) {
      if (out[2 * i] == 0.0f) continue;
      if (nLast >= 0 && bNegative != (out[2 * i] < 0)) ++nCrossings;
      bNegative = out[2 * i] < 0;
      nLast = i;
      EXPECT_EQ(out[2 * i], out[2 * i + 1]);
    }
    EXPECT_NEAR(nLast + 1, 4800, 1);  // 0.1 s at 48 kHz
    EXPECT_NEAR(nCrossings, 88, 1);   // 44.1 periods
    ReleaseAndReopen();
  }
}

TEST_F(SoundEffectsTest, ARealRecordingPlaysWholeAtEitherRate) {
  // 16-bit mono at 48000 Hz from a Debian package: sample for sample at
  // 48 kHz, and the same length in time at 44.1 kHz (its last sound comes
  // at the same moment).
  const std::string strFile = soundtest::DataPath("wave/debian/Front_Left.wav");
  WAVEDATA wave;
  ASSERT_EQ(DSLoadWave(strFile.c_str(), &wave), 1);
  const int nFrames = static_cast<int>(wave.vData.size() / 2);
  int nLastSound = 0;
  for (int i = 0; i < nFrames; ++i)
    if (wave.vData[2 * i] | wave.vData[2 * i + 1]) nLastSound = i;
  for (int nRate : {48000, 44100}) {
    SCOPED_TRACE(nRate);
    DSRelease();
    plat::audio::OpenOfflineOutput(nRate);
    DS_Init(nullptr, 22050, 8, 1);
    DSSOUNDDATA entry;
    ASSERT_EQ(DSCreateSound(entry, strFile.c_str(), 1, 0), 1);
    DSPlay(entry, 0);
    const std::vector<float> out = Render(nFrames + 1000);
    // Sound is what a 16-bit sample can hold: the converter's filter leaves
    // a faint ring, far below that, after the last one.
    int nLast = 0;
    for (int i = 0; i < nFrames + 1000; ++i)
      if (std::fabs(out[2 * i]) >= 1.0f / 32768) nLast = i;
    EXPECT_NEAR(nLast, static_cast<int64_t>(nLastSound) * nRate / 48000, 2);
    if (nRate == 48000) {
      for (int i = 0; i < nFrames; i += 997) {
        const int16_t s = static_cast<int16_t>(wave.vData[2 * i] | (wave.vData[2 * i + 1] << 8));
        EXPECT_EQ(out[2 * i], s / 32768.0f) << i;
      }
    }
  }
}

TEST_F(SoundEffectsTest, VolumesAreClampedAndRelativeChangesAdd) {
  DSSOUNDDATA entry;
  ASSERT_EQ(DSCreateSound(entry, MakeFlat(10).c_str(), 2, 0), 1);
  const struct {
    int nStart, nVolume, bRelative, nExpected;
  } rows[] = {{0, -12000, 0, -10000},
              {-300, 500, 1, 0},
              {-300, -500, 1, -800},
              {-9000, -5000, 1, -10000},
              {-500, 5, 0, 0}};
  for (const auto& r : rows) {
    DSSetVolume(entry, 1, r.nStart, 0);
    EXPECT_EQ(DSSetVolume(entry, 1, r.nVolume, r.bRelative), r.nExpected);
    EXPECT_EQ(plat::audio::cMixer::Get().GetVoiceVolume(entry.vBuffers[1]), r.nExpected);
  }
  DSSetVolume(entry, 0, -10000, 0);
  DSPlay(entry, 0);
  EXPECT_EQ(Render(10), std::vector<float>(20, 0.0f));  // -10000 is silence
}

TEST_F(SoundEffectsTest, TableOfSystemSoundsAndFailedEntries) {
  g_SoundInfoList.resize(18);
  g_SoundList.resize(18);
  for (DSSOUNDINFO& info : g_SoundInfoList) info.nBufferCount = 1;
  g_SoundInfoList[1].strFileName = MakeFlat(10);
  g_SoundInfoList[1].nVolume = -800;
  g_SoundInfoList[17].strFileName = g_SoundInfoList[1].strFileName;
  g_SoundInfoList[17].nVolume = -800;
  g_SoundInfoList[5].strFileName = Path("missing.wav");
  ASSERT_EQ(DSCreateSoundList(g_SoundList, g_SoundInfoList, DSVolumeFromLevel(10)), 1);
  // Level 10 passes 0: every entry keeps its own volume.
  EXPECT_EQ(plat::audio::cMixer::Get().GetVoiceVolume(g_SoundList[1].vBuffers[0]), -800);
  // A system sound without a name (the default data) is reported and silent.
  EXPECT_NE(Report().find(" の読み込みに失敗しました！"), std::string::npos);
  EXPECT_NE(Report().find(Path("missing.wav") + " の読み込みに失敗しました！"), std::string::npos);
  DSPlay(g_SoundList[0], 0);
  DSPlay(g_SoundList[5], 0);
  EXPECT_EQ(Render(4), std::vector<float>(8, 0.0f));
  // A volume change over the whole table skips the failed entries.
  for (DSSOUNDDATA& entry : g_SoundList) DSSetVolume(entry, 0, DSVolumeFromLevel(3), 0);
  EXPECT_EQ(plat::audio::cMixer::Get().GetVoiceVolume(g_SoundList[17].vBuffers[0]), -1300);

  // A table shorter than the system sounds grows to hold them.
  ReleaseAndReopen();
  cSafeVector<DSSOUNDDATA> vShort(3);
  cSafeVector<DSSOUNDINFO> vInfo(3);
  DSCreateSoundList(vShort, vInfo, 0);
  EXPECT_EQ(vShort.size(), 17u);
  DSRelease();  // the table it remembers ends here
}

TEST_F(SoundEffectsTest, ALongSoundAtALowRateIsRefusedNotAllocated) {
  // 4 MiB at 100 frames a second would be 2 billion frames (15 GiB) at the
  // output rate: the entry fails as a sound the mixer cannot make does.
  WAVESPEC form;
  form.nRate = 100;
  form.vData.assign(size_t(4) << 20, 200);
  g_SoundInfoList.resize(18);
  g_SoundList.resize(18);
  for (DSSOUNDINFO& info : g_SoundInfoList) info.nBufferCount = 1;
  g_SoundInfoList[17].strFileName = MakeWave("long.wav", form);
  form.vData.resize(1000);
  g_SoundInfoList[16].strFileName = MakeWave("short.wav", form);
  DSCreateSoundList(g_SoundList, g_SoundInfoList, DSVolumeFromLevel(10));
  EXPECT_TRUE(g_SoundList[17].vBuffers.empty() ||
              g_SoundList[17].vBuffers[0] == plat::audio::kNoVoice);
  ASSERT_FALSE(g_SoundList[16].vBuffers.empty());
  EXPECT_NE(g_SoundList[16].vBuffers[0], plat::audio::kNoVoice);
  EXPECT_EQ(plat::audio::cMixer::Get().GetVoiceCount(), 1);
}

TEST_F(SoundEffectsTest, PlaysFromTwoThreadsWhileTheDeviceMixes) {
  // The window thread plays requested sounds and the game thread the cursor
  // sound, while the device's thread pulls the mix.
  DSSOUNDDATA entry;
  ASSERT_EQ(DSCreateSound(entry, MakeFlat(300).c_str(), 3, 0), 1);
  std::atomic<bool> bDone{false};
  std::thread mixing([&] {
    while (!bDone) Render(256);
  });
  auto play = [&] {
    for (int i = 0; i < 3000; ++i) DSPlay(entry, 0);
  };
  std::thread a(play), b(play);
  a.join();
  b.join();
  bDone = true;
  mixing.join();
  EXPECT_EQ(entry.nNextBuffer, 6000 % 3);
}

TEST_F(SoundEffectsTest, WithoutAnAudioDeviceTheGameRunsSilent) {
  DSRelease();
  EXPECT_EQ(DS_Init(nullptr, 22050, 8, 1), 1);
  EXPECT_EQ(plat::audio::GetOutputKind(), plat::audio::OUTPUTKIND::Silent);
  EXPECT_NE(Report().find("Sound : no audio output, running silent"), std::string::npos);
  DSSOUNDDATA entry;
  EXPECT_EQ(DSCreateSound(entry, MakeFlat(10).c_str(), 1, 0), 1);
  DSPlay(entry, 0);
}

}  // namespace
