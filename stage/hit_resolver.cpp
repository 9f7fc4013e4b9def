#include "stage/hit_resolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/window_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "palette/palette_lists.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

enum : int8_t { TRIG_TOUCHED_CHARA = 4, TRIG_SHOT_HIT = 7, TRIG_LANDED_ATTACK = 20 };

// A computer character's defeat is heard (sound 9), any hit otherwise (7).
constexpr int kSoundHit = 7;
constexpr int kSoundDefeat = 9;

PAIRBOX BoxOf(const HITBOX& box) { return PAIRBOX{box.dLeft, box.dTop, box.dRight, box.dBottom}; }

bool HasBodyAttack(const cGameObj& c) {
  return c.m_Def.m_nBodyPower != 0 || c.m_Def.m_cBodyImpact != 0;
}

// A character left out of the character-against-character pass.
bool SitsOutBodyHits(const cGameObj& c, bool bOnScreenOnly) {
  return (bOnScreenOnly && !c.m_nOnScreen) || c.IsBlockChara() || !c.m_nActive || c.m_nDying;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

bool IsEnding(int r) { return r == STEP_STAGE_OVER || r == STEP_PLAYER_DEFEATED; }

}  // namespace

template <class T, class OUTERBOX, class INNERBOX, class VISIT>
void cHitResolver::WalkInner(cWalkRegistry<T*>& registry, std::list<T*>& list, VIEW<T>& view,
                             OUTERBOX fnOuterBox, INNERBOX fnInnerBox, VISIT fnVisit) {
  // A short list is walked whole: its bins would cost more than they save.
  constexpr size_t kShortList = 4;
  if (!m_bBroadPhase || list.size() < kShortList) {
    for (cListWalk<T*> walk(registry, list); !walk.AtEnd(); walk.Next()) {
      const int v = fnVisit(*walk.Get());
      if (v == VISIT_STOP) return;
      if (v == VISIT_CHANGED) ++m_nGeneration;
    }
    return;
  }
  auto Build = [&] {
    view.vecIt.clear();
    view.vecBox.clear();
    double l = kInf, t = kInf, r = -kInf, b = -kInf;
    bool bNaN = false;
    for (auto it = list.begin(); it != list.end(); ++it) {
      view.vecIt.push_back(it);
      const PAIRBOX box = fnInnerBox(**it);
      view.vecBox.push_back(box);
      // Both edges of each axis: a box with its edges the wrong way round
      // still lies within.
      l = std::min({l, box.dLeft, box.dRight});
      r = std::max({r, box.dLeft, box.dRight});
      t = std::min({t, box.dTop, box.dBottom});
      b = std::max({b, box.dTop, box.dBottom});
      bNaN = bNaN || std::isnan(box.dLeft) || std::isnan(box.dRight) || std::isnan(box.dTop) ||
             std::isnan(box.dBottom);
    }
    view.bEmpty = view.vecIt.empty();
    view.bound = bNaN ? PAIRBOX{-kInf, -kInf, kInf, kInf} : PAIRBOX{l, t, r, b};
    view.grid.Build(view.vecBox);
    view.nBuilt = m_nGeneration;
  };
  if (view.nBuilt != m_nGeneration) Build();
  // Far from every entry: nothing to visit.
  if (view.bEmpty || !BoxesOverlap(fnOuterBox(), view.bound)) return;
  std::vector<int>& vecCand = m_vecCand;
  view.grid.Query(fnOuterBox(), -1, vecCand);
  for (size_t k = 0; k < vecCand.size(); ++k) {
    const int j = vecCand[k];
    const auto it = view.vecIt[static_cast<size_t>(j)];
    if (!BoxesOverlap(fnOuterBox(), fnInnerBox(**it))) continue;
    // Stands on the entry while it is visited: a removal moves it on.
    cListWalk<T*> walk(registry, list, it);
    const int v = fnVisit(**it);
    if (v == VISIT_STOP) return;
    if (v != VISIT_CHANGED) continue;
    // Anything may have moved, come or gone: the rest of the list as it is
    // now, from the entry after the one just visited.
    ++m_nGeneration;
    Build();
    if (walk.AtEnd()) return;
    const auto next = walk.It();
    const auto pos = std::find(view.vecIt.begin(), view.vecIt.end(), next);
    int nAfter = static_cast<int>(pos - view.vecIt.begin());
    if (!walk.Left()) ++nAfter;  // still on the visited entry
    view.grid.Query(fnOuterBox(), nAfter - 1, vecCand);
    k = static_cast<size_t>(-1);
  }
}

