// Condition lists (all or any, with the once latch) of blocks, characters,
// items and flows, and the conditions on variables. The conditions on
// statuses, flags, states and distances are the flow engine's.
#include "stage/condition_lists.h"

#include "base/trunc_int.h"
#include "files/play_data.h"
#include "stage/flow_engine.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

int CompareValues(int32_t v, int32_t c, int nOperator) {
  // 64 bits: |INT_MIN| and INT_MIN % -1 stay defined.
  const int64_t nAbs = v < 0 ? -static_cast<int64_t>(v) : v;
  switch (nOperator) {
    case 0:
      return v == c;
    case 1:
      return v != c;
    case 2:
      return v >= c;
    case 3:
      return v <= c;
    case 4:
      return v > c;
    case 5:
      return v < c;
    case 6:
      return c == 0 || nAbs % c == 0;
    case 7:
      return c != 0 && nAbs % c != 0;
    default:
      return 0;
  }
}

int32_t PercentOf(int32_t a, int32_t b) {
  const int32_t nProduct =
      static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
  double d = nProduct * 0.01;
  d += d >= 0 ? 0.5 : -0.5;
  return TruncI32(d);
}

namespace {

// The latched test: an empty list holds; a list that held once holds
// without evaluation when its once byte is set.
template <typename LATCH>
int LatchedTest(cPlayScene& scene, const COND_VECTOR& vecConds, int nMode, int bOnce, LATCH& latch,
                cGameObj* pSubject) {
  if (vecConds.empty()) return 1;
  if (bOnce && latch) return 1;
  if (!scene.CheckConditionList(vecConds, nMode, pSubject)) return 0;
  latch = 1;
  return 1;
}

cGameObj* Player() { return g_Players.empty() ? nullptr : &g_Players[0]; }

}  // namespace

int cPlayScene::CheckConditionList(const COND_VECTOR& vecConds, int nMode, cGameObj* pChara) {
  if (nMode == 0) {
    for (const cCond& cond : vecConds)
      if (!EvalCondition(cond, pChara)) return 0;
    return 1;
  }
  if (nMode == 1) {
    for (const cCond& cond : vecConds)
      if (EvalCondition(cond, pChara)) return 1;
    return 0;
  }
  return 0;
}

int cPlayScene::EvalCondition(const cCond& cond, cGameObj* pChara) {
  switch (cond.m_cKind) {
    case 1:
      return CompareValues(g_PlayData.m_vVars.At(cond.m_sVarNum), cond.m_nConstant,
                           cond.m_cCompare);
    case 2:
      return CompareValues(m_StageVar.At(cond.m_sVarNum), cond.m_nConstant, cond.m_cCompare);
    case 3:
      // A character variable of no character does not hold.
      if (!pChara) return 0;
      return CompareValues(pChara->m_vecCharaVar.At(cond.m_sVarNum), cond.m_nConstant,
                           cond.m_cCompare);
    case 4:
      return EvalStatusCond(*this, cond, pChara);
    case 5:
      return EvalFlagCond(*this, cond, pChara);
    case 6:
      return EvalStateCond(*this, cond, pChara);
    case 7:
      return EvalDistanceCond(*this, cond, pChara);
    default:
      return 0;
  }
}

int cPlayScene::CheckBlockCondition(int32_t nCell) {
  BLOCKCELL& cell = g_BlockPalette.Cell(nCell);
  const cEdBlock& def = g_BlockPalette.Def(cell);
  return LatchedTest(*this, def.m_vecConds, def.m_cCondMode, def.m_cLatch, cell.cLatch, Player());
}

int cPlayScene::CheckCharaActive(cCharaObj& chara) {
  const cEdChara& def = chara.m_Def;
  return LatchedTest(*this, def.m_vecConds, def.m_cCondMode, def.m_cLatch, chara.m_cCondLatch,
                     &chara);
}

int cPlayScene::CheckItemActive(cItemObj& item) {
  const cEdItem& def = item.m_Def;
  return LatchedTest(*this, def.m_vecConds, def.m_cCondMode, def.m_cLatch, item.m_cCondLatch,
                     Player());
}

int cPlayScene::CheckFlowCondition(cFlowState& state, cGameObj& chara) {
  if (!state.m_pFlow) return 1;
  const cFlow& flow = *state.m_pFlow;
  return LatchedTest(*this, flow.m_vecConds, flow.m_cCondRule, flow.m_cLatch, state.m_cCondLatch,
                     &chara);
}
