// Tint, translucency and the colour overlay in every mode, on the device's
// path and on the software paths; the 8-bit blend table and the palette
// variants. Expected pixels come from the rules: halvings on scaled
// channels, the device's blend-factor stage and SRCALPHA blending, the
// writing rules of each mode.
#include "draw/tint_trans.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/logs.h"
#include "draw/blend_table.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/hbt_palette.h"
#include "draw/palette_key.h"
#include "draw/surfaces.h"
#include "effect_fixture.h"
#include "platform/fs/file_system.h"
#include "platform/gfx/pixel_rules.h"

using namespace drawtest;
using namespace plat::gfx;

namespace {

constexpr int kTintEntry = 200;  // the tint colour's palette number: pure blue

// A synthetic mix table: any function of the two indices shows each lookup.
void InstallBlendTable() {
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) g_BlendTable[size_t(a) * 256 + b] = uint8_t(a * 7 + b * 3 + 1);
}

class cTintTransTest : public cEffectTest {
 protected:
  void SetUp() override {
    cEffectTest::SetUp();
    InstallPalette({{kTintEntry, 0x0000FF}});
    InstallBlendTable();
  }
  // The source row: red, the key (or a transparent texel), a mid colour,
  // white.
  void MakeSource(bool bSystem) {
    Blank(m_Src, 4, 1, bSystem);
    if (Bpp() == 8) {
      for (int i = 0; i < 4; ++i) Poke(&m_Src, i, 0, uint32_t(i == 1 ? 0 : 10 + 20 * i));
      return;
    }
    Poke(&m_Src, 0, 0, Raw(Max(0), 0, 0));
    Poke(&m_Src, 1, 0, IsD3D() ? 0 : Key());
    Poke(&m_Src, 2, 0, Raw(Max(0) / 3, Max(1) / 2, Max(2) / 5));
    Poke(&m_Src, 3, 0, Raw(Max(0), Max(1), Max(2)));
  }
  // The destination's first pixels before each draw: a colour of its own
  // (in DirectDraw 32-bit with a fourth byte the effects must keep).
  uint32_t Under() const {
    if (Bpp() == 8) return 5;
    uint32_t v = Raw(1, 2, 3);
    if (!IsD3D() && Bpp() == 32) v |= 0xAB000000u;
    return v;
  }
  // A pixel as the device reads it (ARGB) and writes it (raw).
  static uint32_t Argb(uint32_t v) { return PixelToArgb(v, g_DD.lpDTCon->TextureFormat); }
  static uint32_t Pixel(uint32_t c) { return ArgbToPixel(c, g_DD.lpDTCon->TextureFormat); }
};

int ScaledUp(int v, int nChannel) { return ScaleChannelUp(v, cEffectTest::Max(nChannel)); }

