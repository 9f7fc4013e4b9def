// The commands that act on flows and on the stage as a whole: the flow
// operations (start, end, pause, resume, erase, halt), the stage clear with
// what it leaves for the stage end, the game wait, and the item acquisition
// that runs an item's commands on the player.
#include <algorithm>
#include <climits>
#include <string>

#include "base/logs.h"
#include "base/text_helpers.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/world_map.h"
#include "flow/cond_list.h"
#include "palette/common_palette.h"
#include "stage/command_bodies.h"
#include "stage/command_param.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"

namespace {

enum : int32_t {
  FLOWOP_START = 0,
  FLOWOP_END = 1,
  FLOWOP_PAUSE = 2,
  FLOWOP_RESUME = 3,
  FLOWOP_ERASE = 4,
  FLOWOP_HALT = 5,
};
enum : int32_t { FLOWSCOPE_THIS = 0, FLOWSCOPE_OTHERS = 1, FLOWSCOPE_BY_ID = 2 };

// A flow of the stage's start runs its instant commands inside its start,
// so a flow that starts itself (or a ring of flows that start each other)
// would start without end. Starts nested deeper than this are refused.
constexpr int kMaxNestedStarts = 8;
// An item whose commands give the player items (itself among them) runs
// their lists inside its own; lists nested deeper are left out.
constexpr int kMaxNestedItems = 16;

void RemoveRunAnims(cGameObj& chara, int32_t nSerial) {
  chara.m_AnimList.remove_if([nSerial](const cAnimPlay& a) { return a.m_nSerial == nSerial; });
}

void SetRunAnimsPaused(cGameObj& chara, int32_t nSerial, int32_t bPaused) {
  for (cAnimPlay& a : chara.m_AnimList)
    if (a.m_nSerial == nSerial) a.m_nPaused = bPaused;
}

// The flow start of the operation, bounded as it nests.
void StartRun(cFlowState& run, cGameObj& owner, cPlayScene& scene) {
  static int s_nDepth = 0;
  if (s_nDepth >= kMaxNestedStarts) {
    ReportF("フローの操作: flows that start each other were started %d deep; this start is left out",
            s_nDepth);
    return;
  }
  ++s_nDepth;
  run.Start(owner, scene);
  --s_nDepth;
}

// One operation on run i of character X. False when the run was erased at
// once (the next run has taken its place).
bool OperateOnRun(const CMDCONTEXT& ctx, cGameObj& x, size_t i, int32_t nOp) {
  cFlowState& run = x.m_vecFlowStates[i];
  switch (nOp) {
    case FLOWOP_START:
      run.Stop(x);
      RemoveRunAnims(x, run.m_nSerial);
      StartRun(run, x, ctx.m_Scene);
      run.m_nBreak = 1;
      break;
    case FLOWOP_END:
      run.Stop(x);
      RemoveRunAnims(x, run.m_nSerial);
      run.m_nBreak = 1;
      break;
    case FLOWOP_PAUSE:
      run.Pause();
      SetRunAnimsPaused(x, run.m_nSerial, 1);
      run.m_nBreak = 1;
      break;
    case FLOWOP_RESUME:
      run.Resume();
      SetRunAnimsPaused(x, run.m_nSerial, 0);
      break;
    case FLOWOP_ERASE:
      if (&x == &ctx.m_Chara) {
        // The executing character's flows are being stepped: the flow goes
        // when they are done.
        x.m_nFlowRemoval = 1;
        run.m_nRemoval = 1;
        run.m_nBreak = 1;
        break;
      }
      x.RemoveFlow(static_cast<int>(i));
      return false;
    case FLOWOP_HALT:
      run.Halt(x);
      RemoveRunAnims(x, run.m_nSerial);
      run.m_nBreak = 1;
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

int CmdFlowOp(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  cGameObj& chara = ctx.m_Chara;
  const cCondList* pConds = cmd.m_pCondList.get();
  if (pConds && pConds->m_cEnabled &&
      !ctx.m_Scene.CheckConditionList(pConds->m_vecConds, pConds->m_cRule, &chara))
    return 0;
  const int32_t nOp = CmdParam(cmd, 0), nScope = CmdParam(cmd, 1), nId = CmdParam(cmd, 2);
  const int32_t nObject = CmdParam(cmd, 3);
  cGameObj* pObject = &chara;
  if (nObject >= 1 && nObject <= kTargetSlots) {
    const size_t nSlot = static_cast<size_t>(nObject - 1);
    pObject = nSlot < chara.m_vecTargets.size() ? chara.m_vecTargets[nSlot] : nullptr;
    if (!pObject) return 0;
  }
  switch (nScope) {
    case FLOWSCOPE_THIS: {
      if (!ctx.m_pRun) break;  // an item's command runs in no flow
      auto& runs = chara.m_vecFlowStates;
      for (size_t i = 0; i < runs.size(); ++i) {
        if (&runs[i] != ctx.m_pRun) continue;
        OperateOnRun(ctx, chara, i, nOp);
        break;
      }
      break;
    }
    case FLOWSCOPE_OTHERS:
      for (size_t i = 0; i < chara.m_vecFlowStates.size();) {
        if (&chara.m_vecFlowStates[i] == ctx.m_pRun || OperateOnRun(ctx, chara, i, nOp)) ++i;
      }
      break;
    case FLOWSCOPE_BY_ID: {
      cGameObj& x = *pObject;
      for (size_t i = 0; i < x.m_vecFlowStates.size();) {
        const cFlow* pFlow = x.m_vecFlowStates[i].m_pFlow;
        const int32_t nFlowId = pFlow ? pFlow->m_cId : 0;
        if (nFlowId == 0 || nFlowId != nId || OperateOnRun(ctx, x, i, nOp)) ++i;
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

int CmdStageClear(const CMDCONTEXT& ctx) {
  cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  switch (CmdParam(cmd, 0)) {
    case 0:
      scene.m_nNextStage = g_PlayData.m_nPartNo + 1;
      scene.m_strNextStage.clear();
      break;
    case 1:
      scene.m_nNextStage = CmdParam(cmd, 1);
      scene.m_strNextStage.clear();
      break;
    case 2:
      if (cmd.m_strText.empty()) {
        ErrorBoxF("ステージファイル %s が不正です。\nステージファイルとして認識できません。", "");
      } else {
        // Kept in the command itself, so that running it again gives the
        // same name.
        RemoveExtensionStr(cmd.m_strText);
        cmd.m_strText += ".";
      }
      scene.m_nNextStage = g_PlayData.m_nPartNo;
      scene.m_strNextStage = cmd.m_strText;
      break;
    case 3:
      scene.m_nNextStage = 0;
      scene.m_strNextStage.clear();
      break;
    default:
      break;
  }
  if (CmdParam(cmd, 2)) {
    // A place off the map's near edges would index outside it later: held
    // inside on both sides.
    auto Fit = [](int32_t n, int32_t nSize) { return std::max(0, std::min(n, nSize - 1)); };
    g_PlayData.m_nMapX = Fit(CmdParam(cmd, 3), g_WorldMap.m_nWidth);
    g_PlayData.m_nMapY = Fit(CmdParam(cmd, 4), g_WorldMap.m_nHeight);
    g_PlayData.m_nMapDir = 0;
  }
  if (CmdParam(cmd, 5)) {
    g_PlayData.m_bStartOverride = 1;
    g_PlayData.m_nOverrideX = CmdParam(cmd, 6);
    g_PlayData.m_nOverrideY = CmdParam(cmd, 7);
    const int32_t nFacing = CmdParam(cmd, 8);
    g_PlayData.m_nOverrideDir = nFacing == 2 ? ThePlayer().m_nFacing : nFacing;
  } else {
    g_PlayData.m_bStartOverride = 0;
  }
  scene.m_nStepResult = STEP_STAGE_OVER;
  return STEP_STAGE_OVER;
}

int CmdGameWait(const CMDCONTEXT& ctx) {
  // Tenths of a second from data: a time past the longest wait there is
  // waits that long rather than wrapping round to nothing.
  const int64_t nFrames = static_cast<int64_t>(CmdParam(ctx.m_Cmd, 0)) * 6;
  ctx.m_Scene.GameWait(static_cast<int32_t>(std::clamp<int64_t>(nFrames, INT32_MIN, INT32_MAX)));
  return 0;
}

int CmdGetItem(const CMDCONTEXT& ctx) {
  cFlowCmd& cmd = ctx.m_Cmd;
  ITEM_VECTOR* pPalette = nullptr;
  switch (CmdParam(cmd, 0)) {
    case 0:
      pPalette = &CommonPalette.m_vecItem;
      break;
    case 1:
      pPalette = &g_Stage.m_vecPalItems;
      break;
    default:
      return 0;  // no palette is named: no item, and the step goes on
  }
  if (g_Players.empty()) return 0;
  static int s_nDepth = 0;
  if (s_nDepth >= kMaxNestedItems) {
    ReportF("アイテムの取得: items that give each other were given %d deep; this one is left out",
            s_nDepth);
    return 0;
  }
  cEdItem& item = pPalette->At(CmdParam(cmd, 1));
  ++s_nDepth;
  const int r = g_Players[0].RunItemCommands(item.m_vecCmds, ctx.m_pFlowOwner);
  --s_nDepth;
  // An outcome already due this step (a stage cleared by another
  // character's command) is not taken back by an item that ends nothing.
  if (r != 0) ctx.m_Scene.m_nStepResult = r;
  return 0;
}
