// The pairs of objects that may touch: the binned walk visits exactly the
// pairs the plain nested loops find overlapping, in their order, also when
// visits move objects or add new ones.
#include "stage/pair_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

using PAIRS = std::vector<std::pair<int, int>>;

PAIRBOX RandomBox(std::mt19937& rng, double dSpread) {
  std::uniform_real_distribution<double> pos(0, dSpread);
  std::uniform_int_distribution<int> size(1, 40);
  std::uniform_int_distribution<int> kind(0, 99);
  PAIRBOX b;
  b.dLeft = pos(rng);
  b.dTop = pos(rng);
  double w = size(rng), h = size(rng);
  const int k = kind(rng);
  if (k < 3) w = h = 400;  // a giant
  b.dRight = b.dLeft + w - 1;
  b.dBottom = b.dTop + h - 1;
  if (k == 3) b.dLeft = std::nan("");
  if (k == 4) std::swap(b.dLeft, b.dRight);  // a negative size
  if (k == 5) b.dRight = std::numeric_limits<double>::infinity();
  if (k == 6) b.dBottom = b.dTop - 30;
  return b;
}

// A visit that sometimes warps another object somewhere else and sometimes
// adds a new one; the same choices in both walks as long as they visit the
// same pairs.
struct MUTATOR {
  std::mt19937 rng;
  double dSpread;
  bool Visit(std::vector<PAIRBOX>& outer, std::vector<PAIRBOX>& inner, int i, int j, PAIRS& seen) {
    seen.emplace_back(i, j);
    std::uniform_int_distribution<int> roll(0, 9);
    const int r = roll(rng);
    if (r == 0) {
      std::uniform_int_distribution<size_t> pick(0, inner.size() - 1);
      inner[pick(rng)] = RandomBox(rng, dSpread);
      return true;
    }
    if (r == 1 && inner.size() < 600) {
      inner.push_back(RandomBox(rng, dSpread));
      return true;
    }
    if (r == 2) {
      outer[static_cast<size_t>(i)].dLeft -= 50;  // the outer object itself moves
      return true;
    }
    return false;
  }
};

PAIRS Literal(std::vector<PAIRBOX> outer, std::vector<PAIRBOX> inner, bool bSame, MUTATOR m) {
  PAIRS seen;
  std::vector<PAIRBOX>& in = bSame ? outer : inner;
  for (int i = 0; i < static_cast<int>(outer.size()); ++i)
    for (int j = bSame ? i + 1 : 0; j < static_cast<int>(in.size()); ++j)
      if (BoxesOverlap(outer[static_cast<size_t>(i)], in[static_cast<size_t>(j)]))
        m.Visit(outer, in, i, j, seen);
  return seen;
}

PAIRS Binned(std::vector<PAIRBOX> outer, std::vector<PAIRBOX> inner, bool bSame, MUTATOR m) {
  PAIRS seen;
  std::vector<PAIRBOX>& in = bSame ? outer : inner;
  cPairGrid grid;
  VisitTouchingPairs(
      grid, bSame, [&] { return static_cast<int>(outer.size()); },
      [&] { return static_cast<int>(in.size()); },
      [&](int i) { return outer[static_cast<size_t>(i)]; },
      [&](int j) { return in[static_cast<size_t>(j)]; },
      [&](int i, int j) { return m.Visit(outer, in, i, j, seen); });
  return seen;
}

TEST(PairGrid, TheBinnedWalkVisitsWhatTheNestedLoopsVisit) {
  std::mt19937 rng(12345);
  int nWithPairs = 0;
  for (int nRound = 0; nRound < 300; ++nRound) {
    const int nOuter = static_cast<int>(rng() % 200);
    const int nInner = static_cast<int>(rng() % 200);
    const double dSpread = (rng() % 3 == 0) ? 200 : 3000;
    std::vector<PAIRBOX> outer, inner;
    for (int i = 0; i < nOuter; ++i) outer.push_back(RandomBox(rng, dSpread));
    for (int i = 0; i < nInner; ++i) inner.push_back(RandomBox(rng, dSpread));
    for (bool bSame : {true, false}) {
      const MUTATOR m{std::mt19937(static_cast<unsigned>(nRound)), dSpread};
      const PAIRS literal = Literal(outer, inner, bSame, m);
      EXPECT_EQ(Binned(outer, inner, bSame, m), literal) << "round " << nRound << " " << bSame;
      nWithPairs += !literal.empty();
    }
  }
  EXPECT_GT(nWithPairs, 400);
}

TEST(PairGrid, QueryGivesEachCandidateOnceInOrderAndNothingFarAway) {
  std::vector<PAIRBOX> boxes;
  for (int i = 0; i < 100; ++i) {
    const double x = (i % 10) * 100.0, y = (i / 10) * 100.0;
    boxes.push_back({x, y, x + 150, y + 150});  // each covers several cells
  }
  cPairGrid grid;
  grid.Build(boxes);
  std::vector<int> out;
  grid.Query({250, 250, 260, 260}, -1, out);
  EXPECT_TRUE(std::is_sorted(out.begin(), out.end()));
  EXPECT_TRUE(std::adjacent_find(out.begin(), out.end()) == out.end());
  for (int i : {22, 12, 21, 11}) EXPECT_NE(std::find(out.begin(), out.end(), i), out.end());
  EXPECT_EQ(std::find(out.begin(), out.end(), 99), out.end());
  grid.Query({250, 250, 260, 260}, 20, out);
  EXPECT_EQ(std::find(out.begin(), out.end(), 12), out.end());
  grid.Query({-1e9, -1e9, -1e9 + 5, -1e9 + 5}, -1, out);
  EXPECT_TRUE(out.empty());
  grid.Build({});
  grid.Query({0, 0, 10, 10}, -1, out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
