// A typical stage frame with its drawing (50 characters, 100 effects, two
// background layers, the status bar; Direct3D 32-bit; a budget of 1 ms for
// update and draw), the same with the frame handed to the window, and the
// same with the pixels left out as a run without a window leaves them; then
// only the drawing and the present of such a frame, and a frame of the
// waiting loop over it (input, the wait's count, the still drawing and the
// present), which must cost no more. The pictures are real ones (the
// benchmark sheet, a quarter of it keyed).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "base/run_options.h"
#include "database/database.h"
#include "database/post_load_tables.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "draw_bench_library.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "play_bench_scene.h"
#include "scenes/scene_manager.h"
#include "stage/nested_loop.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

namespace {

constexpr int kCharas = 50;
constexpr int kEffects = 100;

// Two screens wide, a floor and platforms, the characters on screen, two
// picture backgrounds (one behind, one in front) and the status bar.
void BuildStage() {
  const int16_t w = 40, h = 15;
  ResetBenchStage(w, h, 2);
  g_Stage.m_bStatusBar = 1;
  for (int16_t c = 0; c < w; ++c) AddBlock(c, h - 1);
  for (int16_t c = 4; c < w; c += 7) AddBlock(c, h - 5);
  cEdChara player;
  player.m_cOperator = 0;
  player.m_nCarriedItem = -1;
  player.m_sColumn = 2;
  player.m_sRow = h - 2;
  AddBenchFlows(player, false);
  g_Stage.m_vecCharas.push_back(player);
  std::mt19937 rng(7);
  for (int i = 0; i < kCharas; ++i) {
    cEdChara def;
    def.m_nCarriedItem = -1;
    def.m_sColumn = static_cast<int16_t>(1 + rng() % 19);
    def.m_sRow = h - 2;
    def.m_cActRange = 3;
    AddBenchFlows(def, false);
    g_Stage.m_vecCharas.push_back(def);
  }
  g_Stage.m_vecBgs.resize(2);
  for (int i = 0; i < 2; ++i) {
    cStageBg& bg = g_Stage.m_vecBgs[i];
    bg.m_bFill = 0;
    bg.m_nPass = i;
    bg.m_dFactorX = bg.m_dFactorY = 0.5 * (i + 1);
  }
  g_Stage.SetHitLevel(2);
  CopyStageSettings(g_StageCopy, g_Stage);
  for (cStatusItem& item : g_SystemData.m_vStatusItems) {
    item.m_bShow = 1;
    item.m_bIcon = 1;
  }
}

// A picture of the benchmark library's sprite sheet over the whole of a
// surface, tiled, its keyed pixels left transparent: what the play draws
// is real pictures, not blank surfaces that every blit passes over.
void PaintPicture(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpSheet) {
  for (int y = 0; y < lpSD->nHeight; y += lpSheet->nHeight)
    for (int x = 0; x < lpSD->nWidth; x += lpSheet->nWidth)
      DDBlt(lpSD, x, y, lpSheet->nWidth, lpSheet->nHeight, lpSheet, 0, 0, 0);
}

// The play's pictures at their real sizes.
struct cPictures {
  explicit cPictures(DDSURFACEDATA* lpSheet) {
    // 4, 5 and 22, 23: the first character sheet, both facings, and their
    // copies that stretched and effect blits read.
    const int kSizes[][3] = {{2, 512, 512},  {4, 512, 512},  {5, 512, 512},  {22, 512, 512},
                             {23, 512, 512}, {43, 256, 256}, {46, 640, 20},  {49, 256, 256},
                             {51, 512, 256}, {55, 640, 480}, {56, 640, 480}, {63, 256, 960},
                             {64, 256, 960}, {67, 640, 480}};
    for (const auto& s : kSizes) {
      DDCreateSurface(&g_SurfaceTable[s[0]], s[1], s[2], 1, 0, 0, 0, 0);
      PaintPicture(&g_SurfaceTable[s[0]], lpSheet);
      m_vEntries.push_back(s[0]);
    }
  }
  ~cPictures() {
    for (int n : m_vEntries) DDReleaseSurface(&g_SurfaceTable[n]);
  }
  std::vector<int> m_vEntries;
};

// The effects on screen, kept at their number: a 32 x 32 effect of four
// cells of a tenth of a second each, put back over the screen as each one
// ends; nMade counts those made, to spread them over the screen.
void KeepEffects(cPlayScene& scene, int& nMade) {
  while (scene.m_EffectList.size() < static_cast<size_t>(kEffects)) {
    const int i = nMade++;
    scene.m_EffectList.emplace_back();
    scene.m_EffectList.back().Init(1, scene.m_ScrollX.m_dPos + (i * 61) % 608,
                                   scene.m_ScrollY.m_dPos + (i * 37) % 448, 32, 32, 0);
  }
}

// The effect the benchmark shows, in place of the database's for as long
// as it runs; made after the play scene loaded its (missing) images.
class cBenchEffect {
 public:
  cBenchEffect() : m_Saved(Database.m_vecEffect) {
    Database.m_vecEffect.resize(2);
    cEdEffect& entry = Database.m_vecEffect.At(1);
    entry.m_nCellW = entry.m_nCellH = 32;
    entry.m_bScale = 0;
    entry.m_vecFrame.clear();
    for (int32_t c = 0; c < 4; ++c) {
      cEdEffectFrame frame;
      frame.m_nCell = c;
      frame.m_nTime = 1;
      entry.m_vecFrame.push_back(frame);
    }
    BuildEffectFrameTable(g_EffectFrameTable);
    // In place of what the scene loaded for the database's own effects.
    Release();
    for (int i = 0; i < 2; ++i)
      DDPushSurface(g_EffectSurfaces, g_EffectImages, 128, 32, 1, i, i, 0);
  }
  // Real pictures in the effect's cells.
  void Paint(DDSURFACEDATA* lpSheet) {
    for (DDSURFACEDATA& sd : g_EffectSurfaces) PaintPicture(&sd, lpSheet);
  }
  ~cBenchEffect() {
    Release();
    Database.m_vecEffect = m_Saved;
    BuildEffectFrameTable(g_EffectFrameTable);
  }

