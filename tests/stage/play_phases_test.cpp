// The play scene's phases and the frames they take: fading in, the start
// captions, the pause menu and its entries, the stage end, the continue
// menu, the game-over wait and the hand-over to the next scene; the time
// limit, the play time and the buttons held over from a menu.
#include <gtest/gtest.h>

#include "play_fixture.h"

namespace {

class PlayPhases : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    Floor(14);
    Player(2, 13);
  }
  // Frames until the play phase, counted from the first Run.
  int FramesToPlay() {
    Start();
    int n = 1;
    while (Scene().m_nPhase != PLAYPHASE_PLAY && n < 1000) {
      Scene().Run();
      ++n;
    }
    return n;
  }
  void Press(uint16_t wButton) { g_Input.At(0).m_wButton = wButton; }
};

TEST_F(PlayPhases, StartCaptionsShowSeventyNineFramesEach) {
  struct Case {
    int bCaption1, bCaption2, nGameMode, bTestPlayFromFile;
    // Runs until play: set-up with the fade-in, the captions, and the
    // frame that starts play.
    int nFrames;
  } cases[] = {
      {0, 0, GAMEMODE_FREE, 0, 2},        {1, 0, GAMEMODE_FREE, 0, 2 + 79},
      {0, 1, GAMEMODE_FREE, 0, 2 + 79},   {1, 1, GAMEMODE_FREE, 0, 2 + 158},
      {1, 1, GAMEMODE_REPLAY, 0, 2 + 79},  // a replay shows its own caption only
      {1, 1, GAMEMODE_FREE, 1, 2},         // a test play of a file skips them
  };
  for (const Case& c : cases) {
    g_Stage.m_bStartCaption = c.bCaption1;
    g_Stage.m_bStartCaption2 = c.bCaption2;
    g_SceneManager.m_nGameMode = c.nGameMode;
    bTestPlay = bCommandLineStage = c.bTestPlayFromFile;
    if (c.nGameMode == GAMEMODE_REPLAY) {
      // A replay restarts from its file: one in memory will do here.
      g_KeyLog.Reset();
      for (int i = 0; i < 10; ++i) g_KeyLog.AddKey(0, 0);
    }
    delete m_pScene;
    m_pScene = nullptr;
    EXPECT_EQ(FramesToPlay(), c.nFrames) << c.bCaption1 << c.bCaption2 << c.nGameMode;
    EXPECT_EQ(Scene().m_nPhaseFrames, 0);
  }
}

TEST_F(PlayPhases, SpaceOpensThePauseAndCancelReturnsToWhereItWas) {
  FramesToPlay();
  Frames(5);
  EXPECT_EQ(Scene().m_nFrames, 5);
  plat::SetKeyDown(plat::VK_SPACE, true);
  Requests().vecSounds.clear();
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_PAUSE);
  EXPECT_EQ(Requests().vecSounds, std::vector<int>{4});
  EXPECT_EQ(Scene().m_nFrames, 5);  // the play stood still
  plat::SetKeyDown(plat::VK_SPACE, false);
  Frames(3);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_PAUSE);
  EXPECT_EQ(g_Cursor.Current().nRow, 1);  // on "resume"
  Press(2);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_PLAY);
  EXPECT_EQ(Scene().m_bHoldButton, 1);
  // The button that left the pause reaches nobody until it is let go.
  Press(2);
  Frames(1);
  EXPECT_EQ(g_Input.At(0).m_wButton, 0);
  Press(0);
  Frames(1);
  Press(1);
  Frames(1);
  EXPECT_EQ(g_Input.At(0).m_wButton, 1);
  EXPECT_EQ(Scene().m_nFrames, 8);
}

