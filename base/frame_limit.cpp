// The run's frame limit.
#include "base/frame_limit.h"

#include <atomic>

#include "base/run_options.h"

namespace {
std::atomic<int> g_nFramesRun{0};
}

bool IsFrameLimitReached() {
  return g_RunOptions.nFrames >= 0 && g_nFramesRun.load() >= g_RunOptions.nFrames;
}

void CountFrameRun() { ++g_nFramesRun; }

int GetFramesRun() { return g_nFramesRun.load(); }

void ResetFramesRun() { g_nFramesRun = 0; }
