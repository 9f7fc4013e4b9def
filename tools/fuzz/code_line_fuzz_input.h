// One fuzz input of code lines: the bytes, split at line feeds, are run one
// line after another as code commands of the player of a small stage in
// play, whose target slot 1 holds a character and slot 2 is empty. Nothing
// may crash, hang or grow without bound, whatever the line (unbalanced or
// deeply nested brackets, numbers past 32 bits, divisions by 0, unknown
// words and prefixes, variables outside their vectors); every variable a
// line can assign stays within -999999 to 999999.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/frame_timing.h"
#include "base/program_state.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "platform/msg/window.h"
#include "scenes/scene_manager.h"
#include "sound/sound_effects.h"
#include "stage/block_grid.h"
#include "stage/code_eval.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"
#include "tools/fuzz/fuzz_check.h"

namespace code_fuzz {

inline intptr_t IgnoreAll(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// The play the lines run in, for as long as it lives: a 20 x 15 stage with a
// floor, the player and one character, in its play phase.
class cCodePlay {
 public:
  cCodePlay() {
    m_hWnd = plat::CreateWnd(&IgnoreAll, nullptr);
    g_hMainWnd = m_hWnd;
    g_Stage.Reset();
    g_Stage.m_nWidth = 20;
    g_Stage.m_nHeight = 15;
    g_Stage.m_nExtentX = (20 + 20) * 32 - 640;
    g_Stage.m_nExtentY = (15 + 20) * 32 - 640;
    g_Stage.m_nLimitRight = 19;
    g_Stage.m_nLimitBottom = 14;
    g_Stage.m_nHitLevel = 1;
    g_Stage.m_bStartCaption = g_Stage.m_bStartCaption2 = 0;
    for (int16_t c = 0; c < 20; ++c) {
      cEdBlock b;
      b.m_sColumn = c;
      b.m_sRow = 14;
      b.m_sGraphic = 1;
      b.m_cHitType = 1;
      g_Stage.m_vecBlocks.push_back(b);
    }
    for (int i = 0; i < 2; ++i) {
      cEdChara def;
      def.m_cOperator = i == 0 ? 0 : 1;
      def.m_nCarriedItem = -1;
      def.m_sColumn = static_cast<int16_t>(3 + 4 * i);
      def.m_sRow = 13;
      def.m_nMaxHP = 10;
      g_Stage.m_vecCharas.push_back(def);
    }
    g_Stage.SetHitLevel(1);
    CopyStageSettings(g_StageCopy, g_Stage);
    g_Input.resize(1);
    g_Input.At(0) = cInput{};
    g_SoundList.resize(17);
    g_PlayData.Reset();
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = SCENE_PLAY;
    plat::SetTestClock(1000);
    ResetFrameTiming();
    m_pScene = new cPlayScene();
    for (int i = 0; i < 100 && m_pScene->m_nPhase != PLAYPHASE_PLAY; ++i) m_pScene->Run();
  }
  ~cCodePlay() {
    delete m_pScene;
    g_BlockPalette.Clear();
    g_Stage.Reset();
    g_StageCopy.Reset();
    g_PlayData.Reset();
    g_SoundList.clear();
    g_SceneManager.m_nCurrentScene = g_SceneManager.m_nNextScene = 0;
    plat::UseRealClock();
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }
  cCodePlay(const cCodePlay&) = delete;
  cCodePlay& operator=(const cCodePlay&) = delete;
  cPlayScene& Scene() { return *m_pScene; }

 private:
  plat::WndHandle m_hWnd = nullptr;
  cPlayScene* m_pScene = nullptr;
};

// Runs every line of the input; true when the play stood ready for them.
inline bool FuzzCodeLines(cCodePlay& play, const uint8_t* pData, size_t nSize) {
  cPlayScene& scene = play.Scene();
  if (g_Players.empty() || g_CharaList.empty()) return false;
  cPlayerObj& player = g_Players[0];
  cGameObj& other = g_CharaList.front();
  player.m_vecTargets.assign(4, nullptr);
  player.m_vecTargets[0] = &other;
  const std::string_view all(reinterpret_cast<const char*>(pData), nSize);
  size_t nFrom = 0;
  while (nFrom <= all.size()) {
    size_t nTo = all.find('\n', nFrom);
    if (nTo == std::string_view::npos) nTo = all.size();
    RunCode(scene, all.substr(nFrom, nTo - nFrom), player);
    nFrom = nTo + 1;
  }
  auto InRange = [](int32_t v) { return v >= -999999 && v <= 999999; };
  for (const cGameObj* p : {static_cast<cGameObj*>(&player), &other})
    for (int32_t v : p->m_vecCharaVar) fuzz::Check(InRange(v), "a character variable in range");
  for (int32_t v : scene.m_StageVar) fuzz::Check(InRange(v), "a stage variable in range");
  for (int32_t v : g_PlayData.m_vVars) fuzz::Check(InRange(v), "a common variable in range");
  // What the lines asked of the window (close requests after a bad index)
  // is dropped; the play goes on.
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) {
  }
  return true;
}

}  // namespace code_fuzz
