// Reading MIDI files into the merged single-track image.
#include "sound/midi_file.h"

#include <map>

#include "sound_test_support.h"

namespace {

using soundtest::BuildMidi;
using BYTES = std::vector<uint8_t>;

struct IMAGEEVENT {
  uint64_t nTime;
  BYTES vBytes;  // status and everything after it
  bool operator==(const IMAGEEVENT& o) const { return nTime == o.nTime && vBytes == o.vBytes; }
};

// Walks an image as an independent reader would; fails the test on any
// malformed byte.
std::vector<IMAGEEVENT> WalkImage(const BYTES& img) {
  std::vector<IMAGEEVENT> out;
  EXPECT_GE(img.size(), 22u);
  if (img.size() < 22) return out;
  EXPECT_EQ(BYTES(img.begin(), img.begin() + 12),
            (BYTES{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1}));
  const uint32_t nLen = (img[18] << 24) | (img[19] << 16) | (img[20] << 8) | img[21];
  EXPECT_EQ(nLen, img.size() - 22);
  size_t p = 22;
  uint64_t t = 0;
  while (p < img.size()) {
    uint32_t nDelta = 0;
    const int n = ReadVarLen(&img[p], img.size() - p, &nDelta);
    EXPECT_GT(n, 0);
    if (n == 0) break;
    p += static_cast<size_t>(n);
    t += nDelta;
    const size_t nStart = p;
    const uint8_t s = img[p++];
    EXPECT_TRUE(s & 0x80) << "no running status in an image";
    if (s == 0xFF) ++p;
    if (s == 0xF0 || s == 0xF7 || s == 0xFF) {
      uint32_t nData = 0;
      p += static_cast<size_t>(ReadVarLen(&img[p], img.size() - p, &nData));
      p += nData;
    } else {
      p += (s >= 0xC0 && s <= 0xDF) ? 1 : 2;
    }
    EXPECT_LE(p, img.size());
    if (p > img.size()) break;
    out.push_back({t, BYTES(img.begin() + static_cast<std::ptrdiff_t>(nStart),
                            img.begin() + static_cast<std::ptrdiff_t>(p))});
  }
  EXPECT_FALSE(out.empty());
  if (!out.empty()) {
    EXPECT_EQ(out.back().vBytes, (BYTES{0xFF, 0x2F, 0x00}));
  }
  return out;
}

class MidiFileTest : public soundtest::cSoundTest {
 protected:
  std::unique_ptr<cMidiData> Load(const BYTES& file) {
    const std::string strPath = Path("song.mid");
    soundtest::WriteBytes(strPath, file);
    return std::make_unique<cMidiData>(strPath.c_str());
  }
};

TEST(MidiVarLenTest, ReadAndWriteRows) {
  const struct {
    BYTES vBytes;
    uint32_t nValue;
    int nCount;
  } reads[] = {{{0x00}, 0, 1},
               {{0x7F}, 0x7F, 1},
               {{0x81, 0x00}, 0x80, 2},
               {{0xFF, 0x7F}, 0x3FFF, 2},
               {{0x81, 0x80, 0x00}, 0x4000, 3},
               {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4},
               {{0x80, 0x80, 0x80, 0x80, 0x00}, 0, 0},  // a fifth byte is never read
               {{0x81}, 0, 0}};                         // runs out of bytes
  for (const auto& r : reads) {
    uint32_t nValue = 0;
    EXPECT_EQ(ReadVarLen(r.vBytes.data(), r.vBytes.size(), &nValue), r.nCount);
    if (r.nCount) {
      EXPECT_EQ(nValue, r.nValue);
    }
  }
  const struct {
    uint32_t nValue;
    int nCount;
  } writes[] = {{0, 1},        {0x7F, 1},     {0x80, 2},       {0x3FFF, 2},    {0x4000, 3},
                {0x1FFFFF, 3}, {0x200000, 4}, {0x0FFFFFFF, 4}, {0x10000000, 0}};
  for (const auto& w : writes) {
    BYTES v;
    EXPECT_EQ(WriteVarLen(v, w.nValue), w.nCount) << w.nValue;
    EXPECT_EQ(v.size(), static_cast<size_t>(w.nCount));
    uint32_t nBack = 0;
    if (w.nCount) {
      EXPECT_EQ(ReadVarLen(v.data(), v.size(), &nBack), w.nCount);
      EXPECT_EQ(nBack, w.nValue);
    }
  }
}

TEST_F(MidiFileTest, TracksMergeInTimeOrderLowerTrackFirst) {
  const BYTES file = BuildMidi(1, 96,
                               {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x0A, 0x90, 0x3C, 0x40},
                                {0x05, 0xC1, 0x05, 0x0A, 0x91, 0x40, 0x40},
                                {0x0A, 0x92, 0x43, 0x40, 0x14, 0x82, 0x43, 0x00}});
  const auto midi = Load(file);
  ASSERT_TRUE(midi->HasImage());
  const BYTES events = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // t0 tempo
                        0x05, 0xC1, 0x05,                          // t5 track 1
                        0x05, 0x90, 0x3C, 0x40,                    // t10 track 0 ...
                        0x00, 0x92, 0x43, 0x40,                    // ... before track 2
                        0x05, 0x91, 0x40, 0x40,                    // t15
                        0x0F, 0x82, 0x43, 0x00,                    // t30
                        0x00, 0xFF, 0x2F, 0x00};                   // one end, last
  BYTES expected = {
      'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
      1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(events.size())};
  expected.insert(expected.end(), events.begin(), events.end());
  EXPECT_EQ(midi->GetImage(), expected);
  EXPECT_EQ(Report(), "");
}

