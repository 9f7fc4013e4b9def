// The waits that stop the play while the screen goes on: the waiting loop
// on the pause thread, with the main window on a thread of its own as in
// the program. Each wait's length and end (a button press after its delay,
// or its frames), what a message wait does to its flow, the extra-life
// notices, a close during a wait, and a wait asked for inside a wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>
#include <set>
#include <thread>

#include "base/frame_limit.h"
#include "base/run_options.h"
#include "base/thread.h"
#include "database/database.h"
#include "database/post_load_tables.h"
#include "flow/command_catalogue.h"
#include "platform/fs/file_system.h"
#include "play_fixture.h"
#include "play_state_hash.h"
#include "scenes/stage_start.h"
#include "stage/player_obj.h"
#include "draw/built_in_tables.h"
#include "support/default_game.h"
#include "support/draw_setup.h"
#include "stage/text_obj.h"
#include "window_thread.h"

namespace {

constexpr int kLoopButton1 = 'Z';

// The test clock sped on from a thread of its own, 100 ms every 2 ms, so a
// wait measured in seconds passes at once; stopped when it goes.
class cRunningTestClock {
 public:
  cRunningTestClock()
      : m_Thread([this] {
          while (!m_bDone) {
            plat::SleepMs(2);
            plat::AdvanceTestClock(100);
          }
        }) {}
  ~cRunningTestClock() {
    m_bDone = true;
    m_Thread.join();
  }

 private:
  std::atomic<bool> m_bDone{false};
  std::thread m_Thread;
};

class WaitLoop : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    m_pWindow = std::make_unique<cWindowThread>();
    g_hMainWnd = m_pWindow->Handle();
    bAppActive = 1;
    g_RunOptions.bNoWait = true;
    m_Probe.m_fnWaitFrame = [this] {
      ++m_nWaitFrames;
      plat::SetKeyDown(kLoopButton1, m_Down.count(m_nWaitFrames) != 0);
      if (m_fnOnFrame) m_fnOnFrame(m_nWaitFrames);
    };
  }
  void TearDown() override {
    m_Probe.m_fnWaitFrame = nullptr;
    g_RunOptions.bNoWait = false;
    bAppActive = 0;
    m_pWindow.reset();
    g_hMainWnd = m_hWnd;
    cPlayFixture::TearDown();
  }

  // Runs the wait as it is set on the scene; the frames it drew.
  int RunWait(int bPostStart = 0) {
    m_nWaitFrames = 0;
    const int nBefore = GetFramesRun();
    Scene().RunWait(bPostStart);
    return GetFramesRun() - nBefore;
  }
  // A player on a floor, the play started.
  void StartOnAFloor() {
    Floor(14);
    Player(3, 13);
    StartPlaying();
  }
  // Button 1 down in these frames of a wait (from 1).
  void Down(int nFrom, int nTo) {
    for (int f = nFrom; f <= nTo; ++f) m_Down.insert(f);
  }

  std::unique_ptr<cWindowThread> m_pWindow;
  int m_nWaitFrames = 0;
  std::set<int> m_Down;
  std::function<void(int)> m_fnOnFrame;

  // The closes the window took of all that was posted to it so far.
  int ClosesTaken() {
    m_pWindow->Settle();
    return cWindowThread::Closes();
  }
};

