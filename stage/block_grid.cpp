#include "stage/block_grid.h"

#include <new>

#include "base/global_order.h"
#include "base/logs.h"
#include "files/stage_data.h"

GLOBAL_OBJECT(GLOBAL_BLOCK_PALETTE) cBlockGrid g_BlockPalette;

namespace {

constexpr int32_t kMargin = 10;
// Far beyond any stage the kit makes (a 2000 x 200 stage has 450,560
// cells); a size from a damaged file is refused before anything is
// allocated.
constexpr int64_t kMaxCells = int64_t{1} << 26;

int32_t BitsToWrite(uint32_t v) {
  int32_t n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// The empty block every cell starts as.
cEdBlock MakeEmptyBlock() {
  cEdBlock def;
  def.m_sGraphic = 0;
  def.m_cHitType = 0;
  def.m_cSummonProof = 0;
  return def;
}

}  // namespace

int32_t GridShift(int32_t nWidth) {
  if (nWidth < 0) nWidth = 0;
  // A width that needs more than 30 bits is refused by Build; the shift only
  // has to stay a valid one.
  const int32_t n = BitsToWrite(static_cast<uint32_t>(nWidth) + 19u);
  return n > 30 ? 30 : n;
}

cBlockGrid::cBlockGrid() { Clear(); }

void cBlockGrid::Clear() {
  m_vecCells.clear();
  m_vecCells.shrink_to_fit();
  m_vecDefs.clear();
  m_vecDefs.push_back(MakeEmptyBlock());
  m_mapPaletteDefs.clear();
  m_nShift = 0;
  m_nPitch = 0;
  m_nRows = 0;
}

BLOCKCELL cBlockGrid::MakeCell(int32_t nDef, const cEdBlock& def) {
  BLOCKCELL cell;
  cell.nDef = nDef;
  cell.cHitType = def.m_cHitType;
  cell.cExempt = def.m_cExempt;
  cell.bConds = def.m_vecConds.empty() ? 0 : 1;
  cell.cLatch = 0;
  return cell;
}

int32_t cBlockGrid::AddDef(const cEdBlock& def) {
  m_vecDefs.push_back(def);
  return static_cast<int32_t>(m_vecDefs.size() - 1);
}

int64_t cBlockGrid::CellOf(int32_t nColumn, int32_t nRow) const {
  return (static_cast<int64_t>(nColumn) + kMargin) +
         ((static_cast<int64_t>(nRow) + kMargin) * (int64_t{1} << m_nShift));
}

int cBlockGrid::Build(const cStageData& stage) {
  Clear();
  const int32_t nWidth = stage.m_nWidth < 0 ? 0 : stage.m_nWidth;
  const int32_t nHeight = stage.m_nHeight < 0 ? 0 : stage.m_nHeight;
  const int32_t nShift = GridShift(nWidth);
  const int64_t nRows = static_cast<int64_t>(nHeight) + 2 * kMargin;
  const int64_t nCells = nRows << nShift;
  if (static_cast<int64_t>(nWidth) + 19 >= (int64_t{1} << 30) || nCells > kMaxCells) return 0;
  try {
    m_vecCells.assign(static_cast<size_t>(nCells), MakeCell(0, m_vecDefs[0]));
    m_vecDefs.reserve(stage.m_vecBlocks.size() + 1);
  } catch (const std::bad_alloc&) {
    Clear();
    return 0;
  }
  m_nShift = nShift;
  m_nPitch = 1 << nShift;
  m_nRows = static_cast<int32_t>(nRows);

  for (const cEdBlock& placed : stage.m_vecBlocks) {
    const int64_t nIndex = CellOf(placed.m_sColumn, placed.m_sRow);
    if (nIndex < 0 || nIndex >= nCells) {
      // Only a damaged file places a block off the grid; the stage plays
      // without it.
      ReportF("block at column %d, row %d lies outside the stage", placed.m_sColumn, placed.m_sRow);
      continue;
    }
    const int32_t nDef = AddDef(placed);
    m_vecCells[static_cast<size_t>(nIndex)] = MakeCell(nDef, m_vecDefs[nDef]);
  }
  return 1;
}

void cBlockGrid::SetBlock(int32_t nIndex, const cEdBlock& def, int64_t nKey) {
  BLOCKCELL& cell = Cell(nIndex);
  auto it = m_mapPaletteDefs.find(nKey);
  int32_t nDef;
  if (it != m_mapPaletteDefs.end()) {
    nDef = it->second;
  } else {
    nDef = AddDef(def);
    m_mapPaletteDefs.emplace(nKey, nDef);
  }
  cell = MakeCell(nDef, m_vecDefs[nDef]);
}

void cBlockGrid::EraseBlock(int32_t nIndex) { Cell(nIndex) = MakeCell(0, m_vecDefs[0]); }
