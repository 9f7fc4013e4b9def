// A stage whose flows branch on conditions and code lines plays the same way
// every time: the player walks one way or the other by a stage variable its
// code line counts, and jumps on a random character variable; the other
// characters walk, count and heal themselves by distance, status and state
// conditions. A digest of the whole play state after every play frame must
// match tests/data/stage/golden_flow_branch_hashes.txt. After a deliberate
// change, record them again with
//   BRIMVALE_RECORD_GOLDEN=1 build/default/tests/test_stage --gtest_filter='FlowBranchPlay.*'
// and commit the new file with the change that explains it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "flow/command_catalogue.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "support/golden_digests.h"
#include "support/test_paths.h"

namespace {

constexpr int kBranchFrames = 400;

cFlowCmd BranchCmd(uint8_t cKind, int16_t sTime, std::vector<std::pair<int, int32_t>> params = {}) {
  cFlowCmd cmd;
  cmd.m_cKind = cKind;
  cmd.m_sTime = sTime;
  cmd.m_vecParams.assign(static_cast<size_t>(g_CmdCatalogue[cKind].nParamCount), 0);
  for (auto [i, v] : params) cmd.m_vecParams.At(i) = v;
  return cmd;
}
cFlowCmd Code(const char* szText) {
  cFlowCmd cmd = BranchCmd(CMD_CODE, 0);
  cmd.m_strText = szText;
  return cmd;
}
cFlowCmd Walk(int8_t cDir, int16_t sSpeed) {
  cFlowCmd cmd = BranchCmd(CMD_MOVE_STRAIGHT, 1);
  cmd.m_pMove = std::make_unique<cEdMove>();
  cmd.m_pMove->m_cDirection = cDir;
  cmd.m_pMove->m_sSpeed = sSpeed;
  cmd.m_pMove->m_cTimeFromDist = 0;
  return cmd;
}
cCond BranchCond(uint8_t cKind, std::function<void(cCond&)> fnSet) {
  cCond c;
  c.m_cKind = cKind;
  fnSet(c);
  return c;
}
cFlow BranchFlow(std::vector<cCond> conds, std::vector<cFlowCmd> cmds) {
  cFlow flow;
  for (cCond& c : conds) flow.m_vecConds.push_back(c);
  for (cFlowCmd& c : cmds) flow.m_vecCmds.push_back(std::move(c));
  return flow;
}

class FlowBranchPlay : public cPlayFixture {
 protected:
  static void BuildStage() {
    MakeStage(40, 15, 2);
    Floor(14);
    for (int16_t r = 10; r < 14; ++r) Block(30, r);
    cEdChara& hero = Player(4, 13);
    hero.m_cFixedDir = 0;
    hero.m_nMaxHP = 20;
    std::vector<cFlowCmd> count;
    count.push_back(Code("S1 = (S1 + 1) % 160 v1 = rand(0, 40) C2 = C2 + (v1 * 2)"));
    hero.m_vecFlows.push_back(BranchFlow({}, std::move(count)));
    std::vector<cFlowCmd> right, left, jump;
    right.push_back(Walk(3, 20));
    left.push_back(Walk(2, 20));
    cFlowCmd up = BranchCmd(CMD_JUMP, 0, {{2, 3}});
    jump.push_back(std::move(up));
    hero.m_vecFlows.push_back(BranchFlow({BranchCond(2,
                                                     [](cCond& c) {
                                                       c.m_sVarNum = 1;
                                                       c.m_cCompare = 5;  // S1 < 80
                                                       c.m_nConstant = 80;
                                                     })},
                                         std::move(right)));
    hero.m_vecFlows.push_back(BranchFlow({BranchCond(2,
                                                     [](cCond& c) {
                                                       c.m_sVarNum = 1;
                                                       c.m_cCompare = 2;  // S1 >= 80
                                                       c.m_nConstant = 80;
                                                     })},
                                         std::move(left)));
    hero.m_vecFlows.push_back(BranchFlow({BranchCond(3,
                                                     [](cCond& c) {
                                                       c.m_sVarNum = 1;
                                                       c.m_nConstant = 40;  // v1 = 40
                                                     })},
                                         std::move(jump)));
    for (int i = 0; i < 3; ++i) {
      cEdChara& def = Chara(static_cast<int16_t>(10 + 7 * i), 13);
      def.m_cFixedDir = 0;
      def.m_nMaxHP = 12;
      std::vector<cFlowCmd> walk, near, heal, facing;
      cFlowCmd turn = BranchCmd(CMD_MOVE_TURN_AROUND, 20);
      turn.m_pMove = std::make_unique<cEdMove>();
      turn.m_pMove->m_sSpeed = static_cast<int16_t>(8 + 4 * i);
      turn.m_pMove->m_cTimeFromDist = 0;
      walk.push_back(std::move(turn));
      def.m_vecFlows.push_back(BranchFlow({}, std::move(walk)));
      // Near the player (a circle of 5 hbl): lose HP and count.
      near.push_back(BranchCmd(CMD_STATUS_OP, 0, {{4, 1}, {5, 2}, {7, 1}}));
      near.push_back(Code("v2 = v2 + 1 S3 = S3 + 1"));
      def.m_vecFlows.push_back(BranchFlow({BranchCond(7,
                                                      [](cCond& c) {
                                                        c.m_cShape = 6;
                                                        c.m_nConstant = 5;
                                                      })},
                                          std::move(near)));
      // HP at or below half of the maximum: heal by a code line.
      heal.push_back(Code("hp = mhp v3 = v3 + 1"));
      def.m_vecFlows.push_back(BranchFlow({BranchCond(4,
                                                      [](cCond& c) {
                                                        c.m_cStatus = 1;
                                                        c.m_cCompare = 3;
                                                        c.m_nConstant = 50;
                                                        c.m_cPercent = 1;
                                                      })},
                                          std::move(heal)));
      // Facing left: count in a stage variable by a status operation.
      facing.push_back(BranchCmd(CMD_STATUS_OP, 0, {{0, 1}, {1, 1}, {2, 4}, {5, 1}, {7, 1}}));
      def.m_vecFlows.push_back(
          BranchFlow({BranchCond(6, [](cCond& c) { c.m_cStatus = 0; })}, std::move(facing)));
    }
  }

  std::vector<uint64_t> Play() {
    BuildStage();
    StartPlaying();
    std::vector<uint64_t> hashes;
    const double dStart = ThePlayerObj().m_dX;
    for (int i = 0; i < kBranchFrames; ++i) {
      Frames(1);
      hashes.push_back(HashPlayState(Scene()));
      m_dRight = std::max(m_dRight, ThePlayerObj().m_dX - dStart);
      m_dBack = std::max(m_dBack, dStart + m_dRight - ThePlayerObj().m_dX);
    }
    return hashes;
  }
  double m_dRight = 0;  // furthest the player went right
  double m_dBack = 0;   // and how far it came back from there
  static std::string GoldenPath() { return TestDataDir() + "/stage/golden_flow_branch_hashes.txt"; }
};

TEST_F(FlowBranchPlay, MatchesItsGoldenDigests) {
  const std::vector<uint64_t> hashes = Play();
  // The flows did branch: the player went both ways, the others counted.
  EXPECT_GT(m_dRight, 32);
  EXPECT_GT(m_dBack, 32);
  EXPECT_GT(Scene().m_StageVar.At(4), 0);
  EXPECT_NE(g_PlayData.m_vVars.At(2), 0);
  EXPECT_EQ(TakeCloses(), 0);
  CheckGoldenDigests(hashes, GoldenPath(), "the stage of tests/stage/flow_branch_play_test.cpp");
}

}  // namespace
