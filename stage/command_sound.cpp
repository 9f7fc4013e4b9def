// The commands that make sounds: a sound effect of the database (for a
// character off the screen only when the command allows it) and the
// stage's music.
#include "base/window_requests.h"
#include "stage/command_bodies.h"
#include "stage/command_param.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

int CmdSound(const CMDCONTEXT& ctx) {
  if (ctx.m_Cmd.m_cSoundOnScreen && !ctx.m_Chara.m_nOnScreen) return 0;
  PlayDatabaseSE(CmdParam(ctx.m_Cmd, 0));
  return 0;
}

int CmdBgm(const CMDCONTEXT& ctx) {
  ctx.m_Scene.PlayBgm(CmdParam(ctx.m_Cmd, 0), CmdParam(ctx.m_Cmd, 1));
  return 0;
}
