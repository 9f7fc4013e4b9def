// Stage set-up: the whole play state of a stage from the played stage record,
// at the scene's start and at every restart (a retry, a continue, a defeat
// with lives left, a replay that ran out). Nothing of an earlier attempt
// survives it: the objects, the grid and its latches, the summoned cells,
// the counters and the random numbers all start again.
#include <algorithm>
#include <vector>

#include "base/frame_timing.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "draw/draw_context.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/clock/clock.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_manager.h"
#include "stage/placement.h"
#include "stage/play_scene.h"
#include "stage/stage_music.h"
#include "stage/stage_objects.h"

namespace {

// The settings the play may have changed come back from the stage as it
// was loaded; its placements and palette stay.
void RestoreStageSettings(cStageData& stage, cStageData& loaded) {
  if (&stage == &loaded) return;
  stage.Copy(loaded);
  stage.m_vecBgs = loaded.m_vecBgs;
  stage.m_vecTexts = loaded.m_vecTexts;
  stage.m_aRules = loaded.m_aRules;
  stage.m_vRanking = loaded.m_vRanking;
}

bool RuleHasSide(const cStageParam8& rule) {
  return rule.m_bLeft || rule.m_bRight || rule.m_bTop || rule.m_bBottom;
}

}  // namespace

void cPlayScene::PlayBgm(int nMusic, int nLoop) {
  g_PlayData.m_nBgmLoop = nLoop;
  PlayStageMusic(nMusic, nLoop);
}

void cPlayScene::BuildHitStepMask() {
  const int32_t s = g_Stage.m_nSteps;
  const int32_t n = g_Stage.m_nAttackTests;
  m_HitStepMask.clear();
  // No steps, no mask (and nothing to divide by).
  if (s < 1) return;
  // Every step tests hits; a count below 0 (only a damaged file) as well.
  if (n <= 0) {
    m_HitStepMask.assign(s, 1);
    return;
  }
  m_HitStepMask.assign(s, 0);
  const double d = static_cast<double>(s) / n;
  double p = 0;
  int32_t nSet = 0;
  do {
    m_HitStepMask.At(static_cast<int32_t>(p)) = 1;
    ++nSet;
    p += d;
  } while (static_cast<int32_t>(p) < s);
  if (nSet < n) m_HitStepMask.At(s - 1) = 1;
}

