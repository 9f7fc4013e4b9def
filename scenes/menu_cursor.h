// The one menu cursor of the program: a stack of cursor levels (a nested
// menu opens a level and closes it on its way back), moved over a wrapping
// grid or a scrolled list by player 1's directions; and the cursor sound.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"

class cInput;

// One level: the selected column and row, and where its owner draws the
// cursor image.
struct CURSORDATA {
  int32_t nColumn = 0;
  int32_t nRow = 0;
  int32_t nX = 0;
  int32_t nY = 0;
};

class cCursor {
 public:
  cCursor() { Reset(); }

  // One zeroed level.
  void Reset();
  // A level on top: zeroed, or (bCopy) a copy of the level below.
  void Push(int bCopy);
  // Back to the level below (never below the bottom one): nMode 0 zeroes
  // it, 1 keeps it, 2 gives it the removed level's values.
  void Pop(int nMode);
  // A grid of nColumns x nRows that wraps at its edges; left wins over
  // right, up over down.
  void MoveGrid(const cInput& input, int32_t x0, int32_t y0, int32_t dx, int32_t dy,
                int32_t nColumns, int32_t nRows);
  // A list of nTotal entries showing nVisible from nScroll; it does not
  // wrap. nAxis 1 moves the row, 0 the column; left and right page when
  // bPage is set.
  void MoveList(const cInput& input, int nAxis, int32_t& nScroll, int32_t nOrigin, int32_t nStep,
                int32_t nOther, int32_t nVisible, int32_t nTotal, int bPage);

  CURSORDATA& Current() { return m_vecLevels.At(m_nCurrent); }
  // The level below the current one, or null with one level.
  CURSORDATA* Parent() { return m_nCurrent > 0 ? &m_vecLevels.At(m_nCurrent - 1) : nullptr; }
  int LevelCount() const { return static_cast<int>(m_vecLevels.size()); }

 private:
  cSafeVector<CURSORDATA> m_vecLevels;  // bottom first, never empty
  int32_t m_nCurrent = 0;               // the top level
};

extern cCursor g_Cursor;

// Plays sound-table entry nSound on the calling thread when the directions
// hold a move on a chosen axis (bit 0 horizontal, bit 1 vertical).
void PlayCursorSound(const cInput& input, int nAxes, int nSound);
