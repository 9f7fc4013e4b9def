// The stage's music request.
#include "stage/stage_music.h"

#include "base/program_state.h"
#include "base/window_requests.h"

std::atomic<int32_t> nStageMusic{0};
std::atomic<int32_t> bStageMusicLoop{0};

void PlayStageMusic(int nMusic, int bLoop) {
  bStageMusicLoop = bLoop;
  plat::SendMessage(g_hMainWnd.load(), WM_PLAYBGM, 4, nMusic);
}
