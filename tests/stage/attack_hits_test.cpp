// Attack hits: who hits whom between the hit groups, what a hit does, and
// the binned walk held to the plain nested loops on random fights.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "stage/combat_fixture.h"
#include "stage/damage_rules.h"

namespace {

class AttackHits : public cCombatFixture {
 protected:
  // The player far off in group 0; characters of the given groups side by
  // side in the middle of the stage, none touching another.
  cPlayScene& Fight(std::vector<uint8_t> groups, std::vector<uint8_t> watch = {}) {
    Floor(14);
    Player(1, 13).m_cFaction = 0;
    for (size_t i = 0; i < groups.size(); ++i) {
      cEdChara& def = Chara(static_cast<int16_t>(4 + 3 * i), 13);
      def.m_cFaction = groups[i];
      def.m_nMaxHP = 100;
      Watch(def, watch);
    }
    cPlayScene& scene = StartPlaying();
    Sounds();
    return scene;
  }
};

TEST_F(AttackHits, ShotsHitCharactersOfOtherGroupsUnlessShieldedOrSpent) {
  struct ROW {
    const char* what;
    int32_t nShotGroup;
    uint8_t cInvincible;  // the character's option
    int32_t nPower;
    int8_t cImpact;
    int32_t bCompat763b;
    int32_t nInvincibleSteps;  // the character is invincible for a while
    int32_t nHP;               // the character's HP afterwards
    bool bTrigger7;
    bool bShotGone;
    std::vector<int> sounds;
  };
  const ROW rows[] = {
      {"other group", 2, 0, 30, 0, 0, 0, 70, true, true, {7}},
      {"same group", 1, 0, 30, 0, 0, 0, 100, false, false, {}},
      {"option 1 takes shots", 2, 1, 30, 0, 0, 0, 100, true, true, {7}},
      {"option 2 lets them through", 2, 2, 30, 0, 0, 0, 100, false, false, {}},
      {"invincible: a damaging shot passes", 2, 0, 30, 0, 0, 5, 100, false, false, {}},
      {"invincible: a harmless shot touches", 2, 0, 0, 0, 0, 5, 100, true, true, {7}},
      {"harmless under the old rule", 2, 0, 0, 0, 1, 0, 100, true, false, {}},
      {"impact only", 2, 0, 0, 5, 0, 0, 100, true, true, {7}},
      {"deadly", 2, 0, 500, 0, 0, 0, 0, true, true, {9}},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(row.what);
    cPlayScene& scene = Fight({1}, {7});
    g_SystemData.m_bCompat763b = row.bCompat763b;
    cCharaObj& c = Nth(0);
    c.m_Def.m_cInvincible = row.cInvincible;
    c.m_nInvincible = row.nInvincibleSteps;
    cShotObj& shot = AddShot(row.nShotGroup, c.m_ShotBox.dLeft + 4, c.m_ShotBox.dTop + 4);
    shot.m_Def.m_nPower = row.nPower;
    shot.m_Def.m_cImpact = row.cImpact;
    shot.m_nIsShot = 1;
    scene.m_nStepNo = 1;
    EXPECT_EQ(scene.CheckAttackHits(), 0);
    EXPECT_EQ(c.m_nHP, row.nHP);
    EXPECT_EQ(Fired(c).count(7) == 1, row.bTrigger7);
    EXPECT_EQ(scene.m_ShotList.empty(), row.bShotGone);
    EXPECT_EQ(Sounds(), row.sounds);
    EXPECT_EQ(scene.m_bInAttackCheck, 0);
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
  }
}

TEST_F(AttackHits, AVanishingShotGoesOnThroughWhatItPassesAndHitsItOnce) {
  struct ROW {
    int32_t bIsShot;
    int8_t cPassCharas;
    int8_t cPassBlocks;
    uint8_t cBlockChara;
    bool bStays;
  };
  const ROW rows[] = {
      {1, 0, 0, 0, false}, {1, 1, 0, 0, true}, {1, 0, 1, 0, false},
      {1, 0, 1, 1, true},  {1, 1, 0, 1, false}, {0, 0, 0, 0, true},  // a sword swing stays
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.bIsShot << int{row.cPassCharas}
                                      << int{row.cPassBlocks} << int{row.cBlockChara});
    cPlayScene& scene = Fight({1});
    cCharaObj& c = Nth(0);
    c.m_Def.m_cBlockLike = row.cBlockChara;
    cShotObj& shot = AddShot(2, c.m_ShotBox.dLeft, c.m_ShotBox.dTop);
    shot.m_nIsShot = row.bIsShot;
    shot.m_Def.m_nPower = 10;
    shot.m_Def.m_cPierceChara = row.cPassCharas;
    shot.m_Def.m_cPierceBlockChara = row.cPassBlocks;
    for (int nStep = 0; nStep < 3; ++nStep) {
      scene.m_nStepNo = 1;
      scene.CheckAttackHits();
    }
    EXPECT_EQ(c.m_nHP, 90);  // once only
    EXPECT_EQ(scene.m_ShotList.size(), row.bStays ? 1u : 0u);
    EXPECT_EQ(scene.m_ShotGroups.At(2).size(), row.bStays ? 1u : 0u);
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
  }
}

