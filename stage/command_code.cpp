// The code command, which runs its text as a line of code for the character,
// and the arrangement command, which leaves a binding for the next command.
#include "flow/flow_cmd.h"
#include "stage/code_eval.h"
#include "stage/command_bodies.h"
#include "stage/flow_state.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"

int CmdCode(const CMDCONTEXT& ctx) {
  RunCode(ctx.m_Scene, ctx.m_Cmd.m_strText, ctx.m_Chara);
  return 0;
}

int CmdArrange(const CMDCONTEXT& ctx) {
  // An item's binding waits with the player for the item's next command; a
  // flow's with its run, and outside a run there is nothing to bind.
  if (ctx.m_Cmd.m_cCmdSet == 1)
    ThePlayer().m_lstBinds.push_back(ctx.m_Cmd.m_vecParams);
  else if (ctx.m_pRun)
    ctx.m_pRun->m_lstBinds.push_back(ctx.m_Cmd.m_vecParams);
  return 0;
}