TEST_F(PlayPhases, PauseEntriesByPlayMode) {
  struct Case {
    int nSubMode, bRule, bCleared, nUsable;
  } cases[] = {
      {PLAYMODE_FREE, 0, 0, 3},      {PLAYMODE_REPLAY, 0, 0, 3}, {PLAYMODE_STORY, 1, 1, 4},
      {PLAYMODE_STORY, 1, 0, 2},     {PLAYMODE_STORY, 0, 1, 2},  {PLAYMODE_CHALLENGE, 1, 1, 3},
      {PLAYMODE_CHALLENGE, 1, 0, 2},
  };
  FramesToPlay();
  for (const Case& c : cases) {
    g_SceneManager.m_nSubMode = c.nSubMode;
    g_SystemData.m_bPauseRetryStory = g_SystemData.m_bPauseMapStory = c.bRule;
    g_SystemData.m_bPauseRetryChallenge = c.bRule;
    g_PlayData.m_nStageNo = 3;
    g_PlayData.m_vCleared.At(3) = c.bCleared;
    g_PlayData.m_vChallenge.assign(5, cChallengeRecord());
    g_PlayData.m_vChallenge.At(2).m_bCleared = c.bCleared;
    Scene().m_nPhase = PLAYPHASE_PAUSE;
    Scene().m_nSubStep = 0;
    Frames(1);
    EXPECT_EQ(cCmd::GetCmdCount(Scene().m_PauseMenu), c.nUsable)
        << c.nSubMode << c.bRule << c.bCleared;
  }
}

TEST_F(PlayPhases, PauseRetryAndTitle) {
  FramesToPlay();
  Frames(10);
  g_PlayData.m_vVars.At(5) = 77;  // changed during the attempt
  // Retry: the stage again from its start, the variables as they were.
  Scene().m_nPausedPhase = PLAYPHASE_PLAY;
  Scene().m_nPhase = PLAYPHASE_PAUSE;
  Scene().m_nSubStep = 0;
  g_Input.At(0).m_wDir = DIR_DOWN;  // from "resume" to "retry"
  Frames(1);
  g_Input.At(0).m_wDir = 0;
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_READY);
  EXPECT_EQ(Scene().m_nFrames, 0);
  EXPECT_EQ(g_PlayData.m_vVars.At(5), 0);
  EXPECT_EQ(Scene().m_bHoldButton, 1);
  // To the title: the fade-out hands over.
  Press(0);
  Frames(3);
  Scene().m_nPhase = PLAYPHASE_PAUSE;
  Scene().m_nSubStep = 0;
  g_Input.At(0).m_wDir = DIR_UP;
  Frames(1);
  g_Input.At(0).m_wDir = 0;
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_TITLE);
  EXPECT_EQ(TakeCloses(), 0);
  g_SceneManager.m_nGameMode = GAMEMODE_CHALLENGE;
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, -1);
  EXPECT_EQ(g_SceneManager.m_nCurrentScene, SCENE_TITLE);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_PLAY);
  EXPECT_EQ(g_SceneManager.m_nFrameRate, 60);
}

TEST_F(PlayPhases, TheTitleEntryOfAFileNamedAtStartClosesTheProgram) {
  bCommandLineStage = 1;
  FramesToPlay();
  Scene().m_nPhase = PLAYPHASE_PAUSE;
  Scene().m_nSubStep = 0;
  g_Input.At(0).m_wDir = DIR_UP;
  Frames(1);
  g_Input.At(0).m_wDir = 0;
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_FADEOUT);
  EXPECT_EQ(TakeCloses(), 1);
}

TEST_F(PlayPhases, StageEndClosesByItselfOrOnAButton) {
  struct Case {
    int bNoResult, bCaption, bButton;
    int nFrames;  // frames of phase 4, the one that ends it included
  } cases[] = {
      {1, 1, 0, 51},
      {1, 0, 0, 2},
      // A button pressed every other frame: in frame 2 (the first it may)...
      {0, 0, 1, 2},
      // ... and, with the caption, at its first press after frame 51.
      {0, 1, 1, 52},
  };
  for (const Case& c : cases) {
    g_Stage.m_bNoResult = c.bNoResult;
    g_Stage.m_bClearCaption = c.bCaption;
    delete m_pScene;
    m_pScene = nullptr;
    FramesToPlay();
    Scene().StageEnd();
    Scene().m_nPhase = PLAYPHASE_STAGEEND;
    Scene().m_nSubStep = 0;
    int n = 0;
    while (Scene().m_nPhase == PLAYPHASE_STAGEEND && n < 500) {
      Press(c.bButton && n % 2 == 1 ? 1 : 0);
      Scene().Run();
      ++n;
    }
    EXPECT_EQ(n, c.nFrames) << c.bNoResult << c.bCaption;
    EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_FADEOUT);
    // Free play: the same stage again.
    EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_PLAY);
  }
}

