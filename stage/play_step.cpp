// The play phase: one frame takes the player's input (or the replay's),
// counts the time, runs the stage's update steps and draws. One update step
// moves the whole stage by one tick in a fixed order: lifetimes, contacts,
// the scroll, the block characters, the player, the other characters, the
// shots, the removal rules, then the special blocks, attack hits and item
// pickups. Any check may end the frame: the stage ends, or the player is
// defeated, and the objects not reached yet stay where they are.
#include <climits>

#include "base/frame_timing.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/replay_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "input/input.h"
#include "platform/msg/messages.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

void cPlayScene::CountPlayTime() {
  if (m_nPlayTime > 599998) return;
  ++m_nPlayFrames;
  m_nPlayTime = static_cast<int32_t>(static_cast<int64_t>(m_nPlayFrames) * 100 / 60);
  if (m_nPlayTime > 599999) m_nPlayTime = 599999;
}

int cPlayScene::CountDownTime(int nDelta) {
  if (m_bNoTimeLimit) return 0;
  if (!FrameSkipCounter(1, 60)) return 0;
  const int64_t nTime = static_cast<int64_t>(m_nTime) + nDelta;
  if (nTime >= 1000) {
    m_nTime = 999;
  } else if (nTime <= 0) {
    m_nTime = 0;
    return 1;
  } else {
    m_nTime = static_cast<int32_t>(nTime);
  }
  return 0;
}

void cPlayScene::BeginStep() {
  Probe("BeginStep");
  cPlayerObj& player = ThePlayer();
  player.m_nActive = 1;
  player.m_nOnScreen = 1;
  m_GroupFlags.Fill(0);
  for (cCharaObj& c : g_CharaList) {
    if (CheckCharaActive(c)) {
      c.m_nActive = 1;
      c.m_nOnScreen = c.IsOnScreen();
      c.UpdateVisibility(m_GroupFlags);
    } else {
      c.m_nActive = c.m_nOnScreen = 0;
    }
  }
  // A group signal raised by any character counts for every character.
  for (cCharaObj& c : g_CharaList)
    c.m_nActiveNow = c.m_nActive && c.UpdateActivation(m_GroupFlags) ? 1 : 0;
  for (cItemObj& item : g_ItemList) {
    if (CheckItemActive(item)) {
      item.m_nActive = 1;
      item.m_nOnScreen = item.IsOnScreen();
    } else {
      item.m_nActive = item.m_nOnScreen = 0;
    }
  }
  for (cShotObj& shot : m_ShotList) {
    shot.m_nActive = 1;
    shot.m_nOnScreen = shot.IsOnScreen();
  }
}

void cPlayScene::DefeatPlayer() {
  Probe("DefeatPlayer");
  PlaySE(8);
  if (ThePlayer().Die() == 1) {
    StageEnd();
    m_nPhase = PLAYPHASE_STAGEEND;
  }
}

void cPlayScene::KillPlayer(cPlayerObj& player, const char* szCause, bool bSqueezed) {
  if (bSqueezed) {
    DebugLogF("Player[P1].LRUD = %d,%d,%d,%d", player.m_nTouchL, player.m_nTouchR, player.m_nTouchT,
              player.m_nTouchB);
    player.RestorePosition();
  }
  DebugLogF("Dead %s", szCause);
  DefeatPlayer();
}

bool cPlayScene::EndsFrame(int nResult) {
  if (nResult == STEP_STAGE_OVER) {
    StageEnd();
    m_nPhase = PLAYPHASE_STAGEEND;
    return true;
  }
  if (nResult == STEP_PLAYER_DEFEATED) {
    DefeatPlayer();
    return true;
  }
  return false;
}

int cPlayScene::PhasePlay() {
  if (UpdateFrame()) Draw(1, 0, 1, 1);
  return 1;
}

