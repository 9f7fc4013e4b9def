// The play screen. Drawing feeds the play: it ticks animations, writes the
// objects' screen rectangles, removes characters whose death has played and
// handles the player's defeat, so a run without a window still draws every
// frame (the drawing library then only skips the pixels).
#include <cstring>

#include "base/program_state.h"
#include "base/text_helpers.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/scene_batch.h"
#include "draw/built_in_tables.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "scenes/palette_cycle.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

namespace {

// The layer of a shot among the objects' eight: its definition's.
int ShotLayer(const cShotObj& shot) { return shot.m_Def.m_cLayer; }

// Items, characters and shots of one layer (every one with nLayer -1).
bool InLayer(int nObjLayer, int nLayer) { return nLayer < 0 || nObjLayer == nLayer; }

}  // namespace

void cPlayScene::Draw(int bPlay, int bStill, int bTimeSound, int bNotice) {
  Probe("Draw");
  // Still frames (the captions, the pause, the waits) last as long as the
  // player wants, which no replay records: whatever they draw at random
  // comes from a throw-away sequence, and the play's own is left alone.
  const cRandGen saved = m_Rand;
  if (bStill) m_Rand = cRandGen{};
  DDSURFACEDATA* pBack = &BackBuffer;

  // The shot sheets are work surfaces: a restore gives them back blank.
  DDSURFACEDATA& sheet = g_SurfaceTable[SURF_SHOT_SHEET];
  DDSURFACEDATA& mirrored = g_SurfaceTable[SURF_SHOT_SHEET_MIRRORED];
  if (sheet.bLost || mirrored.bLost) {
    BuildShotSheets();
    sheet.bLost = mirrored.bLost = 0;
  }
  if (m_ScrEffect.m_nEffect != 0) DDSetVirtualBackBuffer(1);

  ScrollBackgrounds();
  DrawBackgrounds(pBack, 0);
  if (!bPlay && m_nPhase == PLAYPHASE_PAUSE && g_SystemData.m_bPauseHidesStage) {
    DrawBackgrounds(pBack, 1);
    DrawScreenColor(bStill);
    if (bStill) m_Rand = saved;
    return;
  }
  DrawPictures(pBack, 0, bStill);
  DrawBlocks(pBack, 0);

  const bool bLayers = g_Stage.m_bLayers != 0;
  for (int nPass = 0; nPass < (bLayers ? 8 : 1); ++nPass) {
    const int nLayer = bLayers ? nPass : -1;
    if (!g_Players.empty() && InLayer(ThePlayer().m_Def.m_cLayer, nLayer)) DrawPlayer(bStill);

    DDBatchBegin(0);
    DDBatchRegister(&g_SurfaceTable[SURF_MARK]);
    for (cItemObj& item : g_ItemList) {
      if (!InLayer(item.m_Def.m_cLayer, nLayer) || item.m_Def.m_cHidden || !item.IsOnScreen())
        continue;
      item.UpdateScreenRect();
      item.Draw(pBack, bStill);
    }
    DDBatchEnd();

    // A character whose death has played goes in the frame it ends in; a
    // still frame may be drawn while the play is parked inside a walk over
    // the characters, so there it stays until the next advancing frame.
    for (auto it = g_CharaList.begin(); it != g_CharaList.end();) {
      if (!InLayer(it->m_Def.m_cLayer, nLayer)) {
        ++it;
        continue;
      }
      if (DrawChara(*it, bStill) && !bStill)
        it = RemoveFromHitGroup(it);
      else
        ++it;
    }

    DDBatchBegin(0);
    for (cShotObj& shot : m_ShotList) {
      // On screen as the last update step found it: a shot fired in this
      // frame's last step is not seen before the next.
      if (!shot.m_nOnScreen || !InLayer(ShotLayer(shot), nLayer)) continue;
      shot.UpdateScreenRect();
      shot.Draw(pBack, bStill);
    }
    DDBatchEnd();
  }

  DrawBlocks(pBack, 1);
  DrawBackgrounds(pBack, 1);
  DrawCharaRanges(pBack);
  if (!g_Players.empty()) ThePlayer().DrawSight(pBack);
  DrawPictures(pBack, 1, bStill);

  DDBatchBegin(0);
  for (auto it = m_EffectList.begin(); it != m_EffectList.end();)
    it = it->Draw(pBack, bStill) ? m_EffectList.erase(it) : std::next(it);
  DDBatchEnd();
  for (auto it = m_TextList.begin(); it != m_TextList.end();)
    it = it->Draw(pBack, bStill) ? m_TextList.erase(it) : std::next(it);

  DrawScreenEffect(bStill);
  DrawStatusBar(pBack);
  DrawTime(pBack, bTimeSound);

  if (bNotice) {
    const char* szNotice = nullptr;
    if (bCommandLineStage)
      szNotice = g_SystemData.m_vTexts.At(27).c_str();
    else if (bTestPlay)
      szNotice = g_SystemData.m_vTexts.At(26).c_str();
    if (szNotice) DDFontPrintf(&g_Font[1], pBack, 320 - 8 * CountChars(szNotice), 456, "%s", szNotice);
  }
  CyclePalette();
  DrawScreenColor(bStill);
  if (bStill) m_Rand = saved;
}

