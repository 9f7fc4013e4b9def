#include "stage/param_binds.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>

#include "base/trunc_int.h"
#include "files/play_data.h"
#include "flow/cmd_param_info.h"
#include "flow/command_catalogue.h"
#include "flow/flow_cmd.h"
#include "flow/param_tables.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/status_refs.h"

namespace {

// Which setting of a kind a bindable number reaches.
enum eAccess { ACCESS_NONE, ACCESS_IDLE, ACCESS_FIELD };

// The setting n of a command of flow kind k: ACCESS_NONE when the kind has
// no accessors, ACCESS_IDLE when it has some that do nothing (kinds 3, 4
// and 7, and numbers the kind does not know), else the field.
eAccess SettingOf(cFlowCmd& cmd, int k, int n, STATUSREF& ref) {
  ref = {};
  auto Param = [&](int i) {
    ref = STATUSREF{&cmd.m_vecParams.At(i), 32};
    return ACCESS_FIELD;
  };
  auto Pick = [&](std::initializer_list<int> params) {
    if (n < 0 || n >= static_cast<int>(params.size())) return ACCESS_IDLE;
    return Param(params.begin()[n]);
  };
  auto Field = [&](auto* p) {
    ref = STATUSREF{p, static_cast<uint8_t>(sizeof(*p) * 8)};
    return ACCESS_FIELD;
  };
  switch (k) {
    case CMD_MOVE_TURN_AROUND:
    case CMD_MOVE_CIRCLE:
    case CMD_MOVE_AVOID_EDGE:
      return ACCESS_IDLE;
    case CMD_MOVE_STRAIGHT:
    case CMD_MOVE_CHARGE:
    case CMD_MOVE_HOMING:
    case CMD_WARP: {
      if (!cmd.m_pMove) return ACCESS_IDLE;
      cEdMove& m = *cmd.m_pMove;
      int16_t* aStraight[] = {&m.m_sTargetXBl, &m.m_sTargetXDot, &m.m_sTargetYBl,
                              &m.m_sTargetYDot, &m.m_sAngle,     &m.m_sAngleInc};
      int16_t* aHoming[] = {&m.m_sTime,        &m.m_sTimeInc,    &m.m_sTargetXBl,
                            &m.m_sTargetXDot, &m.m_sTargetYBl, &m.m_sTargetYDot};
      int16_t* aWarp[] = {&m.m_sDistance,   &m.m_sDistanceInc, &m.m_sTargetXBl,
                          &m.m_sTargetYBl, &m.m_sTargetXDot,  &m.m_sTargetYDot};
      int16_t** a = k == CMD_MOVE_HOMING ? aHoming : k == CMD_WARP ? aWarp : aStraight;
      if (n < 0 || n >= 6) return ACCESS_IDLE;
      return Field(a[n]);
    }
    case CMD_SHOT:
    case CMD_SWORD:
    case CMD_SUMMON_BLOCK:
    case CMD_SUMMON_CHARA:
    case CMD_SUMMON_ITEM: {
      if (!cmd.m_pShot) return ACCESS_IDLE;
      cEdShot& s = *cmd.m_pShot;
      if (k == CMD_SHOT) {
        switch (n) {
          case 0: return Field(&s.m_sGraphic);
          case 1: return Field(&s.m_cLayer);
          case 2: case 3: case 4: return Field(&s.m_sFormationParam[n - 2]);
          case 5: return Field(&s.m_cShotCount);
          case 6: return Field(&s.m_cCopies);
          case 7: return Field(&s.m_sAngle);
          case 8: return Field(&s.m_sAngleInc);
          case 9: return Field(&s.m_sSpread);
          case 10: return Field(&s.m_sOffsetX);
          case 11: return Field(&s.m_sOffsetXInc);
          case 12: return Field(&s.m_sOffsetY);
          case 13: return Field(&s.m_sOffsetYInc);
          case 14: return Field(&s.m_cFaction);
          case 15: case 16: case 17: return Field(&s.m_sMoveParam[n - 15]);
          case 18: return Field(&s.m_sSpeed);
          case 19: return Field(&s.m_sSpeedInc);
          case 20: return Field(&s.m_sAccel);
          case 21: return Field(&s.m_sAccelInc);
          case 22: return Field(&s.m_sRange);
          case 23: return Field(&s.m_sRangeInc);
          case 24: return Field(&s.m_sLife);
          case 25: return Field(&s.m_sLifeInc);
          case 26: return Field(&s.m_cVanishValue);
          case 27: return Field(&s.m_nPower);
          case 28: return Field(&s.m_cImpact);
          default: return ACCESS_IDLE;
        }
      }
      if (k == CMD_SWORD) {
        switch (n) {
          case 0: return Field(&s.m_cFaction);
          case 1: return Field(&s.m_cLayer);
          case 2: return Field(&s.m_nPower);
          case 3: return Field(&s.m_cImpact);
          default: return ACCESS_IDLE;
        }
      }
      // The summons: formation values from nForm, then the count and the
      // two offsets; characters and items first have their time ("飛距離")
      // and characters their faction.
      int nAt = n;
      if (k != CMD_SUMMON_BLOCK) {
        if (nAt == 0) return Field(&s.m_sRange);
        --nAt;
        if (k == CMD_SUMMON_CHARA) {
          if (nAt == 0) return Field(&s.m_cFaction);
          --nAt;
        }
      }
      switch (nAt) {
        case 0: case 1: case 2: return Field(&s.m_sFormationParam[nAt]);
        case 3: return Field(&s.m_cShotCount);
        case 4: return Field(&s.m_sOffsetX);
        case 5: return Field(&s.m_sOffsetY);
        default: return ACCESS_IDLE;
      }
    }
    case CMD_STAGE_CLEAR: return Pick({1, 6, 7, 3, 4});
    case CMD_MESSAGE: return Pick({13, 1, 2, 3, 4});
    case CMD_SET_TARGET: return Pick({2, 10, 13});
    case CMD_STATUS_OP: return Pick({8, 9});
    case CMD_VANISH: return Pick({1});
    case CMD_GRAPHIC: return Pick({1, 2});
    case CMD_EFFECT: return Pick({2, 3, 4, 5, 6});
    case CMD_PICTURE: return Pick({13, 2, 3, 4, 5, 7});
    case CMD_SCREEN_COLOR: return Pick({0, 1, 2, 3});
    case CMD_BACKGROUND: return Pick({0});
    default:
      return ACCESS_NONE;
  }
}

// The range of a formation's or movement type's own value replaces the
// row's for the entries that name one.
void CommandRange(const cFlowCmd& cmd, int k, int n, int32_t& nMin, int32_t& nMax) {
  if (!cmd.m_pShot) return;
  const cEdShot& s = *cmd.m_pShot;
  const PARAMDATA* p = nullptr;
  int nFirst = -1;
  if (k == CMD_SHOT || k == CMD_SUMMON_CHARA) nFirst = 2;
  if (k == CMD_SUMMON_BLOCK) nFirst = 0;
  if (k == CMD_SUMMON_ITEM) nFirst = 1;
  if (nFirst >= 0 && n >= nFirst && n < nFirst + 3) p = GetFormationParam(s.m_cFormation, n - nFirst);
  if (k == CMD_SHOT && n >= 15 && n <= 17) p = GetMoveTypeParam(s.m_cMoveType, n - 15);
  if (!p) return;
  nMin = p->sMin;
  nMax = p->sMax;
}

}  // namespace

