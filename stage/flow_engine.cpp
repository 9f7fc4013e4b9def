#include "stage/flow_engine.h"

#include <algorithm>
#include <iterator>

#include "base/logs.h"
#include "files/stage_data.h"
#include "flow/key_cond.h"
#include "input/input.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"

namespace {

int32_t Param(const cFlowCmd& cmd, int i) {
  return static_cast<size_t>(i) < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0;
}

bool IsLoopCmd(const cFlowCmd& cmd) {
  return (cmd.m_cCmdSet == 0 && cmd.m_cKind == kFlowCmdLoop) ||
         (cmd.m_cCmdSet == 1 && cmd.m_cKind == kItemCmdLoop);
}

// Ends a run: its commands stop and its group is released at the end of
// the character's flow step.
int StopFlowState(cFlowState& state, cGameObj& chara) {
  if (!state.m_nRunning) return 0;
  state.m_nRunning = 0;
  state.m_lstBinds.clear();
  for (cCmdState& cmd : state.m_vecCmds) cmd.m_nRemain = 0;
  const uint8_t cGroup = state.m_pFlow ? state.m_pFlow->m_cGroup : 0;
  if (cGroup != 0) {
    chara.m_vecStopGroups.At(cGroup) = 1;
    chara.m_nGroupRelease = 1;
  }
  return 1;
}

// One update step of a run; 1 when the flow has ended. No command runs yet:
// a flow that runs ends at once.
int StepFlowState(cFlowState& /*state*/) { return 1; }

}  // namespace

void ExpandLoopCmds(CMD_VECTOR& vecCmds) {
  // Every loop before the one found last is gone, so the search goes on
  // from there. Each unrolling moves the whole list once; a list whose loops
  // would take more than this many moves (only data no editor writes) has
  // its remaining loops dropped, each block left once.
  constexpr int64_t kMoveBudget = int64_t{4} << 20;
  int64_t nMoves = 0;
  size_t nFrom = 0;
  for (;;) {
    auto it =
        std::find_if(vecCmds.begin() + static_cast<ptrdiff_t>(nFrom), vecCmds.end(), IsLoopCmd);
    if (it == vecCmds.end()) return;
    if (nMoves > kMoveBudget) {
      ReportF("the loops of a command list are not unrolled: too many");
      vecCmds.erase(std::remove_if(vecCmds.begin(), vecCmds.end(), IsLoopCmd), vecCmds.end());
      return;
    }
    const size_t nPos = static_cast<size_t>(it - vecCmds.begin());
    int64_t nRepeat = Param(*it, 0);
    int64_t nBlock = Param(*it, 1);
    const int64_t nAfter = static_cast<int64_t>(vecCmds.size() - nPos - 1);
    if (nBlock > nAfter) nBlock = nAfter;
    if (nBlock > 0 && nRepeat > 1) {
      const int64_t nRoom =
          static_cast<int64_t>(kMaxUnrolledCmds) - static_cast<int64_t>(vecCmds.size());
      if ((nRepeat - 1) * nBlock > nRoom) {
        ReportF("a loop of %d x %d commands is cut short", Param(*it, 0), Param(*it, 1));
        nRepeat = nRoom > 0 ? nRoom / nBlock + 1 : 1;
      }
      const auto first = vecCmds.begin() + static_cast<ptrdiff_t>(nPos) + 1;
      const CMD_VECTOR block(first, first + static_cast<ptrdiff_t>(nBlock));
      CMD_VECTOR copies;
      copies.reserve(static_cast<size_t>((nRepeat - 1) * nBlock));
      for (int64_t i = 1; i < nRepeat; ++i) copies.insert(copies.end(), block.begin(), block.end());
      vecCmds.insert(first, std::make_move_iterator(copies.begin()),
                     std::make_move_iterator(copies.end()));
    }
    vecCmds.erase(vecCmds.begin() + static_cast<ptrdiff_t>(nPos));
    nMoves += static_cast<int64_t>(vecCmds.size());
    nFrom = nPos;
  }
}

void cGameObj::FireFlows(int8_t /*cKind*/, cGameObj* /*pPartner*/, int8_t /*cKey*/) {
  // No flow starts until commands can run; the engine's work words end
  // cleared, as after every firing.
  cPlayScene& scene = *g_PlayScene;
  scene.m_nFlowObj = nullptr;
  scene.m_nFlowCur = nullptr;
  scene.m_nFlowCmd = nullptr;
}

void cGameObj::FireTrigger(int8_t cKind) { FireFlows(cKind, nullptr, 0); }

