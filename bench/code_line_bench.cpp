// A typical code line interpreted from its text, as the code command runs
// it on every update step: five operators, a bracket group, a "rand" call
// and status reads (budget 2 us).
#include <benchmark/benchmark.h>

#include <string>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "play_bench_scene.h"
#include "stage/code_eval.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"

namespace {

void BuildCodeStage() {
  ResetBenchStage(20, 15, 1);
  for (int16_t c = 0; c < 20; ++c) AddBlock(c, 14);
  cEdChara player;
  player.m_cOperator = 0;
  player.m_nCarriedItem = -1;
  player.m_sColumn = 3;
  player.m_sRow = 13;
  player.m_nMaxHP = 50;
  g_Stage.m_vecCharas.push_back(player);
  g_Stage.SetHitLevel(1);
  CopyStageSettings(g_StageCopy, g_Stage);
}

void RunLine(benchmark::State& state, const std::string& strLine) {
  BuildCodeStage();
  cPlaying playing;
  cPlayerObj& player = g_Players.At(0);
  int nOk = 0;
  for (auto _ : state) {
    nOk += RunCode(playing.Scene(), strLine, player);
    player.m_vecCharaVar.At(1) = 0;
  }
  state.counters["ran"] = benchmark::Counter(nOk, benchmark::Counter::kAvgIterations);
}

void BM_CodeLineTypical(benchmark::State& state) {
  RunLine(state, "v1 = (v2 + 3) * rand(1, 6) - hp / 2");
}
BENCHMARK(BM_CodeLineTypical);

// The same work without brackets or calls: the second pass alone.
void BM_CodeLineFlat(benchmark::State& state) { RunLine(state, "v1 = v2 + 3 * 4 - hp / 2 % 7"); }
BENCHMARK(BM_CodeLineFlat);

}  // namespace
