#include "scenes/menu_cursor.h"

#include <algorithm>

#include "base/global_order.h"
#include "input/input.h"
#include "sound/sound_effects.h"

GLOBAL_OBJECT(GLOBAL_CURSOR) cCursor g_Cursor;

void cCursor::Reset() {
  m_vecLevels.assign(1, CURSORDATA{});
  m_nCurrent = 0;
}

void cCursor::Push(int bCopy) {
  const CURSORDATA below = Current();
  m_vecLevels.push_back(bCopy == 1 ? below : CURSORDATA{});
  m_nCurrent = static_cast<int32_t>(m_vecLevels.size()) - 1;
}

void cCursor::Pop(int nMode) {
  if (m_vecLevels.size() < 2) return;
  const CURSORDATA removed = m_vecLevels.back();
  m_vecLevels.pop_back();
  m_nCurrent = static_cast<int32_t>(m_vecLevels.size()) - 1;
  if (nMode == 0)
    Current() = CURSORDATA{};
  else if (nMode == 2)
    Current() = removed;
}

void cCursor::MoveGrid(const cInput& input, int32_t x0, int32_t y0, int32_t dx, int32_t dy,
                       int32_t nColumns, int32_t nRows) {
  if (nColumns < 0 || nRows < 0) return;
  CURSORDATA& c = Current();
  const uint16_t w = input.m_wDir;
  if (w & DIR_LEFT)
    --c.nColumn;
  else if (w & DIR_RIGHT)
    ++c.nColumn;
  if (w & DIR_UP)
    --c.nRow;
  else if (w & DIR_DOWN)
    ++c.nRow;
  // Every call, so a position its owner left out of range comes back.
  if (c.nRow < 0)
    c.nRow = nRows - 1;
  else if (c.nRow >= nRows)
    c.nRow = 0;
  if (c.nColumn < 0)
    c.nColumn = nColumns - 1;
  else if (c.nColumn >= nColumns)
    c.nColumn = 0;
  c.nX = x0 + dx * c.nColumn;
  c.nY = y0 + dy * c.nRow;
}

void cCursor::MoveList(const cInput& input, int nAxis, int32_t& nScroll, int32_t nOrigin,
                       int32_t nStep, int32_t nOther, int32_t nVisible, int32_t nTotal, int bPage) {
  CURSORDATA& c = Current();
  int32_t& nIndex = nAxis == 0 ? c.nColumn : c.nRow;
  const uint16_t w = input.m_wDir;
  if (w & DIR_UP) {
    if (nIndex - nScroll < 1) --nScroll;
    --nIndex;
  } else if (w & DIR_DOWN) {
    if (nIndex - nScroll >= nVisible - 1) ++nScroll;
    ++nIndex;
  }
  if (bPage) {
    if (w & DIR_RIGHT) {
      if (nScroll == nTotal - nVisible) {
        nIndex = nTotal - 1;
      } else {
        nScroll += nVisible - 1;
        nIndex += nVisible - 1;
      }
    } else if (w & DIR_LEFT) {
      if (nScroll == 0) {
        nIndex = 0;
      } else {
        nScroll -= nVisible - 1;
        nIndex -= nVisible - 1;
      }
    }
  }
  if (nIndex > nTotal - 1) nIndex = nTotal - 1;
  if (nIndex < 0) nIndex = 0;
  if (nScroll < 0)
    nScroll = 0;
  else
    nScroll = std::min(nScroll, std::max(nTotal - nVisible, 0));
  if (nAxis == 1) {
    c.nY = nOrigin + nStep * (c.nRow - nScroll);
    c.nX = nOther;
  } else {
    c.nX = nOrigin + nStep * (c.nColumn - nScroll);
    c.nY = nOther;
  }
}

void PlayCursorSound(const cInput& input, int nAxes, int nSound) {
  const uint16_t w = input.m_wDir;
  if ((nAxes & 1) && (w & (DIR_LEFT | DIR_RIGHT))) DSPlay(g_SoundList.At(nSound), 0);
  if ((nAxes & 2) && (w & (DIR_UP | DIR_DOWN))) DSPlay(g_SoundList.At(nSound), 0);
}
