// Defeat and death: a character whose HP ran out dies (its death flows act
// at once, the stage score grows, its carried item goes to the player, its
// references are released and it starts dying); the defeat of the player;
// the pass over the defeated and vanished characters.
#include <algorithm>

#include "base/window_requests.h"
#include "files/play_data.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

void cGameObj::StepHitImmunity() {
  if (m_nInvincible > 0) --m_nInvincible;
  for (IMMUNITY& entry : m_ImmunityList) --entry.nSteps;
  m_ImmunityList.remove_if([](const IMMUNITY& entry) { return entry.nSteps <= 0; });
}

int cGameObj::Die() {
  cPlayScene& scene = *g_PlayScene;
  scene.Probe("Die", this);
  FireTrigger(3);
  // Only the death flows run, in this same step.
  RunFlows(1);
  const int64_t nScore =
      static_cast<int64_t>(g_PlayData.m_nStageScore) + static_cast<int64_t>(m_Def.m_nScore);
  g_PlayData.m_nStageScore = static_cast<int32_t>(std::clamp<int64_t>(nScore, 0, 999999));
  int nResult = 0;
  if (cItemObj* pItem = GetCarriedItem()) nResult = scene.GiveItem(pItem, ThePlayer(), nullptr);
  if (scene.m_nStepResult == STEP_STAGE_OVER || nResult == STEP_STAGE_OVER) return 1;
  ReleaseRefs();
  m_nDying = 1;
  m_CharaEffect.Start(m_Def.m_sDeathEffect, m_Def.m_cDeathVariant, 0);
  return 0;
}

int cPlayScene::HandleDefeat(cGameObj& chara) {
  if (chara.m_nControl == 0) return STEP_PLAYER_DEFEATED;
  if (chara.m_nDying) return 0;
  return chara.Die();
}

int cPlayScene::OnCharaDefeated(cGameObj& chara) {
  const int r = HandleDefeat(chara);
  if (r == STEP_STAGE_OVER) {
    StageEnd();
    m_nPhase = PLAYPHASE_STAGEEND;
    return r;
  }
  if (r == STEP_PLAYER_DEFEATED) {
    PlaySE(8);
    if (ThePlayer().Die() == 1) {
      StageEnd();
      m_nPhase = PLAYPHASE_STAGEEND;
    }
    return r;
  }
  return r;
}

int cPlayScene::CheckDefeats() {
  Probe("CheckDefeats");
  cPlayerObj& player = ThePlayer();
  if (player.m_nHP <= 0) {
    PlaySE(8);
    if (player.Die() == 1) {
      StageEnd();
      m_nPhase = PLAYPHASE_STAGEEND;
    }
    return 1;
  }
  for (cListWalk<cCharaObj> walk(m_CharaWalks, g_CharaList); !walk.AtEnd(); walk.Next()) {
    cCharaObj& c = walk.Get();
    if (c.m_nVanish) {
      RemoveFromHitGroup(walk.It());
      continue;
    }
    if (c.m_nHP > 0) continue;
    const int r = OnCharaDefeated(c);
    if (!g_SystemData.m_bOption272) {
      if (!walk.Left()) RemoveFromHitGroup(walk.It());
    } else if (r == STEP_STAGE_OVER) {
      if (!walk.Left()) RemoveFromHitGroup(walk.It());
      return 1;
    } else {
      // Left in the list, dying.
      PlaySE(9);
    }
    if (r != 0) return 1;
  }
  return 0;
}
