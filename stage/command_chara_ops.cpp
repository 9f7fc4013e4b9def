// The commands that act on characters and shots at once: the warp that puts
// a character elsewhere in one step (undone where it may not stand), the
// second status operation that switches a character's flags or the
// system's auto scroll, and the vanishing of characters and shots.
#include <algorithm>
#include <cmath>
#include <vector>

#include "files/stage_data.h"
#include "files/system_data.h"
#include "flow/ed_move.h"
#include "stage/command_bodies.h"
#include "stage/command_param.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"

namespace {

// Direction codes of the movement commands.
enum : int {
  DIR_LEFT = 2,
  DIR_RIGHT = 3,
  DIR_UP = 6,
  DIR_DOWN = 7,
  DIR_UP_LEFT = 8,
  DIR_DOWN_LEFT = 9,
  DIR_UP_RIGHT = 10,
  DIR_DOWN_RIGHT = 11,
};

enum : int8_t { WARP_BY_DIRECTION = 0, WARP_TO_POINT = 5 };
enum : int8_t { WARP_RELATIVE = 0, WARP_STAGE_CELL = 1, WARP_SCREEN = 2 };

cGameObj* TargetOf(const cGameObj& chara, int32_t nSlot) {
  if (nSlot < 1 || nSlot > kTargetSlots) return nullptr;
  const size_t i = static_cast<size_t>(nSlot - 1);
  return i < chara.m_vecTargets.size() ? chara.m_vecTargets[i] : nullptr;
}

int Diagonals(const cGameObj& chara) {
  return g_SystemData.m_bCompat721 ? chara.m_nFlying : 1;
}

void MoveByX(cGameObj& chara, double dx) {
  chara.m_dX += dx;
  chara.OnMovedX();
}
void MoveByY(cGameObj& chara, double dy) {
  chara.m_dY += dy;
  chara.OnMovedY();
}

// A move of g pixels in the direction of a code: x first, then y.
void MoveInDirection(cGameObj& chara, int nCode, double g) {
  const double k = g * M_SQRT1_2;
  switch (nCode) {
    case DIR_LEFT:
      MoveByX(chara, -g);
      break;
    case DIR_RIGHT:
      MoveByX(chara, g);
      break;
    case DIR_UP:
      MoveByY(chara, -g);
      break;
    case DIR_DOWN:
      MoveByY(chara, g);
      break;
    case DIR_UP_LEFT:
      MoveByX(chara, -k);
      MoveByY(chara, -k);
      break;
    case DIR_DOWN_LEFT:
      MoveByX(chara, -k);
      MoveByY(chara, k);
      break;
    case DIR_UP_RIGHT:
      MoveByX(chara, k);
      MoveByY(chara, -k);
      break;
    case DIR_DOWN_RIGHT:
      MoveByX(chara, k);
      MoveByY(chara, k);
      break;
    default:
      break;
  }
}

// The centre of a character's drawing rectangle.
double DrawCentreX(const cGameObj& c) { return c.m_dX - c.m_nDrawDX + (c.m_nDrawW >> 1); }
double DrawCentreY(const cGameObj& c) { return c.m_dY - c.m_nDrawDY + (c.m_nDrawH >> 1); }

void RefreshScreenRect(cGameObj& chara) {
  if (!g_Players.empty() && &chara == &g_Players[0])
    static_cast<cPlayerObj&>(chara).UpdateScreenRect();
  else
    chara.UpdateScreenRect();
}

// 1 when the move happened (0 when the command ends without one).
int WarpMove(const CMDCONTEXT& ctx, const cEdMove& move) {
  cGameObj& chara = ctx.m_Chara;
  const double g =
      (static_cast<double>(move.m_sDistance) + static_cast<double>(move.m_sDistanceInc) *
                                                   chara.m_sSetupWord) *
      16.0;
  const int8_t cMode = move.m_cMode;
  if (cMode == WARP_BY_DIRECTION) {
    const int nCode =
        ResolveMoveDirection(chara, ctx.m_pRun, move.m_cDirection, 1, 0, Diagonals(chara));
    MoveInDirection(chara, nCode, g);
    return 1;
  }
  if (cMode >= 1 && cMode <= 4) {
    cGameObj* pTarget = TargetOf(chara, cMode);
    if (!pTarget) return 0;
    const int nCode =
        ResolveMoveDirection(*pTarget, nullptr, move.m_cDirection, 1, 0, Diagonals(*pTarget));
    MoveByX(chara, DrawCentreX(*pTarget) - DrawCentreX(chara));
    MoveByY(chara, DrawCentreY(*pTarget) - DrawCentreY(chara));
    MoveInDirection(chara, nCode, g);
    return 1;
  }
  if (cMode == WARP_TO_POINT) {
    int32_t dx = move.m_sTargetXDot + move.m_sTargetXBl * 32;
    int32_t dy = move.m_sTargetYDot + move.m_sTargetYBl * 32;
    if (chara.m_nFacing == 1) {
      if (move.m_cMirrorX) dx = -dx;
      if (move.m_cMirrorY) dy = -dy;
    }
    cPlayScene& scene = ctx.m_Scene;
    switch (move.m_cCoordKind) {
      case WARP_RELATIVE:
        MoveByX(chara, dx);
        MoveByY(chara, dy);
        break;
      case WARP_STAGE_CELL:
        // Each placement runs its axis's moved operation itself.
        chara.SetCellX(move.m_sTargetXBl);
        chara.SetCellY(move.m_sTargetYBl);
        MoveByX(chara, move.m_sTargetXDot);
        MoveByY(chara, move.m_sTargetYDot);
        break;
      case WARP_SCREEN:
        chara.m_dX = scene.m_ScrollX.m_dPos + dx + chara.m_nDrawDX;
        chara.OnMovedX();
        chara.m_dY = scene.m_ScrollY.m_dPos + dy + chara.m_nDrawDY;
        chara.OnMovedY();
        break;
      default:
        break;
    }
    return 1;
  }
  return 0;
}

// A character removed as "消滅" removes it: the computer's characters
// vanish, a player's loses its HP; the defeat pass takes them.
void VanishChara(cPlayScene& scene, cGameObj& c, const cGameObj& executing) {
  if (c.m_nControl == 1)
    c.m_nVanish = 1;
  else if (c.m_nControl == 0)
    c.m_nHP = 0;
  if (&c != &executing) scene.m_bCheckDefeats = 1;
}

// A shot out of play: flagged while the shots are being walked (their
// walks erase it), erased at once otherwise.
void RemoveShotObj(cPlayScene& scene, cShotObj* pShot) {
  for (auto it = scene.m_ShotList.begin(); it != scene.m_ShotList.end(); ++it) {
    if (&*it != pShot) continue;
    if (scene.m_bInAttackCheck)
      it->m_nDead = 1;
    else
      scene.RemoveShot(it);
    return;
  }
}

void RemoveChildShots(cPlayScene& scene, cGameObj& x) {
  std::vector<cShotObj*> shots;
  for (auto it = x.m_vecRefBy2.begin(); it != x.m_vecRefBy2.end();) {
    if (it->nKind != REF_PARENT || !it->pShot || !it->pShot->m_nActive) {
      ++it;
      continue;
    }
    if (scene.m_bInAttackCheck) {
      it->pShot->m_nDead = 1;
      ++it;
      continue;
    }
    shots.push_back(it->pShot);
    it = x.m_vecRefBy2.erase(it);
  }
  for (cShotObj* pShot : shots) RemoveShotObj(scene, pShot);
}

// Summons nest at most this deep: a ring of parent links ends here.
constexpr int kMaxChildDepth = 1000;

void RemoveChildren(cPlayScene& scene, cGameObj& x, const cGameObj& executing, bool bShots,
                    int nDepth) {
  if (nDepth > kMaxChildDepth) return;
  std::vector<cGameObj*> children;
  for (const OBJREF& ref : x.m_vecRefBy)
    if (ref.nSlot == REF_PARENT && ref.pChara && ref.pChara->m_nActive)
      children.push_back(ref.pChara);
  for (cGameObj* pChild : children) {
    if (bShots) RemoveChildShots(scene, *pChild);
    RemoveChildren(scene, *pChild, executing, bShots, nDepth + 1);
    VanishChara(scene, *pChild, executing);
  }
}

}  // namespace

