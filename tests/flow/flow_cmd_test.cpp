// Commands: fitting to the catalogue and the database, deep copies, the
// dropping of disabled nested flows, and hostile files.
#include <gtest/gtest.h>

#include "base/program_state.h"
#include "flow/db_ref_stub.h"
#include "flow/flow.h"
#include "flow/record_fuzz.h"
#include "support/byte_builder.h"

namespace {

cFlowCmd Cmd(uint8_t cSet, uint8_t cKind, std::initializer_list<int32_t> params) {
  cFlowCmd cmd;
  cmd.m_cCmdSet = cSet;
  cmd.m_cKind = cKind;
  cmd.m_vecParams.assign(params.begin(), params.end());
  return cmd;
}

TEST(FlowCmdValidate, FitsParametersAndDatabaseReferences) {
  cDbRefStub db;
  db.m_nSizes[DBLIST_SOUND] = 5;
  db.m_nSizes[DBLIST_ANIMESET] = 3;
  db.m_nSizes[DBLIST_PICTURE] = 2;
  struct ROW {
    cFlowCmd cmd;
    std::vector<int32_t> expected;
  };
  ROW rows[] = {
      {Cmd(0, 10, {1, 2}), {1, 2, 0, 0, 0}},  // ジャンプ: five parameters
      {Cmd(0, 9, {1, 2, 3}), {1}},            // 向き変更: one
      {Cmd(0, 35, {5}), {1}},                 // a sound past the list
      {Cmd(0, 35, {-1}), {1}},
      {Cmd(0, 35, {4}), {4}},
      {Cmd(0, 27, {3}), {0}},  // an animation set past the list becomes 0
      {Cmd(0, 32, {2, 0}), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {Cmd(1, 20, {9}), {1}},              // item numbering: the sound command
      {Cmd(1, 1, {1, 2, 3}), {1, 2}},      // "フローの変更"
      {Cmd(0, 45, {1, 2, 3}), {1, 2, 3}},  // no catalogue row: left as stored
  };
  for (ROW& row : rows) {
    row.cmd.Validate();
    EXPECT_EQ(std::vector<int32_t>(row.cmd.m_vecParams.begin(), row.cmd.m_vecParams.end()),
              row.expected)
        << int(row.cmd.m_cCmdSet) << "/" << int(row.cmd.m_cKind);
  }

  cFlowCmd cmd = Cmd(0, 1, {});
  cmd.m_sSound = -3;
  cmd.m_sAnime = 0;
  cmd.Validate();
  EXPECT_EQ(cmd.m_sSound, 0);
  EXPECT_EQ(cmd.m_sAnime, 0);
}

TEST(FlowCmdValidate, SwordTimeIsItsFramesCapped) {
  cDbRefStub db;
  db.m_nSizes[DBLIST_SWORDTYPE] = 3;
  db.m_vecSwordTimes = {{}, {5000, 6000}, {3, 4}};
  struct {
    int8_t cType;
    int8_t eType;
    int16_t eTime;
  } const rows[] = {{1, 1, 9999}, {2, 2, 7}, {3, 0, 0}, {-1, 0, 0}};
  for (const auto& row : rows) {
    cFlowCmd sword = Cmd(0, 12, {});
    NewEdShot(sword.m_pShot);
    sword.m_pShot->m_cMoveType = row.cType;
    sword.m_sTime = 50;
    sword.Validate();
    EXPECT_EQ(sword.m_pShot->m_cMoveType, row.eType) << int(row.cType);
    EXPECT_EQ(sword.m_sTime, row.eTime) << int(row.cType);
  }
}

TEST(FlowCmdValidate, NestedFlowsAreFittedToo) {
  cFlowCmd outer = Cmd(0, 1, {});
  outer.m_vecFlows.resize(1);
  outer.m_vecFlows[0].m_vecCmds.push_back(Cmd(0, 10, {}));
  outer.Validate();
  EXPECT_EQ(outer.m_vecFlows[0].m_vecCmds[0].m_vecParams.size(), 5u);
}

TEST(FlowCmdCopy, DeepAndSafeAgainstAliasing) {
  cFlowCmd a = Cmd(0, 11, {1, 2});
  NewEdShot(a.m_pShot);
  NewEdMove(a.m_pMove);
  NewCondList(a.m_pCondList);
  a.m_pShot->m_sSpeed = 30;
  a.m_pCondList->m_vecConds.resize(2);
  a.m_vecFlows.resize(1);
  a.m_vecFlows[0].m_vecCmds.push_back(Cmd(0, 9, {4}));

  cFlowCmd b;
  b = a;
  a.m_pShot->m_sSpeed = 99;
  a.m_pCondList->m_vecConds.clear();
  a.m_vecParams[0] = 7;
  a.m_vecFlows[0].m_vecCmds[0].m_vecParams[0] = 8;
  ASSERT_TRUE(b.m_pShot && b.m_pMove && b.m_pCondList);
  EXPECT_NE(b.m_pShot.get(), a.m_pShot.get());
  EXPECT_EQ(b.m_pShot->m_sSpeed, 30);
  EXPECT_EQ(b.m_pCondList->m_vecConds.size(), 2u);
  EXPECT_EQ(b.m_vecParams[0], 1);
  EXPECT_EQ(b.m_vecFlows[0].m_vecCmds[0].m_vecParams[0], 4);

  // A command without parts takes the absence of parts too.
  b = cFlowCmd();
  EXPECT_FALSE(b.m_pShot || b.m_pMove || b.m_pCondList);

  // Self-assignment changes nothing.
  cFlowCmd& self = a;
  a = self;
  ASSERT_TRUE(a.m_pShot);
  EXPECT_EQ(a.m_pShot->m_sSpeed, 99);
  EXPECT_EQ(a.m_vecFlows.size(), 1u);

  // A command assigned from one nested inside it.
  a = a.m_vecFlows[0].m_vecCmds[0];
  EXPECT_EQ(a.m_cKind, 9);
  EXPECT_EQ(a.m_vecParams[0], 8);
  EXPECT_TRUE(a.m_vecFlows.empty());
  EXPECT_FALSE(a.m_pShot);

  // The same through flows.
  cFlow flow;
  flow.m_vecCmds.push_back(b);
  flow.m_vecCmds[0].m_vecFlows.resize(1);
  flow.m_vecCmds[0].m_vecFlows[0].m_cTrigger = 5;
  flow = flow.m_vecCmds[0].m_vecFlows[0];
  EXPECT_EQ(flow.m_cTrigger, 5);
  EXPECT_TRUE(flow.m_vecCmds.empty());
}

// A command whose nested flows are the given disabled flags, written at 783.
std::vector<uint8_t> CmdWithSubFlows(std::initializer_list<uint8_t> disabled) {
  cFlowCmd cmd = Cmd(0, 1, {});
  for (uint8_t c : disabled) {
    cFlow f;
    f.m_cDisabled = c;
    f.m_cId = static_cast<uint8_t>(cmd.m_vecFlows.size() + 1);
    cmd.m_vecFlows.push_back(f);
  }
  return cmd.SaveToBytes();
}

TEST(FlowCmdRead, DisabledNestedFlowsDroppedOutsideTestPlay) {
  const std::vector<uint8_t> file = CmdWithSubFlows({0, 1, 0, 1});
  struct {
    int bTest;
    bool bKeep;
    std::vector<uint8_t> ids;
  } const rows[] = {{0, false, {1, 3}}, {1, false, {1, 2, 3, 4}}, {0, true, {1, 2, 3, 4}}};
  for (const auto& row : rows) {
    bTestPlay = row.bTest;
    SetSystemKeepsDisabledFlows(row.bKeep);
    cFlowCmd cmd;
    ASSERT_EQ(cmd.LoadFromBytes(file.data(), file.size()), 1);
    std::vector<uint8_t> ids;
    for (const cFlow& f : cmd.m_vecFlows) ids.push_back(f.m_cId);
    EXPECT_EQ(ids, row.ids) << row.bTest << row.bKeep;
  }
  bTestPlay = 0;
  SetSystemKeepsDisabledFlows(0);
}

TEST(FlowCmdRead, WriteReadWriteIsStable) {
  cFlowCmd cmd = Cmd(0, 11, {});
  NewEdShot(cmd.m_pShot);
  NewEdMove(cmd.m_pMove);
  NewCondList(cmd.m_pCondList);
  cmd.m_pCondList->m_vecConds.resize(1);
  cmd.m_pCondList->m_vecConds[0].m_cKind = 7;
  cmd.m_strText = "v1 = v1 + 1";
  cmd.m_vecFlows.resize(1);
  cmd.m_vecFlows[0].m_strMemo = "memo";
  cmd.m_vecFlows[0].m_vecKeys.resize(2);
  const std::vector<uint8_t> first = cmd.SaveToBytes();
  cFlowCmd back;
  ASSERT_EQ(back.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(back.m_vecFlows[0].m_strMemo, "");
  back.m_vecFlows[0].m_strMemo = "memo";
  EXPECT_EQ(back.SaveToBytes(), first);
}

// A flow whose command carries every part and a nested flow with one of
// everything, several levels down.
cFlow RichFlow(int nDepth) {
  cFlow flow;
  flow.m_strMemo = "m";
  flow.m_vecConds.resize(1);
  flow.m_vecKeys.resize(1);
  cFlowCmd cmd = Cmd(0, 13, {});
  NewEdShot(cmd.m_pShot);
  NewEdMove(cmd.m_pMove);
  NewCondList(cmd.m_pCondList);
  cmd.m_pCondList->m_vecConds.resize(1);
  cmd.m_strText = "t";
  if (nDepth > 0) cmd.m_vecFlows.push_back(RichFlow(nDepth - 1));
  flow.m_vecCmds.push_back(cmd);
  flow.m_vecCmds.push_back(Cmd(0, 10, {1, 2, 3, 4, 5}));
  return flow;
}

TEST(FlowRead, HostileFilesFailWithoutHarm) {
  const std::vector<uint8_t> file = RichFlow(1).SaveToBytes();
  ExpectTruncationFails<cFlow>(file);
  ExpectHugeCountsSurvive<cFlow>(file);
  const std::vector<uint8_t> key = cKeyCond().SaveToBytes();
  ExpectTruncationFails<cKeyCond>(key);
  ExpectHugeCountsSurvive<cKeyCond>(key);
}

TEST(FlowRead, NestingPastTheLimitFails) {
  cFlow shallow = RichFlow(20);
  const std::vector<uint8_t> ok = shallow.SaveToBytes();
  cFlow back;
  EXPECT_EQ(back.LoadFromBytes(ok.data(), ok.size()), 1);

  cByteBuilder b = cByteBuilder::File(783);
  AppendDeepFlow(b, 200);
  cFlow deep;
  EXPECT_EQ(deep.LoadFromBytes(b.Bytes().data(), b.Size()), 0);
}

}  // namespace
