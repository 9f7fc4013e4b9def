#include "stage/flow_engine.h"

#include <algorithm>
#include <iterator>

#include "base/logs.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "flow/command_catalogue.h"
#include "flow/key_cond.h"
#include "input/input.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/command_param.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"

namespace {

bool IsLoopCmd(const cFlowCmd& cmd) {
  return (cmd.m_cCmdSet == 0 && cmd.m_cKind == CMD_LOOP) ||
         (cmd.m_cCmdSet == 1 && cmd.m_cKind == ItemCmdKind(CMD_LOOP));
}

// Target slot n of a character takes a character (or none), the back
// references following.
void PutTarget(cGameObj& chara, size_t nSlot, cGameObj* pTarget) {
  if (nSlot >= chara.m_vecTargets.size()) return;
  chara.SetTarget(static_cast<int32_t>(nSlot), pTarget, 1);
}

// The input the key conditions read: the first player's.
const cInput* KeyInput() {
  if (!g_Players.empty() && g_Players[0].m_pInput) return g_Players[0].m_pInput;
  return g_Input.empty() ? nullptr : &g_Input.At(0);
}

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
    int64_t nRepeat = CmdParam(*it, 0);
    int64_t nBlock = CmdParam(*it, 1);
    const int64_t nAfter = static_cast<int64_t>(vecCmds.size() - nPos - 1);
    if (nBlock > nAfter) nBlock = nAfter;
    if (nBlock > 0 && nRepeat > 1) {
      const int64_t nRoom =
          static_cast<int64_t>(kMaxUnrolledCmds) - static_cast<int64_t>(vecCmds.size());
      if ((nRepeat - 1) * nBlock > nRoom) {
        ReportF("a loop of %d x %d commands is cut short", CmdParam(*it, 0), CmdParam(*it, 1));
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

void cGameObj::FireFlows(int8_t cKind, cGameObj* pPartner, int8_t cKey) {
  cPlayScene& scene = *g_PlayScene;
  const bool bEarlyOnce = g_SystemData.m_bCompat744 && !g_SystemData.m_bCompat525;
  const bool bLateOnce = !g_SystemData.m_bCompat744 && !g_SystemData.m_bCompat525;
  // A player-operated character reads its own pad for the start direction,
  // the computer's characters player 1's.
  const size_t nPad = m_nControl == 0 ? m_Def.m_cInputPlayer : 0;
  for (size_t i = 0; i < m_vecFlowStates.size(); ++i) {
    cFlowState& r = m_vecFlowStates[i];
    if (!r.m_pFlow || r.m_pFlow->m_cTrigger != static_cast<uint8_t>(cKind)) continue;
    const cFlow& f = *r.m_pFlow;
    if (bEarlyOnce) {
      if (r.m_nFiredThisFrame) continue;
      r.m_nFiredThisFrame = 1;
    }
    if (r.m_nRunning || r.m_nPaused || r.m_nHalted || r.m_nStartedThisFrame) continue;
    if (cKind == 0 && f.m_cGroup != 0 &&
        (m_vecRunGroups.At(f.m_cGroup) || m_vecStartGroups.At(f.m_cGroup)))
      continue;
    if (cKey >= 1 && f.m_cId != static_cast<uint8_t>(cKey)) continue;
    if (bLateOnce) {
      if (r.m_nFiredThisFrame) continue;
      r.m_nFiredThisFrame = 1;
    }
    if (f.m_cStorePartner && pPartner) {
      const size_t nSlot = f.m_cPartnerSlot;
      cGameObj* pOld = nSlot < m_vecTargets.size() ? m_vecTargets[nSlot] : nullptr;
      PutTarget(*this, nSlot, pPartner);
      if (!scene.CheckFlowCondition(r, *this) || !CheckKeyConds(*this, r, KeyInput())) {
        PutTarget(*this, nSlot, pOld);
        continue;
      }
    } else if (!scene.CheckFlowCondition(r, *this) || !CheckKeyConds(*this, r, KeyInput())) {
      continue;
    }
    r.m_nInputDir = nPad < g_Input.size() ? GetInputDirection(g_Input[nPad]) : 0;
    r.Start(*this, scene);
  }
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
void BuildFlowState(cFlowState& state, cFlow& flow, int32_t nIndex, cGameObj& chara,
                    cPlayScene& scene) {
  const int16_t sClone = chara.m_sSetupWord;
  int32_t& nSerial = chara.m_nFlowSerial;
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
      const cEdMove& move = *cmd.m_pMove;
      inst.m_dSpeed = (move.m_sSpeed + move.m_sSpeedInc * sClone) * 0.1 / n;
      if (move.m_cInertia) inst.m_dSpeedCap = move.m_sSpeedCap * 0.1 / n;
      inst.m_cDir = static_cast<uint8_t>(move.m_cDirection);
    }
    InitCmdInstance(CMDCONTEXT{chara, &state, &inst, cmd, scene, &chara});
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
    BuildFlowState(state, flows[nIndex + j], nIndex + j, *this, *g_PlayScene);
    // A key already held when the flow arrives must be let go first.
    if (bInsert) state.m_nKeyHeld = flows[nIndex + j].m_cKeyRepeat ? 0 : 1;
  }
  if (bInsert) RelinkFlowStates();
  for (int j = 0; j < nCount && static_cast<size_t>(nIndex + j) < m_vecFlowStates.size(); ++j)
    BuildFlowCues(m_vecFlowStates[nIndex + j]);
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
  state.Stop(*this);
  RemoveFlowAnims(state.m_nSerial);
  m_vecFlowStates.erase(m_vecFlowStates.begin() + nIndex);
  if (static_cast<size_t>(nIndex) < m_Def.m_vecFlows.size())
    m_Def.m_vecFlows.erase(m_Def.m_vecFlows.begin() + nIndex);
  RelinkFlowStates();
}

void cGameObj::RemoveFlowAnims(int32_t nSerial) {
  m_AnimList.remove_if([nSerial](const cAnimPlay& a) { return a.m_nSerial == nSerial; });
}

void cGameObj::PauseFlowAnims(int32_t nSerial) {
  for (cAnimPlay& a : m_AnimList)
    if (a.m_nSerial == nSerial) a.m_nPaused = 1;
}

void cGameObj::ResumeFlowAnims(int32_t nSerial) {
  for (cAnimPlay& a : m_AnimList)
    if (a.m_nSerial == nSerial) a.m_nPaused = 0;
}

int cGameObj::StepFlowStates(cPlayScene& scene, int bDeathOnly, bool bVanishEnds) {
  for (size_t i = 0; i < m_vecFlowStates.size(); ++i) {
    if (!m_vecFlowStates[i].m_nRunning) continue;
    const cFlow* pFlow = m_vecFlowStates[i].m_pFlow;
    if (!pFlow || pFlow->m_vecCmds.empty()) {
      m_vecFlowStates[i].Stop(*this);
      continue;
    }
    if (m_vecFlowStates[i].m_nPaused || m_vecFlowStates[i].m_nHalted) continue;
    const uint8_t cTrigger = pFlow->m_cTrigger;
    if (bDeathOnly && cTrigger != 3) continue;
    if (m_vecFlowStates[i].Step(*this, scene) && i < m_vecFlowStates.size())
      m_vecFlowStates[i].Stop(*this);
    if ((bVanishEnds && m_nVanish) || (!bDeathOnly && cTrigger != 3 && m_nHP <= 0)) return 1;
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

int RemoveFlowsByKey(cGameObj& chara, int8_t cKey) {
  if (cKey == 0) {
    for (cFlowState& state : chara.m_vecFlowStates) state.Stop(chara);
    chara.m_vecFlowStates.clear();
    chara.m_Def.m_vecFlows.clear();
    chara.m_AnimList.clear();
    chara.RelinkFlowStates();
    return 0;
  }
  int nFirst = -1;
  for (size_t i = 0; i < chara.m_Def.m_vecFlows.size();) {
    const uint8_t cId = chara.m_Def.m_vecFlows[i].m_cId;
    if (cId == 0 || cId != static_cast<uint8_t>(cKey)) {
      ++i;
      continue;
    }
    if (nFirst < 0) nFirst = static_cast<int>(i);
    chara.RemoveFlow(static_cast<int>(i));
  }
  return nFirst;
}

int ItemCmdChangeFlow(const CMDCONTEXT& ctx) {
  // Item commands run on the player alone (cPlayerObj::RunItemCommands).
  cPlayerObj& player = static_cast<cPlayerObj&>(ctx.m_Chara);
  // While the player's own flows run, the change waits for their end.
  if (!g_Players.empty() && ctx.m_pFlowOwner == &g_Players[0]) {
    player.m_vecPendingCmds.push_back(ctx.m_Cmd);
    return 0;
  }
  ChangeFlows(player, ctx.m_Cmd);
  return 0;
}

void ChangeFlows(cPlayerObj& player, cFlowCmd& cmd) {
  const int8_t cKey = static_cast<int8_t>(CmdParam(cmd, 1) & 0xff);
  switch (CmdParam(cmd, 0)) {
    case 0:
      player.InsertFlows(cmd.m_vecFlows, true, -1);
      break;
    case 1: {
      const int nAt = RemoveFlowsByKey(player, cKey);
      player.InsertFlows(cmd.m_vecFlows, true, nAt);
      break;
    }
    case 2:
      RemoveFlowsByKey(player, cKey);
      break;
    default:
      break;
  }
}
