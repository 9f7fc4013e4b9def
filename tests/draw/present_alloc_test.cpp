// The frame's way to the window allocates nothing once it runs: the
// finished back buffer is converted straight into the frame store and read
// from there by the presenter, in every drawing mode.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "base/run_options.h"
#include "draw/draw_context.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_service.h"
#include "support/draw_setup.h"

namespace {
std::atomic<bool> g_bCounting{false};
std::atomic<long> g_nAllocations{0};
}  // namespace

// Counting replacements of the allocation functions for this test program.
// They pair malloc with free on purpose; the compiler cannot tell. The
// address sanitizer keeps its own, and the count is not taken there.
#ifndef __SANITIZE_ADDRESS__
#define BRIMVALE_COUNTS_ALLOCATIONS 1
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  if (g_bCounting.load(std::memory_order_relaxed)) ++g_nAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
#endif

namespace {

struct Mode {
  int bDirect3D;
  int nBpp;
};

class PresentPath : public ::testing::TestWithParam<Mode> {};

TEST_P(PresentPath, AFrameOnItsWayToTheWindowAllocatesNothing) {
#ifndef BRIMVALE_COUNTS_ALLOCATIONS
  GTEST_SKIP() << "allocations are the sanitizer's here";
#endif
  cHeadlessDrawing drawing(GetParam().bDirect3D, GetParam().nBpp);
  ASSERT_TRUE(drawing.Ok());
  const bool bSavedNoWait = g_RunOptions.bNoWait;
  g_RunOptions.bNoWait = true;
  std::vector<uint32_t> shown;
  auto Frame = [&] {
    if (DDIsDirect3D())
      DDPresent(60, 0, 0);
    else
      DDFlipOrBltToScreen(0);
    // What the window's presenter does with it.
    plat::ShowNewFrame([](const uint32_t* p, int w, int h, void* ctx) {
      auto& v = *static_cast<std::vector<uint32_t>*>(ctx);
      if (!v.empty()) v[0] = p[size_t(w) * size_t(h) - 1];
    }, &shown);
  };
  shown.resize(1);
  Frame();
  Frame();
  g_nAllocations = 0;
  g_bCounting = true;
  for (int i = 0; i < 5; ++i) Frame();
  g_bCounting = false;
  g_RunOptions.bNoWait = bSavedNoWait;
  EXPECT_EQ(g_nAllocations.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, PresentPath,
                         ::testing::Values(Mode{1, 32}, Mode{1, 16}, Mode{0, 32}, Mode{0, 16},
                                           Mode{0, 8}));

}  // namespace
