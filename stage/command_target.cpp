// The target command: a character chosen by a rule (the player, itself, the
// nearest one, one by ID, its parent or a child, another target) goes into
// one of the executing character's four target slots.
#include <climits>

#include "flow/flow_cmd.h"
#include "stage/chara_search.h"
#include "stage/command_bodies.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

enum : int32_t {
  CHOOSE_PLAYER = 0,
  CHOOSE_SELF = 1,
  CHOOSE_NEAREST = 2,
  CHOOSE_BY_ID = 3,
  CHOOSE_PARENT = 4,
  CHOOSE_NEWEST_CHILD = 5,
  CHOOSE_CHILD_BY_FILTER = 6,
  CHOOSE_TARGET1 = 7,
  CHOOSE_TARGET4 = 10,
};

cGameObj* Choose(const CMDCONTEXT& ctx) {
  cGameObj& self = ctx.m_Chara;
  cSafeVector<int32_t>& p = ctx.m_Cmd.m_vecParams;
  const int32_t nChoice = p.At(1);
  CHARAFILTER f;
  f.pSearcher = &self;
  f.bNotSelf = p.At(5);
  f.bNoInvincible1 = p.At(6);
  f.bNoInvincible2 = p.At(7);
  f.bNoBlockChara = p.At(8);
  f.bCharaId = p.At(9);
  f.nCharaId = p.At(10);
  f.bVarTest = p.At(11);
  f.nVarIndex = p.At(12);
  f.nVarConst = p.At(13);
  f.nVarOp = p.At(14);
  cSafeVector<std::list<cGameObj*>>& groups = ctx.m_Scene.m_CharaGroups;
  switch (nChoice) {
    case CHOOSE_PLAYER:
      return &ThePlayer();
    case CHOOSE_SELF:
      return &self;
    case CHOOSE_NEAREST: {
      const int32_t x = self.m_nScrLeft + self.m_nDrawW / 2;
      const int32_t y = self.m_nScrTop + self.m_nDrawH / 2;
      const int nMode = p.At(4);
      if (!p.At(3)) return FindNearestChara(x, y, groups.At(p.At(2)), nMode, f);
      // The nearest of each group's nearest (the first group on a tie).
      std::list<cGameObj*> best;
      for (std::list<cGameObj*>& g : groups)
        if (cGameObj* pNear = FindNearestChara(x, y, g, nMode, f)) best.push_back(pNear);
      return FindNearestChara(x, y, best, nMode, f);
    }
    case CHOOSE_BY_ID:
      if (!p.At(3)) return FindCharaInList(groups.At(p.At(2)), f);
      for (std::list<cGameObj*>& g : groups)
        if (cGameObj* pFound = FindCharaInList(g, f)) return pFound;
      return nullptr;
    case CHOOSE_PARENT:
      return self.m_pParent;
    case CHOOSE_NEWEST_CHILD:
      for (auto it = self.m_vecRefBy.rbegin(); it != self.m_vecRefBy.rend(); ++it)
        if (it->nSlot == REF_PARENT) return it->pChara;
      return nullptr;
    case CHOOSE_CHILD_BY_FILTER: {
      std::vector<std::pair<cGameObj*, int32_t>> links;
      for (const OBJREF& r : self.m_vecRefBy) links.emplace_back(r.pChara, r.nSlot);
      return FindCharaByKey(links, REF_PARENT, f);
    }
    default:
      if (nChoice >= CHOOSE_TARGET1 && nChoice <= CHOOSE_TARGET4) {
        const size_t nSlot = static_cast<size_t>(nChoice - CHOOSE_TARGET1);
        return nSlot < self.m_vecTargets.size() ? self.m_vecTargets[nSlot] : nullptr;
      }
      return nullptr;
  }
}

}  // namespace

int CmdSetTarget(const CMDCONTEXT& ctx) {
  cSafeVector<int32_t>& p = ctx.m_Cmd.m_vecParams;
  cGameObj* pFound = Choose(ctx);
  const int32_t nSlot = p.At(0);
  switch (p.At(15)) {
    case 0:
      ctx.m_Chara.SetTarget(nSlot, pFound, 1);
      break;
    case 1:
      ctx.m_Chara.SetTarget(nSlot, pFound, 0);
      break;
    default:
      break;
  }
  return 0;
}