void cGameObj::ClearFlowFrameFlags() {
  for (cFlowState& state : m_vecFlowStates) {
    state.m_nFiredThisFrame = 0;
    state.m_nStartedThisFrame = 0;
  }
  std::fill(m_vecStartGroups.begin(), m_vecStartGroups.end(), 0);
}

namespace {

// A fresh run state for flow i of a character whose clone value is sClone.
void BuildFlowState(cFlowState& state, cFlow& flow, int32_t nIndex, int32_t& nSerial,
                    int16_t sClone) {
  state = cFlowState{};
  state.m_nIndex = nIndex;
  state.m_nSerial = nSerial++;
  state.m_pFlow = &flow;
  for (cKeyCond& key : flow.m_vecKeys) state.m_vecKeys.push_back(&key);
  const int32_t n = g_Stage.m_nSteps;
  state.m_vecCmds.resize(flow.m_vecCmds.size());
  for (size_t j = 0; j < flow.m_vecCmds.size(); ++j) {
    cFlowCmd& cmd = flow.m_vecCmds[j];
    cCmdState& inst = state.m_vecCmds[j];
    inst.m_pCmd = &cmd;
    // Tenths of a second, and more per clone, in update steps (wrapping as
    // 32-bit arithmetic does).
    const uint32_t nTenths = static_cast<uint32_t>(cmd.m_sTime) +
                             static_cast<uint32_t>(cmd.m_sTimeInc) * static_cast<uint32_t>(sClone);
    inst.m_nDuration = static_cast<int32_t>(nTenths * static_cast<uint32_t>(n) * 6u);
    if (cmd.m_pMove) {
      inst.m_dSpeed = (cmd.m_pMove->m_sSpeed + cmd.m_pMove->m_sSpeedInc * sClone) * 0.1 / n;
      inst.m_cDir = static_cast<uint8_t>(cmd.m_pMove->m_cDirection);
    }
  }
}

}  // namespace

int cGameObj::InsertFlows(FLOW_VECTOR& vecSource, bool bInsert, int nIndex) {
  for (cFlow& flow : vecSource) ExpandLoopCmds(flow.m_vecCmds);
  FLOW_VECTOR& flows = m_Def.m_vecFlows;
  const int nCount = static_cast<int>(vecSource.size());
  if (bInsert) {
    const FLOW_VECTOR copies(vecSource);  // the source may be this character's own list
    if (nIndex >= 0 && nIndex < static_cast<int>(flows.size())) {
      flows.insert(flows.begin() + nIndex, copies.begin(), copies.end());
      m_vecFlowStates.insert(m_vecFlowStates.begin() + nIndex, copies.size(), cFlowState{});
    } else {
      nIndex = static_cast<int>(m_vecFlowStates.size());
      flows.insert(flows.end(), copies.begin(), copies.end());
      m_vecFlowStates.resize(m_vecFlowStates.size() + copies.size());
    }
  } else {
    m_vecFlowStates.clear();
    m_vecFlowStates.resize(flows.size());
    nIndex = 0;
  }
  for (int j = 0; j < nCount && static_cast<size_t>(nIndex + j) < flows.size(); ++j) {
    cFlowState& state = m_vecFlowStates[nIndex + j];
    BuildFlowState(state, flows[nIndex + j], nIndex + j, m_nFlowSerial, m_sSetupWord);
    // A key already held when the flow arrives must be let go first.
    if (bInsert) state.m_nKeyHeld = flows[nIndex + j].m_cKeyRepeat ? 0 : 1;
  }
  if (bInsert) RelinkFlowStates();
  // The animation cues of the new runs are built with the command bodies.
  return nCount;
}

void cGameObj::RelinkFlowStates() {
  FLOW_VECTOR& flows = m_Def.m_vecFlows;
  const size_t nCount = std::min(flows.size(), m_vecFlowStates.size());
  for (size_t i = 0; i < nCount; ++i) {
    cFlowState& state = m_vecFlowStates[i];
    cFlow& flow = flows[i];
    state.m_nIndex = static_cast<int32_t>(i);
    state.m_pFlow = &flow;
    state.m_vecKeys.clear();
    for (cKeyCond& key : flow.m_vecKeys) state.m_vecKeys.push_back(&key);
    for (size_t j = 0; j < state.m_vecCmds.size(); ++j)
      state.m_vecCmds[j].m_pCmd = j < flow.m_vecCmds.size() ? &flow.m_vecCmds[j] : nullptr;
  }
}

