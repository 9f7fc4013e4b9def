// The stage's music request.
#include "stage/stage_music.h"

#include "app/main_window.h"

std::atomic<int32_t> nStageMusic{0};
std::atomic<int32_t> bStageMusicLoop{0};

void PlayStageMusic(int nMusic, int bLoop) {
  bStageMusicLoop = bLoop;
  plat::SendMessage(g_MainWindow.m_hWnd, WM_PLAYBGM, 4, nMusic);
}
