// The stage objects' costs per update step: building the block grid of a
// 2000 x 200-cell stage at set-up (a tenth of a second is the whole budget
// of a stage start), and 300 characters tested against the grid and
// against each other, the pairs by the plain nested loops and by the binned
// walk that visits the same pairs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "files/stage_data.h"
#include "stage/pair_grid.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

void BM_BlockGridBuild2000x200(benchmark::State& state) {
  cStageData stage;
  stage.Reset();
  stage.m_nWidth = 2000;
  stage.m_nHeight = 200;
  std::mt19937 rng(7);
  for (int i = 0; i < 5000; ++i) {
    cEdBlock b;
    b.m_sColumn = static_cast<int16_t>(rng() % 2000);
    b.m_sRow = static_cast<int16_t>(rng() % 200);
    b.m_sGraphic = 1;
    if (i % 10 == 0) b.m_vecConds.resize(1);
    stage.m_vecBlocks.push_back(b);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(g_BlockPalette.Build(stage));
    benchmark::ClobberMemory();
  }
  state.counters["cells"] = g_BlockPalette.Size();
  g_BlockPalette.Clear();
}
BENCHMARK(BM_BlockGridBuild2000x200)->Unit(benchmark::kMillisecond);

// A 100 x 40-cell stage with a floor, platforms, and 300 computer
// characters scattered over it.
class cCrowd {
 public:
  cCrowd() {
    g_Stage.Reset();
    g_Stage.m_nWidth = 100;
    g_Stage.m_nHeight = 40;
    g_Stage.m_nExtentX = 120 * 32 - 640;
    g_Stage.m_nExtentY = 60 * 32 - 640;
    g_Stage.SetHitLevel(1);
    std::mt19937 rng(11);
    for (int16_t c = 0; c < 100; ++c) AddBlock(c, 39);
    for (int i = 0; i < 400; ++i)
      AddBlock(static_cast<int16_t>(rng() % 100), static_cast<int16_t>(rng() % 39));
    cScrollAxis::SetUpAxes(m_Scene.m_ScrollX, m_Scene.m_ScrollY, g_Stage);
    g_BlockPalette.Build(g_Stage);
    g_Players.clear();
    g_Players.resize(1);
    g_CharaList.clear();
    for (int i = 0; i < 300; ++i) {
      cEdChara def;
      def.m_cFlying = i % 5 == 0 ? 2 : 0;
      cCharaObj& c = g_CharaList.emplace_back();
      c.SetUp(i + 1, def, nullptr, 0, 0, 0);
      c.m_dX = 320 + static_cast<double>(rng() % 3000);
      c.m_dY = 320 + static_cast<double>(rng() % 1200);
      c.ClampX(2);
      c.ClampY(2);
      c.m_nActive = 1;
      c.m_dPushVX = (rng() % 2) ? 1.5 : -1.5;
    }
  }
  ~cCrowd() {
    g_CharaList.clear();
    g_Players.clear();
    g_BlockPalette.Clear();
  }

  // One step of every character against the grid.
  void MoveAll() {
    for (cCharaObj& c : g_CharaList) {
      c.ClearBlockContacts();
      c.m_dVX = 0;
      c.MoveX();
      m_Scene.TestBlocksX(c);
      c.ApplyGravity();
      c.MoveY();
      m_Scene.TestBlocksY(c);
      if (c.m_nTouchL || c.m_nTouchR) c.m_dPushVX = -c.m_dPushVX;
    }
  }

  static PAIRBOX Box(const cGameObj& c) {
    return {c.m_BodyBox.dLeft, c.m_BodyBox.dTop, c.m_BodyBox.dRight, c.m_BodyBox.dBottom};
  }
  static bool Takes(const cGameObj& c) { return c.m_nActive && !c.m_nDying && !c.IsBlockChara(); }

  cPlayScene m_Scene;

 private:
  static void AddBlock(int16_t c, int16_t r) {
    cEdBlock b;
    b.m_sColumn = c;
    b.m_sRow = r;
    g_Stage.m_vecBlocks.push_back(b);
  }
};

void BM_CharasAgainstTheGrid300(benchmark::State& state) {
  cCrowd crowd;
  for (auto _ : state) crowd.MoveAll();
}
BENCHMARK(BM_CharasAgainstTheGrid300)->Unit(benchmark::kMicrosecond);

void BM_CharaPairsNestedLoops300(benchmark::State& state) {
  cCrowd crowd;
  crowd.MoveAll();
  int64_t nPairs = 0;
  for (auto _ : state) {
    nPairs = 0;
    for (auto w = g_CharaList.begin(); w != g_CharaList.end(); ++w) {
      if (!cCrowd::Takes(*w)) continue;
      for (auto y = std::next(w); y != g_CharaList.end(); ++y)
        if (cCrowd::Takes(*y) && BoxesOverlap(cCrowd::Box(*w), cCrowd::Box(*y))) ++nPairs;
    }
    benchmark::DoNotOptimize(nPairs);
  }
  state.counters["pairs"] = static_cast<double>(nPairs);
}
BENCHMARK(BM_CharaPairsNestedLoops300)->Unit(benchmark::kMicrosecond);

void BM_CharaPairsBinned300(benchmark::State& state) {
  cCrowd crowd;
  crowd.MoveAll();
  cPairGrid grid;
  std::vector<cCharaObj*> vec;
  int64_t nPairs = 0;
  for (auto _ : state) {
    vec.clear();
    for (cCharaObj& c : g_CharaList) vec.push_back(&c);
    nPairs = 0;
    const int n = static_cast<int>(vec.size());
    VisitTouchingPairs(
        grid, true, [n] { return n; }, [n] { return n; },
        [&](int i) { return cCrowd::Box(*vec[static_cast<size_t>(i)]); },
        [&](int j) { return cCrowd::Box(*vec[static_cast<size_t>(j)]); },
        [&](int i, int j) {
          if (cCrowd::Takes(*vec[static_cast<size_t>(i)]) &&
              cCrowd::Takes(*vec[static_cast<size_t>(j)]))
            ++nPairs;
          return false;
        });
    benchmark::DoNotOptimize(nPairs);
  }
  state.counters["pairs"] = static_cast<double>(nPairs);
}
BENCHMARK(BM_CharaPairsBinned300)->Unit(benchmark::kMicrosecond);

}  // namespace
