// Parameter bindings: an "アレンジ" command leaves a binding (five values:
// the command kind it is for, the bindable setting, the operation, the
// source and the variable number) that changes one numeric setting of the
// next command before it starts, by a variable's value, clamped into the
// setting's range. The change is written into the command itself and stays.
#pragma once

#include <cstdint>
#include <list>

#include "base/safe_vector.h"

class cFlowCmd;
class cFlowState;
class cGameObj;
class cPlayScene;
class cPlayerObj;

using PARAMBIND = cSafeVector<int32_t>;

// One binding on one command, the character x giving the character
// variables.
void ApplyParamBind(cPlayScene& scene, cFlowCmd& cmd, const PARAMBIND& bind, cGameObj& x);
// A flow run's pending bindings in order; nothing without a run.
void ApplyParamBinds(cPlayScene& scene, cFlowCmd& cmd, cGameObj& chara, const cFlowState* pRun);
// The player's pending bindings for an item's next command.
void ApplyCharaParamBinds(cPlayScene& scene, cFlowCmd& cmd, cPlayerObj& player);
