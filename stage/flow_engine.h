// The flow engine as the stage objects call it: starting flows on events,
// stepping the running ones, building and re-linking their run states,
// loops unrolled, the key-input conditions, and the command executor with
// the movement commands. The other command families (objects, flows, stage,
// display, sound, code, status) are not in place yet: their commands last
// their time and do nothing. Of the conditions only key input is evaluated
// here so far.
#pragma once

#include <cstdint>
#include <list>

#include "base/safe_vector.h"
#include "flow/flow.h"

class cGameObj;
class cPlayerObj;
class cInput;
class cCmdState;
class cFlowState;
struct EDGERUN;

// Command kinds the objects need to know.
constexpr uint8_t kFlowCmdLoop = 39;     // flow numbering
constexpr uint8_t kItemCmdLoop = 24;     // item numbering
constexpr uint8_t kItemCmdArrange = 23;  // item numbering: bindings for the next command

// Unrolls every loop command of a list (a loop repeats the block of
// commands after it); nested loops multiply. A list is never unrolled
// beyond kMaxUnrolledCmds commands: a loop that would is cut short there.
constexpr size_t kMaxUnrolledCmds = 16384;
void ExpandLoopCmds(CMD_VECTOR& vecCmds);

// The conditions of kinds 4 to 7 and the key-input steps. EvalKeyCond:
// whether one key step holds on the input's newest runs, without lengths.
int EvalStatusCond(const cCond& cond, cGameObj* pChara);
int EvalFlagCond(const cCond& cond, cGameObj* pChara);
int EvalStateCond(const cCond& cond, cGameObj* pChara);
int EvalDistanceCond(const cCond& cond, cGameObj* pChara);
int EvalKeyCond(cGameObj& chara, const cKeyCond& keys, const cInput* pInput);

// Key sequences (flow_keys.cpp). A cursor is, per channel (0..9 the
// directions, 10..18 the buttons), a run of its log (0 the newest) and a
// position in that run counted from its oldest frame.
struct KEYCURSOR {
  int32_t anRun[19] = {};
  int32_t anPos[19] = {};
  void AtPresent(const cInput& input);
};
bool MatchKey(const EDGERUN& run, int32_t p, const cKeyCond& step, uint8_t cState);
// Whether a step holds at the cursor; nLength takes the position that the
// step's rule picks among the matching keys.
bool MatchKeyStep(const cKeyCond& step, const KEYCURSOR& cur, const cInput& input,
                  bool bFacesLeft, int32_t& nLength);
// Moves every channel's cursor by whole frames: back when nFrames <= 0.
void ShiftKeyCursor(KEYCURSOR& cur, const cInput& input, int32_t nFrames);
bool MatchKeySequence(cFlowState& run, const cInput& input, int32_t nTolerance, bool bFacesLeft);
// The key gate of a flow about to start, with its edge and repeat latches.
bool CheckKeyConds(cGameObj& chara, cFlowState& run, const cInput* pInput);
// The first direction channel whose newest run is on, 0 when none.
int GetInputDirection(const cInput& input);

// The command executor (flow_exec.cpp): one update step of a command for
// the character that runs it, and the preparation of an instance when its
// run state is built. Kinds outside the table act as kind 0.
void CmdExec(cGameObj& chara, cCmdState& inst);
void InitCmdInstance(cCmdState& inst, cGameObj& chara);
constexpr int kFlowCmdKinds = 40;

// The status operation (flow_status.cpp): an operation on a value, clamped
// to a range, and the command of flows (kind 22) and items (kind 7).
int32_t ApplyStatusOp(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh);
void CmdStatusOp(cGameObj& chara, cFlowCmd& cmd);
constexpr int kItemCmdKinds = 25;

// Movement commands (flow_move.cpp).
int ResolveMoveDirection(cGameObj& chara, int nCode, int bCurrentInput, int bPlain, int bDiagonals);
int InputToDirection(int nChannel, int bPlain, int nFacing);
void SetDirVelocity(cGameObj& chara, cCmdState& inst, double v, int nCode);
void SetAngleVelocity(cGameObj& chara, cCmdState& inst, double v, int nCode, int32_t nAngle);
void AimAtTarget(cGameObj& chara, cCmdState& inst, double v, int32_t dx, int32_t dy);
void ApplyMoveVelocity(cGameObj& chara, double vx, double vy, int32_t nFaceResult,
                       cCmdState& inst, int bForce);
void ComputeCmdAngle(cGameObj& chara, cCmdState& inst);
void ComputeTargetOffset(cGameObj& chara, cCmdState& inst);
void TurnAroundStep(cGameObj& chara, cCmdState& inst);
void ComputeMoveTiming(cCmdState& inst, const cFlowCmd& cmd, int16_t sClone);
void InitMoveCmdTiming(cCmdState& inst, cGameObj& chara);
void InitJumpCmd(cCmdState& inst, cGameObj& chara);
// Tenths of a second a jump of cHeight hbl takes to its top, plus one.
int32_t JumpTimeFromHeight(const cGameObj& chara, int32_t nHeight);
void CmdMoveStraight(cGameObj& chara, cCmdState& inst);
void CmdMoveTurnAround(cGameObj& chara, cCmdState& inst);
void CmdMoveCancel(cGameObj& chara, cCmdState& inst);
void CmdTurn(cGameObj& chara, cCmdState& inst);
void CmdJump(cGameObj& chara, cCmdState& inst);

// The animation cues of a run state whose commands are in place
// (flow_cues.cpp).
void BuildFlowCues(cFlowState& state);

// Circle, charge, homing and edge-avoiding movement (flow_move_paths.cpp).
void InitCircleCmd(cCmdState& inst, cGameObj& chara);
void InitHomingCmd(cCmdState& inst, cGameObj& chara);
void CmdMoveCircle(cGameObj& chara, cCmdState& inst);
void CmdMoveCharge(cGameObj& chara, cCmdState& inst);
void CmdMoveHoming(cGameObj& chara, cCmdState& inst);
void CmdMoveAvoidEdge(cGameObj& chara, cCmdState& inst);
void AvoidScreenEdge(cGameObj& chara, cCmdState& inst, const cEdMove& move);
// A step toward a point of the screen, on the axes the freeze flags leave.
void StepToTargetPoint(cGameObj& chara, cCmdState& inst, const cEdMove& move,
                       const cGameObj* pTarget, double x, double y);

// The player's deferred flow changes, an item command, and the bindings an
// "アレンジ" item command left for the next one.
// bApplying 0: from an item's list (deferred while the player's flows run);
// 1: a deferred change applied after them.
void ChangeFlows(cPlayerObj& player, cFlowCmd& cmd, int bApplying = 1);
// Removes the flows whose ID is the key (key 0: every flow); the index of
// the first one removed, -1 when none (0 for key 0).
int RemoveFlowsByKey(cGameObj& chara, int8_t cKey);
int RunItemCmd(cPlayerObj& player, cFlowCmd& cmd);
void ApplyCharaParamBinds(cPlayerObj& player, cFlowCmd& cmd,
                          const std::list<cSafeVector<int32_t>>& lstBinds);
