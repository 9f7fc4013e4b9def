// The commands that make sounds: a sound effect of the database (for a
// character off the screen only when the command allows it) and the
// stage's music.
#include "base/window_requests.h"
#include "stage/command_bodies.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

namespace {

int32_t Param(const cFlowCmd& cmd, int i) {
  return static_cast<size_t>(i) < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0;
}

}  // namespace

int CmdSound(const CMDCONTEXT& ctx) {
  if (ctx.m_Cmd.m_cSoundOnScreen && !ctx.m_Chara.m_nOnScreen) return 0;
  PlayDatabaseSE(Param(ctx.m_Cmd, 0));
  return 0;
}

int CmdBgm(const CMDCONTEXT& ctx) {
  ctx.m_Scene.PlayBgm(Param(ctx.m_Cmd, 0), Param(ctx.m_Cmd, 1));
  return 0;
}
