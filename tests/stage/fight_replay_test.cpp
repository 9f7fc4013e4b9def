// A fight played frame by frame: the player fires straight shots at a
// walker that charges it and a flyer that fires back, over a block
// character that moves under them. A digest of the whole play state after
// every play frame is kept in tests/data/stage/golden_fight_hashes.txt, so
// any change to what a fight does shows. After a deliberate change, record
// them again with
//   BRIMVALE_RECORD_GOLDEN=1 build/default/tests/test_stage --gtest_filter='Fight.*'
// and commit the new file with the change that explains it.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "flow/ed_move.h"
#include "flow/ed_shot.h"
#include "flow/flow.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "support/golden_digests.h"
#include "support/test_paths.h"

namespace {

constexpr int kFightFrames = 240;

cFlowCmd ShotCmd(int8_t cDirection, int32_t nPower, int8_t cImpact) {
  cFlowCmd cmd;
  cmd.m_cKind = 11;
  cmd.m_sTime = 10000;
  cmd.m_pShot = std::make_unique<cEdShot>();
  cEdShot& s = *cmd.m_pShot;
  s.m_cShotCount = 1;
  s.m_cDirection = cDirection;
  s.m_sSpeed = 40;
  s.m_nPower = nPower;
  s.m_cImpact = cImpact;
  s.m_cPassBlocks = 1;
  return cmd;
}

cFlowCmd MoveCmd(int8_t cDirection, int16_t sSpeed) {
  cFlowCmd cmd;
  cmd.m_cKind = 2;
  cmd.m_sTime = 10000;
  cmd.m_pMove = std::make_unique<cEdMove>();
  cmd.m_pMove->m_cDirection = cDirection;
  cmd.m_pMove->m_sSpeed = sSpeed;
  return cmd;
}

void AddFlow(cEdChara& def, cFlowCmd cmd) {
  cFlow flow;
  flow.m_cTrigger = 0;
  flow.m_vecCmds.push_back(std::move(cmd));
  def.m_vecFlows.push_back(std::move(flow));
}

class Fight : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    MakeStage(30, 15, 2);
    Floor(14);
    cEdChara& player = Player(2, 13);
    player.m_cFaction = 0;
    player.m_cMoveMirror = 1;  // facing right
    player.m_nMaxHP = 40;
    AddFlow(player, ShotCmd(0, 3, 2));
    cEdChara& walker = Chara(14, 13);
    walker.m_nMaxHP = 12;
    walker.m_nBodyPower = 4;
    walker.m_cBodyImpact = 3;
    walker.m_nScore = 100;
    AddFlow(walker, MoveCmd(2, 10));
    cEdChara& flyer = Chara(18, 13);
    flyer.m_cFlying = 1;
    flyer.m_nMaxHP = 30;
    flyer.m_nScore = 250;
    AddFlow(flyer, ShotCmd(2, 2, 1));
    cEdChara& platform = Chara(8, 11);
    platform.m_cBlockLike = 1;
    platform.m_cFlying = 1;
    AddFlow(platform, MoveCmd(3, 5));
    g_Stage.m_nOtherInvincible = 2;
  }

  std::vector<uint64_t> Play() {
    StartPlaying();
    std::vector<uint64_t> hashes;
    for (int i = 0; i < 4 * kFightFrames && static_cast<int>(hashes.size()) < kFightFrames; ++i) {
      const int32_t nFrame = Scene().m_nFrames;
      Scene().Run();
      if (Scene().m_nFrames != nFrame) hashes.push_back(HashPlayState(Scene()));
    }
    return hashes;
  }

  static std::string GoldenPath() { return TestDataDir() + "/stage/golden_fight_hashes.txt"; }
};

TEST_F(Fight, TheFightIsFoughtAndMatchesItsGoldenDigests) {
  const std::vector<uint64_t> hashes = Play();
  ASSERT_EQ(hashes.size(), static_cast<size_t>(kFightFrames));
  // It was a fight: shots flew, someone was defeated and scored, the player
  // was hurt.
  EXPECT_GT(Scene().m_nShotSerial, 20);
  EXPECT_GT(g_PlayData.m_nStageScore, 0);
  EXPECT_LT(ThePlayerObj().m_nHP, 40);
  EXPECT_EQ(TakeCloses(), 0);
  CheckGoldenDigests(hashes, GoldenPath(), "the fight of tests/stage/fight_replay_test.cpp");
}

TEST_F(Fight, TheSameFightTwiceIsTheSameFrameByFrame) {
  const std::vector<uint64_t> first = Play();
  delete m_pScene;
  m_pScene = nullptr;
  g_PlayData.Reset();
  g_PlayData.m_nLifeCount = 3;
  g_PlayData.m_nLives = 2;
  EXPECT_EQ(Play(), first);
}

}  // namespace
