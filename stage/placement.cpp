#include "stage/placement.h"

#include <algorithm>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "palette/ed_block.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

// Centre of the cell column c (row r), the margin not counted.
double CellCentre(int32_t n) { return (static_cast<double>(n) + 10) * 32 + 16; }

// The arrangement offset of copy i on the four edges, and (unless the old
// rule holds) on the point the movement commands start from.
void OffsetCopy(cCharaObj& c, const cEdChara& def, int i) {
  const double ox = def.GetPosX(i, def.m_cMoveMirror);
  const double oy = def.GetPosY(i, def.m_cMoveMirror);
  c.m_dX += ox;
  c.m_dRight += ox;
  c.m_dY += oy;
  c.m_dBottom += oy;
  if (!g_SystemData.m_bCompat768) {
    c.m_dHomeX += ox;
    c.m_dHomeY += oy;
  }
}

int32_t Lifetime(const SUMMONRULES& rules) {
  const int64_t n = static_cast<int64_t>(rules.nLifeTenths) * g_Stage.m_nSteps * 6;
  return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX - 1));
}

}  // namespace

void PlaceChara(CHARALIST& list, int32_t nColumn, int32_t nRow, int32_t& nSerial,
                const cEdChara& placement, const cItemObj* pItem) {
  cEdChara def = placement;
  for (int i = 0; i <= def.m_cExtraCopies; ++i) {
    // Built where it will live: a copy that stays keeps its address.
    cCharaObj& c = list.emplace_back();
    c.SetUp(nSerial, def, pItem, CellCentre(nColumn), CellCentre(nRow), static_cast<int16_t>(i));
    c.PlaceOnCell(nColumn, nRow);
    OffsetCopy(c, def, i);
    if (!c.IsInsideStage(1)) {
      list.pop_back();
      continue;
    }
    c.OnMovedX();
    c.OnMovedY();
    c.UpdateScreenRect();
    ++nSerial;
  }
}

void PlaceItem(ITEMLIST& list, int32_t nColumn, int32_t nRow, int32_t& nSerial,
               const cEdItem& placement) {
  cItemObj& item = list.emplace_back();
  item.SetUp(nSerial, placement, 0);
  item.SetCell(nColumn, nRow);
  item.m_dX += placement.m_sWordA;
  item.m_dRight += placement.m_sWordA;
  item.m_dY += placement.m_sWordB;
  item.m_dBottom += placement.m_sWordB;
  if (!item.IsInsideStage(1)) {
    list.pop_back();
    return;
  }
  item.ClampX(2);
  item.ClampY(2);
  item.UpdateScreenRect();
  ++nSerial;
}

void SummonChara(CHARALIST& list, double x, double y, int32_t nFacing, int32_t nGroup,
                 const SUMMONRULES& rules, const cEdChara& def, int32_t& nSerial,
                 cGameObj* pParent) {
  cPlayScene& scene = *g_PlayScene;
  for (int i = 0; i <= def.m_cExtraCopies; ++i) {
    cEdChara rec = def;
    rec.m_cMoveMirror = static_cast<uint8_t>(nFacing);
    rec.m_cFaction = static_cast<uint8_t>(nGroup);
    if (rules.bClearScore) rec.m_nScore = 0;
    cCharaObj& c = list.emplace_back();
    c.SetUp(nSerial, rec, nullptr, x + 16, y + 16, static_cast<int16_t>(i));
    // Where a placed character would stand in a cell at this pixel.
    c.m_dX = x + c.m_nBaseDrawDX + 0.5;
    c.m_dY = y + c.m_nBaseDrawDY;
    c.KeepCentreX(c.GetScale(), 1);
    c.OnSizeChange(c.GetScale(), 1);
    c.OnMovedX();
    c.OnMovedY();
    OffsetCopy(c, rec, i);
    if (!c.IsInsideStage(1)) {
      list.pop_back();
      continue;
    }
    c.OnMovedX();
    c.OnMovedY();
    if (scene.IsPlaceBlocked(c)) {
      // In a wall or another block character: gone in the same step.
      list.pop_back();
      continue;
    }
    c.SetParent(pParent);
    if (rules.bLifetime) c.m_nLife = Lifetime(rules);
    c.m_nParentCredit = rules.nCredit;
    c.m_cParentKey = rules.cKey;
    scene.m_CharaGroups.At(c.m_nGroup).push_back(&c);
    c.UpdateScreenRect();
    ++nSerial;
  }
}