int CmdWarp(const CMDCONTEXT& ctx) {
  const cEdMove* pMove = ctx.m_Cmd.m_pMove.get();
  if (!pMove) return 0;
  cGameObj& chara = ctx.m_Chara;
  chara.m_nPinX = 0;
  chara.m_nPinY = 0;
  const RECTD before{chara.m_dX, chara.m_dY, chara.m_dRight, chara.m_dBottom};
  if (!WarpMove(ctx, *pMove)) return 0;
  RefreshScreenRect(chara);
  chara.UpdateEdgeCols();
  chara.UpdateEdgeRows();
  if (!chara.IsInsideStage(0) || ctx.m_Scene.IsPlaceBlocked(chara)) {
    chara.m_dX = before.dX;
    chara.m_dY = before.dY;
    chara.m_dRight = before.dRight;
    chara.m_dBottom = before.dBottom;
    chara.OnMovedY();
    chara.OnMovedX();
    RefreshScreenRect(chara);
    chara.UpdateEdgeCols();
    chara.UpdateEdgeRows();
  } else if (!chara.m_nFlying) {
    chara.m_dVY = 0;
  }
  if (pMove->m_cMode == WARP_TO_POINT && pMove->m_cCoordKind == WARP_SCREEN) {
    chara.m_nPinX = 1;
    chara.m_nPinY = 1;
    chara.m_nPinLeft = chara.m_nScrLeft;
    chara.m_nPinTop = chara.m_nScrTop;
  }
  return 0;
}

