// A character's rectangle against the block grid: which cells an edge
// touches and which of them wins, the wall, floor and ceiling tests with
// their snapping, the screen edges of auto-scrolling stages, and the
// placement tests. Every test returns 0 to go on and 2 when the contact
// kills the object.
#include <cstdint>
#include <cstdlib>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

bool PassesThrough(const cGameObj& obj) { return obj.m_nFlying && obj.m_cBlockMode == 0; }
bool DiesOnBlocks(const cGameObj& obj) { return obj.m_nFlying && obj.m_cBlockMode == 2; }
// A deadly cell stops the computer's characters as a solid one does.
bool Stops(const cGameObj& obj, int nHit) {
  return nHit == 1 || (nHit == 2 && obj.m_nControl == 1);
}
// A walker moving up passes through a floor unless the old landing rule holds.
bool RefusesLanding(const cGameObj& obj) {
  return !g_SystemData.m_bCompat677 && !obj.m_nFlying && obj.m_dVY < 0;
}

int32_t CellIndex(int32_t nColumn, int32_t nRow) {
  return static_cast<int32_t>(static_cast<uint32_t>(nColumn) +
                              (static_cast<uint32_t>(nRow) << g_BlockPalette.Shift()));
}

// The sample that wins along a horizontal edge: the greatest hit type, and
// of equal ones the nearest to the middle.
struct HORIZONTALBEST {
  int nHit = -1;
  int64_t nDist = 0;
  int32_t nCell = 0;

  void Offer(int nSampleHit, int32_t x, int32_t nMid, int32_t nCell0) {
    const int64_t nD = std::llabs(static_cast<int64_t>(x) - nMid);
    if (nSampleHit > nHit || (nSampleHit == nHit && nD < nDist)) {
      nHit = nSampleHit;
      nDist = nD;
      nCell = nCell0;
    }
  }
};

}  // namespace

int cPlayScene::GetCellHitType(int32_t nCell, int32_t nGroup) {
  BLOCKCELL& cell = g_BlockPalette.Cell(nCell);
  if (cell.bConds && !CheckBlockCondition(nCell)) return 0;
  if (static_cast<int8_t>(cell.cExempt) == nGroup) return 0;
  return cell.cHitType;
}

int32_t cPlayScene::FindEdgeCell(cGameObj& obj, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t k = obj.GetScale();
  if (k < 0) return 0;
  const int32_t nSamples = k + 1;
  if (x1 == x2) {
    const int32_t nStride = obj.m_nBaseHeight - 1;
    int nBest = -1;
    int32_t nBestCell = 0;
    for (int32_t i = 0; i < nSamples; ++i) {
      const int32_t y = static_cast<int32_t>(
          static_cast<uint32_t>(y1) + static_cast<uint32_t>(i) * static_cast<uint32_t>(nStride));
      const int32_t nCell = g_BlockPalette.CellAt(x1, y);
      const int nHit = GetCellHitType(nCell, obj.m_nGroup);
      if (nHit > nBest) {
        nBest = nHit;
        nBestCell = nCell;
      }
    }
    return nBestCell;
  }
  if (y1 == y2) {
    const int32_t nStride = obj.m_nBaseWidth - 1;
    const int32_t nMid = static_cast<int32_t>((static_cast<int64_t>(x1) + x2) >> 1);
    HORIZONTALBEST best;
    for (int32_t i = 0; i < nSamples; ++i) {
      const int32_t x = static_cast<int32_t>(
          static_cast<uint32_t>(x1) + static_cast<uint32_t>(i) * static_cast<uint32_t>(nStride));
      const int32_t nCell = g_BlockPalette.CellAt(x, y1);
      best.Offer(GetCellHitType(nCell, obj.m_nGroup), x, nMid, nCell);
    }
    return best.nCell;
  }
  return 0;
}

int32_t cPlayScene::FindFloorCell(cGameObj& obj) {
  // A scale of 0 or less (a status can set it) still samples both ends.
  int32_t k = obj.GetScale();
  if (k < 1) k = 1;
  const int32_t nCount = (k & 1) ? k + 2 : k + 1;
  const int32_t nStep = obj.m_nWidth / (nCount - 1);
  const int32_t x0 = TruncI32(obj.m_dX);
  const int32_t xr = TruncI32(obj.m_dRight);
  const int32_t y = TruncI32(obj.m_dBottom);
  const int32_t nMid = static_cast<int32_t>((static_cast<int64_t>(x0) + xr) >> 1);
  HORIZONTALBEST best;
  for (int32_t i = 0; i < nCount; ++i) {
    const int32_t x =
        i == nCount - 1
            ? xr
            : static_cast<int32_t>(static_cast<uint32_t>(x0) +
                                   static_cast<uint32_t>(i) * static_cast<uint32_t>(nStep));
    const int32_t nCell = g_BlockPalette.CellAt(x, y);
    best.Offer(GetCellHitType(nCell, obj.m_nGroup), x, nMid, nCell);
  }
  return best.nCell;
}

