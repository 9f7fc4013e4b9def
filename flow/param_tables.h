// Parameter descriptors of shot formations and shot movement types, and of
// character and screen effects: the label, the range within which bindings
// and the editor keep the value, and the value a new or upgraded entry gets.
#pragma once

#include <cstdint>

struct PARAMDATA {
  const char* szLabel;  // "" for a parameter the kind does not use
  int16_t sMin;
  int16_t sMax;
  int32_t nDefault;
};

constexpr int FORMATION_KIND_COUNT = 6;
constexpr int MOVE_TYPE_KIND_COUNT = 10;
constexpr int CHARA_EFFECT_KIND_COUNT = 17;
constexpr int SCR_EFFECT_KIND_COUNT = 14;
constexpr int EFFECT_PARAM_SLOTS = 5;

// Three entries per kind: entry = kind * 3 + parameter number.
extern const PARAMDATA g_FormationParamTable[FORMATION_KIND_COUNT * 3];
extern const PARAMDATA g_MoveTypeParamTable[MOVE_TYPE_KIND_COUNT * 3];
// Five slots per kind: entry = kind * 5 + slot (0 duration, 1 start, 2 end,
// 3 and 4 the kind's own values).
extern const PARAMDATA g_CharaEffectParams[CHARA_EFFECT_KIND_COUNT * EFFECT_PARAM_SLOTS];
extern const PARAMDATA g_ScrEffectParams[SCR_EFFECT_KIND_COUNT * EFFECT_PARAM_SLOTS];

// Null for a kind outside its table or a parameter number outside 0..2.
const PARAMDATA* GetFormationParam(int nKind, int nParam);
const PARAMDATA* GetMoveTypeParam(int nKind, int nParam);
