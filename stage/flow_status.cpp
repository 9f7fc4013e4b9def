// The status operation of flows and items on 32-bit values: variables,
// the system's time, score and lives, and a character's variables, HP, SP
// and their maxima. The statuses kept in 8 and 16 bits, the auto-scroll
// speeds and random or status operands are not in place yet: such an
// operation changes nothing.
#include <algorithm>
#include <climits>

#include "files/play_data.h"
#include "stage/command_bodies.h"
#include "stage/condition_lists.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

namespace {

constexpr int32_t kStatusMax = 999999;

int32_t Param(const cFlowCmd& cmd, int i) {
  return static_cast<size_t>(i) < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0;
}

int32_t Clamp64(int64_t n, int32_t nLow, int32_t nHigh) {
  return static_cast<int32_t>(std::clamp<int64_t>(n, nLow, nHigh));
}

// The variable of a scope (0 common, 1 stage) and index; null for another
// scope. The index goes through the checked access.
int32_t* Variable(cPlayScene& scene, int32_t nScope, int32_t nIndex) {
  if (nScope == 0) return &g_PlayData.m_vVars.At(nIndex);
  if (nScope == 1) return &scene.m_StageVar.At(nIndex);
  return nullptr;
}

// The operand; false when the operation is to do nothing.
bool Operand(cPlayScene& scene, const cFlowCmd& cmd, int32_t& x) {
  switch (Param(cmd, 6)) {
    case 0:
      x = Param(cmd, 7);
      return true;
    case 3: {
      const int32_t* p = Variable(scene, Param(cmd, 10), Param(cmd, 11));
      x = p ? *p : 0;
      return true;
    }
    case 1:
    case 2:
      return false;  // random and status operands are not in place yet
    default:
      x = 0;
      return true;
  }
}

}  // namespace

int32_t ApplyStatusOp(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh) {
  int64_t r = t;
  switch (nOp) {
    case 0:
      r = x;
      break;
    case 1:
      r = static_cast<int64_t>(t) + x;
      break;
    case 2:
      r = static_cast<int64_t>(t) - x;
      break;
    case 3:
      // The product in 64 bits: a 32-bit one misses wraps that keep the sign.
      r = static_cast<int64_t>(t) * x;
      break;
    case 4:
      if (x == 0) break;
      r = (t == INT_MIN && x == -1) ? INT_MIN : t / x;
      break;
    case 5:
      if (x == 0) break;
      r = (x == -1) ? 0 : t % x;
      break;
    case 6:
      r = PercentOf(x, t);
      break;
    default:
      break;
  }
  return Clamp64(r, nLow, nHigh);
}

int CmdStatusOp(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  const cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  int32_t x = 0;
  if (!Operand(scene, cmd, x)) return 0;
  const int32_t nOp = Param(cmd, 5);
  const bool bPercent = Param(cmd, 14) != 0;
  auto Apply = [&](int32_t& t, int32_t nLow, int32_t nHigh) {
    const int32_t nX = bPercent ? PercentOf(t, x) : x;
    t = ApplyStatusOp(t, nX, nOp, nLow, nHigh);
  };
  if (Param(cmd, 0) == 1) {
    if (int32_t* p = Variable(scene, Param(cmd, 1), Param(cmd, 2)))
      Apply(*p, -kStatusMax, kStatusMax);
    return 0;
  }
  if (Param(cmd, 0) != 0) return 0;
  const int32_t nSubject = Param(cmd, 3), nSelector = Param(cmd, 4);
  if (nSubject == 5) {
    switch (nSelector) {
      case 0:
        Apply(scene.m_nTime, 0, 999);
        break;
      case 3:
        Apply(g_PlayData.m_nStageScore, 0, kStatusMax);
        break;
      case 4:
        if (g_PlayData.m_nLives != kUnlimitedLives) Apply(g_PlayData.m_nLives, 0, 99);
        break;
      default:
        break;  // the auto-scroll speeds join with the scroll commands
    }
    return 0;
  }
  cGameObj* pTarget = &chara;
  if (nSubject >= 1 && nSubject <= 4) {
    const size_t nSlot = static_cast<size_t>(nSubject - 1);
    pTarget = nSlot < chara.m_vecTargets.size() ? chara.m_vecTargets[nSlot] : nullptr;
  } else if (nSubject != 0) {
    return 0;  // no character is named
  }
  if (!pTarget) return 0;
  cGameObj& t = *pTarget;
  if (Param(cmd, 17) && t.m_Def.m_cInvincible != 0) return 0;
  auto Pool = [&](int32_t nCur, int32_t nMax, int32_t& w) {
    switch (Param(cmd, 15)) {
      case 0:
        w = ApplyStatusOp(w, x, nOp, 0, kStatusMax);
        break;
      case 1:
        w = ApplyStatusOp(w, PercentOf(nMax, x), nOp, 0, kStatusMax);
        break;
      case 2:
        w = ApplyStatusOp(w, PercentOf(nCur, x), nOp, 0, kStatusMax);
        break;
      default:
        break;
    }
  };
  auto CheckDefeat = [&]() {
    if (&t != &chara && t.m_nHP <= 0) scene.m_bCheckDefeats = 1;
  };
  switch (nSelector) {
    case 0:
      Apply(t.m_vecCharaVar.At(Param(cmd, 2)), -kStatusMax, kStatusMax);
      break;
    case 1: {
      int32_t w = t.m_nHP;
      Pool(t.m_nHP, t.m_Def.m_nMaxHP, w);
      t.ChangeHP(w - t.m_nHP, 1, Param(cmd, 16));
      CheckDefeat();
      break;
    }
    case 2: {
      int32_t w = t.m_nSP;
      Pool(t.m_nSP, t.m_Def.m_nMaxSP, w);
      t.ChangeSP(w - t.m_nSP, Param(cmd, 16));
      break;
    }
    case 3:
      Apply(t.m_Def.m_nMaxHP, 0, kStatusMax);
      t.m_nHP = std::min(t.m_nHP, t.m_Def.m_nMaxHP);
      CheckDefeat();
      break;
    case 4:
      Apply(t.m_Def.m_nMaxSP, 0, kStatusMax);
      t.m_nSP = std::min(t.m_nSP, t.m_Def.m_nMaxSP);
      break;
    default:
      break;  // the statuses kept in 8 and 16 bits are not in place yet
  }
  return 0;
}
