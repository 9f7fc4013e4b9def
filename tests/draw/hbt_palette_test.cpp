// The palette variants: which old entry each recoloured entry shows.
#include "draw/hbt_palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

TEST(HbtPaletteTest, BlocksAreTurnedOrCopied) {
  struct {
    int n;
    int nEntry;
    int nShowsOld;
  } const cases[] = {
      {0, 16, 16},   {0, 207, 207}, {3, 16, 64},  {3, 31, 79},   {3, 192, 48},  {3, 207, 63},
      {11, 16, 192}, {11, 32, 16},  {12, 16, 16}, {12, 200, 24}, {23, 16, 192}, {23, 207, 207},
      {-1, 16, 16},  {24, 16, 16},  {3, 15, 15},  {3, 208, 208}, {23, 0, 0},    {23, 255, 255},
  };
  for (const auto& c : cases) {
    std::array<uint32_t, 256> pal;
    for (int i = 0; i < 256; ++i) pal[i] = i;
    RecolourHbtBlocks(pal.data(), c.n);
    EXPECT_EQ(pal[c.nEntry], static_cast<uint32_t>(c.nShowsOld)) << c.n << " entry " << c.nEntry;
  }
}

}  // namespace
