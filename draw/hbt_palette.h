// The colour variants of the 8-bit palette: entries 16 to 207 form twelve
// blocks of 16 colours, and the options' palette number chooses how they are
// laid out; each variant has a blend table of its own.
#pragma once

#include <algorithm>
#include <array>

constexpr int kHbtFirstEntry = 16;
constexpr int kHbtBlocks = 12;
constexpr int kHbtBlockSize = 16;
constexpr int kHbtPaletteCount = 24;

// n below 12 turns the blocks: block k shows the colours of block (k + n)
// mod 12. n from 12 to 23 gives every block the colours of block n - 12.
// Other numbers leave the palette as it is.
template <typename ENTRY>
void RecolourHbtBlocks(ENTRY* pEntries, int n) {
  if (n < 0 || n >= kHbtPaletteCount) return;
  std::array<ENTRY, kHbtBlocks * kHbtBlockSize> old;
  std::copy(pEntries + kHbtFirstEntry, pEntries + kHbtFirstEntry + old.size(), old.begin());
  for (int k = 0; k < kHbtBlocks; ++k) {
    const int nSource = n < kHbtBlocks ? (k + n) % kHbtBlocks : n - kHbtBlocks;
    std::copy(old.begin() + nSource * kHbtBlockSize, old.begin() + (nSource + 1) * kHbtBlockSize,
              pEntries + kHbtFirstEntry + k * kHbtBlockSize);
  }
}

// The 8-bit palette of number n (0 to 23): its blend table
// "bmp\hbt\hbt%s.dat" (n in at least two digits), the palette picture read
// again and its blocks laid out for n, then shown. Only in 8-bit
// DirectDraw; true at once otherwise. A missing or malformed table shows
// "%s の読み込みに失敗！" and gives false; so does a palette picture that
// cannot be read (with a debug-log line).
bool LoadHbtPalette(int n);
