// Loading the common palette: entry 0 forced to the none entry, inherit flags
// cleared, lists padded to two and every entry validated; and hostile files.
#include <gtest/gtest.h>

#include <filesystem>

#include "flow/record_fuzz.h"
#include "palette/palette_test_support.h"
#include "support/temp_folder.h"

namespace {

using CommonPaletteLoad = cPaletteFixture;

std::vector<uint8_t> Body(cRecord& rec) {
  cDataWriter w;
  rec.Write(w);
  return w.Data();
}

TEST_F(CommonPaletteLoad, NormalisesListsAndTheNoneEntries) {
  CommonPalette.m_vecItem.resize(2);  // so that writing the test file keeps item 3's parent
  cEdChara chara0;
  chara0.m_strName = "hero";
  chara0.m_nMaxHP = 50;
  chara0.m_cOperator = 0;
  chara0.m_vecConds.resize(1);
  cEdItem item;
  item.m_strName = "coin";
  item.m_cLayer = 2;
  std::vector<cEdItem> items(5, item);
  items[3].m_cInheritSrc = 1;
  items[3].m_sParent = 1;
  items[3].m_vecInherit.assign(13, 0);
  items[3].m_vecInherit[2] = 1;

  cByteBuilder b = cByteBuilder::File(783).Count(0).Count(0);
  b.Count(0);                       // no blocks
  b.Count(1).Append(Body(chara0));  // one character
  b.Count(5);
  for (cEdItem& e : items) b.Append(Body(e));
  ASSERT_EQ(CommonPalette.LoadFromBytes(b.Bytes().data(), b.Size()), 1);

  ASSERT_EQ(CommonPalette.m_vecBlock.size(), 2u);
  ASSERT_EQ(CommonPalette.m_vecChara.size(), 2u);
  ASSERT_EQ(CommonPalette.m_vecItem.size(), 5u);
  const cEdChara& none = CommonPalette.m_vecChara[0];
  EXPECT_EQ(none.m_strName, "");
  EXPECT_EQ(none.m_nMaxHP, 10);
  EXPECT_EQ(none.m_cOperator, 1);
  EXPECT_EQ(none.m_vecConds.size(), 1u);  // its lists stay as read
  EXPECT_EQ(CommonPalette.m_vecItem[0].m_strName, "");
  EXPECT_EQ(CommonPalette.m_vecItem[0].m_cLayer, 6);
  EXPECT_EQ(CommonPalette.m_vecItem[1].m_strName, "coin");
  // It named a parent and took from it while being read; now it keeps its
  // source but never inherits again.
  EXPECT_EQ(CommonPalette.m_vecItem[3].m_cInheritSrc, 1);
  EXPECT_EQ(CommonPalette.m_vecItem[3].m_vecInherit, cSafeVector<uint8_t>(13, 0));
  // Header and counts; two new blocks; the none character with its one
  // condition (36 bytes) and a new one; the none item and four named "coin".
  EXPECT_EQ(CommonPalette.SaveToBytes().size(),
            4u + 8 + 12 + 2 * 61 + (151 + 36) + 151 + 65 + 4 * (65 + 5));
}

TEST_F(CommonPaletteLoad, ForwardReferenceFindsTheDefaultEntry) {
  cEdBlock child;
  child.m_cInheritSrc = 1;
  child.m_sParent = 2;
  child.m_sGraphic = 5;
  child.m_vecInherit[2] = 1;
  cEdBlock later;
  later.m_sGraphic = 9;
  cByteBuilder b = cByteBuilder::File(783).Count(0).Count(0).Count(3);
  cEdBlock none;
  b.Append(Body(none));
  // Written raw: a write would not change these, but the read must see them.
  cByteBuilder raw = RawEntryFile(child, 783);
  std::vector<uint8_t> childBody(raw.Bytes().begin() + 4, raw.Bytes().end());
  b.Append(childBody);
  HeadTail(b, std::vector<uint8_t>(child.m_vecInherit.begin(), child.m_vecInherit.end()));
  b.Append(Body(later));
  b.Count(0).Count(0);
  ASSERT_EQ(CommonPalette.LoadFromBytes(b.Bytes().data(), b.Size()), 1);
  EXPECT_EQ(CommonPalette.m_vecBlock[1].m_sGraphic, 0);  // block 2 was still a new block
  EXPECT_EQ(CommonPalette.m_vecBlock[2].m_sGraphic, 9);
}

TEST_F(CommonPaletteLoad, StartupLoadReportsFailure) {
  cTempFolder dir;
  ASSERT_FALSE(dir.Path().empty());
  EXPECT_EQ(LoadCommonPalette(dir / "missing.cplt4"), 0);
  EXPECT_EQ(CommonPalette.m_vecBlock.size(), 1u);  // its constructed contents
  const std::vector<uint8_t> file = cCommonPalette().SaveToBytes();
  WriteTestFile(dir / "CommonPalette.cplt4", file);
  EXPECT_EQ(LoadCommonPalette(dir / "CommonPalette.cplt4"), 1);
  EXPECT_EQ(CommonPalette.m_vecItem.size(), 2u);

  // Start-up reads the project's own file, relative to the game's folder.
  cCurrentFolder cwd(dir.Path());
  EXPECT_FALSE(LoadCommonPaletteAtStartUp());
  ASSERT_TRUE(std::filesystem::create_directory(dir / "data"));
  WriteTestFile(dir / "data/CommonPalette.cplt4", file);
  EXPECT_TRUE(LoadCommonPaletteAtStartUp());
}

// A palette with one entry of each kind that carries every sort of tail.
std::vector<uint8_t> RichPaletteFile() {
  cCommonPalette palette;
  palette.m_vecBlock[0].m_vecConds.resize(1);
  palette.m_vecChara[0].m_vecFlows.resize(1);
  cFlow& flow = palette.m_vecChara[0].m_vecFlows[0];
  flow.m_cTrigger = 1;
  flow.m_vecKeys.resize(1);
  flow.m_vecCmds.resize(1);
  NewEdShot(flow.m_vecCmds[0].m_pShot);
  NewEdMove(flow.m_vecCmds[0].m_pMove);
  NewCondList(flow.m_vecCmds[0].m_pCondList);
  flow.m_vecCmds[0].m_vecFlows.resize(1);
  palette.m_vecItem[0].m_vecCmds.resize(1);
  palette.m_vecItem[0].m_vecCmds[0].m_cCmdSet = 1;
  palette.m_vecItem[0].m_vecCmds[0].m_cKind = 4;
  return palette.SaveToBytes();
}

TEST_F(CommonPaletteLoad, HostileFilesFailWithoutHarm) {
  const std::vector<uint8_t> file = RichPaletteFile();
  ExpectTruncationFails<cCommonPalette>(file);
  ExpectHugeCountsSurvive<cCommonPalette>(file);
  cCommonPalette back;
  EXPECT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), file);
}

}  // namespace

namespace {

TEST_F(CommonPaletteLoad, DeepNestingInsideEntriesFails) {
  for (int nLevels : {5, 200}) {
    cEdChara src;
    cByteBuilder chara = RawEntryFile(src, 783);
    HeadTail(chara, std::vector<uint8_t>(37, 0), true).Count(1);
    AppendDeepFlow(chara, nLevels);
    cEdChara c;
    EXPECT_EQ(LoadEntry(c, chara), nLevels < 20 ? 1 : 0) << nLevels;

    // An item's pickup command holding the nested flows.
    cEdItem srcItem;
    cByteBuilder item = RawEntryFile(srcItem, 783);
    HeadTail(item, std::vector<uint8_t>(13, 0)).Count(1);
    item.Count(8).U8(1).U8(2).Zeros(10).Count(1).Str("").U32(0).U32(0).U32(0).Count(1);
    AppendDeepFlow(item, nLevels);
    item.Count(0);
    cEdItem i;
    EXPECT_EQ(LoadEntry(i, item), nLevels < 20 ? 1 : 0) << nLevels;
  }
}

}  // namespace
