// Entries stored by older formats: the character's inherit-flag insertions
// and field repairs, and the shot-sheet renumbering of all three classes.
#include <gtest/gtest.h>

#include "palette/palette_test_support.h"

namespace {

using PaletteUpgrade = cPaletteFixture;

cByteBuilder CharaFile(cEdChara& src, int32_t v, const std::vector<uint8_t>& flags) {
  cByteBuilder b = RawEntryFile(src, v);
  return HeadTail(b, flags, true).Count(0);  // no flows
}

TEST_F(PaletteUpgrade, CharacterFlagInsertions) {
  // Distinctive old flags: flag i holds 0x40 + i.
  std::vector<uint8_t> old167(34), old209(36);
  for (int i = 0; i < 34; ++i) old167[i] = static_cast<uint8_t>(0x40 + i);
  for (int i = 0; i < 36; ++i) old209[i] = static_cast<uint8_t>(0x40 + i);
  struct {
    int32_t nVersion;
    const std::vector<uint8_t>& flags;
    std::vector<int> place;  // new index of each old flag; the rest are the new groups' 1s
  } const rows[] = {
      {167, old167, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                     17, 18, 19, 20, 22, 23, 24, 26, 27, 28, 30, 31, 32, 33, 34, 35, 36}},
      {209, old209, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                     18, 19, 20, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36}},
  };
  for (const auto& row : rows) {
    cEdChara src;
    cEdChara chara;
    ASSERT_EQ(LoadEntry(chara, CharaFile(src, row.nVersion, row.flags)), 1);
    ASSERT_EQ(chara.m_vecInherit.size(), 37u);
    std::vector<uint8_t> expected(37, 1);
    for (size_t i = 0; i < row.place.size(); ++i) expected[row.place[i]] = row.flags[i];
    EXPECT_EQ(std::vector<uint8_t>(chara.m_vecInherit.begin(), chara.m_vecInherit.end()), expected)
        << row.nVersion;
    EXPECT_EQ(chara.m_nCarriedItem, -1);
  }
}

TEST_F(PaletteUpgrade, CharacterFieldRepairs) {
  struct {
    int32_t nVersion;
    uint8_t cHitRange, eHitRange, eInvDisplay;
    int32_t eDefence;
  } const rows[] = {
      {167, 2, 0, 1, 0}, {200, 2, 0, 1, 5}, {205, 2, 3, 1, 5}, {205, 1, 1, 1, 5},
      {206, 2, 2, 1, 5}, {284, 2, 2, 1, 5}, {285, 2, 2, 4, 5},
  };
  for (const auto& row : rows) {
    cEdChara src;
    src.m_cBlockHitRange = row.cHitRange;
    src.m_cInvDisplay = 4;
    src.m_nDefence = 5;
    src.m_cAppearVariant = 1;
    src.m_cScrollSync = 1;
    cEdChara chara;
    chara.m_nDefence = 9;
    chara.m_cBlockHitRange = 9;
    ASSERT_EQ(LoadEntry(chara, CharaFile(src, row.nVersion, std::vector<uint8_t>(37, 0))), 1);
    EXPECT_EQ(chara.m_cBlockHitRange, row.eHitRange) << row.nVersion;
    EXPECT_EQ(chara.m_cInvDisplay, row.eInvDisplay) << row.nVersion;
    EXPECT_EQ(chara.m_nDefence, row.eDefence) << row.nVersion;
    EXPECT_EQ(chara.m_cAppearVariant, row.nVersion < 196 ? 0 : 1) << row.nVersion;
    EXPECT_EQ(chara.m_cScrollSync, row.nVersion < 210 ? 0 : 1) << row.nVersion;
  }
}

TEST_F(PaletteUpgrade, ShotSheetPicturesMovedUpBefore219) {
  struct {
    int32_t nVersion;
    uint8_t cKind;
    int16_t sIndex, eIndex;
  } const rows[] = {{218, 3, 119, 119}, {218, 3, 40, 41}, {218, 0, 40, 40}, {219, 3, 40, 40}};
  for (const auto& row : rows) {
    cEdBlock srcBlock;
    srcBlock.m_cGraphicKind = row.cKind;
    srcBlock.m_sGraphic = row.sIndex;
    cByteBuilder bb = RawEntryFile(srcBlock, row.nVersion);
    cEdBlock block;
    ASSERT_EQ(LoadEntry(block, HeadTail(bb, std::vector<uint8_t>(11, 0))), 1);
    EXPECT_EQ(block.m_sGraphic, row.eIndex) << row.nVersion << " " << int(row.cKind);

    cEdItem srcItem;
    srcItem.m_cGraphicKind = row.cKind;
    srcItem.m_sGraphic = row.sIndex;
    cByteBuilder bi = RawEntryFile(srcItem, row.nVersion);
    cEdItem item;
    ASSERT_EQ(LoadEntry(item, HeadTail(bi, std::vector<uint8_t>(13, 0)).Count(0)), 1);
    EXPECT_EQ(item.m_sGraphic, row.eIndex);

    cEdChara srcChara;
    srcChara.m_cGraphicKind = row.cKind;
    srcChara.m_sGraphic = row.sIndex;
    cEdChara chara;
    ASSERT_EQ(LoadEntry(chara, CharaFile(srcChara, row.nVersion, std::vector<uint8_t>(37, 0))), 1);
    EXPECT_EQ(chara.m_sGraphic, row.eIndex);
  }
}

TEST_F(PaletteUpgrade, DisabledFlowsOfADefinitionDroppedOnRead) {
  cEdChara chara;
  chara.m_vecFlows.resize(3);
  for (int i = 0; i < 3; ++i) {
    chara.m_vecFlows[i].m_cId = static_cast<uint8_t>(i + 1);
    chara.m_vecFlows[i].m_cDisabled = i == 1;
  }
  const std::vector<uint8_t> file = chara.SaveToBytes();
  cEdChara back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  ASSERT_EQ(back.m_vecFlows.size(), 2u);
  EXPECT_EQ(back.m_vecFlows[1].m_cId, 3);
  SetSystemKeepsDisabledFlows(1);
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.m_vecFlows.size(), 3u);
  SetSystemKeepsDisabledFlows(0);
}

}  // namespace
