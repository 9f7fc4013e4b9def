// The program's life: the entry routine with the single-running-copy rule,
// the window thread's message loop, the game thread's loop and the release
// of everything at the end.
#pragma once

// Show mode of a test play started by the kit's editor.
constexpr int kShowModeTestPlay = 5;
constexpr int kShowModeNormal = 1;

// The program's version, as the report log and --version give it.
constexpr const char* kAppVersion = "783";

// szCmdLine: the stage or replay file (CP932), or empty. Returns the exit
// code of the final WM_QUIT, or 0 when the program ends during start-up.
int WinMain(const char* szCmdLine, int nCmdShow);
bool InitGame(const char* szCmdLine, int nCmdShow);
void UnInitGame();
unsigned GameLoop(void* pArg);
void SuspendAllThreads();
void ResumeAllThreads();
