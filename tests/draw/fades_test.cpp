// Screen fades in every mode (the angle sequence, the level each step
// draws, the finish flag, an interrupted fade), the palette blend and
// rotation, and the direct-colour fade of a saved screen.
#include "draw/fades.h"

#include <gtest/gtest.h>

#include <cmath>

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "effect_fixture.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

using namespace drawtest;
using namespace plat::gfx;

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr int kEntry = 50;  // the 8-bit screen's colour
constexpr uint32_t kPicture = 0xC86432;

class cFadeTest : public cEffectTest {
 protected:
  void SetUp() override {
    cEffectTest::SetUp();
    // Fades an earlier test left half-way end first.
    DDFadeIn(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 10, g_DD.ProgramPalette, 1);
    DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 10, g_DD.ProgramPalette, 1);
  }
  // The screen in one colour (8 bits: one palette entry holds it).
  void Show(uint32_t rgb) {
    if (Bpp() == 8) {
      InstallPalette({{kEntry, rgb}});
      Fill(&BackBuffer, kEntry);
    } else if (IsD3D()) {
      Fill(&BackBuffer, ArgbToPixel(0xFF000000u | rgb, g_DD.lpDTCon->BackBufferFormat));
    } else {
      Fill(&BackBuffer, Raw(TruncateChannel(GetR(rgb), Max(0)), TruncateChannel(GetG(rgb), Max(1)),
                            TruncateChannel(GetB(rgb), Max(2))));
    }
  }
  // What a step at the angle shows of a screen that was rgb (toward black).
  uint32_t Expected(uint32_t rgb, double dAngle) const {
    if (IsD3D()) {
      const ePixelFormat f = g_DD.lpDTCon->BackBufferFormat;
      const uint32_t d = PixelToArgb(ArgbToPixel(0xFF000000u | rgb, f), f);
      const int a = 255 - int(std::sin(dAngle * kDegree) * 255);
      return ArgbToPixel(MakeArgb(255, LerpChannel(0, GetR(d), a), LerpChannel(0, GetG(d), a),
                                  LerpChannel(0, GetB(d), a)),
                         f);
    }
    const int t = int(std::sin(dAngle * kDegree) * 256);
    if (Bpp() == 8) {
      const int c = int(rgb);  // here: one channel's value
      return uint32_t((c * t) >> 8);
    }
    int c[3] = {TruncateChannel(GetR(rgb), Max(0)), TruncateChannel(GetG(rgb), Max(1)),
                TruncateChannel(GetB(rgb), Max(2))};
    for (int k = 0; k < 3; ++k) {
      const int up = Bpp() == 16 ? ScaleChannelUp(c[k], Max(k)) : c[k];
      const int v = (up * t) >> 8;
      c[k] = Bpp() == 16 ? ScaleChannelDown(v, Max(k)) : v;
    }
    return Raw(c[0], c[1], c[2]);
  }
  // The screen (8 bits: the palette object's red of the entry) after a step.
  uint32_t Shown() const {
    if (Bpp() == 8) return g_DD.lpDDPalette->GetEntry(kEntry).byRed;
    return ReadRaw(&BackBuffer, 5, 5);
  }
  uint32_t ExpectedShown(double dAngle) const {
    return Bpp() == 8 ? Expected(GetR(kPicture), dAngle) : Expected(kPicture, dAngle);
  }
  int Out(double dStep, uint8_t bFinish = 0) {
    return DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, dStep, g_DD.ProgramPalette, bFinish);
  }
  int In(double dStep, uint8_t bFinish = 0) {
    return DDFadeIn(g_DD.DisplayPalette, 0, 255, 0, 0, 0, dStep, g_DD.ProgramPalette, bFinish);
  }
  // Direct3D darkens what it finds; DirectDraw fades the picture it saved
  // on the first step, so the screen drawn later does not matter.
  void Redraw(int nCall) {
    if (IsD3D() || nCall == 0)
      Show(kPicture);
    else if (Bpp() != 8)
      Show(0x123456);
  }
};

TEST_P(cFadeTest, FadeOutTakesTenStepsOfTenDegrees) {
  for (int nCall = 0; nCall < 10; ++nCall) {
    Redraw(nCall);
    EXPECT_EQ(Out(10), nCall == 9 ? 1 : 0) << nCall;
    EXPECT_EQ(Shown(), ExpectedShown(90 - 10 * nCall)) << "step at " << 90 - 10 * nCall;
  }
  // A finished fade starts again at the picture.
  Redraw(0);
  EXPECT_EQ(Out(10), 0);
  EXPECT_EQ(Shown(), ExpectedShown(90));
  EXPECT_EQ(Out(10, 1), 1);
}