TEST_P(cTintTransTest, TintByLevelOnEveryPath) {
  for (bool bSystem : {false, true}) {
    if (bSystem && !IsD3D()) continue;
    DDReleaseSurface(&m_Src);
    DDReleaseSurface(&m_Dst);
    MakeSource(bSystem);
    Blank(m_Dst, 4, 1);
    const bool bDevice = IsD3D() && !bSystem;
    const DDPALENTRY e = g_DD.ProgramPalette[kTintEntry];
    for (int nLevel = 1; nLevel <= 5; ++nLevel) {
      Fill(&m_Dst, Under());
      ASSERT_TRUE(DDBltTint(&m_Dst, 0, 0, 4, 1, &m_Src, 0, 0, 1, &g_DD.ProgramPalette, nullptr,
                            kTintEntry, nLevel));
      for (int i = 0; i < 4; ++i) {
        const uint32_t s = ReadRaw(&m_Src, i, 0);
        uint32_t want = Under();
        if (i == 1) {
          // The key and transparent texels are left out.
        } else if (Bpp() == 8) {
          want = s;
          for (int l = 0; l < nLevel; ++l) want = g_BlendTable[want * 256 + kTintEntry];
        } else if (bDevice) {
          const int a = nLevel == 1   ? 128
                        : nLevel == 2 ? 80
                        : nLevel == 3 ? 48
                        : nLevel == 4 ? 16
                                      : 0;
          const uint32_t t = Argb(s);
          want = Pixel(MakeArgb(255, LerpChannel(GetR(t), e.byRed, a),
                                LerpChannel(GetG(t), e.byGreen, a),
                                LerpChannel(GetB(t), e.byBlue, a)));
        } else if (IsD3D()) {
          const double share = (nLevel == 1   ? 128
                                : nLevel == 2 ? 64
                                : nLevel == 3 ? 32
                                : nLevel == 4 ? 16
                                              : 0) /
                               255.0;
          int c[3];
          Channels(s, c[0], c[1], c[2]);
          const int k[3] = {ScaleChannelDown(e.byRed, Max(0)), ScaleChannelDown(e.byGreen, Max(1)),
                            ScaleChannelDown(e.byBlue, Max(2))};
          for (int j = 0; j < 3; ++j)
            c[j] = nLevel == 1 ? (c[j] + k[j]) >> 1 : int(c[j] * share + k[j] * (1 - share));
          want = Raw(c[0], c[1], c[2]);
        } else {
          int c[3];
          Channels(s, c[0], c[1], c[2]);
          const int k[3] = {e.byRed, e.byGreen, e.byBlue};
          for (int j = 0; j < 3; ++j) {
            int v = Bpp() == 16 ? ScaledUp(c[j], j) : c[j];
            const int kj = Bpp() == 16 ? ScaledUp(k[j], j) : k[j];
            for (int l = 0; l < nLevel; ++l) v = (v + kj) >> 1;
            c[j] = Bpp() == 16 ? ScaleChannelDown(v, Max(j)) : v;
          }
          want = Raw(c[0], c[1], c[2]) | (Under() & 0xFF000000u);
        }
        EXPECT_EQ(ReadRaw(&m_Dst, i, 0), want)
            << (bSystem ? "software" : "device") << " level " << nLevel << " pixel " << i;
      }
    }
  }
  // Red tinted once toward blue: half of each, the fourth byte kept.
  if (!IsD3D() && Bpp() == 32) {
    Fill(&m_Dst, Under());
    ASSERT_TRUE(DDBltTint(&m_Dst, 0, 0, 1, 1, &m_Src, 0, 0, 1, nullptr, nullptr, kTintEntry, 1));
    EXPECT_EQ(ReadRaw(&m_Dst, 0, 0), 0xAB7F007Fu);
  }
}

TEST_P(cTintTransTest, TintLevelZeroDrawsNothingAndBelowZeroOnlyCopiesOutsideDirect3D) {
  MakeSource(false);
  Blank(m_Dst, 4, 1);
  for (int nLevel : {0, -3}) {
    Fill(&m_Dst, Under());
    ASSERT_TRUE(
        DDBltTint(&m_Dst, 0, 0, 4, 1, &m_Src, 0, 0, 1, nullptr, nullptr, kTintEntry, nLevel));
    for (int i = 0; i < 4; ++i) {
      const bool bCopied = nLevel < 0 && !IsD3D() && i != 1;
      const uint32_t s = ReadRaw(&m_Src, i, 0);
      const uint32_t want =
          bCopied ? (Bpp() == 32 ? (s & 0xFFFFFF) | (Under() & 0xFF000000u) : s) : Under();
      EXPECT_EQ(ReadRaw(&m_Dst, i, 0), want) << "level " << nLevel << " pixel " << i;
    }
  }
}

