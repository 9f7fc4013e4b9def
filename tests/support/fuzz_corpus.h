// The fuzz entries of tools/fuzz run in every test build over a small fixed
// corpus: the seeds a test names, what the fuzzer once found (kept in
// tests/data/fuzz/NAME), and damaged copies of each seed made the same way
// on every run (cut short, bytes changed, a stretch doubled). A broken
// invariant in an entry fails the test with its words.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "tools/fuzz/fuzz_check.h"

inline std::vector<uint8_t> ReadTestData(const std::string& strRel) {
  return ReadTestFile(TestDataDir() + "/" + strRel);
}

struct FUZZRUN {
  int nInputs = 0;    // inputs run
  int nAccepted = 0;  // of them, taken by the loader
  int nSeedsAccepted = 0;
};

// Runs entry (bool(const uint8_t*, size_t), true when the loader took the
// input) over the corpus of fuzz target strName.
template <typename ENTRY>
FUZZRUN RunFuzzCorpus(const std::string& strName, const std::vector<std::vector<uint8_t>>& seeds,
                      ENTRY entry, int nDamagedPerSeed = 200) {
  fuzz::CheckFailProc() = [](const char* szWhat) { ADD_FAILURE() << "fuzz check: " << szWhat; };
  FUZZRUN run;
  auto Run = [&](const std::vector<uint8_t>& bytes) {
    ++run.nInputs;
    const bool bAccepted = entry(bytes.data(), bytes.size());
    if (bAccepted) ++run.nAccepted;
    return bAccepted;
  };
  const std::filesystem::path found = std::filesystem::path(TestDataDir()) / "fuzz" / strName;
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(found))
    for (const auto& e : std::filesystem::directory_iterator(found))
      if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const auto& f : files) {
    SCOPED_TRACE(f.string());
    Run(ReadTestFile(f.string()));
  }
  std::mt19937 rng(20261210);
  for (size_t s = 0; s < seeds.size(); ++s) {
    SCOPED_TRACE(testing::Message() << strName << " seed " << s);
    if (Run(seeds[s])) ++run.nSeedsAccepted;
    if (seeds[s].empty()) continue;
    for (int i = 0; i < nDamagedPerSeed; ++i) {
      SCOPED_TRACE(testing::Message() << "damaged copy " << i);
      std::vector<uint8_t> bytes = seeds[s];
      const int nChanges = 1 + static_cast<int>(rng() % 4);
      for (int k = 0; k < nChanges && !bytes.empty(); ++k) {
        const size_t nAt = rng() % bytes.size();
        switch (rng() % 4) {
          case 0:
            bytes[nAt] = static_cast<uint8_t>(rng());
            break;
          case 1:
            bytes[nAt] ^= static_cast<uint8_t>(1u << (rng() % 8));
            break;
          case 2:
            bytes.resize(nAt);
            break;
          default: {
            const size_t nLen = std::min<size_t>(bytes.size() - nAt, 1 + rng() % 64);
            const std::vector<uint8_t> copy(
                bytes.begin() + static_cast<std::ptrdiff_t>(nAt),
                bytes.begin() + static_cast<std::ptrdiff_t>(nAt + nLen));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(nAt), copy.begin(),
                         copy.end());
            break;
          }
        }
      }
      Run(bytes);
    }
  }
  fuzz::CheckFailProc() = nullptr;
  return run;
}
