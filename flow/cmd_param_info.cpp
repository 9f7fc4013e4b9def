#include "flow/cmd_param_info.h"

#include <climits>
#include <initializer_list>

#include "flow/command_catalogue.h"

cSafeVector<cSafeVector<CMDPARAMINFO>> g_CmdParamInfo;

namespace {

// The formation- and movement-type-specific entries take their real range
// from the shot part's kind when a binding is applied; this is the widest.
constexpr int32_t FREE_MAX = INT32_MAX;

void SetRow(int nKind, std::initializer_list<CMDPARAMINFO> entries) {
  cSafeVector<CMDPARAMINFO>& row = g_CmdParamInfo.At(nKind);
  row.resize(entries.size());
  int i = 0;
  for (const CMDPARAMINFO& e : entries) row.At(i++) = e;
}

}  // namespace

void InitCmdParamInfo() {
  g_CmdParamInfo.resize(CMD_KIND_COUNT);

  const std::initializer_list<CMDPARAMINFO> straight = {
      {"目標X(bl)", -640, 640},  {"目標X(dot)", -640, 640}, {"目標Y(bl)", -640, 640},
      {"目標Y(dot)", -640, 640}, {"角度", -7200, 7200},     {"分身値による増加角度", -7200, 7200},
  };
  SetRow(CMD_MOVE_STRAIGHT, straight);
  SetRow(CMD_MOVE_CHARGE, straight);
  SetRow(CMD_MOVE_HOMING, {
                              {"誘導性能の悪さ", 0, 10},
                              {"分身値による増加誘導性能の悪さ", 0, 10},
                              {"目標X(bl)", -640, 640},
                              {"目標X(dot)", -640, 640},
                              {"目標Y(bl)", -640, 640},
                              {"目標Y(dot)", -640, 640},
                          });
  SetRow(CMD_SHOT, {
                       {"グラフィック", 1, 120},
                       {"Z座標", 0, 7},
                       {"フォーメーション固有1", 0, FREE_MAX},
                       {"フォーメーション固有2", 0, FREE_MAX},
                       {"フォーメーション固有3", 0, FREE_MAX},
                       {"発射数", 1, 127},
                       {"発射数に対する分身数", 0, 20},
                       {"角度のズレ", -7200, 7200},
                       {"分身値による角度のズレ", -7200, 7200},
                       {"分散角度", 0, 180},
                       {"発射位置のズレX(dot)", -640, 640},
                       {"分身値による発射位置のズレX(dot)", -640, 640},
                       {"発射位置のズレY(dot)", -640, 640},
                       {"分身値による発射位置のズレY(dot)", -640, 640},
                       {"勢力", 0, 7},
                       {"移動タイプ固有1", 0, FREE_MAX},
                       {"移動タイプ固有2", 0, FREE_MAX},
                       {"移動タイプ固有3", 0, FREE_MAX},
                       {"速度", -200, 200},
                       {"分身値による増加速度", -200, 200},
                       {"加速度", -200, 200},
                       {"分身値による増加加速度", -200, 200},
                       {"飛距離(hbl)", 0, 64},
                       {"分身値による増加飛距離", -40, 40},
                       {"存在時間(1/10s)", 1, 999},
                       {"分身値よる増加存在時間", -99, 99},
                       {"消滅値", 1, 9},
                       {"威力", -999999, 999999},
                       {"衝撃", -20, 20},
                   });
  SetRow(CMD_SWORD,
         {{"勢力", 0, 7}, {"Z座標", 0, 7}, {"威力", -999999, 999999}, {"衝撃", -20, 20}});
  SetRow(CMD_SUMMON_BLOCK, {
                               {"フォーメーション固有1", 0, FREE_MAX},
                               {"フォーメーション固有2", 0, FREE_MAX},
                               {"フォーメーション固有3", 0, FREE_MAX},
                               {"数", 1, 127},
                               {"召喚位置のズレX(dot)", -640, 640},
                               {"召喚位置のズレY(dot)", -640, 640},
                           });
  SetRow(CMD_SUMMON_CHARA, {
                               {"存在時間(1/10s)", 1, 9999},
                               {"勢力", 0, 7},
                               {"フォーメーション固有1", 0, FREE_MAX},
                               {"フォーメーション固有2", 0, FREE_MAX},
                               {"フォーメーション固有3", 0, FREE_MAX},
                               {"数", 1, 127},
                               {"召喚位置のズレX(dot)", -640, 640},
                               {"召喚位置のズレY(dot)", -640, 640},
                           });
  SetRow(CMD_SUMMON_ITEM, {
                              {"存在時間(1/10s)", 1, 9999},
                              {"フォーメーション固有1", 0, FREE_MAX},
                              {"フォーメーション固有2", 0, FREE_MAX},
                              {"フォーメーション固有3", 0, FREE_MAX},
                              {"数", 1, 127},
                              {"召喚位置のズレX(dot)", -640, 640},
                              {"召喚位置のズレY(dot)", -640, 640},
                          });
  SetRow(CMD_STAGE_CLEAR, {
                              {"次のステージの番号", 1, 99},
                              {"次のステージの初期位置X(bl)", 0, 999},
                              {"次のステージの初期位置Y(bl)", 0, 999},
                              {"クリア後のワールドマップの位置X", 0, 999},
                              {"クリア後のワールドマップの位置Y", 0, 999},
                          });
  SetRow(CMD_MESSAGE, {
                          {"メッセージID", 0, 999},
                          {"座標X(bl)", 0, 20},
                          {"座標Y(bl)", 0, 15},
                          {"表示位置のズレX(dot)", -999, 999},
                          {"表示位置のズレY(dot)", -999, 999},
                      });
  SetRow(CMD_WARP, {
                       {"距離(hbl)", 0, 64},
                       {"分身値による増加距離(hbl)", -40, 40},
                       {"目標X(bl)", -640, 640},
                       {"目標Y(bl)", -640, 640},
                       {"目標Xのズレ(dot)", -640, 640},
                       {"目標Yのズレ(dot)", -640, 640},
                   });
  SetRow(CMD_SET_TARGET, {
                             {"対象勢力", 0, 7},
                             {"対象キャラID", 0, 99},
                             {"キャラ変数と比較する数値", -999999, 999999},
                         });
  SetRow(CMD_STATUS_OP, {{"乱数の最小値", -999999, 999999}, {"乱数の最大値", -999999, 999999}});
  SetRow(CMD_VANISH, {{"対象勢力", 0, 7}});
  SetRow(CMD_GRAPHIC, {{"グラフィック", 1, 119}, {"ズレ", -999, 999}});
  SetRow(CMD_EFFECT, {
                         {"座標X(bl)", 0, 511},
                         {"座標Y(bl)", 0, 511},
                         {"表示位置のズレX(dot)", -999, 999},
                         {"表示位置のズレY(dot)", -999, 999},
                         {"表示倍率(%)", 1, 1000},
                     });
  SetRow(CMD_PICTURE, {
                          {"ピクチャーID", 0, 999},
                          {"座標X(bl)", 0, 511},
                          {"座標Y(bl)", 0, 511},
                          {"表示位置のズレX(dot)", -999, 999},
                          {"表示位置のズレY(dot)", -999, 999},
                          {"表示倍率(%)", 1, 1000},
                      });
  SetRow(CMD_SCREEN_COLOR, {{"R", 0, 255}, {"G", 0, 255}, {"B", 0, 255}, {"%", 0, 100}});
  SetRow(CMD_BACKGROUND, {{"背景番号", 1, 8}});
}
