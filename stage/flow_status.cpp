// The status condition and the status operation of flows and items: a
// variable, a character's status or a system value compared with, or
// changed by, an operand that is a constant, a random number, another status
// or a variable.
#include <algorithm>

#include "files/play_data.h"
#include "stage/command_bodies.h"
#include "stage/command_param.h"
#include "stage/condition_lists.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/status_refs.h"

namespace {

// The variable of a scope (0 common, 1 stage) and index; null for another
// scope. The index goes through the checked access.
int32_t* Variable(cPlayScene& scene, int32_t nScope, int32_t nIndex) {
  if (nScope == 0) return &g_PlayData.m_vVars.At(nIndex);
  if (nScope == 1) return &scene.m_StageVar.At(nIndex);
  return nullptr;
}

// What an operand names.
struct OPERAND {
  int32_t nKind;
  int32_t nConstant;
  int32_t nLow, nHigh;
  int32_t nScope, nIndex;
  int32_t nSubject, nSelector;
};

// A status read as an operand; false when the comparison is to fail and
// the operation to do nothing.
bool StatusOperand(cPlayScene& scene, cGameObj& chara, const OPERAND& o, int32_t& x) {
  if (o.nSubject == 5) {
    switch (o.nSelector) {
      case SYSVAL_TIME:
        x = scene.m_bNoTimeLimit ? 0 : scene.m_nTime;
        break;
      case SYSVAL_LIVES:
        x = g_PlayData.m_nLives == kUnlimitedLives ? 0 : g_PlayData.m_nLives;
        break;
      default: {
        const int32_t* p = SystemValue(scene, o.nSelector);
        x = p ? *p : 0;
        break;
      }
    }
    return true;
  }
  cGameObj* pObj = &chara;
  if (o.nSubject >= 1 && o.nSubject <= 4) {
    pObj = TargetSlot(chara, o.nSubject);
    if (!pObj) return false;
  }
  if (o.nSelector == STATUS_SIGHT && pObj->m_nControl != 0) return false;
  const STATUSREF ref = CharaStatus(*pObj, o.nSelector, o.nIndex);
  x = ref ? ref.Get() : 0;
  if (o.nSelector == STATUS_STOP) RefreshStopDecay(*pObj);
  return true;
}

bool ComputeOperand(cPlayScene& scene, cGameObj& chara, const OPERAND& o, int32_t& x) {
  switch (o.nKind) {
    case 0:
      x = o.nConstant;
      return true;
    case 1:
      x = RandRange(scene.m_Rand, o.nLow, o.nHigh);
      return true;
    case 2:
      return StatusOperand(scene, chara, o, x);
    case 3: {
      const int32_t* p = Variable(scene, o.nScope, o.nIndex);
      x = p ? *p : 0;
      return true;
    }
    default:
      x = 0;
      return true;
  }
}

}  // namespace

int EvalStatusCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara) {
  if (!pChara) return 0;  // a status needs the character the test is for
  cGameObj& chara = *pChara;
  const OPERAND o{cond.m_cRightSource, cond.m_nConstant, cond.m_nRandLow,     cond.m_nRandHigh,
                  cond.m_cRightVarScope, cond.m_sRightVarNum, cond.m_cRightObject,
                  cond.m_cRightStatus};
  int32_t x = 0;
  if (!ComputeOperand(scene, chara, o, x)) return 0;
  const bool bPercent = cond.m_cPercent != 0;
  const int nOp = cond.m_cCompare;
  if (cond.m_cLeftKind == 1) {
    const int32_t* p = Variable(scene, cond.m_cVarScope, cond.m_sVarNum);
    if (!p) return 0;
    return CompareValues(*p, bPercent ? 0 : x, nOp);
  }
  if (cond.m_cLeftKind != 0) return 0;
  if (cond.m_cObject == 5) {
    if (cond.m_cStatus == SYSVAL_LIVES && g_PlayData.m_nLives == kUnlimitedLives) return 0;
    const int32_t* p = SystemValue(scene, cond.m_cStatus);
    if (!p) return 0;
    return CompareValues(*p, bPercent ? 0 : x, nOp);
  }
  cGameObj* pObj = &chara;
  if (cond.m_cObject >= 1 && cond.m_cObject <= 4) {
    pObj = TargetSlot(chara, cond.m_cObject);
    if (!pObj) return 0;
  }
  const int nSelector = cond.m_cStatus;
  const STATUSREF ref = CharaStatus(*pObj, nSelector, cond.m_sVarNum);
  if (!ref) return 1;  // a selector past the catalogue holds
  int32_t nOperand = bPercent ? 0 : x;
  if (nSelector == STATUS_HP || nSelector == STATUS_SP) {
    const int32_t nMax = nSelector == STATUS_HP ? pObj->m_Def.m_nMaxHP : pObj->m_Def.m_nMaxSP;
    nOperand = bPercent ? std::clamp(PercentOf(nMax, x), 0, kStatusMax) : x;
  } else if (ref.cBits < 32 || nSelector == STATUS_STOP) {
    nOperand = CutToWidth(nOperand, ref.cBits);
  }
  return CompareValues(ref.Get(), nOperand, nOp);
}

