#include "flow/option_labels.h"

int CountLabels(LABELLIST list) {
  int n = 0;
  while (list[n][0] != '\0') ++n;
  return n;
}

const char* const g_szFormationLabels[] = {"直進A", "直進B", "拡散", "落雷", "爆発", "包囲", ""};
const char* const g_szShotRefLabels[] = {"ターゲット", "主人公", "自分", ""};
const char* const g_szMoveTypeLabels[] = {"直進",
                                          "主人公を狙う",
                                          "近いキャラを狙う",
                                          "ターゲットを狙う",
                                          "主人公へ誘導",
                                          "近いキャラへ誘導（対象死亡時、誘導を無効化）",
                                          "ターゲットへ誘導",
                                          "近いキャラへ誘導（対象死亡時、対象を変更）",
                                          "ウェーブ",
                                          "落下",
                                          ""};
const char* const g_szBlockSummonLabels[] = {"ブロックを召喚", "ブロックを消す",
                                             "ブロックがなければ召喚、ブロックがあれば消す", ""};
const char* const g_szSummonPaletteLabels[] = {"コモンパレット", "ステージパレット", ""};
const char* const g_szCommonPaletteOnlyLabels[] = {"コモンパレット", ""};
const char* const g_szSummonFactionLabels[] = {"パレットの設定に準ずる", "使用者と同じ",
                                               "番号で指定", ""};
const char* const g_szCharaEffectNames[] = {
    "破裂",   "分割（横）", "分割（縦）", "波（横）", "波（縦）", "点滅",
    "回転A",  "回転B",      "回転（奥）", "円",       "拡大",     "レンズ",
    "色変化", "半透明",     "モザイク",   "ぼかし",   ""};
const char* const g_szScrEffectNames[] = {
    "移動", "振動（横）", "振動（縦）", "分割（横）", "分割（縦）", "波（横）", "波（縦）",
    "点滅", "回転",       "円",         "拡大",       "レンズ",     "モザイク", ""};
// Kind 0 has no name; the count helper does not apply to this list.
const char* const g_szCondKindLabels[] = {"",
                                          "コモン変数条件",
                                          "ステージ変数条件",
                                          "キャラ変数条件",
                                          "ステータス条件",
                                          "ステータス条件2",
                                          "ステータス条件3",
                                          "距離条件",
                                          ""};
const char* const g_szCondRuleLabels[] = {"全ての条件が真なら成立", "1つ以上の条件が真なら成立",
                                          ""};
const char* const g_szCompareLabels[] = {"である", "でない",       "以上",         "以下", "より上",
                                         "より下", "の倍数である", "の倍数でない", ""};
const char* const g_szStateOpLabels[] = {"なら", "でないなら", ""};
const char* const g_szStateSelectorLabels[] = {
    "左向き",       "右向き",       "ブロックに乗っている(ブロックキャラも含む)",
    "画面内にいる", "存在している", ""};
const char* const g_szDistSubjectLabels[] = {"主人公",      "ターゲット1", "ターゲット2",
                                             "ターゲット3", "ターゲット4", ""};
const char* const g_szDistShapeLabels[] = {"横", "前", "後", "縦", "前Y", "後Y", "円", ""};
const char* const g_szDistOpLabels[] = {"以内", "外", ""};
const char* const g_szSubjectLabels[] = {"自分",        "ターゲット1", "ターゲット2",
                                         "ターゲット3", "ターゲット4", ""};
const char* const g_szSubjectLabels2[] = {"自分",        "ターゲット1", "ターゲット2",
                                          "ターゲット3", "ターゲット4", ""};
const char* const g_szSubjectSysLabels[] = {
    "自分", "ターゲット1", "ターゲット2", "ターゲット3", "ターゲット4", "システム", ""};
const char* const g_szPlayerSubjectLabels[] = {"主人公",      "ターゲット1", "ターゲット2",
                                               "ターゲット3", "ターゲット4", ""};
const char* const g_szPlayerSubjectSysLabels[] = {
    "主人公", "ターゲット1", "ターゲット2", "ターゲット3", "ターゲット4", "システム", ""};
