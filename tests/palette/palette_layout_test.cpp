// Stored layouts of the palette entries at every format gate, the default
// bodies, and the common palette file.
#include <gtest/gtest.h>

#include "palette/common_palette.h"
#include "support/byte_builder.h"

namespace {

TEST(PaletteLayout, FieldsAndBytesAtEveryGate) {
  struct {
    const char* szClass;
    int32_t nVersion;
    size_t nFields;
    int nBytes;
  } const rows[] = {
      {"block", 1, 18, 26},   {"block", 783, 18, 26}, {"chara", 167, 47, 73},
      {"chara", 168, 48, 77}, {"chara", 195, 48, 77}, {"chara", 196, 50, 79},
      {"chara", 200, 50, 79}, {"chara", 201, 51, 80}, {"chara", 209, 51, 80},
      {"chara", 210, 52, 81}, {"chara", 284, 52, 81}, {"chara", 285, 53, 82},
      {"chara", 783, 53, 82}, {"item", 1, 17, 24},    {"item", 783, 17, 24},
  };
  cEdBlock block;
  cEdChara chara;
  cEdItem item;
  for (const auto& row : rows) {
    const std::string s = row.szClass;
    cRecord& rec = s == "block"   ? static_cast<cRecord&>(block)
                   : s == "chara" ? static_cast<cRecord&>(chara)
                                  : static_cast<cRecord&>(item);
    FIELDTABLE t = rec.GetFieldTable(row.nVersion);
    EXPECT_EQ(t.vFields.size(), row.nFields) << row.szClass << " " << row.nVersion;
    EXPECT_EQ(t.NumericBytes(), row.nBytes) << row.szClass << " " << row.nVersion;
    EXPECT_EQ(t.vStrings.size(), 1u);
  }
}

std::vector<uint8_t> BodyOf(cRecord& rec) {
  cDataWriter w;
  rec.Write(w);
  return w.Data();
}

TEST(PaletteLayout, NewEntriesAndTheirBodies) {
  cEdBlock block;
  EXPECT_EQ(block.m_cHitType, 1);
  EXPECT_EQ(block.m_cExempt, 255);
  EXPECT_EQ(block.m_vecInherit, cSafeVector<uint8_t>(11, 0));
  block.Validate();  // no picture: no hit
  EXPECT_EQ(block.m_cHitType, 0);
  EXPECT_EQ(BodyOf(block).size(), 61u);

  cEdChara chara;
  EXPECT_EQ(chara.m_cOperator, 1);
  EXPECT_EQ(chara.m_cFaction, 1);
  EXPECT_EQ(chara.m_cLayer, 3);
  EXPECT_EQ(chara.m_nMaxHP, 10);
  EXPECT_EQ(chara.m_sStopEase, 10);
  EXPECT_EQ(chara.m_cGiant, 1);
  EXPECT_EQ(chara.m_cFixedDir, 1);
  EXPECT_EQ(chara.m_cGraphicKind, 1);
  EXPECT_EQ(chara.m_cAppearSetting, 1);
  EXPECT_EQ(chara.m_cSettingD, 1);
  EXPECT_EQ(chara.m_vecInherit.size(), 37u);
  EXPECT_TRUE(chara.m_vecFlows.empty());
  EXPECT_EQ(BodyOf(chara).size(), 151u);

  cEdItem item;
  EXPECT_EQ(item.m_cGraphicKind, 2);
  EXPECT_EQ(item.m_cPopup, 1);
  EXPECT_EQ(item.m_cGiant, 1);
  EXPECT_EQ(item.m_cLayer, 6);
  EXPECT_EQ(item.m_vecInherit.size(), 13u);
  EXPECT_EQ(BodyOf(item).size(), 65u);
}

TEST(PaletteLayout, ItemStoresPopupBeforePickRule) {
  cEdItem item;
  item.m_cPopup = 0;
  item.m_cPickRule = 2;
  const std::vector<uint8_t> body = BodyOf(item);
  // count, source 1, parent 2, mode, latch, words A B, graphic 2, kind,
  // cell 2, layer, hidden, mark shown, mark 2: the pop-up flag at 4 + 19.
  EXPECT_EQ(body[4 + 19], 0);
  EXPECT_EQ(body[4 + 20], 2);
}

TEST(PaletteLayout, DefaultCommonPaletteFile) {
  cCommonPalette palette;
  const std::vector<uint8_t> file = palette.SaveToBytes();
  ASSERT_EQ(file.size(), 578u);
  const std::vector<uint8_t> head = cByteBuilder::File(783).Count(0).Count(0).Count(2).Bytes();
  EXPECT_TRUE(std::equal(head.begin(), head.end(), file.begin()));
  // After the two blocks, two characters; after them, two items.
  EXPECT_EQ(file[16 + 2 * 61], 2);
  EXPECT_EQ(file[16 + 2 * 61 + 4 + 2 * 151], 2);
  EXPECT_EQ(palette.m_vecBlock.size(), 2u);
}

}  // namespace
