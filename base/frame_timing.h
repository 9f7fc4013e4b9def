// Frame timing over the millisecond clock: a stopwatch for one frame's work,
// an every-n-th-call counter, frames per second, the frame gate that paces
// frames, and the pacing of presented Direct3D frames. One thread at a time.
#pragma once

#include <cstdint>

void StartFrameTimer();
uint32_t GetFrameTime(int bMeasure);
bool FrameSkipCounter(int nMode, int n);
int CountFps(int bCount);
bool WaitFrameGate(int nRate);
bool PaceFrameD3D(int nRate);

// The clock tick at which WaitFrameGate, or PaceFrameD3D with the same rate,
// opens next: a paced thread sleeps until then instead of asking every
// millisecond. Meaningful once the operation has been called.
uint32_t GetFrameGateDue();
uint32_t GetPaceFrameD3DDue(int nRate);

// Whether presents go through the Direct3D face; set by the drawing context.
void SetFramePacingDirect3D(bool bDirect3D);

// Forgets every started flag and count (tests and a fresh run).
void ResetFrameTiming();
