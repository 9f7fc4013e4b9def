// What a hit does: the damage against defence, the triggers of victim and
// attacker, the invincibility and immunity that follow, the knock-back.
#include "stage/damage_rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "stage/combat_fixture.h"

namespace {

TEST(DamageRules, PowerLessDefenceKeptWithinBoundsAndHealingIgnoresDefence) {
  struct ROW {
    int32_t nPower, nDefence, nDamage;
  };
  const ROW rows[] = {
      {20, 5, 15},      {10, 15, 0},  {10, 10, 0},           {-5, 100, -5}, {0, 3, 0},
      {INT_MAX, 0, 999999}, {5, -7, 12}, {INT_MAX, INT_MIN, 999999}, {INT_MIN, 0, INT_MIN},
  };
  for (const ROW& row : rows) {
    cGameObj victim;
    victim.m_Def.m_nDefence = row.nDefence;
    EXPECT_EQ(cDamageRules::DamageOf(row.nPower, victim), row.nDamage)
        << row.nPower << " against " << row.nDefence;
  }
}

class DamageRulesPlay : public cCombatFixture {};

TEST_F(DamageRulesPlay, InvincibilityAndImmunityLastTheStagesFramesTimesTheSteps) {
  MakeStage(20, 15, 3);
  g_Stage.m_nPlayerInvincible = 4;
  g_Stage.m_nOtherInvincible = 2;
  g_Stage.m_nPlayerImmunity = 7;
  g_Stage.m_nOtherImmunity = 5;
  Player(1, 13).m_cFaction = 0;
  Chara(5, 13);
  StartPlaying();
  const cDamageRules& rules = Scene().m_Hits.Damage();
  struct ROW {
    cGameObj* pChara;
    int32_t nInvincible, nImmune;
  };
  const ROW rows[] = {{&ThePlayerObj(), 12, 21}, {&Nth(0), 6, 15}};
  for (const ROW& row : rows) {
    cGameObj& c = *row.pChara;
    rules.AddHitImmunity(c, 77);
    EXPECT_EQ(c.m_nInvincible, row.nInvincible);
    for (int i = 0; i < row.nImmune - 1; ++i) {
      EXPECT_EQ(cDamageRules::IsDamaged(c), i < row.nInvincible);
      EXPECT_TRUE(cDamageRules::IsImmuneTo(c, 77));
      EXPECT_EQ(cDamageRules::IsImmuneTo(c, 78), i < row.nInvincible);
      c.StepHitImmunity();
    }
    c.StepHitImmunity();
    EXPECT_FALSE(cDamageRules::IsImmuneTo(c, 77));
    EXPECT_TRUE(c.m_ImmunityList.empty());
  }
}

TEST_F(DamageRulesPlay, DamageTriggersNameTheCreditedParentOrTheAttacker) {
  Player(1, 13).m_cFaction = 0;
  for (int i = 0; i < 3; ++i) Watch(Chara(static_cast<int16_t>(4 + 3 * i), 13), {1, 2, 18, 19});
  StartPlaying();
  const cDamageRules& rules = Scene().m_Hits.Damage();
  cCharaObj& victim = Nth(0);
  cCharaObj& attacker = Nth(1);
  cCharaObj& parent = Nth(2);
  attacker.SetParent(&parent);
  struct ROW {
    int32_t nPower;
    int8_t cImpact;
    int32_t bCredit;
    std::set<int> victimFires, parentFires, attackerFires;
    cGameObj* pPartner;  // the victim's partner
  };
  const ROW rows[] = {
      {10, 0, 1, {1}, {18}, {}, &parent},
      {10, 3, 1, {1, 2}, {18, 19}, {}, &parent},
      {0, 3, 0, {2}, {}, {}, &attacker},
      {10, 3, 0, {1, 2}, {}, {}, &attacker},
      {0, 0, 1, {}, {}, {}, nullptr},
  };
  for (const ROW& row : rows) {
    for (cCharaObj* c : {&victim, &attacker, &parent}) {
      Calm(*c);
      c->ClearFlowFrameFlags();
      c->SetTarget(1, nullptr, 1);
    }
    attacker.m_Def.m_nBodyPower = row.nPower;
    attacker.m_Def.m_cBodyImpact = row.cImpact;
    attacker.m_nParentCredit = row.bCredit;
    rules.FireDamageTriggers(victim, attacker);
    EXPECT_EQ(Fired(victim), row.victimFires);
    EXPECT_EQ(Fired(parent), row.parentFires);
    EXPECT_EQ(Fired(attacker), row.attackerFires);
    EXPECT_EQ(victim.m_vecTargets[1], row.pPartner);
    if (!row.parentFires.empty()) {
      EXPECT_EQ(parent.m_vecTargets[1], &victim);
    }
  }
}

TEST_F(DamageRulesPlay, KnockBackFollowsAShotsMotionOrASwingsFacing) {
  Player(1, 13).m_cFaction = 0;
  Chara(5, 13);
  StartPlaying();
  const cDamageRules& rules = Scene().m_Hits.Damage();
  struct ROW {
    int32_t bIsShot;
    double dVX;
    int32_t nFacing;
    int nSign;  // of the knock-back in x
  };
  const ROW rows[] = {{1, 3, 0, 1}, {1, -3, 1, -1}, {0, 3, 0, -1}, {0, -3, 1, 1}};
  for (const ROW& row : rows) {
    cCharaObj& c = Nth(0);
    c.m_dKnockX = c.m_dKnockY = 0;
    c.m_nHP = 10;
    cShotObj shot;
    shot.m_nIsShot = row.bIsShot;
    shot.m_dVX = row.dVX;
    shot.m_nFacing = row.nFacing;
    shot.m_Def.m_nPower = 3;
    shot.m_Def.m_cImpact = 8;
    EXPECT_EQ(rules.TakeShotHit(Scene(), c, shot), 0);
    EXPECT_EQ(c.m_nHP, 7);
    EXPECT_EQ((c.m_dKnockX > 0) - (c.m_dKnockX < 0), row.nSign) << row.bIsShot << row.dVX;
    EXPECT_EQ(c.m_nKnocked, 1);
  }
}

}  // namespace