const char* const g_szLeftSideLabels[] = {"ステータス", "変数", ""};
const char* const g_szOperandLabels[] = {"定数", "乱数", "ステータス", "変数", ""};
const char* const g_szVarScopeLabels[] = {"コモン変数", "ステージ変数", ""};
const char* const g_szVarScope3Labels[] = {"コモン変数", "ステージ変数", "キャラ変数", ""};
const char* const g_szCharaVarLabels[] = {"1 キャラ変数-1", "2 キャラ変数-2", "3 キャラ変数-3",
                                          "4 キャラ変数-4", "5 キャラ変数-5", "6 キャラ変数-6",
                                          "7 キャラ変数-7", "8 キャラ変数-8", ""};
const char* const g_szStatusModeLabels[] = {"通常の計算", "最大値に対する％で指定",
                                            "現在値に対する％で指定", ""};
const char* const g_szStatusOpLabels[] = {"＝", "＋", "－", "×", "÷", "÷ X の余り", "X ％", ""};
const char* const g_szFlagValueLabels[] = {"ON", ""};
const char* const g_szDisplaySwitchLabels[] = {"表示しない", "表示する", "テストプレイ時のみ表示",
                                               ""};
const char* const g_szFlowIdLabels[] = {"-", "A", "B", "C", "D", "E", "F", "G", "H", "I",
                                        "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S",
                                        "T", "U", "V", "W", "X", "Y", "Z", ""};
const char* const g_szLetterAllLabels[] = {"全て", "A", "B", "C", "D", "E", "F", "G", "H", "I",
                                           "J",    "K", "L", "M", "N", "O", "P", "Q", "R", "S",
                                           "T",    "U", "V", "W", "X", "Y", "Z", ""};
const char* const g_szLowerLetterLabels[] = {"-", "a", "b", "c", "d", "e", "f", "g", "h", "i",
                                             "j", "k", "l", "m", "n", "o", "p", "q", "r", "s",
                                             "t", "u", "v", "w", "x", "y", "z", ""};
