// What the play benchmarks share: characters that walk as their flows would
// have them, turning at walls, blocks placed on the stage, and a play scene
// of the stage in its play phase.
#pragma once

#include <cstdint>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "input/input.h"
#include "scenes/scene_manager.h"
#include "stage/block_grid.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

// Every character keeps a walking speed and turns at a wall or before the
// stage's edge.
class cWalkers : public cPlayProbe {
 public:
  void OnPlayStep(const char* szStep, cGameObj* pObj) override {
    if (!pObj || szStep[0] != 'F') return;  // "Flows"
    const cScrollAxis& x = g_PlayScene->m_ScrollX;
    if (pObj->m_nTouchL || pObj->m_dX < x.m_nBase + 8) pObj->m_nFacing = 1;
    if (pObj->m_nTouchR || pObj->m_dRight > x.m_nStageLimit - 8) pObj->m_nFacing = 0;
    pObj->m_dVX = pObj->FacingSign() * (pObj->m_nControl == 0 ? 1.0 : 0.5);
  }
};

inline void AddBlock(int16_t c, int16_t r) {
  cEdBlock b;
  b.m_sColumn = c;
  b.m_sRow = r;
  b.m_sGraphic = 1;
  g_Stage.m_vecBlocks.push_back(b);
}

// A play scene in its play phase, its characters walking.
class cPlaying {
 public:
  cPlaying() {
    g_Input.resize(1);
    g_PlayData.Reset();
    g_SceneManager.m_nGameMode = GAMEMODE_FREE;
    g_SceneManager.m_nSubMode = PLAYMODE_FREE;
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    m_pScene = new cPlayScene();
    m_pScene->m_pProbe = &m_Walkers;
    for (int i = 0; i < 10 && m_pScene->m_nPhase != PLAYPHASE_PLAY; ++i) m_pScene->Run();
  }
  ~cPlaying() {
    delete m_pScene;
    g_BlockPalette.Clear();
  }
  cPlaying(const cPlaying&) = delete;
  cPlaying& operator=(const cPlaying&) = delete;
  cPlayScene& Scene() { return *m_pScene; }

 private:
  cWalkers m_Walkers;
  cPlayScene* m_pScene = nullptr;
};