TEST_F(MidiFileTest, RunningStatusIsWrittenOutAndSurvivesMetaAndSysex) {
  const BYTES file = BuildMidi(
      0, 480, {{0x00, 0x90, 0x3C, 0x40, 0x0A, 0x3E, 0x40,              // running
                0x00, 0xFF, 0x01, 0x02, 'h',  'i',  0x0A, 0x40, 0x40,  // after a meta event
                0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x05, 0x41, 0x00,        // after a sysex
                0x00, 0xC2, 0x07, 0x01, 0x08}});                       // one data byte
  const auto midi = Load(file);
  ASSERT_TRUE(midi->HasImage());
  const std::vector<IMAGEEVENT> expected = {{0, {0x90, 0x3C, 0x40}},
                                            {10, {0x90, 0x3E, 0x40}},
                                            {10, {0xFF, 0x01, 0x02, 'h', 'i'}},
                                            {20, {0x90, 0x40, 0x40}},
                                            {20, {0xF0, 0x02, 0x7E, 0xF7}},
                                            {25, {0x90, 0x41, 0x00}},
                                            {25, {0xC2, 0x07}},
                                            {26, {0xC2, 0x08}},
                                            {26, {0xFF, 0x2F, 0x00}}};
  EXPECT_EQ(WalkImage(midi->GetImage()), expected);
}

TEST_F(MidiFileTest, RefusalsAndTheirReports) {
  BYTES good = BuildMidi(0, 96, {{0x00, 0x90, 0x3C, 0x40}});
  auto with = [&](size_t nAt, BYTES v) {
    BYTES b = good;
    std::copy(v.begin(), v.end(), b.begin() + static_cast<std::ptrdiff_t>(nAt));
    return b;
  };
  BYTES header8 = good;
  header8[7] = 8;
  BYTES junkOnly = good;
  junkOnly[14] = 'J';
  const struct {
    const char* szCase;
    BYTES vFile;
    const char* szReport;
  } rows[] = {
      {"not MThd", with(0, {'R', 'I', 'F', 'F'}), "Init 標準MIDIでない(4)"},
      {"header length 8", header8, "Init 標準MIDIでない(6)"},
      {"format 2", with(8, {0, 2}), "Init 対応フォーマットが2でない"},
      {"format 3", with(8, {0, 3}), "Init 対応フォーマットが0または1でない"},
      {"no track chunk", junkOnly, "Init 標準MIDIでない(4)"},
      {"empty file", {}, "Init 標準MIDIでない(4)"},
      {"header only", BYTES(good.begin(), good.begin() + 14), "Init 標準MIDIでない(4)"},
      {"division 0", with(12, {0, 0}), "Init 分解能が0"},
      {"frames with 0 ticks", with(12, {0xE7, 0}), "Init 分解能が0"},
      {"tempo 0", BuildMidi(0, 96, {{0x00, 0xFF, 0x51, 0x03, 0, 0, 0}}), "Init テンポが0"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.szCase);
    ReportInit(Path("Report_Game.txt").c_str());
    const auto midi = Load(r.vFile);
    EXPECT_FALSE(midi->HasImage());
    EXPECT_EQ(Report(), "Midi " + Path("song.mid") + " " + r.szReport + "\n");
  }
  ReportInit(Path("Report_Game.txt").c_str());
  cMidiData absent(Path("absent.mid").c_str());
  EXPECT_FALSE(absent.HasImage());
  EXPECT_EQ(Report(), "Midi " + Path("absent.mid") + " Create ファイルが開けません\n");
}

TEST_F(MidiFileTest, LyingAndBrokenTracksNeverReadPastTheFile) {
  // A track length far past the file, no end of track, and a sysex whose
  // count runs past its chunk: each track just ends where its bytes end.
  BYTES lying = BuildMidi(0, 96, {{0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x00}}, true);
  lying[18] = 0x7F;
  const auto a = Load(lying);
  ASSERT_TRUE(a->HasImage());
  EXPECT_EQ(WalkImage(a->GetImage()).size(), 3u);
  EXPECT_EQ(WalkImage(a->GetImage()).back().nTime, 0x60u);

  const auto b = Load(
      BuildMidi(0, 96, {{0x00, 0x90, 0x3C, 0x40, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}}, true));
  ASSERT_TRUE(b->HasImage());
  EXPECT_EQ(WalkImage(b->GetImage()).size(), 2u);

  // A chunk of another kind between tracks is skipped; a huge present
  // sysex is kept whole.
  BYTES big = {0x00, 0xF0, 0x83, 0x86, 0x50};  // 50000 bytes
  big.resize(big.size() + 49999, 0x11);
  big.push_back(0xF7);
  BYTES two = BuildMidi(1, 96, {{0x00, 0x90, 0x3C, 0x40}, big});
  BYTES junk = {'J', 'u', 'n', 'k', 0, 0, 0, 2, 9, 9};
  two.insert(two.begin() + 14 + 8 + 8, junk.begin(), junk.end());
  const auto c = Load(two);
  ASSERT_TRUE(c->HasImage());
  const std::vector<IMAGEEVENT> events = WalkImage(c->GetImage());
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].vBytes.size(), 1u + 3u + 50000u);
}

