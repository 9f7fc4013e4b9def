#include "stage/game_obj.h"

#include <algorithm>

#include "database/database.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/shot_links.h"
#include "stage/stage_objects.h"

cGameObj::cGameObj() {
  m_vecTargets.assign(kTargetSlots, nullptr);
  m_vecRunGroups.assign(kFlowGroups, 0);
  m_vecStopGroups.assign(kFlowGroups, 0);
  m_vecStartGroups.assign(kFlowGroups, 0);
  m_vecCharaVar.assign(kCharaVars, 0);
}

cGameObj::cGameObj(const cGameObj& src) : cObjRoot(src) {
  AssignFrom(src);
  m_nHeld = src.m_nHeld;
}

cGameObj& cGameObj::operator=(const cGameObj& src) {
  if (this != &src) {
    cObjRoot::operator=(src);
    AssignFrom(src);
    m_nHeld = src.m_nHeld;
  }
  return *this;
}

cGameObj::~cGameObj() {
  if (!m_nIsTrialCopy) ReleaseRefs();
}

void cGameObj::AssignFrom(const cGameObj& src) {
  if (this == &src) return;
  cObjRoot::CopyFrom(src);
  // m_nIsTrialCopy stays this object's own: a trial copy that takes a real
  // character's fields must still leave that character's references alone.
  m_vecTargets = src.m_vecTargets;
  m_pParent = src.m_pParent;
  m_vecRefBy = src.m_vecRefBy;
  m_vecRefBy2 = src.m_vecRefBy2;
  m_nParentCredit = src.m_nParentCredit;
  m_cParentKey = src.m_cParentKey;
  m_Def = src.m_Def;
  m_nFlowSerial = src.m_nFlowSerial;
  m_vecFlowStates = src.m_vecFlowStates;
  m_vecRunGroups = src.m_vecRunGroups;
  m_vecStopGroups = src.m_vecStopGroups;
  m_vecStartGroups = src.m_vecStartGroups;
  m_nGroupRelease = src.m_nGroupRelease;
  m_nFlowRemoval = src.m_nFlowRemoval;
  m_dHomeX = src.m_dHomeX;
  m_dHomeY = src.m_dHomeY;
  m_nMovedByCmd = src.m_nMovedByCmd;
  m_dKnockX = src.m_dKnockX;
  m_dKnockY = src.m_dKnockY;
  m_nKnocked = src.m_nKnocked;
  m_dPrevKnockY = src.m_dPrevKnockY;
  // m_nHeld is the only word a copy for contact resolution does not take.
  m_nWallSide = src.m_nWallSide;
  m_nFalling = src.m_nFalling;
  m_nJumpCut = src.m_nJumpCut;
  m_nJumping = src.m_nJumping;
  m_nJumpBlocked = src.m_nJumpBlocked;
  m_nNoFloorSteps = src.m_nNoFloorSteps;
  m_pFootCell = src.m_pFootCell;
  m_pLandCell = src.m_pLandCell;
  m_pPrevLandCell = src.m_pPrevLandCell;
  m_nCrushGrace = src.m_nCrushGrace;
  m_nPinX = src.m_nPinX;
  m_nPinY = src.m_nPinY;
  m_nPinLeft = src.m_nPinLeft;
  m_nPinTop = src.m_nPinTop;
  m_nDying = src.m_nDying;
  m_nDeathFrames = src.m_nDeathFrames;
  m_nTouchL = src.m_nTouchL;
  m_nTouchR = src.m_nTouchR;
  m_nTouchT = src.m_nTouchT;
  m_nTouchB = src.m_nTouchB;
  m_nPushedAside = src.m_nPushedAside;
  m_nRiding = src.m_nRiding;
  m_nRideId = src.m_nRideId;
  m_RideSnap = src.m_RideSnap;
  m_SavedPos = src.m_SavedPos;
  m_nHP = src.m_nHP;
  m_HpGauge = src.m_HpGauge;
  m_nSP = src.m_nSP;
  m_SpGauge = src.m_SpGauge;
  m_vecCharaVar = src.m_vecCharaVar;
  m_nInvincible = src.m_nInvincible;
  m_ImmunityList = src.m_ImmunityList;
  m_AnimList = src.m_AnimList;
  m_CharaEffect = src.m_CharaEffect;
  m_nVanish = src.m_nVanish;
  m_nSightRange = src.m_nSightRange;
  m_BodyBox = src.m_BodyBox;
  m_ShotBox = src.m_ShotBox;
  // The copied run states point into the source's flows: make them point
  // into this character's own copy.
  RelinkFlowStates();
}

