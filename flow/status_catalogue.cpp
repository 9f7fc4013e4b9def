#include "flow/status_catalogue.h"

namespace {
constexpr int32_t M = 999999;
}  // namespace

const STATUSINFO g_StatusCatalogue[kCharaStatusCount] = {
    {"キャラ変数", -M, M, -M, M, 0, 0, 1},
    {"HP", 0, M, -M, M, 0, 1, 1},
    {"SP", 0, M, -M, M, 0, 1, 1},
    {"最大HP", 0, M, -M, M, 0, 0, 1},
    {"最大SP", 0, M, -M, M, 0, 0, 1},
    {"キャラID", 0, 99, -99, 99, 0, 0, 0},
    {"Z座標", 0, 8, -8, 8, 0, 0, 0},
    {"マーク番号", 0, 119, -121, 119, 0, 0, 0},
    {"視界範囲(hbl)", 0, 40, -40, 40, 0, 0, 1},
    {"体当たりの威力", -M, M, -M, M, 0, 0, 1},
    {"体当たりの衝撃", -20, 20, -20, 20, 0, 0, 1},
    {"防御力", 0, M, -M, M, 0, 0, 1},
    {"衝撃耐性", 0, 20, -20, 20, 0, 0, 1},
    {"止まりやすさ", 0, 200, -200, 200, 0, 0, 1},
    {"倒したら獲得するスコア", -M, M, -M, M, 0, 0, 1},
};

const STATUSINFO g_SystemStatusCatalogue[kSystemStatusCount] = {
    {"時間", 0, 999, -999, 999, 0, 0, 1},
    {"横スクロール速度", -480, 480, -480, 480, 0, 0, 1},
    {"縦スクロール速度", -480, 480, -480, 480, 0, 0, 1},
    {"スコア", 0, M, -M, M, 0, 0, 1},
    {"残り人数", 0, 99, -99, 99, 0, 0, 1},
};

namespace {
const char* const kVanish[] = {"ON", ""};
const char* const kOnOff[] = {"OFF", "ON", ""};
const char* const kFlying[] = {"OFF", "ON (ブロックをすり抜ける)", "ON (ブロックに当たる)",
                               "ON (ブロックに当たると即死)", ""};
const char* const kInvincible[] = {"OFF", "ON (ショットが当たる)", "ON (ショットがすり抜ける)", ""};
const char* const kGiant[] = {"しない", "×4",  "×9",  "×16", "×25", "×36",
                              "×49",   "×64", "×81", "×100", ""};
}  // namespace

const FLAGSTATUSINFO g_FlagStatusCatalogue[kFlagStatusCount] = {
    {"消滅", 0, 0, 0, kVanish},
    {"透明", 0, 1, 0, kOnOff},
    {"向き固定", 0, 1, 0, kOnOff},
    {"飛行", 0, 3, 0, kFlying},
    {"無敵", 0, 2, 0, kInvincible},
    {"巨大化", 1, 10, 1, kGiant},
    {"オートスクロールとシンクロ", 0, 1, 0, kOnOff},
};