TEST_P(cTintTransTest, HalfTranslucencyOnTheSoftwarePathsAndLevelsOnTheDevice) {
  for (bool bSystem : {false, true}) {
    if (bSystem && !IsD3D()) continue;
    DDReleaseSurface(&m_Src);
    DDReleaseSurface(&m_Dst);
    MakeSource(bSystem);
    Blank(m_Dst, 4, 1);
    const bool bDevice = IsD3D() && !bSystem;
    for (int nLevel : {0, 128, 255}) {
      Fill(&m_Dst, Under());
      if (Bpp() == 8) Poke(&m_Dst, 3, 0, 0);  // an index-0 pixel takes the source as it is
      ASSERT_TRUE(DDBltTrans(&m_Dst, 0, 0, 4, 1, &m_Src, 0, 0, 1, g_BlendTable.data(), nLevel));
      for (int i = 0; i < 4; ++i) {
        const uint32_t s = ReadRaw(&m_Src, i, 0);
        uint32_t want = Under();
        if (i == 1) {
        } else if (Bpp() == 8) {
          want = i == 3 ? s : g_BlendTable[Under() * 256 + s];
        } else if (bDevice) {
          const uint32_t t = Argb(s), d = Argb(Under());
          const int a = MulChannel(GetA(t), 255 - nLevel);
          want =
              Pixel(MakeArgb(LerpChannel(a, GetA(d), a), LerpChannel(GetR(t), GetR(d), a),
                             LerpChannel(GetG(t), GetG(d), a), LerpChannel(GetB(t), GetB(d), a)));
        } else {
          int c[3], d[3];
          Channels(s, c[0], c[1], c[2]);
          Channels(Under(), d[0], d[1], d[2]);
          for (int j = 0; j < 3; ++j) {
            if (!IsD3D() && Bpp() == 16)
              c[j] = ScaleChannelDown((ScaledUp(c[j], j) + ScaledUp(d[j], j)) >> 1, Max(j));
            else
              c[j] = (c[j] + d[j]) >> 1;
          }
          want = Raw(c[0], c[1], c[2]) | (Under() & 0xFF000000u);
        }
        EXPECT_EQ(ReadRaw(&m_Dst, i, 0), want)
            << (bSystem ? "software" : "device") << " level " << nLevel << " pixel " << i;
      }
    }
  }
}

TEST_P(cTintTransTest, DirectDrawTranslucencyOntoTheKeyTakesTheSource) {
  if (IsD3D() || Bpp() == 8) GTEST_SKIP() << "the key of the direct-colour DirectDraw screens";
  MakeSource(false);
  Blank(m_Dst, 4, 1);
  Fill(&m_Dst, Key());
  ASSERT_TRUE(DDBltHalfTrans(&m_Dst, 0, 0, 4, 1, &m_Src, 0, 0, 1, nullptr));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadRaw(&m_Dst, i, 0), ReadRaw(&m_Src, i, 0)) << i;
}

TEST_P(cTintTransTest, SixteenBitFullScreenBackBufferMixesGreenInSixBits) {
  if (!IsD3D() || Bpp() != 16 || GetParam().bWindow) GTEST_SKIP() << "the 5-6-5 back buffer";
  Blank(m_Src, 2, 1, true);
  Poke(&m_Src, 0, 0, Raw(31, 31, 0));
  Poke(&m_Src, 1, 0, 0x2000 | (Raw(0, 10, 20) & 0x7FFF));  // bit 13 alone counts as opaque
  Poke(&BackBuffer, 0, 0, Pack565(1, 63, 3));
  Poke(&BackBuffer, 1, 0, Pack565(0, 0, 0));
  ASSERT_TRUE(DDBltHalfTrans(&BackBuffer, 0, 0, 2, 1, &m_Src, 0, 0, 1, nullptr));
  // Green: (2 x 31 + 63) >> 1 = 62, kept in six bits.
  EXPECT_EQ(ReadRaw(&BackBuffer, 0, 0), Pack565((31 + 1) >> 1, 62, (0 + 3) >> 1));
  // Bit 13 lies in the red field: the texel's red is 8.
  EXPECT_EQ(ReadRaw(&BackBuffer, 1, 0), Pack565((8 + 0) >> 1, 10, 10));
  // The tint writes its texture channels with green doubled.
  ASSERT_TRUE(DDBltTint(&BackBuffer, 0, 0, 1, 1, &m_Src, 0, 0, 1, nullptr, nullptr, kTintEntry, 1));
  EXPECT_EQ(ReadRaw(&BackBuffer, 0, 0), Pack565((31 + 0) >> 1, ((31 + 0) >> 1) * 2, (0 + 31) >> 1));
}

