// The empty scene's frame.
#include "app/empty_scene.h"

#include <atomic>
#include <vector>

#include "app/frame_timing.h"
#include "app/run_options.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "platform/present/presenter.h"

namespace {
constexpr int kFrameRate = 60;
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
std::atomic<int> g_nFramesRun{0};
}  // namespace

int RunEmptySceneFrame() {
  if (g_RunOptions.nFrames >= 0 && g_nFramesRun.load() >= g_RunOptions.nFrames) return 0;
  if (!g_RunOptions.bNoWait) {
    while (!WaitFrameGate(kFrameRate) && !plat::IsQuitting()) plat::SleepMs(1);
  }
  static const std::vector<uint32_t> black(kScreenWidth * kScreenHeight, 0);
  plat::PresentFrame(black.data(), kScreenWidth, kScreenHeight, kScreenWidth);
  ++g_nFramesRun;
  if (g_RunOptions.nFrames >= 0 && g_nFramesRun.load() >= g_RunOptions.nFrames) return 0;
  return 1;
}

int GetFramesRun() { return g_nFramesRun.load(); }

void ResetFramesRun() { g_nFramesRun = 0; }
