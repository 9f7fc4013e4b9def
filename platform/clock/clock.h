// The program's millisecond clock: monotonic, 32 bits wide like the old
// multimedia timer (it wraps after 49.7 days; compare by signed difference).
// Tests replace it with a clock they set by hand.
#pragma once

#include <cstdint>

namespace plat {

uint32_t GetTickMs();

// Sleeps the calling thread; always real time, also with a test clock.
void SleepMs(uint32_t nMs);

// Test clock: while enabled GetTickMs returns the set value.
void SetTestClock(uint32_t nMs);
void AdvanceTestClock(uint32_t nMs);
void UseRealClock();

}  // namespace plat
