#include "stage/block_chara_contacts.h"

#include <algorithm>

#include "base/logs.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

enum : int8_t {
  TRIG_TOUCHED_BLOCK = 5,
  TRIG_RIDES_BLOCK = 6,
  TRIG_RIDDEN_BY_PLAYER = 16,
  TRIG_RIDDEN = 17,
};

// A rectangle with inclusive edges.
struct BOX {
  double l, t, r, b;
};

BOX BoxOf(const cGameObj& o) { return BOX{o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }
BOX BoxOf(const RECTD& r) { return BOX{r.dX, r.dY, r.dRight, r.dBottom}; }

bool Overlaps(const BOX& a, const BOX& b) {
  return a.l <= b.r && a.r >= b.l && a.t <= b.b && a.b >= b.t;
}
bool Contains(const BOX& a, double x, double y) {
  return a.l <= x && x <= a.r && a.t <= y && y <= a.b;
}
// The box meets the horizontal line y between x1 and x2 (or the vertical
// line x between y1 and y2).
bool CoversH(const BOX& a, double y, double x1, double x2) { return Overlaps(a, BOX{x1, y, x2, y}); }
bool CoversV(const BOX& a, double x, double y1, double y2) { return Overlaps(a, BOX{x, y1, x, y2}); }
// The overlap of two spans, counting both inner edges.
double Span(double a1, double a2, double b1, double b2) {
  return std::min(a2, b2) - std::max(a1, b1) + 1;
}

bool Qualifies(const cCharaObj& b, const cGameObj& k) {
  return b.IsBlockChara() && !b.m_nDying && b.m_nActive && b.m_nId != k.m_nId;
}

// A candidate position and the block character it came from.
struct CAND {
  bool bSet = false;
  double v = -1.0;
  cCharaObj* pB = nullptr;
  void Greatest(double x, cCharaObj& b) {
    if (bSet && x <= v) return;
    bSet = true;
    v = x;
    pB = &b;
  }
  void Least(double x, cCharaObj& b) {
    if (bSet && x >= v) return;
    bSet = true;
    v = x;
    pB = &b;
  }
};

// Block box bb meets k's left or right side: the side is marked touched and
// the place k would stand beside the block is a candidate.
void TouchSides(cGameObj& k, const BOX& kb, const BOX& bb, cCharaObj& b, double w, CAND& candL,
                CAND& candR) {
  if (CoversV(bb, kb.l, kb.t + 1, kb.b - 1)) {
    k.m_nTouchL = 1;
    candL.Greatest(bb.r + 1, b);
  }
  if (CoversV(bb, kb.r, kb.t + 1, kb.b - 1)) {
    k.m_nTouchR = 1;
    candR.Least(bb.l - w, b);
  }
}

// The same for k's top and bottom.
void TouchTopBottom(cGameObj& k, const BOX& kb, const BOX& bb, cCharaObj& b, double h, CAND& candT,
                    CAND& candB) {
  if (CoversH(bb, kb.t, kb.l + 1, kb.r - 1)) {
    k.m_nTouchT = 1;
    candT.Greatest(bb.b + 1, b);
  }
  if (CoversH(bb, kb.b, kb.l + 1, kb.r - 1)) {
    k.m_nTouchB = 1;
    candB.Least(bb.t - h, b);
  }
}

RECTD RectOf(const cGameObj& o) { return RECTD{o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }

void SetX(cGameObj& k, double x) {
  k.m_dX = x;
  k.OnMovedX();
}
void SetY(cGameObj& k, double y) {
  k.m_dY = y;
  k.OnMovedY();
}

// The jump words a ceiling sets.
void SetCeilingWords(cGameObj& k) {
  k.m_nJumpCut = 1;
  k.m_nJumping = 1;
  k.m_nJumpBlocked = 1;
}

// Whether the character, moved to y, would stand in a solid grid cell or (with
// nSkipId >= 0) in a block character other than that one. The character
// itself stands in for the trial copy and is put back.
bool TrialBlocked(cPlayScene& scene, cGameObj& k, double y, bool bCharas, int32_t nSkipId) {
  const double dY = k.m_dY, dBottom = k.m_dBottom;
  const int32_t nRowT = k.m_nRowT, nRowB = k.m_nRowB;
  k.m_dY = y;
  k.m_dBottom = y + k.m_nHeight - 1;
  k.UpdateEdgeRows();
  const bool bBlocked = k.IsInBlock() || (bCharas && scene.OverlapsBlockChara(k, nSkipId));
  k.m_dY = dY;
  k.m_dBottom = dBottom;
  k.m_nRowT = nRowT;
  k.m_nRowB = nRowB;
  return bBlocked;
}

}  // namespace

const std::vector<cCharaObj*>& cBlockCharaContacts::BlockCharas(CHARALIST& list) {
  const void* pFront = list.empty() ? nullptr : &list.front();
  const void* pBack = list.empty() ? nullptr : &list.back();
  if (m_pList != &list || m_nListSize != list.size() || m_nBuiltAt != m_nChanges ||
      m_pFront != pFront || m_pBack != pBack) {
    m_vecBlocks.clear();
    for (cCharaObj& c : list)
      if (c.IsBlockChara()) m_vecBlocks.push_back(&c);
    m_pList = &list;
    m_nListSize = list.size();
    m_nBuiltAt = m_nChanges;
    m_pFront = pFront;
    m_pBack = pBack;
  }
  return m_vecBlocks;
}

int cBlockCharaContacts::ResolveBlockCharas(cPlayScene& scene, cGameObj& chara, CHARALIST& list) {
  if (chara.m_nFlying) {
    if (chara.m_cBlockMode == 0) return 0;
    return ResolveFlying(chara, list);
  }
  return ResolveWalking(scene, chara, list);
}

int cBlockCharaContacts::ResolveFlying(cGameObj& k, CHARALIST& list) {
  const BOX kb = BoxOf(k);
  const double w = k.m_nWidth, h = k.m_nHeight;
  CAND candL, candR, candT, candB;
  bool bContact = false;
  for (cCharaObj* pB : BlockCharas(list)) {
    cCharaObj& b = *pB;
    if (!Qualifies(b, k)) continue;
    const BOX bb = BoxOf(b);
    if (!Overlaps(kb, bb)) continue;
    bContact = true;
    const double ox = Span(kb.l, kb.r, bb.l, bb.r);
    const double oy = Span(kb.t, kb.b, bb.t, bb.b);
    if (ox > oy)
      TouchTopBottom(k, kb, bb, b, h, candT, candB);
    else
      TouchSides(k, kb, bb, b, w, candL, candR);
  }
  if (bContact) k.FireTrigger(TRIG_TOUCHED_BLOCK);
  if (k.m_cBlockMode == 2) return candL.bSet || candR.bSet || candT.bSet || candB.bSet ? 2 : 0;
  if (candL.bSet) {
    k.m_dPushVX = 0;
    if (candL.pB->m_dVX >= 0 || k.m_dVX < 0) {
      SetX(k, candL.v);
      k.m_nPushedAside = 1;
    } else {
      k.m_nTouchL = 0;
      PushOutOfBlockCharas(k, list, AXIS_VERTICAL);
    }
  }
  if (candR.bSet) {
    k.m_dPushVX = 0;
    if (candR.pB->m_dVX > 0 && !(k.m_dVX > 0)) {
      k.m_nTouchR = 0;
      PushOutOfBlockCharas(k, list, AXIS_VERTICAL);
    } else {
      SetX(k, candR.v);
      k.m_nPushedAside = 1;
    }
  }
  if (candT.bSet) {
    k.m_dPushVY = 0;
    if (candT.pB->m_dVY >= 0 || k.m_dVY < 0) {
      SetY(k, candT.v);
    } else {
      k.m_nTouchT = 0;
      PushOutOfBlockCharas(k, list, AXIS_HORIZONTAL);
    }
  }
  if (candB.bSet) {
    k.m_dPushVY = 0;
    if (candB.pB->m_dVY > 0 && !(k.m_dVY > 0)) {
      k.m_nTouchB = 0;
      PushOutOfBlockCharas(k, list, AXIS_HORIZONTAL);
      return 0;
    }
    SetY(k, candB.v);
  }
  return 0;
}

void cBlockCharaContacts::PutUnderUpperBlock(cGameObj& k, CHARALIST& list) {
  const BOX upper{k.m_dX, k.m_dY, k.m_dRight, k.m_dY + (k.m_nHeight >> 1)};
  for (cCharaObj* pB : BlockCharas(list)) {
    cCharaObj& b = *pB;
    if (!Qualifies(b, k) || !Overlaps(upper, BoxOf(b))) continue;
    if (b.m_dVY > 0) k.m_nTouchT = 1;
    k.m_dPushVY = 0;
    SetCeilingWords(k);
    k.m_dVY = b.m_dVY;
    SetY(k, b.m_dBottom + 1);
    return;
  }
}

int cBlockCharaContacts::ResolveWalking(cPlayScene& scene, cGameObj& k, CHARALIST& list) {
  const double n = g_Stage.m_dSteps;
  const double w = k.m_nWidth, h = k.m_nHeight;
  const int32_t nHalf = k.m_nHeight >> 1;
  const BOX kb = BoxOf(k);
  const BOX upper{kb.l, kb.t, kb.r, kb.t + nHalf};
  const BOX start = BoxOf(k.m_SavedPos);
  const BOX band{start.l, kb.t, start.r, kb.b};
  CAND candL, candR, candT, candB;
  cCharaObj* pRide = nullptr;
  bool bContact = false;

  auto Land = [&](cCharaObj& b) {
    if (b.m_dVY < 0) k.m_nTouchB = 1;
    if (candB.bSet && b.m_dY - h >= candB.v) return;
    candB.Least(b.m_dY - h, b);
    k.m_nRideId = b.m_nId;
    k.m_RideSnap = RectOf(b);
    pRide = &b;
  };
  // The sides, over the edge from y1 to y2, the one K moves toward first.
  auto Side = [&](cCharaObj& b, const BOX& bb, double y1, double y2) {
    auto Right = [&] {
      if (!CoversV(bb, kb.r, y1, y2)) return false;
      k.m_nTouchR = 1;
      candR.Least(bb.l - w - 0.5, b);
      return true;
    };
    auto Left = [&] {
      if (!CoversV(bb, kb.l, y1, y2)) return false;
      k.m_nTouchL = 1;
      candL.Greatest(bb.r + 1.5, b);
      return true;
    };
    if (k.m_dVX >= 0) {
      if (!Right()) Left();
    } else {
      if (!Left()) Right();
    }
  };

  for (cCharaObj* pB : BlockCharas(list)) {
    cCharaObj& b = *pB;
    if (!Qualifies(b, k)) continue;
    const BOX bb = BoxOf(b);
    if (!Overlaps(kb, bb)) continue;
    bContact = true;
    const BOX bStart = BoxOf(b.m_SavedPos);
    if (Overlaps(upper, bb)) {
      const double ox = Span(upper.l, upper.r, bb.l, bb.r);
      const double oy = Span(upper.t, upper.b, bb.t, bb.b);
      if (k.m_dVY > 2 / n && Overlaps(bStart, band) && start.t < bStart.t) {
        DebugLogF("D Hit");
        Land(b);
      } else if ((ox - oy > 0.4 / n && kb.b > bb.b) ||
                 (Overlaps(bStart, band) && start.t > bStart.t && !Overlaps(start, bb))) {
        if (b.m_dVY > 0) k.m_nTouchT = 1;
        candT.Greatest(bb.b + 1, b);
        if (k.m_nRiding && k.m_dVY < 0) k.m_nTouchB = 1;
      } else {
        Side(b, bb, kb.t, kb.t + nHalf);
      }
    } else {
      const double ox = Span(kb.l, kb.r, bb.l, bb.r);
      const double oy = Span(kb.t, kb.b, bb.t, bb.b);
      if (oy > ox)
        Side(b, bb, kb.t, kb.b);
      else if (Overlaps(bb, BOX{kb.l + 1, kb.b - (k.m_nHeight / 3), kb.r - 1, kb.b}))
        Land(b);
    }
  }

  bool bLanded = false;
  const bool bBothSides = candL.bSet && candR.bSet;
  if (candT.bSet && !candB.bSet) {
    cCharaObj& top = *candT.pB;
    if (top.m_dVY < 0 && !TrialBlocked(scene, k, candT.v, true, top.m_nId)) {
      k.m_dVY = top.m_dVY;
      k.m_dY = candT.v;
      k.m_dPushVY = 0;
      SetCeilingWords(k);
      k.OnMovedY();
      scene.TestFloorAndCeiling(k);
    }
  } else if (bBothSides && !candB.bSet) {
    PutUnderUpperBlock(k, list);
    k.m_nTouchL = k.m_nTouchR = 0;
  } else if (candB.bSet && !bBothSides) {
    cCharaObj& ride = *pRide;
    if (ride.m_dVY > 0 && TrialBlocked(scene, k, candB.v, false, -1)) {
      k.m_nRiding = 0;
    } else {
      k.m_dPushVY = 0;
      bLanded = true;
      if (!k.m_nRiding) {
        k.m_nRiding = 1;
        if (k.m_nControl == 0) ride.FireFlows(TRIG_RIDDEN_BY_PLAYER, &k, 0);
        ride.FireFlows(TRIG_RIDDEN, &k, 0);
      }
      SetY(k, candB.v);
      k.m_dVY = 0;
      k.m_nNoFloorSteps = 0;
      k.m_nFalling = k.m_nJumping = k.m_nJumpCut = 0;
      if (k.m_nControl == 1) k.m_nJumpBlocked = 0;
      if (cPlayerObj* pPlayer = dynamic_cast<cPlayerObj*>(&k); pPlayer && k.m_nControl == 0)
        pPlayer->m_nNoJump = 0;
    }
  }
  if (!(bBothSides && !candB.bSet)) {
    for (CAND* pCand : {&candL, &candR}) {
      if (!pCand->bSet) continue;
      k.m_dPushVX = 0;
      if (!(k.m_nRiding && pCand->pB->m_nId == k.m_nRideId)) k.m_nPushedAside = 1;
      SetX(k, pCand->v);
    }
  }
  if (bBothSides && candB.bSet) {
    SetX(k, k.m_SavedPos.dX);
    PutUnderUpperBlock(k, list);
    k.m_nTouchL = k.m_nTouchR = 0;
  }

  if (bContact || k.m_nRiding) {
    k.FireTrigger(TRIG_TOUCHED_BLOCK);
    if (k.m_nRiding) k.FireTrigger(TRIG_RIDES_BLOCK);
  }

  if ((k.m_nTouchL && k.m_nTouchR) || (k.m_nTouchT && k.m_nTouchB) ||
      IsEnclosedByBlockCharas(k, k.m_SavedPos, list))
    return 2;

  // Pushed into the terrain: back out, a tenth of a pixel at a time.
  const int32_t nTouch[4] = {k.m_nTouchL, k.m_nTouchR, k.m_nTouchT, k.m_nTouchB};
  for (int s = 0; s < 4; ++s) {
    if (!nTouch[s]) continue;
    for (int i = 0; i < 15 && k.IsInBlock(); ++i) {
      if (s == 0) SetX(k, k.m_dX - 0.1);
      if (s == 1) SetX(k, k.m_dX + 0.1);
      if (s == 2) SetY(k, k.m_dY - 0.1);
      if (s == 3) SetY(k, k.m_dY + 0.1);
    }
  }

  if (k.m_nRiding && !bLanded) {
    bool bTarget = false;
    if (k.m_dKnockY < 0) {
      k.StopFall(1);
    } else if (IsOnRideTarget(k, list)) {
      for (cCharaObj* pB : BlockCharas(list)) {
        if (pB->m_nId != k.m_nRideId) continue;
        k.m_RideSnap = RectOf(*pB);
        break;
      }
      bTarget = true;
    } else if (cCharaObj* pB = FindBlockCharaUnderFeet(k, list)) {
      k.m_nRideId = pB->m_nId;
      k.m_RideSnap = RectOf(*pB);
      bTarget = true;
    } else {
      k.StopFall(1);
    }
    if (bTarget) {
      k.m_nNoFloorSteps = 0;
      k.m_nKnocked = 0;
    }
  }
  return 0;
}

void cBlockCharaContacts::PushOutOfBlockCharas(cGameObj& k, CHARALIST& list, int nAxis) {
  const BOX kb = BoxOf(k);
  const double w = k.m_nWidth, h = k.m_nHeight;
  CAND candA, candB;  // left and right, or top and bottom
  for (cCharaObj* pB : BlockCharas(list)) {
    cCharaObj& b = *pB;
    if (!Qualifies(b, k)) continue;
    const BOX bb = BoxOf(b);
    if (!Overlaps(kb, bb)) continue;
    if (nAxis == AXIS_HORIZONTAL)
      TouchSides(k, kb, bb, b, w, candA, candB);
    else
      TouchTopBottom(k, kb, bb, b, h, candA, candB);
  }
  for (CAND* pCand : {&candA, &candB}) {
    if (!pCand->bSet) continue;
    if (nAxis == AXIS_HORIZONTAL) {
      if (!(k.m_nRiding && pCand->pB->m_nId == k.m_nRideId)) k.m_nPushedAside = 1;
      SetX(k, pCand->v);
    } else {
      SetY(k, pCand->v);
    }
  }
}

int cBlockCharaContacts::IsEnclosedByBlockCharas(cGameObj& k, const RECTD& rStart,
                                                 CHARALIST& list) {
  const BOX now = BoxOf(k);
  const BOX then = BoxOf(rStart);
  const double xs[4][2] = {{now.l, then.l}, {now.r, then.r}, {now.l, then.l}, {now.r, then.r}};
  const double ys[4][2] = {
      {now.t, then.t}, {now.t, then.t}, {now.b - 1, then.b - 1}, {now.b - 1, then.b - 1}};
  const std::vector<cCharaObj*>& blocks = BlockCharas(list);
  for (int c = 0; c < 4; ++c) {
    const bool bFound = std::any_of(blocks.begin(), blocks.end(), [&](const cCharaObj* pB) {
      if (!Qualifies(*pB, k)) return false;
      const BOX bb = BoxOf(*pB);
      return Contains(bb, xs[c][0], ys[c][0]) || Contains(bb, xs[c][1], ys[c][1]);
    });
    if (!bFound) return 0;
  }
  return 1;
}

int cBlockCharaContacts::IsOnRideTarget(cGameObj& k, CHARALIST& list) {
  const BOX strip{k.m_dX, k.m_dBottom, k.m_dRight, k.m_dBottom + 5};
  for (cCharaObj* pB : BlockCharas(list))
    if (pB->m_nId == k.m_nRideId && Qualifies(*pB, k) && Overlaps(strip, BoxOf(*pB))) return 1;
  return 0;
}

cCharaObj* cBlockCharaContacts::FindBlockCharaUnderFeet(cGameObj& k, CHARALIST& list) {
  const BOX strip{k.m_dX, k.m_dBottom, k.m_dRight, k.m_dBottom + 5};
  for (cCharaObj* pB : BlockCharas(list))
    if (Qualifies(*pB, k) && Overlaps(strip, BoxOf(*pB))) return pB;
  return nullptr;
}

int cBlockCharaContacts::CarryRider(cGameObj& k, CHARALIST& list) {
  if (k.m_nFlying) return 0;
  for (cCharaObj* pB : BlockCharas(list)) {
    cCharaObj& b = *pB;
    if (b.m_nId != k.m_nRideId) continue;
    k.m_dVX += b.m_dX - k.m_RideSnap.dX;
    if (b.m_nFlying || b.m_nFalling) k.m_dVY = b.m_dY - k.m_RideSnap.dY;
    if (k.m_nControl == 0) b.FireFlows(TRIG_RIDDEN_BY_PLAYER, &k, 0);
    b.FireFlows(TRIG_RIDDEN, &k, 0);
    break;
  }
  return 0;
}

int cPlayScene::ResolveBlockCharas(cGameObj& chara, CHARALIST& list) {
  return m_BlockCharas.ResolveBlockCharas(*this, chara, list);
}

int cPlayScene::CarryRider(cGameObj& chara, CHARALIST& list) {
  return m_BlockCharas.CarryRider(chara, list);
}
