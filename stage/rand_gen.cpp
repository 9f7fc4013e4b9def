#include "stage/rand_gen.h"

int32_t RandRange(cRandGen& rng, int32_t a, int32_t b) {
  if (b < a) {
    const int32_t t = a;
    a = b;
    b = t;
  }
  const int64_t nWidth = static_cast<int64_t>(b) - a + 1;
  const int64_t r = rng.Next();
  return static_cast<int32_t>(a + r % nWidth);
}