TEST_F(WaitLoop, EachWaitDrawsUntilItsButtonOrItsTime) {
  struct Case {
    const char* szName;
    WAITDATA wait;
    std::vector<std::pair<int, int>> down;  // frames of the wait with button 1 down
    int nDrawn;                             // frames drawn and shown
    std::vector<int> sounds;                // played as it ended
    int bHold;                              // the play ignores the buttons until released
  };
  auto Set = [](int nKind, int bButton, int nFrames, int bNoDelay) {
    WAITDATA w;
    SetWaitData(w, nKind, bButton, nFrames, bNoDelay);
    return w;
  };
  const Case cases[] = {
      {"a game wait of 10 tenths", {WAIT_GAME, 0, 0, 60, 0}, {}, 60, {}, 0},
      {"an effect's frames", Set(WAIT_EFFECT, 0, 30, 0), {{1, 40}}, 30, {}, 0},
      {"a timed wait of 0 frames", Set(WAIT_MESSAGE, 0, 0, 0), {}, 0, {}, 0},
      {"negative frames", {WAIT_GAME, 0, 0, -5, 0}, {}, 0, {}, 0},
      {"the least frames there are", {WAIT_GAME, 0, 0, INT_MIN, 0}, {}, 0, {}, 0},
      // A key-wait message: a button held as it opens, and a press in its
      // first 10 frames, count for nothing; the next press ends it.
      {"a message waiting for a press",
       Set(WAIT_MESSAGE, 1, 0, 0),
       {{1, 4}, {8, 9}, {17, 20}},
       16,
       {12},
       1},
      {"a press just after the delay", Set(WAIT_MESSAGE, 1, 0, 0), {{11, 11}}, 10, {12}, 1},
      // Right after another key-wait message of its flow: no delay.
      {"a message following one", Set(WAIT_MESSAGE, 1, 0, 1), {{1, 3}}, 0, {12}, 1},
      // A picture's key wait has no delay: a button held from the start ends it.
      {"a picture waiting for a press", Set(WAIT_PICTURE, 1, 0, 0), {{1, 9}}, 0, {1}, 1},
  };
  StartOnAFloor();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    m_Down.clear();
    for (auto [a, b] : c.down) Down(a, b);
    Scene().m_Wait = c.wait;
    Scene().m_bHoldButton = 0;
    const int32_t nFrames = Scene().m_nFrames;
    const cInput before = g_Input.At(0);
    EXPECT_EQ(RunWait(), c.nDrawn);
    EXPECT_EQ(cWindowThread::TakeSounds(), c.sounds);
    EXPECT_EQ(Scene().m_bHoldButton, c.bHold);
    // The play stood still, and its input was left alone.
    EXPECT_EQ(Scene().m_nFrames, nFrames);
    EXPECT_EQ(g_Input.At(0).m_wButton, before.m_wButton);
    EXPECT_EQ(g_Input.At(0).GetPastValue(1, 0), before.GetPastValue(1, 0));
  }
  plat::ReleaseAllKeys();
  EXPECT_EQ(cWindowThread::Closes(), 0) << m_Dir.Read("Report_Game.txt");
}

// A flow: a message waiting for button 1, then stage variable 1 set.
cFlow MessageThenMark(int32_t nDisplay, int32_t nTenths) {
  cFlow flow;
  cFlowCmd message;
  message.m_cKind = 19;
  message.m_vecParams.assign(18, 0);
  message.m_vecParams[6] = nDisplay;
  message.m_vecParams[7] = nTenths;
  message.m_vecParams[8] = 1;  // wait
  message.m_strText = "hello";
  flow.m_vecCmds.push_back(std::move(message));
  cFlowCmd mark;
  mark.m_cKind = 22;
  mark.m_vecParams.assign(18, 0);
  mark.m_vecParams[0] = 1;  // a variable
  mark.m_vecParams[1] = 1;  // of the stage
  mark.m_vecParams[2] = 1;
  mark.m_vecParams[7] = 7;
  flow.m_vecCmds.push_back(std::move(mark));
  return flow;
}

