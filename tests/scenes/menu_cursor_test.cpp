// The menu cursor: its stack of levels, the wrapping grid and the scrolled
// list, and where a menu box is centred.
#include "scenes/menu_cursor.h"

#include <gtest/gtest.h>

#include "input/input.h"
#include "records/menu_entry.h"

namespace {

cInput Dir(uint16_t wDir) {
  cInput input;
  input.m_wDir = wDir;
  return input;
}

TEST(MenuCursor, LevelsPushPopAndReset) {
  cCursor cursor;
  cursor.Current() = {1, 4, 10, 20};
  cursor.Push(1);  // a copy of the level below
  EXPECT_EQ(cursor.Current().nRow, 4);
  ASSERT_NE(cursor.Parent(), nullptr);
  cursor.Current().nRow = 7;
  cursor.Push(0);  // zeroed
  EXPECT_EQ(cursor.Current().nRow, 0);
  cursor.Current() = {2, 9, 30, 40};
  cursor.Pop(2);  // the removed level's values carried down
  EXPECT_EQ(cursor.Current().nRow, 9);
  EXPECT_EQ(cursor.Current().nX, 30);
  cursor.Pop(1);  // the parent's own row
  EXPECT_EQ(cursor.Current().nRow, 4);
  EXPECT_EQ(cursor.Parent(), nullptr);
  cursor.Pop(0);  // one level: nothing happens
  EXPECT_EQ(cursor.Current().nRow, 4);
  cursor.Push(0);
  cursor.Push(0);
  cursor.Reset();
  EXPECT_EQ(cursor.LevelCount(), 1);
  EXPECT_EQ(cursor.Current().nRow, 0);
  EXPECT_EQ(cursor.Parent(), nullptr);
}

TEST(MenuCursor, GridWrapsAtItsEdges) {
  struct Case {
    uint16_t wDir;
    int32_t nRow0, nRow, nColumn;
  } cases[] = {
      {DIR_DOWN, 3, 0, 0},             // down on the last row: the first
      {DIR_UP, 0, 3, 0},               // up on the first: the last
      {DIR_UP | DIR_DOWN, 1, 0, 0},    // up wins
      {DIR_RIGHT, 2, 2, 0},            // one column: stays
      {DIR_LEFT | DIR_DOWN, 1, 2, 0},  // diagonals move both
      {0, 9, 0, 0},                    // left out of range: pulled back
  };
  for (const Case& c : cases) {
    cCursor cursor;
    cursor.Current().nRow = c.nRow0;
    cursor.MoveGrid(Dir(c.wDir), 100, 272, 0, 16, 1, 4);
    EXPECT_EQ(cursor.Current().nRow, c.nRow) << c.wDir << " " << c.nRow0;
    EXPECT_EQ(cursor.Current().nColumn, c.nColumn);
    EXPECT_EQ(cursor.Current().nY, 272 + 16 * c.nRow);
    EXPECT_EQ(cursor.Current().nX, 100);
  }
}

TEST(MenuCursor, ListScrollsAndPages) {
  struct Case {
    uint16_t wDir;
    int32_t nRow0, nScroll0, nTotal, nRow, nScroll;
  } cases[] = {
      {DIR_DOWN, 9, 0, 99, 10, 1},
      {DIR_RIGHT, 3, 0, 99, 12, 9},
      {DIR_RIGHT, 95, 89, 99, 98, 89},
      {DIR_LEFT, 5, 0, 99, 0, 0},
      {DIR_LEFT, 30, 20, 99, 21, 11},
      {DIR_DOWN, 98, 89, 99, 98, 89},  // no wrap at the end
      {DIR_UP, 0, 0, 99, 0, 0},
      {DIR_DOWN, 3, 0, 5, 4, 0},  // fewer entries than rows: no scroll
  };
  for (const Case& c : cases) {
    cCursor cursor;
    cursor.Current().nRow = c.nRow0;
    int32_t nScroll = c.nScroll0;
    cursor.MoveList(Dir(c.wDir), 1, nScroll, 160, 16, 160, 10, c.nTotal, 1);
    EXPECT_EQ(cursor.Current().nRow, c.nRow) << c.wDir << " " << c.nRow0;
    EXPECT_EQ(nScroll, c.nScroll) << c.wDir << " " << c.nRow0;
    EXPECT_EQ(cursor.Current().nY, 160 + 16 * (c.nRow - c.nScroll));
  }
}

TEST(MenuCursor, AMenuBoxCentresOnItsLongestShownLabel) {
  cSafeVector<cCmd> menu;
  menu.emplace_back(1, "abcd");
  menu.emplace_back(0, "a much longer label that is hidden");
  menu.emplace_back(1, "ab");
  EXPECT_EQ(cCmd::GetCenterX(320, menu), 320 - 16 * 5 / 2);
  menu.At(0).m_strLabel = "";
  menu.At(2).m_strLabel = "";
  EXPECT_EQ(cCmd::GetCenterX(320, menu), 320);
}

}  // namespace
