// Who hits whom in an update step, once every object has moved: shots
// against characters, characters against characters and shots against
// shots, always between different hit groups. The passes walk the scene's
// group lists in their order; with the broad phase on, a walk over an inner
// list visits only the entries whose boxes may touch the outer entry's, in
// the same order, so every result is that of the plain nested loops. A
// defeat or a given item may run flows that move, add or remove objects:
// the walks survive it and look again at the lists as they then are.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "stage/damage_rules.h"
#include "stage/list_walk.h"
#include "stage/pair_grid.h"

class cGameObj;
class cPlayScene;
class cShotObj;

class cHitResolver {
 public:
  // 0 go on, 1 the stage ends, 2 the player is defeated.
  int CheckAttackHits(cPlayScene& scene);

  // A character or a shot leaves its group list: walks standing on it go on
  // from the next entry.
  void OnCharaLeavesGroup(std::list<cGameObj*>::iterator it) { m_CharaWalks.OnErase(it); }
  void OnShotLeavesGroup(std::list<cShotObj*>::iterator it) { m_ShotWalks.OnErase(it); }
  void OnGroupsCleared() {
    m_CharaWalks.OnClear();
    m_ShotWalks.OnClear();
  }

  const cDamageRules& Damage() const { return m_Damage; }

  // Off: the plain nested loops (the reference the broad phase is held to).
  bool m_bBroadPhase = true;

  // One group list as a walk over it sees it: its entries in list order,
  // their boxes binned.
  template <class T>
  struct VIEW {
    std::vector<typename std::list<T*>::iterator> vecIt;
    std::vector<PAIRBOX> vecBox;
    cPairGrid grid;
    // Every entry's box lies within it (no entry: nothing does).
    PAIRBOX bound;
    bool bEmpty = true;
    int64_t nBuilt = -1;  // the generation it was built in
  };

 private:
  enum : int { VISIT_ON = 0, VISIT_CHANGED = 1, VISIT_STOP = 2 };

  int ShotsAgainstCharas(cPlayScene& scene);
  int CharasAgainstCharas(cPlayScene& scene);
  void ShotsAgainstShots(cPlayScene& scene);
  // One shot (where shotWalk stands) against one character; nResult takes
  // an outcome that ends the pass.
  int VisitShotChara(cPlayScene& scene, const cListWalk<cShotObj*>& shotWalk, cGameObj& chara,
                     bool& bRemoveShot, int& nResult);
  int VisitCharas(cPlayScene& scene, cGameObj& w, cGameObj& y, int& nResult);
  // Walks the inner list for one outer entry, in list order.
  template <class T, class OUTERBOX, class INNERBOX, class VISIT>
  void WalkInner(cWalkRegistry<T*>& registry, std::list<T*>& list, VIEW<T>& view,
                 OUTERBOX fnOuterBox, INNERBOX fnInnerBox, VISIT fnVisit);
  // Erases the dead shots from the group lists and the scene's shot list.
  void SweepDeadShots(cPlayScene& scene);

  cDamageRules m_Damage;
  cWalkRegistry<cGameObj*> m_CharaWalks;
  cWalkRegistry<cShotObj*> m_ShotWalks;
  // Bumped whenever a visit may have changed lists or boxes.
  int64_t m_nGeneration = 0;
  std::vector<int> m_vecCand;
  // Of this pass: a dead shot was seen or made; per shot group, whether its
  // breakable shots are known (from a walk over the whole group) and
  // whether it has any.
  bool m_bDeadShots = false;
  bool m_bBreakableKnown[8] = {};
  int64_t m_nBreakableGen[8] = {};  // known as of this generation
  bool m_bBreakable[8] = {};
  // Views of the character lists by shot box and by body box, and of the
  // shot lists, one per hit group.
  std::vector<VIEW<cGameObj>> m_ShotBoxViews;
  std::vector<VIEW<cGameObj>> m_BodyBoxViews;
  std::vector<VIEW<cShotObj>> m_ShotViews;
};