void cGameObj::OnSizeChange(int32_t nNew, int32_t nOld) {
  const int32_t d = nNew - nOld;
  if (g_SystemData.m_bCompat261)
    m_dY -= static_cast<double>(d * m_nBaseHeight);
  else
    m_dY = m_dY - d * m_nBaseDrawH + d * m_nBaseDrawDY;
  OnMovedY();
}

void cGameObj::SetCenterX(double x) {
  m_dX += x - (m_nScrLeft + m_nDrawW / 2);
  OnMovedX();
}

void cGameObj::SetCenterY(double y) {
  m_dY += y - (m_nScrTop + m_nDrawH / 2);
  OnMovedY();
}

void cGameObj::SetCenter(double x, double y) {
  SetCenterX(x);
  SetCenterY(y);
}

// A movement that warps the character stops moving it.
void cGameObj::WarpCenter(double x, double y, cCmdState& state) {
  SetCenter(x, y);
  state.m_dVX = state.m_dVY = 0;
}

void cGameObj::WarpCenterX(double x, cCmdState& state) {
  SetCenterX(x);
  state.m_dVX = state.m_dVY = 0;
}

void cGameObj::WarpCenterY(double y, cCmdState& state) {
  SetCenterY(y);
  state.m_dVX = state.m_dVY = 0;
}

void cGameObj::SetCellX(int32_t nColumn) {
  m_dX = (static_cast<double>(nColumn) + 10) * 32 + m_nBaseDrawDX + 0.5;
  KeepCentreX(GetScale(), 1);
  OnMovedX();
}

void cGameObj::SetCellY(int32_t nRow) {
  m_dY = (static_cast<double>(nRow) + 10) * 32 + m_nBaseDrawDY;
  OnSizeChange(GetScale(), 1);
  OnMovedY();
}

void cGameObj::SetCell(int32_t nColumn, int32_t nRow) {
  SetCellX(nColumn);
  SetCellY(nRow);
}

void cGameObj::SetHitOffsets(int bBottom, int32_t nWidth, int32_t nHeight) {
  const int32_t nX = 16 - m_nDrawDX - (nWidth >> 1);
  const int32_t nY = bBottom ? 32 - m_nDrawDY - nHeight : 16 - m_nDrawDY - (nHeight >> 1);
  m_BodyBox.Set(nX, nY, nWidth, nHeight);
}

void cGameObj::AddRefBy(cGameObj* pChara, int32_t nSlot) {
  const OBJREF ref{pChara, nSlot};
  for (const OBJREF& r : m_vecRefBy)
    if (IsSamePairRef(r, ref)) return;
  m_vecRefBy.push_back(ref);
}

void cGameObj::RemoveRefBy(cGameObj* pChara, int32_t nSlot) {
  const OBJREF ref{pChara, nSlot};
  auto it = std::find_if(m_vecRefBy.begin(), m_vecRefBy.end(),
                         [&](const OBJREF& r) { return IsSamePairRef(r, ref); });
  if (it != m_vecRefBy.end()) m_vecRefBy.erase(it);
}

void cGameObj::SetParent(cGameObj* pParent) {
  if (m_vecTargets.size() < kTargetSlots) m_vecTargets.resize(kTargetSlots, nullptr);
  if (!g_Players.empty()) {
    cGameObj& player = g_Players[0];
    m_vecTargets[0] = &player;
    player.AddRefBy(this, 0);
  }
  m_pParent = pParent;
  if (pParent) pParent->AddRefBy(this, REF_PARENT);
}

int cGameObj::SetTarget(int32_t nSlot, cGameObj* pTarget, int bReplace) {
  if (nSlot < 0 || static_cast<size_t>(nSlot) >= m_vecTargets.size()) return 0;
  cGameObj*& slot = m_vecTargets[static_cast<size_t>(nSlot)];
  if (bReplace || pTarget) {
    if (slot) {
      auto& refs = slot->m_vecRefBy;
      const OBJREF ref{this, nSlot};
      refs.erase(std::remove_if(refs.begin(), refs.end(),
                                [&](const OBJREF& r) { return IsSamePairRef(r, ref); }),
                 refs.end());
    }
    slot = nullptr;
  }
  if (pTarget) {
    slot = pTarget;
    pTarget->AddRefBy(this, nSlot);
  }
  return 1;
}

