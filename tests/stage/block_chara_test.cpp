// Block characters as terrain: landing on one and riding it, being lifted,
// squeezed, crushed and carried, and backing out of a wall it pushed into.
#include <gtest/gtest.h>

#include "stage/combat_fixture.h"

namespace {

class BlockCharas : public cCombatFixture {
 protected:
  // Character 0 is a walker (K), characters 1..nBlocks flying block
  // characters, all of size 32 x 32.
  cPlayScene& Setup(int nBlocks, bool bPlayerRides = false) {
    Player(1, 1).m_cFaction = 0;
    cEdChara& k = Chara(5, 5);
    Watch(k, {5, 6});
    for (int i = 0; i < nBlocks; ++i) {
      cEdChara& b = Chara(static_cast<int16_t>(8 + i), 5);
      b.m_cBlockLike = 1;
      b.m_cFlying = 1;
      Watch(b, {16, 17});
    }
    cPlayScene& scene = StartPlaying();
    for (cCharaObj& c : g_CharaList) {
      c.m_nActive = 1;
      Calm(c);
    }
    (void)bPlayerRides;
    return scene;
  }
  // Where an object stood when the step began, and where it stands now.
  static void Move(cGameObj& c, double x0, double y0, double x1, double y1) {
    Put(c, x0, y0);
    c.SavePosition();
    Put(c, x1, y1);
  }
};

TEST_F(BlockCharas, ACharacterLandsOnOneItFallsOnFastOrThatRisesIntoIt) {
  struct ROW {
    const char* what;
    double ky0, ky1, kvy;  // K's top before and after (from the block's top, less its height)
    double by0, bvy;       // the block's top before (now it stands at 600) and its speed
  };
  const ROW rows[] = {
      {"a fast fall", -10, 14, 24, 600, 0},
      {"a rising platform", 2, 2, 0, 610, -10},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(row.what);
    cPlayScene& scene = Setup(1);
    cCharaObj& k = Nth(0);
    cCharaObj& b = Nth(1);
    const double h = k.m_nHeight;
    Move(b, 480, row.by0, 480, 600);
    b.m_dVY = row.bvy;
    Move(k, 480, 600 - h + row.ky0, 480, 600 - h + row.ky1);
    k.m_dVY = row.kvy;
    EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), 0);
    EXPECT_EQ(k.m_nRiding, 1);
    EXPECT_EQ(k.m_nRideId, b.m_nId);
    EXPECT_DOUBLE_EQ(k.m_dY, 600 - h);
    EXPECT_EQ(k.m_dVY, 0);
    EXPECT_EQ(k.m_nTouchB, row.bvy < 0 ? 1 : 0);
    EXPECT_EQ(Fired(b), std::set<int>{17});  // a computer rider: not 16
    EXPECT_EQ(Fired(k), (std::set<int>{5, 6}));
    // Standing on: the ride goes on without a new start.
    Calm(b);
    b.ClearFlowFrameFlags();
    b.m_dVY = 0;
    Move(b, 480, 600, 480, 600);
    Move(k, 480, k.m_dY, 480, k.m_dY);
    EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), 0);
    EXPECT_EQ(k.m_nRiding, 1);
    EXPECT_TRUE(Fired(b).empty());
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
    MakeStage(20, 15, 1);
  }
}

