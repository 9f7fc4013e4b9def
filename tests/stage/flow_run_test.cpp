// Flows as they run on a stage: the stepping of a run's commands, the start
// gates of a trigger, key sequences against input logs, and the movement
// commands moving a player whose flows read its keys.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flow/command_catalogue.h"
#include "flow/key_cond.h"
#include "play_fixture.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/flow_engine.h"
#include "stage/flow_state.h"
#include "stage/status_refs.h"

namespace {

// A key step: slots held (1) or released (2), any press length unless a
// range is given.
cKeyCond KeyStep(std::vector<std::pair<int, uint8_t>> slots, int16_t sMin = 0, int16_t sMax = 0,
                 uint8_t cRule = 0) {
  cKeyCond key;
  for (auto [s, c] : slots) key.m_vecKeys.At(s) = c;
  key.m_cAnyLength = sMin == 0 && sMax == 0;
  key.m_sMinHold = sMin;
  key.m_sMaxHold = sMax;
  key.m_cRule = cRule;
  return key;
}

cFlowCmd Cmd(uint8_t cKind, int16_t sTime = 0, uint8_t cParallel = 0) {
  cFlowCmd cmd;
  cmd.m_cKind = cKind;
  cmd.m_sTime = sTime;
  cmd.m_cParallel = cParallel;
  return cmd;
}

// A straight move in a direction at a speed (tenths of a dot per frame).
cFlowCmd Move(int8_t cDir, int16_t sSpeed, int16_t sTime) {
  cFlowCmd cmd = Cmd(2, sTime);
  cmd.m_pMove = std::make_unique<cEdMove>();
  cmd.m_pMove->m_cDirection = cDir;
  cmd.m_pMove->m_sSpeed = sSpeed;
  return cmd;
}

cFlowCmd Jump(int32_t nKind, int32_t nHeight) {
  cFlowCmd cmd = Cmd(10);
  cmd.m_vecParams.assign(5, 0);
  cmd.m_vecParams[0] = nKind;
  cmd.m_vecParams[2] = nHeight;
  return cmd;
}

cFlow Flow(uint8_t cTrigger, std::vector<cFlowCmd> cmds, std::vector<cKeyCond> keys = {},
           uint8_t cRepeat = 0) {
  cFlow flow;
  flow.m_cTrigger = cTrigger;
  flow.m_cKeyRepeat = cRepeat;
  flow.m_cKeyGap = 0;
  for (cKeyCond& k : keys) flow.m_vecKeys.push_back(k);
  for (cFlowCmd& c : cmds) flow.m_vecCmds.push_back(std::move(c));
  return flow;
}

// Input frames: direction and button bits, each for a number of frames.
struct KEYS {
  uint16_t wDir;
  uint16_t wButton;
  int nFrames;
};

void Feed(cInput& input, const std::vector<KEYS>& script) {
  for (const KEYS& k : script)
    for (int i = 0; i < k.nFrames; ++i) {
      input.m_wDir = k.wDir;
      input.m_wButton = k.wButton;
      input.PushHistory();
      input.UpdateLogs();
    }
}

class FlowRun : public cPlayFixture {
 protected:
  // A player on a floor at hit level nLevel, facing right, free to turn,
  // with the given flows; the play is started and has its first frame.
  cPlayerObj& PlayerWith(std::vector<cFlow> flows, int32_t nLevel = 1) {
    MakeStage(30, 15, nLevel);
    Floor(14);
    cEdChara& def = Player(3, 13);
    def.m_cFixedDir = 0;
    def.m_cMoveMirror = 1;
    for (cFlow& f : flows) def.m_vecFlows.push_back(f);
    StartPlaying();
    return ThePlayerObj();
  }
  // A command run outside any flow, as an item's commands run;
  // pFlowOwner as for a command handed over by that character's flow.
  CMDCONTEXT Outside(cPlayerObj& player, cFlowCmd& cmd, const cGameObj* pFlowOwner = nullptr) {
    return CMDCONTEXT{player, nullptr, nullptr, cmd, Scene(), pFlowOwner};
  }
  void Keys(uint16_t wDir, uint16_t wButton, int nFrames) {
    for (int i = 0; i < nFrames; ++i) {
      g_Input.At(0).m_wDir = wDir;
      g_Input.At(0).m_wButton = wButton;
      Frames(1);
    }
  }
};

// Commands as (duration in steps, parallel); the run's step at which the
// flow ends and the step count it reached.
TEST_F(FlowRun, CommandsRunOneAfterAnotherOrAlongside) {
  struct CASE {
    const char* szName;
    std::vector<std::pair<int32_t, uint8_t>> cmds;
    int nEndStep;
  };
  const CASE kCases[] = {
      {"two in a row", {{3, 0}, {2, 0}}, 4},
      {"parallel first is cut off", {{10, 1}, {2, 0}}, 1},
      {"parallel last ends the flow", {{1, 0}, {5, 1}}, 5},
      {"no time still takes a step", {{0, 0}}, 0},
      {"a parallel pair", {{2, 1}, {4, 1}}, 3},
  };
  cPlayerObj& player = PlayerWith({});
  for (const CASE& c : kCases) {
    cFlow flow = Flow(22, {});
    for (size_t i = 0; i < c.cmds.size(); ++i)
      flow.m_vecCmds.push_back(Cmd(1, 0, c.cmds[i].second));
    cFlowState run;
    run.m_pFlow = &flow;
    run.m_vecCmds.resize(flow.m_vecCmds.size());
    for (size_t i = 0; i < c.cmds.size(); ++i) {
      run.m_vecCmds[i].m_pCmd = &flow.m_vecCmds[i];
      run.m_vecCmds[i].m_nDuration = c.cmds[i].first;
    }
    run.Start(player, Scene());
    int nStep = 0;
    while (!run.Step(player, Scene()) && nStep < 100) ++nStep;
    EXPECT_EQ(nStep, c.nEndStep) << c.szName;
    EXPECT_EQ(run.m_nStepCount, c.nEndStep) << c.szName;
    EXPECT_EQ(run.Stop(player), 1) << c.szName;
    for (const cCmdState& inst : run.m_vecCmds) EXPECT_EQ(inst.m_nRemain, 0) << c.szName;
  }
}

// Key steps against logs of input frames (newest last).
TEST_F(FlowRun, KeySequencesMatchTheInputLogs) {
  constexpr uint16_t L = DIR_LEFT, R = DIR_RIGHT, D = DIR_DOWN;
  struct CASE {
    const char* szName;
    std::vector<KEYS> script;
    std::vector<cKeyCond> steps;
    uint8_t cTolerance;
    int nFacing;
    bool bMatch;
  };
  const CASE kCases[] = {
      {"button held 10 of 1..10", {{0, 0, 3}, {0, 1, 10}}, {KeyStep({{11, 1}}, 1, 10)}, 0, 1, true},
      {"button held 11 of 1..10",
       {{0, 0, 3}, {0, 1, 11}},
       {KeyStep({{11, 1}}, 1, 10)},
       0,
       1,
       false},
      {"button up", {{0, 1, 3}, {0, 0, 2}}, {KeyStep({{11, 1}})}, 0, 1, false},
      {"released slot", {{0, 1, 3}, {0, 0, 40}}, {KeyStep({{11, 2}})}, 0, 1, true},
      {"down then right at once",
       {{0, 0, 2}, {D, 0, 3}, {R, 0, 2}},
       {KeyStep({{4, 1}}), KeyStep({{2, 1}})},
       0,
       1,
       true},
      {"down, a gap, right",
       {{0, 0, 2}, {D, 0, 3}, {0, 0, 2}, {R, 0, 2}},
       {KeyStep({{4, 1}}), KeyStep({{2, 1}})},
       0,
       1,
       false},
      {"the gap within the tolerance",
       {{0, 0, 2}, {D, 0, 3}, {0, 0, 2}, {R, 0, 2}},
       {KeyStep({{4, 1}}), KeyStep({{2, 1}})},
       5,
       1,
       true},
      {"relative right while facing left",
       {{L, 0, 2}},
       {[] {
         cKeyCond k = KeyStep({{2, 1}});
         k.m_cRelative = 1;
         return k;
       }()},
       0,
       0,
       true},
      {"plain right while facing left", {{L, 0, 2}}, {KeyStep({{2, 1}})}, 0, 0, false},
      {"one of two", {{0, 2, 2}}, {KeyStep({{11, 1}, {12, 1}}, 0, 0, 1)}, 0, 1, true},
      {"exactly one, both held", {{0, 3, 2}}, {KeyStep({{11, 1}, {12, 1}}, 0, 0, 2)}, 0, 1, false},
  };
  cPlayerObj& player = PlayerWith({});
  for (const CASE& c : kCases) {
    cInput input;
    Feed(input, c.script);
    cFlow flow = Flow(0, {Cmd(1)}, c.steps);
    cFlowState run;
    run.m_pFlow = &flow;
    for (cKeyCond& k : flow.m_vecKeys) run.m_vecKeys.push_back(&k);
    player.m_nFacing = c.nFacing;
    EXPECT_EQ(MatchKeySequence(run, input, c.cTolerance, c.nFacing == 0), c.bMatch) << c.szName;
  }
}

// Going back k frames and forward k frames again lands where it started.
TEST_F(FlowRun, KeyCursorMovesBackAndForthAlike) {
  cInput input;
  Feed(input, {{0, 0, 4}, {DIR_DOWN, 1, 3}, {DIR_RIGHT, 0, 5}, {0, 2, 2}});
  for (int k = 1; k < 12; ++k) {
    KEYCURSOR start, cur;
    start.AtPresent(input);
    cur = start;
    ShiftKeyCursor(cur, input, -k);
    ShiftKeyCursor(cur, input, k);
    for (int ch = 0; ch < 19; ++ch) {
      // A boundary position reads as the older run's newest frame; compare
      // the frame it names, counted from the present.
      auto Age = [&](const KEYCURSOR& q) {
        int32_t n = 0;
        for (int r = 0; r < q.anRun[ch]; ++r)
          n += (ch < 10 ? input.m_DirLogs[ch] : input.m_ButtonLogs[ch - 10])[r].nLength;
        return n +
               (ch < 10 ? input.m_DirLogs[ch] : input.m_ButtonLogs[ch - 10])[q.anRun[ch]].nLength -
               q.anPos[ch];
      };
      EXPECT_EQ(Age(cur), Age(start)) << "k " << k << " channel " << ch;
    }
  }
}

// A non-repeat key flow fires once per press; a repeat one on every frame.
TEST_F(FlowRun, KeyFlowsFireOncePerPressOrWhileHeld) {
  cFlow once = Flow(0, {Cmd(1)}, {KeyStep({{11, 1}})}, 0);
  cFlow repeat = Flow(0, {Cmd(1)}, {KeyStep({{12, 1}})}, 1);
  cPlayerObj& player = PlayerWith({once, repeat});
  std::vector<int> vecStarts(2, 0);
  m_Probe.m_fnFlows = [&](cGameObj& o) {
    if (o.m_nControl != 0) return;
    for (size_t i = 0; i < 2; ++i) vecStarts[i] += o.m_vecFlowStates[i].m_nRunning;
  };
  Keys(0, 1 | 2, 5);
  Keys(0, 0, 2);
  Keys(0, 1, 3);
  EXPECT_EQ(vecStarts[0], 2);
  EXPECT_EQ(vecStarts[1], 5);
  (void)player;
}

// Two trigger-0 flows of one group: only the first runs; an ID key picks
// by the flow's ID; a trigger-0 flow starts at most once a frame.
TEST_F(FlowRun, TriggerGatesPickTheFlowsThatStart) {
  cFlow a = Flow(0, {Cmd(1, 1)});
  a.m_cGroup = 2;
  cFlow b = a;
  cFlow c = Flow(9, {Cmd(1)});
  c.m_cId = 3;
  cFlow d = Flow(9, {Cmd(1)});
  d.m_cId = 4;
  cPlayerObj& player = PlayerWith({a, b, c, d}, 2);
  Frames(1);
  EXPECT_EQ(player.m_vecFlowStates[0].m_nRunning, 1);
  EXPECT_EQ(player.m_vecFlowStates[1].m_nRunning, 0);
  player.FireFlows(9, nullptr, 3);
  EXPECT_EQ(player.m_vecFlowStates[2].m_nRunning, 1);
  EXPECT_EQ(player.m_vecFlowStates[3].m_nRunning, 0);
}

// A walk "right" at 30 tenths a frame moves 3 dots a frame at 2 steps a
// frame (1.5 a step) for as long as the key is held and the command lasts;
// a looped command runs its block again; kinds without a body change nothing.
TEST_F(FlowRun, WalkingMovesByTheSpeedOfItsCommand) {
  cFlowCmd loop = Cmd(39);
  loop.m_vecParams.assign(2, 0);
  loop.m_vecParams[0] = 2;
  loop.m_vecParams[1] = 1;
  std::vector<cFlowCmd> walk;
  walk.push_back(std::move(loop));
  walk.push_back(Move(3, 30, 1));
  cFlow right = Flow(0, std::move(walk), {KeyStep({{2, 1}})}, 1);
  std::vector<cFlowCmd> back;
  back.push_back(Move(1, 30, 1));
  cFlow left = Flow(0, std::move(back), {KeyStep({{1, 1}})}, 1);
  cFlow odd = Flow(0, {Cmd(45, 1), Cmd(20, 1), Cmd(31, 1)});
  cPlayerObj& player = PlayerWith({right, left, odd}, 2);
  const double x0 = player.m_dX;
  Keys(DIR_RIGHT, 0, 1);
  // Two runs of the 12-step command, a frame of the key after them.
  Keys(DIR_RIGHT, 0, 11);
  Keys(0, 0, 4);
  EXPECT_DOUBLE_EQ(player.m_dX - x0, 2 * 12 * 1.5);
  EXPECT_EQ(player.m_nFacing, 1);
  // "Back" of a character facing right is left; it turns as it goes.
  const double x1 = player.m_dX;
  Keys(DIR_LEFT, 0, 6);
  Keys(0, 0, 4);
  EXPECT_DOUBLE_EQ(player.m_dX - x1, -12 * 1.5);
  EXPECT_EQ(player.m_nFacing, 0);
}

// The jump command's time comes from its height; the player rises about
// that height and lands where it started; a kind-1 jump let go early rises
// less.
TEST_F(FlowRun, JumpsRiseByTheirHeight) {
  struct CASE {
    int32_t nKind;
    int nHeldFrames;
    double dMin, dMax;
  };
  const CASE kCases[] = {{0, 1, 56, 66}, {1, 40, 56, 66}, {1, 3, 4, 40}};
  for (const CASE& c : kCases) {
    std::vector<cFlowCmd> cmds;
    cmds.push_back(Jump(c.nKind, 4));
    cPlayerObj& player = PlayerWith({Flow(0, std::move(cmds), {KeyStep({{11, 1}})})}, 2);
    Keys(0, 0, 10);  // settled on the floor
    const double y0 = player.m_dY;
    double yMin = y0;
    m_Probe.m_fnFlows = [&](cGameObj& o) {
      if (o.m_nControl == 0) yMin = std::min(yMin, o.m_dY);
    };
    const cCmdState& inst = player.m_vecFlowStates[0].m_vecCmds[0];
    EXPECT_EQ(inst.m_nDuration, inst.m_pCmd->m_sTime * 2 * 6);
    EXPECT_EQ(inst.m_pCmd->m_sTime, JumpTimeFromHeight(player, 4));
    Keys(0, 1, c.nHeldFrames);
    Keys(0, 0, 120);
    EXPECT_GE(y0 - yMin, c.dMin) << c.nKind << "/" << c.nHeldFrames;
    EXPECT_LE(y0 - yMin, c.dMax) << c.nKind << "/" << c.nHeldFrames;
    EXPECT_DOUBLE_EQ(std::floor(player.m_dY), std::floor(y0));
    EXPECT_EQ(player.m_vecFlowStates[0].m_nRunning, 0);
    m_Probe.m_fnFlows = nullptr;
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
  }
}

// Direction codes from an input channel.
TEST_F(FlowRun, InputChannelsGiveDirectionCodes) {
  PlayerWith({});
  struct CASE {
    int nChannel, bPlain, nFacing, nCode;
  };
  const CASE kCases[] = {{0, 1, 1, 3},  {0, 1, 0, 2}, {1, 1, 1, 2}, {2, 1, 0, 3}, {5, 1, 1, 8},
                         {8, 1, 1, 11}, {9, 1, 1, 0}, {9, 0, 1, 3}, {9, 0, 0, 2}, {12, 1, 1, 0}};
  for (const CASE& c : kCases)
    EXPECT_EQ(InputToDirection(c.nChannel, c.bPlain, c.nFacing), c.nCode)
        << c.nChannel << " " << c.bPlain << " " << c.nFacing;
}

}  // namespace

