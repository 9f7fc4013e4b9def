#include "stage/status_refs.h"

#include <algorithm>
#include <climits>

#include "files/play_data.h"
#include "files/stage_data.h"
#include "stage/condition_lists.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

int32_t STATUSREF::Get() const {
  switch (cBits) {
    case 8:
      return *static_cast<const int8_t*>(p);
    case 16:
      return *static_cast<const int16_t*>(p);
    default:
      return *static_cast<const int32_t*>(p);
  }
}

void STATUSREF::Set(int32_t v) const {
  switch (cBits) {
    case 8:
      *static_cast<int8_t*>(p) = static_cast<int8_t>(v);
      break;
    case 16:
      *static_cast<int16_t*>(p) = static_cast<int16_t>(v);
      break;
    default:
      *static_cast<int32_t*>(p) = v;
      break;
  }
}

STATUSREF CharaStatus(cGameObj& chara, int nSelector, int32_t nVarIndex) {
  cEdChara& d = chara.m_Def;
  switch (nSelector) {
    case STATUS_VAR:
      return {&chara.m_vecCharaVar.At(nVarIndex), 32};
    case STATUS_HP:
      return {&chara.m_nHP, 32};
    case STATUS_SP:
      return {&chara.m_nSP, 32};
    case STATUS_MAX_HP:
      return {&d.m_nMaxHP, 32};
    case STATUS_MAX_SP:
      return {&d.m_nMaxSP, 32};
    case STATUS_ID:
      return {&d.m_cCharaId, 8};
    case STATUS_Z:
      return {&d.m_cLayer, 8};
    case STATUS_MARK:
      return {&d.m_sMark, 16};
    case STATUS_SIGHT:
      return {&d.m_cSightRange, 8};
    case STATUS_BODY_POWER:
      return {&d.m_nBodyPower, 32};
    case STATUS_BODY_IMPACT:
      return {&d.m_cBodyImpact, 8};
    case STATUS_DEFENCE:
      return {&d.m_nDefence, 32};
    case STATUS_IMPACT_RESIST:
      return {&d.m_cImpactResist, 8};
    case STATUS_STOP:
      return {&d.m_sStopEase, 16};
    case STATUS_SCORE:
      return {&d.m_nScore, 32};
    default:
      return {};
  }
}

void CharaStatusRange(int nSelector, int32_t& nLow, int32_t& nHigh) {
  struct RANGE {
    int32_t nLow, nHigh;
  };
  static constexpr RANGE kRanges[STATUS_CHARA_COUNT] = {
      {-kStatusMax, kStatusMax}, {0, kStatusMax}, {0, kStatusMax},  {0, kStatusMax},
      {0, kStatusMax},           {0, 99},         {0, 7},           {0, 119},
      {0, 40},                   {-kStatusMax, kStatusMax},         {-20, 20},
      {0, kStatusMax},           {0, 20},         {0, 200},         {-kStatusMax, kStatusMax},
  };
  if (nSelector < 0 || nSelector >= STATUS_CHARA_COUNT) {
    nLow = -kStatusMax;
    nHigh = kStatusMax;
    return;
  }
  nLow = kRanges[nSelector].nLow;
  nHigh = kRanges[nSelector].nHigh;
}

int32_t* SystemValue(cPlayScene& scene, int nSelector) {
  switch (nSelector) {
    case SYSVAL_TIME:
      return &scene.m_nTime;
    case SYSVAL_SCROLL_X:
      return &g_Stage.m_nAutoSpeedX;
    case SYSVAL_SCROLL_Y:
      return &g_Stage.m_nAutoSpeedY;
    case SYSVAL_SCORE:
      return &g_PlayData.m_nStageScore;
    case SYSVAL_LIVES:
      return &g_PlayData.m_nLives;
    default:
      return nullptr;
  }
}

void ReapplyAutoScroll(cPlayScene& scene, int nSelector) {
  if (nSelector == SYSVAL_SCROLL_X)
    scene.m_ScrollX.SetAutoScroll(g_Stage.m_nScrollKindX == 1, g_Stage.m_nAutoSpeedX,
                                  g_Stage.m_dSteps);
  else if (nSelector == SYSVAL_SCROLL_Y)
    scene.m_ScrollY.SetAutoScroll(g_Stage.m_nScrollKindY == 1, g_Stage.m_nAutoSpeedY,
                                  g_Stage.m_dSteps);
}

void ApplySightChange(cPlayScene& scene, cGameObj& chara) {
  chara.m_nSightRange = 16 * static_cast<int8_t>(chara.m_Def.m_cSightRange);
  // Only a sight shape has surfaces to build (as at the stage's set-up).
  if (chara.m_nControl == 0 && chara.m_Def.m_cSightShape != 0) scene.CreateSightSurfaces();
}

void RefreshStopDecay(cGameObj& chara) {
  chara.m_dDecay = chara.m_Def.m_sStopEase * 0.01 / g_Stage.m_dStepsSquared;
}

cGameObj* TargetSlot(const cGameObj& chara, int nSlot) {
  const size_t n = static_cast<size_t>(nSlot - 1);
  return n < chara.m_vecTargets.size() ? chara.m_vecTargets[n] : nullptr;
}

int32_t CutToWidth(int64_t n, int nBits) {
  switch (nBits) {
    case 8:
      return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint64_t>(n)));
    case 16:
      return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(n)));
    default:
      return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(n)));
  }
}

int32_t ApplyStatusOpWidth(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh,
                           int nBits) {
  x = CutToWidth(x, nBits);
  int64_t r = t;
  switch (nOp) {
    case 0:
      r = x;
      break;
    case 1:
      r = CutToWidth(static_cast<int64_t>(t) + x, nBits);
      break;
    case 2:
      r = CutToWidth(static_cast<int64_t>(t) - x, nBits);
      break;
    case 3:
      // The true product: a saturating multiply saturates on the side it
      // lies on, whatever a wrapped product would say.
      r = static_cast<int64_t>(t) * x;
      break;
    case 4:
      if (x != 0) r = CutToWidth(static_cast<int64_t>(t) / x, nBits);
      break;
    case 5:
      if (x != 0) r = static_cast<int64_t>(t) % x;
      break;
    case 6:
      r = nBits == 8 ? PercentOfByte(x, t) : nBits == 16 ? PercentOfShort(x, t) : PercentOf(x, t);
      break;
    default:
      break;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(r, nLow, nHigh));
}

int32_t ApplyStatusOp(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh) {
  return ApplyStatusOpWidth(t, x, nOp, nLow, nHigh, 32);
}
int32_t ApplyStatusOpShort(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh) {
  return ApplyStatusOpWidth(t, x, nOp, nLow, nHigh, 16);
}
int32_t ApplyStatusOpByte(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh) {
  return ApplyStatusOpWidth(t, x, nOp, nLow, nHigh, 8);
}

int32_t PercentOfByte(int32_t a, int32_t b) { return CutToWidth(PercentOf(CutToWidth(a, 8), b), 8); }
int32_t PercentOfShort(int32_t a, int32_t b) {
  return CutToWidth(PercentOf(CutToWidth(a, 16), b), 16);
}