int CmdStatus2(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  const int32_t nSubject = CmdParam(cmd, 0), nFlag = CmdParam(cmd, 1), v = CmdParam(cmd, 2);
  if (nSubject == 5) {
    if (nFlag == 0)
      scene.m_ScrollX.SetAutoScroll(v, g_Stage.m_nAutoSpeedX, g_Stage.m_dSteps);
    else if (nFlag == 1)
      scene.m_ScrollY.SetAutoScroll(v, g_Stage.m_nAutoSpeedY, g_Stage.m_dSteps);
    return 0;
  }
  cGameObj* pChara = nSubject == 0 ? &ctx.m_Chara : TargetOf(ctx.m_Chara, nSubject);
  if (!pChara) return 0;
  cGameObj& c = *pChara;
  const bool bPlayer = !g_Players.empty() && &c == &g_Players[0];
  const uint8_t cValue = static_cast<uint8_t>(v);
  switch (nFlag) {
    case 0:
      VanishChara(scene, c, ctx.m_Chara);
      break;
    case 1:
      c.m_Def.m_cTransparent = cValue;
      break;
    case 2:
      c.m_Def.m_cFixedDir = cValue;
      break;
    case 3:
      if (bPlayer) static_cast<cPlayerObj&>(c).RecalcSize(static_cast<int8_t>(v), 1);
      break;
    case 4:
      c.m_Def.m_cInvincible = cValue;
      break;
    case 5: {
      // A size outside the flag's own range (1 to 10) would leave the
      // character without a body, or one past any stage.
      const int32_t nScale = std::clamp(v, 1, 10);
      const int32_t nOld = c.GetScale();
      c.SetScale(nScale, nOld);
      c.m_Def.m_cGiant = static_cast<uint8_t>(nScale);
      if (bPlayer)
        static_cast<cPlayerObj&>(c).RecalcSize(static_cast<int8_t>(c.m_Def.m_cFlying), 1);
      break;
    }
    case 6:
      c.m_Def.m_cScrollSync = cValue;
      c.m_nScrollSync = v;
      break;
    default:
      break;
  }
  return 0;
}

int CmdVanish(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  cGameObj& chara = ctx.m_Chara;
  const int32_t nWhat = CmdParam(cmd, 0), nGroup = CmdParam(cmd, 1);
  const bool bOffScreenToo = CmdParam(cmd, 2) != 0;
  auto Chosen = [&](const cObjRoot& o) { return o.m_nActive && (bOffScreenToo || o.m_nOnScreen); };
  switch (nWhat) {
    case 0:
      if (nGroup < 0 || nGroup >= kHitGroups) break;
      for (cGameObj* pChara : scene.m_CharaGroups.At(nGroup))
        if (pChara && Chosen(*pChara)) VanishChara(scene, *pChara, chara);
      break;
    case 1: {
      if (nGroup < 0 || nGroup >= kHitGroups) break;
      std::vector<cShotObj*> shots;
      for (cShotObj* pShot : scene.m_ShotGroups.At(nGroup))
        if (pShot && Chosen(*pShot)) shots.push_back(pShot);
      for (cShotObj* pShot : shots) RemoveShotObj(scene, pShot);
      break;
    }
    case 2:
      RemoveChildren(scene, chara, chara, false, 0);
      break;
    case 3:
      RemoveChildShots(scene, chara);
      break;
    case 4:
      RemoveChildShots(scene, chara);
      RemoveChildren(scene, chara, chara, true, 0);
      break;
    case 5:
      RemoveChildren(scene, chara, chara, true, 0);
      break;
    default:
      break;
  }
  return 0;
}
