// The fuzz input of the whole play on a fixed set of damaged stages, so every
// build runs it (the fuzzer itself needs clang): the demo stage, as a stage
// and as the stage of a replay, each damaged the same way on every run, is
// played for a few hundred frames; nothing may crash, hang or run without
// bound, and the values that reach the engine are tried with it.
#include "tools/fuzz/play_fuzz_input.h"

#include <gtest/gtest.h>

#include "support/default_game.h"
#include "support/fuzz_corpus.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Prefixed(uint8_t byKind, const Bytes& file) {
  Bytes out{byKind};
  out.insert(out.end(), file.begin(), file.end());
  return out;
}

}  // namespace

TEST(PlayFuzzInput, DamagedStagesAndReplaysPlayWithoutHarm) {
  const Bytes stage =
      ReadTestFile((DefaultGameFolder() / "data" / "stg4" / "demo.stg4_783").string());
  ASSERT_FALSE(stage.empty());
  // A replay of the demo with a short key log: the stage's records, the log
  // and a new play record.
  cStageData demo;
  ASSERT_TRUE(demo.LoadFromBytes(stage.data(), stage.size()));
  cKeyLog log;
  for (int i = 0; i < 120; ++i) log.AddKey(static_cast<int16_t>(i / 20 % 2 ? 0x4 : 0x10), 0);
  cDataWriter w;
  w.U32(static_cast<uint32_t>(nDataVersion));
  demo.WriteForReplay(w, demo);
  log.Write(w);
  cPlayData play;
  play.Write(w);
  // A hit-test level and an attack-test count far outside their settings
  // must not make a frame or the set-up run without bound.
  cStageData wild = demo;
  wild.m_nHitLevel = 1000000;
  wild.m_nAttackTests = 0x7FFFFFFF;
  const std::vector<Bytes> seeds = {Prefixed(0, stage), Prefixed(1, w.Data()),
                                    Prefixed(0, wild.SaveToBytes())};
  const FUZZRUN run = RunFuzzCorpus("play", seeds, play_fuzz::FuzzPlayInput, 12);
  EXPECT_EQ(run.nSeedsAccepted, 3);
  EXPECT_GT(run.nAccepted, 3);
}
