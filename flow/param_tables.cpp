#include "flow/param_tables.h"

namespace {
constexpr PARAMDATA NONE = {"", 0, 0, 0};
// Labels in "(hbl)" count half blocks of 16 dots.
constexpr PARAMDATA SPACING = {"間隔(hbl)", 0, 40, 0};
constexpr PARAMDATA COURSE = {"軌道変更(hbl)", 0, 40, 0};
constexpr PARAMDATA FACTION = {"対象勢力", 0, 7, 0};
constexpr PARAMDATA HOMING_START = {"誘導開始(hbl)", 0, 40, 0};
constexpr PARAMDATA HOMING_END = {"誘導終了(hbl)", 0, 999, 999};
constexpr PARAMDATA TIME5 = {"実行時間(1/10s)", 1, 9999, 5};
constexpr PARAMDATA TIME10 = {"実行時間(1/10s)", 1, 9999, 10};
}  // namespace

const PARAMDATA g_FormationParamTable[FORMATION_KIND_COUNT * 3] = {
    SPACING,
    NONE,
    NONE,  // 直進A
    SPACING,
    NONE,
    NONE,  // 直進B
    {"角度", 0, 180, 30},
    NONE,
    NONE,  // 拡散
    SPACING,
    {"列の数", 1, 50, 1},
    {"列の間隔(hbl)", 0, 40, 0},  // 落雷
    NONE,
    NONE,
    NONE,  // 爆発
    {"距離(hbl)", 0, 40, 6},
    NONE,
    NONE,  // 包囲
};

const PARAMDATA g_MoveTypeParamTable[MOVE_TYPE_KIND_COUNT * 3] = {
    NONE,
    NONE,
    NONE,
    COURSE,
    NONE,
    NONE,
    COURSE,
    FACTION,
    NONE,
    COURSE,
    NONE,
    NONE,
    HOMING_START,
    HOMING_END,
    NONE,
    HOMING_START,
    HOMING_END,
    FACTION,
    HOMING_START,
    HOMING_END,
    NONE,
    HOMING_START,
    HOMING_END,
    FACTION,
    {"波の最大(hbl)", 0, 100, 4},
    {"波の速度", 0, 100, 4},
    {"開始角度", 0, 359, 0},
    COURSE,
    NONE,
    NONE,
};

const PARAMDATA g_CharaEffectParams[CHARA_EFFECT_KIND_COUNT * EFFECT_PARAM_SLOTS] = {
    NONE,
    NONE,
    NONE,
    NONE,
    NONE,
    // 1 破裂
    TIME5,
    {"開始位置(dot)", 0, 999, 0},
    {"終了位置(dot)", 0, 999, 32},
    NONE,
    NONE,
    // 2 分割（横）, 3 分割（縦）
    TIME5,
    {"開始位置(dot)", 0, 999, 0},
    {"終了位置(dot)", 0, 999, 32},
    {"分割数", 2, 16, 4},
    NONE,
    TIME5,
    {"開始位置(dot)", 0, 999, 0},
    {"終了位置(dot)", 0, 999, 32},
    {"分割数", 2, 16, 4},
    NONE,
    // 4 波（横）, 5 波（縦）
    TIME5,
    {"開始幅(dot)", 0, 999, 0},
    {"終了幅(dot)", 0, 999, 32},
    {"波の数", 2, 16, 2},
    {"波の粗さ(dot)", 1, 4, 2},
    TIME5,
    {"開始幅(dot)", 0, 999, 0},
    {"終了幅(dot)", 0, 999, 32},
    {"波の数", 2, 16, 2},
    {"波の粗さ(dot)", 1, 4, 2},
    // 6 点滅
    TIME10,
    {"点滅間隔(1/60s)", 1, 9999, 2},
    NONE,
    NONE,
    NONE,
    // 7 回転A, 8 回転B
    TIME10,
    {"開始角度", 0, 9999, 0},
    {"終了角度", 0, 9999, 1440},
    NONE,
    NONE,
    TIME10,
    {"開始角度", 0, 9999, 0},
    {"終了角度", 0, 9999, 1440},
    NONE,
    NONE,
    // 9 回転（奥）
    TIME10,
    {"開始位置(dot)", 0, 9999, 0},
    {"終了位置(dot)", 0, 9999, 256},
    NONE,
    NONE,
    // 10 円
    TIME5,
    {"開始半径(dot)", 0, 32, 32},
    {"終了半径(dot)", 0, 32, 0},
    {"円の粗さ(dot)", 1, 4, 2},
    NONE,
    // 11 拡大
    TIME10,
    {"開始幅(dot)", 0, 320, 32},
    {"終了幅(dot)", 0, 320, 64},
    NONE,
    NONE,
    // 12 レンズ
    TIME10,
    {"開始距離", 0, 100, 100},
    {"終了距離", 0, 100, 5},
    {"ズレX(dot)", -16, 16, 0},
    {"ズレY(dot)", -16, 16, 0},
    // 13 色変化
    TIME10,
    {"開始合成度", 1, 4, 1},
    {"終了合成度", 1, 4, 1},
    {"色", 16, 207, 16},
    NONE,
    // 14 半透明
    TIME10,
    {"点滅間隔(1/60s)", 1, 9999, 9999},
    NONE,
    NONE,
    NONE,
    // 15 モザイク
    TIME10,
    {"開始強度", 1, 16, 1},
    {"終了強度", 1, 16, 8},
    NONE,
    NONE,
    // 16 ぼかし
    TIME10,
    {"開始強度", 1, 4, 1},
    {"終了強度", 1, 4, 4},
    NONE,
    NONE,
};