bool cPlayScene::UpdateFrame() {
  if (m_bCloseRequest.load()) {
    PassOnClose();
    return false;
  }
  if (CheckPauseKey()) {
    m_nSubStep = 0;
    m_nPhase = PLAYPHASE_PAUSE;
    return false;
  }
  const bool bReplay = IsReplay();
  if (CheckReplaySaveKey(bReplay ? 1 : 0)) return false;
  ++m_nFrames;

  cInput& input = g_Input.At(0);
  if (!bReplay) {
    // A button that ended a menu or a wait acts only once every button was up.
    if (input.m_wButton == 0)
      m_bHoldButton = 0;
    else if (m_bHoldButton)
      input.m_wButton = 0;
    input.PushHistory();
    input.UpdateLogs();
    if (g_SystemData.m_bReplayRecord)
      g_KeyLog.AddKey(static_cast<int16_t>(input.m_wDir), static_cast<int16_t>(input.m_wButton));
  } else {
    input.Reset();
    input.ClearButtons();
    int16_t sDir = 0, sButton = 0;
    if (g_KeyLog.GetKey(&sDir, &sButton)) {
      // The end of the log: the replay starts again from its beginning.
      g_PlayData.LoadRetryState(1, g_SceneManager.m_nSubMode);
      SetStage(1, 1);
      m_nPhase = PLAYPHASE_READY;
      return false;
    }
    input.m_wDir = static_cast<uint16_t>(sDir);
    input.m_wButton = static_cast<uint16_t>(sButton);
    input.m_nNumpad = cInput::DirToNumpad(input.m_wDir);
    input.PushHistory();
    input.UpdateLogs();
  }
  Probe("Input");

  CountPlayTime();
  if (CountDownTime(-1)) {
    if (ThePlayer().m_nDying == 0) DefeatPlayer();
    return false;
  }

  Probe("ClearFrameFlags");
  cPlayerObj& player = ThePlayer();
  player.ClearFlowFrameFlags();
  for (cCharaObj& c : g_CharaList)
    if (c.m_nDying == 0) c.ClearFlowFrameFlags();
  for (cCharaObj& c : g_CharaList) c.m_nPinX = c.m_nPinY = 0;
  player.m_nPinX = player.m_nPinY = 0;

  for (int32_t nStep = 1; nStep <= g_Stage.m_nSteps; ++nStep)
    if (!RunUpdateStep(nStep)) return false;
  return true;
}

namespace {

// The character a walk stands on leaves, unless something it called (a
// death flow, a defeat pass) took it away already.
void RemoveCurrent(cListWalk<cCharaObj>& walk) {
  if (!walk.Left() && !walk.AtEnd()) g_PlayScene->RemoveFromHitGroup(walk.It());
}

}  // namespace

bool cPlayScene::RunUpdateStep(int32_t nStep) {
  m_nStepNo = nStep;
  ++m_nStepCount;
  BeginStep();
  cPlayerObj& player = ThePlayer();

  Probe("Lifetimes");
  if (player.m_nDying == 0) {
    for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
      cCharaObj& c = walk.Get();
      if (c.m_nDying != 0 || c.m_nLife == INT_MAX) continue;
      if (--c.m_nLife < 0) RemoveCurrent(walk);
    }
    for (cListWalk<cItemObj> walk(m_ItemWalks, g_ItemList); !walk.AtEnd(); walk.Next()) {
      cItemObj& item = walk.Get();
      if (item.m_nLife == INT_MAX) continue;
      if (--item.m_nLife < 0) RemoveItem(walk.It());
    }
  }

  Probe("Contacts");
  for (cCharaObj& c : g_CharaList) {
    c.StepHitImmunity();
    c.ClearBlockContacts();
    c.SavePosition();
  }
  player.StepHitImmunity();
  player.ClearBlockContacts();
  player.SavePosition();
  player.RememberLandCell();

  Probe("Scroll");
  m_ScrollX.Step();
  m_ScrollY.Step();

  if (player.m_nDying == 0 && !StepBlockCharas()) return false;
  if (player.m_nDying == 0 && !StepPlayer(player)) return false;
  if (player.m_nDying == 0 && !StepOtherCharas()) return false;
  StepShots(nStep);
  if (nStep == 1 && player.m_nDying == 0) RunRemovalPasses();

  if (player.m_nDying == 0) {
    Probe("CheckTileEvents", &player);
    if (EndsFrame(CheckTileEvents(player))) return false;
    Probe("CheckAttackHits");
    if (EndsFrame(CheckAttackHits())) return false;
  }
  if (player.m_nDying == 0) {
    Probe("CheckItemPickup", &player);
    if (EndsFrame(CheckItemPickup(player))) return false;
  }
  return true;
}

