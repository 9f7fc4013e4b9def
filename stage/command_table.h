// The executor's table: one row per command kind, expanded from the one list
// of kinds (flow/command_kinds.def): the kind's set-up, its body and how its
// lead-in animation is cued. Item kinds run the body of their flow twin
// (g_ItemCmdExec).
#pragma once

#include <array>
#include <cstdint>

#include "flow/command_catalogue.h"

struct CMDCONTEXT;

// A command's lead-in animation: CUE_HOLD stretches the animation's hold
// frame over the command's time; CUE_RUN_ON lets it run on at its own pace
// (a sword swing and a jump time their own frames).
enum eCmdCue : uint8_t { CUE_HOLD, CUE_RUN_ON };

// Prepares an instance when its flow's run state is built.
using CMDSETUP = void (*)(const CMDCONTEXT& ctx);
// One update step of a flow's command, or the whole of an item's command:
// 0, or the outcome that ends an item's list (1 the stage is over). A flow
// has no use for the result.
using CMDBODY = int (*)(const CMDCONTEXT& ctx);

struct CMDROW {
  CMDSETUP pfnSetup;
  CMDBODY pfnBody;
  eCmdCue eCue;
};

extern const std::array<CMDROW, CMD_KIND_COUNT> g_CmdTable;
// The body of every item kind.
extern const std::array<CMDBODY, ITEM_CMD_KIND_COUNT> g_ItemCmdExec;

class cFlowCmd;

// The row of a command's kind in flow numbering. A kind past the table comes
// only from damaged or foreign data: it gets kind 0's row, and is reported
// once.
const CMDROW& GetCmdRow(const cFlowCmd& cmd);
