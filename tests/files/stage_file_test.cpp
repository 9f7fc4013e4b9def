// Stage files: the current layout byte for byte, every version gate with its
// upgrade, normalisation and the derived step values, the player search, the
// trailer, and damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "files/files_test_support.h"
#include "files/stage_data.h"
#include "flow/db_ref_stub.h"
#include "flow/record_fuzz.h"

namespace {

using Bytes = std::vector<uint8_t>;

double F64At(const Bytes& v, size_t nAt) {
  double d;
  std::memcpy(&d, v.data() + nAt, 8);
  return d;
}

TEST(StageFile, DefaultStageLayout) {
  cStageData stage;
  Bytes file = stage.SaveToBytes();
  EXPECT_EQ(ReadU32At(file, 0), 783u);
  EXPECT_EQ(ReadU32At(file, 4), 98u);
  EXPECT_EQ(ReadU32At(file, 8 + 12 * 4), 60u);  // frames per second
  EXPECT_EQ(F64At(file, 88), 0.4);              // gravity
  EXPECT_EQ(ReadU32At(file, 96), 10u);          // hit-test level
  EXPECT_EQ(ReadU32At(file, 356), 10u);         // steps per frame
  EXPECT_EQ(F64At(file, 376), 60.0);            // speed limit per frame
  EXPECT_EQ(F64At(file, 384), 0.4 / 100);       // gravity per step
  EXPECT_EQ(ReadU32At(file, 420), 0u);          // last numeric field
  EXPECT_EQ(ReadU32At(file, 424), 1u);          // one text: the name
  EXPECT_EQ(ReadU32At(file, 428), 1u);          // empty
  // Five rankings of 1, then rules 0-2 cleared, 3 on all sides, 4 with
  // margins 10, each a body of eight values.
  size_t at = 432;
  EXPECT_EQ(ReadU32At(file, at), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ReadU32At(file, at + 4 + 4 * i), 1u);
  at += 24;
  const int32_t rules[5][8] = {{0, 0, 0, 0, 0, 0, 0, 0},
                               {0, 0, 0, 0, 0, 0, 0, 0},
                               {0, 0, 0, 0, 0, 0, 0, 0},
                               {1, 1, 1, 1, 0, 0, 0, 0},
                               {1, 1, 1, 1, 10, 10, 10, 10}};
  for (const auto& rule : rules) {
    EXPECT_EQ(ReadU32At(file, at), 8u);
    for (int k = 0; k < 8; ++k)
      EXPECT_EQ(static_cast<int32_t>(ReadU32At(file, at + 4 + 4 * k)), rule[k]);
    EXPECT_EQ(ReadU32At(file, at + 36), 0u);
    at += 40;
  }
  // Each palette padded to two entries.
  EXPECT_EQ(ReadU32At(file, at), 2u);
  EXPECT_EQ(ReadU32At(file, file.size() - 4), kStageTrailer);

  cStageData back;
  ASSERT_EQ(back.LoadFromBytes(file.data(), file.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), file);
  EXPECT_EQ(back.m_vecPalBlocks.size(), 2u);
  EXPECT_EQ(back.m_vecPalCharas.size(), 2u);
  EXPECT_EQ(back.m_vecPalItems.size(), 2u);
  ASSERT_EQ(back.m_vecBgs.size(), 1u);
  EXPECT_EQ(back.m_vecBgs[0].m_bFill, 1);
  EXPECT_EQ(back.m_vecBgs[0].m_nColour, 16);
  EXPECT_TRUE(back.m_vecTexts.empty());
}

// A stage with every kind of content written, read and written again.
cStageData PopulatedStage() {
  cStageData s;
  FillDistinct(s, 100);
  s.m_strName = "森のステージ";
  s.m_nWidth = 200;
  s.m_nHeight = 40;
  s.m_nLimitLeft = 3;
  s.m_nLimitRight = 150;
  s.m_nLimitTop = 2;
  s.m_nLimitBottom = 30;
  s.m_nHitLevel = 15;
  s.m_dGravity = 0.75;
  s.m_vRanking = {1, 0, 1, 0, 1};
  s.m_aRules[1].Set(1, 0, 1, 0, 2, 3, 4, 5);
  s.m_vecPalBlocks.resize(3);
  s.m_vecPalBlocks[2].m_sGraphic = 7;
  s.m_vecPalCharas.resize(3);
  s.m_vecPalCharas[2].m_strName = "敵";
  s.m_vecPalCharas[2].m_nMaxHP = 55;
  s.m_vecPalItems.resize(3);
  for (int16_t i = 0; i < 4; ++i) {
    cEdBlock b;
    b.m_sColumn = i;
    b.m_sRow = 39;
    b.m_cInheritSrc = 2;
    b.m_sParent = 2;
    b.m_vecInherit.Fill(1);
    s.m_vecBlocks.push_back(b);
  }
  cEdChara hero;
  hero.m_cOperator = 0;
  hero.m_nCarriedItem = 0;
  hero.m_sColumn = 5;
  hero.m_sRow = 30;
  s.m_vecCharas.push_back(hero);
  cEdChara enemy;
  enemy.m_cInheritSrc = 2;
  enemy.m_sParent = 2;
  enemy.m_vecInherit.Fill(1);
  enemy.m_nCarriedItem = -1;
  s.m_vecCharas.push_back(enemy);
  s.m_vecItems.resize(1);
  s.m_vecBgs.resize(2);
  s.m_vecBgs[1].m_strImage = "bmp\\back\\sky.bmp";
  s.m_vecBgs[1].m_dOffsetX = 12.25;
  s.m_vecTexts.assign(1000, cStageText());
  s.m_vecTexts[3].m_strText = "こんにちは";
  return s;
}

// Inherited values are taken when an entry is read, so a stage built in
// memory settles on its first reading; from then on every round trip gives
// the same bytes.
TEST(StageFile, PopulatedStageRoundTripsByteForByte) {
  cStageData built = PopulatedStage();
  Bytes written = built.SaveToBytes();
  cStageData settled;
  ASSERT_EQ(settled.LoadFromBytes(written.data(), written.size()), 1);
  Bytes first = settled.SaveToBytes();
  cStageData back;
  ASSERT_EQ(back.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(back.SaveToBytes(), first);
  EXPECT_EQ(back.m_strName, "森のステージ");
  EXPECT_EQ(back.m_nSteps, 5);
  EXPECT_EQ(back.m_vecTexts[3].m_strText, "こんにちは");
  // Entries inheriting from "the stage palette" took from this stage's own,
  // even though it is not the stage being played.
  ASSERT_EQ(back.m_vecCharas.size(), 2u);
  EXPECT_EQ(back.m_vecCharas[1].m_strName, "敵");
  EXPECT_EQ(back.m_vecCharas[1].m_nMaxHP, 55);
  EXPECT_EQ(back.m_vecBlocks[3].m_sGraphic, 7);
  EXPECT_EQ(back.FindPlayer(), 0);
}

// Which stored fields an old file lacks and what reading it leaves there:
// the upgrade's value or a copy of another field. Field numbers count from 1
// in file order.
constexpr int kCopyOf = -2000000;  // kCopyOf + n: the value of field n
struct STAGE_GATE {
  int nField;
  int32_t nFrom;
  int nOlder;
};
const STAGE_GATE kStageGates[] = {
    {25, 166, 1},
    {26, 199, 0},
    {30, 183, 1},
    {31, 184, 0},
    {33, 225, 0},
    {36, 200, 16},
    {37, 200, 24},
    {38, 200, 16},
    {39, 200, 16},
    {42, 155, kCopyOf + 40},
    {43, 155, kCopyOf + 41},
    {48, 200, 1},
    {49, 200, 0},
    {50, 155, 0},
    {51, 155, 0},
    {52, 200, 0},
    {56, 200, 5},
    {60, 200, 16},
    {61, 200, 30},
    {62, 200, 16},
    {63, 200, 30},
    {66, 155, kCopyOf + 64},
    {67, 155, kCopyOf + 65},
    {70, 200, 1},
    {71, 200, 1},
    {72, 155, 0},
    {73, 155, 0},
};

// The stage record `src` as a file of version v: its fields as v stores
// them, five rankings, the rules as v stores them, empty lists, one
// background and one text, and the trailer from 173.
Bytes OldStageFile(cStageData& src, int32_t v) {
  cByteBuilder b = cByteBuilder::File(static_cast<uint32_t>(v));
  AppendFields(b, src, v);
  b.Count(5).I32(7).I32(7).I32(7).I32(7).I32(7);
  for (cStageParam8& rule : src.m_aRules) AppendFields(b, rule, v);
  for (int i = 0; i < 6; ++i) b.Count(0);
  b.Count(1);
  cStageBg bg;
  bg.m_strImage = "back.bmp";
  AppendFields(b, bg, v);
  b.Count(1).Count(0).Count(1).Str("text 0");
  if (v >= 173) b.U32(kStageTrailer);
  return b.Bytes();
}

TEST(StageFile, EveryVersionGateReadsWithItsUpgrade) {
  cStageData src;
  FillDistinct(src, 100);
  for (cStageParam8& rule : src.m_aRules) FillDistinct(rule, 50);
  for (int32_t v : {124, 125, 154, 155, 165, 166, 172, 173, 180, 181, 182,
                    183, 184, 198, 199, 200, 224, 225, 753, 754, 783}) {
    SCOPED_TRACE(v);
    Bytes file = OldStageFile(src, v);
    cStageData stage;
    ASSERT_EQ(stage.LoadFromBytes(file.data(), file.size()), 1);
    for (const STAGE_GATE& g : kStageGates) {
      const int i = g.nField - 1;
      int32_t nExpected = FieldI32(src, i);
      if (v < g.nFrom) {
        if (g.nOlder <= kCopyOf + 100)
          nExpected = FieldI32(src, g.nOlder - kCopyOf - 1);
        else
          nExpected = g.nOlder;
      }
      EXPECT_EQ(FieldI32(stage, i), nExpected) << "field " << g.nField;
    }
    // Rankings 3 and 4 came later than the others.
    EXPECT_EQ(stage.m_vRanking, (v < 181 ? cSafeVector<int32_t>{7, 7, 7, 0, 0}
                                         : cSafeVector<int32_t>{7, 7, 7, 7, 7}));
    // Before 125 a rule held the left flag and the four margins only.
    const cStageParam8& rule = stage.m_aRules[2];
    EXPECT_EQ(rule.m_bLeft, 50);
    EXPECT_EQ(rule.m_bRight, v < 125 ? 0 : 51);
    EXPECT_EQ(rule.m_nLeftMargin, 54);
    EXPECT_EQ(rule.m_nBottomMargin, 57);
    EXPECT_EQ(stage.m_vecTexts.size(), v < 754 ? 1000u : 1u);
    EXPECT_EQ(stage.m_vecTexts[0].m_strText, "text 0");
    EXPECT_EQ(stage.m_vecBgs.at(0).m_strImage, "back.bmp");
  }
}

TEST(StageFile, BackgroundLayoutsByVersion) {
  struct CASE {
    uint32_t v;
    Bytes body;
    int32_t bShown;
    double dFactor;
    int32_t bAutoY;
    double dOffsetY;
  };
  const CASE cases[] = {
      {60, cByteBuilder().Count(5).I32(1).I32(33).I32(1).I32(7).I32(8).Count(1).Str("a.bmp"), 1,
       0.1, 0, 0.0},
      {61,
       cByteBuilder()
           .Count(9)
           .I32(1)
           .I32(33)
           .I32(1)
           .F64(0.5)
           .F64(0.25)
           .I32(0)
           .I32(1)
           .I32(7)
           .I32(8)
           .Count(1)
           .Str("a.bmp"),
       1, 0.5, 1, 0.0},
      {62,
       cByteBuilder()
           .Count(10)
           .I32(0)
           .I32(1)
           .I32(33)
           .I32(1)
           .F64(0.5)
           .F64(0.25)
           .I32(0)
           .I32(1)
           .F64(3.5)
           .F64(4.5)
           .Count(1)
           .Str("a.bmp"),
       0, 0.5, 1, 4.5},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.v);
    Bytes file = cByteBuilder::File(c.v).Append(c.body).Bytes();
    cStageBg bg;
    ASSERT_EQ(bg.LoadFromBytes(file.data(), file.size()), 1);
    EXPECT_EQ(bg.m_bShown, c.bShown);
    EXPECT_EQ(bg.m_bFill, 1);
    EXPECT_EQ(bg.m_nColour, 33);
    EXPECT_EQ(bg.m_nPass, 1);
    EXPECT_EQ(bg.m_dFactorX, c.dFactor);
    EXPECT_EQ(bg.m_bAutoY, c.bAutoY);
    EXPECT_EQ(bg.m_dOffsetY, c.dOffsetY);
    EXPECT_EQ(bg.m_strImage, "a.bmp");
  }
}

TEST(StageFile, HitLevelDerivesTheStepValues) {
  struct CASE {
    int32_t nLevel;
    int32_t nSteps;
    double dSpeedLimit;
  };
  // Levels 11 to 19 are finer steps under the speed limit of level 1; a
  // stage always runs at least one step and at most ten, whatever a damaged
  // file's level asks for.
  const CASE cases[] = {{1, 1, 6},   {5, 5, 30},        {10, 10, 60},        {11, 1, 60},
                        {15, 5, 60}, {19, 9, 60},       {20, 10, 60},        {0, 1, 6},
                        {-3, 1, 6},  {1000000, 10, 60}, {INT32_MAX, 10, 60}, {INT32_MIN, 1, 6}};
  for (const CASE& c : cases) {
    cStageData s;
    s.m_dGravity = 0.5;
    s.SetHitLevel(c.nLevel);
    EXPECT_EQ(s.m_nHitLevel, c.nLevel);
    EXPECT_EQ(s.m_nSteps, c.nSteps) << c.nLevel;
    EXPECT_EQ(s.m_dSpeedLimit, c.dSpeedLimit) << c.nLevel;
    EXPECT_EQ(s.m_dStepSpeedLimit, c.dSpeedLimit / c.nSteps) << c.nLevel;
    EXPECT_EQ(s.m_dStepGravity, 0.5 / (c.nSteps * c.nSteps)) << c.nLevel;
    EXPECT_EQ(s.m_nSteps8, 8 * c.nSteps);
    EXPECT_EQ(s.m_nSteps6, 6 * c.nSteps);
  }
}

TEST(StageFile, NormalizeClampsLimitsAndMusic) {
  cDbRefStub db;
  db.m_nSizes[DBLIST_BGM] = 5;
  cStageData s;
  s.m_nWidth = 50;
  s.m_nHeight = 20;
  s.m_nLimitLeft = 100;
  s.m_nLimitRight = 60;
  s.m_nLimitTop = 3;
  s.m_nLimitBottom = -4;  // only clamped from above
  for (int32_t nBgm : {4, 5, -1}) {
    s.m_nBgm = nBgm;
    s.Normalize();
    EXPECT_EQ(s.m_nBgm, nBgm == 4 ? 4 : 0) << nBgm;
  }
  EXPECT_EQ(s.m_nLimitLeft, 30);
  EXPECT_EQ(s.m_nLimitRight, 49);
  EXPECT_EQ(s.m_nLimitTop, 3);
  EXPECT_EQ(s.m_nLimitBottom, -4);
}

TEST(StageFile, PlayerIsTheFirstCharacterAPlayerOperates) {
  struct CASE {
    std::vector<uint8_t> ops;
    int nPlayer;
  };
  const CASE cases[] = {{{1, 0, 0, 1}, 1}, {{0}, 0}, {{2}, -1}, {{1, 1}, -1}, {{}, -1}};
  for (const CASE& c : cases) {
    cStageData s;
    for (uint8_t op : c.ops) {
      s.m_vecCharas.emplace_back();
      s.m_vecCharas.back().m_cOperator = op;
    }
    EXPECT_EQ(s.FindPlayer(), c.nPlayer);
    EXPECT_EQ(s.HasPlayer(), c.nPlayer != -1);
  }
}

TEST(StageFile, TrailerIsCheckedFromVersion174) {
  cTempFolder dir;
  cBoxCapture boxes;
  cCloseCounter closes;
  auto File = [](uint32_t v, uint32_t nLast) {
    return cByteBuilder::File(v).Count(0).Count(0).U32(nLast).Bytes();
  };
  struct CASE {
    const char* szName;
    Bytes bytes;
    int nResult;
  };
  const CASE cases[] = {
      {"old.stg4_173", File(173, 1), 1},          {"ok.stg4_174", File(174, kStageTrailer), 1},
      {"bad.stg4_174", File(174, 0x075BCD16), 0}, {"bad.stg4_783", File(783, 0), 0},
      {"new.stg4_784", File(784, 0), 1},          {"tiny.stg4_783", {0x0F, 0x03}, 1},
  };
  for (const CASE& c : cases) {
    const std::string strPath = dir / c.szName;
    WriteTestFile(strPath, c.bytes);
    cBoxCapture::Texts().clear();
    EXPECT_EQ(CheckStageTrailer(strPath), c.nResult) << c.szName;
    EXPECT_EQ(closes.Take(), 1 - c.nResult) << c.szName;
    if (c.nResult == 0)
      EXPECT_EQ(cBoxCapture::Texts(),
                std::vector<std::string>{"ステージファイル " + strPath + " が破損しています！"});
    else
      EXPECT_TRUE(cBoxCapture::Texts().empty());
  }
  EXPECT_EQ(CheckStageTrailer(dir / "missing.stg4_783"), 1);
}

TEST(StageFile, ReplayBodyTakesSettingsFromTheSettingsStage) {
  cStageData played = PopulatedStage();
  cStageData settings;
  CopyStageSettings(settings, played);
  EXPECT_TRUE(settings.m_vecCharas.empty());
  EXPECT_TRUE(settings.m_vecPalBlocks.empty());
  EXPECT_EQ(settings.m_vecBgs.size(), played.m_vecBgs.size());
  // Play changes the stage; the replay keeps the settings as loaded.
  played.m_nTimeLimit = 5;
  played.m_vecBgs[1].m_strImage = "changed.bmp";
  played.m_vecCharas[0].m_sColumn = 9;
  cDataWriter w;
  w.U32(783);
  played.WriteForReplay(w, settings);
  cStageData back;
  ASSERT_EQ(back.LoadFromBytes(w.Data().data(), w.Data().size()), 1);
  EXPECT_EQ(back.m_nTimeLimit, PopulatedStage().m_nTimeLimit);
  EXPECT_EQ(back.m_vecBgs[1].m_strImage, "bmp\\back\\sky.bmp");
  EXPECT_EQ(back.m_vecCharas[0].m_sColumn, 9);
}

TEST(StageFile, DamagedFilesFailCleanly) {
  cStageData stage = PopulatedStage();
  stage.m_vecTexts.resize(3);  // keep the sweep short
  Bytes file = stage.SaveToBytes();
  ExpectTruncationFails<cStageData>(file);
  ExpectHugeCountsSurvive<cStageData>(file);
  // A numeric count above what any version registers, and a newer file.
  Bytes more = file;
  more[4] = 99;
  cStageData s;
  EXPECT_EQ(s.LoadFromBytes(more.data(), more.size()), 0);
  Bytes newer = file;
  newer[0] = 0x10;
  EXPECT_EQ(s.LoadFromBytes(newer.data(), newer.size()), 0);
  EXPECT_EQ(bFileTooNew.load(), 1);
}

}  // namespace