const PARAMDATA g_ScrEffectParams[SCR_EFFECT_KIND_COUNT * EFFECT_PARAM_SLOTS] = {
    NONE,
    NONE,
    NONE,
    NONE,
    NONE,
    // 1 移動
    TIME10,
    {"開始座標X(dot)", -640, 640, 0},
    {"開始座標Y(dot)", -480, 480, 0},
    {"終了座標X(dot)", -640, 640, 640},
    {"終了座標Y(dot)", -480, 480, 0},
    // 2 振動（横）, 3 振動（縦）
    TIME10,
    {"振動幅(dot)", 1, 640, 4},
    {"振動回数", 1, 9999, 4},
    NONE,
    NONE,
    TIME10,
    {"振動幅(dot)", 1, 480, 4},
    {"振動回数", 1, 9999, 4},
    NONE,
    NONE,
    // 4 分割（横）, 5 分割（縦）
    TIME10,
    {"開始位置(dot)", 0, 640, 0},
    {"終了位置(dot)", 0, 640, 640},
    {"分割数", 2, 240, 15},
    NONE,
    TIME10,
    {"開始位置(dot)", 0, 480, 0},
    {"終了位置(dot)", 0, 480, 480},
    {"分割数", 2, 320, 20},
    NONE,
    // 6 波（横）, 7 波（縦）
    TIME10,
    {"開始幅(dot)", 0, 640, 0},
    {"終了幅(dot)", 0, 640, 640},
    {"波の数", 2, 240, 4},
    {"波の粗さ(dot)", 1, 48, 8},
    TIME10,
    {"開始幅(dot)", 0, 480, 0},
    {"終了幅(dot)", 0, 480, 480},
    {"波の数", 2, 320, 4},
    {"波の粗さ(dot)", 1, 64, 10},
    // 8 点滅
    TIME10,
    {"点滅間隔(1/60s)", 1, 9999, 10},
    NONE,
    NONE,
    NONE,
    // 9 回転
    TIME10,
    {"開始角度", 0, 9999, 0},
    {"終了角度", 0, 9999, 1440},
    NONE,
    NONE,
    // 10 円
    TIME10,
    {"開始半径(dot)", 0, 640, 640},
    {"終了半径(dot)", 0, 640, 0},
    {"円の粗さ(dot)", 1, 48, 8},
    NONE,
    // 11 拡大
    TIME10,
    {"開始幅(dot)", 0, 6400, 640},
    {"終了幅(dot)", 0, 6400, 1280},
    NONE,
    NONE,
    // 12 レンズ
    TIME10,
    {"開始距離", 0, 1500, 1500},
    {"終了距離", 0, 1500, 5},
    {"ズレX(dot)", -320, 320, 0},
    {"ズレY(dot)", -240, 240, 0},
    // 13 モザイク
    TIME10,
    {"開始強度", 1, 240, 1},
    {"終了強度", 1, 240, 60},
    NONE,
    NONE,
};

const PARAMDATA* GetFormationParam(int nKind, int nParam) {
  if (nKind < 0 || nKind >= FORMATION_KIND_COUNT || nParam < 0 || nParam > 2) return nullptr;
  return &g_FormationParamTable[nKind * 3 + nParam];
}

const PARAMDATA* GetMoveTypeParam(int nKind, int nParam) {
  if (nKind < 0 || nKind >= MOVE_TYPE_KIND_COUNT || nParam < 0 || nParam > 2) return nullptr;
  return &g_MoveTypeParamTable[nKind * 3 + nParam];
}