TEST_F(WaitLoop, AMessageWaitHoldsItsStepAndTheFlowGoesOnInIt) {
  struct Case {
    const char* szName;
    int32_t nDisplay, nTenths;
    int nDown;  // the wait frame button 1 goes down in; 0 none
    int nDrawn;
    std::vector<int> sounds;  // the opening one, and the closing one
  };
  const Case cases[] = {
      {"until a press", 0, 0, 15, 14, {11, 12}},
      {"for a time", 2, 3, 0, 18, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    MakeStage(20, 15, 2);
    Floor(14);
    Player(3, 13).m_vecFlows.push_back(MessageThenMark(c.nDisplay, c.nTenths));
    m_Down.clear();
    if (c.nDown) Down(c.nDown, c.nDown);
    int32_t nTextsInWait = -1;
    m_fnOnFrame = [&](int) { nTextsInWait = static_cast<int32_t>(Scene().m_TextList.size()); };
    StartPlaying();
    cWindowThread::TakeSounds();
    m_nWaitFrames = 0;
    const int nBefore = GetFramesRun();
    const int32_t nFrame = Scene().m_nFrames;
    Frames(1);
    EXPECT_EQ(GetFramesRun() - nBefore, c.nDrawn);
    EXPECT_EQ(nTextsInWait, 1);
    // The command after the message ran in the frame the wait began in,
    // and the text went with the wait.
    EXPECT_EQ(Scene().m_nFrames, nFrame + 1);
    EXPECT_EQ(Scene().m_StageVar.At(1), 7);
    EXPECT_TRUE(Scene().m_TextList.empty());
    EXPECT_EQ(cWindowThread::TakeSounds(), c.sounds);
    delete m_pScene;
    m_pScene = nullptr;
  }
  m_fnOnFrame = nullptr;
  plat::ReleaseAllKeys();
}

// An item's list of messages that wait for a press: the first opens with
// its sound and grows in, the later ones open plainly, in every list.
TEST_F(WaitLoop, AnItemsMessagesOpenOnceAList) {
  CMD_VECTOR cmds;
  for (const char* szText : {"ONE", "TWO"}) {
    cFlowCmd cmd;
    cmd.m_cCmdSet = 1;
    cmd.m_cKind = ItemCmdKind(CMD_MESSAGE);
    cmd.m_vecParams.assign(18, 0);
    cmd.m_vecParams[6] = TEXTSHOW_UNTIL_KEY;
    cmd.m_vecParams[8] = 1;  // wait
    cmd.m_strText = szText;
    cmds.push_back(cmd);
  }
  StartOnAFloor();
  // The text each wait shows, at the wait's first frame (the second wait
  // begins on the frame after the first one's press).
  std::vector<int32_t> growIns;
  for (int nList = 0; nList < 2; ++nList) {
    SCOPED_TRACE(nList);
    growIns.clear();
    cWindowThread::TakeSounds();
    m_nWaitFrames = 0;
    m_Down.clear();
    Down(15, 15);
    Down(35, 35);
    const int nBefore = GetFramesRun();
    m_fnOnFrame = [&](int nFrame) {
      if ((nFrame == 1 || nFrame == 16) && !Scene().m_TextList.empty())
        growIns.push_back(Scene().m_TextList.back().m_bGrowIn);
    };
    EXPECT_EQ(ThePlayerObj().RunItemCommands(cmds, nullptr), 0);
    EXPECT_GT(GetFramesRun(), nBefore);
    EXPECT_EQ(growIns, (std::vector<int32_t>{1, 0}));
    const std::vector<int> sounds = cWindowThread::TakeSounds();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), 11), 1);
  }
  m_fnOnFrame = nullptr;
  plat::ReleaseAllKeys();
}

// A flow: the command given, then stage variable 1 set.
cFlow ThenMark(cFlowCmd first) {
  cFlow flow = MessageThenMark(0, 0);
  flow.m_vecCmds[0] = std::move(first);
  return flow;
}

cFlowCmd Command(eCmdKind eKind, std::vector<int32_t> params) {
  cFlowCmd cmd;
  cmd.m_cKind = static_cast<uint8_t>(eKind);
  cmd.m_vecParams.assign(params.begin(), params.end());
  return cmd;
}

