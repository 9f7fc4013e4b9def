// The message command: its text goes on the screen and stays until its
// display mode ends it; a message that asks the flow to wait for it stops
// the play until its wait ends.
#include "stage/command_bodies.h"
#include "stage/flow_state.h"
#include "stage/play_scene.h"

int CmdMessage(const CMDCONTEXT& ctx) {
  // A message opens plainly (no sound, no grow-in) after a waiting one of
  // the same flow run, or after the first of the same item's list.
  cPlayScene& scene = ctx.m_Scene;
  const int32_t bShown = ctx.m_pRun ? ctx.m_pRun->m_nMessageShown : scene.m_bItemMessage;
  scene.RunMessage(ctx.m_Chara, ctx.m_Cmd, bShown);
  if (!ctx.m_pRun) scene.m_bItemMessage = 1;
  return 0;
}
