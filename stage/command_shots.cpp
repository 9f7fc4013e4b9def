// The commands that fire shots and swing swords: a shot command fires its
// volley once every tenth of a second while it lasts; a sword command makes
// one swing.
#include "base/trunc_int.h"
#include "base/window_requests.h"
#include "database/database.h"
#include "files/stage_data.h"
#include "flow/flow_cmd.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/shot_obj.h"
#include "stage/shot_volley.h"

namespace {

// The command's sound, where its on-screen setting lets it sound.
void PlayCmdSound(const CMDCONTEXT& ctx) {
  if (ctx.m_Cmd.m_cSoundOnScreen && !ctx.m_Chara.m_nOnScreen) return;
  PlayDatabaseSE(ctx.m_Cmd.m_sSound);
}

}  // namespace

int CmdShot(const CMDCONTEXT& ctx) {
  cCmdState* pInst = ctx.m_pInst;
  if (!pInst || pInst->m_nCount == 0) {
    PlayCmdSound(ctx);
    if (ctx.m_Cmd.m_pShot) FireShotPattern(ctx.m_Scene, ctx.m_Chara, ctx.m_pRun, *ctx.m_Cmd.m_pShot);
  }
  if (pInst && ++pInst->m_nCount >= 6 * g_Stage.m_nSteps) pInst->m_nCount = 0;
  return 0;
}

int CmdSword(const CMDCONTEXT& ctx) {
  cCmdState* pInst = ctx.m_pInst;
  if (!pInst || pInst->m_nCount == 0) {
    PlayCmdSound(ctx);
    if (ctx.m_Cmd.m_pShot) {
      const cEdShot& def = *ctx.m_Cmd.m_pShot;
      // A sword type outside the list, or one without frames, is reported
      // by the checked access, which then gives the first one.
      const cEdSwordType& type =
          Database.m_vecSwordType.At(static_cast<uint8_t>(def.m_cMoveType));
      type.m_vecFrame.At(0);
      SHOTLAUNCH launch;
      launch.nX = TruncI32(ctx.m_Chara.m_dX);
      launch.nY = TruncI32(ctx.m_Chara.m_dY);
      FireOne(ctx.m_Scene, ctx.m_Chara, SHOTKIND_SWORD, def, launch);
    }
  }
  if (pInst) ++pInst->m_nCount;
  return 0;
}
