#include "flow/command_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>

#include "flow/cmd_param_info.h"
#include "flow/option_labels.h"
#include "flow/param_tables.h"

namespace {

TEST(CommandCatalogue, ParameterCountsOfTheKindsThatTakeParameters) {
  struct {
    int nKind, nCount;
  } const rows[] = {{9, 1},  {10, 5},  {16, 4}, {17, 9}, {18, 1}, {19, 18}, {21, 16}, {22, 18},
                    {23, 3}, {24, 3},  {25, 2}, {26, 3}, {27, 1}, {28, 1},  {29, 8},  {30, 3},
                    {31, 3}, {32, 15}, {33, 8}, {34, 2}, {35, 1}, {36, 2},  {38, 5},  {39, 2}};
  int nTotal = 0;
  for (const auto& row : rows) {
    EXPECT_EQ(g_CmdCatalogue[row.nKind].nParamCount, row.nCount) << row.nKind;
    nTotal += row.nCount;
  }
  // Every kind not listed takes none.
  int nAll = 0;
  for (const CMDINFO& info : g_CmdCatalogue) nAll += info.nParamCount;
  EXPECT_EQ(nAll, nTotal);
  EXPECT_STREQ(g_CmdCatalogue[0].szName, "");
  EXPECT_STREQ(g_CmdCatalogue[39].szName, "ループ");
}

TEST(CommandCatalogue, ItemKindsRepeatFlowKindsFifteenUp) {
  EXPECT_STREQ(g_ItemCmdCatalogue[1].szName, "フローの変更");
  EXPECT_EQ(g_ItemCmdCatalogue[1].nParamCount, 2);
  for (int k = 2; k < ITEM_CMD_KIND_COUNT; ++k) {
    EXPECT_STREQ(g_ItemCmdCatalogue[k].szName, g_CmdCatalogue[k + 15].szName);
    EXPECT_EQ(g_ItemCmdCatalogue[k].nParamCount, g_CmdCatalogue[k + 15].nParamCount);
  }
  EXPECT_EQ(GetCmdInfo(1, 4), &g_ItemCmdCatalogue[4]);
  EXPECT_EQ(GetCmdInfo(0, 40), nullptr);
  EXPECT_EQ(GetCmdInfo(1, 25), nullptr);
  EXPECT_EQ(GetCmdInfo(2, 0), nullptr);
}

TEST(CmdParamInfo, RowsAreBuiltForTheBindableKindsOnly) {
  InitCmdParamInfo();
  InitCmdParamInfo();  // a second build gives the same table
  ASSERT_EQ(g_CmdParamInfo.size(), 40u);
  struct {
    int nKind;
    size_t nEntries;
  } const rows[] = {{2, 6},  {5, 6},  {6, 6},  {11, 29}, {12, 4}, {13, 6}, {14, 8},
                    {15, 7}, {17, 5}, {19, 5}, {20, 6},  {21, 3}, {22, 2}, {24, 1},
                    {26, 2}, {29, 5}, {32, 6}, {33, 4},  {34, 1}};
  size_t nListed = 0;
  for (const auto& row : rows) {
    EXPECT_EQ(g_CmdParamInfo[row.nKind].size(), row.nEntries) << row.nKind;
    nListed += row.nEntries;
  }
  size_t nAll = 0;
  for (const auto& row : g_CmdParamInfo) nAll += row.size();
  EXPECT_EQ(nAll, nListed);
  const CMDPARAMINFO& power = g_CmdParamInfo[11][27];
  EXPECT_EQ(power.strLabel, "威力");
  EXPECT_EQ(power.nMin, -999999);
  EXPECT_EQ(power.nMax, 999999);
  EXPECT_EQ(g_CmdParamInfo[19][0].nMax, 999);
}

TEST(ParamTables, FormationAndMoveTypeEntries) {
  EXPECT_STREQ(GetFormationParam(2, 0)->szLabel, "角度");
  EXPECT_EQ(GetFormationParam(2, 0)->nDefault, 30);
  EXPECT_EQ(GetFormationParam(3, 1)->sMin, 1);
  EXPECT_STREQ(GetFormationParam(4, 0)->szLabel, "");
  EXPECT_EQ(GetFormationParam(6, 0), nullptr);
  EXPECT_EQ(GetMoveTypeParam(5, 1)->sMax, 999);
  EXPECT_EQ(GetMoveTypeParam(8, 2)->sMax, 359);
  EXPECT_EQ(GetMoveTypeParam(9, 3), nullptr);
  // The defaults that upgraded effect entries take.
  EXPECT_EQ(g_CharaEffectParams[4 * 5 + 4].nDefault, 2);
  EXPECT_EQ(g_CharaEffectParams[10 * 5 + 3].nDefault, 2);
  EXPECT_EQ(g_ScrEffectParams[6 * 5 + 4].nDefault, 8);
  EXPECT_EQ(g_ScrEffectParams[7 * 5 + 4].nDefault, 10);
  EXPECT_EQ(g_ScrEffectParams[10 * 5 + 3].nDefault, 8);
}

TEST(OptionLabels, ListsEndWithAnEmptyText) {
  EXPECT_EQ(CountLabels(g_szTriggerLabels), 23);
  EXPECT_EQ(CountLabels(g_szFlowIdLabels), 27);
  EXPECT_EQ(CountLabels(g_szMoveDirLabels), 13);
  EXPECT_EQ(CountLabels(g_szMoveTypeLabels), 10);
  EXPECT_EQ(CountLabels(g_szCharaEffectNames), 16);
  EXPECT_EQ(CountLabels(g_szScrEffectNames), 13);
  EXPECT_STREQ(g_szCondKindLabels[0], "");
  EXPECT_STREQ(g_szCondKindLabels[7], "距離条件");
  EXPECT_STREQ(g_szCharaVarLabels[7], "8 キャラ変数-8");
}

}  // namespace
