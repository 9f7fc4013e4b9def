// The music manager and its Ogg player: track kinds, which player plays,
// the force flag, and Ogg loops without a gap.
#include "sound/bgm.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "sound_test_support.h"

namespace {

const std::string kBell = soundtest::DataPath("ogg/bell.ogg");

float Peak(const std::vector<float>& v) {
  float f = 0;
  for (float x : v) f = std::max(f, std::abs(x));
  return f;
}

class BgmTest : public soundtest::cSoundTest {
 protected:
  void SetUp() override {
    cSoundTest::SetUp();
    for (int i = 0; i < kBgmTrackCount; ++i) {
      m_Ogg[i] = "o" + std::to_string(i);
      m_Mid[i] = "m" + std::to_string(i);
    }
    ASSERT_EQ(m_Bgm.Init(1, m_Ogg, m_Mid, kBgmTrackCount), 1);
  }
  void TearDown() override {
    m_Bgm.Release();
    cSoundTest::TearDown();
  }
  std::string Copy(const std::string& strFrom, const std::string& strName) {
    soundtest::WriteBytes(Path(strName), soundtest::ReadBytes(strFrom));
    return Path(strName);
  }
  std::string m_Ogg[kBgmTrackCount];
  std::string m_Mid[kBgmTrackCount];
  cBgm m_Bgm;
};

TEST_F(BgmTest, TrackKindsByExtension) {
  const struct {
    const char* szPath;
    int nResult, nKind;
    const char* szOgg;
    const char* szMid;
  } rows[] = {
      {"bgm\\a.mid", 1, BGM_KIND_MIDI, "o2", "bgm\\a.mid"},
      {"bgm\\a.MID", 1, BGM_KIND_MIDI, "o2", "bgm\\a.mid"},
      {"bgm\\a.Mid", 0, BGM_KIND_UNDECIDED, "bgm\\a.Mid", "bgm\\a.Mid"},
      {"bgm\\a.ogg", 1, BGM_KIND_OGG, "bgm\\a.ogg", "m2"},
      {"bgm\\a.OGG", 1, BGM_KIND_OGG, "bgm\\a.OGG", "m2"},
      {"bgm\\a.Ogg", 0, BGM_KIND_UNDECIDED, "bgm\\a.Ogg", "bgm\\a.Ogg"},
      {"bgm\\a.wav", 0, BGM_KIND_UNDECIDED, "bgm\\a.wav", "bgm\\a.wav"},
      {"bgm\\noext", 0, BGM_KIND_UNDECIDED, "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.szPath);
    m_Ogg[2] = "o2";
    m_Mid[2] = "m2";
    EXPECT_EQ(m_Bgm.SetTrack(2, r.szPath), r.nResult);
    EXPECT_EQ(m_Bgm.m_vTrackKind[2], r.nKind);
    EXPECT_EQ(m_Ogg[2], r.szOgg);
    EXPECT_EQ(m_Mid[2], r.szMid);
  }
}

TEST_F(BgmTest, OneTrackSoundsAtATimeAndForceRestarts) {
  const std::string strOgg = Copy(kBell, "bell.ogg");
  const std::string strMid = Copy(soundtest::DataPath("midi/test-c-major-scale.mid"), "scale.mid");
  m_Bgm.SetTrack(0, strOgg.c_str());
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
  EXPECT_EQ(m_Bgm.m_vPlayerState[0], BGM_OGG_PLAYING);
  EXPECT_GT(Peak(Render(4800)), 0.01f);

  // MIDI on the stage track stops the Ogg piece ("MID" plays as "mid").
  m_Bgm.SetTrack(4, (strMid.substr(0, strMid.size() - 3) + "MID").c_str());
  EXPECT_EQ(m_Bgm.Play(0, 4, 1, 0, 1), 1);
  EXPECT_EQ(m_Bgm.m_vPlayerState[0], BGM_MIDI_PLAYING);
  EXPECT_EQ(m_Bgm.m_nCurTrack, 4);
  EXPECT_EQ(m_Bgm.m_Vox.GetCurrentPlayer(), -1);
  ASSERT_NE(m_Bgm.m_vMidi[0], nullptr);
  Render(4800);
  const cMidiStream* pFirst = m_Bgm.m_vMidi[0];
  EXPECT_EQ(m_Bgm.m_vMidi[0]->GetFrame(), 4800);

  // The current track again: ignored without force, started afresh with it.
  EXPECT_EQ(m_Bgm.Play(0, 4, 1, 0, 0), 1);
  EXPECT_EQ(m_Bgm.m_vMidi[0], pFirst);
  EXPECT_EQ(m_Bgm.Play(0, 4, 1, 0, 1), 1);
  EXPECT_EQ(m_Bgm.m_vMidi[0]->GetFrame(), 0);

  // Ogg again stops the MIDI piece.
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
  EXPECT_EQ(m_Bgm.m_vMidi[0]->GetState(), cMidiStream::STATE_STOPPED);
  m_Bgm.Stop();
  EXPECT_EQ(m_Bgm.m_Vox.GetCurrentPlayer(), -1);
  Render(48000);
  EXPECT_LT(Peak(Render(480)), 1e-4f);
}

TEST_F(BgmTest, UndecidedTracksTryOggThenMidiThenGiveUp) {
  // A mixed-case Ogg name is undecided; the Ogg player still takes it.
  const std::string strOgg = Copy(kBell, "bell.Ogg");
  m_Bgm.SetTrack(1, strOgg.c_str());
  EXPECT_EQ(m_Bgm.Play(0, 1, 0, 0, 1), 1);
  EXPECT_EQ(m_Bgm.m_vPlayerState[0], BGM_OGG_PLAYING);

  // Neither player takes a wave file: the track is forgotten, all is quiet.
  const std::string strWave =
      Copy(soundtest::DataPath("wave/valid/mono_pcm_16_44100.wav"), "x.Ogg");
  m_Bgm.SetTrack(1, strWave.c_str());
  EXPECT_EQ(m_Bgm.Play(0, 1, 0, 0, 1), 0);
  EXPECT_EQ(m_Bgm.m_nCurTrack, -1);
  EXPECT_EQ(m_Bgm.m_vPlayerState[0], BGM_SILENT);
  EXPECT_EQ(m_Bgm.m_Vox.GetCurrentPlayer(), -1);

  // A refused MIDI file fails the request too.
  m_Bgm.SetTrack(3, Copy(soundtest::DataPath("midi/test-2-tracks-type-2.mid"), "t2.mid").c_str());
  EXPECT_EQ(m_Bgm.Play(0, 3, 0, 0, 1), 0);
  EXPECT_NE(Report().find("Init 対応フォーマットが2でない"), std::string::npos);
}

TEST_F(BgmTest, WithTheMusicOptionOffNothingPlays) {
  m_Bgm.Release();
  EXPECT_EQ(m_Bgm.SetTrack(0, kBell.c_str()), 0);
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
  m_Bgm.Stop();
  EXPECT_EQ(Peak(Render(4800)), 0.0f);
  // Switched on again, the first request plays.
  ASSERT_EQ(m_Bgm.Init(1, m_Ogg, m_Mid, kBgmTrackCount), 1);
  m_Bgm.SetTrack(0, Copy(kBell, "bell.ogg").c_str());
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_GT(Peak(Render(4800)), 0.01f);
}

TEST_F(BgmTest, SwitchingMusicOffAndOnWhileRequestsArrive) {
  // The options scene releases and re-creates the manager on the game
  // thread while the window thread serves music requests and the device
  // pulls the mix.
  const std::string strOgg = Copy(kBell, "bell.ogg");
  const std::string strMid = Copy(soundtest::DataPath("midi/test-c-major-scale.mid"), "scale.mid");
  std::atomic<bool> bDone{false};
  std::thread mixing([&] {
    while (!bDone) Render(256);
  });
  std::thread requests([&] {
    for (int i = 0; i < 60; ++i) {
      m_Bgm.SetTrack(i % 5, (i % 2 ? strOgg : strMid).c_str());
      m_Bgm.Play(0, i % 5, 1, 0, 1);
      if (i % 7 == 0) m_Bgm.Stop();
    }
  });
  for (int i = 0; i < 20; ++i) {
    m_Bgm.Release();
    m_Bgm.Init(1, m_Ogg, m_Mid, kBgmTrackCount);
  }
  requests.join();
  bDone = true;
  mixing.join();
  EXPECT_TRUE(m_Bgm.IsInitialised());
}

// The whole file decoded on its own, as the reference for the seam.
std::vector<float> DecodeAll(const std::string& strPath, int* pRate) {
  OggVorbis_File vf;
  std::vector<float> v;
  if (ov_fopen(strPath.c_str(), &vf) != 0) return v;
  *pRate = static_cast<int>(ov_info(&vf, -1)->rate);
  for (;;) {
    float** pcm;
    int nLink;
    const long n = ov_read_float(&vf, &pcm, 4096, &nLink);
    if (n <= 0) break;
    const int nCh = ov_info(&vf, nLink)->channels;
    for (long i = 0; i < n; ++i) {
      v.push_back(std::clamp(pcm[0][i], -1.0f, 1.0f));
      v.push_back(std::clamp(pcm[nCh > 1 ? 1 : 0][i], -1.0f, 1.0f));
    }
  }
  ov_clear(&vf);
  return v;
}

TEST_F(BgmTest, OggLoopsWithoutAGap) {
  int nRate = 0;
  const std::vector<float> ref = DecodeAll(kBell, &nRate);
  ASSERT_EQ(nRate, 44100);
  const int nLen = static_cast<int>(ref.size() / 2);
  ASSERT_GT(nLen, 1000);
  plat::audio::OpenOfflineOutput(nRate);  // no resampling: sample for sample

  plat::audio::cOggStream ogg;
  ASSERT_TRUE(ogg.Load(soundtest::ReadBytes(kBell)));
  ogg.SetLoopCount(plat::audio::kLoopEndless);
  ogg.Play();
  const std::vector<float> out = Render(2 * nLen + 100);
  for (int i : {0, 1, nLen / 2, nLen - 1}) EXPECT_EQ(out[2 * i + 1], ref[2 * i + 1]) << i;
  // The last frame runs straight into the first, twice over.
  for (int pass = 1; pass <= 2; ++pass) {
    for (int i = 0; i < 50; ++i) {
      EXPECT_EQ(out[2 * (pass * nLen + i)], ref[2 * i]) << pass << " " << i;
      EXPECT_EQ(out[2 * (pass * nLen - 1 - i)], ref[2 * (nLen - 1 - i)]) << pass << " " << i;
    }
  }
  EXPECT_TRUE(ogg.IsPlaying());

  // Once: the piece, then silence.
  ogg.SetLoopCount(0);
  ogg.Play();
  const std::vector<float> once = Render(nLen + 100);
  EXPECT_EQ(once[2 * (nLen - 1)], ref[2 * (nLen - 1)]);
  EXPECT_EQ(Peak(std::vector<float>(once.begin() + 2 * nLen, once.end())), 0.0f);
  EXPECT_FALSE(ogg.IsPlaying());

  // At another rate the piece keeps its length in time.
  plat::audio::OpenOfflineOutput(48000);
  ogg.Play();
  const std::vector<float> resampled = Render(nLen * 2);
  int nLast = 0;
  for (int i = 0; i < nLen * 2; ++i)
    if (resampled[2 * i] != 0.0f) nLast = i;
  EXPECT_NEAR(nLast, static_cast<int64_t>(nLen) * 48000 / 44100, 48);
}

TEST_F(BgmTest, DamagedOggIsRefused) {
  plat::audio::cOggStream ogg;
  std::vector<uint8_t> bytes = soundtest::ReadBytes(kBell);
  EXPECT_FALSE(ogg.Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40)));
  EXPECT_FALSE(ogg.Load(soundtest::ReadBytes(soundtest::DataPath("midi/test-c-major-scale.mid"))));
  // Cut inside its last page: what is there plays, over and over; the
  // broken end neither hangs the loop nor reads past the bytes.
  bytes.resize(bytes.size() - 200);
  ASSERT_TRUE(ogg.Load(bytes));
  ogg.SetLoopCount(plat::audio::kLoopEndless);
  ogg.Play();
  EXPECT_GT(Peak(Render(4800)), 0.01f);
  Render(48000 * 3);
  EXPECT_TRUE(ogg.IsPlaying());
  // Cut before its first whole page of sound: it loads, plays nothing and ends.
  bytes.resize(bytes.size() / 2);
  ASSERT_TRUE(ogg.Load(bytes));
  ogg.Play();
  Render(4800);
  EXPECT_FALSE(ogg.IsPlaying());
}

}  // namespace
