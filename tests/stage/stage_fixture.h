// A stage in memory for the engine's tests: a small stage record with the
// defaults of a new stage, a play scene with its scroll axes, the block grid
// built from the placed blocks, one player, and a main window that counts
// the close requests a fault of the data posts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/logs.h"
#include "base/program_state.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "platform/msg/window.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "support/temp_folder.h"

class cStageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string strPath = m_Dir / "Report_Game.txt";
    ReportInit(strPath.c_str());
    m_hWnd = plat::CreateWnd(IgnoreAll, nullptr);
    g_hMainWnd = m_hWnd;
    m_SavedSystem = g_SystemData;
    g_PlayData.m_vVars.assign(1001, 0);
    m_pScene = new cPlayScene();
    MakeStage(20, 15, 1);
  }

  void TearDown() override {
    g_CharaList.clear();
    g_ItemList.clear();
    g_Players.clear();
    delete m_pScene;
    g_BlockPalette.Clear();
    g_SystemData = m_SavedSystem;
    g_Stage.Reset();
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }

  // A new stage of w x h cells and hit-test level nLevel (1..10 are that many
  // update steps per frame); objects live within the grid.
  void MakeStage(int32_t w, int32_t h, int32_t nLevel) {
    g_Stage.Reset();
    g_Stage.m_nWidth = w;
    g_Stage.m_nHeight = h;
    g_Stage.m_nExtentX = (w + 20) * 32 - 640;
    g_Stage.m_nExtentY = (h + 20) * 32 - 640;
    g_Stage.SetHitLevel(nLevel);
    Rebuild();
  }

  // The axes and the grid from the stage as it stands; the player anew.
  void Rebuild() {
    cScrollAxis::SetUpAxes(m_pScene->m_ScrollX, m_pScene->m_ScrollY, g_Stage);
    ASSERT_EQ(g_BlockPalette.Build(g_Stage), 1);
    g_Players.clear();
    g_Players.resize(1);
  }

  // A placed block at a stage cell (the margin not counted).
  static cEdBlock& PlaceBlock(int16_t sColumn, int16_t sRow, uint8_t cHitType) {
    cEdBlock block;
    block.m_sColumn = sColumn;
    block.m_sRow = sRow;
    block.m_cHitType = cHitType;
    block.m_sGraphic = 1;
    g_Stage.m_vecBlocks.push_back(block);
    return g_Stage.m_vecBlocks.back();
  }

  static int32_t Cell(int32_t nColumn, int32_t nRow) {
    return static_cast<int32_t>(g_BlockPalette.CellOf(nColumn, nRow));
  }

  int TakeCloses() {
    int n = 0;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) n += (msg.message == plat::WM_CLOSE && msg.hWnd == m_hWnd);
    return n;
  }

  cPlayScene& Scene() { return *m_pScene; }

  cTempFolder m_Dir;
  plat::WndHandle m_hWnd = nullptr;
  cPlayScene* m_pScene = nullptr;
  cSystemData m_SavedSystem;

 private:
  static intptr_t IgnoreAll(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }
};
