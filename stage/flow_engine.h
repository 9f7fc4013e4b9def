// The flow engine as the stage objects call it: starting flows on events,
// stepping the running ones, building and re-linking their run states,
// loops unrolled, and the conditions only the engine evaluates (status,
// flag, state and distance conditions, key input). The command bodies are
// not in place yet: run states are built and kept in step with their
// flows, but no event starts a flow and no command runs; of the conditions
// only the key step held right now is evaluated. Everything below keeps the
// name and the contract the objects rely on, so the engine is completed
// here without touching its callers.
#pragma once

#include <cstdint>
#include <list>

#include "base/safe_vector.h"
#include "flow/flow.h"

class cGameObj;
class cPlayerObj;
class cInput;

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

// The player's deferred flow changes, an item command, and the bindings an
// "アレンジ" item command left for the next one.
void ChangeFlows(cPlayerObj& player, cFlowCmd& cmd);
int RunItemCmd(cPlayerObj& player, cFlowCmd& cmd);
void ApplyCharaParamBinds(cPlayerObj& player, cFlowCmd& cmd,
                          const std::list<cSafeVector<int32_t>>& lstBinds);
