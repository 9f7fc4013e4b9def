#include "stage/command_table.h"

#include "base/logs.h"
#include "flow/flow_cmd.h"
#include "stage/command_bodies.h"

constexpr std::array<CMDROW, CMD_KIND_COUNT> g_CmdTable = {{
#define COMMAND_KIND(n, e, name, params, setup, body, cue) {setup, body, cue},
#define ITEM_COMMAND_KIND(n, e, name, params, body)
#include "flow/command_kinds.def"
}};

namespace {

constexpr std::array<CMDBODY, ITEM_CMD_KIND_COUNT> BuildItemExec() {
  std::array<CMDBODY, ITEM_CMD_KIND_COUNT> bodies{};
#define COMMAND_KIND(n, e, name, params, setup, body, cue)
#define ITEM_COMMAND_KIND(n, e, name, params, body) bodies[n] = body;
#include "flow/command_kinds.def"
  for (int k = ITEM_CMD_SHARED_FIRST; k < ITEM_CMD_KIND_COUNT; ++k)
    bodies[k] = g_CmdTable[k + ITEM_CMD_KIND_OFFSET].pfnBody;
  return bodies;
}

}  // namespace

constexpr std::array<CMDBODY, ITEM_CMD_KIND_COUNT> g_ItemCmdExec = BuildItemExec();

const CMDROW& GetCmdRow(const cFlowCmd& cmd) {
  if (cmd.m_cKind < CMD_KIND_COUNT) return g_CmdTable[cmd.m_cKind];
  static bool s_bReported = false;
  if (!s_bReported) {
    s_bReported = true;
    ReportF("a flow command of kind %d is not known and does nothing", cmd.m_cKind);
  }
  return g_CmdTable[CMD_NONE];
}
