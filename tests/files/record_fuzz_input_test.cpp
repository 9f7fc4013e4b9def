// The fuzz input on a fixed set of damaged start-up files, so every build
// runs it (the fuzzer itself needs clang): whatever loads must write back
// bytes that load again to the same bytes; nothing else may happen.
#include "tools/fuzz/record_fuzz_input.h"

#include <gtest/gtest.h>

#include <random>
#include <typeinfo>

namespace {

TEST(RecordFuzzInput, MutatedStartUpFilesLoadOrFailCleanly) {
  cSystemData sd;
  cOptionData opt;
  cIniKey key;
  key.SetString("FreeStage", "s.stg4");
  const std::vector<uint8_t> seeds[] = {sd.SaveToBytes(), opt.SaveToBytes(), key.SaveToBytes()};
  std::mt19937 rng(20261210);
  for (const std::vector<uint8_t>& seed : seeds) {
    record_fuzz::FuzzRecordFile(seed.data(), seed.size());
    for (int i = 0; i < 300; ++i) {
      std::vector<uint8_t> bytes = seed;
      int nChanges = 1 + static_cast<int>(rng() % 4);
      for (int k = 0; k < nChanges; ++k) {
        size_t nAt = rng() % bytes.size();
        switch (rng() % 3) {
          case 0:
            bytes[nAt] = static_cast<uint8_t>(rng());
            break;
          case 1:
            bytes[nAt] ^= 0x80;
            break;
          default:
            bytes.resize(nAt + 1);
            break;
        }
      }
      record_fuzz::FuzzRecordFile(bytes.data(), bytes.size());
    }
  }
  SUCCEED();
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
