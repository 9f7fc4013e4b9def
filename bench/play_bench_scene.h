// What the play benchmarks share: the flows their characters run, blocks
// placed on the stage, and a play scene of the stage in its play phase.
#pragma once

#include <cstdint>
#include <memory>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "flow/command_catalogue.h"
#include "flow/flow_cmd.h"
#include "input/input.h"
#include "scenes/scene_manager.h"
#include "stage/block_grid.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

// An empty stage of w x h cells at hit-test level nLevel, its object area
// and limits from its size, without the start captions.
inline void ResetBenchStage(int16_t w, int16_t h, int32_t nLevel) {
  g_Stage.Reset();
  g_Stage.m_nWidth = w;
  g_Stage.m_nHeight = h;
  g_Stage.m_nExtentX = (w + 20) * 32 - 640;
  g_Stage.m_nExtentY = (h + 20) * 32 - 640;
  g_Stage.m_nLimitRight = w - 1;
  g_Stage.m_nLimitBottom = h - 1;
  g_Stage.m_nHitLevel = nLevel;
  g_Stage.m_bStartCaption = g_Stage.m_bStartCaption2 = 0;
}

// The flows every character of a benchmark stage runs, as a game's would:
// a walk that turns at walls and ledges, a jump whenever its first variable
// reaches a multiple of 50 (a condition on it), and a status operation that
// counts in a stage variable. With bLogic, a flow guarded by a status
// condition also runs a code line on every update step for a second.
inline cFlowCmd BenchCmd(uint8_t cKind, int16_t sTime, uint8_t cParallel = 0) {
  cFlowCmd cmd;
  cmd.m_cKind = cKind;
  cmd.m_sTime = sTime;
  cmd.m_cParallel = cParallel;
  cmd.m_vecParams.assign(static_cast<size_t>(g_CmdCatalogue[cKind].nParamCount), 0);
  return cmd;
}

inline void AddBenchFlows(cEdChara& def, bool bLogic) {
  cFlow walk;
  cFlowCmd step = BenchCmd(CMD_MOVE_TURN_AROUND, 30);
  step.m_pMove = std::make_unique<cEdMove>();
  step.m_pMove->m_sSpeed = def.m_cOperator == 0 ? 10 : 5;
  step.m_pMove->m_cTimeFromDist = 0;
  walk.m_vecCmds.push_back(std::move(step));
  cFlowCmd count = BenchCmd(CMD_STATUS_OP, 0);
  count.m_vecParams[0] = 1;  // a variable
  count.m_vecParams[1] = 1;  // of the stage
  count.m_vecParams[2] = 5;
  count.m_vecParams[5] = 1;  // plus
  count.m_vecParams[7] = 1;
  walk.m_vecCmds.push_back(std::move(count));
  def.m_vecFlows.push_back(std::move(walk));

  cFlow jump;
  cCond every50;
  every50.m_cKind = 3;  // a character variable
  every50.m_sVarNum = 1;
  every50.m_cCompare = 6;  // a multiple of
  every50.m_nConstant = 50;
  jump.m_vecConds.push_back(every50);
  cFlowCmd up = BenchCmd(CMD_JUMP, 0);
  up.m_vecParams[2] = 2;  // hbl
  jump.m_vecCmds.push_back(std::move(up));
  def.m_vecFlows.push_back(std::move(jump));

  cFlow logic;
  cCond alive;
  alive.m_cKind = 4;  // a status: HP above 0
  alive.m_cStatus = 1;
  alive.m_cCompare = 4;
  logic.m_vecConds.push_back(alive);
  cFlowCmd code = BenchCmd(CMD_CODE, bLogic ? 10 : 1);
  code.m_strText = bLogic ? "v1 = (v1 + 1) % 1000 v2 = rand(1, 6) * 2 - hp / 3 + S5"
                          : "v1 = (v1 + 1) % 1000";
  logic.m_vecCmds.push_back(std::move(code));
  def.m_vecFlows.push_back(std::move(logic));
}

inline void AddBlock(int16_t c, int16_t r) {
  cEdBlock b;
  b.m_sColumn = c;
  b.m_sRow = r;
  b.m_sGraphic = 1;
  g_Stage.m_vecBlocks.push_back(b);
}

// A play scene in its play phase.
class cPlaying {
 public:
  cPlaying() {
    g_Input.resize(1);
    g_PlayData.Reset();
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    m_pScene = new cPlayScene();
    for (int i = 0; i < 10 && m_pScene->m_nPhase != PLAYPHASE_PLAY; ++i) m_pScene->Run();
  }
  ~cPlaying() {
    delete m_pScene;
    g_BlockPalette.Clear();
  }
  cPlaying(const cPlaying&) = delete;
  cPlaying& operator=(const cPlaying&) = delete;
  cPlayScene& Scene() { return *m_pScene; }

 private:
  cPlayScene* m_pScene = nullptr;
};
