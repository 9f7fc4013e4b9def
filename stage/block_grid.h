// The block grid of the running stage: one cell per 32 x 32 square of the
// stage and its margin of 10 cells on every side. A cell is a small plain
// record with what collision reads on every test (hit type, exempt group,
// whether its block has conditions, the latch of those conditions) and the
// index of its block definition in the grid's own table, where everything
// else of the block (conditions, picture, special kind, item) is kept once.
// The grid is rebuilt at every stage set-up, so nothing of an earlier stage
// or attempt (latches above all) survives into the next.
#pragma once

#include <cstdint>
#include <map>

#include "base/safe_vector.h"
#include "palette/ed_block.h"

class cStageData;

struct BLOCKCELL {
  int32_t nDef = 0;       // block definition; 0 the empty block
  uint8_t cHitType = 0;   // 0 nothing, 1 solid, 2 deadly
  uint8_t cExempt = 255;  // hit group it lets through; 255 (-1) none
  uint8_t bConds = 0;     // its block has conditions
  uint8_t cLatch = 0;     // the conditions held once
};

// No cell index: no cell under the feet, no landing cell.
constexpr int32_t NO_CELL = -1;

class cBlockGrid {
 public:
  cBlockGrid();

  // The cells of a stage: all empty, then each placed block copied into its
  // cell. 0 when the grid cannot be had (a size beyond any stage the kit
  // makes, or no memory); the grid is then empty.
  int Build(const cStageData& stage);
  void Clear();

  int32_t Shift() const { return m_nShift; }
  int32_t Pitch() const { return m_nPitch; }
  int32_t Rows() const { return m_nRows; }
  int32_t Size() const { return static_cast<int32_t>(m_vecCells.size()); }

  // Cell of stage column c and row r (the margin not counted), in 64 bits so
  // a column or row from data cannot overflow; may lie outside the grid.
  int64_t CellOf(int32_t nColumn, int32_t nRow) const;
  // Cell of the pixel (x, y) of the stage, margins counted: column x >> 5 and
  // row y >> 5, the column wrapping into the next row as the grid is laid out.
  int32_t CellAt(int32_t x, int32_t y) const {
    return static_cast<int32_t>(static_cast<uint32_t>(x >> 5) +
                                (static_cast<uint32_t>(y >> 5) << m_nShift));
  }

  // Checked: an index outside the grid is reported as a fault of the data
  // and cell 0 is used.
  BLOCKCELL& Cell(int32_t nIndex) { return m_vecCells.At(nIndex); }
  const cEdBlock& Def(const BLOCKCELL& cell) const { return m_vecDefs.At(cell.nDef); }
  const cEdBlock& DefAt(int32_t nIndex) { return Def(Cell(nIndex)); }

  // Puts a block into a cell, its latch cleared. A palette block is kept
  // once however often it is put (nKey names it: list and index).
  void SetBlock(int32_t nIndex, const cEdBlock& def, int64_t nKey);
  // Back to the empty block.
  void EraseBlock(int32_t nIndex);

 private:
  int32_t AddDef(const cEdBlock& def);
  static BLOCKCELL MakeCell(int32_t nDef, const cEdBlock& def);

  cSafeVector<BLOCKCELL> m_vecCells;
  cSafeVector<cEdBlock> m_vecDefs;  // 0 the empty block
  std::map<int64_t, int32_t> m_mapPaletteDefs;
  int32_t m_nShift = 0;
  int32_t m_nPitch = 0;
  int32_t m_nRows = 0;
};

// The row shift of the grid of a stage nWidth cells wide: the bits needed to
// write width + 19 (a negative width counts as 0).
int32_t GridShift(int32_t nWidth);

// The running stage's block grid.
extern cBlockGrid g_BlockPalette;
