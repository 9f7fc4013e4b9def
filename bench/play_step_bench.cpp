// The play step's cost per frame and the stage set-up's: a typical stage (50
// characters, 2 update steps a frame; a frame's update has a budget of 0.3
// ms), a crowded one (300 characters walking into each other and the
// terrain at 10 update steps a frame; 8 ms), and the set-up of a 2000 x
// 200-cell stage with 5,000 placed objects (100 ms). The characters run
// their flows: they walk, turning at walls and ledges, jump on a condition
// and count in a status operation; in the code crowd (6 ms) each also runs a
// code line on every update step.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "play_bench_scene.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

// A stage of w x h cells: a floor with a wall every 20 columns, platforms
// high up, and nCharas characters walking along the floor between the walls
// (every fifth a flyer further up, every tenth a block character).
void BuildStage(int16_t w, int16_t h, int32_t nLevel, int nCharas, int nBlocks, int nItems,
                bool bLogic = false) {
  ResetBenchStage(w, h, nLevel);
  for (cStageParam8& rule : g_Stage.m_aRules) rule.Set(0, 0, 0, 0, 0, 0, 0, 0);
  std::mt19937 rng(23);
  const int16_t nFloor = static_cast<int16_t>(h - 1);
  for (int16_t c = 0; c < w; ++c) AddBlock(c, nFloor);
  for (int16_t c = 10; c < w; c += 20) {
    AddBlock(c, static_cast<int16_t>(nFloor - 1));
    AddBlock(c, static_cast<int16_t>(nFloor - 2));
  }
  for (int i = 0; i < nBlocks; ++i)
    AddBlock(static_cast<int16_t>(rng() % w), static_cast<int16_t>(2 + rng() % (h - 10)));
  cEdChara player;
  player.m_cOperator = 0;
  player.m_nCarriedItem = -1;
  player.m_sColumn = 2;
  player.m_sRow = static_cast<int16_t>(nFloor - 1);
  AddBenchFlows(player, bLogic);
  g_Stage.m_vecCharas.push_back(player);
  for (int i = 0; i < nCharas; ++i) {
    cEdChara def;
    def.m_nCarriedItem = -1;
    int16_t c = static_cast<int16_t>(rng() % w);
    if (c % 20 == 10) ++c;
    def.m_sColumn = c;
    def.m_cFlying = i % 5 == 0 ? 2 : 0;
    def.m_sRow = static_cast<int16_t>(def.m_cFlying ? nFloor - 5 : nFloor - 1);
    def.m_cBlockLike = i % 10 == 5 ? 1 : 0;
    def.m_cActRange = 3;  // every character acts, wherever the camera is
    AddBenchFlows(def, bLogic);
    g_Stage.m_vecCharas.push_back(def);
  }
  for (int i = 0; i < nItems; ++i) {
    cEdItem item;
    item.m_sColumn = static_cast<int16_t>(rng() % w);
    item.m_sRow = static_cast<int16_t>(rng() % (h - 1));
    item.m_sGraphic = 2;
    g_Stage.m_vecItems.push_back(item);
  }
  g_Stage.SetHitLevel(nLevel);
  CopyStageSettings(g_StageCopy, g_Stage);
}

void RunPlayFrames(benchmark::State& state) {
  cPlaying playing;
  // Past the first fall: everyone stands or walks.
  for (int i = 0; i < 60; ++i) playing.Scene().Run();
  for (auto _ : state) playing.Scene().Run();
  int nActing = 0;
  for (const cCharaObj& c : g_CharaList) nActing += c.m_nActiveNow && !c.m_nDying;
  state.counters["acting"] = nActing;
  state.counters["characters"] = static_cast<double>(g_CharaList.size());
  state.counters["steps"] = g_Stage.m_nSteps;
}

void BM_PlayFrameTypical50(benchmark::State& state) {
  BuildStage(100, 30, 2, 50, 150, 20);
  RunPlayFrames(state);
}
BENCHMARK(BM_PlayFrameTypical50)->Unit(benchmark::kMicrosecond);

void BM_PlayFrameCrowd300(benchmark::State& state) {
  BuildStage(100, 40, 10, 300, 400, 50);
  RunPlayFrames(state);
}
BENCHMARK(BM_PlayFrameCrowd300)->Unit(benchmark::kMicrosecond);

// The crowd again, each character also running a code line on every update
// step behind a status condition (6 ms).
void BM_PlayFrameCodeCrowd300(benchmark::State& state) {
  BuildStage(100, 40, 10, 300, 400, 50, true);
  RunPlayFrames(state);
}
BENCHMARK(BM_PlayFrameCodeCrowd300)->Unit(benchmark::kMicrosecond);

void BM_StageSetUp2000x200(benchmark::State& state) {
  BuildStage(2000, 200, 2, 1500, 3000 - 2000 - 2 * 100, 500);
  cPlaying playing;
  for (auto _ : state) playing.Scene().SetStage(0, 0);
  state.counters["placed"] = static_cast<double>(
      g_Stage.m_vecBlocks.size() + g_Stage.m_vecCharas.size() + g_Stage.m_vecItems.size());
  state.counters["characters"] = static_cast<double>(g_CharaList.size());
}
BENCHMARK(BM_StageSetUp2000x200)->Unit(benchmark::kMillisecond);

}  // namespace
