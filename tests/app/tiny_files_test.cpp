// Empty and tiny files of every kind the program reads (the first bytes of
// a good file, cut anywhere) are refused cleanly: each load reports what it
// always reports for a bad file of its kind, leaves nothing half-read, and
// never reads past the bytes that are there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/logs.h"
#include "base/paths.h"
#include "files/options.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/fs/file_system.h"
#include "platform/gfx/bmp_reader.h"
#include "sound/midi_file.h"
#include "sound/vox_player.h"
#include "sound/wave_reader.h"
#include "support/default_game.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

std::string Data(const std::string& strRel) {
  return TestDataDir() + "/" + strRel;
}

struct KIND {
  const char* szKind;
  std::string strGood;  // a good file of the kind (Linux path)
  const char* szFile;   // where the cut copy goes, as the program names it
  size_t nTiny;         // cuts from 0 to this many bytes (all before the first sample or event)
  // Loads the file; true when it was taken. Refusals leave their report.
  std::function<bool()> load;
  // The report line of a file cut to n bytes ("" for a silent refusal).
  std::function<std::string(size_t n)> report;
};

TEST(TinyFiles, EveryKindRefusesEveryShortCutCleanly) {
  cTempFolder dir(true);
  CopyDefaultGame(dir.Path(), "game");
  cVox vox;
  vox.Init();
  vox.Create(1);
  const std::string strMidiName = "cut.mid";
  const std::vector<KIND> kinds = {
      {"record file (project data)", dir / "game/data/System.dat", "data\\System.dat", 64,
       [] { return LoadSystemDataAtStart(); },
       [](size_t) { return std::string("data\\System.dat の読み込みに失敗…"); }},
      {"record file (player's)", "", "user_data\\Option.dat", 35,
       [] {
         g_Option.m_nVolume = 4;
         LoadOptionsAtStart();
         // A refused file leaves the options as they were.
         return g_Option.m_nVolume != 4;
       },
       [](size_t) { return std::string(); }},
      {"System.ini", dir / "game/System.ini", "System.ini", 64,
       [] {
         LoadSystemIniAtStart();
         return SYSTEMINI.nWindowMode != 0;
       },
       [](size_t) { return std::string("System.ini の読み込みに失敗しました！"); }},
      {"bitmap", Data("bmp/g/pal8.bmp"), "cut.bmp", 64,
       [] {
         plat::gfx::cBitmap b;
         std::string strWhy;
         const bool bRead = plat::gfx::LoadBitmapFile("cut.bmp", b, &strWhy);
         if (!bRead) ReportF("bmp: %s", strWhy.c_str());
         return bRead || b.GetWidth() != 0;
       },
       [](size_t n) {
         // 8 bits with a colour table after the 40-byte header.
         return std::string("bmp: ") + (n < 26   ? "not a bitmap file"
                                        : n < 50 ? "truncated header"
                                                 : "colour table cut short");
       }},
      {"wave", dir / "game/wave/se00.wav", "cut.wav", 44,
       [] {
         WAVEDATA wave;
         return DSLoadWave("cut.wav", &wave) != 0 || !wave.vData.empty();
       },
       [](size_t n) {
         // A file without a format chunk, or without samples, is refused
         // silently; one whose format chunk is cut short is reported.
         if (n < 12) return std::string("cut.wav の読み込みに失敗しました…\n不正なファイルです。");
         if (n < 20 || n >= 36) return std::string();
         return std::string(
             "cut.wav の読み込みに失敗しました…\n対応していない形式か、不正なwavファイルです。\n"
             "本ソフトではPCM形式のみ再生できます。");
       }},
      {"MIDI", Data("midi/test-c-major-scale.mid"), "cut.mid", 21,
       [&] { return cMidiData(strMidiName.c_str()).HasImage(); },
       [](size_t n) {
         return std::string("Midi cut.mid Init 標準MIDIでない") + (n >= 4 && n < 8 ? "(6)" : "(4)");
       }},
      {"Ogg", Data("ogg/bell.ogg"), "cut.ogg", 64, [&] { return vox.Play(0, "cut.ogg", 0) != 0; },
       [](size_t) { return std::string(); }},
  };
  for (const KIND& k : kinds) {
    std::vector<uint8_t> good;
    if (k.strGood.empty()) {
      cOptionData opt;
      opt.m_nVolume = 9;
      good = opt.SaveToBytes();
    } else {
      good = ReadTestFile(k.strGood);
    }
    ASSERT_GT(good.size(), 16u) << k.szKind;
    const size_t nMax = std::min(good.size() - 1, k.nTiny);
    for (size_t n = 0; n <= nMax; ++n) {
      SCOPED_TRACE(testing::Message() << k.szKind << " cut to " << n << " bytes");
      std::filesystem::create_directories("data");
      std::filesystem::create_directories("user_data");
      ASSERT_TRUE(WriteTestFile(plat::fs::Resolve(k.szFile),
                                std::vector<uint8_t>(good.begin(), good.begin() + n)));
      g_Option = cOptionData();
      ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
      EXPECT_FALSE(k.load());
      const std::string strReport = k.report(n);
      EXPECT_EQ(dir.Read("Report_Game.txt"), strReport.empty() ? "" : strReport + "\n");
    }
  }
}

}  // namespace