int cHitResolver::CheckAttackHits(cPlayScene& scene) {
  scene.m_bInAttackCheck = 1;
  ++m_nGeneration;
  m_ShotBoxViews.resize(kHitGroups);
  m_BodyBoxViews.resize(kHitGroups);
  m_ShotViews.resize(kHitGroups);
  m_bDeadShots = false;
  for (int g = 0; g < kHitGroups; ++g) m_bBreakableKnown[g] = m_bBreakable[g] = false;
  int r = 0;
  const int32_t nStep = scene.m_nStepNo - 1;
  const bool bFlagged = nStep < 0 || nStep >= static_cast<int32_t>(scene.m_HitStepMask.size()) ||
                        scene.m_HitStepMask[static_cast<size_t>(nStep)] != 0;
  if (bFlagged) r = ShotsAgainstCharas(scene);
  // The dead shots (spent ones among them) are out of every group list
  // already, so the characters' and the shots' passes never meet them; they
  // leave the shot list once, when the passes are done.
  if (r == 0) r = CharasAgainstCharas(scene);
  if (r == 0) ShotsAgainstShots(scene);
  if (m_bDeadShots) SweepDeadShots(scene);
  scene.m_bInAttackCheck = 0;
  return r;
}

int cHitResolver::VisitShotChara(cPlayScene& scene, const cListWalk<cShotObj*>& shotWalk,
                                 cGameObj& chara, bool& bRemoveShot, int& nResult) {
  cShotObj& shot = *shotWalk.Get();
  if (g_Stage.m_bOnScreenHits && !chara.m_nOnScreen) return VISIT_ON;
  if (!chara.m_nActive || chara.m_nDying || chara.m_Def.m_cInvincible == 2) return VISIT_ON;
  if (!BoxesOverlap(BoxOf(chara.m_ShotBox), BoxOf(shot.m_HitBox))) return VISIT_ON;
  const int32_t nId = chara.m_nId;
  if (std::find(shot.m_lstHit.begin(), shot.m_lstHit.end(), nId) != shot.m_lstHit.end())
    return VISIT_ON;
  // What the rest needs of the shot, which a defeat's flows may take away.
  const cEdShot& def = shot.m_Def;
  const bool bDamaging = def.m_nPower != 0 || def.m_cImpact != 0 || def.m_cItemPalette != 0;
  const bool bVanishes = shot.m_nIsShot != 0;
  const bool bPassBlockCharas = def.m_cPierceBlockChara == 1;
  const bool bPassCharas = def.m_cPierceChara == 1;
  const int8_t cItemPalette = def.m_cItemPalette;
  const int16_t sItemIndex = def.m_sItemIndex;
  if (bDamaging && cDamageRules::IsDamaged(chara)) return VISIT_ON;
  chara.FireFlows(TRIG_SHOT_HIT, shot.m_pShooter, 0);
  if (shot.m_pShooter && shot.m_nCredit)
    shot.m_pShooter->FireFlows(TRIG_LANDED_ATTACK, &chara, shot.m_cKey);
  // A harmless shot only touches under the old rule.
  if (!bDamaging && g_SystemData.m_bCompat763b) return VISIT_ON;

  int v = VISIT_ON;
  const bool bBlock = chara.IsBlockChara();
  const int bDied = m_Damage.TakeShotHit(scene, chara, shot);
  m_Damage.FireShotDamageTriggers(chara, shot);
  if (bDied) {
    if (chara.m_nControl != 0) PlaySE(kSoundDefeat);
    const int r = scene.HandleDefeat(chara);
    // Its death flows ran: the character may be gone.
    v = VISIT_CHANGED;
    if (IsEnding(r)) {
      nResult = r;
      return VISIT_STOP;
    }
  } else {
    PlaySE(kSoundHit);
    if (bDamaging) m_Damage.SetInvincible(chara);
  }
  if (!bVanishes || (bBlock && bPassBlockCharas) || (!bBlock && bPassCharas)) {
    if (!shotWalk.Left()) shot.m_lstHit.push_back(nId);
  } else {
    bRemoveShot = true;
  }
  if (cItemPalette != 0) {
    if (const cEdItem* pDef = GetPaletteItem(static_cast<uint8_t>(cItemPalette), sItemIndex)) {
      cItemObj item;
      item.SetUp(0, *pDef, 0);
      item.m_nActive = 1;
      const int r = scene.GiveItem(&item, ThePlayer(), nullptr);
      v = VISIT_CHANGED;
      if (r != 0) {
        nResult = r;
        return VISIT_STOP;
      }
    }
  }
  return v;
}