namespace {

cFlowCmd StatusOp(std::vector<std::pair<int, int32_t>> params, uint8_t cSet = 0) {
  cFlowCmd cmd = Cmd(cSet ? 7 : 22);
  cmd.m_cCmdSet = cSet;
  cmd.m_vecParams.assign(18, 0);
  for (auto [i, v] : params) cmd.m_vecParams[static_cast<size_t>(i)] = v;
  return cmd;
}

// (value, operand, operation, range) -> the value after the operation.
TEST(StatusOp, OperationsClampToTheirRange) {
  struct CASE {
    int32_t t, x, nOp, nLow, nHigh, nResult;
  };
  const CASE kCases[] = {
      {5, 3, 0, -999999, 999999, 3},
      {5, 3, 1, -999999, 999999, 8},
      {999990, 30, 1, 0, 999999, 999999},
      {5, 30, 2, 0, 999999, 0},
      {400000, 3, 3, -999999, 999999, 999999},
      {400000, -3, 3, -999999, 999999, -999999},
      {65536, 65536, 3, INT32_MIN, INT32_MAX, INT32_MAX},  // a sign-keeping wrap saturates too
      {5, 0, 4, -999999, 999999, 5},
      {5, 0, 5, -999999, 999999, 5},
      {-7, 2, 4, -999999, 999999, -3},
      {-7, 2, 5, -999999, 999999, -1},
      {INT32_MIN, -1, 4, INT32_MIN, INT32_MAX, INT32_MIN},
      {INT32_MIN, -1, 5, INT32_MIN, INT32_MAX, 0},
      {200, 50, 6, 0, 999999, 100},
      {7, 3, 9, 0, 999999, 7},
  };
  for (const CASE& c : kCases)
    EXPECT_EQ(ApplyStatusOp(c.t, c.x, c.nOp, c.nLow, c.nHigh), c.nResult)
        << c.t << " op " << c.nOp << " " << c.x;
}

// The status operation on the stage's values and the player's own.
TEST_F(FlowRun, StatusOperationsChangeTheirTarget) {
  cPlayerObj& player = PlayerWith({});
  g_PlayData.m_nStageScore = 40;
  cFlowCmd score = StatusOp({{3, 5}, {4, 3}, {5, 1}, {7, 10}}, 1);
  EXPECT_EQ(RunItemCmd(Outside(player, score)), 0);
  EXPECT_EQ(g_PlayData.m_nStageScore, 50);

  g_PlayData.m_nLives = kUnlimitedLives;
  cFlowCmd lives = StatusOp({{3, 5}, {4, 4}, {5, 0}, {7, 3}}, 1);
  RunItemCmd(Outside(player, lives));
  EXPECT_EQ(g_PlayData.m_nLives, kUnlimitedLives);

  // Stage variable 2 = common variable 7 (operand kind 3), then 150 % of it.
  g_PlayData.m_vVars.At(7) = 12;
  cFlowCmd copy = StatusOp({{0, 1}, {1, 1}, {2, 2}, {5, 0}, {6, 3}, {10, 0}, {11, 7}});
  CmdStatusOp(Outside(player, copy));
  EXPECT_EQ(Scene().m_StageVar.At(2), 12);
  cFlowCmd percent = StatusOp({{0, 1}, {1, 1}, {2, 2}, {5, 6}, {7, 150}});
  CmdStatusOp(Outside(player, percent));
  EXPECT_EQ(Scene().m_StageVar.At(2), 18);

  // The player's HP set to 0 by itself raises no defeat check; an empty
  // target slot changes nothing.
  Scene().m_bCheckDefeats = 0;
  cFlowCmd hp = StatusOp({{3, 0}, {4, 1}, {5, 0}, {7, 0}});
  CmdStatusOp(Outside(player, hp));
  EXPECT_EQ(player.m_nHP, 0);
  EXPECT_EQ(Scene().m_bCheckDefeats, 0);
  cFlowCmd other = StatusOp({{3, 2}, {4, 1}, {5, 0}, {7, 5}});
  CmdStatusOp(Outside(player, other));
  EXPECT_EQ(player.m_nHP, 0);
}

// A flow before the stage starts runs its parallel commands of kind 16 or
// above at once and never waits.
TEST_F(FlowRun, AFlowBeforeTheStageStartRunsAtOnce) {
  cFlowCmd add = StatusOp({{0, 1}, {1, 1}, {2, 4}, {5, 1}, {7, 5}});
  add.m_cParallel = 1;
  std::vector<cFlowCmd> cmds;
  cmds.push_back(Cmd(1, 50));
  cmds.push_back(std::move(add));
  cPlayerObj& player = PlayerWith({Flow(21, std::move(cmds))});
  EXPECT_EQ(Scene().m_StageVar.At(4), 5);
  EXPECT_EQ(player.m_vecFlowStates[0].m_nRunning, 0);
}

}  // namespace