int32_t cPlayScene::FindCornerCell(int32_t nColL, int32_t nRowT, int32_t nColR, int32_t nRowB,
                                   int32_t nGroup) {
  const int32_t anCells[4] = {CellIndex(nColL, nRowT), CellIndex(nColR, nRowT),
                              CellIndex(nColL, nRowB), CellIndex(nColR, nRowB)};
  int nBest = -1;
  int32_t nBestCell = 0;
  for (int32_t nCell : anCells) {
    const int nHit = GetCellHitType(nCell, nGroup);
    if (nHit > nBest) {
      nBest = nHit;
      nBestCell = nCell;
    }
  }
  return nBestCell;
}

int cPlayScene::TestWallLeft(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t x = TruncI32(obj.m_dX);
  const int32_t nCell = FindEdgeCell(obj, x, TruncI32(obj.m_dY), x, TruncI32(obj.m_dBottom));
  const int nHit = GetCellHitType(nCell, obj.m_nGroup);
  if (!Stops(obj, nHit)) return nHit == 2 ? 2 : 0;
  if (DiesOnBlocks(obj)) return 2;
  obj.m_nTouchL = 1;
  obj.m_dPushVX = 0;
  // To the next cell boundary on the right; the fraction stays.
  obj.m_dX += 32 - (x & 31);
  obj.OnMovedX();
  obj.m_nWallSide = 0;
  obj.FireTrigger(9);
  obj.FireTrigger(10);
  obj.FireTrigger(11);
  return 0;
}

int cPlayScene::TestWallRight(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t xr = TruncI32(obj.m_dRight);
  const int32_t nCell = FindEdgeCell(obj, xr, TruncI32(obj.m_dY), xr, TruncI32(obj.m_dBottom));
  const int nHit = GetCellHitType(nCell, obj.m_nGroup);
  if (!Stops(obj, nHit)) return nHit == 2 ? 2 : 0;
  if (DiesOnBlocks(obj)) return 2;
  obj.m_nTouchR = 1;
  obj.m_dPushVX = 0;
  obj.m_dX -= (xr & 31) + 1;
  obj.OnMovedX();
  obj.m_nWallSide = 1;
  obj.FireTrigger(9);
  obj.FireTrigger(10);
  obj.FireTrigger(12);
  return 0;
}

int cPlayScene::TestBlocksX(cGameObj& obj) {
  if (obj.m_nFlying && obj.m_cBlockMode == 1) {
    const int r1 = TestWallRight(obj);
    const int r2 = TestWallLeft(obj);
    return (r1 == 2 || r2 == 2) ? 2 : 0;
  }
  if (obj.m_dVX > 0) {
    if (TestWallRight(obj) == 2) return 2;
    return TestWallLeft(obj);
  }
  if (TestWallLeft(obj) == 2) return 2;
  return TestWallRight(obj);
}

int cPlayScene::TestBlocksXBoth(cGameObj& obj) {
  const int r1 = TestWallRight(obj);
  const int r2 = TestWallLeft(obj);
  return (r1 == 2 || r2 == 2) ? 2 : 0;
}

int cPlayScene::TestFloor(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t yb = TruncI32(obj.m_dBottom);
  obj.m_pFootCell = FindEdgeCell(obj, TruncI32(obj.m_dX), yb, TruncI32(obj.m_dRight), yb);
  const int nHit = GetCellHitType(obj.m_pFootCell, obj.m_nGroup);
  if (nHit == 0) {
    obj.m_pFootCell = NO_CELL;
    obj.m_nNoFloorSteps += 1;
    // 8 frames without a floor: walked off an edge.
    if (obj.m_nNoFloorSteps >= g_Stage.m_nSteps8) {
      if (obj.m_nControl == 1) {
        obj.m_nFalling = 1;
      } else if (!obj.m_nRiding) {
        obj.m_nFalling = 1;
        if (!g_Players.empty()) g_Players[0].m_nJumpReady = 1;
      }
    }
    return 0;
  }
  if (nHit == 1) {
    if (DiesOnBlocks(obj)) return 2;
    if (RefusesLanding(obj)) return 0;
    if (obj.m_nControl == 0) obj.m_pFootCell = FindFloorCell(obj);
    obj.m_pLandCell = obj.m_pFootCell;
    obj.LandOnBlock();
    return 0;
  }
  obj.m_pLandCell = obj.m_pFootCell;
  if (obj.m_nControl != 1 || DiesOnBlocks(obj)) return 2;
  if (RefusesLanding(obj)) return 0;
  obj.LandOnBlock();
  return 0;
}