TEST_F(AttackHits, ShotsHitCharactersOnlyOnTheFlaggedStepsOfAFrame) {
  MakeStage(20, 15, 4);
  g_Stage.m_nAttackTests = 2;
  cPlayScene& scene = Fight({1});
  ASSERT_EQ(scene.m_HitStepMask.size(), 4u);
  cCharaObj& c = Nth(0);
  std::vector<int> hits;
  for (int32_t nStep = 1; nStep <= 4; ++nStep) {
    const int32_t nHP = c.m_nHP;
    cShotObj& shot = AddShot(2, c.m_ShotBox.dLeft, c.m_ShotBox.dTop);
    shot.m_Def.m_nPower = 1;
    scene.m_nStepNo = nStep;
    scene.CheckAttackHits();
    if (c.m_nHP != nHP) hits.push_back(nStep);
    scene.m_ShotList.clear();
    scene.m_ShotGroups.At(2).clear();
  }
  EXPECT_EQ(hits, (std::vector<int>{1, 3}));
}

TEST_F(AttackHits, BreakableShotsDestroyEachOtherByStrength) {
  struct ROW {
    int8_t cBreakP, cStrengthP, cBreakY, cStrengthY;
    bool bPGone, bYGone;
  };
  const ROW rows[] = {
      {1, 5, 1, 5, true, true},   {1, 5, 1, 7, true, false}, {1, 7, 1, 5, false, true},
      {1, 5, 0, 9, true, false},  {0, 5, 1, 1, false, true}, {0, 5, 0, 5, false, false},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(::testing::Message() << int{row.cBreakP} << int{row.cStrengthP}
                                      << int{row.cBreakY} << int{row.cStrengthY});
    cPlayScene& scene = Fight({});
    cShotObj& p = AddShot(3, 600, 600);
    cShotObj& y = AddShot(5, 610, 610);
    p.m_Def.m_cVsShot = row.cBreakP;
    p.m_Def.m_cVanishValue = row.cStrengthP;
    y.m_Def.m_cVsShot = row.cBreakY;
    y.m_Def.m_cVanishValue = row.cStrengthY;
    const int32_t nP = p.m_nId, nY = y.m_nId;
    scene.m_nStepNo = 1;
    scene.CheckAttackHits();
    std::set<int32_t> left;
    for (const cShotObj& s : scene.m_ShotList) left.insert(s.m_nId);
    EXPECT_EQ(left.count(nP) == 0, row.bPGone);
    EXPECT_EQ(left.count(nY) == 0, row.bYGone);
    EXPECT_EQ(scene.m_ShotGroups.At(3).size() + scene.m_ShotGroups.At(5).size(), left.size());
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
  }
}

TEST_F(AttackHits, ABreakableShotGoesOnBreakingUntilTheEndOfItsRow) {
  cPlayScene& scene = Fight({});
  cShotObj& p = AddShot(3, 600, 600, 64);
  p.m_Def.m_cVsShot = 1;
  p.m_Def.m_cVanishValue = 5;
  for (int i = 0; i < 3; ++i) {
    cShotObj& y = AddShot(4, 600 + 16 * i, 600);
    y.m_Def.m_cVsShot = 1;
    y.m_Def.m_cVanishValue = 5;
  }
  scene.m_nStepNo = 1;
  scene.CheckAttackHits();
  EXPECT_TRUE(scene.m_ShotList.empty());  // all three met it before it left
}

TEST_F(AttackHits, BodiesHitEachOtherAndBothTakeTheirHitBeforeEitherFiresTriggers) {
  for (int32_t bAtOnce : {0, 1}) {
    SCOPED_TRACE(bAtOnce);
    cPlayScene& scene = Fight({1, 2}, {1, 3, 4});
    g_SystemData.m_bCompat763a = bAtOnce;
    cCharaObj& w = Nth(0);
    cCharaObj& y = Nth(1);
    for (cCharaObj* c : {&w, &y}) {
      c->m_Def.m_nBodyPower = 150;
      c->m_nHP = 100;
    }
    Put(y, w.m_dX + 8, w.m_dY);
    scene.m_nStepNo = 1;
    EXPECT_EQ(scene.CheckAttackHits(), 0);
    EXPECT_EQ(w.m_nDying, 1);
    EXPECT_EQ(y.m_nDying, 1);
    EXPECT_EQ(Fired(w), (std::set<int>{1, 3, 4}));
    EXPECT_EQ(Fired(y), (std::set<int>{1, 3, 4}));
    EXPECT_EQ(Sounds(), (std::vector<int>{7, 9, 9}));
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
  }
}