TEST_F(BlockCharas, SqueezedFromBothSidesIsNotCrushedButFourCornersAre) {
  {
    cPlayScene& scene = Setup(2);
    cCharaObj& k = Nth(0);
    const double w = k.m_nWidth, wb = Nth(1).m_nWidth, hb = Nth(1).m_nHeight;
    // Both cover K's upper part, not its feet.
    const double by = 600 - hb + 12;
    Move(Nth(1), 480 - wb + 4, by, 480 - wb + 4, by);
    Move(Nth(2), 480 + w - 4, by, 480 + w - 4, by);
    Move(k, 480, 600, 480, 600);
    EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), 0);
    EXPECT_EQ(k.m_nTouchL + k.m_nTouchR, 0);
    EXPECT_DOUBLE_EQ(k.m_dY, 612);  // put under the first one
    delete m_pScene;
    m_pScene = nullptr;
  }
  g_Stage.Reset();
  MakeStage(20, 15, 1);
  {
    cPlayScene& scene = Setup(4);
    cCharaObj& k = Nth(0);
    const double w = k.m_nWidth, h = k.m_nHeight;
    const double wb = Nth(1).m_nWidth, hb = Nth(1).m_nHeight;
    const double spots[4][2] = {{480 - wb + 4, 600 - hb + 4},
                                {480 + w - 4, 600 - hb + 4},
                                {480 - wb + 4, 600 + h - 4},
                                {480 + w - 4, 600 + h - 4}};
    for (int i = 0; i < 4; ++i) Move(Nth(i + 1), spots[i][0], spots[i][1], spots[i][0], spots[i][1]);
    Move(k, 480, 600, 480, 600);
    EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), 2);
  }
}

TEST_F(BlockCharas, ARiderGainsItsPlatformsMotion) {
  cPlayScene& scene = Setup(1);
  cCharaObj& b = Nth(1);
  cPlayerObj& player = ThePlayerObj();
  Move(b, 480, 600, 480, 600);
  Move(player, 480, 568, 480, 568);
  player.m_nRiding = 1;
  player.m_nRideId = b.m_nId;
  player.m_RideSnap = RECTD{b.m_dX, b.m_dY, b.m_dRight, b.m_dBottom};
  Put(b, 486, 597);
  player.m_dVX = 1;
  player.m_dVY = 0;
  EXPECT_EQ(scene.CarryRider(player, g_CharaList), 0);
  EXPECT_DOUBLE_EQ(player.m_dVX, 7);
  EXPECT_DOUBLE_EQ(player.m_dVY, -3);  // the platform flies
  EXPECT_EQ(Fired(b), (std::set<int>{16, 17}));
  // A ride that has lost its platform carries nothing.
  player.m_nRideId = 12345;
  scene.CarryRider(player, g_CharaList);
  EXPECT_DOUBLE_EQ(player.m_dVX, 7);
}

TEST_F(BlockCharas, PushedIntoAWallItBacksOutAtMostOneAndAHalfPixels) {
  for (int16_t r = 0; r < 15; ++r) Block(8, r);  // a wall from x = 576
  cPlayScene& scene = Setup(1);
  cCharaObj& k = Nth(0);
  cCharaObj& b = Nth(1);
  const double w = k.m_nWidth;
  const double x = 576 - w;  // right edge just short of the wall
  Move(k, x, 600, x, 600);
  const double wb = b.m_nWidth;
  Move(b, x - wb - 20, 600, x - wb + 3, 600);  // its right edge 2 pixels into K
  b.m_dVX = 23;
  EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), 0);
  EXPECT_EQ(k.m_nTouchL, 1);
  EXPECT_EQ(k.m_nPushedAside, 1);
  EXPECT_NEAR(k.m_dX, x + 2, 1e-9);  // pushed 3.5 pixels, then 15 tenths back
}

TEST_F(BlockCharas, AFlyingCharacterWithBlockModeTwoDiesOnContact) {
  cPlayScene& scene = Setup(1);
  cCharaObj& k = Nth(0);
  Move(Nth(1), 480, 600, 480, 600);
  k.m_nFlying = 1;
  const double w = k.m_nWidth;
  for (int8_t cMode : {0, 1, 2}) {
    k.m_cBlockMode = cMode;
    Move(k, 480 + w - 4, 600, 480 + w - 4, 600);
    EXPECT_EQ(scene.ResolveBlockCharas(k, g_CharaList), cMode == 2 ? 2 : 0) << int{cMode};
  }
}

}  // namespace