TEST_F(WaitLoop, EffectsPicturesAndGameWaitsHoldTheirStepAndTheFlowGoesOn) {
  struct Case {
    const char* szName;
    cFlowCmd cmd;
    int nDown;  // the wait frame button 1 goes down in; 0 none
    int nDrawn;
    std::vector<int> sounds;
    size_t nEffects, nPictures;  // shown during the wait
    size_t nPicturesAfter;
  };
  const Case cases[] = {
      {"a game wait of 10 tenths", Command(CMD_GAME_WAIT, {10}), 0, 60, {}, 0, 0, 0},
      // Frames of 2 and 3 tenths: 30 frames.
      {"an effect that waits", Command(CMD_EFFECT, {1, 0, 0, 0, 0, 0, 100, 1}), 0, 30, {}, 1, 0, 0},
      {"a picture for 4 tenths",
       Command(CMD_PICTURE, {1, 0, 0, 0, 0, 0, 0, 100, 2, 4, 1, 0, 0, 0, 0}), 0, 24, {}, 0, 1, 0},
      // A picture's key wait has no delay.
      {"a picture until a press",
       Command(CMD_PICTURE, {1, 0, 0, 0, 0, 0, 0, 100, 0, 0, 1, 0, 0, 0, 0}), 5, 4, {1}, 0, 1, 0},
      {"a game wait of no time", Command(CMD_GAME_WAIT, {0}), 0, 0, {}, 0, 0, 0},
      {"a game wait of negative time", Command(CMD_GAME_WAIT, {-40}), 0, 0, {}, 0, 0, 0},
  };
  const cSafeVector<cEdEffect> savedEffects = Database.m_vecEffect;
  const cSafeVector<cEdPicture> savedPictures = Database.m_vecPicture;
  Database.m_vecEffect.resize(2);
  Database.m_vecEffect[1].m_vecFrame.resize(2);
  Database.m_vecEffect[1].m_vecFrame[0].m_nTime = 2;
  Database.m_vecEffect[1].m_vecFrame[1].m_nTime = 3;
  Database.m_vecPicture.resize(2);
  BuildEffectFrameTable(g_EffectFrameTable);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    MakeStage(20, 15, 2);
    Floor(14);
    Player(3, 13).m_vecFlows.push_back(ThenMark(c.cmd));
    m_Down.clear();
    if (c.nDown) Down(c.nDown, c.nDown);
    size_t nEffects = 0, nPictures = 0;
    m_fnOnFrame = [&](int) {
      nEffects = std::max(nEffects, Scene().m_EffectList.size());
      nPictures = std::max(nPictures, Scene().m_PictureList.size());
    };
    StartPlaying();
    cWindowThread::TakeSounds();
    m_nWaitFrames = 0;
    const int nBefore = GetFramesRun();
    const int32_t nFrame = Scene().m_nFrames;
    Frames(1);
    EXPECT_EQ(GetFramesRun() - nBefore, c.nDrawn);
    EXPECT_EQ(nEffects, c.nEffects);
    EXPECT_EQ(nPictures, c.nPictures);
    // The command after ran in the frame the wait began in.
    EXPECT_EQ(Scene().m_nFrames, nFrame + 1);
    EXPECT_EQ(Scene().m_StageVar.At(1), 7);
    EXPECT_EQ(Scene().m_PictureList.size(), c.nPicturesAfter);
    EXPECT_TRUE(Scene().m_TextList.empty());
    EXPECT_EQ(cWindowThread::TakeSounds(), c.sounds);
    delete m_pScene;
    m_pScene = nullptr;
  }
  Database.m_vecEffect = savedEffects;
  Database.m_vecPicture = savedPictures;
  BuildEffectFrameTable(g_EffectFrameTable);
  m_fnOnFrame = nullptr;
  plat::ReleaseAllKeys();
  EXPECT_EQ(cWindowThread::Closes(), 0) << m_Dir.Read("Report_Game.txt");
}

