// Character and screen effects: one layout for every version, and the
// roughness repair of files up to 510.
#include "database/effect_defs.h"

#include <gtest/gtest.h>

#include <array>

#include "database_test_support.h"

namespace {

Bytes EffectDefFile(int32_t nVersion, int32_t nKind, const std::array<int32_t, 5>& an) {
  cByteBuilder b = cByteBuilder::File(nVersion);
  b.Count(2).I32(nKind);
  for (int32_t n : an) b.I32(n);
  b.Count(1).Str("fx");
  return b;
}

TEST(EdEffectDef, OldWaveAndCircleKindsGetTheirDefaultRoughness) {
  const std::array<int32_t, 5> stored = {11, 22, 33, 44, 0};
  struct {
    bool bScreen;
    int32_t nVersion;
    int32_t nKind;
    std::array<int32_t, 5> expected;
  } cases[] = {
      {false, 510, 4, {11, 22, 33, 44, 2}}, {false, 511, 4, {11, 22, 33, 44, 0}},
      {false, 300, 5, {11, 22, 33, 44, 2}}, {false, 510, 10, {11, 22, 33, 2, 0}},
      {false, 510, 6, {11, 22, 33, 44, 0}}, {true, 300, 6, {11, 22, 33, 44, 8}},
      {true, 300, 7, {11, 22, 33, 44, 10}}, {true, 510, 10, {11, 22, 33, 8, 0}},
      {true, 511, 7, {11, 22, 33, 44, 0}},  {true, 300, 8, {11, 22, 33, 44, 0}},
      {true, 300, 4, {11, 22, 33, 44, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.bScreen ? "screen" : "chara") << " v" << c.nVersion << " kind " << c.nKind);
    Bytes file = EffectDefFile(c.nVersion, c.nKind, stored);
    std::array<int32_t, 5> got{};
    if (c.bScreen) {
      cEdScrEffect def;
      ASSERT_EQ(ReadRecordFrom(def, file), 1);
      EXPECT_EQ(def.m_nKind, c.nKind);
      EXPECT_EQ(def.m_strName, "fx");
      std::copy(std::begin(def.m_anParam), std::end(def.m_anParam), got.begin());
    } else {
      cEdCharaEffect def;
      ASSERT_EQ(ReadRecordFrom(def, file), 1);
      EXPECT_EQ(def.m_nKind, c.nKind);
      std::copy(std::begin(def.m_anParam), std::end(def.m_anParam), got.begin());
    }
    EXPECT_EQ(got, c.expected);
  }
}

TEST(EdEffectDef, ParametersOutsideTheirRangesAreKept) {
  Bytes file = EffectDefFile(783, 13, {-5, 99999, -99999, 7, 0x7FFFFFFF});
  cEdCharaEffect def;
  ASSERT_EQ(ReadRecordFrom(def, file), 1);
  EXPECT_EQ(def.m_anParam[1], 99999);
  EXPECT_EQ(def.m_anParam[4], 0x7FFFFFFF);
  EXPECT_EQ(def.SaveToBytes(), file);
}

}  // namespace
