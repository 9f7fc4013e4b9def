#include "palette/palette_labels.h"

const char* const g_szBlockOnOffLabels[] = {"OFF", "ON", ""};
const char* const g_szBlockOnOffLabels2[] = {"OFF", "ON", ""};
const char* const g_szPaletteChoiceLabels[] = {"ステージパレット", "コモンパレット", ""};
const char* const g_szInheritSrcLabels[] = {"継承しない", "コモンパレット", "ステージパレット", ""};
const char* const g_szInheritCommonLabels[] = {"継承しない", "コモンパレット", ""};
const char* const g_szInheritStageLabels[] = {"継承しない", "ステージパレット", ""};
const char* const g_szInheritNoneLabels[] = {"継承しない", ""};
const char* const g_szGraphicKindLabels[] = {"ブロック", "キャラ",  "アイテム",
                                             "ショット", "専用bmp", ""};
const char* const g_szGraphicKindLabels2[] = {"ブロック", "キャラ",  "アイテム",
                                              "ショット", "専用bmp", ""};
const char* const g_szDisplayLabels[] = {"表示しない", "表示する", "エディターでのみ表示", ""};
const char* const g_szHitTypeLabels[] = {"当たらない", "当たる", "主人公が当たると即死", ""};
const char* const g_szExemptLabels[] = {"なし", "0", "1", "2", "3", "4", "5", "6", "7", ""};
const char* const g_szSpecialLabels[] = {"なし",
                                         "ジャンプ X=高さ(hbl)",
                                         "ジャンプ禁止",
                                         "移動速度変更 X=％",
                                         "左移動 X=移動速度",
                                         "右移動 X=移動速度",
                                         ""};
const char* const g_szItemSrcLabels[] = {"なし", "コモンパレット", "ステージパレット", ""};
const char* const g_szItemSrcCommonLabels[] = {"なし", "コモンパレット", ""};
const char* const g_szOperatorLabels[] = {"プレイヤー", "コンピューター", ""};
const char* const g_szInputPlayerLabels[] = {"1", ""};
const char* const g_szFlyingLabels[] = {"OFF", "ON (ブロックをすり抜ける)", "ON (ブロックに当たる)",
                                        "ON (ブロックに当たると即死)", ""};
const char* const g_szInvincibleLabels[] = {"OFF", "ON (ショットが当たる)",
                                            "ON (ショットがすり抜ける)", ""};
const char* const g_szCharaOnOffLabels[] = {"OFF", "ON", ""};
const char* const g_szGiantLabels[] = {"しない", "×4",  "×9",  "×16",  "×25", "×36",
                                       "×49",    "×64", "×81", "×100", ""};
const char* const g_szGiantOnlyLabels[] = {"×4",  "×9",  "×16", "×25",  "×36",
                                           "×49", "×64", "×81", "×100", ""};
const char* const g_szSightLabels[] = {"画面内全て",           "キャラを中心とした円形",
                                       "キャラの前方に円形",   "キャラを中心とした正方形",
                                       "キャラの前方に正方形", ""};
const char* const g_szBlockHitRangeLabels[] = {"キャラ対キャラの当たり判定範囲（推奨）",
                                               "キャラ対ショットの当たり判定範囲",
                                               "ショット対キャラの当たり判定範囲", "32×32", ""};
const char* const g_szActRangeLabels[] = {"画面内", "X座標のみ画面内", "Y座標のみ画面内", "全範囲",
                                          ""};
const char* const g_szActModeLabels[] = {"範囲かグループが真なら成立",
                                         "一度範囲かグループが真になると、以後無条件で成立",
                                         "範囲とグループが偽なら成立", ""};
const char* const g_szPickRuleLabels[] = {"1回だけ取れる", "何回でも取れる", "取れない", ""};
