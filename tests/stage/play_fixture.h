// A play of a stage built in code, driven frame by frame as the scene
// manager drives it: a stage record with the defaults of a new stage, the
// settings copy restarts begin from, player 1's input, free play at the
// test clock, and a main window that records what the play asks of it
// (sounds, music, close requests). The probe stands where the flows act:
// a test gives the player speeds and jumps there, as its flows would.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "base/frame_timing.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "database/database.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "platform/input/keyboard.h"
#include "platform/msg/window.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_manager.h"
#include "sound/sound_effects.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "support/temp_folder.h"

// What the play asked of the main window.
struct PLAYREQUESTS {
  std::vector<int> vecSounds;  // sound-table entries
  std::vector<int> vecMusic;   // stage music numbers
};

inline PLAYREQUESTS& Requests() {
  static PLAYREQUESTS r;
  return r;
}

// Records the steps, and lets the test act where the flows act.
class cTestProbe : public cPlayProbe {
 public:
  void OnPlayStep(const char* szStep, cGameObj* pObj) override {
    std::string strStep = szStep;
    if (pObj) strStep += "(" + std::to_string(pObj->m_nId) + ")";
    if (m_bRecord) m_vecSteps.push_back(strStep);
    if (m_fnFlows && std::string(szStep) == "Flows" && pObj) m_fnFlows(*pObj);
    if (m_fnWaitLoop && std::string(szStep) == "WaitLoop") m_fnWaitLoop();
    if (m_fnWaitFrame && std::string(szStep) == "WaitFrame") m_fnWaitFrame();
    if (m_fnRankingFrame && std::string(szStep) == "RankingFrame") m_fnRankingFrame();
  }
  bool m_bRecord = false;
  std::vector<std::string> m_vecSteps;
  std::function<void(cGameObj&)> m_fnFlows;
  // Called as a waiting loop begins on its thread, before its first turn.
  std::function<void()> m_fnWaitLoop;
  // Called at the start of every frame of a waiting loop, on its thread
  // (the play's thread waits meanwhile).
  std::function<void()> m_fnWaitFrame;
  // The same for every frame of the ranking display.
  std::function<void()> m_fnRankingFrame;
};

class cPlayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ReportInit((m_Dir / "Report_Game.txt").c_str());
    m_hWnd = plat::CreateWnd(&Record, nullptr);
    g_hMainWnd = m_hWnd;
    Requests() = PLAYREQUESTS{};
    m_SavedSystem = g_SystemData;
    g_Input.resize(1);
    g_Input.At(0) = cInput{};
    // The cursor sound plays through the table (silently: no device here).
    g_SoundList.resize(17);
    g_PlayData.Reset();
    g_PlayData.m_nLifeCount = 3;
    g_PlayData.m_nLives = 2;
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
    g_SceneManager.m_nModeFlag = 0;
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    g_SceneManager.m_nCurrentScene = SCENE_PLAY;
    g_SceneManager.m_nNextScene = SCENE_PLAY;
    bCommandLineStage = 0;
    bTestPlay = 0;
    plat::SetTestClock(4321);
    plat::ReleaseAllKeys();
    ResetFrameTiming();
    MakeStage(20, 15, 1);
  }

  void TearDown() override {
    delete m_pScene;
    m_pScene = nullptr;
    g_BlockPalette.Clear();
    g_SystemData = m_SavedSystem;
    g_Stage.Reset();
    g_StageCopy.Reset();
    g_KeyLog.Reset();
    g_KeyLogPrev.Reset();
    g_PlayData.Reset();
    g_Cursor.Reset();
    g_SoundList.clear();
    g_SceneManager.m_nGameMode = g_SceneManager.m_nSubMode = 0;
    g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = g_SceneManager.m_nPrevScene = 0;
    bCommandLineStage = 0;
    bTestPlay = 0;
    plat::ReleaseAllKeys();
    plat::UseRealClock();
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }

  // A new stage of w x h cells at hit-test level nLevel (1..10 update steps
  // per frame), without start captions; the view's extent is the stage's.
  static void MakeStage(int32_t w, int32_t h, int32_t nLevel) {
    g_Stage.Reset();
    g_Stage.m_nWidth = w;
    g_Stage.m_nHeight = h;
    auto Extent = [](int32_t n) {
      return static_cast<int32_t>(
          std::clamp<int64_t>((static_cast<int64_t>(n) + 20) * 32 - 640, 0, INT32_MAX));
    };
    g_Stage.m_nExtentX = Extent(w);
    g_Stage.m_nExtentY = Extent(h);
    g_Stage.m_nLimitRight = w - 1;
    g_Stage.m_nLimitBottom = h - 1;
    g_Stage.m_nHitLevel = nLevel;
    g_Stage.m_bStartCaption = 0;
    g_Stage.m_bStartCaption2 = 0;
    g_Stage.SetHitLevel(nLevel);
  }

  static cEdBlock& Block(int16_t sColumn, int16_t sRow, uint8_t cHit = 1) {
    cEdBlock block;
    block.m_sColumn = sColumn;
    block.m_sRow = sRow;
    block.m_cHitType = cHit;
    block.m_sGraphic = 1;
    g_Stage.m_vecBlocks.push_back(block);
    return g_Stage.m_vecBlocks.back();
  }
  // A solid floor along a row.
  static void Floor(int16_t sRow, int16_t sFrom = 0, int16_t sTo = -1) {
    if (sTo < 0) sTo = static_cast<int16_t>(g_Stage.m_nWidth - 1);
    for (int16_t c = sFrom; c <= sTo; ++c) Block(c, sRow);
  }
  static cEdChara& Player(int16_t sColumn, int16_t sRow) {
    cEdChara& def = Chara(sColumn, sRow);
    def.m_cOperator = 0;
    def.m_strName = "player";
    return def;
  }
  static cEdChara& Chara(int16_t sColumn, int16_t sRow) {
    cEdChara def;
    def.m_sColumn = sColumn;
    def.m_sRow = sRow;
    def.m_nCarriedItem = -1;
    def.m_nMaxHP = 10;
    g_Stage.m_vecCharas.push_back(def);
    return g_Stage.m_vecCharas.back();
  }
  static cEdItem& Item(int16_t sColumn, int16_t sRow) {
    cEdItem item;
    item.m_sColumn = sColumn;
    item.m_sRow = sRow;
    item.m_sGraphic = 3;
    g_Stage.m_vecItems.push_back(item);
    return g_Stage.m_vecItems.back();
  }

  // The scene on the stage as it stands, with its first frame run (set-up).
  cPlayScene& Start() {
    CopyStageSettings(g_StageCopy, g_Stage);
    // A table of cases starts one play after another in one test.
    delete m_pScene;
    m_pScene = new cPlayScene();
    m_pScene->m_pProbe = &m_Probe;
    m_pScene->Run();
    return *m_pScene;
  }
  // Runs until the play phase, then n play frames.
  cPlayScene& StartPlaying() {
    Start();
    for (int i = 0; i < 1000 && m_pScene->m_nPhase != PLAYPHASE_PLAY; ++i) m_pScene->Run();
    EXPECT_EQ(m_pScene->m_nPhase, PLAYPHASE_PLAY);
    return *m_pScene;
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) m_pScene->Run();
  }

  cPlayScene& Scene() { return *m_pScene; }
  cPlayerObj& ThePlayerObj() { return g_Players.At(0); }

  int TakeCloses() {
    int n = 0;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) n += (msg.message == plat::WM_CLOSE && msg.hWnd == m_hWnd);
    return n;
  }

  cTempFolder m_Dir;
  plat::WndHandle m_hWnd = nullptr;
  cPlayScene* m_pScene = nullptr;
  cTestProbe m_Probe;
  cSystemData m_SavedSystem;

 private:
  static intptr_t Record(plat::WndHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_PLAYSE) Requests().vecSounds.push_back(static_cast<int>(wParam));
    if (message == WM_PLAYBGM && wParam == 4) {
      Requests().vecMusic.push_back(static_cast<int>(lParam));
      g_PlayData.m_nBgm = static_cast<int32_t>(lParam);
    }
    return 0;
  }
};
