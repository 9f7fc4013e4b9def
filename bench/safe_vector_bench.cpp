// Checked element access against a plain subscript: the good path is used in
// every per-frame loop, so it must cost what a subscript costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "base/safe_vector.h"

namespace {

constexpr int kElements = 4096;

void BM_VectorSubscript(benchmark::State& state) {
  cSafeVector<int32_t> v(kElements, 1);
  for (auto _ : state) {
    int32_t nSum = 0;
    for (int i = 0; i < kElements; ++i) nSum += v[i];
    benchmark::DoNotOptimize(nSum);
  }
}
BENCHMARK(BM_VectorSubscript);

void BM_VectorCheckedAt(benchmark::State& state) {
  cSafeVector<int32_t> v(kElements, 1);
  for (auto _ : state) {
    int32_t nSum = 0;
    for (int i = 0; i < kElements; ++i) nSum += v.At(i);
    benchmark::DoNotOptimize(nSum);
  }
}
BENCHMARK(BM_VectorCheckedAt);

// Indexes read from data, as the frame loops use them.
std::vector<int> ScatteredIndexes() {
  std::vector<int> idx(kElements);
  uint32_t n = 12345;
  for (int& i : idx) {
    n = n * 214013u + 2531011u;
    i = static_cast<int>((n >> 16) % kElements);
  }
  return idx;
}

void BM_ScatteredSubscript(benchmark::State& state) {
  cSafeVector<int32_t> v(kElements, 1);
  std::vector<int> idx = ScatteredIndexes();
  for (auto _ : state) {
    int32_t nSum = 0;
    for (int i : idx) nSum += v[i];
    benchmark::DoNotOptimize(nSum);
  }
}
BENCHMARK(BM_ScatteredSubscript);

void BM_ScatteredCheckedAt(benchmark::State& state) {
  cSafeVector<int32_t> v(kElements, 1);
  std::vector<int> idx = ScatteredIndexes();
  for (auto _ : state) {
    int32_t nSum = 0;
    for (int i : idx) nSum += v.At(i);
    benchmark::DoNotOptimize(nSum);
  }
}
BENCHMARK(BM_ScatteredCheckedAt);

}  // namespace