TEST_P(cFadeTest, FadeInTakesTenStepsToThePicture) {
  for (int nCall = 0; nCall < 10; ++nCall) {
    Redraw(nCall);
    EXPECT_EQ(In(10), nCall == 9 ? 1 : 0) << nCall;
    EXPECT_EQ(Shown(), ExpectedShown(10 * nCall)) << "step at " << 10 * nCall;
  }
}

TEST_P(cFadeTest, UnevenStepsEndOnTheClampedAngleAndTheFinishFlagEndsAtOnce) {
  const double angles[] = {90, 65, 40, 15, 0};
  for (int nCall = 0; nCall < 5; ++nCall) {
    Redraw(nCall);
    EXPECT_EQ(Out(25), nCall == 4 ? 1 : 0) << nCall;
    EXPECT_EQ(Shown(), ExpectedShown(angles[nCall])) << angles[nCall];
  }
  // Interrupted after two steps, the next fade goes on from where it was;
  // the finish flag then draws the colour and ends it.
  Redraw(0);
  Out(10);
  Redraw(1);
  Out(10);
  Redraw(2);
  EXPECT_EQ(Out(10), 0);
  EXPECT_EQ(Shown(), ExpectedShown(70));
  Redraw(3);
  EXPECT_EQ(Out(10, 1), 1);
  EXPECT_EQ(Shown(), ExpectedShown(0));
  Redraw(0);
  EXPECT_EQ(Out(10), 0);
  EXPECT_EQ(Shown(), ExpectedShown(90));
}

TEST_P(cFadeTest, AFailedRenderTargetChangeKeepsTheAngle) {
  if (!IsD3D()) GTEST_SKIP() << "render targets are Direct3D's";
  Redraw(0);
  Out(10);  // 90: nothing to see
  FailNext(eFaultPoint::SetRenderTarget, eGfxResult::Fail);
  Redraw(1);
  EXPECT_EQ(Out(10), 0);
  EXPECT_EQ(Shown(), ExpectedShown(90));  // nothing drawn
  Redraw(2);
  EXPECT_EQ(Out(10), 0);
  EXPECT_EQ(Shown(), ExpectedShown(80));  // the step that failed, now drawn
}

INSTANTIATE_TEST_SUITE_P(Modes, cFadeTest, testing::ValuesIn(kModes), ModeName);

// ---- Palette effects -------------------------------------------------------

class cPaletteEffectTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    for (int i = 0; i < 256; ++i) m_Source[size_t(i)] = {uint8_t(i), uint8_t(255 - i), 7, 0};
  }
  void TearDown() override { ShutDown(); }
  DDPALETTE m_Source{}, m_Work{};
};

TEST_F(cPaletteEffectTest, BlendMixesTheRangeWithTheColour) {
  DDBlendPalette(m_Work, 10, 12, 128, 0, 0, 0, m_Source);
  EXPECT_EQ(m_Work[11].byRed, 11 / 2);
  EXPECT_EQ(m_Work[11].byGreen, (255 - 11) / 2);
  EXPECT_EQ(m_Work[11].byFlags, PC_RESERVED);
  EXPECT_EQ(m_Work[13].byRed, 0);  // outside the range
  DDBlendPalette(m_Work, 0, 0, 256, 9, 9, 9, m_Source);
  EXPECT_EQ(m_Work[0].byGreen, 255);  // level 256: the source
  DDBlendPalette(m_Work, 0, 0, 0, 9, 8, 7, m_Source);
  EXPECT_EQ(m_Work[0].byGreen, 8);  // level 0: the colour
  // Ranges past the palette are cut to it; an empty range changes nothing.
  DDBlendPalette(m_Work, -5, 300, 0, 1, 2, 3, m_Source);
  EXPECT_EQ(m_Work[255].byRed, 1);
  DDBlendPalette(m_Work, 40, 30, 0, 99, 99, 99, m_Source);
  EXPECT_EQ(m_Work[35].byRed, 1);
  DDBlendPalette(m_Work, 0, 0, 1000, 99, 99, 99, m_Source);
  EXPECT_EQ(m_Work[0].byRed, 0);  // levels above 256 count as 256
}

