// Hostile-input sweeps shared by the record tests: a file cut at every
// length, and every 4-byte window overwritten with huge counts. Neither may
// crash or allocate what the file cannot hold; a cut file must fail.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/byte_builder.h"

template <typename T>
void ExpectTruncationFails(const std::vector<uint8_t>& file) {
  ASSERT_GT(file.size(), 4u);
  for (size_t n = 0; n < file.size(); ++n) {
    T rec;
    EXPECT_EQ(rec.LoadFromBytes(file.data(), n), 0) << "cut at " << n << " of " << file.size();
  }
}

template <typename T>
void ExpectHugeCountsSurvive(const std::vector<uint8_t>& file) {
  for (uint32_t nValue : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u}) {
    for (size_t i = 4; i + 4 <= file.size(); ++i) {
      std::vector<uint8_t> bad = file;
      for (int k = 0; k < 4; ++k) bad[i + k] = static_cast<uint8_t>(nValue >> (8 * k));
      T rec;
      rec.LoadFromBytes(bad.data(), bad.size());
    }
  }
}

// The body of a flow whose one command holds one nested flow, nLevels deep,
// written by hand: deep recursion in our own writer is not what is tested.
inline cByteBuilder& AppendDeepFlow(cByteBuilder& b, int nLevels) {
  for (int i = 0; i < nLevels; ++i) {
    b.Count(10).Zeros(10).Count(1).Str("");  // flow fields and memo
    b.Count(0).Count(0).Count(1);            // no conditions or keys, one command
    b.Count(8).Zeros(12).Count(1).Str("");   // command fields and text
    b.U32(0).U32(0).U32(0).Count(1);         // no parts, one nested flow
  }
  b.Count(10).Zeros(10).Count(1).Str("").Count(0).Count(0).Count(0);
  for (int i = 0; i < nLevels; ++i) b.Count(0);  // each command's parameters
  return b;
}