void cPlayScene::DrawPlayer(int bStill) {
  cPlayerObj& player = ThePlayer();
  Probe("DrawPlayer", &player);
  DDSURFACEDATA* pBack = &BackBuffer;
  player.UpdateScreenRect();
  if (player.m_nDying != 1) {
    player.Draw(pBack, bStill);
    player.DrawHpGauge(pBack);
    player.DrawSpGauge(pBack);
    return;
  }
  // The defeat waits for the death to have played, and for an advancing
  // frame: a still frame only shows it.
  if (player.DrawDeath(pBack, bStill) && !bStill) FinishPlayerDefeat();
}

void cPlayScene::FinishPlayerDefeat() {
  const int nSubMode = g_SceneManager.m_nSubMode;
  if (IsReplay()) {
    g_PlayData.LoadRetryState(1, nSubMode);
    SetStage(1, 1);
    m_nPhase = PLAYPHASE_READY;
    return;
  }
  if (!TakeLife()) {
    m_nPhase = PLAYPHASE_WAITBUTTON;  // game over
    return;
  }
  if (g_Stage.m_bTakeStatus) g_PlayData.ClearStatusFlags();
  g_PlayData.LoadRetryState(0, nSubMode);
  if (nSubMode == PLAYMODE_STORY && g_SystemData.m_bStoryDefeatMenu) {
    m_nSubStep = 0;
    m_nPhase = PLAYPHASE_CONTINUE;
    return;
  }
  SetStage(1, 0);
  m_nPhase = PLAYPHASE_READY;
}

int cPlayScene::DrawChara(cCharaObj& chara, int bStill) {
  Probe("DrawChara", &chara);
  DDSURFACEDATA* pBack = &BackBuffer;
  if (chara.m_nDying) {
    chara.cObjRoot::UpdateScreenRect();
    return chara.DrawDeath(pBack, bStill) ? 1 : 0;
  }
  if (chara.m_nOnScreen) {
    chara.cObjRoot::UpdateScreenRect();
    if (chara.m_Def.m_cTransparent) {
      chara.StepAnims(bStill);
      chara.StepCharaEffect(bStill);
    } else {
      chara.Draw(pBack, bStill);
    }
    chara.DrawHpGauge(pBack);
    chara.DrawSpGauge(pBack);
    if (!chara.m_Def.m_cTransparent) chara.DrawCarriedIcon(pBack);
    return 0;
  }
  if (chara.m_nActiveNow) {
    chara.cObjRoot::UpdateScreenRect();
    chara.StepAnims(bStill);
    chara.StepCharaEffect(bStill);
  }
  return 0;
}