// A play whose computer character, again and again, waits a while, shows
// a message until a press, an effect, a picture for a time and stops the
// game: recorded, replayed from its file, and run without pixels, the
// digests of the play frames agree.
TEST_F(WaitLoop, PlaysWithWaitsReplayAndRunHeadlessAlike) {
  constexpr int kPlayFrames = 240;
  const cSafeVector<cEdEffect> savedEffects = Database.m_vecEffect;
  const cSafeVector<cEdPicture> savedPictures = Database.m_vecPicture;
  Database.m_vecEffect.resize(2);
  Database.m_vecEffect[1].m_vecFrame.resize(1);
  Database.m_vecPicture.resize(2);
  BuildEffectFrameTable(g_EffectFrameTable);
  MakeStage(30, 15, 2);
  Floor(14);
  Player(3, 13);
  cFlow flow;
  cFlowCmd pause = Command(CMD_WAIT, {});
  pause.m_sTime = 5;
  flow.m_vecCmds.push_back(pause);
  cFlowCmd message = MessageThenMark(0, 0).m_vecCmds[0];
  flow.m_vecCmds.push_back(message);
  flow.m_vecCmds.push_back(Command(CMD_EFFECT, {1, 1, 0, 0, 0, 0, 100, 1}));
  flow.m_vecCmds.push_back(Command(CMD_PICTURE, {1, 0, 0, 0, 0, 0, 0, 100, 2, 2, 1, 0, 0, 0, 0}));
  flow.m_vecCmds.push_back(Command(CMD_GAME_WAIT, {3}));
  Chara(8, 13).m_vecFlows.push_back(flow);
  // The player walks by its input, as its flows would move it.
  m_Probe.m_fnFlows = [](cGameObj& o) {
    if (o.m_nControl != 0) return;
    const cInput& input = *static_cast<cPlayerObj&>(o).m_pInput;
    o.m_dVX = (input.m_wDir & DIR_RIGHT) ? 2 : (input.m_wDir & DIR_LEFT) ? -2 : 0;
  };
  // Every wait's press comes on the 12th frame of the wait.
  m_fnOnFrame = nullptr;
  int nWaitStart = 0;
  m_Probe.m_fnWaitFrame = [&] {
    ++m_nWaitFrames;
    if (Scene().m_Wait.nKind != WAIT_MESSAGE) nWaitStart = m_nWaitFrames;
    plat::SetKeyDown(kLoopButton1, (m_nWaitFrames - nWaitStart) % 12 == 11);
  };
  auto Play = [&](bool bRecord) {
    delete m_pScene;
    m_pScene = nullptr;
    Start();
    std::vector<uint64_t> hashes;
    int32_t nLast = -1;
    for (int nRuns = 0; static_cast<int>(hashes.size()) < kPlayFrames && nRuns < 4 * kPlayFrames;
         ++nRuns) {
      const int f = static_cast<int>(hashes.size());
      if (bRecord) g_Input.At(0).m_wDir = (f / 40) % 2 ? DIR_LEFT : DIR_RIGHT;
      Scene().Run();
      if (Scene().m_nPhase == PLAYPHASE_PLAY && Scene().m_nFrames > 0 &&
          Scene().m_nFrames != nLast) {
        nLast = Scene().m_nFrames;
        hashes.push_back(HashPlayState(Scene()));
      }
    }
    return hashes;
  };
  cTempFolder project(true);
  g_SystemData.m_bReplayRecord = 1;
  m_nWaitFrames = 0;
  const std::vector<uint64_t> recorded = Play(true);
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kPlayFrames));
  // The waits ran, each of them more than once.
  EXPECT_GT(m_nWaitFrames, 200);
  plat::fs::MakeDirectory("user_data");
  ASSERT_EQ(g_KeyLog.SaveReplay("user_data\\waits.rpl4_783", g_Stage, g_StageCopy, g_PlayDataStart),
            1);

  ASSERT_EQ(StartStageFile("user_data\\waits.rpl4_783", 0), 1);
  plat::SetTestClock(777);
  const std::vector<uint64_t> replayed = Play(false);
  EXPECT_EQ(replayed, recorded);

  // Drawn into pixels, and with the pixels left out: the same play.
  g_SceneManager.m_nGameMode = GAMEMODE_FREE;
  g_SceneManager.m_nSubMode = PLAYMODE_FREE;
  plat::SetTestClock(4321);
  std::vector<uint64_t> drawn, skipped;
  {
    cHeadlessDrawing drawing(1, 32);
    // The pictures the play draws from, and the picture the flow shows.
    const int kBlank[][3] = {{43, 256, 256}, {46, 640, 20}, {49, 128, 192}, {51, 320, 192}};
    for (const auto& b : kBlank)
      ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[b[0]], b[1], b[2], 1, 0, 0, 0, 0));
    std::filesystem::copy_file(DefaultGameFolder() / "bmp" / "Debug.bmp", "pic.bmp");
    Database.m_vecPicture[1].m_strFile = "pic.bmp";
    drawn = Play(true);
    g_RunOptions.bHeadless = true;
    skipped = Play(true);
    g_RunOptions.bHeadless = false;
    delete m_pScene;
    m_pScene = nullptr;
    for (const auto& b : kBlank) DDReleaseSurface(&g_SurfaceTable[b[0]]);
  }
  EXPECT_EQ(drawn, recorded);
  EXPECT_EQ(skipped, recorded);
  Database.m_vecEffect = savedEffects;
  Database.m_vecPicture = savedPictures;
  BuildEffectFrameTable(g_EffectFrameTable);
  m_Probe.m_fnFlows = nullptr;
  plat::ReleaseAllKeys();
  EXPECT_EQ(cWindowThread::Closes(), 0) << m_Dir.Read("Report_Game.txt");
}

// The close, as the window's close sequence does it while the pause thread
// runs: the play is told, and the loop is asked to end.
void CloseDuringTheWait(cPlayScene& scene) {
  scene.m_bCloseRequest = 1;
  plat::PostThreadMessage(thPause.m_dwThreadId, plat::WM_QUIT, 0, 0);
}


