// Inheritance of property groups from the common and the stage palette.
#include <gtest/gtest.h>

#include "palette/palette_test_support.h"

namespace {

class Inheritance : public cPaletteFixture {
 protected:
  void SetUp() override {
    // Common block 2 and stage block 1 are distinctive parents.
    CommonPalette.m_vecBlock.resize(3);
    cEdBlock& parent = CommonPalette.m_vecBlock[2];
    parent.m_strName = "parent";
    parent.m_cGraphicKind = 2;
    parent.m_sGraphic = 7;
    parent.m_sGraphicCell = 3;
    parent.m_cSpecial = 4;
    parent.m_nSpecialParam = 99;
    parent.m_cExempt = 5;
    m_vecStageBlocks.resize(3);
    m_vecStageBlocks[1].m_sGraphic = 55;
    UseStagePalette();
  }

  // A block as stored: picture 1 of kind 0, special 1 with 8, named "child".
  static cEdBlock Child(uint8_t cSource, int16_t sParent) {
    cEdBlock b;
    b.m_cInheritSrc = cSource;
    b.m_sParent = sParent;
    b.m_strName = "child";
    b.m_sGraphic = 1;
    b.m_sGraphicCell = 9;
    b.m_cSpecial = 1;
    b.m_nSpecialParam = 8;
    return b;
  }
};

TEST_F(Inheritance, BlockRows) {
  const std::vector<uint8_t> none(11, 0), all(11, 1);
  std::vector<uint8_t> only2(11, 0), only8(11, 0), long15(15, 1), short5(5, 1);
  only2[2] = 1;
  only8[8] = 1;
  struct {
    uint8_t cSource;
    int16_t sParent;
    const std::vector<uint8_t>& flags;
    uint8_t eSource;
    int16_t eParent;
    const char* eName;
    int16_t eGraphic;
    int32_t eSpecialParam;
  } const rows[] = {
      {1, 0, all, 1, 0, "child", 1, 8},       // no parent index: nothing copied
      {2, 5, all, 0, 0, "child", 1, 8},       // past the stage palette
      {1, -1, all, 0, 0, "child", 1, 8},      // negative counts as past the end
      {1, 2, only2, 1, 2, "child", 7, 8},     // the graphic group alone
      {1, 2, only8, 1, 2, "child", 1, 99},    // special kind and parameter together
      {2, 1, only2, 2, 1, "child", 55, 8},    // from the stage palette
      {3, 2, all, 3, 2, "child", 1, 8},       // unknown source: its own parent
      {1, 2, long15, 1, 2, "parent", 7, 99},  // surplus flags have no operation
      {1, 2, short5, 1, 2, "parent", 7, 8},   // groups past the flags stay
  };
  for (const auto& row : rows) {
    cEdBlock src = Child(row.cSource, row.sParent);
    cByteBuilder b = RawEntryFile(src, 783);
    cEdBlock block;
    ASSERT_EQ(LoadEntry(block, HeadTail(b, row.flags)), 1);
    EXPECT_EQ(block.m_cInheritSrc, row.eSource) << int(row.cSource) << "/" << row.sParent;
    EXPECT_EQ(block.m_sParent, row.eParent) << int(row.cSource) << "/" << row.sParent;
    EXPECT_EQ(block.m_strName, row.eName) << int(row.cSource) << "/" << row.sParent;
    EXPECT_EQ(block.m_sGraphic, row.eGraphic) << int(row.cSource) << "/" << row.sParent;
    EXPECT_EQ(block.m_nSpecialParam, row.eSpecialParam) << int(row.cSource) << "/" << row.sParent;
    EXPECT_EQ(std::vector<uint8_t>(block.m_vecInherit.begin(), block.m_vecInherit.end()),
              row.flags);  // flags are written back as they came
  }
}

TEST_F(Inheritance, RereadGivesTheSameValuesWhileTheParentStands) {
  std::vector<uint8_t> flags(11, 0);
  flags[2] = flags[8] = 1;
  cEdBlock src = Child(1, 2);
  cByteBuilder b = RawEntryFile(src, 783);
  cEdBlock block;
  ASSERT_EQ(LoadEntry(block, HeadTail(b, flags)), 1);
  const std::vector<uint8_t> first = block.SaveToBytes();
  cEdBlock again;
  ASSERT_EQ(again.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(again.SaveToBytes(), first);
  EXPECT_EQ(again.m_sGraphic, 7);
}

TEST_F(Inheritance, CharacterFlowGroup) {
  CommonPalette.m_vecChara.resize(3);
  CommonPalette.m_vecChara[2].m_vecFlows.resize(2);
  CommonPalette.m_vecChara[2].m_vecFlows[0].m_cTrigger = 7;
  CommonPalette.m_vecChara[2].m_vecFlows[1].m_cId = 4;
  std::vector<uint8_t> flows(37, 0);
  flows[cEdChara::FLOW_GROUP] = 1;
  struct {
    uint8_t cSource;
    int16_t sParent;
    size_t eFlows;
  } const rows[] = {
      {1, 2, 2},  // the parent's flows
      {1, 1, 0},  // a parent without flows: the default flow it gives is empty, and dropped
      {3, 1, 1},  // its own parent: its own flow stays
  };
  for (const auto& row : rows) {
    cEdChara src;
    src.m_cInheritSrc = row.cSource;
    src.m_sParent = row.sParent;
    cByteBuilder b = RawEntryFile(src, 783);
    HeadTail(b, flows, true);
    // One flow of its own, which the flow group replaces.
    cFlow own;
    own.m_cTrigger = 3;
    cDataWriter w;
    own.Write(w);
    b.Count(1).Append(w.Data());
    cEdChara chara;
    ASSERT_EQ(LoadEntry(chara, b), 1);
    EXPECT_EQ(chara.m_vecFlows.size(), row.eFlows) << int(row.cSource) << "/" << row.sParent;
    if (row.eFlows == 2) {
      EXPECT_EQ(chara.m_vecFlows[0].m_cTrigger, 7);
      // A deep copy: the parent's flows are its own.
      chara.m_vecFlows[0].m_cTrigger = 1;
      EXPECT_EQ(CommonPalette.m_vecChara[2].m_vecFlows[0].m_cTrigger, 7);
    }
  }
}

TEST_F(Inheritance, ItemPickupCommandsAndStatusGroups) {
  CommonPalette.m_vecItem.resize(2);
  cEdItem& parent = CommonPalette.m_vecItem[1];
  parent.m_vecCmds.resize(1);
  parent.m_vecCmds[0].m_cCmdSet = 1;
  parent.m_vecCmds[0].m_cKind = 4;
  NewEdShot(parent.m_vecCmds[0].m_pShot);
  parent.m_cPickRule = 2;
  parent.m_cPopup = 0;
  std::vector<uint8_t> flags(13, 0);
  flags[9] = flags[12] = 1;
  cEdItem src;
  src.m_cInheritSrc = 1;
  src.m_sParent = 1;
  cByteBuilder b = RawEntryFile(src, 783);
  cEdItem item;
  ASSERT_EQ(LoadEntry(item, HeadTail(b, flags).Count(0)), 1);
  EXPECT_EQ(item.m_cPickRule, 2);
  EXPECT_EQ(item.m_cPopup, 1);  // group 10 not flagged
  ASSERT_EQ(item.m_vecCmds.size(), 1u);
  EXPECT_EQ(item.m_vecCmds[0].m_cKind, 4);
  EXPECT_NE(item.m_vecCmds[0].m_pShot.get(), parent.m_vecCmds[0].m_pShot.get());
  EXPECT_EQ(item.m_vecCmds[0].m_vecParams.size(), 18u);  // fitted as a message command
}

TEST_F(Inheritance, ValidateDropsParentsThatAreNotThere) {
  cEdBlock block = Child(2, 3);  // the stage palette holds 3 blocks
  block.Validate();
  EXPECT_EQ(block.m_cInheritSrc, 0);
  EXPECT_EQ(block.m_sParent, 0);
  cEdBlock valid = Child(1, 2);
  valid.Validate();
  EXPECT_EQ(valid.m_cInheritSrc, 1);
  cEdBlock odd = Child(7, 40);
  odd.Validate();
  EXPECT_EQ(odd.m_cInheritSrc, 7);
  EXPECT_EQ(odd.m_sParent, 40);
}

}  // namespace
