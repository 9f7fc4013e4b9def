// The player's status carried from the end of one stage into the start of a
// later one. The project's carry list says which of the 25 items are kept;
// a holding flag per item says that the slots hold it.
#include <algorithm>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"

namespace {

// Copies the character-definition values of carry item i from src to dst;
// false for the items that are not definition values.
bool CopyCharaItem(int i, cEdChara& dst, const cEdChara& src) {
  switch (i) {
    case 0:
      dst.m_sGraphic = src.m_sGraphic;
      dst.m_cGraphicKind = src.m_cGraphicKind;
      dst.m_sGraphicCell = src.m_sGraphicCell;
      return true;
    case 1:
      dst.m_sAnimeSet = src.m_sAnimeSet;
      return true;
    case 2:
      dst.m_cLayer = src.m_cLayer;
      return true;
    case 3:
      dst.m_cTransparent = src.m_cTransparent;
      return true;
    case 4:
      dst.m_sAppearEffect = src.m_sAppearEffect;
      dst.m_cAppearVariant = src.m_cAppearVariant;
      dst.m_cAppearSetting = src.m_cAppearSetting;
      return true;
    case 5:
      dst.m_cFixedDir = src.m_cFixedDir;
      return true;
    case 6:
      dst.m_cFlying = src.m_cFlying;
      return true;
    case 7:
      dst.m_cInvincible = src.m_cInvincible;
      return true;
    case 8:
      dst.m_cGiant = src.m_cGiant;
      return true;
    case 9:
      dst.m_cScrollSync = src.m_cScrollSync;
      return true;
    case 10:
      dst.m_cSightShape = src.m_cSightShape;
      dst.m_cSightRange = src.m_cSightRange;
      return true;
    case 13:
      dst.m_nMaxHP = src.m_nMaxHP;
      return true;
    case 14:
      dst.m_nMaxSP = src.m_nMaxSP;
      return true;
    case 15:
      dst.m_cBlockHitRange = src.m_cBlockHitRange;
      return true;
    case 16:
      dst.m_nBodyPower = src.m_nBodyPower;
      return true;
    case 17:
      dst.m_cBodyImpact = src.m_cBodyImpact;
      return true;
    case 18:
      dst.m_nDefence = src.m_nDefence;
      return true;
    case 19:
      dst.m_cImpactResist = src.m_cImpactResist;
      return true;
    case 20:
      dst.m_sStopEase = src.m_sStopEase;
      return true;
    case CARRY_FLOWS:
      CopyVector(dst.m_vecFlows, src.m_vecFlows);
      return true;
    default:
      return false;
  }
}

bool IsOn(const cSafeVector<uint8_t>& v, int i) {
  return i < static_cast<int>(v.size()) && v[i] != 0;
}

}  // namespace

void cPlayData::StoreCharaStatus(int n, const cEdChara& chara, int32_t nHP, int32_t nSP,
                                 int16_t sEffect, uint8_t cEffectVariant, uint8_t cEffectSetting,
                                 int32_t nTime, int32_t nLives, int32_t nBgm) {
  m_bStatusStored = 1;
  cPlayerStatus& slot = m_vStatus.At(n);
  for (int i = 0; i < kCarryItemCount; ++i) {
    if (!IsOn(g_SystemData.m_vCarryFlags, i)) continue;
    switch (i) {
      case 4:
        // The live appearance values of the player object, not its definition's.
        slot.m_Chara.m_sAppearEffect = sEffect;
        slot.m_Chara.m_cAppearVariant = cEffectVariant;
        slot.m_Chara.m_cAppearSetting = cEffectSetting;
        break;
      case CARRY_HP:
        slot.m_nHP = nHP;
        break;
      case CARRY_SP:
        slot.m_nSP = nSP;
        break;
      case CARRY_TIME:
        slot.m_nTime = nTime;
        break;
      case CARRY_LIVES:
        slot.m_nLives = nLives;
        break;
      case CARRY_BGM:
        slot.m_nBgm = nBgm;
        break;
      default:
        CopyCharaItem(i, slot.m_Chara, chara);
        break;
    }
    m_vHolding.At(i) = 1;
  }
}

void cPlayData::RestoreCharaStatus(int n, cEdChara& chara) {
  if (!m_bStatusStored) return;
  const cPlayerStatus& slot = m_vStatus.At(n);
  for (int i = 0; i < kCarryItemCount; ++i) {
    if (i >= static_cast<int>(m_vHolding.size()) || m_vHolding[i] == 0) continue;
    switch (i) {
      case CARRY_HP:
      case CARRY_SP:
        break;  // handed back with the player object (RestoreExtraStatus)
      case CARRY_TIME:
        g_Stage.m_nTimeLimit = slot.m_nTime;
        break;
      case CARRY_LIVES:
        m_nLives = slot.m_nLives;
        break;
      case CARRY_BGM:
        g_Stage.m_nBgm = slot.m_nBgm;
        break;
      case 0:
        CopyCharaItem(0, chara, slot.m_Chara);
        // A character without a picture would vanish.
        chara.m_sGraphic = std::max<int16_t>(chara.m_sGraphic, 1);
        break;
      default:
        CopyCharaItem(i, chara, slot.m_Chara);
        break;
    }
  }
}

void cPlayData::RestoreExtraStatus(int n, int32_t* pHP, int32_t* pSP) {
  if (!m_bStatusStored) return;
  const cPlayerStatus& slot = m_vStatus.At(n);
  auto Held = [this](int i) {
    return IsOn(g_SystemData.m_vCarryFlags, i) && i < static_cast<int>(m_vHolding.size()) &&
           m_vHolding[i] != 0;
  };
  if (Held(CARRY_HP) && pHP) *pHP = slot.m_nHP;
  if (Held(CARRY_SP) && pSP) *pSP = slot.m_nSP;
}

void cPlayData::ClearStatusFlags() {
  for (int i = 0; i < kCarryItemCount && i < static_cast<int>(m_vHolding.size()); ++i) {
    if (IsOn(g_SystemData.m_vResetFlags, i)) m_vHolding[i] = 0;
  }
}
