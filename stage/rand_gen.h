// The game's random numbers: a linear congruential generator whose state
// belongs to one thread of play. The state is an object handed to whoever
// draws, so a nested wait loop can draw from a fresh state of its own and
// leave the game thread's sequence, which replays reproduce, untouched.
#pragma once

#include <cstdint>

class cRandGen {
 public:
  // A new thread of play starts from state 1.
  uint32_t m_nState = 1;

  void Seed(uint32_t nSeed) { m_nState = nSeed; }
  // 0..32767.
  int32_t Next() {
    m_nState = m_nState * 214013u + 2531011u;
    return static_cast<int32_t>((m_nState >> 16) & 32767u);
  }
};

// A number between a and b inclusive, the bounds in either order. The width
// of the range is taken in 64 bits: bounds from data may span more than the
// int32 range, where a 32-bit width would overflow or become 0.
int32_t RandRange(cRandGen& rng, int32_t a, int32_t b);