TEST_F(MidiFileTest, EveryCutOfAFileIsReadOrRefusedWithItsReport) {
  const BYTES whole = soundtest::ReadBytes(soundtest::DataPath("midi/test-2-tracks-type-1.mid"));
  ASSERT_GT(whole.size(), 100u);
  size_t nPrevEvents = 0;
  cMidiData midi("cut.mid");  // no such file: every cut goes through Init
  for (size_t n = 0; n <= whole.size(); ++n) {
    SCOPED_TRACE(testing::Message() << "cut to " << n);
    ReportInit(Path("Report_Game.txt").c_str());
    const bool bRead = midi.Init(whole.data(), n);
    // Up to the first track's chunk header the file is refused; after it a
    // cut only ends the track early, and a longer cut never loses events.
    EXPECT_EQ(bRead, n >= 22);
    if (bRead) {
      EXPECT_EQ(Report(), "");
      const size_t nEvents = WalkImage(midi.GetImage()).size();
      EXPECT_GE(nEvents, nPrevEvents);
      nPrevEvents = nEvents;
    } else {
      EXPECT_FALSE(midi.HasImage());
      EXPECT_EQ(Report(), std::string("Midi cut.mid Init 標準MIDIでない") +
                              (n >= 4 && n < 8 ? "(6)" : "(4)") + "\n");
    }
  }
  EXPECT_GT(nPrevEvents, 20u);
}

// Files that nobody here wrote.
TEST_F(MidiFileTest, PublicFiles) {
  auto load = [&](const char* szName) {
    return std::make_unique<cMidiData>(soundtest::DataPath(std::string("midi/") + szName).c_str());
  };
  EXPECT_FALSE(load("test-2-tracks-type-2.mid")->HasImage());
  EXPECT_NE(Report().find("test-2-tracks-type-2.mid Init 対応フォーマットが2でない"),
            std::string::npos);
  EXPECT_FALSE(load("test-not-a-midi-file.mid")->HasImage());
  EXPECT_NE(Report().find("test-not-a-midi-file.mid Init 標準MIDIでない(4)"), std::string::npos);
  EXPECT_FALSE(load("test-empty-file.mid")->HasImage());

  // The same two scales as one track and as two tracks make the same notes.
  auto notes = [&](const char* szName) {
    std::vector<IMAGEEVENT> v;
    for (const IMAGEEVENT& e : WalkImage(load(szName)->GetImage()))
      if (e.vBytes[0] < 0xF0) v.push_back(e);
    return v;
  };
  const std::vector<IMAGEEVENT> one = notes("test-2-tracks-type-0.mid");
  EXPECT_GT(one.size(), 20u);
  EXPECT_EQ(one, notes("test-2-tracks-type-1.mid"));
  EXPECT_EQ(notes("test-running-status-metaevent.mid").size(),
            notes("test-c-major-scale.mid").size());
  EXPECT_TRUE(load("test-non-midi-track.mid")->HasImage());

  // Every other public file is read whole into a well-formed image, without
  // a word in the report; only these are refused, with their reports.
  const std::map<std::string, std::string> refused = {
      {"test-2-tracks-type-2.mid", "Init 対応フォーマットが2でない"},
      {"test-empty-file.mid", "Init 標準MIDIでない(4)"},
      {"test-not-a-midi-file.mid", "Init 標準MIDIでない(4)"},
  };
  int nRead = 0;
  for (const auto& entry : std::filesystem::directory_iterator(soundtest::DataPath("midi"))) {
    if (entry.path().extension() != ".mid") continue;
    const std::string strName = entry.path().filename().string();
    SCOPED_TRACE(strName);
    ReportInit(Path("Report_Game.txt").c_str());
    const auto midi = std::make_unique<cMidiData>(entry.path().string().c_str());
    const auto it = refused.find(strName);
    if (it == refused.end()) {
      ASSERT_TRUE(midi->HasImage());
      WalkImage(midi->GetImage());
      EXPECT_EQ(Report(), "");
      ++nRead;
    } else {
      EXPECT_FALSE(midi->HasImage());
      EXPECT_EQ(Report(), "Midi " + entry.path().string() + " " + it->second + "\n");
    }
  }
  EXPECT_EQ(nRead, 69);
}

}  // namespace