int cHitResolver::ShotsAgainstCharas(cPlayScene& scene) {
  const bool bOnScreenOnly = g_Stage.m_bOnScreenHits != 0;
  int nResult = 0;
  for (int sg = 0; sg < kHitGroups; ++sg) {
    std::list<cShotObj*>& shots = scene.m_ShotGroups.At(sg);
    for (int cg = 0; cg < kHitGroups; ++cg) {
      std::list<cGameObj*>& charas = scene.m_CharaGroups.At(cg);
      if (cg == sg || shots.empty() || charas.empty()) continue;
      bool bBreakable = false;
      for (cListWalk<cShotObj*> outer(m_ShotWalks, shots); !outer.AtEnd(); outer.Next()) {
        cShotObj& shot = *outer.Get();
        bBreakable = bBreakable || shot.m_Def.m_cVsShot != 0;
        if (shot.m_nDead) m_bDeadShots = true;
        if (shot.m_nDead || (bOnScreenOnly && !shot.m_nOnScreen)) continue;
        bool bRemove = false;
        WalkInner<cGameObj>(
            m_CharaWalks, charas, m_ShotBoxViews[static_cast<size_t>(cg)],
            [&] { return BoxOf(shot.m_HitBox); },
            [](const cGameObj& c) { return BoxOf(c.m_ShotBox); },
            [&](cGameObj& chara) {
              if (outer.Left()) return static_cast<int>(VISIT_STOP);
              return VisitShotChara(scene, outer, chara, bRemove, nResult);
            });
        if (nResult != 0) return nResult;
        if (outer.Left() || !bRemove || shot.m_nDead) continue;
        // Spent: out of its group now, out of the shot list with the dead.
        shot.m_nDead = 1;
        m_bDeadShots = true;
        const auto it = outer.It();
        OnShotLeavesGroup(it);
        shots.erase(it);
      }
      // The whole group was seen (a spent shot that left it is gone for
      // the shots' pass as well).
      m_bBreakableKnown[sg] = true;
      m_bBreakable[sg] = bBreakable;
      m_nBreakableGen[sg] = m_nGeneration;
    }
  }
  return 0;
}

int cHitResolver::VisitCharas(cPlayScene& scene, cGameObj& w, cGameObj& y, int& nResult) {
  const bool bOnScreenOnly = g_Stage.m_bOnScreenHits != 0;
  if (SitsOutBodyHits(w, bOnScreenOnly) || SitsOutBodyHits(y, bOnScreenOnly)) return VISIT_ON;
  if (!BoxesOverlap(BoxOf(w.m_BodyBox), BoxOf(y.m_BodyBox))) return VISIT_ON;
  const int32_t nIdW = w.m_nId;
  const int32_t nIdY = y.m_nId;
  const bool a = !cDamageRules::IsImmuneTo(w, nIdY);
  const bool b = !cDamageRules::IsImmuneTo(y, nIdW);
  auto Touch = [](cGameObj& victim, cGameObj& other) {
    if (other.m_pParent && other.m_nParentCredit) {
      cGameObj& parent = *other.m_pParent;
      victim.FireFlows(TRIG_TOUCHED_CHARA, &parent, 0);
      parent.FireFlows(TRIG_LANDED_ATTACK, &victim, other.m_cParentKey);
    } else {
      victim.FireFlows(TRIG_TOUCHED_CHARA, &other, 0);
    }
  };
  if (a) Touch(w, y);
  if (b) Touch(y, w);
  const bool bAtOnce = g_SystemData.m_bCompat763a != 0;
  bool bHitW = false, bHitY = false;
  int bDiedW = 0, bDiedY = 0;
  if (a && HasBodyAttack(y)) {
    bHitW = true;
    bDiedW = m_Damage.TakeBodyHit(scene, w, y);
    if (bAtOnce) m_Damage.FireDamageTriggers(w, y);
  }
  if (b && HasBodyAttack(w)) {
    bHitY = true;
    bDiedY = m_Damage.TakeBodyHit(scene, y, w);
    if (bAtOnce) m_Damage.FireDamageTriggers(y, w);
  }
  if (!bAtOnce) {
    if (bHitW) m_Damage.FireDamageTriggers(w, y);
    if (bHitY) m_Damage.FireDamageTriggers(y, w);
  }
  if (!bHitW && !bHitY) return VISIT_ON;
  PlaySE(kSoundHit);
  int v = VISIT_ON;
  // The second of the two is looked at only while it is still in play.
  auto Settle = [&](cGameObj& victim, int bDied, int32_t nOtherId) {
    if (!bDied) {
      m_Damage.AddHitImmunity(victim, nOtherId);
      return false;
    }
    if (victim.m_nControl != 0) PlaySE(kSoundDefeat);
    const int r = scene.HandleDefeat(victim);
    v = VISIT_CHANGED;
    if (IsEnding(r)) {
      nResult = r;
      return true;
    }
    return false;
  };
  if (bHitW && Settle(w, bDiedW, nIdY)) return VISIT_STOP;
  if (bHitY) {
    if (v == VISIT_CHANGED && FindObjEntry(nIdY) != &y) return v;
    if (Settle(y, bDiedY, nIdW)) return VISIT_STOP;
  }
  return v;
}

