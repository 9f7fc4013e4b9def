// Parameter bindings: a binding changes one setting of the next command by a
// variable, through its operation and the setting's range (or the range of
// the shot part's formation), written into the command for good; the
// arrangement command leaves bindings in its flow run (or with the player
// for an item) for exactly the next command.
#include <gtest/gtest.h>

#include <memory>

#include "flow/cmd_param_info.h"
#include "flow/command_catalogue.h"
#include "play_fixture.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/flow_engine.h"
#include "stage/param_binds.h"
#include "stage/player_obj.h"

namespace {

cFlowCmd ZeroedCmd(uint8_t cKind, int16_t sTime = 0, uint8_t cParallel = 0) {
  cFlowCmd cmd;
  cmd.m_cKind = cKind;
  cmd.m_sTime = sTime;
  cmd.m_cParallel = cParallel;
  cmd.m_vecParams.assign(static_cast<size_t>(g_CmdCatalogue[cKind].nParamCount), 0);
  return cmd;
}

PARAMBIND Bind(int32_t nKind, int32_t nSetting, int32_t nOp, int32_t nSource, int32_t nVar) {
  return PARAMBIND{nKind, nSetting, nOp, nSource, nVar};
}

class ParamBinds : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    if (g_CmdParamInfo.size() != CMD_KIND_COUNT) InitCmdParamInfo();
  }
};

// (command, binding, the setting before) -> the setting after; the sources
// hold common variable 5 = 1234, stage variable 2 = 0, the character's
// variable 0 = 3, 1 = 50000, 2 = -50000 and 3 = 50.
TEST_F(ParamBinds, BindingsChangeTheirSettingWithinItsRange) {
  MakeStage(20, 15, 1);
  Floor(14);
  Player(3, 13);
  StartPlaying();
  cPlayerObj& player = ThePlayerObj();
  g_PlayData.m_vVars.At(5) = 1234;
  player.m_vecCharaVar.At(0) = 3;
  player.m_vecCharaVar.At(1) = 50000;
  player.m_vecCharaVar.At(2) = -50000;
  player.m_vecCharaVar.At(3) = 50;
  struct CASE {
    const char* szName;
    uint8_t cKind;
    uint8_t cCmdSet;
    PARAMBIND bind;
    int nParam;  // the parameter the setting is, or -1 for the shot's power
    int32_t nBefore, nAfter;
  };
  const CASE kCases[] = {
      {"message ID set, clamped", CMD_MESSAGE, 0, Bind(19, 0, 0, 0, 5), 13, 7, 999},
      {"divide by 0 leaves it", CMD_MESSAGE, 0, Bind(19, 0, 4, 1, 2), 13, 7, 7},
      {"remainder by 0 leaves it", CMD_MESSAGE, 0, Bind(19, 0, 5, 1, 2), 13, 7, 7},
      {"common variable 0 binds nothing", CMD_MESSAGE, 0, Bind(19, 0, 0, 0, 0), 13, 7, 7},
      {"character variable 0 is read", CMD_MESSAGE, 0, Bind(19, 0, 1, 2, 0), 13, 7, 10},
      {"character variable 9 binds nothing", CMD_MESSAGE, 0, Bind(19, 0, 0, 2, 9), 13, 7, 7},
      {"another kind binds nothing", CMD_MESSAGE, 0, Bind(29, 0, 0, 2, 0), 13, 7, 7},
      {"a source past the three", CMD_MESSAGE, 0, Bind(19, 0, 0, 3, 0), 13, 7, 7},
      {"percent rounds away from 0", CMD_MESSAGE, 0, Bind(19, 3, 6, 2, 3), 3, 7, 4},
      {"percent of a negative", CMD_MESSAGE, 0, Bind(19, 3, 6, 2, 3), 3, -7, -4},
      {"an item's message by its flow kind", ItemCmdKind(CMD_MESSAGE), 1, Bind(19, 1, 0, 2, 0), 1,
       9, 3},
      {"multiply saturates high", CMD_SHOT, 0, Bind(11, 27, 3, 2, 1), -1, 50000, 999999},
      {"multiply saturates low", CMD_SHOT, 0, Bind(11, 27, 3, 2, 1), -1, -50000, -999999},
      {"status operand bounds", CMD_STATUS_OP, 0, Bind(22, 1, 2, 2, 0), 9, 10, 7},
  };
  for (const CASE& c : kCases) {
    cFlowCmd cmd =
        ZeroedCmd(c.cCmdSet ? static_cast<uint8_t>(c.cKind + ITEM_CMD_KIND_OFFSET) : c.cKind);
    cmd.m_cCmdSet = c.cCmdSet;
    cmd.m_cKind = c.cKind;
    NewEdShot(cmd.m_pShot);
    if (c.nParam >= 0)
      cmd.m_vecParams.At(c.nParam) = c.nBefore;
    else
      cmd.m_pShot->m_nPower = c.nBefore;
    ApplyParamBind(Scene(), cmd, c.bind, player);
    EXPECT_EQ(c.nParam >= 0 ? cmd.m_vecParams.At(c.nParam) : cmd.m_pShot->m_nPower, c.nAfter)
        << c.szName;
  }
  EXPECT_EQ(TakeCloses(), 0);

  // A formation's own value is clamped into the formation's range, and a
  // setting kept in 8 bits is written in 8 bits.
  cFlowCmd shot = ZeroedCmd(CMD_SHOT);
  NewEdShot(shot.m_pShot);
  shot.m_pShot->m_cFormation = 2;
  ApplyParamBind(Scene(), shot, Bind(11, 2, 0, 2, 1), player);
  EXPECT_EQ(shot.m_pShot->m_sFormationParam[0], 180);
  ApplyParamBind(Scene(), shot, Bind(11, 5, 0, 2, 1), player);
  EXPECT_EQ(shot.m_pShot->m_cShotCount, 127);
  // A setting the kind does not have goes through the checked access.
  ApplyParamBind(Scene(), shot, Bind(11, 40, 0, 2, 1), player);
  EXPECT_GT(TakeCloses(), 0);
}