void SummonItem(ITEMLIST& list, double x, double y, const SUMMONRULES& rules, const cEdItem& def,
                int32_t& nSerial) {
  cItemObj& item = list.emplace_back();
  item.SetUp(nSerial, def, 0);
  // Where a placed item would stand in a cell at this pixel.
  item.m_dX = x + item.m_nBaseDrawDX + 0.5 + def.m_sWordA;
  item.m_dY = y + item.m_nBaseDrawDY + def.m_sWordB;
  item.m_dRight = item.m_dX + item.m_nWidth - 1;
  item.m_dBottom = item.m_dY + item.m_nHeight - 1;
  if (!item.IsInsideStage(1)) {
    list.pop_back();
    return;
  }
  item.ClampX(2);
  item.ClampY(2);
  if (rules.bLifetime) item.m_nLife = Lifetime(rules);
  item.UpdateScreenRect();
  ++nSerial;
}

namespace {

// A block that meets its conditions and refuses summons keeps its cell.
bool IsProtectedCell(cPlayScene& scene, int32_t nCell) {
  const cEdBlock& cur = g_BlockPalette.DefAt(nCell);
  if (g_SystemData.m_bCompat637) return cur.m_cSummonProof != 0;
  return cur.m_sGraphic != 0 && scene.CheckBlockCondition(nCell) && cur.m_cSummonProof != 0;
}

// Places the block; false when a not-over rule refused it (the cell is as
// it was).
bool PlaceSummonedBlock(int32_t nCell, int32_t nColumn, int32_t nRow, const SUMMONRULES& rules,
                        const cEdBlock& def, int64_t nDefKey) {
  if (!rules.bNotOverPlayer && !rules.bNotOverChara) {
    g_BlockPalette.SetBlock(nCell, def, nDefKey);
    CheckSummonCrush(nCell, nColumn, nRow, rules);
    return true;
  }
  const BLOCKCELL old = g_BlockPalette.Cell(nCell);
  g_BlockPalette.SetBlock(nCell, def, nDefKey);
  if (CheckSummonCrush(nCell, nColumn, nRow, rules) == 1) {
    g_BlockPalette.Cell(nCell) = old;
    return false;
  }
  return true;
}

}  // namespace

int SummonBlock(double x, double y, const SUMMONRULES& rules, const cEdBlock& def,
                int64_t nDefKey) {
  cPlayScene& scene = *g_PlayScene;
  const int32_t nColumn = TruncI32(x + 16.5) >> 5;
  const int32_t nRow = TruncI32(y + 16.5) >> 5;
  // Only the whole index is checked: a column past the row's end reaches
  // into the next row, as the grid is laid out.
  const int64_t nIndex = static_cast<int64_t>(nColumn) +
                         static_cast<int64_t>(nRow) * (int64_t{1} << g_BlockPalette.Shift());
  if (nIndex < 0 || nIndex >= g_BlockPalette.Size()) return 0;
  const int32_t nCell = static_cast<int32_t>(nIndex);
  if (IsProtectedCell(scene, nCell)) return 0;
  switch (rules.nBlockMode) {
    case 0:
      PlaceSummonedBlock(nCell, nColumn, nRow, rules, def, nDefKey);
      break;
    case 1:
      g_BlockPalette.EraseBlock(nCell);
      break;
    case 2: {
      cSafeVector<int32_t>& cells = scene.m_SummonedCells;
      if (std::find(cells.begin(), cells.end(), nCell) != cells.end()) break;
      if (g_BlockPalette.DefAt(nCell).m_sGraphic != 0 && scene.CheckBlockCondition(nCell)) {
        g_BlockPalette.EraseBlock(nCell);
        cells.push_back(nCell);
      } else if (PlaceSummonedBlock(nCell, nColumn, nRow, rules, def, nDefKey)) {
        cells.push_back(nCell);
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

int CheckSummonCrush(int32_t nCell, int32_t nColumn, int32_t nRow, const SUMMONRULES& rules) {
  cPlayScene& scene = *g_PlayScene;
  const double dLeft = static_cast<double>(nColumn) * 32;
  const double dRight = dLeft + 32 - 0.1;
  const double dTop = static_cast<double>(nRow) * 32;
  const double dBottom = dTop + 32 - 0.1;
  auto Under = [&](const cGameObj& o) {
    return o.m_dX <= dRight && o.m_dRight >= dLeft && o.m_dY <= dBottom && o.m_dBottom >= dTop;
  };
  for (cPlayerObj& p : g_Players) {
    if (p.m_nDying != 0 || scene.GetCellHitType(nCell, p.m_nGroup) == 0 || !Under(p)) continue;
    p.m_nCrushGrace = 2;
    if (rules.bNotOverPlayer) return 1;
  }
  for (cCharaObj& c : g_CharaList) {
    if (c.m_nDying != 0 || !c.m_nActive) continue;
    if (scene.GetCellHitType(nCell, c.m_nGroup) == 0 || !Under(c)) continue;
    c.m_nCrushGrace = 2;
    if (rules.bNotOverChara) return 1;
  }
  return 0;
}
