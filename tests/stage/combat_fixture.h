// A play set up for fights: characters placed in hit groups, shots put into
// the scene's lists by hand, and flows that show which triggers fired (a
// flow of each kind asked for, waiting long, that stores its partner in a
// target slot).
#pragma once

#include <set>
#include <vector>

#include "flow/flow.h"
#include "stage/play_fixture.h"
#include "stage/shot_obj.h"

class cCombatFixture : public cPlayFixture {
 protected:
  // A flow of each trigger kind that keeps running once started and puts
  // its partner into target slot 1.
  static void Watch(cEdChara& def, std::vector<uint8_t> triggers) {
    for (uint8_t t : triggers) {
      cFlow flow;
      flow.m_cTrigger = t;
      flow.m_cStorePartner = 1;
      flow.m_cPartnerSlot = 1;
      cFlowCmd wait;
      wait.m_cKind = 1;
      wait.m_sTime = 1000;
      flow.m_vecCmds.push_back(std::move(wait));
      def.m_vecFlows.push_back(std::move(flow));
    }
  }
  // The trigger kinds whose flows were started.
  static std::set<int> Fired(const cGameObj& c) {
    std::set<int> s;
    for (const cFlowState& r : c.m_vecFlowStates)
      if (r.m_nRunning && r.m_pFlow) s.insert(r.m_pFlow->m_cTrigger);
    return s;
  }
  static void Calm(cGameObj& c) {
    for (cFlowState& r : c.m_vecFlowStates) r.m_nRunning = 0;
  }
  static void Put(cGameObj& c, double x, double y) {
    c.m_dX = x;
    c.m_dY = y;
    c.OnMovedX();
    c.OnMovedY();
  }
  // The nth computer character of the list.
  static cCharaObj& Nth(int n) {
    auto it = g_CharaList.begin();
    std::advance(it, n);
    return *it;
  }
  // A shot of group g whose hit box is the square at (x, y).
  cShotObj& AddShot(int32_t g, double x, double y, int32_t nSize = 16) {
    cShotObj shot;
    shot.m_nId = m_nNextShotId++;
    shot.m_nGroup = g;
    shot.m_nActive = shot.m_nOnScreen = 1;
    shot.m_HitBox.Set(0, 0, nSize, nSize);
    shot.m_HitBox.dLeft = x;
    shot.m_HitBox.dTop = y;
    shot.m_HitBox.dRight = x + nSize - 1;
    shot.m_HitBox.dBottom = y + nSize - 1;
    cShotObj& s = Scene().m_ShotList.emplace_back(shot);
    Scene().m_ShotGroups.At(g).push_back(&s);
    return s;
  }
  // Sounds asked for since the last look.
  static std::vector<int> Sounds() {
    std::vector<int> v;
    v.swap(Requests().vecSounds);
    return v;
  }
  int32_t m_nNextShotId = 1000;
};
