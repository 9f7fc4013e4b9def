// The waiting loop: while a wait stops the play (a game wait, a message
// waiting for a button or a time, an effect or a picture shown for a time,
// the extra-life notice) the game thread stays inside the step that started
// it, and the pause thread draws the play screen still, frame by frame,
// until the wait's button is pressed or its frames are out.
#include <climits>

#include "base/logs.h"
#include "base/program_state.h"
#include "base/thread.h"
#include "base/window_requests.h"
#include "files/replay_requests.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "stage/nested_loop.h"
#include "stage/play_scene.h"
#include "stage/text_obj.h"

namespace {

constexpr uint16_t kButton1 = 1;
constexpr int kMessageEndSound = 12;
constexpr int kWaitEndSound = 1;
// A close requested while the loop runs ends it at once (the close posts
// WM_QUIT, which the loop's queue keeps from the moment the loop begins);
// should that message be lost all the same, the loop leaves on its own then
// and says so in the report.
constexpr int32_t kCloseGraceMs = 2000;

}  // namespace

void cPlayScene::RunWait(int bPostStart) {
  if (!m_bCloseRequest.load()) RunNestedLoop(thPause, &cPlayScene::WaitLoopProc, this, bPostStart);
  // A close that came too late for the loop to see (the wait had just ended
  // on its own) is told all the same: the play may leave its play phase
  // after the wait, and only the play phase looks at the request itself.
  if (m_bCloseRequest.load()) PassOnClose();
}

void cPlayScene::PassOnClose() {
  int32_t nAsked = CLOSE_ASKED;
  if (m_bCloseRequest.compare_exchange_strong(nAsked, CLOSE_PASSED_ON))
    plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
}

unsigned cPlayScene::WaitLoopProc(void* pScene) {
  cPlayScene& scene = *static_cast<cPlayScene*>(pScene);
  if (scene.m_bCloseRequest.load()) return 0;
  scene.Probe("WaitLoop");
  // The loop reads the pad into records of its own: the play's input, and
  // the key log it feeds, are left as the step found them.
  cSafeVector<cInput> inputs = g_Input;
  cInput& input = inputs.At(0);
  input.ClearHistory();
  input.TrimLogs();
  input.Reset();
  input.ClearButtons();
  // The loop counts on a record of its own and shows it in the scene's
  // after every frame: a wait asked for meanwhile (and left out) cannot
  // change the one that runs, and the next wait finds what this one left.
  WAITDATA wait = scene.m_Wait;
  cNestedFrames frames;
  bool bCloseSeen = false;
  uint32_t dwCloseSeen = 0;
  bool bGuardPosted = false;
  for (;;) {
    const cNestedFrames::eTurn eTurn = frames.CheckMessages();
    if (eTurn == cNestedFrames::TURN_END) break;
    if (eTurn == cNestedFrames::TURN_IDLE) continue;
    if (scene.m_bCloseRequest.load()) {
      const uint32_t dwNow = plat::GetTickMs();
      if (!bCloseSeen) {
        bCloseSeen = true;
        dwCloseSeen = dwNow;
      } else if (!bGuardPosted && static_cast<int32_t>(dwNow - dwCloseSeen) >= kCloseGraceMs) {
        bGuardPosted = true;
        ReportF("a close did not reach the waiting loop: the wait ends late");
        plat::PostThreadMessage(plat::GetCurrentThreadId(), plat::WM_QUIT, 0, 0);
      }
      plat::SleepMs(1);
      continue;
    }
    const int bEnded = scene.WaitFrame(wait, inputs, frames);
    scene.m_Wait = wait;
    if (bEnded) break;
  }
  return 1;
}

int cPlayScene::WaitFrame(WAITDATA& wait, cSafeVector<cInput>& inputs, cNestedFrames& frames) {
  Probe("WaitFrame");
  frames.BeginFrame(inputs);
  cInput& input = inputs.At(0);
  input.PushHistory();
  input.TriggerButtons(0);
  if (CheckReplaySaveKey(IsReplay() ? 1 : 0)) return 0;
  if (StepWait(wait, input)) return 1;
  Draw(0, 1, 0, 1);
  frames.Present();
  return 0;
}

int cPlayScene::StepWait(WAITDATA& wait, const cInput& input) {
  if (wait.nDelay > 0) {
    --wait.nDelay;
    return 0;
  }
  if (wait.bButton) {
    // A press: down now, up the frame before. A button held when the wait
    // began does not end it.
    if (!(input.m_wButton & kButton1) || (input.GetPastValue(1, 1) & kButton1)) return 0;
    PlaySE(wait.nKind == WAIT_MESSAGE ? kMessageEndSound : kWaitEndSound);
    // The press that ended the wait is no press of the play.
    m_bHoldButton = 1;
    return 1;
  }
  // Frames from data may be anything: a count that is out ends the wait
  // rather than wrapping round to the longest wait there is.
  if (wait.nFrames <= 0) {
    wait.nFrames = -1;
    return 1;
  }
  --wait.nFrames;
  return 0;
}

void cPlayScene::GameWait(int32_t nFrames) {
  // A bare timer of the wait's length stands in the texts meanwhile.
  cTextObj& timer = m_TextList.emplace_back();
  timer.Setup(TEXTKIND_TIMER, nullptr, 0, 0, 0, TEXTPOS_SCREEN_CENTRE, 0, 0, 0, 0, 0, 0,
              TEXTSHOW_TIMED, nFrames, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  m_Wait = WAITDATA{WAIT_GAME, 0, 0, nFrames, 0};
  RunWait(0);
  RemoveText(&timer);
}
