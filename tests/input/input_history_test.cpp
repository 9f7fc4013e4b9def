// The pad's histories, edge logs and menu filters.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "input/input.h"

namespace {

cInput NewInput() {
  cInput in;
  in.SetRepeat(18, 6);
  in.InitJoyMasks();
  return in;
}

// Frames (0-based) on which ApplyRepeat lets the held direction through.
std::vector<int> PassingFrames(cInput& in, const std::vector<uint16_t>& held) {
  std::vector<int> frames;
  for (int f = 0; f < static_cast<int>(held.size()); ++f) {
    in.m_wDir = held[f];
    in.ApplyRepeat();
    if (in.m_wDir) frames.push_back(f);
  }
  return frames;
}

TEST(InputFilterTest, HeldDirectionRepeatsAfterDelayThenEveryInterval) {
  cInput in = NewInput();
  EXPECT_EQ(PassingFrames(in, std::vector<uint16_t>(31, DIR_UP)),
            (std::vector<int>{0, 18, 24, 30}));

  // Releasing restarts the count; the two axes count apart.
  cInput in2 = NewInput();
  std::vector<uint16_t> held(20, DIR_LEFT);
  held.push_back(0);
  held.insert(held.end(), 19, DIR_LEFT);
  EXPECT_EQ(PassingFrames(in2, held), (std::vector<int>{0, 18, 21, 39}));

  cInput in3 = NewInput();
  std::vector<uint16_t> diag(19, DIR_RIGHT);
  diag[10] = DIR_RIGHT | DIR_DOWN;  // down joins at frame 10 and stays below
  for (int f = 11; f < 19; ++f) diag[f] = DIR_RIGHT | DIR_DOWN;
  std::vector<uint16_t> seen;
  for (uint16_t d : diag) {
    in3.m_wDir = d;
    in3.ApplyRepeat();
    seen.push_back(in3.m_wDir);
  }
  EXPECT_EQ(seen[0], DIR_RIGHT);
  EXPECT_EQ(seen[10], DIR_DOWN);
  EXPECT_EQ(seen[18], DIR_RIGHT);
  EXPECT_EQ(in3.m_wDirHistory & 0xFF, (DIR_RIGHT | DIR_DOWN) * 0x11);
}

TEST(InputFilterTest, RepeatIntervalBelowOneRepeatsEveryFrame) {
  for (int nInterval : {0, -5}) {
    cInput in = NewInput();
    in.SetRepeat(3, nInterval);
    EXPECT_EQ(PassingFrames(in, std::vector<uint16_t>(6, DIR_DOWN)), (std::vector<int>{0, 3, 4, 5}))
        << nInterval;
  }
}

TEST(InputFilterTest, TriggerButtonsPassesFirstPressOfTheGroupOnly) {
  cInput in = NewInput();
  struct {
    uint16_t wHeld;
    uint16_t wSeen;
  } const frames[] = {
      {1, 1},         {1, 0}, {1, 0},         {1, 0}, {1, 0},  // button 1 held: first frame only
      {3, 0},         {2, 0},                                  // button 2 joins: nothing
      {0, 0},                                                  // all released: the latch opens
      {2, 2},         {0, 0}, {0x101, 0x101},  // a bit outside the group passes through
      {0x101, 0x100},
  };
  for (size_t f = 0; f < std::size(frames); ++f) {
    in.m_wButton = frames[f].wHeld;
    in.TriggerButtons(0);
    EXPECT_EQ(in.m_wButton, frames[f].wSeen) << "frame " << f;
  }

  // With mask 3 buttons outside the group are left alone while it is latched.
  cInput menu = NewInput();
  menu.m_wButton = 1;
  menu.TriggerButtons(3);
  menu.m_wButton = 1 | 4;
  menu.TriggerButtons(3);
  EXPECT_EQ(menu.m_wButton, 4);
}

TEST(InputHistoryTest, PastValuesFollowTheRuns) {
  cInput in = NewInput();
  in.ClearHistory();
  for (uint16_t b : {1, 1, 1, 0, 0}) {
    in.m_wButton = b;
    in.m_wDir = DIR_LEFT;
    in.PushHistory();
  }
  const int kExpected[] = {0, 0, 1, 1, 1};
  for (int n = 0; n < 5; ++n) EXPECT_EQ(in.GetPastValue(1, n), kExpected[n]) << n;
  EXPECT_EQ(in.GetPastValue(0, 0), DIR_LEFT);
  EXPECT_EQ(in.GetPastValue(0, 4), DIR_LEFT);
  EXPECT_EQ(in.GetPastValue(1, INT_MAX), 0);  // before the first frame: the cleared runs

  // One frame after clearing, the frame before reads as released.
  cInput fresh = NewInput();
  fresh.ClearHistory();
  fresh.m_wButton = 1;
  fresh.PushHistory();
  EXPECT_EQ(fresh.GetPastValue(1, 0), 1);
  EXPECT_EQ(fresh.GetPastValue(1, 1), 0);

  // The ring keeps 32 runs; older frames fall back to the oldest kept run.
  cInput alt = NewInput();
  for (int f = 0; f < 40; ++f) {
    alt.m_wButton = static_cast<uint16_t>(f & 1);
    alt.PushHistory();
  }
  EXPECT_EQ(alt.GetPastValue(1, 0), 1);
  EXPECT_EQ(alt.GetPastValue(1, 1), 0);
  EXPECT_EQ(alt.GetPastValue(1, 31), 0);
}

TEST(InputHistoryTest, RunsStopGrowingAtTheLargestLength) {
  cInput in = NewInput();
  in.m_DirRuns[0].nLength = INT_MAX - 1;
  in.PushHistory();
  in.PushHistory();
  EXPECT_EQ(in.m_DirRuns[0].nLength, INT_MAX);
  EXPECT_EQ(in.m_nDirCursor, 0);

  cEdgeLog log{};
  log[0] = EDGERUN{1, INT_MAX};
  cInput::LogEdge(log, 1, 1, 1);
  EXPECT_EQ(log[0].nLength, INT_MAX);
}

TEST(InputHistoryTest, EdgeLogsRecordPressAndReleaseRuns) {
  cInput in = NewInput();
  in.TrimLogs();
  // Diagonal up-left for 2 frames, then left for 3.
  for (uint16_t d : {5, 5, 1, 1, 1}) {
    in.m_wDir = d;
    in.m_wButton = d == 5 ? 0x80 : 0;
    in.UpdateLogs();
  }
  auto Runs = [](const cEdgeLog& log, int n) {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < n; ++i) v.emplace_back(log[i].nState, log[i].nLength);
    return v;
  };
  using R = std::vector<std::pair<int, int>>;
  EXPECT_EQ(Runs(in.m_DirLogs[0], 2), (R{{0, 5}, {0, 0}}));  // never neutral
  EXPECT_EQ(Runs(in.m_DirLogs[1], 3), (R{{1, 3}, {0, 2}, {0, 0}}));
  EXPECT_EQ(Runs(in.m_DirLogs[5], 3), (R{{0, 3}, {1, 2}, {0, 0}}));
  EXPECT_EQ(Runs(in.m_DirLogs[9], 2), (R{{1, 5}, {0, 0}}));
  EXPECT_EQ(Runs(in.m_ButtonLogs[0], 3), (R{{1, 3}, {0, 2}, {0, 0}}));
  EXPECT_EQ(Runs(in.m_ButtonLogs[8], 3), (R{{0, 3}, {1, 2}, {0, 0}}));

  // A log stays 32 runs long however many edges it sees.
  for (int f = 0; f < 40; ++f) cInput::LogEdge(in.m_DirLogs[2], f & 1 ? 2 : 0, 2, 0);
  EXPECT_EQ(in.m_DirLogs[2].size(), 32u);
  EXPECT_EQ(in.m_DirLogs[2][31].nLength, 1);

  in.TrimLogs();
  for (const cEdgeLog& log : in.m_DirLogs) EXPECT_EQ(log[0].nLength, 0);
}

}  // namespace
