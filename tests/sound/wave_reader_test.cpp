// The wave reader: what it plays, what it refuses and what it reports.
#include "sound/wave_reader.h"

#include <functional>

#include "sound_test_support.h"

namespace {

using soundtest::BuildWave;
using soundtest::WAVESPEC;

const char* const kInvalid = "の読み込みに失敗しました…\n不正なファイルです。";
const char* const kUnsupported =
    "の読み込みに失敗しました…\n対応していない形式か、不正なwavファイルです。\n本ソフトではPCM形式"
    "のみ再生できます。";
const char* const kNotPcm =
    "の読み込みに失敗しました…\nPCM形式以外の形式です。\n本ソフトではPCM形式のみ再生できます。";

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}

struct WAVECASE {
  const char* szName;
  std::function<void(WAVESPEC&)> edit;
  std::function<void(std::vector<uint8_t>&)> spoil;  // on the built bytes
  int nResult;
  const char* szReport;  // null: nothing reported
  size_t nDataBytes;     // when read
};

class WaveReaderTest : public soundtest::cSoundTest {};

TEST_F(WaveReaderTest, BuiltFilesLoadOrAreRefusedWithTheirReport) {
  const std::vector<WAVECASE> cases = {
      {"8-bit mono 22050", nullptr, nullptr, 1, nullptr, 100},
      {"16-bit stereo 44100",
       [](WAVESPEC& s) {
         s.nBits = 16;
         s.nChannels = 2;
         s.nRate = 44100;
       },
       nullptr, 1, nullptr, 100},
      {"8-bit stereo", [](WAVESPEC& s) { s.nChannels = 2; }, nullptr, 1, nullptr, 100},
      {"16-bit mono", [](WAVESPEC& s) { s.nBits = 16; }, nullptr, 1, nullptr, 100},
      {"18-byte format chunk", [](WAVESPEC& s) { s.nFmtSize = 18; }, nullptr, 1, nullptr, 100},
      {"chunk between format and data", [](WAVESPEC& s) { s.bJunkChunk = true; }, nullptr, 1,
       nullptr, 100},
      {"odd bytes cut to whole frames",
       [](WAVESPEC& s) {
         s.nBits = 16;
         s.nChannels = 2;
         s.vData = Ramp(103);
       },
       nullptr, 1, nullptr, 100},
      {"data longer than the file", [](WAVESPEC& s) { s.nDataSizeField = 100000; }, nullptr, 1,
       nullptr, 100},
      {"RIFF size past the file", [](WAVESPEC& s) { s.nRiffSizeField = 0x7FFFFFF0; }, nullptr, 1,
       nullptr, 100},
      {"40-byte extensible format", [](WAVESPEC& s) { s.nFmtSize = 40; }, nullptr, 0, kUnsupported,
       0},
      {"14-byte format chunk", [](WAVESPEC& s) { s.nFmtSize = 14; }, nullptr, 0, kUnsupported, 0},
      {"float samples",
       [](WAVESPEC& s) {
         s.wTag = 3;
         s.nBits = 32;
       },
       nullptr, 0, kNotPcm, 0},
      {"24 bits", [](WAVESPEC& s) { s.nBits = 24; }, nullptr, 0, kUnsupported, 0},
      {"3 channels", [](WAVESPEC& s) { s.nChannels = 3; }, nullptr, 0, kUnsupported, 0},
      {"0 channels", [](WAVESPEC& s) { s.nChannels = 0; }, nullptr, 0, kUnsupported, 0},
      {"rate 0", [](WAVESPEC& s) { s.nRate = 0; }, nullptr, 0, kUnsupported, 0},
      {"rate 99", [](WAVESPEC& s) { s.nRate = 99; }, nullptr, 0, kUnsupported, 0},
      {"rate 200001", [](WAVESPEC& s) { s.nRate = 200001; }, nullptr, 0, kUnsupported, 0},
      {"block size that lies", [](WAVESPEC& s) { s.nBlockAlign = 0; }, nullptr, 0, kUnsupported, 0},
      {"not RIFF", nullptr, [](std::vector<uint8_t>& b) { b[0] = 'X'; }, 0, kInvalid, 0},
      {"not WAVE", nullptr, [](std::vector<uint8_t>& b) { b[8] = 'X'; }, 0, kInvalid, 0},
      {"shorter than a header", nullptr, [](std::vector<uint8_t>& b) { b.resize(11); }, 0, kInvalid,
       0},
      {"format chunk cut short", nullptr, [](std::vector<uint8_t>& b) { b.resize(30); }, 0,
       kUnsupported, 0},
      {"no format chunk", nullptr, [](std::vector<uint8_t>& b) { b[12] = 'x'; }, 0, nullptr, 0},
      {"data before format", [](WAVESPEC& s) { s.bDataBeforeFmt = true; }, nullptr, 0, nullptr, 0},
      {"empty data", [](WAVESPEC& s) { s.vData.clear(); }, nullptr, 0, nullptr, 0},
      {"no data chunk", nullptr, [](std::vector<uint8_t>& b) { b.resize(12 + 8 + 16); }, 0, nullptr,
       0},
  };
  for (const WAVECASE& c : cases) {
    SCOPED_TRACE(c.szName);
    WAVESPEC form;
    form.vData = Ramp(100);
    if (c.edit) c.edit(form);
    std::vector<uint8_t> bytes = BuildWave(form);
    if (c.spoil) c.spoil(bytes);
    const std::string strFile = Path("case.wav");
    soundtest::WriteBytes(strFile, bytes);
    ReportInit(Path("Report_Game.txt").c_str());
    WAVEDATA wave;
    EXPECT_EQ(DSLoadWave(strFile.c_str(), &wave), c.nResult);
    const std::string strReport = Report();
    if (c.szReport) {
      EXPECT_NE(strReport.find(strFile + " " + c.szReport), std::string::npos) << strReport;
    } else {
      EXPECT_EQ(strReport, "");
    }
    if (c.nResult) {
      EXPECT_EQ(wave.vData.size(), c.nDataBytes);
      EXPECT_EQ(wave.fmt.nChannels, form.nChannels);
      EXPECT_EQ(wave.fmt.wBitsPerSample, form.nBits);
      EXPECT_EQ(wave.fmt.nSamplesPerSec, form.nRate);
      EXPECT_TRUE(std::equal(wave.vData.begin(), wave.vData.end(), form.vData.begin()));
    }
  }
}

