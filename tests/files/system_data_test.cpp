// The system data: its layout at every version gate, the upgrade chain of
// old files, the key table, and damaged files.
#include "files/system_data.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "draw/blit.h"
#include "draw/font_tables.h"
#include "records/database_refs.h"
#include "support/box_glyphs.h"
#include "support/byte_builder.h"
#include "support/draw_setup.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Every numeric member of a hand-built file holds this pattern, so a member
// the file holds is told apart from one the upgrade set.
constexpr uint8_t kFillByte = 0x02;
constexpr int32_t kFill = 0x02020202;

// A System.dat of an old version: the numeric block holds the fill pattern
// in the widths that version stores, the lists are the ones it has.
struct cOldLists {
  Bytes carry = Bytes(25, 0);
  std::vector<std::string> texts;
  std::vector<cCmd> mapMenu;
  std::vector<cIniKey> keys;
  int nStatusFields = 3;
};

Bytes OldSystemFile(uint32_t v, const cOldLists& lists) {
  cSystemData layout;
  FIELDTABLE t = layout.GetFieldTable(static_cast<int32_t>(v));
  cByteBuilder b = cByteBuilder::File(v);
  b.Count(static_cast<uint32_t>(t.vFields.size()));
  for (int i = 0; i < t.NumericBytes(); ++i) b.U8(kFillByte);
  b.Count(1).Str("Old Title");
  b.Count(static_cast<uint32_t>(lists.carry.size())).Append(lists.carry);
  if (v >= 501) b.Count(25).Zeros(25);
  b.Count(5);
  for (int i = 0; i < 5; ++i) {
    b.Count(static_cast<uint32_t>(lists.nStatusFields)).I32(1).I32(0).I32(i);
    for (int k = 3; k < lists.nStatusFields; ++k) b.I32(0);
    b.Count(1).Str("S");
  }
  b.Count(4).I32(3).I32(3).I32(3).I32(50);
  if (v >= 191) b.Count(4).I32(0).I32(0).I32(0).I32(1);
  if (v >= 186) {
    b.Count(4);
    for (int i = 0; i < 4; ++i) b.Count(1).I32(1).Count(0).Count(5).Raw("\1\1\1\1\1", 5);
  }
  b.Count(static_cast<uint32_t>(lists.texts.size()));
  for (const std::string& s : lists.texts) b.Str(s);
  b.Count(17);
  for (int i = 0; i < 17; ++i) b.Str("");
  b.Count(4).I32(0).I32(1).I32(2).I32(3);
  if (v >= 202) b.Count(4).Raw("\0\1\0\1", 4);
  auto Menu = [&b](const std::vector<cCmd>& menu) {
    b.Count(static_cast<uint32_t>(menu.size()));
    for (const cCmd& c : menu) b.Count(1).I32(c.m_bEnable).Count(1).Str(c.m_strLabel);
  };
  Menu({cCmd(1, "T")});
  Menu(lists.mapMenu);
  Menu({cCmd(1, "O")});
  if (v >= 674) b.Count(4).Str("a").Str("b").Str("c").Str("d");
  b.Count(static_cast<uint32_t>(lists.keys.size()));
  for (const cIniKey& k : lists.keys)
    b.Count(2).I32(k.m_nKind).I32(k.m_nDefault).Count(2).Str(k.m_strName).Str(k.m_strDefault);
  return b.Bytes();
}

cIniKey Key(const char* szName, int32_t nDefault, int32_t nKind = 0) {
  cIniKey k;
  k.m_nKind = nKind;
  k.m_strName = szName;
  k.m_nDefault = nDefault;
  return k;
}

std::vector<std::string> Names(cSafeVector<cIniKey>& keys) {
  std::vector<std::string> v;
  for (cIniKey& k : keys) v.push_back(k.m_strName);
  return v;
}

TEST(SystemData, FieldLayoutAtEachGate) {
  struct Case {
    int32_t nVersion;
    size_t nFields;
    int nBytes;
  };
  const Case cases[] = {{112, 6, 24},   {113, 7, 28},   {166, 8, 32},   {167, 12, 48},
                        {186, 15, 60},  {187, 19, 67},  {220, 27, 99},  {221, 28, 103},
                        {259, 30, 111}, {260, 29, 107}, {261, 30, 111}, {669, 38, 143},
                        {670, 40, 151}, {782, 57, 219}, {783, 58, 223}};
  cSystemData sd;
  for (const Case& c : cases) {
    FIELDTABLE t = sd.GetFieldTable(c.nVersion);
    EXPECT_EQ(t.vFields.size(), c.nFields) << c.nVersion;
    EXPECT_EQ(t.NumericBytes(), c.nBytes) << c.nVersion;
    EXPECT_EQ(t.vStrings.size(), 1u);
  }
}

