// A digest of the whole play state after a frame: every object's position,
// speeds, boxes, state words and animation in list order, the scroll, the
// grid's cells and latches, the scene's counters, the random state and the
// play record's scores and lives. Two plays agree frame by frame exactly
// when their digests do.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "files/play_data.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

class cStateHash {
 public:
  template <typename T>
  void Add(const T& v) {
    static_assert(std::is_arithmetic_v<T>);
    unsigned char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    for (unsigned char c : b) m_nHash = (m_nHash ^ c) * 1099511628211ull;
  }
  void Box(const HITBOX& box) {
    Add(box.dLeft), Add(box.dTop), Add(box.dRight), Add(box.dBottom);
    Add(box.nWidth), Add(box.nHeight);
  }
  void Root(const cObjRoot& o) {
    Add(o.m_nId), Add(o.m_nLife), Add(o.m_nFacing), Add(o.m_nGroup), Add(o.m_nControl);
    Add(o.m_dX), Add(o.m_dY), Add(o.m_dRight), Add(o.m_dBottom);
    Add(o.m_dVX), Add(o.m_dVY), Add(o.m_dPushVX), Add(o.m_dPushVY);
    Add(o.m_nWidth), Add(o.m_nHeight), Add(o.m_nFlying), Add(o.m_nActive), Add(o.m_nOnScreen);
    Add(o.m_nScrLeft), Add(o.m_nScrTop), Add(o.m_cCondLatch);
    Add(o.m_Anim.m_nAnim), Add(o.m_Anim.m_nFrame), Add(o.m_Anim.m_nTick);
  }
  void Chara(const cGameObj& c) {
    Root(c);
    Add(c.m_dKnockX), Add(c.m_dKnockY), Add(c.m_dHomeX), Add(c.m_dHomeY);
    Add(c.m_nFalling), Add(c.m_nJumping), Add(c.m_nJumpCut), Add(c.m_nJumpBlocked);
    Add(c.m_nKnocked), Add(c.m_nNoFloorSteps), Add(c.m_pFootCell), Add(c.m_pLandCell);
    Add(c.m_pPrevLandCell), Add(c.m_nCrushGrace), Add(c.m_nDying), Add(c.m_nRiding);
    Add(c.m_nTouchL), Add(c.m_nTouchR), Add(c.m_nTouchT), Add(c.m_nTouchB);
    Add(c.m_nHP), Add(c.m_nSP), Add(c.m_nInvincible), Add(c.m_nVanish);
    Add(c.m_SavedPos.dX), Add(c.m_SavedPos.dY);
    Box(c.m_BodyBox), Box(c.m_ShotBox);
    for (int32_t v : c.m_vecCharaVar) Add(v);
  }
  void Scene(const cPlayScene& s) {
    Add(s.m_nPhase), Add(s.m_nFrames), Add(s.m_nStepCount), Add(s.m_nStepResult);
    Add(s.m_nTime), Add(s.m_nPlayFrames), Add(s.m_nPlayTime), Add(s.m_Rand.m_nState);
    Add(s.m_ScrollX.m_dPos), Add(s.m_ScrollX.m_bAtLimit);
    Add(s.m_ScrollY.m_dPos), Add(s.m_ScrollY.m_bAtLimit);
    Add(s.m_nCharaSerial), Add(s.m_nItemSerial), Add(s.m_nShotSerial);
    for (int32_t v : s.m_StageVar) Add(v);
    for (uint8_t v : s.m_GroupFlags) Add(v);
    for (int g = 0; g < kHitGroups; ++g) Add(static_cast<uint32_t>(s.m_CharaGroups.At(g).size()));
    const cPlayData& p = g_PlayData;
    Add(p.m_nStageScore), Add(p.m_nTotalScore), Add(p.m_nLives);
    for (const cPlayerObj& player : g_Players) {
      Chara(player);
      Add(player.m_nJumpReady), Add(player.m_nNoJump), Add(player.m_nJumpHold);
      Add(player.m_nTileKind), Add(player.m_dTileValue), Add(player.m_nTileSteps);
      Add(player.m_nTileWait), Box(player.m_PickBox);
      for (int32_t id : player.m_lstTouching) Add(id);
    }
    Add(static_cast<uint32_t>(g_CharaList.size()));
    for (const cCharaObj& c : g_CharaList) {
      Chara(c);
      Add(c.m_nActiveNow), Add(c.m_nInRange), Add(c.m_nActivated);
    }
    Add(static_cast<uint32_t>(g_ItemList.size()));
    for (const cItemObj& item : g_ItemList) Root(item);
    Add(static_cast<uint32_t>(s.m_ShotList.size()));
    for (const cShotObj& shot : s.m_ShotList) Root(shot);
    for (int32_t i = 0; i < g_BlockPalette.Size(); ++i) {
      const BLOCKCELL& cell = g_BlockPalette.Cell(i);
      Add(cell.nDef), Add(cell.cLatch);
    }
  }
  uint64_t Value() const { return m_nHash; }

 private:
  uint64_t m_nHash = 14695981039346656037ull;
};

inline uint64_t HashPlayState(const cPlayScene& scene) {
  cStateHash h;
  h.Scene(scene);
  return h.Value();
}