int cHitResolver::CharasAgainstCharas(cPlayScene& scene) {
  int nResult = 0;
  for (int i = 0; i < kHitGroups; ++i) {
    std::list<cGameObj*>& listI = scene.m_CharaGroups.At(i);
    if (listI.empty()) continue;
    for (int j = i + 1; j < kHitGroups; ++j) {
      std::list<cGameObj*>& listJ = scene.m_CharaGroups.At(j);
      if (listJ.empty() || listI.empty()) continue;
      for (cListWalk<cGameObj*> outer(m_CharaWalks, listI); !outer.AtEnd(); outer.Next()) {
        cGameObj& w = *outer.Get();
        WalkInner<cGameObj>(
            m_CharaWalks, listJ, m_BodyBoxViews[static_cast<size_t>(j)],
            [&] { return BoxOf(w.m_BodyBox); },
            [](const cGameObj& c) { return BoxOf(c.m_BodyBox); },
            [&](cGameObj& y) {
              if (outer.Left()) return static_cast<int>(VISIT_STOP);
              return VisitCharas(scene, w, y, nResult);
            });
        if (nResult != 0) return nResult;
      }
    }
  }
  return 0;
}

void cHitResolver::ShotsAgainstShots(cPlayScene& scene) {
  // Only breakable shots take part: a pair of lists without any is passed
  // over (the overlap test has no effect of its own).
  bool bBreakable[kHitGroups] = {};
  for (int g = 0; g < kHitGroups; ++g) {
    // Known unless something (a defeat's flows) may have fired new shots.
    if (m_bBreakableKnown[g] && m_nBreakableGen[g] == m_nGeneration) {
      bBreakable[g] = m_bBreakable[g];
      continue;
    }
    for (const cShotObj* p : scene.m_ShotGroups.At(g))
      if (p->m_Def.m_cVsShot != 0) {
        bBreakable[g] = true;
        break;
      }
  }
  bool bAnyDead = false;
  for (int j = 0; j < kHitGroups; ++j) {
    std::list<cShotObj*>& listJ = scene.m_ShotGroups.At(j);
    if (listJ.empty()) continue;
    for (int k = j + 1; k < kHitGroups; ++k) {
      std::list<cShotObj*>& listK = scene.m_ShotGroups.At(k);
      if (listK.empty() || (!bBreakable[j] && !bBreakable[k])) continue;
      for (cShotObj* pP : listJ) {
        cShotObj& p = *pP;
        // Gone already, as the target of an earlier pair.
        if (p.m_nDead) continue;
        const bool bP = p.m_Def.m_cVsShot != 0;
        if (!bP && !bBreakable[k]) continue;
        bool bDestroyP = false;
        WalkInner<cShotObj>(
            m_ShotWalks, listK, m_ShotViews[static_cast<size_t>(k)],
            [&] { return BoxOf(p.m_HitBox); },
            [](const cShotObj& s) { return BoxOf(s.m_HitBox); },
            [&](cShotObj& y) {
              if (y.m_nDead) return static_cast<int>(VISIT_ON);
              const bool bY = y.m_Def.m_cVsShot != 0;
              if (!bP && !bY) return static_cast<int>(VISIT_ON);
              if (!BoxesOverlap(BoxOf(p.m_HitBox), BoxOf(y.m_HitBox)))
                return static_cast<int>(VISIT_ON);
              const int8_t sp = p.m_Def.m_cVanishValue;
              const int8_t sy = y.m_Def.m_cVanishValue;
              bool bDestroyY = false;
              if (bP && bY) {
                if (sy >= sp) bDestroyP = true;
                if (!(sy >= sp && sp < sy)) bDestroyY = true;
              } else if (bP) {
                bDestroyP = true;
              } else {
                bDestroyY = true;
              }
              if (bDestroyY) {
                // Gone at once: later shots of this list no longer meet it.
                y.m_nDead = 1;
                bAnyDead = true;
              }
              return static_cast<int>(VISIT_ON);
            });
        if (bDestroyP) {
          p.m_nDead = 1;
          bAnyDead = true;
        }
      }
    }
  }
  if (bAnyDead) m_bDeadShots = true;
}

void cHitResolver::SweepDeadShots(cPlayScene& scene) {
  bool bAny = false;
  for (std::list<cShotObj*>& group : scene.m_ShotGroups) {
    for (auto it = group.begin(); it != group.end();) {
      if (!(*it)->m_nDead) {
        ++it;
        continue;
      }
      bAny = true;
      OnShotLeavesGroup(it);
      it = group.erase(it);
    }
  }
  for (auto it = scene.m_ShotList.begin(); it != scene.m_ShotList.end();) {
    if (!it->m_nDead) {
      ++it;
      continue;
    }
    bAny = true;
    scene.m_ShotWalks.OnErase(it);
    it = scene.m_ShotList.erase(it);
  }
  (void)bAny;
}
