// The shots' share of a combat frame: 1,500 shots in flight on the combat
// stress stage (300 characters, 10 update steps a frame), stepped, moved
// and tested against the blocks as the play step does it ten times a frame
// (shots that go are fired anew between frames, outside the timing); and
// the whole frame of that stage with its shots, and its update steps alone
// (the update has a budget of 3 ms).
#include <benchmark/benchmark.h>

#include <random>

#include "combat_bench_stage.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"

namespace {

void BM_ShotSteps1500x10(benchmark::State& state) {
  BuildCombatStage();
  cPlaying playing;
  cPlayScene& scene = playing.Scene();
  std::mt19937 rng(31);
  for (int i = 0; i < 30; ++i) scene.Run();
  for (auto _ : state) {
    state.PauseTiming();
    TopUpShots(scene, kCombatShots, rng);
    state.ResumeTiming();
    for (int nStep = 1; nStep <= g_Stage.m_nSteps; ++nStep) scene.StepShots(nStep);
  }
  state.counters["shots"] = static_cast<double>(scene.m_ShotList.size());
  state.counters["steps"] = g_Stage.m_nSteps;
}
BENCHMARK(BM_ShotSteps1500x10)->Unit(benchmark::kMicrosecond);

void BM_CombatFrame300x1500(benchmark::State& state) {
  BuildCombatStage();
  cPlaying playing;
  cPlayScene& scene = playing.Scene();
  std::mt19937 rng(37);
  for (int i = 0; i < 30; ++i) scene.Run();
  for (auto _ : state) {
    state.PauseTiming();
    TopUpShots(scene, kCombatShots, rng);
    state.ResumeTiming();
    scene.Run();
  }
  state.counters["shots"] = static_cast<double>(scene.m_ShotList.size());
  state.counters["characters"] = static_cast<double>(g_CharaList.size());
  state.counters["steps"] = g_Stage.m_nSteps;
}
BENCHMARK(BM_CombatFrame300x1500)->Unit(benchmark::kMicrosecond);

// The same frame's update steps alone, the drawing left out: the part with
// the 3 ms budget.
void BM_CombatUpdate300x1500(benchmark::State& state) {
  BuildCombatStage();
  cPlaying playing;
  cPlayScene& scene = playing.Scene();
  std::mt19937 rng(37);
  for (int i = 0; i < 30; ++i) scene.Run();
  for (auto _ : state) {
    state.PauseTiming();
    TopUpShots(scene, kCombatShots, rng);
    state.ResumeTiming();
    if (scene.m_nPhase == PLAYPHASE_PLAY)
      scene.UpdateFrame();
    else
      scene.Run();
  }
  state.counters["shots"] = static_cast<double>(scene.m_ShotList.size());
  state.counters["characters"] = static_cast<double>(g_CharaList.size());
  state.counters["steps"] = g_Stage.m_nSteps;
}
BENCHMARK(BM_CombatUpdate300x1500)->Unit(benchmark::kMicrosecond);

}  // namespace
