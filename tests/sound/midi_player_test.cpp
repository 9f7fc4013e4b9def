// The MIDI player: event times in output frames, looping, stop, pause, and
// what it tells the synthesiser (the null back end's, which keeps every
// call).
#include "sound/midi_player.h"

#include <cstdio>
#include <string>

#include "platform/audio/midi_synth.h"
#include "platform/backend/backend.h"
#include "platform/null/null_synth.h"
#include "sound_test_support.h"

namespace {

using soundtest::BuildMidi;
using BYTES = std::vector<uint8_t>;
using CALLS = std::vector<std::string>;

class MidiPlayerTest : public soundtest::cSoundTest {
 protected:
  void SetUp() override {
    cSoundTest::SetUp();
    plat::null::RecordSynthCalls(true);
    plat::audio::cSynth::Release();  // a fresh synthesiser with nothing recorded
  }
  void TearDown() override {
    plat::null::RecordSynthCalls(false);
    cSoundTest::TearDown();
  }
  std::unique_ptr<cMidiStream> Load(const BYTES& file) {
    const std::string strPath = Path("song.mid");
    soundtest::WriteBytes(strPath, file);
    return std::make_unique<cMidiStream>(strPath.c_str());
  }
  static std::vector<int64_t> NoteFrames(const cMidiStream& s) {
    std::vector<int64_t> v;
    for (const cMidiStream::SEQEVENT& e : s.GetEvents())
      if ((e.byStatus & 0xF0) == 0x90) v.push_back(e.nFrame);
    return v;
  }
  // What the synthesiser was told since the last look, a line a call.
  static CALLS TakeCalls() {
    using plat::null::SYNTHCALL;
    const std::shared_ptr<plat::null::cNullSynth> synth =
        std::dynamic_pointer_cast<plat::null::cNullSynth>(plat::audio::cSynth::Get(nullptr));
    if (!synth) return {"no null synthesiser"};
    CALLS out;
    for (const SYNTHCALL& c : synth->GetCalls()) {
      char sz[32];
      switch (c.kind) {
        case SYNTHCALL::KIND::Short:
          std::snprintf(sz, sizeof sz, "%02X %02X %02X", c.byStatus, c.byData1, c.byData2);
          out.push_back(sz);
          break;
        case SYNTHCALL::KIND::SysEx:
          out.push_back("sysex " + std::to_string(c.vSysEx.size()));
          break;
        case SYNTHCALL::KIND::AllNotesOff:
          out.push_back("notes off");
          break;
        case SYNTHCALL::KIND::AllSoundsOff:
          out.push_back("sounds off");
          break;
        case SYNTHCALL::KIND::SystemReset:
          out.push_back("reset");
          break;
      }
    }
    synth->ClearCalls();
    return out;
  }
};

// Half a second of one note at 120 beats a minute, 480 ticks a beat.
BYTES HalfSecondNote() {
  return BuildMidi(0, 480, {{0x00, 0x90, 0x45, 0x64, 0x83, 0x60, 0x80, 0x45, 0x00}});
}

TEST_F(MidiPlayerTest, EventTimesFollowTempoChanges) {
  const auto s =
      Load(BuildMidi(0, 480, {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000 us a beat
                               0x83, 0x60, 0x90, 0x3C, 0x40,              // beat 1: 0.5 s
                               0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  // 250000
                               0x00, 0xFF, 0x01, 0x01, 't',   // a text event a beat before
                               0x83, 0x60, 0x90, 0x3E, 0x40,  // beat 2: 0.75 s
                               0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // 1000000
                               0x83, 0x60, 0x90, 0x40, 0x40}}));          // beat 3: 1.75 s
  ASSERT_TRUE(s->HasImage());
  EXPECT_EQ(NoteFrames(*s), (std::vector<int64_t>{24000, 36000, 84000}));
  EXPECT_EQ(s->GetEvents().back().nFrame, 84000);
  EXPECT_TRUE(s->GetEvents().back().bEnd);

  // Frame-based time: 25 frames of 40 ticks a second, so 1500 ticks are 1.5 s.
  const auto f = Load(BuildMidi(0, 0xE728, {{0x8B, 0x5C, 0x90, 0x3C, 0x40}}));
  EXPECT_EQ(NoteFrames(*f), (std::vector<int64_t>{72000}));
}

TEST_F(MidiPlayerTest, LongPiecesDoNotDrift) {
  // Ten minutes of beats at 333333 us: rounding each beat would lose up to a
  // frame a beat; the times stay exact to the frame.
  BYTES track = {0x00, 0xFF, 0x51, 0x03, 0x05, 0x16, 0x15};
  const int nBeats = 1800;
  for (int i = 0; i < nBeats; ++i) track.insert(track.end(), {0x60, 0x90, 0x3C, 0x01});
  const auto s = Load(BuildMidi(0, 96, {track}));
  const std::vector<int64_t> frames = NoteFrames(*s);
  ASSERT_EQ(frames.size(), static_cast<size_t>(nBeats));
  for (int k : {1, 3, 7, 1000, nBeats})
    EXPECT_EQ(frames[k - 1], static_cast<int64_t>(k) * 333333 * 48 / 1000) << k;
}

