// The command executor: one update step of a flow's command, the
// preparation of its instance when its run state is built, and an item's
// command, each by the row of the command's kind in the table of kinds.
#include "base/logs.h"
#include "stage/command_bodies.h"
#include "stage/command_table.h"
#include "stage/flow_engine.h"
#include "stage/flow_state.h"

void SetupNone(const CMDCONTEXT& /*ctx*/) {}

// None and wait only last their time; a loop is unrolled before it could
// run; an item's kind 0 is nothing.
int CmdNone(const CMDCONTEXT& /*ctx*/) { return 0; }

void CmdExec(const CMDCONTEXT& ctx) { GetCmdRow(ctx.m_Cmd).pfnBody(ctx); }

void InitCmdInstance(const CMDCONTEXT& ctx) { GetCmdRow(ctx.m_Cmd).pfnSetup(ctx); }

int RunItemCmd(const CMDCONTEXT& ctx) {
  uint8_t cKind = ctx.m_Cmd.m_cKind;
  if (cKind >= ITEM_CMD_KIND_COUNT) {
    static bool s_bReported = false;
    if (!s_bReported) {
      s_bReported = true;
      ReportF("an item command of kind %d is not known and does nothing", cKind);
    }
    cKind = ITEM_CMD_NONE;
  }
  return g_ItemCmdExec[cKind](ctx);
}
