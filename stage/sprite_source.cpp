#include "stage/sprite_source.h"

#include "database/database.h"
#include "draw/built_in_tables.h"
#include "palette/ed_block.h"
#include "stage/obj_root.h"
#include "stage/stage_surfaces.h"

namespace {

constexpr int kCell = 32;
constexpr int kCellsPerColumn = 15;
// Surfaces of the built-in table (two load forms each: video memory, then
// the system-memory copy that stretched and pixel effects read).
constexpr int kBlockSheet = 2;
constexpr int kBlockSheetCopy = 3;
constexpr int kCharaSheets = 8;
constexpr int kCharaSheet = 4;       // + 2s (left), + 2s + 1 (right)
constexpr int kCharaSheetCopy = 22;  // the same in system memory
constexpr int kItemSheet = 40;
constexpr int kItemSheetCopy = 41;
constexpr int kShotSheetLeft = 63;  // 30 rows of 32-pixel shot cells
constexpr int kShotSheetRight = 64;
constexpr int kShotRows = 30;
constexpr int kMarkSheet = 43;  // bmp\Mark.bmp
// A value of the cell from this on takes the right-facing sheet.
constexpr int kRightFacingCells = 20;
// Cells per row of a database character bitmap at the standard width.
constexpr int kBitmapColumns = 16;

DDSURFACEDATA* Table(int n) { return &g_SurfaceTable[n]; }

bool Outside(const DDSURFACEDATA* lpSD, int x, int y) {
  return x < 0 || y < 0 || x >= lpSD->nWidth || y >= lpSD->nHeight;
}

void SetPair(SPRITEDATA& s, int nFirst, int nSecond) {
  s.lpFirst = Table(nFirst);
  s.lpSecond = Table(nSecond);
  s.lpOppFirst = s.lpFirst;
  s.lpOppSecond = s.lpSecond;
}

bool CharaSheet(int nUse, int32_t k, int32_t a, const cObjRoot* pObj, int32_t b, SPRITEDATA& s) {
  int nSheet = k / kCellsPerColumn;
  int bRight = 0;
  int32_t nFrame = 0;
  if (nUse == SPRITEUSE_CHARA) {
    bRight = pObj && pObj->m_nFacing == 1;
    nFrame = b + a;
  } else {
    nFrame = a;
    if (a >= kRightFacingCells) {
      bRight = 1;
      nFrame = a - kRightFacingCells;
    }
  }
  s.nSrcX = nFrame * kCell;
  s.nSrcY = (k % kCellsPerColumn) * kCell;
  if (nSheet < 0 || nSheet >= kCharaSheets || k < 0) {
    nSheet = 0;
    s.nSrcX = s.nSrcY = 0;
  }
  const int nLeft = kCharaSheet + 2 * nSheet;
  const int nLeftCopy = kCharaSheetCopy + 2 * nSheet;
  s.lpFirst = Table(nLeft + bRight);
  s.lpSecond = Table(nLeftCopy + bRight);
  s.lpOppFirst = Table(nLeft + !bRight);
  s.lpOppSecond = Table(nLeftCopy + !bRight);
  if (Outside(s.lpFirst, s.nSrcX, s.nSrcY)) {
    // Past the sheet: the first cell of the default sheet.
    s.nSrcX = s.nSrcY = 0;
    s.lpFirst = Table(kCharaSheet + bRight);
    s.lpSecond = Table(kCharaSheetCopy + bRight);
    s.lpOppFirst = Table(kCharaSheet + !bRight);
    s.lpOppSecond = Table(kCharaSheetCopy + !bRight);
  }
  return true;
}

bool DatabaseBitmap(int nUse, int32_t k, int32_t a, const cObjRoot* pObj, int32_t b,
                    SPRITEDATA& s) {
  if (k < 1 || k >= static_cast<int32_t>(Database.m_vecBmpCharaExc.size())) return false;
  const cEdBmpCharaExc& bmp = Database.m_vecBmpCharaExc.At(k);
  // Wide frames are m cells wide and high; a width the row cannot hold
  // leaves one cell per row.
  int m = bmp.m_bWideFrame ? bmp.m_nFrameUnits : 1;
  if (m < 1) m = 1;
  const int nColumns = kBitmapColumns / m < 1 ? 1 : kBitmapColumns / m;
  const int32_t c = nUse == SPRITEUSE_CHARA ? a + b : a;
  s.nSrcX = (c % nColumns) * kCell * m;
  s.nSrcY = (c / nColumns) * kCell * m;
  if (bmp.m_bWideFrame) {
    s.bOwnScale = 1;
    s.nScale = m;
  }
  const int bRight = nUse == SPRITEUSE_CHARA && pObj && pObj->m_nFacing == 1;
  DDSURFACEVECTOR* pGroup = &g_CharaBmpSurfaces;
  const int nBase = (k - 1) * 4;
  s.lpFirst = GroupSurface(pGroup, nBase + bRight);
  s.lpSecond = GroupSurface(pGroup, nBase + 2 + bRight);
  s.lpOppFirst = GroupSurface(pGroup, nBase + !bRight);
  s.lpOppSecond = GroupSurface(pGroup, nBase + 2 + !bRight);
  return s.lpFirst && s.lpSecond;
}

}  // namespace

