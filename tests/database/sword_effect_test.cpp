// Sword types and effects: defaults, the flips that arrived at 138 and the
// extra value kept only from 153 on.
#include "database/sword_effect.h"

#include <gtest/gtest.h>

#include "database_test_support.h"

namespace {

TEST(EdSwordType, DefaultsAndOldFramesWithoutFlips) {
  cEdSwordType def;
  ASSERT_EQ(def.m_vecFrame.size(), 1u);
  EXPECT_EQ(def.m_vecFrame[0].m_bFlipX, 1);
  EXPECT_EQ(def.m_vecFrame[0].m_nTime, 1);
  EXPECT_EQ(def.m_vecFrame[0].m_nPlace, 0);

  for (int32_t nVersion : {137, 138}) {
    SCOPED_TRACE(nVersion);
    cByteBuilder b = cByteBuilder::File(nVersion);
    b.Count(0).Count(3).Str("blade").Str("r.bmp").Str("l.bmp").Count(2);
    for (int k = 0; k < 2; ++k) {
      if (nVersion >= 138) {
        b.Count(10).I32(-11).I32(12).I32(0).I32(1);
      } else {
        b.Count(8).I32(-11).I32(12);
      }
      b.I32(3).I32(0x0404).I32(0x0505).I32(0x0606).I32(0x0707).I32(8 + k).Count(0);
    }
    cEdSwordType sword;
    ASSERT_EQ(ReadRecordFrom(sword, b), 1);
    EXPECT_EQ(sword.m_strName, "blade");
    EXPECT_EQ(sword.m_strFileRight, "r.bmp");
    EXPECT_EQ(sword.m_strFileLeft, "l.bmp");
    ASSERT_EQ(sword.m_vecFrame.size(), 2u);
    for (int k = 0; k < 2; ++k) {
      const cEdSwordFrame& f = sword.m_vecFrame[k];
      EXPECT_EQ(f.m_nOffsetX, -11);
      EXPECT_EQ(f.m_nOffsetY, 12);
      EXPECT_EQ(f.m_bFlipX, nVersion >= 138 ? 0 : 1);
      EXPECT_EQ(f.m_bFlipY, nVersion >= 138 ? 1 : 0);
      EXPECT_EQ(f.m_nPlace, 3);
      EXPECT_EQ(f.m_nSrcX, 0x0404);
      EXPECT_EQ(f.m_nSrcY, 0x0505);
      EXPECT_EQ(f.m_nWidth, 0x0606);
      EXPECT_EQ(f.m_nHeight, 0x0707);
      EXPECT_EQ(f.m_nTime, 8 + k);
    }
  }
}

TEST(EdSwordType, NoFramesStaysEmpty) {
  Bytes file = cByteBuilder::File(783).Count(1).I32(0).Count(3).Str("").Str("").Str("").Count(0);
  cEdSwordType sword;
  ASSERT_EQ(ReadRecordFrom(sword, file), 1);
  EXPECT_TRUE(sword.m_vecFrame.empty());
  EXPECT_EQ(sword.SaveToBytes(), file);
}

// Sword types and effects store the extra value from 151 on but take it as
// stored only from 153 on.
TEST(EdSwordTypeAndEffect, ExtraValueKeptFrom153) {
  struct {
    int32_t nVersion;
    int32_t nExpected;
  } cases[] = {{150, 0}, {151, 0}, {152, 0}, {153, 5}, {783, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nVersion);
    const bool bStored = c.nVersion >= 151;

    cByteBuilder sb = cByteBuilder::File(c.nVersion);
    if (bStored)
      sb.Count(1).I32(5);
    else
      sb.Count(0);
    sb.Count(3).Str("s").Str("").Str("").Count(0);
    cEdSwordType sword;
    sword.m_nExtra = 99;
    ASSERT_EQ(ReadRecordFrom(sword, sb), 1);
    EXPECT_EQ(sword.m_nExtra, c.nExpected);
    EXPECT_EQ(sword.m_strName, "s");

    cByteBuilder eb = cByteBuilder::File(c.nVersion);
    if (bStored)
      eb.Count(4).I32(5);
    else
      eb.Count(3);
    eb.I32(0x10).I32(0x18).I32(1).Count(2).Str("e").Str("e.bmp").Count(1);
    eb.Count(2).I32(0x0A0B).I32(0x0C0D).Count(0);
    cEdEffect effect;
    effect.m_nExtra = 99;
    ASSERT_EQ(ReadRecordFrom(effect, eb), 1);
    EXPECT_EQ(effect.m_nExtra, c.nExpected);
    EXPECT_EQ(effect.m_nCellW, 0x10);
    EXPECT_EQ(effect.m_nCellH, 0x18);
    EXPECT_EQ(effect.m_bScale, 1);
    EXPECT_EQ(effect.m_strFile, "e.bmp");
    ASSERT_EQ(effect.m_vecFrame.size(), 1u);
    EXPECT_EQ(effect.m_vecFrame[0].m_nCell, 0x0A0B);
    EXPECT_EQ(effect.m_vecFrame[0].m_nTime, 0x0C0D);
  }
}

}  // namespace