namespace {

// A movement lasting 2 seconds unless its timing computes the time.
cFlowCmd PathMove(uint8_t cKind, std::function<void(cEdMove&)> fnSet) {
  cFlowCmd cmd = Cmd(cKind, 20);
  cmd.m_pMove = std::make_unique<cEdMove>();
  fnSet(*cmd.m_pMove);
  return cmd;
}

// A flier circling at 3 degrees a step on a radius of 2 hbl is back where
// it started after 120 steps and 64 dots away half way; a radius of 0, a
// charge without a target and an edge-avoiding flier inside the view do not
// move at all.
TEST_F(FlowRun, PathMovementsFollowTheirShapes) {
  struct CASE {
    const char* szName;
    cFlowCmd cmd;
    double dHalfWay;  // distance from the start after 60 steps
    double dAtEnd;    // after 120
  };
  std::vector<CASE> cases;
  cases.push_back({"circle",
                   PathMove(4,
                            [](cEdMove& m) {
                              m.m_sTime = 2;  // radius, hbl
                              m.m_sDistance = 360;
                              m.m_cTimingMode = 1;
                              m.m_sSpeed = 30;
                            }),
                   64, 0});
  cases.push_back({"circle of no radius",
                   PathMove(4,
                            [](cEdMove& m) {
                              m.m_sDistance = 360;
                              m.m_cTimingMode = 1;
                              m.m_sSpeed = 30;
                            }),
                   0, 0});
  cases.push_back({"charge at nobody", PathMove(5, [](cEdMove& m) { m.m_sSpeed = 30; }), 0, 0});
  cases.push_back({"avoiding the edge",
                   PathMove(7,
                            [](cEdMove& m) {
                              m.m_cDirection = 2;
                              m.m_sSpeed = 30;
                            }),
                   0, 0});
  for (CASE& c : cases) {
    MakeStage(30, 15, 1);
    cEdChara& def = Player(8, 6);
    def.m_cFlying = 1;
    def.m_cFixedDir = 0;
    std::vector<cFlowCmd> cmds;
    cmds.push_back(std::move(c.cmd));
    def.m_vecFlows.push_back(Flow(22, std::move(cmds)));
    StartPlaying();
    cPlayerObj& player = ThePlayerObj();
    const double x0 = player.m_dX, y0 = player.m_dY;
    player.m_vecFlowStates[0].Start(player, Scene());
    auto Distance = [&] { return std::hypot(player.m_dX - x0, player.m_dY - y0); };
    Frames(60);
    EXPECT_NEAR(Distance(), c.dHalfWay, 0.5) << c.szName;
    Frames(60);
    EXPECT_NEAR(Distance(), c.dAtEnd, 0.5) << c.szName;
    delete m_pScene;
    m_pScene = nullptr;
  }
}

}  // namespace

