// The command executor: one update step of a command for the character
// running it, by the command's kind, and the per-kind preparation of a
// command instance when its run state is built. Kinds whose bodies are not
// in place yet last their time and do nothing.
#include "base/logs.h"
#include "stage/flow_engine.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"

namespace {

enum : uint8_t {
  kCmdNone = 0,
  kCmdWait = 1,
  kCmdMoveStraight = 2,
  kCmdMoveTurnAround = 3,
  kCmdMoveCircle = 4,
  kCmdMoveCharge = 5,
  kCmdMoveHoming = 6,
  kCmdMoveAvoidEdge = 7,
  kCmdMoveCancel = 8,
  kCmdTurn = 9,
  kCmdJump = 10,
  kCmdMessage = 19,
  kCmdStatusOp = 22,
};

enum : uint8_t {
  kItemCmdChangeFlow = 1,
  kItemCmdStatusOp = 7,
};

// A kind byte beyond the table comes only from damaged or foreign data:
// it does what kind 0 does, and is reported once.
uint8_t CheckedKind(const cFlowCmd& cmd) {
  if (cmd.m_cKind < kFlowCmdKinds) return cmd.m_cKind;
  static bool s_bReported = false;
  if (!s_bReported) {
    s_bReported = true;
    ReportF("a flow command of kind %d is not known and does nothing", cmd.m_cKind);
  }
  return kCmdNone;
}

// The message, with the message-shown flag of the flow run it belongs to.
void CmdMessage(cGameObj& chara, const cFlowCmd& cmd) {
  if (!g_PlayScene) return;
  const cFlowState* pRun = g_PlayScene->m_nFlowCur;
  g_PlayScene->RunMessage(chara, cmd, pRun ? pRun->m_nMessageShown : 0);
}

}  // namespace

void CmdExec(cGameObj& chara, cCmdState& inst) {
  if (!inst.m_pCmd) return;
  switch (CheckedKind(*inst.m_pCmd)) {
    case kCmdMoveStraight:
      CmdMoveStraight(chara, inst);
      break;
    case kCmdMoveTurnAround:
      CmdMoveTurnAround(chara, inst);
      break;
    case kCmdMoveCircle:
      CmdMoveCircle(chara, inst);
      break;
    case kCmdMoveCharge:
      CmdMoveCharge(chara, inst);
      break;
    case kCmdMoveHoming:
      CmdMoveHoming(chara, inst);
      break;
    case kCmdMoveAvoidEdge:
      CmdMoveAvoidEdge(chara, inst);
      break;
    case kCmdMoveCancel:
      CmdMoveCancel(chara, inst);
      break;
    case kCmdTurn:
      CmdTurn(chara, inst);
      break;
    case kCmdJump:
      CmdJump(chara, inst);
      break;
    case kCmdStatusOp:
      CmdStatusOp(chara, *inst.m_pCmd);
      break;
    case kCmdMessage:
      CmdMessage(chara, *inst.m_pCmd);
      break;
    default:
      // None, wait and loop do nothing by design; the other kinds' bodies
      // join here as they are built.
      break;
  }
}

void InitCmdInstance(cCmdState& inst, cGameObj& chara) {
  if (!inst.m_pCmd) return;
  switch (CheckedKind(*inst.m_pCmd)) {
    case kCmdMoveStraight:
    case kCmdMoveTurnAround:
    case kCmdMoveCharge:
    case kCmdMoveAvoidEdge:
      InitMoveCmdTiming(inst, chara);
      break;
    case kCmdMoveCircle:
      InitCircleCmd(inst, chara);
      break;
    case kCmdMoveHoming:
      InitHomingCmd(inst, chara);
      break;
    case kCmdJump:
      InitJumpCmd(inst, chara);
      break;
    default:
      break;
  }
}

int RunItemCmd(cPlayerObj& player, cFlowCmd& cmd) {
  uint8_t cKind = cmd.m_cKind;
  if (cKind >= kItemCmdKinds) {
    static bool s_bReported = false;
    if (!s_bReported) {
      s_bReported = true;
      ReportF("an item command of kind %d is not known and does nothing", cKind);
    }
    cKind = 0;
  }
  switch (cKind) {
    case kItemCmdChangeFlow:
      ChangeFlows(player, cmd, 0);
      return 0;
    case kItemCmdStatusOp:
      CmdStatusOp(player, cmd);
      return 0;
    default:
      // The other item commands join here with their flow twins.
      return 0;
  }
}
