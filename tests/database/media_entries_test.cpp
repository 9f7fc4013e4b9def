// Pictures, music, sounds and bitmap sets: the extra value (stored from 151,
// from 152 for bitmap sets, kept only from 153) and the frame fields of 172.
#include "database/media_entries.h"

#include <gtest/gtest.h>

#include "database_test_support.h"

namespace {

struct cMediaValues {
  std::string strName, strFile;
  int32_t nExtra, bWide, nUnits;
};

template <typename T>
cMediaValues ReadMedia(const Bytes& file) {
  T rec;
  rec.m_nExtra = 99;
  EXPECT_EQ(ReadRecordFrom(rec, file), 1);
  cMediaValues v{rec.m_strName, rec.m_strFile, rec.m_nExtra, -1, -1};
  if constexpr (std::is_same_v<T, cEdBmpCharaExc>) {
    v.bWide = rec.m_bWideFrame;
    v.nUnits = rec.m_nFrameUnits;
  }
  return v;
}

TEST(EdMedia, ExtraValueAndFrameFieldsByVersion) {
  enum { PICTURE, BGM, SOUND, BMPSET };
  struct {
    int nClass;
    int32_t nVersion;
    int nStoredFields;  // numeric fields in the body
    int32_t nExtra, bWide, nUnits;
  } cases[] = {
      {PICTURE, 150, 0, 0, -1, -1},    {PICTURE, 151, 1, 0, -1, -1},
      {PICTURE, 152, 1, 0, -1, -1},    {PICTURE, 153, 1, 0x0A0B, -1, -1},
      {BGM, 150, 0, 0, -1, -1},        {BGM, 153, 1, 0x0A0B, -1, -1},
      {SOUND, 150, 0, 0, -1, -1},      {SOUND, 151, 1, 0, -1, -1},
      {SOUND, 153, 1, 0x0A0B, -1, -1}, {BMPSET, 151, 0, 0, 0, 2},
      {BMPSET, 152, 1, 0, 0, 2},       {BMPSET, 171, 1, 0x0A0B, 0, 2},
      {BMPSET, 172, 3, 0x0A0B, 1, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "class " << c.nClass << " v" << c.nVersion);
    cByteBuilder b = cByteBuilder::File(c.nVersion);
    b.Count(c.nStoredFields);
    if (c.nStoredFields >= 1) b.I32(0x0A0B);
    if (c.nStoredFields >= 3) b.I32(1).I32(5);
    // Strings: the name, then the file, for every class.
    b.Count(2).Str("名前").Str("dir\\file.bmp");
    cMediaValues v;
    switch (c.nClass) {
      case PICTURE:
        v = ReadMedia<cEdPicture>(b);
        break;
      case BGM:
        v = ReadMedia<cEdBgm>(b);
        break;
      case SOUND:
        v = ReadMedia<cEdSound>(b);
        break;
      default:
        v = ReadMedia<cEdBmpCharaExc>(b);
        break;
    }
    EXPECT_EQ(v.strName, "名前");
    EXPECT_EQ(v.strFile, "dir\\file.bmp");
    EXPECT_EQ(v.nExtra, c.nExtra);
    EXPECT_EQ(v.bWide, c.bWide);
    EXPECT_EQ(v.nUnits, c.nUnits);
  }
}

TEST(EdMedia, OldSoundIsWrittenBackInTheCurrentLayout) {
  cEdSound sound;
  ASSERT_EQ(ReadRecordFrom(sound, cByteBuilder::File(150).Count(0).Count(2).Str("se").Str("a.wav")),
            1);
  EXPECT_EQ(sound.SaveToBytes(),
            Bytes(cByteBuilder::File(783).Count(1).I32(0).Count(2).Str("se").Str("a.wav")));
}

}  // namespace
