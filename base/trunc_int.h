// Double to int32 as the x86 conversion instruction does it: toward zero,
// and INT_MIN for NaN and for every value outside the int32 range. A plain
// cast is undefined there, and positions, speeds and cell indexes are
// converted everywhere in play, so every such conversion goes through here.
#pragma once

#include <cstdint>
#include <limits>

inline int32_t TruncI32(double d) {
  // The bounds are exact doubles; a NaN fails both comparisons.
  if (d > -2147483649.0 && d < 2147483648.0) return static_cast<int32_t>(d);
  return std::numeric_limits<int32_t>::min();
}
