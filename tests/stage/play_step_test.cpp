// The per-frame play step: the order of its sub-steps, and short plays of
// small stages in which a stand-in for the flows walks and jumps the player
// (as the movement and jump commands would): walls, ledges, ceilings, the
// camera and the screen edges of an auto-scrolling stage, items, springs and
// moving floors, item blocks, and characters woken by range and group.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "flow/key_cond.h"
#include "play_fixture.h"
#include "stage/flow_state.h"

namespace {

class PlayStep : public cPlayFixture {
 protected:
  // Sets the player's speed of every step as a walking flow would.
  void Walk(double dSpeed) {
    m_Probe.m_fnFlows = [dSpeed](cGameObj& o) {
      if (o.m_nControl == 0) o.m_dVX = dSpeed;
    };
  }
  // The highest the player's top got over n frames.
  double PeakOver(int n) {
    double dTop = ThePlayerObj().m_dY;
    for (int i = 0; i < n; ++i) {
      Frames(1);
      dTop = std::min(dTop, ThePlayerObj().m_dY);
    }
    return dTop;
  }
};

// A jump command as its flow runs it: kind and parameters, its time and
// speed, and (kinds 1 and 2) the flow's key step "button 1 pressed".
class cFakeJump {
 public:
  cFakeJump(int32_t nKind, int32_t nSteps, double dSpeed, std::vector<int32_t> vecParams = {}) {
    m_Cmd.m_vecParams.assign(5, 0);
    m_Cmd.m_vecParams[0] = nKind;
    for (size_t i = 0; i < vecParams.size() && i + 1 < 5; ++i)
      m_Cmd.m_vecParams[i + 1] = vecParams[i];
    m_nSteps = nSteps;
    m_dSpeed = dSpeed;
    if (nKind != 0) {
      cKeyCond key;
      key.m_vecKeys.At(11) = 1;  // button 1 held
      m_Flow.m_vecKeys.push_back(key);
    }
    m_State.m_pFlow = &m_Flow;
  }
  // The flow starts on a press of button 1 and runs its jump every step,
  // for its time (kind 0) or until the player stands again with the key up.
  void Step(cGameObj& obj) {
    if (obj.m_nControl != 0) return;
    cPlayerObj& player = static_cast<cPlayerObj&>(obj);
    const bool bDown = (g_Input.At(0).m_wButton & 1) != 0;
    const bool bPress = bDown && !m_bWasDown;
    m_bWasDown = bDown;
    if (!m_bRunning && bPress) {
      m_bRunning = true;
      m_nCount = 0;
      m_Jump = cCmdState{};
      m_Jump.m_pCmd = &m_Cmd;
      m_Jump.m_nDuration = m_nSteps;
      m_Jump.m_dSpeed = m_dSpeed;
      m_Jump.m_nRemain = m_nSteps;
    }
    if (!m_bRunning) return;
    player.Jump(m_Jump, &m_State);
    ++m_nCount;
    const int nLimit = m_Cmd.m_vecParams[0] == 0 ? m_nSteps : 4 * m_nSteps;
    if (m_Jump.m_nRemain == 0 || m_nCount >= nLimit) m_bRunning = false;
  }