void cGameObj::RemoveFlow(int nIndex) {
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecFlowStates.size()) return;
  cFlowState& state = m_vecFlowStates[nIndex];
  StopFlowState(state, *this);
  const int32_t nSerial = state.m_nSerial;
  m_AnimList.remove_if([nSerial](const cAnimPlay& a) { return a.m_nSerial == nSerial; });
  m_vecFlowStates.erase(m_vecFlowStates.begin() + nIndex);
  if (static_cast<size_t>(nIndex) < m_Def.m_vecFlows.size())
    m_Def.m_vecFlows.erase(m_Def.m_vecFlows.begin() + nIndex);
  RelinkFlowStates();
}

void cGameObj::StartFlowAnims() {
  // Cued animations start with the flows that cue them.
}

int cGameObj::StepFlowStates(int bDeathOnly, bool bVanishEnds) {
  for (size_t i = 0; i < m_vecFlowStates.size(); ++i) {
    if (!m_vecFlowStates[i].m_nRunning) continue;
    const cFlow* pFlow = m_vecFlowStates[i].m_pFlow;
    if (!pFlow || pFlow->m_vecCmds.empty()) {
      StopFlowState(m_vecFlowStates[i], *this);
      continue;
    }
    if (m_vecFlowStates[i].m_nPaused || m_vecFlowStates[i].m_nHalted) continue;
    const uint8_t cTrigger = pFlow->m_cTrigger;
    if (bDeathOnly && cTrigger != 3) continue;
    if (StepFlowState(m_vecFlowStates[i]) && i < m_vecFlowStates.size())
      StopFlowState(m_vecFlowStates[i], *this);
    if (bVanishEnds && m_nVanish) return 1;
    if (!bDeathOnly && cTrigger != 3 && m_nHP <= 0) return 1;
  }
  return 0;
}

void cGameObj::FinishFlowStep() {
  if (m_nFlowRemoval) {
    for (size_t i = 0; i < m_vecFlowStates.size();) {
      if (m_vecFlowStates[i].m_nRemoval)
        RemoveFlow(static_cast<int>(i));
      else
        ++i;
    }
    m_nFlowRemoval = 0;
  }
  if (m_nGroupRelease) {
    for (size_t g = 0; g < m_vecStopGroups.size() && g < m_vecRunGroups.size(); ++g) {
      if (m_vecStopGroups[g]) {
        m_vecRunGroups[g] = 0;
        m_vecStopGroups[g] = 0;
      }
    }
    m_nGroupRelease = 0;
  }
}

int EvalStatusCond(const cCond& /*cond*/, cGameObj* /*pChara*/) { return 0; }
int EvalFlagCond(const cCond& /*cond*/, cGameObj* /*pChara*/) { return 0; }
int EvalStateCond(const cCond& /*cond*/, cGameObj* /*pChara*/) { return 0; }
int EvalDistanceCond(const cCond& /*cond*/, cGameObj* /*pChara*/) { return 0; }
int EvalKeyCond(cGameObj& /*chara*/, const cKeyCond& keys, const cInput* pInput) {
  if (!pInput) return 0;
  int nMatched = 0, nFailed = 0;
  const int nSlots = std::min<int>(static_cast<int>(keys.m_vecKeys.size()), cKeyCond::KEY_SLOTS);
  for (int s = 0; s < nSlots; ++s) {
    const uint8_t cState = keys.m_vecKeys[static_cast<size_t>(s)];
    if (cState == 0) continue;
    // Slots 0..9 are the direction channels, 10..18 the button channels;
    // only the newest run counts, whatever its length.
    const EDGERUN& run = s < INPUT_DIR_LOGS ? pInput->m_DirLogs[static_cast<size_t>(s)][0]
                                            : pInput->m_ButtonLogs[static_cast<size_t>(s - 10)][0];
    const bool bMatch = (cState == 1 && run.nState != 0) || (cState == 2 && run.nState == 0);
    if (!bMatch) {
      ++nFailed;
      continue;
    }
    ++nMatched;
    if (keys.m_cRule == 1) break;
  }
  switch (keys.m_cRule) {
    case 0:
      return nFailed == 0;
    case 1:
      return nMatched != 0;
    case 2:
      return nMatched == 1;
    default:
      return 1;
  }
}

void ChangeFlows(cPlayerObj& /*player*/, cFlowCmd& /*cmd*/) {}
int RunItemCmd(cPlayerObj& /*player*/, cFlowCmd& /*cmd*/) { return 0; }
void ApplyCharaParamBinds(cPlayerObj& /*player*/, cFlowCmd& /*cmd*/,
                          const std::list<cSafeVector<int32_t>>& /*lstBinds*/) {}
