// The checks definitions apply to themselves and to the commands they carry,
// and the look-ups the play engine makes on them.
#include <gtest/gtest.h>

#include "flow/db_ref_stub.h"
#include "palette/palette_labels.h"
#include "palette/palette_test_support.h"

namespace {

using DefinitionChecks = cPaletteFixture;

TEST_F(DefinitionChecks, CharacterRepairsReferencesAndEmptyFlows) {
  cDbRefStub db;
  db.m_nSizes[DBLIST_ANIMESET] = 3;
  db.m_nSizes[DBLIST_CHARAEFFECT] = 2;
  db.m_nSizes[DBLIST_EFFECT] = 2;
  db.m_nSizes[DBLIST_BMPSET] = 4;
  cEdChara c;
  c.m_sAnimeSet = -1;
  c.m_sAppearEffect = 2;
  c.m_sDeathEffect = 1;
  c.m_sBodyHitEffect = 7;
  c.m_cGiant = 0;
  c.m_cGraphicKind = 4;
  c.m_sGraphic = 4;
  c.m_cOperator = 0;
  c.m_cExtraCopies = 3;
  c.m_cBlockLike = 1;
  c.m_vecFlows.resize(3);
  c.m_vecFlows[1].m_vecCmds.resize(1);  // the only flow that does something
  c.Validate();
  EXPECT_EQ(c.m_sAnimeSet, 0);
  EXPECT_EQ(c.m_sAppearEffect, 0);
  EXPECT_EQ(c.m_sDeathEffect, 1);
  EXPECT_EQ(c.m_sBodyHitEffect, 0);
  EXPECT_EQ(c.m_cGiant, 1);
  EXPECT_EQ(c.m_sGraphic, 1);
  EXPECT_EQ(c.m_cExtraCopies, 0);
  EXPECT_EQ(c.m_cBlockLike, 0);
  ASSERT_EQ(c.m_vecFlows.size(), 1u);
  EXPECT_EQ(c.m_vecFlows[0].m_vecCmds.size(), 1u);

  cEdChara pos;
  pos.m_sOffsetX = 16;
  pos.m_sStepX = 8;
  pos.m_cMirrorX = 1;
  EXPECT_EQ(pos.GetPosX(2, 0), 32.0);
  EXPECT_EQ(pos.GetPosX(2, 1), -32.0);
  EXPECT_EQ(pos.GetPosY(5, 1), 0.0);
}

TEST_F(DefinitionChecks, ItemRepairs) {
  cDbRefStub db;
  db.m_nSizes[DBLIST_SOUND] = 3;
  for (uint8_t cGiant : {0, 253}) {  // 253 is -3
    cEdItem item;
    item.m_cGiant = cGiant;
    item.m_sSound = 3;
    item.m_vecCmds.resize(1);
    item.m_vecCmds[0].m_cCmdSet = 1;
    item.m_vecCmds[0].m_cKind = 2;  // stage clear: nine parameters
    item.Validate();
    EXPECT_EQ(item.m_cGiant, 1);
    EXPECT_EQ(item.m_sSound, 0);
    EXPECT_EQ(item.m_vecCmds[0].m_vecParams.size(), 9u);
  }
}

TEST_F(DefinitionChecks, BlockHitTypeAndItemReference) {
  cEdBlock b;
  b.m_sGraphic = 3;
  b.m_cHitType = 2;
  for (int n : {0, 3, 7, 255}) EXPECT_EQ(b.GetHitType(n, true), 2) << n;
  b.m_cExempt = 3;
  EXPECT_EQ(b.GetHitType(3, true), 0);
  EXPECT_EQ(b.GetHitType(2, true), 2);
  b.m_vecConds.resize(1);
  EXPECT_EQ(b.GetHitType(2, false), 0);

  CommonPalette.m_vecItem.resize(3);
  UseStagePalette();
  m_vecStageItems.resize(2);
  struct {
    uint8_t cSrc;
    int16_t sItem;
    uint8_t eSrc;
    int16_t eItem;
  } const rows[] = {{1, 2, 1, 2}, {1, 3, 0, 0},  {2, 1, 2, 1},
                    {2, 2, 0, 0}, {2, -1, 0, 0}, {3, 50, 3, 50}};
  for (const auto& row : rows) {
    b.m_cItemSrc = row.cSrc;
    b.m_sItem = row.sItem;
    b.ValidateItem();
    EXPECT_EQ(b.m_cItemSrc, row.eSrc) << int(row.cSrc) << "/" << row.sItem;
    EXPECT_EQ(b.m_sItem, row.eItem) << int(row.cSrc) << "/" << row.sItem;
  }
}

TEST_F(DefinitionChecks, PaletteItemLookup) {
  UseStagePalette();
  m_vecStageItems.resize(2);
  EXPECT_EQ(GetPaletteItem(1, 0), &CommonPalette.m_vecItem[0]);
  EXPECT_EQ(GetPaletteItem(2, 1), &m_vecStageItems[1]);
  EXPECT_EQ(GetPaletteItem(2, -1), nullptr);
  EXPECT_EQ(GetPaletteItem(2, 2), nullptr);
  EXPECT_EQ(GetPaletteItem(0, 1), nullptr);
  EXPECT_EQ(GetPaletteItem(3, 0), nullptr);
}

TEST_F(DefinitionChecks, CommandPaletteReferences) {
  CommonPalette.m_vecBlock.resize(4);
  CommonPalette.m_vecItem.resize(3);
  UseStagePalette();
  m_vecStageItems.resize(2);
  m_vecStageCharas.resize(2);

  cFlowCmd shot;
  shot.m_cKind = 11;
  NewEdShot(shot.m_pShot);
  shot.m_pShot->m_cItemPalette = 2;
  shot.m_pShot->m_sItemIndex = 2;
  shot.ValidateRefs();
  EXPECT_EQ(shot.m_pShot->m_cItemPalette, 0);
  EXPECT_EQ(shot.m_pShot->m_sItemIndex, 0);

  struct {
    uint8_t cKind;
    int8_t cPalette;
    int16_t sIndex, eIndex;
  } const summons[] = {{13, 0, 3, 3}, {13, 0, 4, 1},  {14, 1, 2, 1},
                       {14, 1, 1, 1}, {15, 0, -1, 1}, {15, 2, 40, 40}};
  for (const auto& row : summons) {
    cFlowCmd cmd;
    cmd.m_cKind = row.cKind;
    NewEdShot(cmd.m_pShot);
    cmd.m_pShot->m_cSummonPalette = row.cPalette;
    cmd.m_pShot->m_sSummonIndex = row.sIndex;
    cmd.ValidateRefs();
    EXPECT_EQ(cmd.m_pShot->m_sSummonIndex, row.eIndex) << int(row.cKind) << "/" << row.sIndex;
  }

  struct {
    uint8_t cSet, cKind;
    int32_t p0, p1, e1;
  } const gets[] = {{0, 25, 0, 3, 1}, {0, 25, 1, 1, 1}, {0, 25, 2, 9, 9}, {1, 10, 1, 5, 1}};
  for (const auto& row : gets) {
    cFlowCmd cmd;
    cmd.m_cCmdSet = row.cSet;
    cmd.m_cKind = row.cKind;
    cmd.m_vecParams = {row.p0, row.p1};
    cmd.ValidateRefs();
    EXPECT_EQ(cmd.m_vecParams[1], row.e1) << int(row.cSet) << "/" << row.p0;
  }

  // Nested flows are checked too, through a character's flows.
  cEdChara chara;
  chara.m_vecFlows.resize(1);
  chara.m_vecFlows[0].m_vecCmds.resize(1);
  chara.m_vecFlows[0].m_vecCmds[0].m_vecFlows.resize(1);
  cFlowCmd get;
  get.m_cKind = 25;
  get.m_vecParams = {0, 7};
  chara.m_vecFlows[0].m_vecCmds[0].m_vecFlows[0].m_vecCmds.push_back(get);
  chara.ValidateFlows();
  EXPECT_EQ(chara.m_vecFlows[0].m_vecCmds[0].m_vecFlows[0].m_vecCmds[0].m_vecParams[1], 1);
}

TEST_F(DefinitionChecks, EntryCopiesAreDeep) {
  cEdChara a;
  a.m_vecFlows.resize(1);
  a.m_vecFlows[0].m_vecCmds.resize(1);
  NewEdShot(a.m_vecFlows[0].m_vecCmds[0].m_pShot);
  a.m_vecFlows[0].m_vecCmds[0].m_pShot->m_nPower = 5;
  a.m_vecInherit[3] = 1;
  cEdChara b;
  b = a;
  a.m_vecFlows[0].m_vecCmds[0].m_pShot->m_nPower = 6;
  a.m_vecInherit[3] = 0;
  EXPECT_EQ(b.m_vecFlows[0].m_vecCmds[0].m_pShot->m_nPower, 5);
  EXPECT_EQ(b.m_vecInherit[3], 1);
  cEdChara& self = a;
  a = self;
  EXPECT_EQ(a.m_vecFlows[0].m_vecCmds[0].m_pShot->m_nPower, 6);
}

}  // namespace

namespace {

TEST(PaletteLabels, ListsNameTheirValues) {
  EXPECT_EQ(CountLabels(g_szGiantLabels), 10);
  EXPECT_EQ(CountLabels(g_szGiantOnlyLabels), 9);
  EXPECT_EQ(CountLabels(g_szExemptLabels), 9);
  EXPECT_EQ(CountLabels(g_szSpecialLabels), 6);
  EXPECT_EQ(CountLabels(g_szFlyingLabels), 4);
  EXPECT_STREQ(g_szPickRuleLabels[2], "取れない");
}

}  // namespace
