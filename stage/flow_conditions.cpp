// The flag, state and distance conditions: a flag-like status of a
// character or the auto-scroll switches compared with a constant; whether a
// character faces a way, stands on something, is on screen or exists; and
// whether another character is within a span or a circle around it.
#include <algorithm>
#include <climits>
#include <cmath>

#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "records/record.h"
#include "stage/condition_lists.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/status_refs.h"

int EvalFlagCond(cPlayScene& /*scene*/, const cCond& cond, cGameObj* pChara) {
  int32_t v = 0;
  if (cond.m_cObject == 5) {
    if (cond.m_cStatus == 0)
      v = g_Stage.m_nScrollKindX;
    else if (cond.m_cStatus == 1)
      v = g_Stage.m_nScrollKindY;
    else
      return 0;
    return CompareValues(v, cond.m_sVarNum, cond.m_cCompare);
  }
  cGameObj* pObj = pChara;
  if (cond.m_cObject >= 1 && cond.m_cObject <= 4) pObj = pChara ? TargetSlot(*pChara, cond.m_cObject) : nullptr;
  if (cond.m_cStatus == 0 || cond.m_cStatus > 6) return 0;
  // An empty target slot reads 0, which the comparison then tests.
  if (pObj) {
    const cEdChara& d = pObj->m_Def;
    switch (cond.m_cStatus) {
      case 1:
        v = d.m_cTransparent;
        break;
      case 2:
        v = static_cast<int8_t>(d.m_cFixedDir);
        break;
      case 3:
        v = static_cast<int8_t>(d.m_cFlying);
        break;
      case 4:
        v = static_cast<int8_t>(d.m_cInvincible);
        break;
      case 5:
        v = static_cast<int8_t>(d.m_cGiant);
        break;
      default:
        v = d.m_cScrollSync;
        break;
    }
  }
  return CompareValues(v, cond.m_sVarNum, cond.m_cCompare);
}

int EvalStateCond(cPlayScene& /*scene*/, const cCond& cond, cGameObj* pChara) {
  const bool bSlot = cond.m_cObject >= 1 && cond.m_cObject <= 4;
  cGameObj* pObj = pChara;
  if (bSlot) pObj = pChara ? TargetSlot(*pChara, cond.m_cObject) : nullptr;
  int r = 0;
  if (cond.m_cStatus == 4) {
    r = bSlot ? (pObj && !pObj->m_nDying) : 1;
    return cond.m_cCompare == 1 ? !r : r;
  }
  if (!pObj) return 0;  // an empty slot holds nothing, negated or not
  switch (cond.m_cStatus) {
    case 0:
      r = pObj->m_nFacing == 0;
      break;
    case 1:
      r = pObj->m_nFacing == 1;
      break;
    case 2:
      r = pObj->m_Def.m_cFlying == 0 &&
          (pObj->m_nRiding != 0 || (pObj->m_nFalling == 0 && pObj->m_nJumping == 0));
      break;
    case 3:
      r = pObj->m_nControl == 0 ? pObj->IsOnScreen() != 0 : pObj->m_nOnScreen != 0;
      break;
    default:
      r = 0;
      break;
  }
  return cond.m_cCompare == 1 ? !r : r;
}

namespace {

// Whether the other character's screen rectangle is refreshed for the test:
// projects and replays from before the refresh test it where it was drawn.
bool RefreshesOther(const cPlayScene& scene) {
  if (g_SystemData.m_bCompat782) return false;
  return !(scene.IsReplay() && nFileVersion.load() <= 781);
}

}  // namespace

int EvalDistanceCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara) {
  if (!pChara) return 0;
  cGameObj& chara = *pChara;
  cGameObj* pOther = nullptr;
  if (cond.m_cObject >= 1 && cond.m_cObject <= 4) {
    pOther = TargetSlot(chara, cond.m_cObject);
    if (!pOther) return 0;
  } else {
    // Subject 0 is the player; a subject the editor does not offer is read
    // as the character itself.
    pOther = cond.m_cObject == 0 ? (g_Players.empty() ? nullptr : &g_Players[0]) : &chara;
    if (!pOther) return 0;
  }
  cGameObj& o = *pOther;
  const int64_t nRange64 = int64_t{cond.m_nConstant} * 16 + cond.m_sRightVarNum;
  const int32_t R = static_cast<int32_t>(std::clamp<int64_t>(nRange64, INT32_MIN / 4, INT32_MAX / 4));
  chara.UpdateScreenRect();
  if (RefreshesOther(scene)) o.UpdateScreenRect();
  const bool bRight = chara.m_nFacing == 1;
  bool bHolds = false;
  switch (cond.m_cShape) {
    case 0:
    case 1:
    case 2: {
      int32_t nLeft = R, nRight = R;
      if (cond.m_cShape == 1) (bRight ? nLeft : nRight) = 0;
      if (cond.m_cShape == 2) (bRight ? nRight : nLeft) = 0;
      bHolds = IsSpanInRange(chara.m_nScrLeft, chara.m_nDrawW, o.m_nScrLeft, o.m_nScrRight,
                             o.m_nDrawDX, nLeft, nRight, cond.m_cShape == 0, 0, o) != 0;
      break;
    }
    case 3:
    case 4:
    case 5: {
      int32_t nUp = R, nDown = R;
      if (cond.m_cShape == 4) (bRight ? nUp : nDown) = 0;
      if (cond.m_cShape == 5) (bRight ? nDown : nUp) = 0;
      bHolds = IsSpanInRange(chara.m_nScrTop, chara.m_nDrawH, o.m_nScrTop, o.m_nScrBottom,
                             o.m_nDrawDY, nUp, nDown, cond.m_cShape == 3, 1, o) != 0;
      break;
    }
    case 6: {
      auto Centre = [](const cGameObj& c, double& x, double& y) {
        x = c.m_dX + std::floor(c.m_nWidth / 2.0);
        y = c.m_dY + std::floor(c.m_nHeight / 2.0);
      };
      double ax = 0, ay = 0, bx = 0, by = 0;
      Centre(chara, ax, ay);
      Centre(o, bx, by);
      bHolds = std::hypot(ax - bx, ay - by) <= R;
      break;
    }
    default:
      return 0;
  }
  if (bHolds) return cond.m_cCompare == 0;
  return cond.m_cCompare == 1;
}
