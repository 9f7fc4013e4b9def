// A flow as it runs: starting it, stepping its commands (one after another,
// or alongside the following ones when a command is parallel), and ending,
// halting, pausing it. One command instance's own start and step are here
// too; the command bodies are reached through CmdExec.
#include "base/logs.h"
#include "flow/command_catalogue.h"
#include "stage/command_context.h"
#include "stage/command_param.h"
#include "stage/flow_engine.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/param_binds.h"

namespace {

// A message that waits for the advance key and is not an erase: the next
// message opens plainly after it.
bool IsWaitingMessage(const cFlowCmd* pCmd) {
  return pCmd && pCmd->m_cCmdSet == 0 && pCmd->m_cKind == CMD_MESSAGE && CmdParam(*pCmd, 15) == 0 &&
         CmdParam(*pCmd, 6) == 0;
}

// The group of a trigger-0 flow is busy from the stop until the end of the
// owner's flow step.
void MarkStopped(cGameObj& chara, const cFlow* pFlow) {
  const uint8_t cGroup = pFlow ? pFlow->m_cGroup : 0;
  if (cGroup == 0) return;
  chara.m_vecStopGroups.At(cGroup) = 1;
  chara.m_nGroupRelease = 1;
}

}  // namespace

void cCmdState::Init(cGameObj& owner, cFlowState& run, cPlayScene& scene) {
  m_nRemain = m_nDuration;
  m_nDone = 0;
  // A body starts from its first step again whenever the command is reached.
  m_nCount = 0;
  m_nStarted = 0;
  m_nJumpDone = 0;
  for (int32_t& n : m_anWork) n = 0;
  const bool bArrange = m_pCmd && m_pCmd->m_cCmdSet == 0 && m_pCmd->m_cKind == CMD_ARRANGE;
  // The bindings an arrangement left are for exactly this command.
  if (bArrange) return;
  if (m_pCmd) ApplyParamBinds(scene, *m_pCmd, owner, &run);
  run.m_lstBinds.clear();
}

int cCmdState::Step(cGameObj& owner, cFlowState& run, cPlayScene& scene) {
  if (m_pCmd) CmdExec(CMDCONTEXT{owner, &run, this, *m_pCmd, scene, &owner});
  if (--m_nRemain > 0) return 0;
  m_nRemain = 0;
  return 1;
}

void cFlowState::Start(cGameObj& owner, cPlayScene& scene) {
  m_nRunning = 1;
  ++m_nStarts;
  m_nCurrent = 0;
  m_nStepCount = 0;
  m_nMessageShown = 0;
  for (cCmdState& inst : m_vecCmds) inst.m_nDone = 0;
  m_nStartedThisFrame = 1;
  if (!m_pFlow) return;
  const uint8_t cGroup = m_pFlow->m_cGroup;
  if (m_pFlow->m_cTrigger == 0 && cGroup != 0) {
    owner.m_vecRunGroups.At(cGroup) = 1;
    owner.m_vecStartGroups.At(cGroup) = 1;
  }
  if (m_vecCmds.empty() || m_pFlow->m_cTrigger != 21) return;
  // Before the stage starts only what takes no time runs, all at once.
  m_nBreak = 0;
  for (cCmdState& inst : m_vecCmds) {
    const cFlowCmd* pCmd = inst.m_pCmd;
    // The kinds before the flow operation move, turn, fire or summon.
    if (!pCmd || pCmd->m_cKind < CMD_FLOW_OP || pCmd->m_cParallel == 0) continue;
    inst.Init(owner, *this, scene);
    if (!inst.Step(owner, *this, scene))
      ReportFDebug("使用時間0なので、ここにくることはあり得ないはず！");
    if (m_nBreak) break;
    inst.m_nDone = 1;
  }
  Stop(owner);
}

int cFlowState::Step(cGameObj& owner, cPlayScene& scene) {
  m_nBreak = 0;
  const int32_t nCount = static_cast<int32_t>(m_vecCmds.size());
  if (nCount == 0) return 1;
  // A parallel last command that still runs moves current past the end:
  // the bound keeps the loop inside the list.
  for (int32_t i = 0; i <= m_nCurrent && i < nCount; ++i) {
    cCmdState& inst = m_vecCmds[i];
    if (inst.m_nDone) continue;
    const cFlowCmd* pCmd = inst.m_pCmd;
    if (inst.m_nRemain == 0) {
      inst.Init(owner, *this, scene);
      if (!IsWaitingMessage(pCmd) && pCmd && pCmd->m_cParallel == 0) m_nMessageShown = 0;
    }
    const uint32_t nStarts = m_nStarts;
    if (pCmd && pCmd->m_cParallel == 1) {
      const int nFinished = inst.Step(owner, *this, scene);
      // Started again by this command: the run goes on from its first
      // command in the next step, the last command ending nothing.
      if (m_nStarts != nStarts) return 0;
      if (nFinished) {
        inst.m_nDone = 1;
        if (i == nCount - 1) return 1;
      }
      if (i == m_nCurrent) ++m_nCurrent;
      if (m_nBreak) return 0;
      continue;
    }
    const int nFinished = inst.Step(owner, *this, scene);
    if (m_nStarts != nStarts) return 0;
    if (!nFinished) {
      if (m_nBreak) return 0;
      continue;
    }
    inst.m_nDone = 1;
    if (IsWaitingMessage(pCmd)) m_nMessageShown = 1;
    if (i == nCount - 1) return 1;
    ++m_nCurrent;
    break;  // the next command starts in the next update step
  }
  if (m_vecCmds[nCount - 1].m_nDone) return 1;
  ++m_nStepCount;
  return 0;
}

int cFlowState::Stop(cGameObj& chara) {
  if (!m_nRunning) return 0;
  m_nRunning = 0;
  m_lstBinds.clear();
  for (cCmdState& inst : m_vecCmds) inst.m_nRemain = 0;
  MarkStopped(chara, m_pFlow);
  return 1;
}

void cFlowState::Halt(cGameObj& chara) {
  m_nHalted = 1;
  if (!m_nRunning) return;
  for (cCmdState& inst : m_vecCmds) inst.m_nRemain = 0;
  MarkStopped(chara, m_pFlow);
}
