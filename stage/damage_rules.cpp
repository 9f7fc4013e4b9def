#include "stage/damage_rules.h"

#include <algorithm>

#include "files/stage_data.h"
#include "stage/play_scene.h"
#include "stage/shot_obj.h"
#include "stage/stage_objects.h"

namespace {

enum : int8_t {
  TRIG_DAMAGED = 1,
  TRIG_IMPACTED = 2,
  TRIG_DEALT_DAMAGE = 18,
  TRIG_DEALT_IMPACT = 19,
};

RECTD RectOf(const HITBOX& box) { return RECTD{box.dLeft, box.dTop, box.dRight, box.dBottom}; }

// Stage frames times the update steps of a frame, kept within 32 bits.
int32_t StepsOf(int32_t nFrames) {
  const int64_t n = static_cast<int64_t>(nFrames) * g_Stage.m_nSteps;
  return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

// The HP change of a damage (a healing power may be the least int32).
int32_t Negated(int32_t d) { return d == INT32_MIN ? INT32_MAX : -d; }

// The victim fires the trigger with the attacker's side as partner; a
// credited side is told it hit, with its key.
void FirePair(cGameObj& victim, int8_t cVictimKind, cGameObj* pPartner, bool bCredited,
              int8_t cCreditKind, int8_t cKey) {
  victim.FireFlows(cVictimKind, pPartner, 0);
  if (bCredited && pPartner) pPartner->FireFlows(cCreditKind, &victim, cKey);
}

}  // namespace

int32_t cDamageRules::DamageOf(int32_t nPower, const cGameObj& victim) {
  if (nPower <= 0) return nPower;
  const int64_t d = static_cast<int64_t>(nPower) - victim.m_Def.m_nDefence;
  return static_cast<int32_t>(std::clamp<int64_t>(d, 0, 999999));
}

int cDamageRules::TakeBodyHit(cPlayScene& scene, cGameObj& victim,
                              const cGameObj& attacker) const {
  const int32_t d = DamageOf(attacker.m_Def.m_nBodyPower, victim);
  const int bDied = victim.ChangeHP(Negated(d), 0, 1);
  if (attacker.m_Def.m_sBodyHitEffect != 0) {
    cEffectObj& effect = scene.m_EffectList.emplace_back();
    effect.InitScaled(attacker.m_Def.m_sBodyHitEffect, RectOf(victim.m_BodyBox),
                      RectOf(attacker.m_BodyBox), attacker.GetScale());
  }
  victim.ImpactFromBody(attacker);
  return bDied;
}

int cDamageRules::TakeShotHit(cPlayScene& scene, cGameObj& victim, const cShotObj& shot) const {
  const int32_t d = DamageOf(shot.m_Def.m_nPower, victim);
  const int bDied = victim.ChangeHP(Negated(d), 0, 1);
  if (shot.m_Def.m_sHitEffect != 0) {
    cEffectObj& effect = scene.m_EffectList.emplace_back();
    effect.InitScaled(shot.m_Def.m_sHitEffect, RectOf(victim.m_ShotBox), RectOf(shot.m_HitBox),
                      shot.GetScale());
  }
  victim.ImpactFromShot(shot);
  return bDied;
}

void cDamageRules::FireDamageTriggers(cGameObj& victim, cGameObj& attacker) const {
  const bool bParent = attacker.m_pParent && attacker.m_nParentCredit;
  cGameObj* pPartner = bParent ? attacker.m_pParent : &attacker;
  if (attacker.m_Def.m_nBodyPower != 0)
    FirePair(victim, TRIG_DAMAGED, pPartner, bParent, TRIG_DEALT_DAMAGE, attacker.m_cParentKey);
  // The victim's damage flows may have released the attacker's parent.
  const bool bParent2 = attacker.m_pParent && attacker.m_nParentCredit;
  cGameObj* pPartner2 = bParent2 ? attacker.m_pParent : &attacker;
  if (attacker.m_Def.m_cBodyImpact != 0)
    FirePair(victim, TRIG_IMPACTED, pPartner2, bParent2, TRIG_DEALT_IMPACT, attacker.m_cParentKey);
}

void cDamageRules::FireShotDamageTriggers(cGameObj& victim, const cShotObj& shot) const {
  if (shot.m_Def.m_nPower != 0)
    FirePair(victim, TRIG_DAMAGED, shot.m_pShooter, shot.m_nCredit != 0, TRIG_DEALT_DAMAGE,
             shot.m_cKey);
  if (shot.m_Def.m_cImpact != 0)
    FirePair(victim, TRIG_IMPACTED, shot.m_pShooter, shot.m_nCredit != 0, TRIG_DEALT_IMPACT,
             shot.m_cKey);
}

void cDamageRules::SetInvincible(cGameObj& chara) const {
  chara.m_nInvincible =
      StepsOf(chara.m_nControl == 0 ? g_Stage.m_nPlayerInvincible : g_Stage.m_nOtherInvincible);
}

void cDamageRules::AddHitImmunity(cGameObj& chara, int32_t nAttackerId) const {
  SetInvincible(chara);
  chara.m_ImmunityList.push_back(IMMUNITY{
      nAttackerId,
      StepsOf(chara.m_nControl == 0 ? g_Stage.m_nPlayerImmunity : g_Stage.m_nOtherImmunity)});
}

bool cDamageRules::IsDamaged(const cGameObj& chara) { return chara.m_nInvincible > 0; }

bool cDamageRules::IsImmuneTo(const cGameObj& chara, int32_t nAttackerId) {
  if (chara.m_nInvincible >= 1) return true;
  return std::any_of(chara.m_ImmunityList.begin(), chara.m_ImmunityList.end(),
                     [nAttackerId](const IMMUNITY& e) { return e.nId == nAttackerId; });
}
