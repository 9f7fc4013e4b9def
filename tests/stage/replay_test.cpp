// Replays reproduce the play exactly: a scripted play of a stage built in
// code is recorded with its key log, saved as a replay file, loaded again
// and played back, and a digest of the whole play state must agree after
// every play frame; so must the replay's second round, after its log ran
// out and it started again, and a playback paused half way for a while.
//
// The digests of the scripted play are also kept in
// tests/data/stage/golden_play_hashes.txt, so that any change to what the
// play does shows. After a deliberate change, record them again with
//   BRIMVALE_RECORD_GOLDEN=1 build/default/tests/test_stage --gtest_filter='Replay.*'
// and commit the new file with the change that explains it.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/run_options.h"
#include "draw/built_in_tables.h"
#include "flow/key_cond.h"
#include "platform/fs/file_system.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "scenes/stage_start.h"
#include "stage/flow_state.h"
#include "support/golden_digests.h"
#include "support/draw_setup.h"
#include "support/test_paths.h"

namespace {

constexpr int kReplayFrames = 300;

// The flows of the scripted player, driven by its input record (as its
// flows would be by their key conditions): left and right walk, button 2
// runs, button 1 jumps for as long as it is held.
class cScriptedFlows {
 public:
  cScriptedFlows() {
    m_Jump.m_vecParams.assign(5, 0);
    m_Jump.m_vecParams[0] = 1;  // height by the key
    cKeyCond key;
    key.m_vecKeys.At(11) = 1;
    m_Flow.m_vecKeys.push_back(key);
    m_State.m_pFlow = &m_Flow;
  }
  void Step(cGameObj& obj) {
    if (obj.m_nControl != 0) return;
    cPlayerObj& player = static_cast<cPlayerObj&>(obj);
    const cInput& input = *player.m_pInput;
    const double dDir = (input.m_wDir & DIR_RIGHT) ? 1 : (input.m_wDir & DIR_LEFT) ? -1 : 0;
    if (input.m_wButton & 2)
      player.m_dPushVX = dDir * 1.5;
    else
      player.m_dVX = dDir * 2;
    const bool bDown = (input.m_wButton & 1) != 0;
    if (bDown && !m_bWasDown && !m_bRunning) {
      m_bRunning = true;
      m_State.m_vecCmds.assign(1, cCmdState{});
      cCmdState& cmd = m_State.m_vecCmds.At(0);
      cmd.m_pCmd = &m_Jump;
      cmd.m_nDuration = 24;
      cmd.m_dSpeed = player.JumpSpeedFromHeight(72);
      cmd.m_nRemain = 24;
    }
    m_bWasDown = bDown;
    if (!m_bRunning) return;
    player.Jump(m_State.m_vecCmds.At(0), &m_State);
    if (m_State.m_vecCmds.At(0).m_nRemain == 0) m_bRunning = false;
  }

 private:
  cFlowCmd m_Jump;
  cFlow m_Flow;
  cFlowState m_State;
  bool m_bRunning = false;
  bool m_bWasDown = false;
};

// Player 1's keys in play frame f of the script.
void ReplayScriptInput(int f, cInput& input) {
  uint16_t wDir = 0, wButton = 0;
  if (f >= 10 && f < 200) wDir = DIR_RIGHT;
  if (f >= 200 && f < 240) wDir = DIR_LEFT;
  if (f >= 255) wDir = DIR_RIGHT;
  if ((f >= 40 && f < 60) || (f >= 150 && f < 153) || (f >= 260 && f < 285)) wButton |= 1;
  if (f >= 100 && f < 140) wButton |= 2;
  input.m_wDir = wDir;
  input.m_wButton = wButton;
}

class Replay : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    BuildStage();
    m_Probe.m_fnFlows = [this](cGameObj& o) { m_pFlows->Step(o); };
  }

  // A stage of everything that moves without a flow: platforms, a gap, a
  // spring, a moving floor, items to take once and on every touch, an item
  // block, characters that fall and wake as the camera comes, a block
  // character, and a time limit.
  static void BuildStage() {
    MakeStage(60, 15, 2);
    g_Stage.m_bTimeLimit = 1;
    g_Stage.m_nTimeLimit = 100;
    Floor(14, 0, 33);
    Floor(14, 36, 59);
    for (int16_t c = 12; c < 16; ++c) Block(c, 10);
    g_Stage.m_vecBlocks[25].m_cSpecial = 1;  // a spring at column 25
    g_Stage.m_vecBlocks[25].m_nSpecialParam = 3;
    for (size_t c = 28; c < 31; ++c) {
      g_Stage.m_vecBlocks[c].m_cSpecial = 5;  // moving right
      g_Stage.m_vecBlocks[c].m_nSpecialParam = 15;
    }
    cEdItem given;
    given.m_sGraphic = 4;
    g_Stage.m_vecPalItems.resize(2);
    g_Stage.m_vecPalItems[1] = given;
    g_Stage.m_vecBlocks[8].m_cItemSrc = 2;
    g_Stage.m_vecBlocks[8].m_sItem = 1;
    Player(2, 13);
    Chara(18, 5);
    Chara(22, 11).m_cBlockLike = 1;
    Chara(45, 8).m_cExtraCopies = 2;
    Item(5, 13);
    Item(10, 13).m_cPickRule = 1;
    Item(20, 9);
  }

  // Plays from a fresh scene, taking the digest after every play frame;
  // input comes from the script while recording, from the log in a replay.
  // bPause: Space is held for 50 frames after play frame 120.
  std::vector<uint64_t> Play(int nPlayFrames, bool bRecord, bool bPause = false) {
    cScriptedFlows flows;
    m_pFlows = &flows;
    delete m_pScene;
    m_pScene = nullptr;
    Start();
    std::vector<uint64_t> hashes;
    int nPauseFrames = 0;
    for (int nRuns = 0; static_cast<int>(hashes.size()) < nPlayFrames && nRuns < 10 * nPlayFrames;
         ++nRuns) {
      const bool bPlay = Scene().m_nPhase == PLAYPHASE_PLAY;
      if (bRecord && bPlay) ReplayScriptInput(static_cast<int>(hashes.size()), g_Input.At(0));
      if (bPause && hashes.size() == 120) {
        plat::SetKeyDown(plat::VK_SPACE, nPauseFrames < 50);
        // Out of the pause with the cancel button.
        g_Input.At(0).m_wButton = nPauseFrames == 50 ? 2 : 0;
        ++nPauseFrames;
      }
      Scene().Run();
      if (bPlay && Scene().m_nPhase == PLAYPHASE_PLAY && Scene().m_nFrames > 0 &&
          (hashes.empty() || Scene().m_nFrames != m_nLastFrame)) {
        m_nLastFrame = Scene().m_nFrames;
        hashes.push_back(HashPlayState(Scene()));
      }
    }
    m_pFlows = nullptr;
    return hashes;
  }

  static std::string GoldenPath() { return TestDataDir() + "/stage/golden_play_hashes.txt"; }

  cScriptedFlows* m_pFlows = nullptr;
  int32_t m_nLastFrame = 0;
};

