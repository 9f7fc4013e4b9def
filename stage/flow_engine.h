// The flow engine as the stage objects call it: starting flows on events,
// stepping the running ones, building and re-linking their run states,
// loops unrolled, the key-input conditions, the command executor and what
// the movement commands share. The bodies themselves are reached through the
// table of kinds (command_table.h).
#pragma once

#include <cstdint>
#include <list>

#include "base/safe_vector.h"
#include "flow/flow.h"

class cGameObj;
class cPlayerObj;
class cPlayScene;
class cInput;
class cCmdState;
class cFlowState;
struct CMDCONTEXT;
struct EDGERUN;

// Unrolls every loop command of a list (a loop repeats the block of
// commands after it); nested loops multiply. A list is never unrolled
// beyond kMaxUnrolledCmds commands: a loop that would is cut short there.
constexpr size_t kMaxUnrolledCmds = 16384;
void ExpandLoopCmds(CMD_VECTOR& vecCmds);

// The conditions of kinds 4 to 7 for a character (null for a test of no
// character: those needing one fail) and the key-input steps. EvalKeyCond:
// whether one key step holds on the input's newest runs, without lengths.
int EvalStatusCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara);
int EvalFlagCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara);
int EvalStateCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara);
int EvalDistanceCond(cPlayScene& scene, const cCond& cond, cGameObj* pChara);
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
bool MatchKeyStep(const cKeyCond& step, const KEYCURSOR& cur, const cInput& input, bool bFacesLeft,
                  int32_t& nLength);
// Moves every channel's cursor by whole frames: back when nFrames <= 0.
void ShiftKeyCursor(KEYCURSOR& cur, const cInput& input, int32_t nFrames);
bool MatchKeySequence(cFlowState& run, const cInput& input, int32_t nTolerance, bool bFacesLeft);
// The key gate of a flow about to start, with its edge and repeat latches.
bool CheckKeyConds(cGameObj& chara, cFlowState& run, const cInput* pInput);
// The first direction channel whose newest run is on, 0 when none.
int GetInputDirection(const cInput& input);

// The command executor (flow_exec.cpp), through the table of kinds
// (command_table.h): one update step of a flow's command, the preparation of
// an instance when its run state is built, and an item's command, which
// gives 0 or the outcome that ends the item's list. Kinds outside the table
// act as kind 0.
void CmdExec(const CMDCONTEXT& ctx);
void InitCmdInstance(const CMDCONTEXT& ctx);
int RunItemCmd(const CMDCONTEXT& ctx);

// What the movement commands share (flow_move.cpp). A direction of the
// input (code 12) is the one the run started with, or the current one.
int ResolveMoveDirection(cGameObj& chara, const cFlowState* pRun, int nCode, int bCurrentInput,
                         int bPlain, int bDiagonals);
int InputToDirection(int nChannel, int bPlain, int nFacing);
void SetDirVelocity(const CMDCONTEXT& ctx, double v, int nCode);
void SetAngleVelocity(const CMDCONTEXT& ctx, double v, int nCode, int32_t nAngle);
void AimAtTarget(const CMDCONTEXT& ctx, double v, int32_t dx, int32_t dy);
void ApplyMoveVelocity(cGameObj& chara, double vx, double vy, int32_t nFaceResult, cCmdState& inst,
                       int bForce);
void ComputeCmdAngle(cGameObj& chara, cCmdState& inst);
void ComputeTargetOffset(cGameObj& chara, cCmdState& inst);
void TurnAroundStep(const CMDCONTEXT& ctx);
void ComputeMoveTiming(cCmdState& inst, const cFlowCmd& cmd, int16_t sClone);
// Tenths of a second a jump of cHeight hbl takes to its top, plus one.
int32_t JumpTimeFromHeight(const cGameObj& chara, int32_t nHeight);

// The animation cues of a run state whose commands are in place
// (flow_cues.cpp).
void BuildFlowCues(cFlowState& state);

// What circle, charge, homing and edge-avoiding movement share
// (flow_move_paths.cpp).
void AvoidScreenEdge(const CMDCONTEXT& ctx, const cEdMove& move);
// A step toward a point of the screen, on the axes the freeze flags leave.
void StepToTargetPoint(cGameObj& chara, cCmdState& inst, const cEdMove& move,
                       const cGameObj* pTarget, double x, double y);

// The change of the player's flows that an item's "フローの変更" makes (its
// body waits with it while the player's own flows run).
void ChangeFlows(cPlayerObj& player, cFlowCmd& cmd);
// Removes the flows whose ID is the key (key 0: every flow); the index of
// the first one removed, -1 when none (0 for key 0).
int RemoveFlowsByKey(cGameObj& chara, int8_t cKey);
