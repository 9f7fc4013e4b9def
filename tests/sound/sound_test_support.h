// Shared pieces of the sound tests: a temporary folder with its own report
// log, the mixer opened offline (the null back end has no device), and byte
// builders for wave and MIDI fixtures.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/logs.h"
#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"
#include "support/test_paths.h"

namespace soundtest {

constexpr int kRate = 48000;

inline std::string DataPath(const std::string& strRel) {
  return TestDataDir() + "/" + strRel;
}

inline std::vector<uint8_t> ReadBytes(const std::string& strPath) {
  std::vector<uint8_t> v;
  if (std::FILE* fp = std::fopen(strPath.c_str(), "rb")) {
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) v.insert(v.end(), buf, buf + n);
    std::fclose(fp);
  }
  return v;
}

inline void WriteBytes(const std::string& strPath, const std::vector<uint8_t>& v) {
  std::FILE* fp = std::fopen(strPath.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  if (!v.empty()) std::fwrite(v.data(), 1, v.size(), fp);
  std::fclose(fp);
}

// A temporary folder holding the report log; the mixer runs offline.
class cSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    m_Dir = std::filesystem::temp_directory_path() /
            ("brimvale_sound_" + std::to_string(::getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_Dir);
    std::filesystem::create_directories(m_Dir);
    ReportInit(Path("Report_Game.txt").c_str());
    plat::audio::OpenOfflineOutput(kRate);
  }
  void TearDown() override {
    plat::audio::CloseOutput();
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
  }
  std::string Path(const std::string& strName) const { return (m_Dir / strName).string(); }
  std::string Report() const {
    const std::vector<uint8_t> v = ReadBytes(GetReportPath());
    return std::string(v.begin(), v.end());
  }
  std::vector<float> Render(int nFrames) {
    std::vector<float> v(static_cast<size_t>(nFrames) * 2);
    plat::audio::cMixer::Get().Render(v.data(), nFrames);
    return v;
  }

  std::filesystem::path m_Dir;
};

inline void PutLe(std::vector<uint8_t>& v, uint32_t n, int nBytes) {
  for (int i = 0; i < nBytes; ++i) v.push_back(static_cast<uint8_t>(n >> (8 * i)));
}
inline void PutBe(std::vector<uint8_t>& v, uint32_t n, int nBytes) {
  for (int i = nBytes - 1; i >= 0; --i) v.push_back(static_cast<uint8_t>(n >> (8 * i)));
}
inline void PutId(std::vector<uint8_t>& v, const char* sz) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(sz[i]));
}

// The pieces of a wave file, each of which a case may spoil.
struct WAVESPEC {
  uint16_t wTag = 1;
  uint16_t nChannels = 1;
  uint32_t nRate = 22050;
  uint16_t nBits = 8;
  int nBlockAlign = -1;  // -1: channels × bytes per sample
  uint32_t nFmtSize = 16;
  std::vector<uint8_t> vData;
  int64_t nDataSizeField = -1;  // -1: the real size
  int64_t nRiffSizeField = -1;
  bool bDataBeforeFmt = false;
  bool bJunkChunk = false;
};

inline std::vector<uint8_t> BuildWave(const WAVESPEC& s) {
  std::vector<uint8_t> fmt;
  PutLe(fmt, s.wTag, 2);
  PutLe(fmt, s.nChannels, 2);
  PutLe(fmt, s.nRate, 4);
  const uint16_t nAlign = s.nBlockAlign >= 0 ? static_cast<uint16_t>(s.nBlockAlign)
                                             : static_cast<uint16_t>(s.nChannels * s.nBits / 8);
  PutLe(fmt, s.nRate * nAlign, 4);
  PutLe(fmt, nAlign, 2);
  PutLe(fmt, s.nBits, 2);
  while (fmt.size() < s.nFmtSize) fmt.push_back(0);
  fmt.resize(s.nFmtSize);
  std::vector<uint8_t> body;
  auto addFmt = [&] {
    PutId(body, "fmt ");
    PutLe(body, s.nFmtSize, 4);
    body.insert(body.end(), fmt.begin(), fmt.end());
    if (s.nFmtSize & 1) body.push_back(0);
  };
  auto addData = [&] {
    PutId(body, "data");
    PutLe(body,
          s.nDataSizeField >= 0 ? static_cast<uint32_t>(s.nDataSizeField)
                                : static_cast<uint32_t>(s.vData.size()),
          4);
    body.insert(body.end(), s.vData.begin(), s.vData.end());
    if (s.vData.size() & 1) body.push_back(0);
  };
  if (s.bDataBeforeFmt) {
    addData();
    addFmt();
  } else {
    addFmt();
    if (s.bJunkChunk) {
      PutId(body, "LIST");
      PutLe(body, 3, 4);
      body.insert(body.end(), {1, 2, 3, 0});
    }
    addData();
  }
  std::vector<uint8_t> v;
  PutId(v, "RIFF");
  PutLe(v,
        s.nRiffSizeField >= 0 ? static_cast<uint32_t>(s.nRiffSizeField)
                              : static_cast<uint32_t>(body.size() + 4),
        4);
  PutId(v, "WAVE");
  v.insert(v.end(), body.begin(), body.end());
  return v;
}

// A MIDI file from raw track bodies (events without the end of track, which
// is added unless bNoEnd).
inline std::vector<uint8_t> BuildMidi(uint16_t nFormat, uint16_t nDivision,
                                      const std::vector<std::vector<uint8_t>>& vTracks,
                                      bool bNoEnd = false) {
  std::vector<uint8_t> v;
  PutId(v, "MThd");
  PutBe(v, 6, 4);
  PutBe(v, nFormat, 2);
  PutBe(v, static_cast<uint32_t>(vTracks.size()), 2);
  PutBe(v, nDivision, 2);
  for (const std::vector<uint8_t>& t : vTracks) {
    std::vector<uint8_t> body = t;
    if (!bNoEnd) body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    PutId(v, "MTrk");
    PutBe(v, static_cast<uint32_t>(body.size()), 4);
    v.insert(v.end(), body.begin(), body.end());
  }
  return v;
}

}  // namespace soundtest