TEST_F(MidiPlayerTest, LoopStopAndPause) {
  const auto s = Load(HalfSecondNote());
  ASSERT_TRUE(s->HasImage());
  EXPECT_EQ(TakeCalls(), CALLS{"reset"});  // every piece starts from the start state
  EXPECT_EQ(s->GetState(), cMidiStream::STATE_STOPPED);
  Render(4800);
  EXPECT_EQ(TakeCalls(), CALLS{});  // nothing until Play

  s->Play(0, 0, 1);
  Render(4800);
  EXPECT_EQ(TakeCalls(), CALLS{"90 45 64"});
  Render(30000 - 4800);
  // The end lets the notes go and the piece starts again in the same frame.
  EXPECT_EQ(TakeCalls(), (CALLS{"80 45 00", "notes off", "90 45 64"}));
  EXPECT_EQ(s->GetState(), cMidiStream::STATE_PLAYING);
  EXPECT_EQ(s->GetFrame(), 6000);

  s->Stop(1);  // pause keeps the place
  EXPECT_EQ(s->GetState(), cMidiStream::STATE_PAUSED);
  EXPECT_EQ(TakeCalls(), CALLS{"sounds off"});  // no hanging note
  Render(48000);
  EXPECT_EQ(TakeCalls(), CALLS{});
  s->Play(0, 0, 1);
  Render(100);
  EXPECT_EQ(s->GetFrame(), 6100);

  s->Stop(0);  // stop rewinds
  EXPECT_EQ(s->GetFrame(), 0);
  EXPECT_EQ(TakeCalls(), CALLS{"notes off"});
  s->Play(0, 0, 0);
  Render(100);
  EXPECT_EQ(s->GetFrame(), 100);
  EXPECT_EQ(TakeCalls(), CALLS{"90 45 64"});

  Render(30000);  // without the loop flag the end stops and rewinds
  EXPECT_EQ(s->GetState(), cMidiStream::STATE_STOPPED);
  EXPECT_EQ(s->GetFrame(), 0);
  EXPECT_EQ(TakeCalls(), (CALLS{"80 45 00", "notes off"}));
}

TEST_F(MidiPlayerTest, HostilePiecesPlayOn) {
  // A 50000-byte sysex before a note, and a piece of no length with the loop
  // flag: neither stalls nor spins.
  BYTES track = {0x00, 0xF0, 0x83, 0x86, 0x50};
  track.resize(track.size() + 49999, 0x11);
  track.insert(track.end(), {0xF7, 0x00, 0x90, 0x45, 0x64, 0x83, 0x60, 0x80, 0x45, 0x00});
  const auto s = Load(BuildMidi(0, 480, {track}));
  s->Play(0, 0, 0);
  Render(4800);
  EXPECT_EQ(TakeCalls(), (CALLS{"reset", "sysex 49999", "90 45 64"}));  // sent without its F7
  s.get()->Stop(0);

  const auto empty = Load(soundtest::ReadBytes(soundtest::DataPath("midi/test-empty.mid")));
  ASSERT_TRUE(empty->HasImage());
  empty->Play(0, 0, 1);
  Render(1000);
  EXPECT_EQ(empty->GetState(), cMidiStream::STATE_STOPPED);
}

TEST_F(MidiPlayerTest, APublicPiecePlaysToItsEnd) {
  cMidiStream s(soundtest::DataPath("midi/test-c-major-scale.mid").c_str());
  ASSERT_TRUE(s.HasImage());
  // Every event of the piece reaches the synthesiser, in order, then the end
  // lets the notes go.
  CALLS want = {"reset"};
  int nNotes = 0;
  for (const cMidiStream::SEQEVENT& e : s.GetEvents()) {
    if (e.bEnd) continue;
    nNotes += (e.byStatus & 0xF0) == 0x90 ? 1 : 0;
    char sz[8];
    std::snprintf(sz, sizeof sz, "%02X", e.byStatus);
    want.push_back(sz);
  }
  want.push_back("notes off");
  EXPECT_GE(nNotes, 8);  // a scale
  const int64_t nEnd = s.GetEvents().back().nFrame;
  s.Play(0, 0, 0);
  for (int64_t n = 0; n <= nEnd; n += 48000) Render(48000);
  EXPECT_EQ(s.GetState(), cMidiStream::STATE_STOPPED);
  CALLS got = TakeCalls();
  for (std::string& c : got)
    if (c.size() == 8) c.resize(2);  // the status byte of a channel message
  EXPECT_EQ(got, want);
}

TEST_F(MidiPlayerTest, APieceWithoutASynthesiserIsRefused) {
  struct cNoSynth : plat::audio::cSynthMaker {
    std::unique_ptr<plat::audio::cSynth> Make(int, std::string& strError) override {
      strError = "soundfont not found: absent.sf2";
      return nullptr;
    }
  } none;
  const plat::PLATFORMBACKEND saved = plat::GetBackend();
  plat::PLATFORMBACKEND backend = saved;
  backend.pSynths = &none;
  plat::InstallBackend(backend);
  const auto s = Load(HalfSecondNote());
  plat::InstallBackend(saved);
  EXPECT_FALSE(s->HasImage());
  EXPECT_EQ(Report(), "Midi " + Path("song.mid") + " Open soundfont not found: absent.sf2\n");
  s->Play(0, 0, 1);
  EXPECT_EQ(Render(100), std::vector<float>(200, 0.0f));
  EXPECT_EQ(TakeCalls(), CALLS{});
}

}  // namespace
