// Starting play from a stage or replay file: from a file named on the
// command line (or System.ini's "FreeStage"), from the stage chooser, and
// again from the play scene when a command-line stage ends.
#pragma once

// 1 when play could start, 0 when it could not (the reasons are reported).
int StartStageFile(const char* szPath, int bNewest);