bool cPlayScene::StepBlockCharas() {
  for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
    cCharaObj& c = walk.Get();
    if (!c.IsBlockChara() || c.m_nDying != 0 || !c.m_nActive || !c.m_nActiveNow) continue;
    Probe("RunFlows", &c);
    c.FireTrigger(0);
    const int nFlows = c.RunFlows(0);
    // A flow may have taken the character away altogether.
    if (walk.Left()) continue;
    if (nFlows) {
      // Its flows defeated it.
      const int r = OnCharaDefeated(c);
      if (g_SystemData.m_bOption272) {
        if (r == STEP_STAGE_OVER) {
          RemoveCurrent(walk);
          return false;
        }
        // It plays its death and the drawing removes it.
        PlaySE(9);
      } else {
        RemoveCurrent(walk);
      }
      if (r != 0) return false;
      continue;
    }
    if (m_bCheckDefeats && CheckDefeats()) return false;
    // CheckDefeats may have taken this very character away.
    if (walk.Left()) continue;
    bool bRemove = false, bCrushed = false;
    Probe("MoveX", &c);
    if (c.MoveX() == 4) bRemove = true;
    if (TestBlocksX(c) == 2) bCrushed = true;
    c.ApplyGravity();
    Probe("MoveY", &c);
    const int nMoveY = c.MoveY();
    if (nMoveY == 7) bCrushed = true;
    if (nMoveY == 8) bRemove = true;
    if (TestBlocksY(c) == 2 || bCrushed) {
      PlaySE(9);
      const int r = OnCharaDefeated(c);
      if (r == STEP_STAGE_OVER) {
        RemoveCurrent(walk);
        return false;
      }
      if (r != 0) return false;
      continue;
    }
    if (bRemove) {
      RemoveCurrent(walk);
    } else {
      c.DecayKnockX();
      c.DecayKnockY();
    }
  }
  return true;
}