TEST_F(WaveReaderTest, MissingFileFailsWithoutReport) {
  WAVEDATA wave;
  EXPECT_EQ(DSLoadWave(Path("absent.wav").c_str(), &wave), 0);
  EXPECT_EQ(DSLoadWave("", &wave), 0);
  EXPECT_EQ(Report(), "");
}

TEST_F(WaveReaderTest, EveryCutOfAGoodFileIsSafe) {
  WAVESPEC form;
  form.nBits = 16;
  form.nChannels = 2;
  form.vData = Ramp(64);
  const std::vector<uint8_t> whole = BuildWave(form);
  for (size_t n = 0; n <= whole.size(); ++n) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    WAVEDATA wave;
    const int nResult = DSParseWave("cut.wav", cut, &wave);
    // Only whole frames that are really there come out.
    if (nResult) {
      EXPECT_LE(wave.vData.size() + 44, n);
      EXPECT_EQ(wave.vData.size() % 4, 0u);
    }
    EXPECT_EQ(nResult, n >= 48 ? 1 : 0) << n;
  }
}

// Real files that nobody here wrote.
TEST_F(WaveReaderTest, PublicFixtures) {
  struct ROW {
    const char* szFile;
    int nResult;
    const char* szReport;
    int nChannels, nBits;
  };
  const ROW rows[] = {
      {"debian/Front_Left.wav", 1, nullptr, 1, 16},
      {"valid/mono_pcm_8_44100.wav", 1, nullptr, 1, 8},
      {"valid/stereo_pcm_8_44100.wav", 1, nullptr, 2, 8},
      {"valid/mono_pcm_16_44100.wav", 1, nullptr, 1, 16},
      {"valid/stereo_pcm_16_44100.wav", 1, nullptr, 2, 16},
      {"valid/mono_pcm_8_44100_with_padding_byte.wav", 1, nullptr, 1, 8},
      {"valid/mono_pcm_16_44100_junk_chunk_with_padding_byte.wav", 1, nullptr, 1, 16},
      {"valid/mono_pcm_24_44100.wav", 0, kUnsupported, 0, 0},
      {"valid/tri_pcm_16_44100.wav", 0, kUnsupported, 0, 0},
      {"valid/mono_float_32_44100.wav", 0, kNotPcm, 0, 0},
      {"valid/extensible_mono_pcm_16_44100.wav", 0, kUnsupported, 0, 0},
      {"valid/format_chunk_with_extra_bytes.wav", 0, kUnsupported, 0, 0},
      {"unsupported/bad_sample_rate.wav", 0, kUnsupported, 0, 0},
      {"unsupported/bad_channel_count.wav", 0, kUnsupported, 0, 0},
      {"unsupported/unsupported_bits_per_sample.wav", 0, kUnsupported, 0, 0},
      {"invalid/empty.wav", 0, kInvalid, 0, 0},
      {"invalid/bad_riff_header.wav", 0, kInvalid, 0, 0},
      {"invalid/no_data_chunk.wav", 0, nullptr, 0, 0},
      {"invalid/format_chunk_after_data_chunk.wav", 0, nullptr, 0, 0},
      {"invalid/empty_format_chunk.wav", 0, kUnsupported, 0, 0},
      {"invalid/insufficient_format_chunk.wav", 0, kUnsupported, 0, 0},
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(r.szFile);
    ReportInit(Path("Report_Game.txt").c_str());
    const std::string strFile = soundtest::DataPath(std::string("wave/") + r.szFile);
    WAVEDATA wave;
    EXPECT_EQ(DSLoadWave(strFile.c_str(), &wave), r.nResult);
    if (r.szReport) {
      EXPECT_NE(Report().find(r.szReport), std::string::npos) << Report();
    } else {
      EXPECT_EQ(Report(), "");
    }
    if (r.nResult) {
      EXPECT_EQ(wave.fmt.nChannels, r.nChannels);
      EXPECT_EQ(wave.fmt.wBitsPerSample, r.nBits);
      EXPECT_GT(wave.vData.size(), 0u);
    }
  }
}

TEST_F(WaveReaderTest, EveryPublicFileIsReadSafely) {
  for (const char* szDir : {"valid", "unsupported", "invalid", "debian"}) {
    for (const auto& entry :
         std::filesystem::directory_iterator(soundtest::DataPath(std::string("wave/") + szDir))) {
      SCOPED_TRACE(entry.path().string());
      const std::vector<uint8_t> bytes = soundtest::ReadBytes(entry.path().string());
      WAVEDATA wave;
      if (DSParseWave("x.wav", bytes, &wave)) {
        EXPECT_TRUE(wave.fmt.nChannels == 1 || wave.fmt.nChannels == 2);
        EXPECT_TRUE(wave.fmt.wBitsPerSample == 8 || wave.fmt.wBitsPerSample == 16);
        EXPECT_EQ(wave.vData.size() % wave.fmt.nBlockAlign, 0u);
        EXPECT_LT(wave.vData.size(), bytes.size());
      }
    }
  }
}

}  // namespace
