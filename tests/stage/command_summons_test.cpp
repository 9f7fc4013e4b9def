// The summon commands: they place what their shot part names once a tenth
// of a second while they last, nothing for an entry that is missing, and no
// more than a thousand characters in one frame however they are asked.
#include <gtest/gtest.h>

#include <memory>

#include "palette/common_palette.h"
#include "stage/combat_fixture.h"
#include "stage/command_bodies.h"
#include "stage/flow_state.h"
#include "stage/shot_volley.h"

namespace {

class SummonCommands : public cCombatFixture {
 protected:
  void SetUp() override {
    cCombatFixture::SetUp();
    m_Saved = CommonPalette.m_vecChara;
    CommonPalette.m_vecChara.resize(2);
    CommonPalette.m_vecChara[1].m_cOperator = 1;
    CommonPalette.m_vecChara[1].m_nCarriedItem = -1;
    CommonPalette.m_vecChara[1].m_cFlying = 1;
    Player(3, 13).m_cFaction = 0;
    Floor(14);
    StartPlaying();
  }
  void TearDown() override {
    CommonPalette.m_vecChara = m_Saved;
    cCombatFixture::TearDown();
  }
  static cFlowCmd Summon(int8_t cCount, int16_t sIndex) {
    cFlowCmd cmd;
    cmd.m_cKind = 14;
    cmd.m_pShot = std::make_unique<cEdShot>();
    cmd.m_pShot->m_cFormation = FORMATION_EXPLOSION;
    cmd.m_pShot->m_cShotCount = cCount;
    cmd.m_pShot->m_cSummonPalette = 0;
    cmd.m_pShot->m_sSummonIndex = sIndex;
    return cmd;
  }
  CHARA_VECTOR m_Saved;
};

TEST_F(SummonCommands, ACommandLastingASecondSummonsTenTimes) {
  cFlowCmd cmd = Summon(1, 1);
  cCmdState inst;
  for (int i = 0; i < 60; ++i)
    CmdSummonChara(CMDCONTEXT{ThePlayerObj(), nullptr, &inst, cmd, Scene(), &ThePlayerObj()});
  EXPECT_EQ(g_CharaList.size(), 10u);
  for (const cCharaObj& c : g_CharaList) EXPECT_EQ(c.m_pParent, &ThePlayerObj());
}

TEST_F(SummonCommands, MissingEntriesSummonNothing) {
  for (int16_t sIndex : {int16_t{-1}, int16_t{2}, int16_t{30000}}) {
    cFlowCmd cmd = Summon(3, sIndex);
    CmdSummonChara(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, cmd, Scene(), &ThePlayerObj()});
    cmd.m_cKind = 15;
    CmdSummonItem(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, cmd, Scene(), &ThePlayerObj()});
    cmd.m_cKind = 13;
    CmdSummonBlock(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, cmd, Scene(), &ThePlayerObj()});
  }
  cFlowCmd bare;  // no shot part at all
  bare.m_cKind = 14;
  CmdSummonChara(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, bare, Scene(), &ThePlayerObj()});
  EXPECT_TRUE(g_CharaList.empty());
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SummonCommands, AFrameSummonsAThousandCharactersAtMost) {
  cFlowCmd cmd = Summon(127, 1);
  for (int i = 0; i < 12; ++i)
    CmdSummonChara(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, cmd, Scene(), &ThePlayerObj()});
  const size_t nFirst = g_CharaList.size();
  EXPECT_GE(nFirst, 1000u);
  EXPECT_LT(nFirst, 1000u + 127);
  // The next frame may summon again.
  ++Scene().m_nFrames;
  CmdSummonChara(CMDCONTEXT{ThePlayerObj(), nullptr, nullptr, cmd, Scene(), &ThePlayerObj()});
  EXPECT_GT(g_CharaList.size(), nFirst);
}

}  // namespace
