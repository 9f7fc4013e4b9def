// The armed faults: a small table under a mutex, with one atomic counter so
// that the common case (nothing armed) stays a single load.
#include "platform/gfx/fault_hooks.h"

#include <array>
#include <atomic>
#include <mutex>

namespace plat::gfx {

namespace {

struct FAULT {
  int nShots = 0;  // < 0: until cleared
  eGfxResult Result = eGfxResult::Fail;
};

std::mutex g_FaultMutex;
std::array<FAULT, size_t(eFaultPoint::Count)> g_Faults;
std::atomic<int> g_nArmed{0};

void RecountLocked() {
  int n = 0;
  for (const FAULT& f : g_Faults) n += f.nShots != 0 ? 1 : 0;
  g_nArmed.store(n, std::memory_order_relaxed);
}

}  // namespace

void FailNext(eFaultPoint point, eGfxResult result, int nTimes) {
  if (point >= eFaultPoint::Count) return;
  std::lock_guard<std::mutex> lock(g_FaultMutex);
  g_Faults[size_t(point)] = {nTimes, result};
  RecountLocked();
}

void ClearFault(eFaultPoint point) {
  if (point >= eFaultPoint::Count) return;
  std::lock_guard<std::mutex> lock(g_FaultMutex);
  g_Faults[size_t(point)] = {};
  RecountLocked();
}

void ClearAllFaults() {
  std::lock_guard<std::mutex> lock(g_FaultMutex);
  g_Faults.fill({});
  RecountLocked();
}

std::optional<eGfxResult> TakeFault(eFaultPoint point) {
  if (g_nArmed.load(std::memory_order_relaxed) == 0 || point >= eFaultPoint::Count) return {};
  std::lock_guard<std::mutex> lock(g_FaultMutex);
  FAULT& f = g_Faults[size_t(point)];
  if (f.nShots == 0) return {};
  const eGfxResult r = f.Result;
  if (f.nShots > 0 && --f.nShots == 0) RecountLocked();
  return r;
}

}  // namespace plat::gfx