TEST_F(Replay, APlayAndItsReplayAgreeFrameByFrame) {
  cTempFolder project(true);
  g_SystemData.m_bReplayRecord = 1;
  const std::vector<uint64_t> recorded = Play(kReplayFrames, true);
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kReplayFrames));
  EXPECT_EQ(ThePlayerObj().m_nDying, 0);
  ASSERT_EQ(g_KeyLog.m_nSeed, 4321);
  plat::fs::MakeDirectory("user_data");
  ASSERT_EQ(g_KeyLog.SaveReplay("user_data\\play.rpl4_783", g_Stage, g_StageCopy, g_PlayDataStart),
            1);

  // Played back: the same digests, then, the log used up, the same again.
  ASSERT_EQ(StartStageFile("user_data\\play.rpl4_783", 0), 1);
  ASSERT_EQ(g_SceneManager.m_nGameMode, GAMEMODE_REPLAY);
  plat::SetTestClock(777);  // a replay takes no seed from the clock
  std::vector<uint64_t> replayed = Play(2 * kReplayFrames, false);
  ASSERT_EQ(replayed.size(), static_cast<size_t>(2 * kReplayFrames));
  for (int f = 0; f < kReplayFrames; ++f) {
    ASSERT_EQ(replayed[f], recorded[f]) << "frame " << f;
    ASSERT_EQ(replayed[kReplayFrames + f], recorded[f]) << "second round, frame " << f;
  }
  // A pause half way changes nothing the replay plays.
  ASSERT_EQ(StartStageFile("user_data\\play.rpl4_783", 0), 1);
  replayed = Play(kReplayFrames, false, true);
  EXPECT_EQ(replayed, recorded);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Replay, TheScriptedPlayMatchesItsGoldenDigests) {
  g_SystemData.m_bReplayRecord = 1;
  const std::vector<uint64_t> hashes = Play(kReplayFrames, true);
  ASSERT_EQ(hashes.size(), static_cast<size_t>(kReplayFrames));
  CheckGoldenDigests(hashes, GoldenPath(), "the scripted play of tests/stage/replay_test.cpp");
}

TEST_F(Replay, LeavingThePixelsOutChangesNothingThePlayDoes) {
  cHeadlessDrawing drawing(1, 32);
  // Pictures for the status bar, the time and the items to be drawn from.
  const int kBlank[][3] = {{43, 256, 256}, {46, 640, 20}, {49, 128, 192}, {51, 320, 192}};
  for (const auto& b : kBlank)
    ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[b[0]], b[1], b[2], 1, 0, 0, 0, 0));
  g_SystemData.m_bReplayRecord = 1;
  const std::vector<uint64_t> drawn = Play(kReplayFrames, true);
  ASSERT_FALSE(SkipsRaster());
  g_RunOptions.bHeadless = true;
  ASSERT_TRUE(SkipsRaster());
  const std::vector<uint64_t> skipped = Play(kReplayFrames, true);
  g_RunOptions.bHeadless = false;
  for (const auto& b : kBlank) DDReleaseSurface(&g_SurfaceTable[b[0]]);
  ASSERT_EQ(drawn.size(), static_cast<size_t>(kReplayFrames));
  EXPECT_EQ(skipped, drawn);
  EXPECT_EQ(TakeCloses(), 0);
}

}  // namespace
