// The target command: each way of choosing a character, what happens when
// nothing is found (emptied or kept), and the back references that follow
// a target slot; a target that has left the stage is let go of.
#include <gtest/gtest.h>

#include <algorithm>

#include "stage/combat_fixture.h"
#include "stage/command_bodies.h"

namespace {

class TargetCommand : public cCombatFixture {
 protected:
  void SetUp() override {
    cCombatFixture::SetUp();
    Player(1, 13).m_cFaction = 0;
    Chara(6, 13).m_cFaction = 1;   // X, who runs the command
    Chara(8, 13).m_cFaction = 1;   // near, same group
    Chara(16, 13).m_cFaction = 2;  // far, another group
    Chara(12, 13).m_cFaction = 2;  // nearer, that group
    StartPlaying();
    for (cCharaObj& c : g_CharaList) {
      c.m_nActive = c.m_nOnScreen = 1;
      c.UpdateScreenRect();
    }
  }
  // Runs the command for X with choice nChoice into slot 0.
  void Run(int32_t nChoice, int32_t nGroup, int32_t bAll, int32_t nRange, int32_t nNotFound) {
    cFlowCmd cmd;
    cmd.m_cKind = 21;
    cmd.m_vecParams.assign(16, 0);
    cmd.m_vecParams[1] = nChoice;
    cmd.m_vecParams[2] = nGroup;
    cmd.m_vecParams[3] = bAll;
    cmd.m_vecParams[4] = nRange;
    cmd.m_vecParams[5] = 1;  // not itself
    cmd.m_vecParams[15] = nNotFound;
    CmdSetTarget(CMDCONTEXT{Nth(0), nullptr, nullptr, cmd, Scene(), &Nth(0)});
  }
  static bool Refers(const cGameObj& target, const cGameObj& holder, int32_t nSlot) {
    return std::any_of(target.m_vecRefBy.begin(), target.m_vecRefBy.end(),
                       [&](const OBJREF& r) { return r.pChara == &holder && r.nSlot == nSlot; });
  }
};

TEST_F(TargetCommand, EachChoiceFindsItsCharacter) {
  cCharaObj& x = Nth(0);
  Nth(3).SetParent(&x);  // X's child
  Nth(1).SetParent(&x);  // and its newest
  x.SetParent(&Nth(2));  // X's parent
  x.SetTarget(2, &Nth(3), 1);
  struct ROW {
    int32_t nChoice, nGroup, bAll;
    cGameObj* pExpected;
  };
  const ROW rows[] = {
      {0, 0, 0, &ThePlayerObj()}, {1, 0, 0, &x},       {2, 2, 0, &Nth(3)}, {2, 1, 0, &Nth(1)},
      {2, 0, 1, &Nth(1)},         {3, 2, 0, &Nth(2)},  {3, 7, 1, &ThePlayerObj()},
      {4, 0, 0, &Nth(2)},         {5, 0, 0, &Nth(1)},  {9, 0, 0, &Nth(3)},
  };
  for (const ROW& row : rows) {
    Run(row.nChoice, row.nGroup, row.bAll, 1, 0);
    EXPECT_EQ(x.m_vecTargets[0], row.pExpected) << row.nChoice << " " << row.nGroup;
    EXPECT_TRUE(Refers(*row.pExpected, x, 0));
  }
}

TEST_F(TargetCommand, NothingFoundEmptiesTheSlotOrKeepsIt) {
  cCharaObj& x = Nth(0);
  for (cCharaObj& c : g_CharaList) c.m_nOnScreen = 0;
  struct ROW {
    int32_t nNotFound;
    bool bKept;
  };
  for (const ROW& row : {ROW{0, false}, ROW{1, true}, ROW{7, true}}) {
    x.SetTarget(0, &Nth(2), 1);
    Run(2, 2, 0, 2, row.nNotFound);  // the nearest on screen: nobody
    EXPECT_EQ(x.m_vecTargets[0], row.bKept ? &Nth(2) : nullptr) << row.nNotFound;
    EXPECT_EQ(Refers(Nth(2), x, 0), row.bKept);
  }
}

TEST_F(TargetCommand, ATargetThatLeavesIsLetGoOfAndBadSlotsChangeNothing) {
  cCharaObj& x = Nth(0);
  x.SetTarget(1, &Nth(3), 1);
  x.SetTarget(3, &Nth(3), 1);
  EXPECT_EQ(x.SetTarget(4, &Nth(3), 1), 0);
  EXPECT_EQ(x.SetTarget(-1, nullptr, 1), 0);
  Scene().RemoveChara(Nth(3));
  EXPECT_EQ(x.m_vecTargets[1], nullptr);
  EXPECT_EQ(x.m_vecTargets[3], nullptr);
  Run(10, 0, 0, 1, 0);  // target 4 was emptied: so is slot 1 now
  EXPECT_EQ(x.m_vecTargets[0], nullptr);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(TargetCommand, ADyingShooterLetsGoOfItsShots) {
  cCharaObj& x = Nth(0);
  cShotObj& shot = AddShot(1, 600, 600);
  shot.m_pShooter = &x;
  shot.m_pTarget = &Nth(3);
  x.m_vecRefBy2.push_back(SHOTREF{&shot, 4});
  Nth(3).m_vecRefBy2.push_back(SHOTREF{&shot, 0});
  x.ReleaseRefs();
  EXPECT_EQ(shot.m_pShooter, nullptr);
  EXPECT_EQ(shot.m_pTarget, &Nth(3));
  Nth(3).ReleaseRefs();
  EXPECT_EQ(shot.m_pTarget, nullptr);
  EXPECT_TRUE(x.m_vecRefBy2.empty());
}

}  // namespace
