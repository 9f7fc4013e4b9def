// The fuzz input of code lines on fixed seeds, so every build runs it (the
// fuzzer itself needs clang): well-formed lines and the bad ones a line can
// hold, each also damaged the same way on every run; nothing may crash or
// hang, and every variable stays in range.
#include "tools/fuzz/code_line_fuzz_input.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fuzz_corpus.h"

namespace {

std::vector<uint8_t> TextBytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(CodeLineFuzzInput, BadLinesRunWithoutHarm) {
  code_fuzz::cCodePlay play;
  const std::vector<std::vector<uint8_t>> seeds = {
      TextBytes("v1 = (v2 + 3) * rand(1, 6) - hp / 2 + S5\nC3 = C3 + 1 tg.v2 = pl.v1"),
      TextBytes("v1 = 5 / 0\nv1 = 7 % (1 - 1)\nv1 = (5 / 0)"),
      TextBytes("v1 = 99999999999999 * -99999999999\nv1 = -2147483648 / -1 % -1"),
      TextBytes("v1 = ((((1)))\nv1 = rand(1\nv1 = rand(,,)\nfoo.v1 = 2\n1.5\n= = ="),
      TextBytes("v1 = C1001 S1000 = C-5 tg2.hp = 0 sys.hp = 3 life = 9 scrly = -999"),
      TextBytes(std::string(5000, '(') + "1" + std::string(5000, ')')),
      TextBytes("v1 = " + std::string(20000, '1') + " " + std::string(3000, '+')),
      TextBytes("mhp = 0 msp = -5 sight = 99 cid = 300 imp = 30 stop = -1 time = 5000"),
  };
  const FUZZRUN run = RunFuzzCorpus(
      "code_line", seeds,
      [&play](const uint8_t* p, size_t n) { return code_fuzz::FuzzCodeLines(play, p, n); }, 40);
  EXPECT_EQ(run.nSeedsAccepted, static_cast<int>(seeds.size()));
}

}  // namespace