// A wait that ends on its own on the turn the window closes: the loop has
// no turn left to see the close, yet the window hears of it, once, whatever
// the play goes on to after the wait.
TEST_F(WaitLoop, ACloseAsAWaitEndsOnItsOwnReachesTheWindowOnce) {
  cFlowCmd clear = Command(CMD_STAGE_CLEAR, std::vector<int32_t>(9, 0));
  clear.m_vecParams[0] = 3;  // no next stage
  const struct {
    const char* szName;
    cFlowCmd then;
    int nPhase;
  } cases[] = {
      {"the play goes on", MessageThenMark(0, 0).m_vecCmds[1], PLAYPHASE_PLAY},
      {"the stage ends", clear, PLAYPHASE_STAGEEND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.szName);
    MakeStage(20, 15, 2);
    Floor(14);
    cFlow flow;
    flow.m_vecCmds.push_back(Command(CMD_GAME_WAIT, {1}));
    flow.m_vecCmds.push_back(c.then);
    Player(3, 13).m_vecFlows.push_back(flow);
    // Six frames, and the turn that ends the wait.
    m_fnOnFrame = [&](int f) {
      if (f == 7) CloseDuringTheWait(Scene());
    };
    StartPlaying();
    cWindowThread::Closes() = 0;
    m_nWaitFrames = 0;
    Frames(1);
    EXPECT_EQ(m_nWaitFrames, 7);
    EXPECT_EQ(Scene().m_nPhase, c.nPhase);
    Frames(10);
    EXPECT_EQ(ClosesTaken(), 1);
    delete m_pScene;
    m_pScene = nullptr;
  }
  m_fnOnFrame = nullptr;
}

TEST_F(WaitLoop, ExtraLivesAreEachShownRisingForThirtyFrames) {
  StartOnAFloor();
  g_SystemData.m_bExtraLifeByScore = 1;
  g_SystemData.m_nExtraLifeScore = 1000;
  g_PlayData.m_nTotalScore = 1999;
  g_PlayData.m_nStageScore = 1101;
  g_PlayData.m_nLives = 97;
  std::vector<size_t> texts;
  m_fnOnFrame = [&](int) { texts.push_back(Scene().m_TextList.size()); };
  const int nBefore = GetFramesRun();
  Scene().AddStageResults();
  EXPECT_EQ(GetFramesRun() - nBefore, 60);
  // Each wait's turns (the last one ends it) saw the notice.
  EXPECT_EQ(texts, std::vector<size_t>(62, 1));
  EXPECT_TRUE(Scene().m_TextList.empty());
  EXPECT_EQ(g_PlayData.m_nLives, 99);
  EXPECT_EQ(cWindowThread::TakeSounds(), (std::vector<int>{15, 15}));

  // Lives never pass 99, and each one past it is still shown.
  g_PlayData.m_nTotalScore = 3100;
  g_PlayData.m_nStageScore = 1000;
  EXPECT_EQ((Scene().AddStageResults(), g_PlayData.m_nLives), 99);
  m_fnOnFrame = nullptr;
}

// The window closes as the first of two notices begins, or on the turn its
// wait ends: the notice due after it is left out, the lives are all given,
// and the window hears of the close once.
TEST_F(WaitLoop, ACloseAtAnExtraLifeNoticesStartOrEndLeavesTheRestOut) {
  for (const bool bAtStart : {true, false}) {
    SCOPED_TRACE(bAtStart ? "at its start" : "at its end");
    StartOnAFloor();
    cWindowThread::Closes() = 0;
    cWindowThread::TakeSounds();
    g_SystemData.m_bExtraLifeByScore = 1;
    g_SystemData.m_nExtraLifeScore = 1000;
    g_PlayData.m_nTotalScore = 1999;
    g_PlayData.m_nStageScore = 1101;
    g_PlayData.m_nLives = 3;
    m_nWaitFrames = 0;
    m_Probe.m_fnWaitLoop = [&] {
      if (bAtStart) CloseDuringTheWait(Scene());
    };
    m_fnOnFrame = [&](int f) {
      if (!bAtStart && f == 31) CloseDuringTheWait(Scene());
    };
    Scene().AddStageResults();
    EXPECT_EQ(m_nWaitFrames, bAtStart ? 0 : 31);
    EXPECT_TRUE(Scene().m_TextList.empty());
    EXPECT_EQ(g_PlayData.m_nLives, 5);
    EXPECT_EQ(cWindowThread::TakeSounds(), std::vector<int>{15});
    EXPECT_EQ(ClosesTaken(), 1);
  }
  m_Probe.m_fnWaitLoop = nullptr;
  m_fnOnFrame = nullptr;
}