 private:
  static void Release() {
    DDReleaseSurfaceVector(g_EffectSurfaces);
    g_EffectSurfaces.clear();
    g_EffectImages.clear();
  }

  cSafeVector<cEdEffect> m_Saved;
};

enum eFrame {
  FRAME_RUN,             // the scene's frame
  FRAME_RUN_PRESENTED,   // and the present
  FRAME_RUN_NO_PIXELS,   // both, pixels left out
  FRAME_DRAW_PRESENTED,  // the play's drawing and the present alone
  FRAME_WAIT,            // a frame of the waiting loop
};

void PlayFrames(benchmark::State& state, eFrame eKind) {
  drawbench::cLibrary library(1, 32);
  if (!library.Ok(state)) return;
  cPictures pictures(&library.m_Sheet);
  BuildStage();
  const cRunOptions saved = g_RunOptions;
  g_RunOptions.bNoWait = true;
  g_RunOptions.bHeadless = eKind == FRAME_RUN_NO_PIXELS;
  {
    cPlaying playing;
    cBenchEffect effect;
    effect.Paint(&library.m_Sheet);
    cPlayScene& scene = playing.Scene();
    int nEffectsMade = 0;
    for (int i = 0; i < 60; ++i) {
      KeepEffects(scene, nEffectsMade);
      scene.Run();
    }
    WAITDATA wait{WAIT_GAME, 0, 0, INT32_MAX, 0};
    cSafeVector<cInput> inputs = g_Input;
    cNestedFrames frames;
    for (auto _ : state) {
      KeepEffects(scene, nEffectsMade);
      DDBeginScene();
      switch (eKind) {
        case FRAME_DRAW_PRESENTED:
          scene.Draw(1, 0, 1, 1);
          g_SceneManager.Present();
          break;
        case FRAME_WAIT:
          scene.WaitFrame(wait, inputs, frames);
          break;
        default:
          scene.Run();
          if (eKind != FRAME_RUN) DDPresent(60, 0, 0);
          break;
      }
    }
    state.counters["characters"] = static_cast<double>(g_CharaList.size());
    int nShown = 0;
    for (const cEffectObj& e : scene.m_EffectList) nShown += e.m_nEffect == 1;
    state.counters["effects"] = nShown;
  }
  g_RunOptions = saved;
}

void BM_PlayFrameDrawnD3D32(benchmark::State& state) { PlayFrames(state, FRAME_RUN); }
BENCHMARK(BM_PlayFrameDrawnD3D32)->Unit(benchmark::kMicrosecond);

void BM_PlayFramePresentedD3D32(benchmark::State& state) { PlayFrames(state, FRAME_RUN_PRESENTED); }
BENCHMARK(BM_PlayFramePresentedD3D32)->Unit(benchmark::kMicrosecond);

void BM_PlayFrameWithoutPixels(benchmark::State& state) { PlayFrames(state, FRAME_RUN_NO_PIXELS); }
BENCHMARK(BM_PlayFrameWithoutPixels)->Unit(benchmark::kMicrosecond);

void BM_PlayDrawPresentedD3D32(benchmark::State& state) { PlayFrames(state, FRAME_DRAW_PRESENTED); }
BENCHMARK(BM_PlayDrawPresentedD3D32)->Unit(benchmark::kMicrosecond);

void BM_WaitFramePresentedD3D32(benchmark::State& state) { PlayFrames(state, FRAME_WAIT); }
BENCHMARK(BM_WaitFramePresentedD3D32)->Unit(benchmark::kMicrosecond);

}  // namespace
