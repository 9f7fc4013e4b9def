// Frame timing. Times are the 32-bit millisecond clock; every "earlier" or
// "later" is a signed difference, so the clock's wrap changes nothing.
#include "base/frame_timing.h"

#include <cmath>

#include "platform/clock/clock.h"

namespace {

struct cStopwatch {
  uint32_t dwStart = 0;
  uint32_t dwLast = 1;
} g_Stopwatch;

int g_nSkipCount = 0;

struct cFps {
  bool bStarted = false;
  uint32_t dwSecondStart = 0;
  int nCount = 0;
  int nLast = 0;
} g_Fps;

struct cGate {
  bool bStarted = false;
  uint32_t dwDue = 0;
} g_Gate;

struct cD3DPace {
  bool bStarted = false;
  uint32_t dwSecondStart = 0;
  int nFrame = 0;
} g_D3DPace;

bool g_bDirect3D = false;

}  // namespace

void StartFrameTimer() { g_Stopwatch.dwStart = plat::GetTickMs(); }

uint32_t GetFrameTime(int bMeasure) {
  if (bMeasure) g_Stopwatch.dwLast = plat::GetTickMs() - g_Stopwatch.dwStart;
  return g_Stopwatch.dwLast;
}

bool FrameSkipCounter(int nMode, int n) {
  if (nMode == 0) {
    g_nSkipCount = 0;
    return false;
  }
  if (nMode == 2) return g_nSkipCount == 0;
  ++g_nSkipCount;
  if (static_cast<unsigned>(g_nSkipCount) < static_cast<unsigned>(n)) return false;
  g_nSkipCount = 0;
  return true;
}

int CountFps(int bCount) {
  if (!g_Fps.bStarted) {
    g_Fps.bStarted = true;
    g_Fps.dwSecondStart = plat::GetTickMs();
  }
  if (!bCount) return g_Fps.nLast;
  uint32_t dwNow = plat::GetTickMs();
  if (dwNow - g_Fps.dwSecondStart >= 1000) {
    // The call that closes a second is counted in neither second.
    g_Fps.dwSecondStart = dwNow;
    g_Fps.nLast = g_Fps.nCount;
    g_Fps.nCount = 0;
    return g_Fps.nLast;
  }
  ++g_Fps.nCount;
  return g_Fps.nLast;
}

bool WaitFrameGate(int nRate) {
  if (!g_Gate.bStarted) {
    g_Gate.bStarted = true;
    g_Gate.dwDue = plat::GetTickMs();
  }
  uint32_t dwNow = plat::GetTickMs();
  if (nRate == 0) return true;
  if (static_cast<int32_t>(dwNow - g_Gate.dwDue) < 0) return false;
  // The next frame is due a whole interval after this one opened: 16 ms at
  // 60 frames, and time lost in a slow frame is not made up.
  g_Gate.dwDue = dwNow + static_cast<uint32_t>(1000 / nRate);
  return true;
}

bool PaceFrameD3D(int nRate) {
  if (!g_bDirect3D || nRate == 0) return true;
  if (!g_D3DPace.bStarted) {
    g_D3DPace.bStarted = true;
    g_D3DPace.dwSecondStart = plat::GetTickMs();
    g_D3DPace.nFrame = 0;
  }
  uint32_t dwNow = plat::GetTickMs();
  double dElapsed = static_cast<int32_t>(dwNow - g_D3DPace.dwSecondStart);
  double dDue = (1000.0 / nRate) * g_D3DPace.nFrame;
  if (dDue > dElapsed) return false;
  if (++g_D3DPace.nFrame >= nRate) {
    g_D3DPace.nFrame = 0;
    g_D3DPace.dwSecondStart = dwNow;
  }
  return true;
}

uint32_t GetFrameGateDue() { return g_Gate.dwDue; }

uint32_t GetPaceFrameD3DDue(int nRate) {
  if (nRate <= 0) return g_D3DPace.dwSecondStart;
  // The first whole millisecond at which the frame is no longer early.
  const double dDue = std::ceil((1000.0 / nRate) * g_D3DPace.nFrame);
  return g_D3DPace.dwSecondStart + static_cast<uint32_t>(dDue);
}

void SetFramePacingDirect3D(bool bDirect3D) { g_bDirect3D = bDirect3D; }

void ResetFrameTiming() {
  g_Stopwatch = cStopwatch{};
  g_nSkipCount = 0;
  g_Fps = cFps{};
  g_Gate = cGate{};
  g_D3DPace = cD3DPace{};
}