TEST_F(AttackHits, AnAttackerIsShutOutForItsImmunityButAnotherHitsAtOnce) {
  g_Stage.m_nOtherImmunity = 30;
  cPlayScene& scene = Fight({1, 2, 3});
  cCharaObj& v = Nth(0);
  cCharaObj& a = Nth(1);
  cCharaObj& b = Nth(2);
  a.m_Def.m_nBodyPower = 10;
  b.m_Def.m_nBodyPower = 10;
  Put(a, v.m_dX + 4, v.m_dY);
  scene.m_nStepNo = 1;
  scene.CheckAttackHits();
  EXPECT_EQ(v.m_nHP, 90);
  EXPECT_TRUE(cDamageRules::IsImmuneTo(v, a.m_nId));
  EXPECT_FALSE(cDamageRules::IsImmuneTo(v, b.m_nId));
  Put(a, 1500, v.m_dY);
  Put(b, v.m_dX - 4, v.m_dY);
  v.StepHitImmunity();
  scene.CheckAttackHits();
  EXPECT_EQ(v.m_nHP, 80);  // the other attacker, the next step
  Put(b, 1500, v.m_dY);
  Put(a, v.m_dX + 4, v.m_dY);
  // A hit V one step before B did: V's immunity to A runs out on the 30th
  // step after A's hit.
  for (int i = 0; i < 28; ++i) {
    v.StepHitImmunity();
    scene.CheckAttackHits();
  }
  EXPECT_EQ(v.m_nHP, 80);
  v.StepHitImmunity();
  scene.CheckAttackHits();
  EXPECT_EQ(v.m_nHP, 70);
}

TEST_F(AttackHits, ADefeatAddsTheScoreAndTheCarriedShotItemGoesToThePlayer) {
  cPlayScene& scene = Fight({1});
  cCharaObj& c = Nth(0);
  c.m_Def.m_nScore = 150;
  g_PlayData.m_nStageScore = 999950;
  cShotObj& shot = AddShot(0, c.m_ShotBox.dLeft, c.m_ShotBox.dTop);
  shot.m_Def.m_nPower = 1000;
  scene.m_nStepNo = 1;
  EXPECT_EQ(scene.CheckAttackHits(), 0);
  EXPECT_EQ(c.m_nDying, 1);
  EXPECT_EQ(g_PlayData.m_nStageScore, 999999);
  EXPECT_EQ(Sounds(), std::vector<int>{9});
}

TEST_F(AttackHits, ThePlayerDefeatedByAShotEndsThePass) {
  cPlayScene& scene = Fight({1});
  cPlayerObj& player = ThePlayerObj();
  cShotObj& shot = AddShot(1, player.m_ShotBox.dLeft, player.m_ShotBox.dTop);
  shot.m_Def.m_nPower = 1000;
  scene.m_nStepNo = 1;
  EXPECT_EQ(scene.CheckAttackHits(), STEP_PLAYER_DEFEATED);
  EXPECT_EQ(scene.m_bInAttackCheck, 0);
}

// Random fights: characters of four groups (some block characters, some
// shielded) and shots of five groups jostle about, hit, knock back, die
// and break each other. The binned walk and the plain loops must leave the
// same state after every step.
uint64_t FightDigest(cPlayScene& scene) {
  uint64_t h = 1469598103934665603ull;
  auto Add = [&](double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    h = (h ^ b) * 1099511628211ull;
  };
  auto Chara = [&](const cGameObj& c) {
    Add(c.m_nId), Add(c.m_nHP), Add(c.m_nDying), Add(c.m_nInvincible), Add(c.m_dKnockX);
    Add(c.m_dKnockY), Add(static_cast<double>(c.m_ImmunityList.size()));
    for (const cFlowState& r : c.m_vecFlowStates) Add(r.m_nRunning);
    for (const cGameObj* t : c.m_vecTargets) Add(t ? t->m_nId : -1);
  };
  Chara(ThePlayer());
  for (const cCharaObj& c : g_CharaList) Chara(c);
  for (const cShotObj& s : scene.m_ShotList) {
    Add(s.m_nId), Add(s.m_nDead);
    for (int32_t id : s.m_lstHit) Add(id);
  }
  for (const auto& g : scene.m_ShotGroups)
    for (const cShotObj* s : g) Add(s->m_nId);
  Add(g_PlayData.m_nStageScore), Add(static_cast<double>(scene.m_EffectList.size()));
  for (int v : Requests().vecSounds) Add(v);
  return h;
}