// A flow's arrangements bind the next command (and only it), and what they
// write stays: the status operation after two arrangements adds 10 more on
// every run of the flow.
TEST_F(ParamBinds, ArrangementsBindTheNextCommandOfTheirFlow) {
  MakeStage(20, 15, 1);
  Floor(14);
  cEdChara& def = Player(3, 13);
  cFlow flow;
  for (int nSetting = 0; nSetting < 2; ++nSetting) {
    cFlowCmd arrange = ZeroedCmd(CMD_ARRANGE, 0, 1);
    arrange.m_vecParams = {22, nSetting, 1, 2, 1};  // + character variable 1
    flow.m_vecCmds.push_back(arrange);
  }
  cFlowCmd op = ZeroedCmd(CMD_STATUS_OP);
  op.m_vecParams.At(0) = 1;  // stage variable 3 = random 5..5
  op.m_vecParams.At(1) = 1;
  op.m_vecParams.At(2) = 3;
  op.m_vecParams.At(6) = 1;
  op.m_vecParams.At(8) = 5;
  op.m_vecParams.At(9) = 5;
  flow.m_vecCmds.push_back(op);
  flow.m_vecCmds.push_back(ZeroedCmd(CMD_STATUS_OP));  // not bound: adds 0 to variable 0
  def.m_vecFlows.push_back(flow);
  StartPlaying();
  cPlayerObj& player = ThePlayerObj();
  player.m_vecCharaVar.At(1) = 10;
  std::vector<int32_t> seen;
  for (int i = 0; i < 40 && seen.size() < 3; ++i) {
    Frames(1);
    const int32_t v = Scene().m_StageVar.At(3);
    if (v != 0 && (seen.empty() || seen.back() != v)) seen.push_back(v);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{15, 25, 35}));
  EXPECT_TRUE(player.m_vecFlowStates.At(0).m_lstBinds.empty());
}

// An item's arrangement binds the item's next command through the player.
TEST_F(ParamBinds, AnItemsArrangementBindsItsNextCommand) {
  MakeStage(20, 15, 1);
  Floor(14);
  Player(3, 13);
  StartPlaying();
  cPlayerObj& player = ThePlayerObj();
  player.m_vecCharaVar.At(2) = 40;
  CMD_VECTOR cmds;
  cFlowCmd arrange = ZeroedCmd(CMD_ARRANGE);
  arrange.m_cCmdSet = 1;
  arrange.m_cKind = ItemCmdKind(CMD_ARRANGE);
  arrange.m_vecParams = {22, 0, 0, 2, 2};  // random low := character variable 2
  cmds.push_back(arrange);
  cFlowCmd op = ZeroedCmd(CMD_STATUS_OP);
  op.m_cCmdSet = 1;
  op.m_cKind = ItemCmdKind(CMD_STATUS_OP);
  op.m_vecParams.At(0) = 1;
  op.m_vecParams.At(1) = 1;
  op.m_vecParams.At(2) = 6;
  op.m_vecParams.At(6) = 1;
  op.m_vecParams.At(9) = 40;
  cmds.push_back(op);
  EXPECT_EQ(player.RunItemCommands(cmds, nullptr), 0);
  EXPECT_EQ(Scene().m_StageVar.At(6), 40);
  EXPECT_EQ(cmds[1].m_vecParams.At(8), 40);
  EXPECT_TRUE(player.m_lstBinds.empty());
}

}  // namespace