namespace {

// Cues of an animation of 5 tenths on a flow's second command: it starts
// so as to reach its end as the command begins, or at once part-way.
TEST(FlowCues, AnimationsStartEarlyEnoughForTheirCommand) {
  struct CASE {
    int32_t nFirstSteps;
    uint8_t cFirstParallel;
    int32_t nStart, nSkipped, nLength;
    uint8_t cKind;  // of the second command: a sword or a jump runs its animation on
    int32_t bHold;
  };
  const CASE kCases[] = {{60, 0, 30, 0, 30, CMD_WAIT, 1}, {12, 0, 0, 18, 12, CMD_WAIT, 1},
                         {60, 1, 0, 30, 0, CMD_WAIT, 1},  {60, 0, 30, 0, 30, CMD_SWORD, 0},
                         {60, 0, 30, 0, 30, CMD_JUMP, 0}, {60, 0, 30, 0, 30, 200, 1}};
  const cSafeVector<ANIMESEQUENCE> saved = g_AnimeFrameTable;
  g_AnimeFrameTable.resize(2);
  g_AnimeFrameTable[1].clear();
  g_AnimeFrameTable[1].push_back(ANIMESTEP{1, 12, 0});
  g_AnimeFrameTable[1].push_back(ANIMESTEP{2, 18, 0});
  g_AnimeFrameTable[1].push_back(ANIMESTEP{3, 6, 1});  // the held frame
  g_AnimeFrameTable[1].push_back(ANIMESTEP{ANIMESTEP_END, 0, 0});
  g_Stage.SetHitLevel(1);
  for (const CASE& c : kCases) {
    cFlow flow = Flow(22, {Cmd(1, 0, c.cFirstParallel), Cmd(c.cKind, 5)});
    flow.m_vecCmds[1].m_sAnime = 1;
    cFlowState state;
    state.m_vecCmds.resize(2);
    for (size_t i = 0; i < 2; ++i) state.m_vecCmds[i].m_pCmd = &flow.m_vecCmds[i];
    state.m_vecCmds[0].m_nDuration = c.nFirstSteps;
    state.m_vecCmds[1].m_nDuration = 30;
    BuildFlowCues(state);
    ASSERT_EQ(state.m_vecCues.size(), 1u);
    const ANIMCUE& cue = state.m_vecCues[0];
    EXPECT_EQ(cue.nStart, c.nStart) << c.nFirstSteps;
    EXPECT_EQ(cue.sSkipped, c.nSkipped) << c.nFirstSteps;
    EXPECT_EQ(cue.sLength, c.nLength) << c.nFirstSteps;
    EXPECT_EQ(cue.sCmdFrames, 30);
    EXPECT_EQ(cue.bHold, c.bHold) << int(c.cKind);
  }
  g_AnimeFrameTable = saved;
  g_Stage.Reset();
}

}  // namespace