void cGameObj::ReleaseRefs() {
  for (const OBJREF& r : m_vecRefBy) {
    if (!r.pChara) continue;
    if (r.nSlot == REF_PARENT) {
      r.pChara->m_pParent = nullptr;
    } else if (r.nSlot >= 0 && static_cast<size_t>(r.nSlot) < r.pChara->m_vecTargets.size()) {
      r.pChara->m_vecTargets[r.nSlot] = nullptr;
    }
  }
  m_vecRefBy.clear();
  for (size_t j = 0; j < m_vecTargets.size(); ++j) {
    if (!m_vecTargets[j]) continue;
    m_vecTargets[j]->RemoveRefBy(this, static_cast<int32_t>(j));
    m_vecTargets[j] = nullptr;
  }
  if (m_pParent) {
    m_pParent->RemoveRefBy(this, REF_PARENT);
    m_pParent = nullptr;
  }
  for (const SHOTREF& r : m_vecRefBy2) ClearShotLink(r.pShot, r.nKind);
  m_vecRefBy2.clear();
}

void cGameObj::ResetFlowState(const cEdChara* pDef, double x, double y, int16_t sClone) {
  m_sSetupWord = sClone;
  m_vecRefBy.clear();
  m_vecRefBy2.clear();
  m_vecTargets.assign(kTargetSlots, nullptr);
  m_pParent = nullptr;
  m_nFlowSerial = 0;
  m_vecRunGroups.assign(kFlowGroups, 0);
  m_vecStopGroups.assign(kFlowGroups, 0);
  m_vecStartGroups.assign(kFlowGroups, 0);
  m_nGroupRelease = 0;
  m_nFlowRemoval = 0;
  m_dHomeX = x;
  m_dHomeY = y;
  m_dKnockX = m_dKnockY = 0;
  m_nKnocked = 0;
  m_dPrevKnockY = 0;
  m_nHeld = 0;
  m_nWallSide = -1;  // no wall contact yet
  m_nFalling = 1;
  m_nJumpCut = m_nJumping = m_nJumpBlocked = m_nNoFloorSteps = 0;
  m_pFootCell = m_pLandCell = NO_CELL;
  m_nPinX = m_nPinY = m_nPinLeft = m_nPinTop = 0;
  m_nTouchL = m_nTouchR = m_nTouchT = m_nTouchB = 0;
  m_nPushedAside = m_nRiding = m_nRideId = 0;
  m_nHP = m_nSP = 0;
  m_HpGauge = GAUGE{};
  m_SpGauge = GAUGE{};
  m_vecCharaVar.assign(kCharaVars, 0);
  if (pDef) {
    if (pDef != &m_Def) m_Def = *pDef;
    m_nHP = m_Def.m_nMaxHP;
    m_nSP = m_Def.m_nMaxSP;
  }
  m_nScrollSync = m_Def.m_cScrollSync;
  m_nSightRange = 16 * static_cast<int8_t>(m_Def.m_cSightRange);
  m_dDecay = m_Def.m_sStopEase * 0.01 / g_Stage.m_dStepsSquared;
  m_nVanish = 0;
  m_CharaEffect = cCharaEffectRun{};
  if (m_Def.m_sAppearEffect != 0)
    m_CharaEffect.Start(m_Def.m_sAppearEffect, m_Def.m_cAppearVariant, m_Def.m_cAppearSetting);
  m_nInvincible = 0;
  m_ImmunityList.clear();
  SetAnimSet(m_Def.m_sAnimeSet, 1);
  m_AnimList.clear();
  m_nParentCredit = 0;
  m_cParentKey = 0;
}

void cGameObj::SetAnimSet(int16_t s, int bForced) {
  if (!bForced && s == m_Def.m_sAnimeSet) return;
  m_Def.m_sAnimeSet = s;
  const cEdAnimeSet& set = Database.m_vecAnimeSet.At(s);
  m_Anim.m_vecAnims.resize(set.m_vecAnime.size());
  for (size_t i = 0; i < set.m_vecAnime.size(); ++i) {
    ANIMESEQUENCE& seq = m_Anim.m_vecAnims[i];
    seq.clear();
    for (const cEdAnimeFrame& f : set.m_vecAnime[i].m_vecFrame)
      seq.push_back({f.m_nCell, static_cast<int32_t>(static_cast<uint32_t>(f.m_nTime) * 6u), 1});
    seq.push_back({ANIMESTEP_LOOP, 0, 1});
  }
  m_Anim.m_nFrame = 0;
  m_Anim.m_nTick = 0;
}