TEST_F(cPaletteEffectTest, RotationTurnsTheRangeFromTheSource) {
  ASSERT_TRUE(InitMode({"DD8", 0, 8, 0}));
  struct {
    int nFirst, nLast, n, nDirection;
    int nEntry, nShows;
  } const cases[] = {
      {16, 207, 16, 1, 16, 32},  {16, 207, 16, 1, 192, 16},  {16, 207, 16, 1, 207, 31},
      {16, 207, 16, 0, 32, 16},  {16, 207, 16, 0, 16, 192},  {16, 207, 208, 1, 16, 32},
      {16, 207, -16, 0, 16, 32}, {16, 207, 16, 2, 16, 16},   {16, 207, 16, 1, 15, 15},
      {-10, 300, 1, 1, 255, 0},  {200, 100, 5, 1, 150, 150},
  };
  for (const auto& c : cases) {
    m_Work.fill({});
    DDCyclePalette(m_Work, c.nFirst, c.nLast, c.n, c.nDirection, m_Source);
    EXPECT_EQ(m_Work[size_t(c.nEntry)].byRed, c.nShows)
        << c.nFirst << ".." << c.nLast << " by " << c.n << " direction " << c.nDirection;
  }
  // The same palette as work and source.
  DDCyclePalette(m_Source, 0, 255, 1, 1, m_Source);
  EXPECT_EQ(m_Source[0].byRed, 1);
  EXPECT_EQ(m_Source[255].byRed, 0);
}

TEST_F(cPaletteEffectTest, RotationDoesNothingAtTwentyFourBits) {
  ASSERT_TRUE(InitMode({"DD24", 0, 24, 0}));
  m_Work.fill({});
  DDCyclePalette(m_Work, 0, 255, 1, 1, m_Source);
  EXPECT_EQ(m_Work[5].byRed, 0);
}

TEST_F(cPaletteEffectTest, EntriesAsSixteenBitPixels) {
  ASSERT_TRUE(InitMode({"DD16", 0, 16, 0}));
  const DDPALENTRY e{31, 63, 0, 0};
  EXPECT_EQ(DDPalToRGB16(&e), 0xFFE0u);
  ShutDown();
  ResetPlatform();
  ASSERT_TRUE(InitMode({"D3D16", 1, 16, 1}));
  EXPECT_EQ(DDPalToRGB16(&e), 0u);
  EXPECT_NE(DebugLogText().find("DDPalToRGB16はDirect3Dでは未対応"), std::string::npos);
}

// ---- The fade of a saved screen -------------------------------------------

class cUnPalFadeTest : public cEffectTest {};

TEST_P(cUnPalFadeTest, MixesTheSourceWithTheColourWhereBothHavePixels) {
  if (IsD3D()) {
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 128, 0, 0, 0, &BackBuffer), 1);
    EXPECT_NE(DebugLogText().find("D3DではDDFade_UnPalは未対応"), std::string::npos);
    return;
  }
  if (Bpp() == 8) GTEST_SKIP() << "the 8-bit fade changes the palette";
  Blank(m_Src, 10, 10, true);
  const uint32_t px = Raw(Max(0) * 200 / 255, Max(1), 0);
  Fill(&m_Src, px);
  const uint32_t under = Raw(1, 1, 1) | (Bpp() == 32 ? 0x5A000000u : 0);
  for (int nLevel : {256, 0, 128}) {
    Fill(&BackBuffer, under);
    ASSERT_EQ(DDFade_UnPal(&BackBuffer, nLevel, 0, 0, 255, &m_Src), 1);
    int r, g, b;
    Channels(px, r, g, b);
    int c[3] = {r, g, b};
    const int k[3] = {0, 0, 255};
    for (int j = 0; j < 3; ++j) {
      const int up = Bpp() == 16 ? ScaleChannelUp(c[j], Max(j)) : c[j];
      const int v = (up * nLevel + k[j] * (256 - nLevel)) >> 8;
      c[j] = Bpp() == 16 ? ScaleChannelDown(v, Max(j)) : v;
    }
    EXPECT_EQ(ReadRaw(&BackBuffer, 9, 9), Raw(c[0], c[1], c[2]) | (under & 0xFF000000u))
        << "level " << nLevel;
    EXPECT_EQ(ReadRaw(&BackBuffer, 10, 9), under) << "past the source";
  }
  // A 32-bit source byte of 200 at level 128 toward 0 is 100.
  if (Bpp() == 32) {
    Fill(&m_Src, 0x00C80000u);
    ASSERT_EQ(DDFade_UnPal(&BackBuffer, 128, 0, 0, 0, &m_Src), 1);
    EXPECT_EQ(ReadRaw(&BackBuffer, 0, 0) & 0xFFFFFFu, 0x640000u);
  }
  // One surface cannot be locked twice.
  EXPECT_EQ(DDFade_UnPal(&m_Src, 128, 0, 0, 0, &m_Src), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, cUnPalFadeTest, testing::ValuesIn(kModes), ModeName);

}  // namespace