void cPlayScene::SetStage(int bLoadStage, int nSecond) {
  Probe("SetStage");
  DebugLogF("In SetStage bLoadStage = %d", bLoadStage);
  m_nFrames = 0;

  m_ShotGroups.resize(kHitGroups);
  m_CharaGroups.resize(kHitGroups);
  ClearObjects();

  const bool bReplay = IsReplay();
  if (bLoadStage) {
    if (bReplay) {
      // The replay's own stage, log and play record, read again; its
      // settings part goes nowhere (the copy of the loaded stage has it).
      cStageData settings;
      if (!g_KeyLog.LoadReplay(g_Stage.m_strPath, g_Stage, settings, g_PlayData)) PostFatalClose();
    }
    RestoreStageSettings(g_Stage, g_StageCopy);
  }

  // The random numbers of the play: a replay's recorded seed; a new seed
  // from the clock when the run is recorded (and for the scene's first
  // start); otherwise the one the last start used, so a retry repeats it.
  if (bReplay) {
    m_nSeed = g_KeyLog.m_nSeed;
    g_KeyLog.Rewind();
  } else if (g_SystemData.m_bReplayRecord) {
    g_PlayDataStartPrev = g_PlayDataStart;
    g_PlayDataStart = g_PlayData;
    g_KeyLogPrev = g_KeyLog;
    g_KeyLog.Reset();
    m_nSeed = static_cast<int32_t>(plat::GetTickMs());
    g_KeyLog.m_nSeed = m_nSeed;
  } else if (!m_bSeeded) {
    m_nSeed = static_cast<int32_t>(plat::GetTickMs());
  }
  m_bSeeded = 1;
  m_Rand.Seed(static_cast<uint32_t>(m_nSeed));

  const int nPlayerPlace = g_Stage.FindPlayer();
  if (g_Stage.m_bTakeStatus) g_PlayData.RestoreCharaStatus(0, g_Stage.m_vecCharas.At(nPlayerPlace));

  const int32_t nMusic = g_Stage.m_nBgm;
  const bool bSameMusic = nMusic == g_PlayData.m_nBgm;
  if (nSecond ? (!g_Stage.m_bKeepBgm || !bSameMusic || nMusic == 0) : !bSameMusic)
    PlayBgm(nMusic, g_Stage.m_nBgmLoop);

  // The next menu scene starts its music again.
  g_SceneManager.m_nMusicNo = 0;
  m_nCharaSerial = m_nItemSerial = m_nShotSerial = 0;

  g_Stage.SetHitLevel(g_Stage.m_nHitLevel);
  cScrollAxis::SetUpAxes(m_ScrollX, m_ScrollY, g_Stage);
  if (!g_BlockPalette.Build(g_Stage)) {
    ErrorBoxF("メモリ不足により、ステージの初期設定に失敗しました！");
    PostFatalClose();
    // Half set up, the stage is not played while the close comes.
    m_bFailed = 1;
    return;
  }

  m_nPlayerCount = 1;
  g_Players.clear();
  g_Players.resize(static_cast<size_t>(m_nPlayerCount));
  DebugLogF("A");
  for (int i = 0; i < m_nPlayerCount; ++i) {
    // A stage without a player never gets here (its load is refused); the
    // checked access would report it and use placement 0.
    cEdChara& place = g_Stage.m_vecCharas.At(g_Stage.FindPlayer());
    cPlayData& play = g_PlayData;
    if (play.m_bStartOverride) place.m_cMoveMirror = static_cast<uint8_t>(play.m_nOverrideDir);
    cPlayerObj& player = g_Players.At(i);
    player.m_nId = m_nCharaSerial++;
    player.SetUp(place, (static_cast<double>(place.m_sColumn) + 10) * 32 + 16,
                 (static_cast<double>(place.m_sRow) + 10) * 32 + 16, 0);
    if (play.m_bStartOverride) {
      place.m_sColumn = static_cast<int16_t>(play.m_nOverrideX);
      place.m_sRow = static_cast<int16_t>(play.m_nOverrideY);
    }
    player.SetCell(place.m_sColumn, place.m_sRow);
    const double ox = place.GetPosX(0, place.m_cMoveMirror);
    const double oy = place.GetPosY(0, place.m_cMoveMirror);
    player.m_dX += ox;
    player.m_dRight += ox;
    player.m_dY += oy;
    player.m_dBottom += oy;
    if (g_Stage.m_bTakeStatus) play.RestoreExtraStatus(0, &player.m_nHP, &player.m_nSP);
    // Its standing pose, or its flying one.
    player.m_Anim.Set(player.m_nFlying ? 2 : 0, 1);
  }

  DebugLogF("B");
  cPlayerObj& player = ThePlayer();
  m_ScrollX.m_dPos = player.m_dX + player.m_nWidth / 2 - 320;
  m_ScrollX.ClampPosition();
  m_ScrollY.m_dPos = player.m_dY + player.m_nHeight / 2 - 240;
  m_ScrollY.ClampPosition();
  player.UpdateScreenRect();
  if (player.m_Def.m_cSightShape != 0) CreateSightSurfaces();
  m_StageVar.assign(kStageVars, 0);

  DebugLogF("10");
  std::vector<uint8_t> vecCarried(g_Stage.m_vecItems.size(), 0);
  for (cEdChara& place : g_Stage.m_vecCharas) {
    // Only the computer's characters are placed; the player is made above.
    if (place.m_cOperator != 1) continue;
    if (place.m_nCarriedItem == -1) {
      PlaceChara(g_CharaList, place.m_sColumn, place.m_sRow, m_nCharaSerial, place, nullptr);
      continue;
    }
    cItemObj item;
    item.SetUp(m_nItemSerial++, g_Stage.m_vecItems.At(place.m_nCarriedItem), 1);
    PlaceChara(g_CharaList, place.m_sColumn, place.m_sRow, m_nCharaSerial, place, &item);
    if (static_cast<size_t>(place.m_nCarriedItem) < vecCarried.size())
      vecCarried[static_cast<size_t>(place.m_nCarriedItem)] = 1;
  }
  for (size_t i = 0; i < g_Stage.m_vecItems.size(); ++i) {
    if (vecCarried[i]) continue;
    const cEdItem& place = g_Stage.m_vecItems[i];
    PlaceItem(g_ItemList, place.m_sColumn, place.m_sRow, m_nItemSerial, place);
  }
  DebugLogF("11");
  DebugLogF("12");
  DebugLogF("C");
  DebugLogF("D");

  m_CharaGroups.At(player.m_nGroup).push_back(&player);
  for (cCharaObj& c : g_CharaList) m_CharaGroups.At(c.m_nGroup).push_back(&c);

  m_bRemoveCharaOut = RuleHasSide(g_Stage.m_aRules[RULE_CHARAS]) ? 1 : 0;
  m_bRemoveBlockCharaOut = RuleHasSide(g_Stage.m_aRules[RULE_BLOCK_CHARAS]) ? 1 : 0;
  m_bRemoveItemOut = RuleHasSide(g_Stage.m_aRules[RULE_ITEMS]) ? 1 : 0;

  m_TextList.clear();
  m_EffectList.clear();
  m_ScrEffect = cScrEffectRun{};
  m_ScreenColor.Reset();
  m_Wait.nReserved = 0;
  ReleasePictures();
  ReleaseMessageSurfaces();
  // A place-or-erase summon of an earlier attempt leaves no trace.
  m_SummonedCells.clear();

  BuildHitStepMask();
  m_nStepResult = 0;
  m_nPhaseFrames = m_nWordFrames = 0;
  if (g_Stage.m_bTimeLimit) {
    m_bNoTimeLimit = 0;
    m_nTime = g_Stage.m_nTimeLimit;
  } else {
    m_nTime = 999;
    m_bNoTimeLimit = 1;
  }
  m_nPlayFrames = m_nPlayTime = 0;
  m_GroupFlags.assign(kGroupFlags, 0);
  m_nNextStage = 0;
  m_nStepNo = m_nStepCount = 0;

  cPlayData& play = g_PlayData;
  play.m_nStageScore = 0;
  if (bReplay || (bTestPlay && bCommandLineStage)) {
    play.m_nTotalScore = 0;
    play.m_nTimeSum = play.m_nPlayTimeSum = play.m_nHPSum = play.m_nSPSum = 0;
  }
  play.SaveRetryState();

  for (cInput& input : g_Input) {
    input.ClearHistory();
    input.TrimLogs();
  }
  g_Cursor.Reset();
  FrameSkipCounter(0, 0);
  for (cStageBg& bg : g_Stage.m_vecBgs) bg.m_dOffsetX = bg.m_dOffsetY = 0;
  // A screen colour of the attempt before may have left the 8-bit palette
  // tinted: the stage starts from the palette as it was loaded.
  if (g_DD.nBpp == 8 && !DDIsDirect3D()) {
    g_DD.DisplayPalette = g_DD.ProgramPalette;
    if (g_DD.lpDDPalette) g_DD.lpDDPalette->SetEntries(0, 256, g_DD.DisplayPalette.data());
  }
  // A stage of no frames per second runs at one.
  m_nStageFrameRate = std::max<int32_t>(g_Stage.m_nFps, 1);
  g_SceneManager.m_nFrameRate = m_nStageFrameRate;

  player.SetParent(nullptr);
  for (cCharaObj& c : g_CharaList) c.SetParent(nullptr);

  // "Before the stage starts": the old rule fires it on every character,
  // the new one only on those active after a first activation pass.
  const bool bOldRule = g_SystemData.m_bCompat697 != 0;
  if (!bOldRule) BeginStep();
  player.FireTrigger(21);
  for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
    cCharaObj& c = walk.Get();
    if (!bOldRule && !c.m_nActive) continue;
    c.FireTrigger(21);
    if (walk.Left()) continue;
    if (c.m_nVanish) {
      RemoveFromHitGroup(walk.It());
    } else if (c.m_nHP < 1) {
      OnCharaDefeated(c);
      if (!walk.Left()) RemoveFromHitGroup(walk.It());
    }
  }
  BeginStep();
  m_bStatusBar = g_Stage.m_bStatusBar;
  // A screen effect of the attempt before may have left the drawing on the
  // virtual back buffer; a new effect switches it on again.
  DDSetVirtualBackBuffer(0);
  DebugLogF("Out SetStage");
}