TEST_F(PlayPhases, ContinueAndGameOverWait) {
  FramesToPlay();
  Frames(4);
  // Continue, entry 0: the stage again.
  Scene().m_nPhase = PLAYPHASE_CONTINUE;
  Scene().m_nSubStep = 0;
  Frames(2);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_CONTINUE);
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_READY);
  EXPECT_EQ(Scene().m_nFrames, 0);
  // Entry 1: back to the world map at the saved place.
  Press(0);
  Scene().m_nPhase = PLAYPHASE_CONTINUE;
  Scene().m_nSubStep = 0;
  g_Input.At(0).m_wDir = DIR_DOWN;
  Frames(1);
  g_Input.At(0).m_wDir = 0;
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_WORLDMAP);
  EXPECT_EQ(g_PlayData.m_bReturnPos, 1);
  // The game-over wait takes the button as polled: held from play, it ends
  // the wait at once.
  Scene().m_nPhase = PLAYPHASE_WAITBUTTON;
  Press(1);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_TITLE);
}

TEST_F(PlayPhases, TheTimeLimitCountsDownEverySixtyFramesAndTheEndDefeatsThePlayer) {
  g_Stage.m_bTimeLimit = 1;
  g_Stage.m_nTimeLimit = 3;
  FramesToPlay();
  EXPECT_EQ(Scene().m_nTime, 3);
  Frames(59);
  EXPECT_EQ(Scene().m_nTime, 3);
  Frames(1);
  EXPECT_EQ(Scene().m_nTime, 2);
  Frames(60);
  EXPECT_EQ(Scene().m_nTime, 1);
  Requests().vecSounds.clear();
  Frames(60);
  EXPECT_EQ(Scene().m_nTime, 0);
  EXPECT_EQ(Requests().vecSounds, std::vector<int>{8});
  EXPECT_EQ(ThePlayerObj().m_nDying, 1);
  // No limit: 999 that never moves.
  g_Stage.m_bTimeLimit = g_StageCopy.m_bTimeLimit = 0;
  Scene().SetStage(1, 0);
  Scene().m_nPhase = PLAYPHASE_PLAY;
  Frames(200);
  EXPECT_EQ(Scene().m_nTime, 999);
}

TEST_F(PlayPhases, PlayTimeCountsHundredthsAndStopsAtItsLimit) {
  FramesToPlay();
  Frames(90);
  EXPECT_EQ(Scene().m_nPlayTime, 150);
  Scene().m_nPlayFrames = 359998;
  Scene().CountPlayTime();
  EXPECT_EQ(Scene().m_nPlayTime, 599998);
  Scene().CountPlayTime();
  EXPECT_EQ(Scene().m_nPlayTime, 599999);
  Scene().CountPlayTime();
  EXPECT_EQ(Scene().m_nPlayTime, 599999);
  EXPECT_EQ(Scene().m_nPlayFrames, 360000);
}

TEST_F(PlayPhases, AReplayThatRunsOutStartsAgain) {
  g_SceneManager.m_nGameMode = GAMEMODE_REPLAY;
  g_SceneManager.m_nSubMode = PLAYMODE_REPLAY;
  g_KeyLog.Reset();
  for (int i = 0; i < 30; ++i) g_KeyLog.AddKey(static_cast<int16_t>(i < 10 ? DIR_RIGHT : 0), 0);
  g_KeyLog.m_nSeed = 77;
  // Without a file to read again, the replay in memory plays on.
  g_Stage.m_strPath = "";
  FramesToPlay();
  EXPECT_EQ(Scene().m_nSeed, 77);
  Frames(30);
  EXPECT_EQ(Scene().m_nFrames, 30);
  EXPECT_EQ(g_Input.At(0).m_wDir, 0);
  Frames(1);
  EXPECT_EQ(Scene().m_nPhase, PLAYPHASE_READY);
  EXPECT_EQ(Scene().m_nFrames, 0);
}

TEST_F(PlayPhases, ACloseDuringAWaitIsPostedAgainByTheNextPlayFrame) {
  FramesToPlay();
  Scene().m_bCloseRequest = 1;
  Frames(1);
  EXPECT_EQ(TakeCloses(), 1);
  EXPECT_EQ(Scene().m_nFrames, 0);
}

}  // namespace
