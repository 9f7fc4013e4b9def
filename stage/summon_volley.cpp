#include "stage/summon_volley.h"

#include "flow/ed_shot.h"
#include "palette/palette_lists.h"
#include "stage/game_obj.h"
#include "stage/placement.h"
#include "stage/play_scene.h"
#include "stage/rand_gen.h"
#include "stage/shot_volley.h"
#include "stage/stage_objects.h"

namespace {

// The palette entry a summon names: 1 the common palette, 2 the stage's.
template <typename T>
const T* SummonEntry(const cEdShot& def) {
  const int nSource = def.m_cSummonPalette == 0 ? 1 : (def.m_cSummonPalette == 1 ? 2 : 0);
  const cSafeVector<T>* pList = GetParentList<T>(nSource);
  const int32_t n = def.m_sSummonIndex;
  if (!pList || n < 0 || static_cast<size_t>(n) >= pList->size()) return nullptr;
  return &(*pList)[static_cast<size_t>(n)];
}

SUMMONRULES RulesOf(const cEdShot& def) {
  SUMMONRULES r;
  r.nBlockMode = def.m_cBlockSummonMode;
  r.bNotOverPlayer = def.m_cOption56;
  r.bNotOverChara = def.m_cOption57;
  r.bLifetime = def.m_cLifeOn;
  r.nLifeTenths = def.m_sLife;
  r.bClearScore = def.m_cOption61;
  r.nCredit = def.m_cReportHits;
  r.cKey = def.m_cReportSelector;
  return r;
}

// One formation run of a summon: clone 0 at a speed of one pixel a frame,
// objects of nSize pixels square.
void RunSummonFormation(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                        const cEdShot& def, int32_t nSize, cLaunchSink& sink) {
  SHOTLAUNCH launch;
  launch.nIndex = 0;
  launch.dSpeed = 1.0;
  launch.nWidth = launch.nHeight = nSize;
  launch.nDirection = ShotDirectionCode(shooter, pRun, def);
  int32_t a = def.m_sAngle;
  if (def.m_cMirrorAngle && shooter.m_nFacing == 1) a = 360 - a;
  if (def.m_sSpread != 0) a += RandRange(scene.m_Rand, -def.m_sSpread, def.m_sSpread);
  launch.nAngle = a;
  launch.nRange = def.m_sRange;
  launch.nLife = def.m_sLife;
  launch.nOffX = static_cast<int32_t>(def.GetPosX(0, shooter.m_nFacing));
  launch.nOffY = static_cast<int32_t>(def.GetPosY(0, shooter.m_nFacing));
  if (shooter.m_nControl != 0) shooter.UpdateScreenRect();
  RunFormation(scene, shooter, def, launch, sink);
}

class cCharaSink : public cLaunchSink {
 public:
  cCharaSink(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, const cEdChara& entry)
      : m_Scene(scene), m_Shooter(shooter), m_Def(def), m_Entry(entry), m_Rules(RulesOf(def)) {}
  bool Launch(const SHOTLAUNCH& L) override {
    // Facing along the formation's direction (the summoner's when it has
    // none), turned round when the command asks.
    int32_t nFacing = m_Shooter.m_nFacing;
    if (L.dVX > 0) nFacing = 1;
    if (L.dVX < 0) nFacing = 0;
    if (m_Def.m_cSummonReverse) nFacing = 1 - nFacing;
    int32_t nGroup = m_Entry.m_cFaction;
    if (m_Def.m_cSummonFaction == 1) nGroup = m_Shooter.m_nGroup;
    if (m_Def.m_cSummonFaction == 2) nGroup = static_cast<uint8_t>(m_Def.m_cFaction);
    SummonChara(g_CharaList, L.nX, L.nY, nFacing, nGroup, m_Rules, m_Entry,
                m_Scene.m_nCharaSerial, &m_Shooter);
    return true;
  }

 private:
  cPlayScene& m_Scene;
  cGameObj& m_Shooter;
  const cEdShot& m_Def;
  const cEdChara& m_Entry;
  SUMMONRULES m_Rules;
};

class cItemSink : public cLaunchSink {
 public:
  cItemSink(cPlayScene& scene, const cEdShot& def, const cEdItem& entry)
      : m_Scene(scene), m_Entry(entry), m_Rules(RulesOf(def)) {}
  bool Launch(const SHOTLAUNCH& L) override {
    SummonItem(g_ItemList, L.nX, L.nY, m_Rules, m_Entry, m_Scene.m_nItemSerial);
    return true;
  }

 private:
  cPlayScene& m_Scene;
  const cEdItem& m_Entry;
  SUMMONRULES m_Rules;
};

class cBlockSink : public cLaunchSink {
 public:
  cBlockSink(const cEdShot& def, const cEdBlock& entry)
      : m_Entry(entry), m_Rules(RulesOf(def)),
        m_nKey((static_cast<int64_t>(def.m_cSummonPalette) << 32) |
               static_cast<uint16_t>(def.m_sSummonIndex)) {}
  bool Launch(const SHOTLAUNCH& L) override {
    SummonBlock(L.nX, L.nY, m_Rules, m_Entry, m_nKey);
    return true;
  }

 private:
  const cEdBlock& m_Entry;
  SUMMONRULES m_Rules;
  int64_t m_nKey;
};

}  // namespace

void FireCharaSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                     const cEdShot& def) {
  const cEdChara* pEntry = SummonEntry<cEdChara>(def);
  if (!pEntry || pEntry->m_cOperator != 1) return;
  // The entry is copied: a summon may grow the palette's owner's lists.
  const cEdChara entry = *pEntry;
  const int32_t nGiant = entry.m_cGiant < 1 ? 1 : entry.m_cGiant;
  cCharaSink sink(scene, shooter, def, entry);
  RunSummonFormation(scene, shooter, pRun, def, 32 * nGiant, sink);
}

void FireItemSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                    const cEdShot& def) {
  const cEdItem* pEntry = SummonEntry<cEdItem>(def);
  if (!pEntry) return;
  const cEdItem entry = *pEntry;
  cItemSink sink(scene, def, entry);
  RunSummonFormation(scene, shooter, pRun, def, 32, sink);
}

void FireBlockSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                     const cEdShot& def) {
  const cEdBlock* pEntry = SummonEntry<cEdBlock>(def);
  if (!pEntry) return;
  const cEdBlock entry = *pEntry;
  cBlockSink sink(def, entry);
  RunSummonFormation(scene, shooter, pRun, def, 32, sink);
}
