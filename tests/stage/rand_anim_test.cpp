// The random numbers of play and the animation step player.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "stage/anim_player.h"
#include "stage/rand_gen.h"
#include "stage_fixture.h"

namespace {

TEST(RandGen, SeedOneGivesTheKnownSequence) {
  cRandGen rng;
  const std::vector<int32_t> expected = {41, 18467, 6334, 26500, 19169};
  std::vector<int32_t> got;
  for (size_t i = 0; i < expected.size(); ++i) got.push_back(rng.Next());
  EXPECT_EQ(got, expected);
}

TEST(RandGen, EachContextDrawsFromItsOwnState) {
  // A nested loop's draws leave the game's sequence where it was.
  cRandGen game;
  game.Seed(1);
  game.Next();
  cRandGen wait;
  wait.Next();
  wait.Next();
  EXPECT_EQ(game.Next(), 18467);
  EXPECT_EQ(wait.Next(), 6334);
}

TEST(RandGen, RangeInEitherOrderAndAtTheInt32Extremes) {
  struct Case {
    int32_t a, b, lo, hi;
  } cases[] = {
      {5, 2, 2, 5},  // bounds exchanged
      {3, 3, 3, 3},  // one value
      {-7, -7, -7, -7},
      {INT_MIN, INT_MAX, INT_MIN, INT_MIN + 32767},  // width 2^32: no overflow, no modulo by 0
      {INT_MAX, INT_MIN, INT_MIN, INT_MIN + 32767},
      {INT_MAX - 1, INT_MAX, INT_MAX - 1, INT_MAX},
  };
  for (const Case& c : cases) {
    cRandGen rng;
    for (int i = 0; i < 200; ++i) {
      const int32_t v = RandRange(rng, c.a, c.b);
      EXPECT_GE(v, c.lo) << c.a << ".." << c.b;
      EXPECT_LE(v, c.hi) << c.a << ".." << c.b;
    }
  }
  cRandGen rng;
  EXPECT_EQ(RandRange(rng, 10, 19), 10 + 41 % 10);
}

class AnimPlayer : public cStageFixture {};

// Cells returned by the first n ticks after Set.
std::vector<int32_t> Ticks(cAnimPlayer& anim, int n) {
  std::vector<int32_t> v;
  for (int i = 0; i < n; ++i) v.push_back(anim.Tick());
  return v;
}

std::vector<int32_t> Cells(std::initializer_list<std::pair<int32_t, int>> runs) {
  std::vector<int32_t> v;
  for (auto [nCell, nCount] : runs) v.insert(v.end(), static_cast<size_t>(nCount), nCell);
  return v;
}

TEST_F(AnimPlayer, BuiltInItemAndShotSequences) {
  cAnimPlayer item;
  item.SetTables(g_ItemAnimTables);
  item.Set(0, 1);
  EXPECT_EQ(item.GetCell(), 0);
  EXPECT_EQ(Ticks(item, 45), Cells({{0, 14}, {1, 15}, {0, 15}, {1, 1}}));

  cAnimPlayer shot;
  shot.SetTables(g_ShotAnimTables);
  shot.Set(0, 1);
  EXPECT_EQ(Ticks(shot, 21), Cells({{0, 6}, {1, 7}, {2, 7}, {-4, 1}}));
  // An ended sequence ticked again stays on its end.
  EXPECT_EQ(shot.Tick(), -4);
  shot.Set(1, 1);
  EXPECT_EQ(Ticks(shot, 24), Cells({{0, 7}, {1, 8}, {0, 8}, {1, 1}}));
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(AnimPlayer, ClosingCodes) {
  const ANIMESTEP hold[] = {{5, 2, 0}, {6, 2, 0}, {ANIMESTEP_STAY, 0, 0}};
  const ANIMESTEP jump[] = {{7, 1, 0}, {ANIMESTEP_SWITCH, 2, 0}};
  const ANIMESTEP other[] = {{9, 3, 0}, {ANIMESTEP_LOOP, 0, 0}};
  const ANIMESTEP* const tables[] = {hold, jump, other, nullptr};
  cAnimPlayer anim;
  anim.SetTables(tables);
  ASSERT_EQ(anim.m_vecAnims.size(), 3u);

  anim.Set(0, 1);
  // The last frame shows for ever.
  EXPECT_EQ(Ticks(anim, 8), Cells({{5, 1}, {6, 7}}));
  // A jump entry starts animation 2 in the same tick and shows its first cell.
  anim.Set(1, 1);
  EXPECT_EQ(anim.Tick(), 9);
  EXPECT_EQ(anim.m_nAnim, 2);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(AnimPlayer, ChangeKeepsTheCurrentSequenceSetRestartsItAndLocksRefuse) {
  const ANIMESTEP locked[] = {{1, 4, 1}, {2, 4, 1}, {ANIMESTEP_LOOP, 0, 1}};
  const ANIMESTEP free[] = {{3, 4, 0}, {ANIMESTEP_LOOP, 0, 0}};
  const ANIMESTEP* const tables[] = {locked, free, nullptr};
  cAnimPlayer anim;
  anim.SetTables(tables);
  anim.Set(0, 1);
  Ticks(anim, 5);  // on frame 1, tick 1
  EXPECT_EQ(anim.Change(0, 1), 1);
  EXPECT_EQ(anim.m_nFrame, 1);
  EXPECT_EQ(anim.Set(0, 1), 1);
  EXPECT_EQ(anim.m_nFrame, 0);
  EXPECT_EQ(anim.Set(1, 0), 0);  // a locked frame refuses an unforced change
  EXPECT_EQ(anim.m_nAnim, 0);
  EXPECT_EQ(anim.Set(1, 1), 1);
  EXPECT_EQ(anim.Change(0, 0), 1);  // frame of 1 is unlocked
  EXPECT_EQ(anim.m_nAnim, 0);
}

TEST_F(AnimPlayer, EmptyPlayerAndSequencesOfOnlyTheirClosingStep) {
  cAnimPlayer none;
  EXPECT_EQ(none.Tick(), 0);
  EXPECT_EQ(none.GetCell(), 0);

  // An empty animation of a set, and entry 0 of the database without
  // frames, are built as a lone closing step: they play on without closing
  // the game.
  for (int32_t nCode : {ANIMESTEP_LOOP, ANIMESTEP_STAY, ANIMESTEP_END}) {
    const ANIMESTEP lone[] = {{nCode, 0, 1}};
    const ANIMESTEP* const tables[] = {lone, nullptr};
    cAnimPlayer anim;
    anim.SetTables(tables);
    anim.Set(0, 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(anim.Tick(), nCode);
    EXPECT_EQ(anim.m_nFrame, 0);
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(AnimPlayer, AJumpToAMissingAnimationIsReportedNotFollowed) {
  const ANIMESTEP jump[] = {{4, 1, 0}, {ANIMESTEP_SWITCH, 99, 0}};
  const ANIMESTEP* const tables[] = {jump, nullptr};
  cAnimPlayer anim;
  anim.SetTables(tables);
  anim.Set(0, 1);
  for (int i = 0; i < 10; ++i) anim.Tick();
  EXPECT_GT(TakeCloses(), 0);
}

}  // namespace