bool cPlayScene::StepPlayer(cPlayerObj& player) {
  Probe("RunFlows", &player);
  player.FireTrigger(0);
  if (player.RunFlows(0)) {
    DefeatPlayer();
    return false;
  }
  if (m_nStepResult == STEP_STAGE_OVER || m_nStepResult == STEP_PLAYER_DEFEATED) {
    EndsFrame(m_nStepResult);
    return false;
  }
  if (m_bCheckDefeats && CheckDefeats()) return false;
  Probe("ApplySpecialTile", &player);
  if (EndsFrame(ApplySpecialTile(player))) return false;
  if (player.m_nRiding) {
    Probe("CarryRider", &player);
    CarryRider(player, g_CharaList);
  }

  Probe("MoveX", &player);
  player.MoveX();
  KeepInScreenX(player);
  if (TestBlocksX(player) == 2) {
    KillPlayer(player, "1", false);
    return false;
  }
  KeepInScreenX(player);

  player.ApplyGravity();
  Probe("MoveY", &player);
  if (player.MoveY() == 7) {
    KillPlayer(player, "2", false);
    return false;
  }
  if (KeepInScreenY(player) == 2) {
    KillPlayer(player, "3", false);
    return false;
  }
  if (TestBlocksY(player) == 2) {
    KillPlayer(player, "4", false);
    return false;
  }
  if (KeepInScreenY(player) == 2) {
    KillPlayer(player, "5", false);
    return false;
  }
  auto Squeezed = [&player] {
    return (player.m_nTouchL && player.m_nTouchR) || (player.m_nTouchT && player.m_nTouchB);
  };
  if (Squeezed() && player.m_nCrushGrace == 0) {
    KillPlayer(player, "SP", true);
    return false;
  }
  Probe("ResolveBlockCharas", &player);
  if (ResolveBlockCharas(player, g_CharaList) == 2 && player.m_nDying == 0 &&
      player.m_nCrushGrace == 0) {
    KillPlayer(player, "6", false);
    return false;
  }
  if ((player.m_nTouchL || player.m_nTouchR) && TestBlocksXBoth(player) == 2 &&
      player.m_nDying == 0 && player.m_nCrushGrace == 0) {
    KillPlayer(player, "7", false);
    return false;
  }
  if ((player.m_nTouchT || player.m_nTouchB) && TestFloorAndCeiling(player) == 2 &&
      player.m_nDying == 0 && player.m_nCrushGrace == 0) {
    KillPlayer(player, "8", false);
    return false;
  }
  if (Squeezed() && player.m_nCrushGrace == 0) {
    KillPlayer(player, "9", true);
    return false;
  }
  player.DecayKnockX();
  player.DecayKnockY();
  return true;
}

bool cPlayScene::StepOtherCharas() {
  for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
    cCharaObj& c = walk.Get();
    if (c.IsBlockChara() || c.m_nDying != 0 || !c.m_nActive || !c.m_nActiveNow) continue;
    Probe("RunFlows", &c);
    c.FireTrigger(0);
    const int nFlows = c.RunFlows(0);
    // A flow may have taken the character away altogether.
    if (walk.Left()) continue;
    if (nFlows) {
      if (c.m_nVanish) {
        // Vanished: gone without a defeat.
        RemoveCurrent(walk);
        continue;
      }
      const int r = OnCharaDefeated(c);
      if (g_SystemData.m_bOption272) {
        if (r == STEP_STAGE_OVER) {
          RemoveCurrent(walk);
          return false;
        }
        PlaySE(9);
      } else {
        RemoveCurrent(walk);
      }
      if (r != 0) return false;
      continue;
    }
    if (m_bCheckDefeats && CheckDefeats()) return false;
    if (walk.Left()) continue;
    if (c.m_nRiding) {
      Probe("CarryRider", &c);
      CarryRider(c, g_CharaList);
    }
    bool bRemove = false, bCrushed = false;
    Probe("MoveX", &c);
    if (c.MoveX() == 4) bRemove = true;
    if (TestBlocksX(c) == 2) bCrushed = true;
    c.ApplyGravity();
    Probe("MoveY", &c);
    const int nMoveY = c.MoveY();
    if (nMoveY == 7) bCrushed = true;
    if (nMoveY == 8) bRemove = true;
    if (TestBlocksY(c) == 2) bCrushed = true;
    Probe("ResolveBlockCharas", &c);
    if (ResolveBlockCharas(c, g_CharaList) == 2) bCrushed = true;
    TestBlocksXBoth(c);
    TestFloorAndCeiling(c);
    const bool bSqueezed = (c.m_nTouchL && c.m_nTouchR) || (c.m_nTouchT && c.m_nTouchB);
    if (bSqueezed || bCrushed) {
      PlaySE(9);
      const int r = OnCharaDefeated(c);
      if (r == STEP_STAGE_OVER) {
        RemoveCurrent(walk);
        return false;
      }
      if (r != 0) return false;
    } else if (bRemove) {
      RemoveCurrent(walk);
    } else {
      c.DecayKnockX();
      c.DecayKnockY();
    }
  }
  return true;
}

