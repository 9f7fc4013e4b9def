// The record and System.ini fuzz entries over their fixed corpora: whatever
// loads must write back bytes that load again to the same bytes. And every
// record kind refuses every cut of its own file.
#include "tools/fuzz/record_fuzz_input.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "support/default_game.h"
#include "support/fuzz_corpus.h"
#include "tools/fuzz/system_ini_fuzz_input.h"

namespace {

TEST(RecordFuzzInput, DamagedStartUpFilesLoadOrFailCleanly) {
  cSystemData sd;
  cOptionData opt;
  cIniKey key;
  key.SetString("FreeStage", "s.stg4");
  const std::vector<std::vector<uint8_t>> seeds = {
      sd.SaveToBytes(), opt.SaveToBytes(), key.SaveToBytes(),
      ReadTestFile((DefaultGameFolder() / "data/System.dat").string())};
  const FUZZRUN run = RunFuzzCorpus(
      "record_reader", seeds,
      [](const uint8_t* p, size_t n) { return record_fuzz::FuzzRecordFile(p, n) > 0; }, 300);
  EXPECT_EQ(run.nSeedsAccepted, 4);
  EXPECT_GT(run.nAccepted, run.nSeedsAccepted);
}

TEST(RecordFuzzInput, SystemIniFiles) {
  auto Text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  const std::vector<std::vector<uint8_t>> seeds = {
      ReadTestFile((DefaultGameFolder() / "System.ini").string()),
      Text("Direct3D=0\r\nWindowMode=1 // a note\r\nFreeStage=\"stage 1.stg4\"\r\nExit\r\n"),
      Text("Bpp=-2147483649\nVSync=+7x\nEnglish=1\nExit\n")};
  const FUZZRUN run = RunFuzzCorpus("system_ini", seeds, fuzz::FuzzSystemIni);
  EXPECT_EQ(run.nSeedsAccepted, 3);
}

template <typename T>
void ExpectEveryPrefixFails(T rec) {
  std::vector<uint8_t> full = rec.SaveToBytes();
  for (size_t n = 0; n < full.size(); ++n) {
    T back;
    EXPECT_EQ(back.LoadFromBytes(full.data(), n), 0) << typeid(T).name() << " length " << n;
  }
  T back;
  EXPECT_EQ(back.LoadFromBytes(full.data(), full.size()), 1);
}

TEST(RecordFuzzInput, EveryRecordKindRefusesTruncatedFiles) {
  ExpectEveryPrefixFails(cOptionData());
  ExpectEveryPrefixFails(cCmd(1, "label"));
  cIniKey key;
  key.SetString("FreeStage", "x.stg4");
  ExpectEveryPrefixFails(key);
  ExpectEveryPrefixFails(cStatusItem());
  ExpectEveryPrefixFails(cModeRanking());
  ExpectEveryPrefixFails(cSystemData());
}

}  // namespace