 private:
  cFlowCmd m_Cmd;
  cFlow m_Flow;
  cFlowState m_State;
  cCmdState m_Jump;
  int32_t m_nSteps = 0;
  double m_dSpeed = 0;
  bool m_bRunning = false;
  bool m_bWasDown = false;
  int m_nCount = 0;
};

TEST_F(PlayStep, TheOrderOfOneFrame) {
  MakeStage(20, 15, 2);  // two update steps a frame
  Floor(14);
  Chara(6, 13).m_cBlockLike = 1;  // id 1: a block character
  Player(2, 13);                  // id 0
  Chara(8, 13);                   // id 2
  StartPlaying();
  m_Probe.m_bRecord = true;
  Frames(1);
  std::vector<std::string> step = {
      "BeginStep", "Lifetimes", "Contacts", "Scroll",
      // the block characters first, so riders see where they went
      "RunFlows(1)", "Flows(1)", "MoveX(1)", "MoveY(1)",
      // the player
      "RunFlows(0)", "Flows(0)", "ApplySpecialTile(0)", "MoveX(0)", "MoveY(0)",
      "ResolveBlockCharas(0)",
      // the other characters
      "RunFlows(2)", "Flows(2)", "MoveX(2)", "MoveY(2)", "ResolveBlockCharas(2)",
      // the shots, the removal rules (first step only), the checks
      "Shots", "RemovalPasses", "CheckTileEvents(0)", "CheckAttackHits", "CheckItemPickup(0)"};
  std::vector<std::string> expected = {"Input", "ClearFrameFlags"};
  expected.insert(expected.end(), step.begin(), step.end());
  step.erase(std::find(step.begin(), step.end(), "RemovalPasses"));
  expected.insert(expected.end(), step.begin(), step.end());
  expected.insert(expected.end(), {"Draw", "DrawPlayer(0)", "DrawChara(1)", "DrawChara(2)"});
  EXPECT_EQ(m_Probe.m_vecSteps, expected);
}

TEST_F(PlayStep, TheStepStopsWhereThePlayerIsDefeated) {
  MakeStage(20, 15, 2);
  Floor(14, 0, 3);  // a short floor: walking right, the player falls
  Player(2, 13);
  Chara(8, 5);
  StartPlaying();
  Walk(3);
  Requests().vecSounds.clear();
  int n = 0;
  while (ThePlayerObj().m_nDying == 0 && n++ < 300) {
    m_Probe.m_vecSteps.clear();
    m_Probe.m_bRecord = true;
    Frames(1);
  }
  ASSERT_EQ(ThePlayerObj().m_nDying, 1);
  // Fallen out of the stage: the defeat (its death flows run at once) ends
  // the frame, undrawn, before the other characters move.
  const std::vector<std::string>& steps = m_Probe.m_vecSteps;
  ASSERT_GE(steps.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(steps.end() - 4, steps.end()),
            (std::vector<std::string>{"MoveY(0)", "DefeatPlayer", "Die(0)", "Flows(0)"}));
  EXPECT_EQ(std::count(steps.begin(), steps.end(), "Draw"), 0);
  EXPECT_EQ(std::count(steps.begin(), steps.end(), "MoveX(1)"), 1);  // the first step only
  EXPECT_EQ(Requests().vecSounds, std::vector<int>{8});
  // Nothing moves on while the player dies (until its death has played and
  // the stage starts again).
  const double y = g_CharaList.front().m_dY;
  for (int i = 0; i < 5; ++i) {
    Frames(1);
    if (ThePlayerObj().m_nDying != 1) break;
    EXPECT_EQ(g_CharaList.front().m_dY, y);
  }
}

TEST_F(PlayStep, ThePlayerWalksAndTheCameraFollows) {
  MakeStage(60, 15, 1);
  Floor(14);
  Player(2, 13);
  StartPlaying();
  const double x0 = ThePlayerObj().m_dX;
  Walk(2);
  Frames(200);
  cPlayerObj& p = ThePlayerObj();
  EXPECT_EQ(p.m_dX, x0 + 400);
  EXPECT_EQ(p.m_nFalling, 0);
  // The view centres the player: its left edge 320 - half the width before.
  EXPECT_EQ(Scene().m_ScrollX.m_dPos, p.m_dX - (320 - 8));
  // Faster than the stage lets anything move: six pixels a step.
  Walk(50);
  Frames(10);
  EXPECT_EQ(ThePlayerObj().m_dX, x0 + 460);
}

TEST_F(PlayStep, WallsStopAndLedgesDrop) {
  MakeStage(20, 15, 1);
  Floor(14);
  Block(6, 13);
  Block(6, 12);
  Player(2, 13);
  StartPlaying();
  Walk(3);
  Frames(60);
  cPlayerObj& p = ThePlayerObj();
  EXPECT_LT(p.m_dRight, (6 + 10) * 32);
  EXPECT_GE(p.m_dRight, (6 + 10) * 32 - 4);
  EXPECT_EQ(p.m_nTouchR, 1);
  EXPECT_EQ(p.m_nDying, 0);
  // Back the other way, off a ledge: a fall to the ground below.
  MakeStage(20, 15, 1);
  Floor(10, 0, 4);
  Floor(14);
  Player(2, 9);
  delete m_pScene;
  m_pScene = nullptr;
  StartPlaying();
  Walk(2);
  Frames(120);
  EXPECT_EQ(std::floor(ThePlayerObj().m_dBottom), (14 + 10) * 32 - 1);
  EXPECT_EQ(ThePlayerObj().m_nFalling, 0);
}

TEST_F(PlayStep, JumpsRiseToTheirHeightAndLand) {
  MakeStage(20, 15, 2);
  Floor(14);
  Player(2, 13);
  StartPlaying();
  cPlayerObj& p = ThePlayerObj();
  const double y0 = p.m_dY;
  const double v = p.JumpSpeedFromHeight(64);
  cFakeJump jump(0, 40, v);
  m_Probe.m_fnFlows = [&jump](cGameObj& o) { jump.Step(o); };
  g_Input.At(0).m_wButton = 1;
  const double dPeak = PeakOver(120);
  // A player's jump is a little lower than the height asked for.
  EXPECT_GT(y0 - dPeak, 55);
  EXPECT_LT(y0 - dPeak, 64);
  EXPECT_EQ(p.m_nFalling, 0);
  EXPECT_EQ(p.m_nJumping, 0);
  EXPECT_EQ(std::floor(p.m_dBottom), (14 + 10) * 32 - 1);
}

TEST_F(PlayStep, HeightByTheKeyAndByTheRunningSpeed) {
  MakeStage(20, 15, 2);
  Floor(14);
  Player(2, 13);
  // Kind 1: held for its whole time, or let go after two frames.
  double dHeld = 0, dCut = 0;
  for (int nHoldFrames : {40, 2}) {
    delete m_pScene;
    m_pScene = nullptr;
    StartPlaying();
    Frames(5);  // standing: a key held through a landing does not jump
    cPlayerObj& p = ThePlayerObj();
    const double y0 = p.m_dY;
    cFakeJump jump(1, 20, p.JumpSpeedFromHeight(80));
    m_Probe.m_fnFlows = [&jump](cGameObj& o) { jump.Step(o); };
    double dTop = y0;
    for (int f = 0; f < 100; ++f) {
      g_Input.At(0).m_wButton = f < nHoldFrames ? 1 : 0;
      Frames(1);
      dTop = std::min(dTop, p.m_dY);
    }
    (nHoldFrames == 40 ? dHeld : dCut) = y0 - dTop;
    EXPECT_EQ(p.m_nFalling, 0);
    m_Probe.m_fnFlows = nullptr;
  }
  EXPECT_GT(dHeld, 40);
  EXPECT_LT(dCut, dHeld / 2);
  // Kind 2: a running player jumps 6 blocks' halves, a standing one 2.
  double dFast = 0, dSlow = 0;
  for (double dPush : {1.5, 0.0}) {
    delete m_pScene;
    m_pScene = nullptr;
    StartPlaying();
    Frames(5);
    cPlayerObj& p = ThePlayerObj();
    const double y0 = p.m_dY;
    cFakeJump jump(2, 30, 0, {20, 6, 5, 2});
    m_Probe.m_fnFlows = [&jump, dPush](cGameObj& o) {
      o.m_dPushVX = dPush;
      jump.Step(o);
    };
    double dTop = y0;
    for (int f = 0; f < 60; ++f) {
      g_Input.At(0).m_wButton = 1;
      Frames(1);
      dTop = std::min(dTop, p.m_dY);
    }
    (dPush > 0 ? dFast : dSlow) = y0 - dTop;
    m_Probe.m_fnFlows = nullptr;
  }
  EXPECT_GT(dFast, 80);
  EXPECT_LT(dFast, 96);
  EXPECT_GT(dSlow, 25);
  EXPECT_LT(dSlow, 32);
}

TEST_F(PlayStep, CeilingsStopTheRise) {
  MakeStage(20, 15, 2);
  Floor(14);
  Block(2, 11);
  Player(2, 13);
  StartPlaying();
  cPlayerObj& p = ThePlayerObj();
  cFakeJump jump(0, 40, p.JumpSpeedFromHeight(64));
  bool bTouched = false;
  m_Probe.m_fnFlows = [&jump](cGameObj& o) { jump.Step(o); };
  g_Input.At(0).m_wButton = 1;
  double dTop = p.m_dY;
  for (int f = 0; f < 60; ++f) {
    Frames(1);
    dTop = std::min(dTop, p.m_dY);
    bTouched = bTouched || p.m_nTouchT;
  }
  EXPECT_TRUE(bTouched);
  EXPECT_GE(dTop, (11 + 10) * 32 + 32);
  EXPECT_EQ(p.m_nFalling, 0);
  EXPECT_EQ(p.m_nDying, 0);
}

TEST_F(PlayStep, TheScreenEdgeOfAnAutoScrollingStagePushesThePlayer) {
  MakeStage(60, 15, 2);
  g_Stage.m_nScrollKindX = 1;
  g_Stage.m_nAutoSpeedX = 20;  // two pixels a frame
  Floor(14);
  Player(2, 13);
  StartPlaying();
  EXPECT_EQ(Scene().m_ScrollX.m_dPos, 320);
  Frames(100);
  cPlayerObj& p = ThePlayerObj();
  EXPECT_EQ(Scene().m_ScrollX.m_dPos, 520);
  EXPECT_EQ(p.m_dX, 520);
  EXPECT_EQ(p.m_nTouchL, 1);
  // Pushed against a wall, the player is squeezed to death.
  Block(20, 13);
  Block(20, 12);
  g_StageCopy.m_nScrollKindX = 1;
  g_StageCopy.m_nAutoSpeedX = 20;
  Scene().SetStage(1, 0);
  Scene().m_nPhase = PLAYPHASE_PLAY;
  for (int n = 0; n < 400 && ThePlayerObj().m_nDying == 0; ++n) Frames(1);
  EXPECT_EQ(ThePlayerObj().m_nDying, 1);
}

TEST_F(PlayStep, ItemsAreTakenOnceOrOncePerTouch) {
  MakeStage(20, 15, 1);
  Floor(14);
  Player(2, 13);
  cEdItem& once = Item(2, 13);
  once.m_sSound = 5;
  cEdItem& again = Item(6, 13);
  again.m_cPickRule = 1;
  again.m_sSound = 6;
  cEdItem& never = Item(8, 13);
  never.m_cPickRule = 2;
  never.m_sSound = 7;
  StartPlaying();
  Requests().vecSounds.clear();
  Frames(1);
  EXPECT_EQ(Requests().vecSounds, std::vector<int>{5 + 16});
  EXPECT_EQ(g_ItemList.size(), 2u);
  // Over the second, off, and back; over the third.
  std::vector<int> sounds;
  for (double dSpeed : {2.0, -2.0, 2.0, 2.0}) {
    Walk(dSpeed);
    Requests().vecSounds.clear();
    Frames(64);
    sounds.insert(sounds.end(), Requests().vecSounds.begin(), Requests().vecSounds.end());
  }
  EXPECT_EQ(sounds, (std::vector<int>{6 + 16, 6 + 16}));
  EXPECT_EQ(g_ItemList.size(), 2u);
}

TEST_F(PlayStep, SpringsLaunchAndMovingFloorsCarry) {
  MakeStage(20, 15, 2);
  Floor(14);
  cEdBlock& spring = g_Stage.m_vecBlocks[2];
  spring.m_cSpecial = 1;
  spring.m_nSpecialParam = 4;  // 4 half blocks high
  Player(2, 13);
  StartPlaying();
  cPlayerObj& p = ThePlayerObj();
  const double y0 = p.m_dY;
  Requests().vecSounds.clear();
  const double dTop = PeakOver(30);
  EXPECT_EQ(Requests().vecSounds.front(), 10);
  EXPECT_GT(y0 - dTop, 55);
  EXPECT_LT(y0 - dTop, 64);

  // A floor moving right at 10 tenths a frame.
  MakeStage(20, 15, 2);
  Floor(14);
  for (int c = 0; c < 20; ++c) {
    g_Stage.m_vecBlocks[static_cast<size_t>(c)].m_cSpecial = 5;
    g_Stage.m_vecBlocks[static_cast<size_t>(c)].m_nSpecialParam = 10;
  }
  Player(2, 13);
  delete m_pScene;
  m_pScene = nullptr;
  StartPlaying();
  Frames(2);
  const double x0 = ThePlayerObj().m_dX;
  Frames(10);
  EXPECT_EQ(ThePlayerObj().m_dX, x0 + 10);
}

TEST_F(PlayStep, ItemBlocksGiveOnceASecondOrOnLandingAnew) {
  MakeStage(20, 15, 1);
  Floor(14);
  cEdItem given;
  given.m_sGraphic = 4;
  given.m_sSound = 3;
  g_Stage.m_vecPalItems.resize(2);
  g_Stage.m_vecPalItems[1] = given;
  cEdBlock& giver = g_Stage.m_vecBlocks[2];
  giver.m_cItemSrc = 2;  // the stage palette's ...
  giver.m_sItem = 1;     // ... item 1
  Player(2, 13);
  StartPlaying();
  Requests().vecSounds.clear();
  Frames(150);
  // At once, after a second, after another second.
  EXPECT_EQ(std::count(Requests().vecSounds.begin(), Requests().vecSounds.end(), 3 + 16), 3);
}

TEST_F(PlayStep, CharactersActByRangeAndByGroupSignals) {
  MakeStage(60, 15, 1);
  for (cStageParam8& rule : g_Stage.m_aRules) rule.Set(0, 0, 0, 0, 0, 0, 0, 0);
  Floor(14, 0, 19);
  Player(2, 13);
  cEdChara& signal = Chara(8, 5);  // on screen: raises group 3
  signal.m_cActGroupUsed = 1;
  signal.m_sActGroup = 3;
  cEdChara& grouped = Chara(50, 5);  // far off, in group 3
  grouped.m_cActGroupUsed = 1;
  grouped.m_sActGroup = 3;
  Chara(52, 5);  // far off, alone
  StartPlaying();
  std::vector<double> y0;
  for (const cCharaObj& c : g_CharaList) y0.push_back(c.m_dY);
  Frames(5);
  std::vector<int> moved;
  std::vector<int> now;
  size_t i = 0;
  for (const cCharaObj& c : g_CharaList) {
    moved.push_back(c.m_dY != y0[i++]);
    now.push_back(c.m_nActiveNow);
  }
  EXPECT_EQ(moved, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(now, (std::vector<int>{1, 1, 0}));
}

}  // namespace
