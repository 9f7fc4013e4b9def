// The wave reader: what it plays, what it refuses and what it reports.
#include "sound/wave_reader.h"

#include <functional>
#include <map>

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

TEST_F(WaveReaderTest, EveryCutOfAGoodFileIsReadOrRefusedWithItsReport) {
  WAVESPEC form;
  form.nBits = 16;
  form.nChannels = 2;
  form.vData = Ramp(64);
  const std::vector<uint8_t> whole = BuildWave(form);
  for (size_t n = 0; n <= whole.size(); ++n) {
    SCOPED_TRACE(testing::Message() << "cut to " << n);
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    ReportInit(Path("Report_Game.txt").c_str());
    WAVEDATA wave;
    const int nResult = DSParseWave("cut.wav", cut, &wave);
    // Only whole frames that are really there come out.
    if (nResult) {
      EXPECT_EQ(wave.vData.size(), (n - 44) / 4 * 4);
      EXPECT_TRUE(std::equal(wave.vData.begin(), wave.vData.end(), form.vData.begin()));
    }
    EXPECT_EQ(nResult, n >= 48 ? 1 : 0);
    // The RIFF header cut short is an invalid file, the format chunk cut
    // short an unsupported one; without a whole format chunk header, or
    // without one whole frame, the file is refused silently.
    const char* szReport = n < 12 ? kInvalid : n >= 20 && n < 36 ? kUnsupported : nullptr;
    EXPECT_EQ(Report(), szReport ? std::string("cut.wav ") + szReport + "\n" : "");
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

TEST_F(WaveReaderTest, EveryPublicFileIsReadOrRefusedWithItsReport) {
  // What each file comes to, when it is not refused as unsupported: L read,
  // P refused as not PCM, I refused as an invalid file, S refused silently
  // (no format chunk where it must be, or no samples).
  const std::map<std::string, char> outcomes = {
      {"debian/Front_Left.wav", 'L'},
      {"invalid/bad_riff_header.wav", 'I'},
      {"invalid/bad_wavefile_format.wav", 'I'},
      {"invalid/data_chunk_ends_after_chunk_id.wav", 'S'},
      {"invalid/data_chunk_has_incomplete_chunk_size.wav", 'S'},
      {"invalid/data_chunk_truncated.wav", 'L'},
      {"invalid/empty.wav", 'I'},
      {"invalid/extensible_format_chunk_extension_missing.wav", 'P'},
      {"invalid/extensible_format_chunk_extension_size_incomplete.wav", 'P'},
      {"invalid/extensible_format_chunk_extension_size_incomplete_with_padding_byte.wav", 'P'},
      {"invalid/float_format_chunk_extension_size_incomplete.wav", 'P'},
      {"invalid/float_format_chunk_extension_size_incomplete_with_padding_byte.wav", 'P'},
      {"invalid/format_chunk_after_data_chunk.wav", 'S'},
      {"invalid/format_chunk_with_extra_byte_and_missing_padding_byte.wav", 'S'},
      {"invalid/incomplete_riff_format.wav", 'I'},
      {"invalid/incomplete_riff_header.wav", 'I'},
      {"invalid/no_data_chunk.wav", 'S'},
      {"invalid/no_format_chunk_size.wav", 'S'},
      {"invalid/no_riff_format.wav", 'I'},
      {"invalid/riff_chunk_has_incomplete_chunk_size.wav", 'I'},
      {"invalid/riff_chunk_has_no_child_chunks.wav", 'S'},
      {"invalid/smpl_chunk_empty.wav", 'L'},
      {"invalid/smpl_chunk_loop_count_too_high.wav", 'L'},
      {"invalid/smpl_chunk_truncated.wav", 'L'},
      {"invalid/smpl_chunk_truncated_sampler_specific_data.wav", 'L'},
      {"invalid/unsupported_format_extension_size_incomplete.wav", 'P'},
      {"invalid/unsupported_format_extension_size_incomplete_with_padding_byte.wav", 'P'},
      {"unsupported/unsupported_audio_format.wav", 'P'},
      {"unsupported/unsupported_format_code_missing_extension_size.wav", 'P'},
      {"valid/float_format_chunk_missing_extension_size.wav", 'P'},
      {"valid/format_chunk_with_extra_byte_and_padding_byte.wav", 'L'},
      {"valid/mono_float_32_44100.wav", 'P'},
      {"valid/mono_float_64_44100.wav", 'P'},
      {"valid/mono_pcm_16_44100.wav", 'L'},
      {"valid/mono_pcm_16_44100_junk_chunk_final_chunk_missing_padding_byte.wav", 'L'},
      {"valid/mono_pcm_16_44100_junk_chunk_with_padding_byte.wav", 'L'},
      {"valid/mono_pcm_8_44100.wav", 'L'},
      {"valid/mono_pcm_8_44100_with_padding_byte.wav", 'L'},
      {"valid/no_samples.wav", 'S'},
      {"valid/stereo_float_32_44100.wav", 'P'},
      {"valid/stereo_float_64_44100.wav", 'P'},
      {"valid/stereo_pcm_16_44100.wav", 'L'},
      {"valid/stereo_pcm_8_44100.wav", 'L'},
      {"valid/tri_float_32_44100.wav", 'P'},
      {"valid/tri_float_64_44100.wav", 'P'},
      {"valid/with_multiple_smpl_chunks_after_data_chunk.wav", 'L'},
      {"valid/with_multiple_smpl_chunks_before_and_after_data_chunk.wav", 'L'},
      {"valid/with_multiple_smpl_chunks_before_data_chunk.wav", 'L'},
      {"valid/with_smpl_chunk_after_data_chunk.wav", 'L'},
      {"valid/with_smpl_chunk_after_data_chunk_and_data_chunk_has_padding_byte.wav", 'L'},
      {"valid/with_smpl_chunk_before_data_chunk.wav", 'L'},
      {"valid/with_smpl_chunk_no_loops.wav", 'L'},
      {"valid/with_smpl_chunk_with_extra_unused_bytes.wav", 'L'},
      {"valid/with_smpl_chunk_with_fields_out_of_range.wav", 'L'},
      {"valid/with_smpl_chunk_with_sampler_specific_data.wav", 'L'},
  };
  int nFiles = 0;
  for (const char* szDir : {"valid", "unsupported", "invalid", "debian"}) {
    for (const auto& entry :
         std::filesystem::directory_iterator(soundtest::DataPath(std::string("wave/") + szDir))) {
      if (entry.path().extension() != ".wav") continue;
      const std::string strName = std::string(szDir) + "/" + entry.path().filename().string();
      SCOPED_TRACE(strName);
      ++nFiles;
      const auto it = outcomes.find(strName);
      const char cOutcome = it == outcomes.end() ? 'U' : it->second;
      ReportInit(Path("Report_Game.txt").c_str());
      const std::vector<uint8_t> bytes = soundtest::ReadBytes(entry.path().string());
      WAVEDATA wave;
      EXPECT_EQ(DSParseWave("x.wav", bytes, &wave), cOutcome == 'L' ? 1 : 0);
      const char* szReport = cOutcome == 'I'   ? kInvalid
                             : cOutcome == 'U' ? kUnsupported
                             : cOutcome == 'P' ? kNotPcm
                                               : nullptr;
      EXPECT_EQ(Report(), szReport ? std::string("x.wav ") + szReport + "\n" : "");
      if (cOutcome == 'L') {
        EXPECT_TRUE(wave.fmt.nChannels == 1 || wave.fmt.nChannels == 2);
        EXPECT_TRUE(wave.fmt.wBitsPerSample == 8 || wave.fmt.wBitsPerSample == 16);
        EXPECT_GT(wave.vData.size(), 0u);
        EXPECT_EQ(wave.vData.size() % wave.fmt.nBlockAlign, 0u);
        EXPECT_LT(wave.vData.size(), bytes.size());
      }
    }
  }
  EXPECT_EQ(nFiles, 120);
}

}  // namespace
