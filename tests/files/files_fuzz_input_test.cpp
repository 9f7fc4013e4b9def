// The fuzz input of the project and save files on a fixed set of damaged
// files, so every build runs it (the fuzzer itself needs clang): whatever
// loads as a stage, replay, world map, play record or key log must write
// back bytes that load again to the same bytes; nothing else may happen.
#include "tools/fuzz/files_fuzz_input.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> Seeds() {
  cStageData stage;
  stage.m_nWidth = 22;
  stage.m_nHeight = 16;
  stage.m_vecCharas.resize(2);
  stage.m_vecCharas[0].m_cOperator = 0;
  stage.m_vecCharas[1].m_cInheritSrc = 2;
  stage.m_vecCharas[1].m_sParent = 1;
  stage.m_vecCharas[1].m_vecFlows.resize(1);
  stage.m_vecCharas[1].m_vecFlows[0].m_cTrigger = 2;
  stage.m_vecBlocks.resize(3);
  stage.m_vecItems.resize(1);
  stage.m_vecTexts.assign(2, cStageText("t"));

  cWorldMap map;
  map.SetSize(6, 4);
  map.m_vecPoints.resize(2);
  map.m_vecPoints[1].m_nX = 5;
  map.m_vecPoints[1].m_vecStages.resize(2);
  map.m_vecPoints[1].m_vecStages[1].m_strStageFile = "data\\stg4\\s-1.stg4";

  cPlayData play;
  play.SetCurStage("data\\stg4\\c01-1.stg4", 1, 2, 3);
  play.SetStageScore("a.", "a.", 0, 0, 0, 10);
  play.m_vStatus[0].m_Chara.m_vecFlows.resize(1);

  cKeyLog log;
  for (int i = 0; i < 9; ++i) log.AddKey(static_cast<int16_t>(i / 3), static_cast<int16_t>(i % 2));

  cDataWriter replay;
  replay.U32(783);
  stage.WriteForReplay(replay, stage);
  log.Write(replay);
  play.Write(replay);
  return {stage.SaveToBytes(), map.SaveToBytes(), play.SaveToBytes(), log.SaveToBytes(),
          replay.Data()};
}

TEST(FilesFuzzInput, MutatedFilesLoadOrFailCleanly) {
  std::mt19937 rng(20261211);
  int nLoaded = 0;
  for (const Bytes& seed : Seeds()) {
    files_fuzz::FuzzFilesInput(seed.data(), seed.size());
    for (int i = 0; i < 150; ++i) {
      Bytes bytes = seed;
      const int nChanges = 1 + static_cast<int>(rng() % 4);
      for (int k = 0; k < nChanges; ++k) {
        const size_t nAt = rng() % bytes.size();
        switch (rng() % 4) {
          case 0:
            bytes[nAt] = static_cast<uint8_t>(rng());
            break;
          case 1:
            bytes[nAt] ^= 0x80;
            break;
          case 2:
            bytes[nAt] = 0xFF;
            break;
          default:
            bytes.resize(nAt + 1);
            break;
        }
      }
      files_fuzz::FuzzFilesInput(bytes.data(), bytes.size());
      cStageData s;
      cWorldMap m;
      cPlayData p;
      nLoaded += s.LoadFromBytes(bytes.data(), bytes.size()) +
                 m.LoadFromBytes(bytes.data(), bytes.size()) +
                 p.LoadFromBytes(bytes.data(), bytes.size());
    }
  }
  // Damage that only changes values must still load: the sweep reaches the
  // writers, not only the refusals.
  EXPECT_GT(nLoaded, 50);
}

}  // namespace