void cPlayScene::StepShots(int32_t nStep) {
  Probe("Shots");
  for (cListWalk<cShotObj> walk(m_ShotWalks, m_ShotList); !walk.AtEnd(); walk.Next()) {
    cShotObj& shot = walk.Get();
    if (shot.Step(*this)) {
      RemoveShot(walk.It());
      continue;
    }
    shot.AddGravity();
    shot.MoveY();
    shot.MoveX();
    // Shots leave by the removal rules only in a frame's first step; sword
    // swings never do.
    if (nStep == 1 && shot.m_nIsShot == 1 &&
        shot.IsOutOfRange(shot.m_nControl == 0 ? RULE_PLAYER_SHOTS : RULE_OTHER_SHOTS)) {
      RemoveShot(walk.It());
      continue;
    }
    if (shot.HitsBlock(*this)) RemoveShot(walk.It());
  }
}

void cPlayScene::RunRemovalPasses() {
  Probe("RemovalPasses");
  if (m_bRemoveCharaOut) {
    for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
      cCharaObj& c = walk.Get();
      if (!c.IsBlockChara() && c.m_nDying == 0 && c.m_nActive && c.IsOutOfRange(RULE_CHARAS))
        RemoveCurrent(walk);
    }
  }
  if (m_bRemoveBlockCharaOut) {
    for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
      cCharaObj& c = walk.Get();
      if (c.IsBlockChara() && c.m_nDying == 0 && c.m_nActive && c.IsOutOfRange(RULE_BLOCK_CHARAS))
        RemoveCurrent(walk);
    }
  }
  if (m_bRemoveItemOut) {
    for (cListWalk<cItemObj> walk(m_ItemWalks, g_ItemList); !walk.AtEnd(); walk.Next())
      if (walk.Get().IsOutOfRange(RULE_ITEMS)) RemoveItem(walk.It());
  }
}

CHARALIST::iterator cPlayScene::RemoveFromHitGroup(CHARALIST::iterator it) {
  cCharaObj& c = *it;
  c.ReleaseRefs();
  m_BlockCharas.OnListChanged();
  std::list<cGameObj*>& group = m_CharaGroups.At(c.m_nGroup);
  for (auto g = group.begin(); g != group.end(); ++g) {
    if (*g == &c) {
      m_Hits.OnCharaLeavesGroup(g);
      group.erase(g);
      break;
    }
  }
  m_CharaWalks.OnErase(it);
  return g_CharaList.erase(it);
}

void cPlayScene::RemoveChara(cCharaObj& chara) {
  for (auto it = g_CharaList.begin(); it != g_CharaList.end(); ++it) {
    if (&*it == &chara) {
      RemoveFromHitGroup(it);
      return;
    }
  }
}

ITEMLIST::iterator cPlayScene::RemoveItem(ITEMLIST::iterator it) {
  m_ItemWalks.OnErase(it);
  return g_ItemList.erase(it);
}

SHOTLIST::iterator cPlayScene::RemoveShot(SHOTLIST::iterator it) {
  cShotObj& shot = *it;
  std::list<cShotObj*>& group = m_ShotGroups.At(shot.m_nGroup);
  for (auto g = group.begin(); g != group.end(); ++g) {
    if (*g == &shot) {
      m_Hits.OnShotLeavesGroup(g);
      group.erase(g);
      break;
    }
  }
  m_ShotWalks.OnErase(it);
  return m_ShotList.erase(it);
}

void cPlayScene::ClearObjects() {
  m_Hits.OnGroupsCleared();
  m_BlockCharas.OnListChanged();
  for (std::list<cShotObj*>& group : m_ShotGroups) group.clear();
  m_ShotWalks.OnClear();
  m_ShotList.clear();
  for (std::list<cGameObj*>& group : m_CharaGroups) group.clear();
  m_CharaWalks.OnClear();
  // From the back: each character leaves the player's reference list at
  // its end, where the search for it begins.
  while (!g_CharaList.empty()) g_CharaList.pop_back();
  m_ItemWalks.OnClear();
  g_ItemList.clear();
}
