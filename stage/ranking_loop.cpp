// The ranking display after a stage's results were entered: while the game
// thread waits in the stage-end phase, the ranking thread draws the still
// play screen with the stage's ranking table over it, the new row marked,
// until button 1; button 4 steps through the tables the kind of play ranks.
#include "base/thread.h"
#include "base/window_requests.h"
#include "draw/draw_context.h"
#include "files/play_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "scenes/ranking.h"
#include "scenes/scene_manager.h"
#include "stage/nested_loop.h"
#include "stage/play_scene.h"

namespace {

constexpr uint16_t kButton1 = 1;
constexpr uint16_t kButton4 = 8;
constexpr int kStepSound = 6;
constexpr int kCloseSound = 1;
constexpr int kListX = 184;
constexpr int kListY = 64;

}  // namespace

unsigned cPlayScene::RankingLoopProc(void* pScene) {
  cPlayScene& scene = *static_cast<cPlayScene*>(pScene);
  const int nSubMode = g_SceneManager.m_nSubMode;
  g_PlayData.StepSelection(nSubMode, 0);
  cNestedFrames frames;
  for (;;) {
    const cNestedFrames::eTurn eTurn = frames.CheckMessages();
    if (eTurn == cNestedFrames::TURN_END) return 1;
    if (eTurn == cNestedFrames::TURN_IDLE) continue;
    if (scene.RankingFrame(nSubMode, frames)) break;
  }
  PlaySE(kCloseSound);
  return 1;
}

int cPlayScene::RankingFrame(int nSubMode, cNestedFrames& frames) {
  Probe("RankingFrame");
  frames.BeginFrame(g_Input);
  cInput& input = g_Input.At(0);
  input.ApplyRepeat();
  input.TriggerButtons(0);
  if (input.m_wButton & kButton1) return 1;
  if ((input.m_wButton & kButton4) && g_SystemData.CountEnabledEntries(nSubMode) > 1) {
    PlaySE(kStepSound);
    g_PlayData.StepSelection(nSubMode, 1);
  }
  Draw(0, 1, 0, 1);
  // A table number from a saved play outside the five counts round them.
  const int nTable = ((g_PlayData.m_nRankGenre % kRankTables) + kRankTables) % kRankTables;
  g_Ranking.DrawList(&BackBuffer, kListX, kListY, nTable, m_RankPos.At(nTable));
  frames.Present();
  return 0;
}
