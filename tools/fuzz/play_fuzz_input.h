// One fuzz input for the whole play: the bytes after the first are a stage
// file (first byte even) or a replay file (odd), and whatever loads is
// played for a few hundred frames without pixels, as a headless run plays
// it. So the values a file hands the engine (sizes, speeds, counts,
// offsets, levels, key logs) are tried too, not only the loaders: nothing
// may crash, hang or allocate without bound, and a play that ends on an
// error of its own (a close request) ends there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/frame_timing.h"
#include "base/program_state.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/replay_file.h"
#include "files/stage_data.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "platform/msg/window.h"
#include "scenes/scene_manager.h"
#include "sound/sound_effects.h"
#include "stage/block_grid.h"
#include "stage/play_scene.h"

namespace play_fuzz {

// Frames a loaded stage plays: past its start captions and well into play.
constexpr int kFrames = 300;

// The main window of the play: it answers every request at once and notes
// a close request, which ends the play.
inline bool& CloseRequested() {
  static bool bClose = false;
  return bClose;
}

inline intptr_t WindowProc(plat::WndHandle, uint32_t message, uintptr_t, intptr_t) {
  if (message == plat::WM_CLOSE) CloseRequested() = true;
  return 0;
}

// Takes the bytes as a stage or replay into g_Stage, g_StageCopy, g_KeyLog
// and g_PlayData; false when they do not load or have no player.
inline bool LoadPlay(const uint8_t* pData, size_t nSize, bool bReplay) {
  g_Stage.Reset();
  g_StageCopy.Reset();
  g_KeyLog.Reset();
  g_PlayData.Reset();
  if (bReplay) {
    std::unique_ptr<cDataReader> r = DataFileOpenBytes(pData, nSize);
    if (!r) return false;
    REPLAYFILE rep;
    if (!ReadReplayFile(*r, rep) || !rep.stage.HasPlayer()) return false;
    g_Stage = std::move(rep.stage);
    g_KeyLog = rep.log;
    if (rep.bHasPlay) g_PlayData.AssignStored(rep.play);
  } else {
    if (!g_Stage.LoadFromBytes(pData, nSize) || !g_Stage.HasPlayer()) return false;
  }
  CopyStageSettings(g_StageCopy, g_Stage);
  return true;
}

// Plays the input; true when it loaded and was played.
inline bool FuzzPlayInput(const uint8_t* pData, size_t nSize) {
  if (nSize < 1) return false;
  const bool bReplay = (pData[0] & 1) != 0;
  if (!LoadPlay(pData + 1, nSize - 1, bReplay)) return false;

  static const plat::WndHandle hWnd = plat::CreateWnd(&WindowProc, nullptr);
  g_hMainWnd = hWnd;
  CloseRequested() = false;
  g_Input.resize(1);
  g_Input.At(0) = cInput{};
  g_SoundList.resize(17);
  g_SceneManager.m_nGameMode = bReplay ? GAMEMODE_REPLAY : GAMEMODE_FREE;
  g_SceneManager.m_nSubMode = bReplay ? PLAYMODE_REPLAY : PLAYMODE_FREE;
  g_SceneManager.m_nModeFlag = 1;
  g_SceneManager.m_nPrevScene = SCENE_TITLE;
  g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = SCENE_PLAY;
  plat::SetTestClock(1000);
  ResetFrameTiming();
  {
    auto pScene = std::make_unique<cPlayScene>();
    for (int i = 0; i < kFrames && !CloseRequested(); ++i) {
      pScene->Run();
      plat::AdvanceTestClock(16);
      // What the play posted to its window (a close request, mostly).
      plat::MSG msg;
      while (plat::PeekMessage(msg, true)) plat::DispatchMessage(msg);
      // A play that left its scene has nothing more to play.
      if (g_SceneManager.m_nCurrentScene != SCENE_PLAY) break;
    }
  }
  g_BlockPalette.Clear();
  g_Stage.Reset();
  g_StageCopy.Reset();
  g_KeyLog.Reset();
  g_PlayData.Reset();
  g_SoundList.clear();
  g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = 0;
  plat::UseRealClock();
  g_hMainWnd = nullptr;
  return true;
}

}  // namespace play_fuzz
