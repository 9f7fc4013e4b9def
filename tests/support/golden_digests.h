// Per-frame play-state digests held against a golden file, or written to it
// when BRIMVALE_RECORD_GOLDEN=1 (the test then reports itself skipped, so a
// recording run is never mistaken for a passing one).
#pragma once

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

inline void CheckGoldenDigests(const std::vector<uint64_t>& hashes, const std::string& strPath,
                               const std::string& strWhat) {
  if (const char* sz = std::getenv("BRIMVALE_RECORD_GOLDEN"); sz && *sz == '1') {
    std::ofstream out(strPath, std::ios::trunc);
    out << "# Play-state digests of " << strWhat << ",\n"
        << "# one per play frame. Recorded again as that file says.\n";
    for (uint64_t h : hashes) {
      char sz16[32];
      std::snprintf(sz16, sizeof sz16, "%016" PRIx64 "\n", h);
      out << sz16;
    }
    GTEST_SKIP() << "recorded " << strPath;
  }
  std::ifstream in(strPath);
  ASSERT_TRUE(in) << strPath;
  std::vector<uint64_t> golden;
  for (std::string strLine; std::getline(in, strLine);) {
    if (strLine.empty() || strLine[0] == '#') continue;
    golden.push_back(std::strtoull(strLine.c_str(), nullptr, 16));
  }
  ASSERT_EQ(golden.size(), hashes.size());
  for (size_t f = 0; f < hashes.size(); ++f) ASSERT_EQ(hashes[f], golden[f]) << "frame " << f;
}
