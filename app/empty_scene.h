// The frame of an empty scene, run by the game thread until the scene
// manager takes its place: paced to 60 frames a second, a black frame handed
// to the presenter, and the run's frame limit.
#pragma once

// 0 once the run's frame limit is reached (the program then closes).
int RunEmptySceneFrame();
int GetFramesRun();
void ResetFramesRun();
