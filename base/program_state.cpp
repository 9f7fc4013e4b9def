// Program-wide start-up state.
#include "base/program_state.h"

int bTestPlay = 0;
std::atomic<unsigned char> bGameStarted{0};
std::atomic<int> bAppActive{0};
std::atomic<plat::WndHandle> g_hMainWnd{nullptr};

int bWindowed = 1;
int nScreenBpp = 16;
int bPresentByBlit = 0;
int bCommandLineStage = 0;

void PostFatalClose() { plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0); }