int CmdStatusOp(const CMDCONTEXT& ctx) {
  cGameObj& chara = ctx.m_Chara;
  const cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  const OPERAND o{CmdParam(cmd, 6),  CmdParam(cmd, 7),  CmdParam(cmd, 8),  CmdParam(cmd, 9),
                  CmdParam(cmd, 10), CmdParam(cmd, 11), CmdParam(cmd, 12), CmdParam(cmd, 13)};
  int32_t x = 0;
  if (!ComputeOperand(scene, chara, o, x)) return 0;
  const int32_t nOp = CmdParam(cmd, 5);
  const bool bPercent = CmdParam(cmd, 14) != 0;
  // The operation on a value kept in nBits, the percentage taken in them.
  auto Apply = [&](int32_t t, int32_t nLow, int32_t nHigh, int nBits) {
    int32_t nX = x;
    if (bPercent)
      nX = nBits == 8 ? PercentOfByte(t, x) : nBits == 16 ? PercentOfShort(t, x) : PercentOf(t, x);
    return ApplyStatusOpWidth(t, nX, nOp, nLow, nHigh, nBits);
  };
  if (CmdParam(cmd, 0) == 1) {
    if (int32_t* p = Variable(scene, CmdParam(cmd, 1), CmdParam(cmd, 2)))
      *p = Apply(*p, -kStatusMax, kStatusMax, 32);
    return 0;
  }
  if (CmdParam(cmd, 0) != 0) return 0;
  const int32_t nSubject = CmdParam(cmd, 3), nSelector = CmdParam(cmd, 4);
  if (nSubject == 5) {
    int32_t* p = SystemValue(scene, nSelector);
    if (!p) return 0;
    if (nSelector == SYSVAL_LIVES && *p == kUnlimitedLives) return 0;
    static constexpr int32_t kHigh[SYSVAL_COUNT] = {999, 480, 480, kStatusMax, 99};
    const int32_t nHigh = kHigh[nSelector];
    const bool bSpeed = nSelector == SYSVAL_SCROLL_X || nSelector == SYSVAL_SCROLL_Y;
    *p = Apply(*p, bSpeed ? -nHigh : 0, nHigh, 32);
    ReapplyAutoScroll(scene, nSelector);
    return 0;
  }
  // A subject the editor does not offer names no character.
  if (nSubject < 0 || nSubject > 4) return 0;
  cGameObj* pTarget = nSubject == 0 ? &chara : TargetSlot(chara, nSubject);
  if (!pTarget) return 0;
  cGameObj& t = *pTarget;
  if (CmdParam(cmd, 17) && t.m_Def.m_cInvincible != 0) return 0;
  auto CheckDefeat = [&]() {
    if (&t != &chara && t.m_nHP <= 0) scene.m_bCheckDefeats = 1;
  };
  switch (nSelector) {
    case STATUS_HP:
    case STATUS_SP: {
      const bool bHP = nSelector == STATUS_HP;
      const int32_t nCur = bHP ? t.m_nHP : t.m_nSP;
      const int32_t nMax = bHP ? t.m_Def.m_nMaxHP : t.m_Def.m_nMaxSP;
      int32_t w = nCur;
      switch (CmdParam(cmd, 15)) {
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
      const int32_t nChange =
          static_cast<int32_t>(static_cast<uint32_t>(w) - static_cast<uint32_t>(nCur));
      if (bHP) {
        t.ChangeHP(nChange, 1, CmdParam(cmd, 16));
        CheckDefeat();
      } else {
        t.ChangeSP(nChange, CmdParam(cmd, 16));
      }
      return 0;
    }
    case STATUS_MAX_HP:
      t.m_Def.m_nMaxHP = Apply(t.m_Def.m_nMaxHP, 0, kStatusMax, 32);
      t.m_nHP = std::min(t.m_nHP, t.m_Def.m_nMaxHP);
      CheckDefeat();
      return 0;
    case STATUS_MAX_SP:
      t.m_Def.m_nMaxSP = Apply(t.m_Def.m_nMaxSP, 0, kStatusMax, 32);
      t.m_nSP = std::min(t.m_nSP, t.m_Def.m_nMaxSP);
      return 0;
    default:
      break;
  }
  const STATUSREF ref = CharaStatus(t, nSelector, CmdParam(cmd, 2));
  if (!ref) return 0;
  if (nSelector == STATUS_SIGHT && t.m_nControl != 0) return 0;
  int32_t nLow = 0, nHigh = 0;
  CharaStatusRange(nSelector, nLow, nHigh);
  ref.Set(Apply(ref.Get(), nLow, nHigh, ref.cBits));
  if (nSelector == STATUS_SIGHT) ApplySightChange(scene, t);
  if (nSelector == STATUS_STOP) RefreshStopDecay(t);
  return 0;
}