TEST(SystemData, StatusItemLayoutAtEachGate) {
  const std::pair<int32_t, size_t> cases[] = {{203, 3}, {204, 4}, {586, 4}, {587, 6}, {783, 6}};
  cStatusItem item;
  for (auto [nVersion, nFields] : cases) {
    FIELDTABLE t = item.GetFieldTable(nVersion);
    EXPECT_EQ(t.vFields.size(), nFields) << nVersion;
    EXPECT_EQ(t.NumericBytes(), static_cast<int>(nFields) * 4) << nVersion;
  }
  // Below 204 the number is always printed on the gauge.
  Bytes old = cByteBuilder::File(203).Count(3).I32(1).I32(0).I32(0x0304).Count(1).Str("HP");
  ASSERT_EQ(item.LoadFromBytes(old.data(), old.size()), 1);
  EXPECT_EQ(item.m_nDigits, 0x0304);
  EXPECT_EQ(item.m_bNumberOnGauge, 1);
  EXPECT_EQ(item.m_strLabel, "HP");
}

TEST(SystemData, DefaultsWriteReadWrite) {
  cSystemData sd;
  sd.m_strTitle = "Title";
  sd.m_vSceneBgm[2] = 3;
  Bytes first = sd.SaveToBytes();
  // Header, N = 58, the first members (extra life by score 0, score step 100).
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 16),
            cByteBuilder::File(783).Count(58).I32(0).I32(100).Bytes());
  cSystemData back;
  back.m_vTexts.clear();
  back.m_vIniKeys.clear();
  ASSERT_EQ(back.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(back.m_strTitle, "Title");
  EXPECT_EQ(back.m_vTexts.size(), 29u);
  EXPECT_EQ(back.m_vIniKeys.size(), 10u);
  EXPECT_EQ(back.m_vSceneBgm[2], 3);
  EXPECT_EQ(back.SaveToBytes(), first);
}

TEST(SystemData, Version166UpgradesToTheCurrentShape) {
  cSystemData defaults;
  cOldLists lists;
  lists.carry.clear();
  for (int i = 0; i < 22; ++i) lists.carry.push_back(static_cast<uint8_t>(0x40 + i));
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 17, 18, 19, 20, 21, 25, 26, 27, 28})
    lists.texts.push_back(defaults.m_vTexts[i]);
  lists.mapMenu = {cCmd(1, "セーブ"), cCmd(1, "もどる"), cCmd(1, "タイトルへ")};
  lists.keys = {Key("WindowMode", 1), Key("Bpp", 16), Key("VSync", 3), Key("ShowFps", 0),
                Key("FreeStage", 0, 1)};
  Bytes file = OldSystemFile(166, lists);

  cSystemData sd;
  ASSERT_EQ(sd.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(sd.m_strTitle, "Old Title");
  // Members the file does not hold take their old-project values.
  EXPECT_EQ(sd.m_bMapShowScore, 1);
  EXPECT_EQ(sd.m_bSelectShowTotal, 1);
  EXPECT_EQ(sd.m_bExtraLifeByScore, 1);
  EXPECT_EQ(sd.m_byKeyGreen, 177);
  EXPECT_EQ(sd.m_bStoryDefeatMenu, 0);
  EXPECT_EQ(sd.m_bPaletteCycle, 1);
  EXPECT_EQ(sd.m_bCompat637, 1);
  EXPECT_EQ(sd.m_bCompat783, 1);
  EXPECT_EQ(sd.m_nDDDepth, 2);

  Bytes carry(sd.m_vCarryFlags.begin(), sd.m_vCarryFlags.end());
  Bytes expectedCarry = {0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
                         0,    0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0,    0x4E, 0x4F,
                         1,    0x50, 0x51, 0x52, 0x53, 0x54, 0x55};
  EXPECT_EQ(carry, expectedCarry);
  EXPECT_EQ(sd.m_vTexts, defaults.m_vTexts);
  EXPECT_EQ(sd.m_vTexts[14], "オートセーブＯＮ");
  EXPECT_EQ(sd.m_vTexts[22], "マップへ戻る");
  ASSERT_EQ(sd.m_vMapMenu.size(), 4u);
  EXPECT_EQ(sd.m_vMapMenu[1].m_strLabel, "オートセーブ");
  EXPECT_EQ(sd.m_vMapMenu[3].m_strLabel, "タイトルへ");

  for (int i = 0; i < 5; ++i) EXPECT_EQ(sd.m_vStatusItems[i].m_bNumberOnGauge, 1) << i;
  EXPECT_EQ(sd.m_vStatusItems[2].m_nLimit, 33);
  EXPECT_EQ(sd.m_vStatusItems[3].m_bLimitPercent, 1);
  EXPECT_EQ(sd.m_vStatusItems[4].m_nLimit, 0);
  EXPECT_EQ(sd.m_vModeRanking[0].m_vCriteria, (cSafeVector<uint8_t>{1, 1, 1, 0, 0}));
  EXPECT_EQ(sd.m_vUnlimitedLives, (cSafeVector<int32_t>{0, 0, 0, 1}));
  EXPECT_EQ(sd.m_vSceneBgmLoop, (cSafeVector<uint8_t>{1, 1, 1, 1}));

  EXPECT_EQ(Names(sd.m_vIniKeys), Names(defaults.m_vIniKeys));
  EXPECT_EQ(sd.m_vIniKeys[0].m_nDefault, 1);  // old projects draw with Direct3D
  EXPECT_EQ(sd.m_vIniKeys[3].m_nDefault, 2);  // VSync 3 lowered
  EXPECT_EQ(sd.m_vIniKeys[2].m_nDefault, 16);
  EXPECT_EQ(sd.m_vIniKeys[5].m_nDefault, 1);  // DD_FontCache
  EXPECT_EQ(sd.m_vIniKeys[8].m_nKind, 1);
}

