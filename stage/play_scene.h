// The play scene, in which a stage is played: its phases, and the play
// state it owns besides the global object lists (the scroll axes, the
// hit-group lists, the stage variables, the step counters, the work words
// of the flow engine, the game thread's random numbers). The block-grid
// collision, the condition lists and the activation tests are its members,
// as every object and command reaches them through the scene.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "base/safe_vector.h"
#include "flow/cond.h"
#include "scenes/scene.h"
#include "stage/rand_gen.h"
#include "stage/scroll_axis.h"

class cGameObj;
class cCharaObj;
class cItemObj;
class cShotObj;
class cFlowState;
class cCmdState;
struct BLOCKCELL;

// Hit groups a character or a shot can be in.
constexpr int kHitGroups = 8;
constexpr int kStageVars = 1000;
constexpr int kGroupFlags = 60;

class cPlayScene : public cPhasedScene<cPlayScene, 8> {
 public:
  cPlayScene();
  ~cPlayScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;
  void SetMeasuredFps(int nFps) override { m_nFps = nFps; }
  int GetFrameRate() const override { return m_nStageFrameRate; }

  int PhaseReady();
  int PhasePlay();
  int PhasePause();
  int PhaseStageEnd();
  int PhaseContinue();
  int PhaseWaitButton();

  // Condition lists (all or any, the once latch) and the single conditions.
  int CheckConditionList(const COND_VECTOR& vecConds, int nMode, cGameObj* pChara);
  int EvalCondition(const cCond& cond, cGameObj* pChara);
  // The latched tests of a block cell (for the player), a character, an item
  // (for the player) and a flow about to start.
  int CheckBlockCondition(int32_t nCell);
  int CheckCharaActive(cCharaObj& chara);
  int CheckItemActive(cItemObj& item);
  int CheckFlowCondition(cFlowState& state, cGameObj& chara);

  // Block-grid collision of a character (the player included). Every test
  // returns 0 to go on, 2 when the contact kills the object.
  int GetCellHitType(int32_t nCell, int32_t nGroup);
  int32_t FindEdgeCell(cGameObj& obj, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  int32_t FindFloorCell(cGameObj& obj);
  int32_t FindCornerCell(int32_t nColL, int32_t nRowT, int32_t nColR, int32_t nRowB,
                         int32_t nGroup);
  int TestBlocksX(cGameObj& obj);
  int TestBlocksXBoth(cGameObj& obj);
  int TestWallLeft(cGameObj& obj);
  int TestWallRight(cGameObj& obj);
  int TestBlocksY(cGameObj& obj);
  int TestFloor(cGameObj& obj);
  int TestCeiling(cGameObj& obj);
  int TestFloorAndCeiling(cGameObj& obj);
  void KeepInScreenX(cGameObj& obj);
  int KeepInScreenY(cGameObj& obj);
  int IsPlaceBlocked(cGameObj& obj);
  int OverlapsBlockChara(cGameObj& obj, int32_t nSkipId = -1);

  int32_t m_bCloseRequest = 0;     // set by the window thread while the pause thread runs
  int32_t m_nFps = 0;              // measured frames per second, handed over each frame
  int32_t m_nStageFrameRate = 60;  // above 60 a windowed present does not wait for the blank
  std::string m_strRankName;       // the name the stage's results enter the rankings under

  int32_t m_nStepResult = 0;  // 0 go on, 1 stage over, 2 player defeated
  cScrollAxis m_ScrollX;
  cScrollAxis m_ScrollY;
  // Characters (the player among them) and shots of each hit group.
  cSafeVector<std::list<cGameObj*>> m_CharaGroups;
  cSafeVector<std::list<cShotObj*>> m_ShotGroups;
  // Work words of the flow engine: for whom, in which run and which command
  // the flow being executed acts; null outside.
  cGameObj* m_nFlowObj = nullptr;
  cFlowState* m_nFlowCur = nullptr;
  cCmdState* m_nFlowCmd = nullptr;
  int32_t m_bItemMessage = 0;
  int32_t m_nPlayerCount = 0;
  int32_t m_nStepNo = 0;     // update step within the frame, from 1
  int32_t m_nStepCount = 0;  // update steps since the stage started
  cSafeVector<int32_t> m_HitStepMask;
  int32_t m_bCheckDefeats = 0;
  cSafeVector<int32_t> m_StageVar;    // "S" of the expression language
  cSafeVector<uint8_t> m_GroupFlags;  // group signals of this update step
  int32_t m_nCharaSerial = 0;
  int32_t m_nItemSerial = 0;
  int32_t m_nShotSerial = 0;
  int32_t m_bInAttackCheck = 0;
  // The game thread's random numbers; seeded at every stage set-up.
  cRandGen m_Rand;
};

// The play scene while it exists, null otherwise.
extern cPlayScene* g_PlayScene;