TEST_P(cTintTransTest, ColourOverlayIsDrawnByTheDeviceOnly) {
  Fill(&BackBuffer, Bpp() == 8 ? 5 : Under() & 0xFFFFFF);
  const uint32_t before = ReadRaw(&BackBuffer, 3, 3);
  struct {
    int nAlpha;
    int x;
  } const cases[] = {{255, 0}, {0, 10}, {128, 20}};
  for (const auto& c : cases) {
    EXPECT_EQ(DDChangeColor(&BackBuffer, c.x, 0, 8, 8, c.nAlpha, 255, 128, 0), 1);
    uint32_t want = before;
    if (IsD3D()) {
      const ePixelFormat f = g_DD.lpDTCon->BackBufferFormat;
      const uint32_t d = PixelToArgb(before, f);
      const int a = 255 - c.nAlpha;
      want = ArgbToPixel(MakeArgb(255, LerpChannel(255, GetR(d), a), LerpChannel(128, GetG(d), a),
                                  LerpChannel(0, GetB(d), a)),
                         f);
    }
    EXPECT_EQ(ReadRaw(&BackBuffer, c.x + 3, 3), want) << "alpha " << c.nAlpha;
  }
  if (!IsD3D()) {
    EXPECT_NE(DebugLogText().find("未対応"), std::string::npos);
  }
}

TEST_P(cTintTransTest, MirroredSharingRecordFacesTheOtherWayInPlace) {
  if (!IsD3D()) GTEST_SKIP() << "sharing records are Direct3D's";
  for (bool bSystem : {false, true}) {
    DDSURFACEDATA owner, mirrored;
    Blank(owner, 8, 1, bSystem);
    for (int i = 0; i < 8; ++i) Poke(&owner, i, 0, Raw(i + 1, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&mirrored, 8, 1, 1, 0, 0, 1, 0));
    mirrored.lpShareSD = &owner;
    mirrored.nMirrorWidth = 8;
    Blank(m_Dst, 12, 1);
    ASSERT_TRUE(DDBltTrans(&m_Dst, 2, 0, 8, 1, &mirrored, 0, 0, 0, nullptr, 0));
    for (int i = 0; i < 8; ++i) {
      int r, g, b;
      Channels(ReadRaw(&m_Dst, 2 + i, 0), r, g, b);
      EXPECT_EQ(r, bSystem ? ((8 - i) + 0) >> 1 : 8 - i)
          << (bSystem ? "software " : "device ") << i;
    }
    EXPECT_EQ(ReadRaw(&m_Dst, 1, 0) & 0xFFFFFF, 0u);
    DDReleaseSurface(&mirrored);
    DDReleaseSurface(&owner);
    DDReleaseSurface(&m_Dst);
  }
}

TEST_P(cTintTransTest, RectanglesReachingPastTheSurfacesDrawOnlyWhatLiesOnBoth) {
  MakeSource(!IsD3D() ? false : true);
  Blank(m_Dst, 4, 1);
  struct {
    int x, sx, w;
  } const cases[] = {{-2, 0, 4}, {0, -2, 6}, {2, 1, 100}, {0, 0, 0}, {0, 4, 4}};
  for (const auto& c : cases) {
    Fill(&m_Dst, Under());
    EXPECT_TRUE(
        DDBltTint(&m_Dst, c.x, 0, c.w, 1, &m_Src, c.sx, 0, 0, nullptr, nullptr, kTintEntry, 9));
    EXPECT_TRUE(DDBltTrans(&m_Dst, c.x, 0, c.w, 1, &m_Src, c.sx, 0, 0, nullptr, 0));
    for (int i = 0; i < 4; ++i) {
      const int64_t k = int64_t(i) - c.x, s = c.sx + k;
      const bool bTouched = k >= 0 && k < c.w && s >= 0 && s < 4;
      if (bTouched) continue;
      EXPECT_EQ(ReadRaw(&m_Dst, i, 0), Under()) << c.x << "," << c.sx << " at " << i;
    }
  }
  // One surface on both sides of a software effect cannot be locked twice.
  if (!IsD3D()) {
    EXPECT_FALSE(DDBltTint(&m_Src, 0, 0, 4, 1, &m_Src, 0, 0, 0, nullptr, nullptr, kTintEntry, 1));
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, cTintTransTest, testing::ValuesIn(kModes), ModeName);

// ---- The blend table and the palette variants ----------------------------

class cBlendTableTest : public testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override {
    ShutDown();
    plat::fs::SetCurrentDirectory(m_strOldDir);
    DDSetSurfaceName(g_ImageTable[0].szFileName, "");
  }
  void Start(int bDirect3D, int nBpp) { ASSERT_TRUE(InitMode({"", bDirect3D, nBpp, 0})); }
  std::string Table(const std::string& strName, size_t nBytes, uint8_t byFirst) {
    const std::string strPath = TempDir() + "/" + strName;
    std::filesystem::create_directories(std::filesystem::path(strPath).parent_path());
    std::string bytes(nBytes, '\0');
    for (size_t i = 0; i < nBytes; ++i) bytes[i] = char(uint8_t(byFirst + i * 13));
    std::ofstream(strPath, std::ios::binary).write(bytes.data(), std::streamsize(nBytes));
    return strPath;
  }
  std::string m_strOldDir = plat::fs::GetCurrentDirectory();
};

