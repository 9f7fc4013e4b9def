// Monotonic millisecond clock with a settable stand-in for tests.
#include "platform/clock/clock.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace plat {

namespace {
std::atomic<bool> g_bTestClock{false};
std::atomic<uint32_t> g_nTestMs{0};
}  // namespace

uint32_t GetTickMs() {
  if (g_bTestClock.load()) return g_nTestMs.load();
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void SleepMs(uint32_t nMs) {
  if (nMs == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
}

void SetTestClock(uint32_t nMs) {
  g_nTestMs = nMs;
  g_bTestClock = true;
}

void AdvanceTestClock(uint32_t nMs) { g_nTestMs += nMs; }

void UseRealClock() { g_bTestClock = false; }

}  // namespace plat