namespace {

cFlow Tagged(uint8_t cId) {
  cFlow flow = Flow(22, {Cmd(1)});
  flow.m_cId = cId;
  return flow;
}

std::string Ids(const cGameObj& chara) {
  std::string s;
  for (const cFlow& f : chara.m_Def.m_vecFlows) s += static_cast<char>('A' + f.m_cId - 1);
  return s;
}

// "フローの変更" of an item: (operation, key) on flows A B A -> flows after;
// the runs stay paired with their flows.
TEST_F(FlowRun, ItemsChangeThePlayersFlows) {
  struct CASE {
    int32_t nOp, nKey;
    const char* szAfter;
  };
  const CASE kCases[] = {{0, 0, "ABAX"}, {1, 1, "XB"}, {1, 5, "ABAX"},
                         {1, 0, "X"},    {2, 2, "AA"}, {7, 1, "ABA"}};
  for (const CASE& c : kCases) {
    cPlayerObj& player = PlayerWith({Tagged(1), Tagged(2), Tagged(1)});
    cFlowCmd change = Cmd(1);
    change.m_cCmdSet = 1;
    change.m_vecParams.assign(2, 0);
    change.m_vecParams[0] = c.nOp;
    change.m_vecParams[1] = c.nKey;
    change.m_vecFlows.push_back(Tagged(24));
    EXPECT_EQ(RunItemCmd(Outside(player, change)), 0);
    EXPECT_EQ(Ids(player), c.szAfter) << c.nOp << " " << c.nKey;
    ASSERT_EQ(player.m_vecFlowStates.size(), player.m_Def.m_vecFlows.size());
    for (size_t i = 0; i < player.m_vecFlowStates.size(); ++i)
      EXPECT_EQ(player.m_vecFlowStates[i].m_pFlow, &player.m_Def.m_vecFlows[i]);
    // Handed over by the player's own flow, the change waits for the end
    // of its flow step.
    RunItemCmd(Outside(player, change, &player));
    EXPECT_EQ(Ids(player), c.szAfter);
    EXPECT_EQ(player.m_vecPendingCmds.size(), 1u);
    delete m_pScene;
    m_pScene = nullptr;
  }
}

// A flow that takes the player's HP ends its RunFlows at once.
TEST_F(FlowRun, AnEarlyEndOfTheFlowStep) {
  cFlowCmd hp = StatusOp({{3, 0}, {4, 1}, {5, 0}, {7, 0}});
  std::vector<cFlowCmd> cmds;
  cmds.push_back(std::move(hp));
  cmds.push_back(Cmd(1, 5));
  cPlayerObj& player = PlayerWith({Flow(22, std::move(cmds))});
  player.m_vecFlowStates[0].Start(player, Scene());
  EXPECT_EQ(player.RunFlows(0), 1);
  EXPECT_EQ(player.m_nHP, 0);
}

// A flow whose command starts the flow itself again goes on from its first
// command in the next step, wherever that command stands: the trace is the
// current command before each step, 'E' where the flow ended.
TEST_F(FlowRun, AFlowThatStartsItselfRunsAgainFromItsFirstCommand) {
  struct CASE {
    const char* szName;
    std::vector<std::pair<int32_t, uint8_t>> cmds;  // duration, parallel; the start last
    const char* szTrace;
  };
  const CASE kCases[] = {
      {"after a wait", {{3, 0}, {0, 0}}, "000100010001"},
      {"alone", {{0, 0}}, "000000000000"},
      {"parallel after a wait", {{2, 0}, {0, 1}}, "001001001001"},
  };
  for (const CASE& c : kCases) {
    SCOPED_TRACE(c.szName);
    std::vector<cFlowCmd> cmds;
    for (size_t i = 0; i + 1 < c.cmds.size(); ++i) cmds.push_back(Cmd(1, 0, c.cmds[i].second));
    cFlowCmd start = Cmd(CMD_FLOW_OP, 0, c.cmds.back().second);
    start.m_vecParams = {0, 0, 0, 0};  // start, this flow
    cmds.push_back(std::move(start));
    cPlayerObj& player = PlayerWith({Flow(22, std::move(cmds))});
    cFlowState& run = player.m_vecFlowStates[0];
    run.Stop(player);
    for (size_t i = 0; i < c.cmds.size(); ++i) run.m_vecCmds[i].m_nDuration = c.cmds[i].first;
    run.Start(player, Scene());
    std::string strTrace;
    for (int nStep = 0; nStep < 12; ++nStep) {
      strTrace += static_cast<char>('0' + run.m_nCurrent);
      if (run.Step(player, Scene())) {
        strTrace += 'E';
        break;
      }
    }
    EXPECT_EQ(strTrace, c.szTrace);
    EXPECT_EQ(run.m_nRunning, 1);
  }
}

}  // namespace

namespace {

// Pausing a flow's animations holds exactly those its run started (by the
// run's serial) and resuming lets them run on; removing takes them away.
TEST(FlowAnims, PauseResumeAndRemoveActOnOneRunsAnimations) {
  cGameObj chara;
  for (int32_t nSerial : {4, 7, 4, -1}) {
    cAnimPlay a;
    a.m_nSerial = nSerial;
    chara.m_AnimList.push_back(a);
  }
  auto Paused = [&chara]() {
    std::vector<int32_t> v;
    for (const cAnimPlay& a : chara.m_AnimList) v.push_back(a.m_nPaused);
    return v;
  };
  chara.PauseFlowAnims(4);
  EXPECT_EQ(Paused(), (std::vector<int32_t>{1, 0, 1, 0}));
  chara.PauseFlowAnims(7);
  chara.ResumeFlowAnims(4);
  EXPECT_EQ(Paused(), (std::vector<int32_t>{0, 1, 0, 0}));
  chara.RemoveFlowAnims(4);
  EXPECT_EQ(Paused(), (std::vector<int32_t>{1, 0}));
}

}  // namespace
