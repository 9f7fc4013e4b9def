// The hit passes of a combat frame on the combat stress stage (300
// characters, 1,500 shots in flight, 10 update steps a frame): the passes
// run ten times, as the frame's steps run them, with the broad phase and
// with the plain nested loops it is held to.
#include <benchmark/benchmark.h>

#include <random>

#include "combat_bench_stage.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"

namespace {

void RunHitPasses(benchmark::State& state, bool bBroad) {
  BuildCombatStage();
  cPlaying playing;
  cPlayScene& scene = playing.Scene();
  scene.m_Hits.m_bBroadPhase = bBroad;
  std::mt19937 rng(41);
  for (int i = 0; i < 30; ++i) scene.Run();
  for (auto _ : state) {
    state.PauseTiming();
    TopUpShots(scene, kCombatShots, rng);
    // A frame's worth of motion between the passes, outside the timing.
    scene.Run();
    TopUpShots(scene, kCombatShots, rng);
    state.ResumeTiming();
    for (int32_t nStep = 1; nStep <= g_Stage.m_nSteps; ++nStep) {
      scene.m_nStepNo = nStep;
      benchmark::DoNotOptimize(scene.CheckAttackHits());
    }
  }
  state.counters["shots"] = static_cast<double>(scene.m_ShotList.size());
  state.counters["characters"] = static_cast<double>(g_CharaList.size());
}

void BM_AttackHits300x1500Binned(benchmark::State& state) { RunHitPasses(state, true); }
BENCHMARK(BM_AttackHits300x1500Binned)->Unit(benchmark::kMicrosecond);

void BM_AttackHits300x1500NestedLoops(benchmark::State& state) { RunHitPasses(state, false); }
BENCHMARK(BM_AttackHits300x1500NestedLoops)->Unit(benchmark::kMicrosecond);

}  // namespace