bool SetSpriteSource(int nUse, int nKind, int32_t k, int32_t a, const cObjRoot* pObj, int32_t b,
                     SPRITEDATA& Sprite) {
  SPRITEDATA& s = Sprite;
  s.lpFirst = s.lpSecond = s.lpOppFirst = s.lpOppSecond = nullptr;
  s.bOwnScale = 0;
  s.nScale = 1;
  s.nSrcX = s.nSrcY = 0;
  switch (nKind) {
    case 0:
      SetPair(s, kBlockSheet, kBlockSheetCopy);
      s.nSrcX = (k / kCellsPerColumn) * kCell;
      s.nSrcY = (k % kCellsPerColumn) * kCell;
      return true;
    case 1:
      return CharaSheet(nUse, k, a, pObj, b, s);
    case 2:
      SetPair(s, kItemSheet, kItemSheetCopy);
      // Two 32-pixel frames side by side per item.
      s.nSrcX = (k / kCellsPerColumn) * kCell * 2 + (nUse == SPRITEUSE_ITEM ? b * kCell : 0);
      s.nSrcY = (k % kCellsPerColumn) * kCell;
      return true;
    case 3: {
      const int bRight = nUse == SPRITEUSE_CHARA && pObj && pObj->m_nFacing == 1;
      const int nSheet = bRight ? kShotSheetRight : kShotSheetLeft;
      SetPair(s, nSheet, nSheet);
      s.lpOppFirst = s.lpOppSecond = Table(bRight ? kShotSheetLeft : kShotSheetRight);
      s.nSrcX = (k / kShotRows) * kCell * 2;
      s.nSrcY = (k % kShotRows) * kCell;
      return true;
    }
    case 4:
      return DatabaseBitmap(nUse, k, a, pObj, b, s);
    default:
      return false;
  }
}

void DrawGraphicIcon(DDSURFACEDATA* pTarget, int nKind, int32_t k, int32_t a, int x, int y) {
  SPRITEDATA s;
  if (!SetSpriteSource(SPRITEUSE_BLOCK, nKind, k, a, nullptr, 0, s) || !s.lpSecond) return;
  const int nCell = kCell * s.nScale;
  DDBltStretch(pTarget, x, y, kCell / 2, kCell / 2, s.lpSecond, s.nSrcX, s.nSrcY, nCell, nCell, 1);
}

void DrawBlockIcon(DDSURFACEDATA* pTarget, const cEdBlock& block, int x, int y) {
  SPRITEDATA s;
  if (SetSpriteSource(SPRITEUSE_BLOCK, block.m_cGraphicKind, block.m_sGraphic, block.m_sGraphicCell,
                      nullptr, 0, s) &&
      s.lpFirst)
    DDBlt(pTarget, x, y, kCell, kCell, s.lpFirst, s.nSrcX, s.nSrcY, 1);
  if (block.m_cMarkShown != 1) return;
  // The mark sheet holds its cells in columns of 15.
  const int m = block.m_sMark;
  DDBlt(pTarget, x, y, kCell, kCell, &g_SurfaceTable[kMarkSheet], (m / kCellsPerColumn) * kCell,
        (m % kCellsPerColumn) * kCell, 1);
}