// Single switches whose old value depends on the exact version.
TEST(SystemData, VersionDependentSwitches) {
  struct Case {
    uint32_t nVersion;
    int32_t nCompat637;
    int32_t nVSync;  // the VSync key's default after reading 3
    int32_t nPauseMapStory;
    int32_t nLoopSlot0;
  };
  const Case cases[] = {
      {200, 1, 2, 0, 1},     {285, 1, 2, 0, 0},         {286, 1, 3, 0, 0},
      {566, 1, 3, 0, 0},     {567, 1, 3, 0, 0},         {616, 1, 3, 0, 0},
      {620, 0, 3, 0, 0},     {637, kFill, 3, 0, 0},     {671, kFill, 3, 0, 0},
      {756, kFill, 3, 0, 0}, {757, kFill, 3, kFill, 0}, {783, kFill, 3, kFill, 0}};
  cSystemData defaults;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nVersion);
    cOldLists lists;
    lists.texts.assign(defaults.m_vTexts.begin(), defaults.m_vTexts.end());
    lists.mapMenu.assign(defaults.m_vMapMenu.begin(), defaults.m_vMapMenu.end());
    // The key table as that version had it: the keys added later are missing.
    for (const cIniKey& k : defaults.m_vIniKeys) {
      const std::string& n = k.m_strName;
      if (c.nVersion < 286 && n == "Direct3D") continue;
      if (c.nVersion < 567 && n == "DD_VideoStretch") continue;
      if (c.nVersion < 568 && (n == "D3D_FontCache" || n == "DD_FontCache")) continue;
      if (c.nVersion < 672 && n == "English") continue;
      lists.keys.push_back(k);
      if (n == "VSync") lists.keys.back().m_nDefault = 3;
    }
    lists.nStatusFields = c.nVersion >= 587 ? 6 : (c.nVersion >= 204 ? 4 : 3);
    Bytes file = OldSystemFile(c.nVersion, lists);
    cSystemData sd;
    ASSERT_EQ(sd.LoadFromBytes(file.data(), file.size()), 1);
    EXPECT_EQ(sd.m_bCompat637, c.nCompat637);
    EXPECT_EQ(Names(sd.m_vIniKeys), Names(defaults.m_vIniKeys));
    EXPECT_EQ(sd.m_vIniKeys[3].m_nDefault, c.nVSync);
    EXPECT_EQ(sd.m_bPauseMapStory, c.nPauseMapStory);
    EXPECT_EQ(sd.m_vSceneBgmLoop[0], c.nLoopSlot0);
  }
}

class cBgmListOfThree : public cDbRefSource {
 public:
  uint32_t GetListSize(eDbList eList) const override { return eList == DBLIST_BGM ? 3 : 100; }
  int GetSwordFrameCount(int) const override { return 0; }
  int32_t GetSwordFrameTime(int, int) const override { return 0; }
};

TEST(SystemData, MusicSlotsAreCheckedAgainstTheMusicList) {
  cSystemData sd;
  sd.m_vSceneBgm = {0, 2, 3, -1};
  Bytes file = sd.SaveToBytes();
  cSystemData back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.m_vSceneBgm, (cSafeVector<int32_t>{0, 2, 3, -1}));  // no database yet

  cBgmListOfThree source;
  SetDbRefSource(&source);
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  SetDbRefSource(nullptr);
  EXPECT_EQ(back.m_vSceneBgm, (cSafeVector<int32_t>{0, 2, 0, 0}));
}

