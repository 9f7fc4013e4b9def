// Animations and animation sets: defaults, the settings that arrived at 55,
// and the reshaping of old sets to exactly the four basic animations.
#include "database/anime_set.h"

#include <gtest/gtest.h>

#include "database_test_support.h"

namespace {

void AddFrame(cByteBuilder& b, int32_t nCell, int32_t nTime, int32_t nLock) {
  b.Count(3).I32(nCell).I32(nTime).I32(nLock).Count(0);
}

// An animation body of the given version: settings from 55 on, its name and
// one frame.
void AddAnime(cByteBuilder& b, int32_t nVersion, const std::string& strName) {
  if (nVersion >= 55)
    b.Count(3).I16(0x1234).U8(0xA5).I16(-0x2345);
  else
    b.Count(0);
  b.Count(1).Str(strName).Count(1);
  AddFrame(b, 0x0C0D, 7, 1);
}

TEST(EdAnime, NewAnimationHasOneDefaultFrame) {
  cEdAnime anime;
  ASSERT_EQ(anime.m_vecFrame.size(), 1u);
  EXPECT_EQ(anime.m_vecFrame[0].m_nCell, 0);
  EXPECT_EQ(anime.m_vecFrame[0].m_nTime, 1);
  EXPECT_EQ(anime.m_vecFrame[0].m_nLock, 0);
  EXPECT_EQ(anime.m_bySetting, 1);

  anime.m_vecFrame[0].m_nCell = 9;
  anime.m_vecFrame.resize(3);
  anime.m_strName = "x";
  anime.Reset();
  ASSERT_EQ(anime.m_vecFrame.size(), 1u);
  EXPECT_EQ(anime.m_vecFrame[0].m_nCell, 9);  // the first frame survives a reset
  EXPECT_EQ(anime.m_strName, "");
}

TEST(EdAnime, SettingsArriveAtVersion55) {
  struct {
    int32_t nVersion;
    int16_t wSetting1;
    uint8_t bySetting;
    int16_t wSetting2;
  } cases[] = {{54, 0, 1, 0}, {55, 0x1234, 0xA5, -0x2345}, {783, 0x1234, 0xA5, -0x2345}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nVersion);
    cByteBuilder b = cByteBuilder::File(c.nVersion);
    AddAnime(b, c.nVersion, "punch");
    cEdAnime anime;
    ASSERT_EQ(ReadRecordFrom(anime, b), 1);
    EXPECT_EQ(anime.m_strName, "punch");
    EXPECT_EQ(anime.m_wSetting1, c.wSetting1);
    EXPECT_EQ(anime.m_bySetting, c.bySetting);
    EXPECT_EQ(anime.m_wSetting2, c.wSetting2);
    ASSERT_EQ(anime.m_vecFrame.size(), 1u);
    EXPECT_EQ(anime.m_vecFrame[0].m_nCell, 0x0C0D);
    EXPECT_EQ(anime.m_vecFrame[0].m_nTime, 7);
    EXPECT_EQ(anime.m_vecFrame[0].m_nLock, 1);
  }
}

TEST(EdAnimeSet, DefaultSetHoldsTheFourBasicAnimations) {
  cEdAnimeSet set;
  EXPECT_EQ(set.m_nInvincibleCellOffset, 4);
  EXPECT_EQ(set.m_nBlockCellOffset, 8);
  EXPECT_EQ(set.m_nFlyCellOffset, 0);
  const char* names[] = {"立ち", "立ち移動", "飛行", "飛行移動"};
  ASSERT_EQ(set.m_vecAnime.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(set.m_vecAnime[i].m_strName, names[i]);

  set.m_vecAnime.resize(7);
  set.m_vecAnime[0].m_strName = "renamed";
  set.m_nFlyCellOffset = 3;
  set.SetDefault();
  ASSERT_EQ(set.m_vecAnime.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(set.m_vecAnime[i].m_strName, names[i]);
  EXPECT_EQ(set.m_nFlyCellOffset, 0);
}

TEST(EdAnimeSet, OldSetsAreReshapedToFourAnimations) {
  struct {
    int32_t nVersion;
    int nStored;
    int nExpected;
    const char* szName2;  // name of animation 2 after the read
    const char* szName3;
    int32_t nFlyOffset;  // 77 = the value the set held before the read
  } cases[] = {
      {118, 2, 4, "飛行", "飛行移動", 77}, {119, 2, 4, "飛行", "飛行移動", 0x0E0F},
      {118, 6, 4, "飛行", "飛行移動", 77}, {127, 6, 4, "飛行", "飛行移動", 0x0E0F},
      {128, 6, 6, "a2", "a3", 0x0E0F},     {128, 2, 2, nullptr, nullptr, 0x0E0F},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.nVersion << ", " << c.nStored);
    cByteBuilder b = cByteBuilder::File(c.nVersion);
    if (c.nVersion >= 119)
      b.Count(3).I32(0x0A0B).I32(0x0C0D).I32(0x0E0F);
    else
      b.Count(2).I32(0x0A0B).I32(0x0C0D);
    b.Count(1).Str("hero").Count(c.nStored);
    for (int i = 0; i < c.nStored; ++i) AddAnime(b, c.nVersion, "a" + std::to_string(i));

    cEdAnimeSet set;
    set.m_nFlyCellOffset = 77;
    ASSERT_EQ(ReadRecordFrom(set, b), 1);
    EXPECT_EQ(set.m_strName, "hero");
    EXPECT_EQ(set.m_nInvincibleCellOffset, 0x0A0B);
    EXPECT_EQ(set.m_nBlockCellOffset, 0x0C0D);
    EXPECT_EQ(set.m_nFlyCellOffset, c.nFlyOffset);
    ASSERT_EQ(set.m_vecAnime.size(), static_cast<size_t>(c.nExpected));
    EXPECT_EQ(set.m_vecAnime[0].m_strName, "a0");
    EXPECT_EQ(set.m_vecAnime[1].m_strName, "a1");
    if (c.szName2) {
      EXPECT_EQ(set.m_vecAnime[2].m_strName, c.szName2);
      EXPECT_EQ(set.m_vecAnime[3].m_strName, c.szName3);
    }
    if (c.nStored < c.nExpected) {
      // The appended animations are fresh: one default frame.
      ASSERT_EQ(set.m_vecAnime[3].m_vecFrame.size(), 1u);
      EXPECT_EQ(set.m_vecAnime[3].m_vecFrame[0].m_nTime, 1);
    }
  }
}

}  // namespace