void ApplyParamBind(cPlayScene& scene, cFlowCmd& cmd, const PARAMBIND& bind, cGameObj& x) {
  const int k = cmd.GetFlowKind();
  if (k != bind.At(0)) return;
  const int n = bind.At(1);
  STATUSREF ref;
  const eAccess access = SettingOf(cmd, k, n, ref);
  if (access == ACCESS_NONE) return;
  const int32_t nCurrent = ref ? ref.Get() : 0;
  // The source value; an index outside its variables changes nothing.
  int32_t v = 0;
  const int32_t nVar = bind.At(4);
  switch (bind.At(3)) {
    case 0:
      if (nVar < 1 || nVar >= static_cast<int32_t>(g_PlayData.m_vVars.size())) return;
      v = g_PlayData.m_vVars.At(nVar);
      break;
    case 1:
      if (nVar < 1 || nVar >= static_cast<int32_t>(scene.m_StageVar.size())) return;
      v = scene.m_StageVar.At(nVar);
      break;
    case 2:
      if (nVar < 0 || nVar >= static_cast<int32_t>(x.m_vecCharaVar.size())) return;
      v = x.m_vecCharaVar.At(nVar);
      break;
    default:
      return;  // a source the editor does not offer binds nothing
  }
  const CMDPARAMINFO& info = g_CmdParamInfo.At(k).At(n);
  int32_t nMin = info.nMin, nMax = info.nMax;
  CommandRange(cmd, k, n, nMin, nMax);
  int64_t r = nCurrent;
  switch (bind.At(2)) {
    case 0:
      r = v;
      break;
    case 1:
      r = static_cast<int32_t>(static_cast<uint32_t>(nCurrent) + static_cast<uint32_t>(v));
      break;
    case 2:
      r = static_cast<int32_t>(static_cast<uint32_t>(nCurrent) - static_cast<uint32_t>(v));
      break;
    case 3:
      // The true product: an overflow saturates on the side it lies on.
      r = int64_t{nCurrent} * v;
      break;
    case 4:
      if (v != 0) r = int64_t{nCurrent} / v;
      break;
    case 5:
      if (v != 0) r = int64_t{nCurrent} % v;
      break;
    case 6: {
      const double d = static_cast<double>(int64_t{nCurrent} * v) / 100.0;
      r = static_cast<int64_t>(d >= 0 ? std::floor(d + 0.5) : std::ceil(d - 0.5));
      break;
    }
    default:
      break;
  }
  if (r < nMin)
    r = nMin;
  else if (r > nMax)
    r = nMax;
  if (ref) ref.Set(static_cast<int32_t>(r));
}

void ApplyParamBinds(cPlayScene& scene, cFlowCmd& cmd, cGameObj& chara, const cFlowState* pRun) {
  if (!pRun) return;
  for (const PARAMBIND& bind : pRun->m_lstBinds) ApplyParamBind(scene, cmd, bind, chara);
}

void ApplyCharaParamBinds(cPlayScene& scene, cFlowCmd& cmd, cPlayerObj& player) {
  for (const PARAMBIND& bind : player.m_lstBinds) ApplyParamBind(scene, cmd, bind, player);
}
