// The summon commands: while one lasts it places the block, character or
// item its shot part names, laid out as a volley would be, once every tenth
// of a second. A frame lets only so many characters be summoned, so that
// characters summoning characters without end cannot swamp the stage.
#include "base/logs.h"
#include "base/window_requests.h"
#include "files/stage_data.h"
#include "flow/flow_cmd.h"
#include "stage/command_bodies.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/summon_volley.h"

namespace {

// The command's sound, where its on-screen setting lets it sound.
void PlayCmdSound(const CMDCONTEXT& ctx) {
  if (ctx.m_Cmd.m_cSoundOnScreen && !ctx.m_Chara.m_nOnScreen) return;
  PlayDatabaseSE(ctx.m_Cmd.m_sSound);
}

using FIRESUMMON = void (*)(cPlayScene&, cGameObj&, const cFlowState*, const cEdShot&);

// Acts when the instance's counter stands at 0, then counts it on, back to
// 0 after a tenth of a second; an item's command acts at once.
int RunSummon(const CMDCONTEXT& ctx, FIRESUMMON pfnFire) {
  cCmdState* pInst = ctx.m_pInst;
  if (!pInst || pInst->m_nCount == 0) {
    PlayCmdSound(ctx);
    if (ctx.m_Cmd.m_pShot) pfnFire(ctx.m_Scene, ctx.m_Chara, ctx.m_pRun, *ctx.m_Cmd.m_pShot);
  }
  if (pInst && ++pInst->m_nCount >= 6 * g_Stage.m_nSteps) pInst->m_nCount = 0;
  return 0;
}

}  // namespace

int CmdSummonBlock(const CMDCONTEXT& ctx) { return RunSummon(ctx, FireBlockSummon); }

int CmdSummonChara(const CMDCONTEXT& ctx) {
  // Characters that summon characters double every tenth of a second; past
  // this many in one frame the rest are refused (and reported once).
  constexpr int32_t kMostPerFrame = 1000;
  cPlayScene& scene = ctx.m_Scene;
  cPlayScene::SUMMONBUDGET& budget = scene.m_SummonBudget;
  if (budget.nFrame != scene.m_nFrames) {
    budget.nFrame = scene.m_nFrames;
    budget.nStartSerial = scene.m_nCharaSerial;
    budget.bReported = 0;
  }
  if (scene.m_nCharaSerial - budget.nStartSerial >= kMostPerFrame) {
    if (!budget.bReported)
      ReportF("more than %d characters summoned in one frame: the rest are not", kMostPerFrame);
    budget.bReported = 1;
    if (ctx.m_pInst && ++ctx.m_pInst->m_nCount >= 6 * g_Stage.m_nSteps) ctx.m_pInst->m_nCount = 0;
    return 0;
  }
  return RunSummon(ctx, FireCharaSummon);
}

int CmdSummonItem(const CMDCONTEXT& ctx) { return RunSummon(ctx, FireItemSummon); }
