// The bundled game's demo stage, played by its own flows: a scripted play
// (walk right to a coin, jump onto the low platform and its coins, jump from
// its edge onto the stones beyond) is recorded
// and played back as a replay with equal per-frame digests, and the hero
// really walks, leaves the ground, comes down again and gains score.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/fs/file_system.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "scenes/stage_start.h"
#include "support/default_game.h"

namespace {

constexpr int kFrames = 240;

// Player 1's keys in play frame f.
void ScriptInput(int f, cInput& input) {
  input.m_wDir = (f >= 10 && f < 150) ? DIR_RIGHT : 0;
  input.m_wButton = ((f >= 40 && f < 60) || (f >= 120 && f < 135)) ? 1 : 0;
}

struct TRACK {
  double dStartX = 0, dStartY = 0;
  double dMaxX = 0, dMinY = 1e9, dEndY = 0;
  int32_t nEndFalling = 1;
};

class DemoPlay : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    g_Stage.Reset();
    const std::string strStage = (DefaultGameFolder() / "data" / "stg4" / "demo.stg4_783").string();
    ASSERT_EQ(g_Stage.Load(strStage), 1) << strStage;
    ASSERT_TRUE(g_Stage.HasPlayer());
  }

  std::vector<uint64_t> Play(int nPlayFrames, bool bRecord, TRACK* pTrack) {
    delete m_pScene;
    m_pScene = nullptr;
    Start();
    std::vector<uint64_t> hashes;
    int32_t nLastFrame = -1;
    for (int nRuns = 0; static_cast<int>(hashes.size()) < nPlayFrames && nRuns < 10 * nPlayFrames;
         ++nRuns) {
      const bool bPlay = Scene().m_nPhase == PLAYPHASE_PLAY;
      if (bRecord && bPlay) ScriptInput(static_cast<int>(hashes.size()), g_Input.At(0));
      Scene().Run();
      if (!bPlay || Scene().m_nPhase != PLAYPHASE_PLAY || Scene().m_nFrames == nLastFrame) continue;
      nLastFrame = Scene().m_nFrames;
      hashes.push_back(HashPlayState(Scene()));
      const cPlayerObj& p = ThePlayerObj();
      if (pTrack) {
        if (hashes.size() == 1) pTrack->dStartX = p.m_dX, pTrack->dStartY = p.m_dY;
        pTrack->dMaxX = std::max(pTrack->dMaxX, p.m_dX);
        pTrack->dMinY = std::min(pTrack->dMinY, p.m_dY);
        pTrack->dEndY = p.m_dY;
        pTrack->nEndFalling = p.m_nFalling;
      }
    }
    return hashes;
  }
};

TEST_F(DemoPlay, AScriptedPlayMovesTheHeroAndReplaysExactly) {
  cTempFolder project(true);
  g_SystemData.m_bReplayRecord = 1;
  TRACK track;
  const std::vector<uint64_t> recorded = Play(kFrames, true, &track);
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kFrames));
  EXPECT_EQ(ThePlayerObj().m_nDying, 0);
  // Walked right by several blocks, rose well off the ground, stands again.
  EXPECT_GT(track.dMaxX - track.dStartX, 10 * 32);
  EXPECT_GT(track.dStartY - track.dMinY, 48);
  EXPECT_EQ(track.nEndFalling, 0);
  EXPECT_LE(track.dEndY, track.dStartY + 1);
  // Coins were taken on the way.
  EXPECT_GE(g_PlayData.m_nStageScore, 30);

  plat::fs::MakeDirectory("user_data");
  ASSERT_EQ(g_KeyLog.SaveReplay("user_data\\demo.rpl4_783", g_Stage, g_StageCopy, g_PlayDataStart),
            1);
  ASSERT_EQ(StartStageFile("user_data\\demo.rpl4_783", 0), 1);
  ASSERT_EQ(g_SceneManager.m_nGameMode, GAMEMODE_REPLAY);
  plat::SetTestClock(777);
  const std::vector<uint64_t> replayed = Play(kFrames, false, nullptr);
  ASSERT_EQ(replayed.size(), recorded.size());
  for (int f = 0; f < kFrames; ++f) ASSERT_EQ(replayed[f], recorded[f]) << "frame " << f;
  EXPECT_EQ(TakeCloses(), 0);
}

}  // namespace