TEST_F(cBlendTableTest, OnlyAWholeTableIsTaken) {
  Start(0, 8);
  g_BlendTable.fill(7);
  struct {
    const char* szName;
    size_t nBytes;
    bool bOk;
  } const cases[] = {{"short.dat", 65535, false},
                     {"long.dat", 65537, false},
                     {"empty.dat", 0, false},
                     {"whole.dat", 65536, true}};
  for (const auto& c : cases) {
    const std::string strPath = Table(c.szName, c.nBytes, 3);
    EXPECT_EQ(DDLoadBlendTable(g_BlendTable, strPath.c_str()), c.bOk) << c.szName;
    EXPECT_EQ(g_BlendTable[1], c.bOk ? uint8_t(3 + 13) : 7) << c.szName;
  }
  EXPECT_FALSE(DDLoadBlendTable(g_BlendTable, (TempDir() + "/missing.dat").c_str()));
  EXPECT_FALSE(DDLoadBlendTable(g_BlendTable, nullptr));
}

TEST_F(cBlendTableTest, Direct3DNeedsNoTable) {
  Start(1, 32);
  EXPECT_TRUE(DDLoadBlendTable(g_BlendTable, (TempDir() + "/missing.dat").c_str()));
  EXPECT_TRUE(LoadHbtPalette(3));
}

TEST_F(cBlendTableTest, PaletteVariantsLoadTheirTableAndTurnTheBlocks) {
  Start(0, 8);
  // The palette picture: entry k is the colour k, k, k.
  BMPPICTURE pal;
  pal.nWidth = 16;
  pal.nHeight = 24;
  pal.nBitCount = 8;
  pal.Pixels.assign(16 * 24, 0);
  for (int k = 0; k < 256; ++k) pal.Table.push_back(uint32_t(k) * 0x010101u);
  const std::string strPal = WriteBmp("palette.bmp", pal);
  DDSetSurfaceName(g_ImageTable[0].szFileName, strPal.c_str());
  ASSERT_TRUE(plat::fs::SetCurrentDirectory(TempDir()));
  Table("bmp/hbt/hbt03.dat", 65536, 1);
  Table("bmp/hbt/hbt12.dat", 65536, 2);
  ASSERT_TRUE(LoadHbtPalette(3));
  EXPECT_EQ(g_BlendTable[1], uint8_t(1 + 13));
  struct {
    int nEntry, nShows;
  } const three[] = {{16, 64}, {31, 79}, {192, 48}, {207, 63}, {15, 15}, {208, 208}};
  for (const auto& c : three) {
    EXPECT_EQ(g_DD.ProgramPalette[size_t(c.nEntry)].byRed, c.nShows) << c.nEntry;
    EXPECT_EQ(g_DD.DisplayPalette[size_t(c.nEntry)].byRed, c.nShows) << c.nEntry;
    EXPECT_EQ(g_DD.lpDDPalette->GetEntry(c.nEntry).byRed, c.nShows) << c.nEntry;
  }
  ASSERT_TRUE(LoadHbtPalette(12));
  for (int nEntry : {16, 100, 207})
    EXPECT_EQ(g_DD.ProgramPalette[size_t(nEntry)].byRed, 16 + nEntry % 16);
  // A variant without its table is refused and says which file.
  g_DD.ProgramPalette[20].byRed = 99;
  EXPECT_FALSE(LoadHbtPalette(5));
  EXPECT_EQ(g_DD.ProgramPalette[20].byRed, 99);
  EXPECT_NE(GetLastErrorBoxText().find("bmp\\hbt\\hbt05.dat"), std::string::npos);
}

}  // namespace