const char* const g_szFlowReplaceKeyLabels[] = {
    "全て削除", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N",        "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", ""};
const char* const g_szFlowReplaceOpLabels[] = {"追加", "変更", "削除", ""};
const char* const g_szTriggerLabels[] = {"常時",
                                         "ダメージを受けた時",
                                         "衝撃を受けた時",
                                         "死亡した時",
                                         "キャラに当たった時",
                                         "ブロックキャラに当たった時",
                                         "ブロックキャラに乗っている時",
                                         "ショットに当たった時",
                                         "アイテムに当たった時",
                                         "ブロックに当たった時",
                                         "自分の左右にブロックが当たった時",
                                         "自分の左にブロックが当たった時",
                                         "自分の右にブロックが当たった時",
                                         "自分の上下にブロックが当たった時",
                                         "自分の上にブロックが当たった時",
                                         "自分の下にブロックが当たった時",
                                         "主人公に乗られている時",
                                         "キャラに乗られている時",
                                         "アタックでダメージを与えた時",
                                         "アタックで衝撃を与えた時",
                                         "アタックを当てた時",
                                         "ステージ開始前",
                                         "なし（フローの操作コマンドで実行）",
                                         ""};
const char* const g_szKeyStateLabels[] = {"--", "押", "離", ""};
const char* const g_szKeyRuleLabels[] = {"全てのキーが真なら成立", "1つ以上のキーが真なら成立",
                                         "1つだけキーが真なら成立", ""};
const char* const g_szFlowOpLabels[] = {"開始", "終了", "一時停止", "再開", "削除", "永久停止", ""};
const char* const g_szFlowOpScopeLabels[] = {"このフロー", "このフロー以外全て", "指定IDのフロー",
                                             ""};
const char* const g_szNextStageLabels[] = {"次のステージへ", "番号で指定", "パスで指定",
                                           "ワールドクリア", ""};
const char* const g_szStartFacingLabels[] = {"左向き", "右向き", "ステージクリア時の向きと同じ",
                                             ""};
const char* const g_szMessagePosLabels[] = {"画面中央に表示",     "自分の上に表示",
                                            "自分の下に表示",     "自分の中心に表示",
                                            "主人公の上に表示",   "主人公の下に表示",
                                            "主人公の中心に表示", "画面座標で指定",
                                            "ステージ座標で指定", ""};
const char* const g_szMessageModeLabels[] = {"進行キーが押されるまで表示", "ステージ終了まで表示",
                                             "時間で指定", ""};
const char* const g_szPictureModeLabels[] = {"進行キーが押されるまで表示", "ステージ終了まで表示",
                                             "時間で指定", ""};
const char* const g_szTargetChoiceLabels[] = {"主人公",
                                              "自分",
                                              "最も近いキャラ",
                                              "キャラ（キャラIDで指定）",
                                              "親キャラ（自分を召喚したキャラ）",
                                              "子キャラ（最後に召喚したキャラ）",
                                              "子キャラ（条件付き。後で召喚したキャラ優先)",
                                              "ターゲット1",
                                              "ターゲット2",
                                              "ターゲット3",
                                              "ターゲット4",
                                              ""};
const char* const g_szTargetRangeLabels[] = {"全範囲（画面内のキャラ優先）", "全範囲", "画面内",
                                             ""};
const char* const g_szTargetMissLabels[] = {"ターゲット無し", "ターゲットを変更しない", ""};
const char* const g_szVanishWhatLabels[] = {"キャラ",
                                            "ショット",
                                            "子以下のキャラ",
                                            "子のショット",
                                            "子以下のキャラと子以下のショット",
                                            "子以下のキャラと孫以下のショット",
                                            ""};
const char* const g_szVanishRangeLabels[] = {"画面内", "全範囲", ""};
const char* const g_szPaletteLabels[] = {"コモンパレット", "ステージパレット", ""};
const char* const g_szPaletteCommonLabels[] = {"コモンパレット", ""};
const char* const g_szPicturePosLabels[] = {"画面中央に表示",     "キャラの中心に表示",
                                            "主人公の中心に表示", "画面座標で指定",
                                            "ステージ座標で指定", ""};
const char* const g_szEffectRunLabels[] = {"通常実行", "反転実行", "往復実行", ""};
const char* const g_szBgSwitchLabels[] = {"表示", "非表示", "反転(表示⇔非表示)", ""};
const char* const g_szMoveModeLabels[] = {"方向で指定", "目標座標で指定", ""};
const char* const g_szWarpModeLabels[] = {"方向と距離で指定",
                                          "ターゲット1からの方向と距離で指定",
                                          "ターゲット2からの方向と距離で指定",
                                          "ターゲット3からの方向と距離で指定",
                                          "ターゲット4からの方向と距離で指定",
                                          "目標座標で指定",
                                          ""};
const char* const g_szMoveDirLabels[] = {"前", "後",   "左",   "右",   "前Y",  "後Y",      "上",
                                         "下", "左上", "左下", "右上", "右下", "入力方向", ""};
const char* const g_szCoordKindLabels[] = {"配置位置からの相対座標", "相対座標", "絶対座標",
                                           "画面座標", ""};
const char* const g_szWarpCoordLabels[] = {"相対座標", "絶対座標", "画面座標", ""};
const char* const g_szTargetSlotLabels[] = {"ターゲット1", "ターゲット2", "ターゲット3",
                                            "ターゲット4", ""};
const char* const g_szTurnSenseLabels[] = {"右回り", "左回り", "左向きなら右回り、右向きなら左回り",
                                           "左向きなら左回り、右向きなら右回り", ""};
const char* const g_szTurnLabels[] = {"左を向く",
                                      "右を向く",
                                      "ターゲット1がいる方を向く",
                                      "ターゲット1がいる方の逆を向く",
                                      "ターゲット2がいる方を向く",
                                      "ターゲット2がいる方の逆を向く",
                                      "ターゲット3がいる方を向く",
                                      "ターゲット3がいる方の逆を向く",
                                      "ターゲット4がいる方を向く",
                                      "ターゲット4がいる方の逆を向く",
                                      "最後にブロックが当たった方を向く",
                                      "最後にブロックが当たった方の逆を向く",
                                      ""};
const char* const g_szTimingLabels[] = {"時間と速度を指定", "時間と距離を指定", "速度と距離を指定",
                                        ""};
const char* const g_szCircleTimingLabels[] = {"時間を指定", "速度を指定", ""};
const char* const g_szJumpKindLabels[] = {"高さがキーで調節できない",
                                          "高さがキーで調節できる(主人公のみ有効)",
                                          "慣性移動速度に応じて高さを決定(主人公のみ有効)", ""};
const char* const g_szDistUnitLabels[] = {"(hbl)で指定", "(dot)で指定", ""};
