// The run's frame limit (--frames N): the game loop closes the program once
// that many frames have run.
#pragma once

bool IsFrameLimitReached();
void CountFrameRun();
int GetFramesRun();
void ResetFramesRun();