TEST_F(WaitLoop, ACloseDuringAWaitEndsItAndThePlayClosesAgain) {
  StartOnAFloor();
  // The window's close, as its close sequence does it while a wait runs.
  m_fnOnFrame = [&](int f) {
    if (f != 5) return;
    Scene().m_bCloseRequest = 1;
    plat::PostThreadMessage(thPause.m_dwThreadId, plat::WM_QUIT, 0, 0);
  };
  Scene().m_Wait = WAITDATA{WAIT_GAME, 0, 0, 600, 0};
  EXPECT_EQ(RunWait(), 5);
  EXPECT_EQ(thPause.m_hThread.load(), nullptr);
  // The play closes the window again as soon as the wait is over, and only
  // then: waits asked for from now on end at once, and the play's next
  // frame does nothing.
  EXPECT_EQ(ClosesTaken(), 1);
  m_nWaitFrames = 0;
  Scene().GameWait(600);
  EXPECT_EQ(m_nWaitFrames, 0);
  const int32_t nFrame = Scene().m_nFrames;
  Frames(1);
  EXPECT_EQ(Scene().m_nFrames, nFrame);
  EXPECT_EQ(ClosesTaken(), 1);
  m_fnOnFrame = nullptr;
}

// The window's close can come at any moment of a wait's start: the instant
// the loop's thread is there and has let the close flag pass is the
// narrowest, and its WM_QUIT must still be taken rather than lost (a lost
// one would leave the wait running until its two-second guard).
TEST_F(WaitLoop, ACloseAsAWaitBeginsEndsItAtOnce) {
  StartOnAFloor();
  cRunningTestClock clock;
  m_Probe.m_fnWaitLoop = [&] {
    Scene().m_bCloseRequest = 1;
    plat::PostThreadMessage(thPause.m_dwThreadId, plat::WM_QUIT, 0, 0);
  };
  for (const int bPostStart : {0, 1}) {
    SCOPED_TRACE(bPostStart);
    Scene().m_bCloseRequest = 0;
    Scene().m_Wait = WAITDATA{WAIT_GAME, 0, 0, 1 << 30, 0};
    const uint32_t dwStart = plat::GetTickMs();
    EXPECT_EQ(RunWait(bPostStart), 0);
    EXPECT_LT(static_cast<int32_t>(plat::GetTickMs() - dwStart), 2000);
    EXPECT_EQ(thPause.m_hThread.load(), nullptr);
  }
  m_Probe.m_fnWaitLoop = nullptr;
}

TEST_F(WaitLoop, AClosedWindowWhoseQuitIsLostEndsTheWaitAfterTwoSeconds) {
  StartOnAFloor();
  cRunningTestClock clock;
  m_fnOnFrame = [&](int f) {
    if (f == 3) Scene().m_bCloseRequest = 1;
  };
  Scene().m_Wait = WAITDATA{WAIT_GAME, 0, 0, 1 << 30, 0};
  const uint32_t dwStart = plat::GetTickMs();
  EXPECT_EQ(RunWait(), 3);
  EXPECT_GE(static_cast<int32_t>(plat::GetTickMs() - dwStart), 2000);
  EXPECT_NE(m_Dir.Read("Report_Game.txt").find("a close did not reach the waiting loop"),
            std::string::npos);
  m_fnOnFrame = nullptr;
}

TEST_F(WaitLoop, AWaitAskedForInsideAWaitIsLeftOut) {
  StartOnAFloor();
  int nInner = -1;
  m_fnOnFrame = [&](int f) {
    if (f != 2) return;
    const int nOuter = m_nWaitFrames;
    Scene().GameWait(100);  // from the pause thread itself
    nInner = m_nWaitFrames - nOuter;
  };
  Scene().m_Wait = WAITDATA{WAIT_GAME, 0, 0, 5, 0};
  EXPECT_EQ(RunWait(), 5);
  EXPECT_EQ(nInner, 0);
  EXPECT_TRUE(Scene().m_TextList.empty());
  EXPECT_NE(m_Dir.Read("Report_Game.txt").find("a waiting loop was asked for while one runs"),
            std::string::npos);
  m_fnOnFrame = nullptr;
}

}  // namespace