class RandomFights : public AttackHits {
 protected:
  std::vector<uint64_t> Play(unsigned nSeed, bool bBroad) {
    std::mt19937 rng(nSeed);
    m_nNextShotId = 1000;
    MakeStage(60, 30, 1);
    Floor(29);
    Player(2, 28).m_cFaction = 0;
    const int nCharas = 20 + static_cast<int>(rng() % 60);
    for (int i = 0; i < nCharas; ++i) {
      cEdChara& def = Chara(static_cast<int16_t>(rng() % 60), static_cast<int16_t>(rng() % 29));
      def.m_cFaction = static_cast<uint8_t>(rng() % 4);
      def.m_nMaxHP = 1 + static_cast<int32_t>(rng() % 30);
      def.m_nBodyPower = static_cast<int32_t>(rng() % 4) * 5;
      def.m_cBodyImpact = static_cast<int8_t>(rng() % 3);
      def.m_nDefence = static_cast<int32_t>(rng() % 6);
      def.m_cInvincible = static_cast<uint8_t>(rng() % 10 == 0 ? 1 + rng() % 2 : 0);
      def.m_cBlockLike = rng() % 12 == 0;
      def.m_nScore = 10;
      def.m_cFlying = 1;
      Watch(def, {1, 2, 4, 7, 18, 20});
    }
    g_Stage.m_nOtherImmunity = static_cast<int32_t>(rng() % 5);
    g_Stage.m_nPlayerImmunity = 3;
    cPlayScene& scene = StartPlaying();
    scene.m_Hits.m_bBroadPhase = bBroad;
    Requests().vecSounds.clear();
    std::uniform_real_distribution<double> step(-24, 24);
    // A crowded corner of the stage.
    auto Spot = [&] { return std::uniform_real_distribution<double>(400, 800)(rng); };
    auto SpotY = [&] { return std::uniform_real_distribution<double>(400, 700)(rng); };
    for (cCharaObj& c : g_CharaList) Put(c, Spot(), SpotY());
    std::vector<uint64_t> digests;
    for (int nStep = 0; nStep < 40; ++nStep) {
      for (cCharaObj& c : g_CharaList) {
        c.StepHitImmunity();
        Put(c, c.m_dX + step(rng), c.m_dY + step(rng));
        if (rng() % 40 == 0) Put(c, Spot(), SpotY());
      }
      cPlayerObj& player = ThePlayerObj();
      player.StepHitImmunity();
      player.m_nHP = player.m_Def.m_nMaxHP;
      for (cShotObj& s : scene.m_ShotList) {
        const double dx = step(rng), dy = step(rng);
        s.m_HitBox.dLeft += dx, s.m_HitBox.dRight += dx;
        s.m_HitBox.dTop += dy, s.m_HitBox.dBottom += dy;
      }
      const int nNew = static_cast<int>(rng() % 40);
      for (int i = 0; i < nNew; ++i) {
        cShotObj& s = AddShot(static_cast<int32_t>(rng() % 5), Spot(), SpotY(),
                              8 + static_cast<int32_t>(rng() % 40));
        s.m_Def.m_nPower = static_cast<int32_t>(rng() % 3) * 4;
        s.m_Def.m_cImpact = static_cast<int8_t>(rng() % 2);
        s.m_nIsShot = rng() % 5 != 0;
        s.m_Def.m_cPierceChara = rng() % 3 == 0;
        s.m_Def.m_cVsShot = rng() % 3 == 0;
        s.m_Def.m_cVanishValue = static_cast<int8_t>(rng() % 4);
        s.m_nOnScreen = 1;
      }
      scene.m_nStepNo = 1;
      scene.CheckAttackHits();
      digests.push_back(FightDigest(scene));
    }
    int nDead = 0;
    for (const cCharaObj& c : g_CharaList) nDead += c.m_nDying;
    m_nDeaths += nDead;
    m_nSounds += static_cast<int>(Requests().vecSounds.size());
    delete m_pScene;
    m_pScene = nullptr;
    g_Stage.Reset();
    return digests;
  }
  int m_nDeaths = 0;
  int m_nSounds = 0;
};

TEST_F(RandomFights, TheBinnedWalkLeavesWhatTheNestedLoopsLeaveStepByStep) {
  for (unsigned nSeed = 1; nSeed <= 12; ++nSeed) {
    SCOPED_TRACE(nSeed);
    const std::vector<uint64_t> plain = Play(nSeed, false);
    const std::vector<uint64_t> binned = Play(nSeed, true);
    ASSERT_EQ(plain.size(), binned.size());
    for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(plain[i], binned[i]) << "step " << i;
  }
  // The fights were fights.
  EXPECT_GT(m_nDeaths, 100);
  EXPECT_GT(m_nSounds, 1000);
}

}  // namespace
