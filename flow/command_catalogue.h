// The two command catalogues: the name and the parameter count of every
// command kind, in flow numbering (40 kinds) and in item numbering (25 kinds),
// both read from the one list of kinds (flow/command_kinds.def). A stored
// command is fitted to its row before it is used or saved.
#pragma once

#include <array>
#include <cstdint>

struct CMDINFO {
  const char* szName;
  int32_t nParamCount;
};

// The kinds in flow numbering.
enum eCmdKind : uint8_t {
#define COMMAND_KIND(n, e, name, params, setup, body, cue) e = n,
#define ITEM_COMMAND_KIND(n, e, name, params, body)
#include "flow/command_kinds.def"
};

// The item kinds that have no flow twin.
enum eItemCmdKind : uint8_t {
#define COMMAND_KIND(n, e, name, params, setup, body, cue)
#define ITEM_COMMAND_KIND(n, e, name, params, body) e = n,
#include "flow/command_kinds.def"
};

constexpr int CMD_KIND_COUNT = 0
#define COMMAND_KIND(n, e, name, params, setup, body, cue) +1
#define ITEM_COMMAND_KIND(n, e, name, params, body)
#include "flow/command_kinds.def"
    ;

// An item command of kind k from ITEM_CMD_SHARED_FIRST up is flow command
// kind k + ITEM_CMD_KIND_OFFSET, and runs its body.
constexpr int ITEM_CMD_KIND_OFFSET = 15;
constexpr int ITEM_CMD_SHARED_FIRST = 0
#define COMMAND_KIND(n, e, name, params, setup, body, cue)
#define ITEM_COMMAND_KIND(n, e, name, params, body) +1
#include "flow/command_kinds.def"
    ;
constexpr int ITEM_CMD_KIND_COUNT = CMD_KIND_COUNT - ITEM_CMD_KIND_OFFSET;

// The item kind of a flow kind that items share.
constexpr uint8_t ItemCmdKind(eCmdKind eKind) {
  return static_cast<uint8_t>(eKind - ITEM_CMD_KIND_OFFSET);
}

extern const std::array<CMDINFO, CMD_KIND_COUNT> g_CmdCatalogue;
extern const std::array<CMDINFO, ITEM_CMD_KIND_COUNT> g_ItemCmdCatalogue;

// The row for a kind in the numbering given (0 flow, 1 item); null when the
// kind has no row (an unknown numbering or a kind past the catalogue).
const CMDINFO* GetCmdInfo(int nNumbering, int nKind);
