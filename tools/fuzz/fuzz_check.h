// What every fuzz entry shares: the check that what a loader accepted holds
// together. Under libFuzzer a broken invariant stops the run as a crash, so
// it becomes a finding; the normal tests install a handler that fails the
// test instead, with the invariant's words.
#pragma once

namespace fuzz {

using CHECKFAILPROC = void (*)(const char* szWhat);

inline CHECKFAILPROC& CheckFailProc() {
  static CHECKFAILPROC pfn = nullptr;
  return pfn;
}

inline void Check(bool bHolds, const char* szWhat) {
  if (bHolds) return;
  if (CHECKFAILPROC pfn = CheckFailProc()) {
    pfn(szWhat);
    return;
  }
  __builtin_trap();
}

}  // namespace fuzz