TEST(SystemData, QueriesAndMenuLayout) {
  cSystemData sd;
  EXPECT_EQ(sd.CountEnabledEntries(0), 5);
  EXPECT_EQ(sd.CountEnabledEntries(3), 0);
  sd.m_vStatusItems[2].m_nLimit = 33;
  sd.m_vStatusItems[2].m_bLimitPercent = 1;
  EXPECT_EQ(sd.IsAtOrBelowLimit(2, 33, 100), 1);
  EXPECT_EQ(sd.IsAtOrBelowLimit(2, 34, 100), 0);
  EXPECT_EQ(sd.IsAtOrBelowLimit(2, 1, 0), 0);
  EXPECT_EQ(sd.IsAtOrBelowLimit(0, 0, 100), 1);  // absolute limit 0
  EXPECT_EQ(GetMenuTextLeft(320, 23, 2, 1), 264);
  EXPECT_EQ(GetMenuTextLeft(320, 23, 2, 0), 272);
}

// Menu texts 23 and 24 (4 and 6 characters) as one box of the main font,
// with the cursor's column: 7 cells of 16 wide, two lines high.
TEST(SystemData, MenuTextWindowsFitTheirTexts) {
  boxglyphs::cUseGlyphs glyphs;
  cHeadlessDrawing drawing;
  ASSERT_TRUE(drawing.Ok());
  cHeadlessDrawing::SetColours({{3, 0x204080}, {240, 0xFFFF00}, {241, 0xFFFFFF}});
  const DDFONTDATA& d = g_FontSpec[1];
  g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                   d.nFrameThickness, d.nFrameColor, nullptr, 0);
  const auto At = [](int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); };
  for (int bCursor : {1, 0}) {
    SCOPED_TRACE(bCursor);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    DrawMenuTextWindow(&BackBuffer, 100, 200, 23, 2, bCursor);
    const int w = (6 + bCursor) * 16;
    EXPECT_EQ(At(99, 210), 0xFFFF00u);
    EXPECT_EQ(At(100 + w, 210), 0xFFFF00u);
    EXPECT_EQ(At(100 + w + 1, 210), 0x204080u);
    EXPECT_EQ(At(150, 232), 0xFFFF00u) << "two lines";
    // Each line starts after the cursor's column.
    EXPECT_EQ(At(100 + 16 * bCursor, 200), 0xFFFFFFu);
    EXPECT_EQ(At(100 + 16 * bCursor, 216), 0xFFFFFFu);
    if (bCursor) {
      EXPECT_NE(At(100, 200), 0xFFFFFFu) << "the cursor's column";
    }
  }
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
  DrawMenuTextWindow(&BackBuffer, 100, 200, 23, 0, 1);
  EXPECT_EQ(At(99, 210), 0x204080u) << "no box for no texts";
  g_Font[1].Release();
}

TEST(SystemData, FontFaceNames) {
  EXPECT_STREQ(GetFontFaceName(0), "System");
  EXPECT_STREQ(GetFontFaceName(60), "ＭＳ Ｐゴシック");
  EXPECT_STREQ(GetFontFaceName(121), "Sydnie");
  EXPECT_STREQ(GetFontFaceName(122), "");
  EXPECT_STREQ(GetFontFaceName(123), "ＭＳ Ｐゴシック");
  EXPECT_STREQ(GetFontFaceName(-1), "ＭＳ Ｐゴシック");
}

TEST(SystemData, HostileValuesAnywhere) {
  cSystemData sd;
  Bytes full = sd.SaveToBytes();
  // A hostile value written over every 4-byte position: whatever it lands
  // on, the load ends without a crash or a huge allocation; on a count it
  // fails. N sits at 4, M after the 223 numeric bytes, the first list's
  // count after the empty title.
  const size_t countsAt[] = {4, 8 + 223, 8 + 223 + 8};
  for (uint32_t nHostile : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
    for (size_t nAt = 4; nAt + 4 <= full.size(); ++nAt) {
      Bytes bad = full;
      for (int k = 0; k < 4; ++k) bad[nAt + k] = static_cast<uint8_t>(nHostile >> (8 * k));
      cSystemData rec;
      int nResult = rec.LoadFromBytes(bad.data(), bad.size());
      if (std::find(std::begin(countsAt), std::end(countsAt), nAt) != std::end(countsAt)) {
        EXPECT_EQ(nResult, 0) << nAt;
      }
    }
  }
}

}  // namespace