int cPlayScene::TestCeiling(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t y = TruncI32(obj.m_dY);
  const int32_t nCell = FindEdgeCell(obj, TruncI32(obj.m_dX), y, TruncI32(obj.m_dRight), y);
  const int nHit = GetCellHitType(nCell, obj.m_nGroup);
  if (Stops(obj, nHit)) {
    if (DiesOnBlocks(obj)) return 2;
    obj.HitCeiling();
    return 0;
  }
  return nHit == 2 ? 2 : 0;
}

int cPlayScene::TestBlocksY(cGameObj& obj) {
  obj.m_pFootCell = NO_CELL;
  if (obj.m_nFlying && obj.m_cBlockMode == 1) {
    const int r1 = TestFloor(obj);
    const int r2 = TestCeiling(obj);
    return (r1 == 2 || r2 == 2) ? 2 : 0;
  }
  if (obj.m_dVY > 0) {
    if (TestFloor(obj) == 2) return 2;
    return TestCeiling(obj);
  }
  if (TestCeiling(obj) == 2) return 2;
  return TestFloor(obj);
}

int cPlayScene::TestFloorAndCeiling(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t yb = TruncI32(obj.m_dBottom);
  int32_t nCell = FindEdgeCell(obj, TruncI32(obj.m_dX), yb, TruncI32(obj.m_dRight), yb);
  const int nHit = GetCellHitType(nCell, obj.m_nGroup);
  if (nHit == 1) {
    if (DiesOnBlocks(obj)) return 2;
    if (RefusesLanding(obj)) return 0;
    if (obj.m_nControl == 0) nCell = FindFloorCell(obj);
    obj.m_pFootCell = obj.m_pLandCell = nCell;
    obj.LandOnBlock();
  } else if (nHit == 2) {
    if (obj.m_nControl == 0) nCell = FindFloorCell(obj);
    obj.m_pFootCell = obj.m_pLandCell = nCell;
    if (obj.m_nControl != 1 || DiesOnBlocks(obj)) return 2;
    if (RefusesLanding(obj)) return 0;
    obj.LandOnBlock();
  }
  return TestCeiling(obj);
}

void cPlayScene::KeepInScreenX(cGameObj& obj) {
  if (!m_ScrollX.m_bAuto && !obj.m_nFlying) return;
  obj.cObjRoot::UpdateScreenRect();
  if (obj.m_nScrLeft + obj.m_nDrawDX < 0) {
    obj.m_nTouchL = 1;
    obj.m_dX = m_ScrollX.m_dPos;
    obj.OnMovedX();
  } else if (obj.m_nScrRight - obj.m_nDrawDX + 1 >= 640) {
    obj.m_nTouchR = 1;
    obj.m_dX = m_ScrollX.m_dPos + 640 - obj.m_nWidth - 1;
    obj.OnMovedX();
  }
}

int cPlayScene::KeepInScreenY(cGameObj& obj) {
  if (!m_ScrollY.m_bAuto && !obj.m_nFlying) return 0;
  obj.cObjRoot::UpdateScreenRect();
  if (obj.m_nScrTop + obj.m_nDrawDY < 0) {
    obj.m_nTouchT = 1;
    obj.m_dY = m_ScrollY.m_dPos;
    obj.OnMovedY();
  } else if (obj.m_nScrBottom - obj.m_nDrawDY + 1 >= 480) {
    obj.m_nTouchB = 1;
    obj.m_dY = m_ScrollY.m_dPos + 480 - obj.m_nHeight - 1;
    obj.OnMovedY();
    // Pressed against the bottom of the view: a walker is crushed.
    if (!obj.m_nFlying) return 2;
  }
  return 0;
}

int cPlayScene::IsPlaceBlocked(cGameObj& obj) {
  if (PassesThrough(obj)) return 0;
  const int32_t nCell =
      FindCornerCell(obj.m_nColL, obj.m_nRowT, obj.m_nColR, obj.m_nRowB, obj.m_nGroup);
  if (GetCellHitType(nCell, obj.m_nGroup) != 0) return 1;
  return OverlapsBlockChara(obj);
}

int cPlayScene::OverlapsBlockChara(cGameObj& obj, int32_t nSkipId) {
  if (PassesThrough(obj)) return 0;
  for (cCharaObj& c : g_CharaList) {
    if (!c.IsBlockChara() || c.m_nDying || !c.m_nActive) continue;
    if (c.m_nId == obj.m_nId || c.m_nId == nSkipId) continue;
    if (c.m_dX <= obj.m_dRight && c.m_dRight >= obj.m_dX && c.m_dY <= obj.m_dBottom &&
        c.m_dBottom >= obj.m_dY)
      return 1;
  }
  return 0;
}

int cObjRoot::IsInBlock() {
  cPlayScene& scene = *g_PlayScene;
  const int32_t nCell = scene.FindCornerCell(m_nColL, m_nRowT, m_nColR, m_nRowB, m_nGroup);
  return scene.GetCellHitType(nCell, m_nGroup) != 0 ? 1 : 0;
}
