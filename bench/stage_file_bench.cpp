// Reading and writing a large stage: a grid of 2000 x 200 cells with 5,000
// placed blocks, 5,000 characters (each with flows) and 5,000 items. A stage
// is read (and normalised) at every stage start and restart; the read must
// stay well inside a frame budget of a tenth of a second, and so must a
// write (replays write the stage body).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "files/stage_data.h"
#include "flow/flow.h"

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 200;
constexpr int kPlaced = 5000;

cFlow SampleFlow(uint8_t cTrigger) {
  cFlow flow;
  flow.m_cTrigger = cTrigger;
  flow.m_vecConds.resize(1);
  flow.m_vecKeys.resize(2);
  for (uint8_t cKind : {1, 9, 22}) {
    cFlowCmd cmd;
    cmd.m_cKind = cKind;
    cmd.m_sTime = 10;
    flow.m_vecCmds.push_back(cmd);
  }
  return flow;
}

cStageData LargeStage() {
  cStageData s;
  s.m_strName = "large";
  s.m_nWidth = kWidth;
  s.m_nHeight = kHeight;
  s.m_nExtentX = kWidth * 32;
  s.m_nExtentY = kHeight * 32;
  s.m_vecPalCharas.resize(4);
  s.m_vecPalCharas[3].m_vecFlows = {SampleFlow(0), SampleFlow(3)};
  for (int i = 0; i < kPlaced; ++i) {
    cEdBlock block;
    block.m_sColumn = static_cast<int16_t>(i % kWidth);
    block.m_sRow = static_cast<int16_t>(kHeight - 1 - i / kWidth);
    block.m_sGraphic = static_cast<int16_t>(1 + i % 50);
    s.m_vecBlocks.push_back(block);

    cEdChara chara;
    chara.m_cOperator = i == 0 ? 0 : 1;
    chara.m_nCarriedItem = -1;
    chara.m_sColumn = static_cast<int16_t>((i * 7) % kWidth);
    chara.m_sRow = static_cast<int16_t>(i % (kHeight - 2));
    chara.m_vecFlows = {SampleFlow(0), SampleFlow(static_cast<uint8_t>(1 + i % 20))};
    s.m_vecCharas.push_back(chara);

    cEdItem item;
    item.m_sColumn = static_cast<int16_t>((i * 13) % kWidth);
    item.m_sRow = static_cast<int16_t>(i % kHeight);
    item.m_sGraphic = 3;
    item.m_vecCmds.resize(1);
    item.m_vecCmds[0].m_cCmdSet = 1;
    item.m_vecCmds[0].m_cKind = 2;
    s.m_vecItems.push_back(item);
  }
  s.m_vecTexts.assign(kStageTextCount, cStageText("text"));
  return s;
}

// The stage as a file that has been through one reading already, as every
// file the editor writes is.
const std::vector<uint8_t>& LargeStageFile() {
  static const std::vector<uint8_t> file = [] {
    cStageData built = LargeStage();
    std::vector<uint8_t> first = built.SaveToBytes();
    cStageData settled;
    settled.LoadFromBytes(first.data(), first.size());
    return settled.SaveToBytes();
  }();
  return file;
}

void BM_StageReadAndNormalize(benchmark::State& state) {
  const std::vector<uint8_t>& file = LargeStageFile();
  for (auto _ : state) {
    cStageData stage;
    if (!stage.LoadFromBytes(file.data(), file.size())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(stage.m_vecCharas.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_StageReadAndNormalize)->Unit(benchmark::kMillisecond);

void BM_StageWrite(benchmark::State& state) {
  const std::vector<uint8_t>& file = LargeStageFile();
  cStageData stage;
  stage.LoadFromBytes(file.data(), file.size());
  for (auto _ : state) {
    std::vector<uint8_t> out = stage.SaveToBytes();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_StageWrite)->Unit(benchmark::kMillisecond);

}  // namespace
