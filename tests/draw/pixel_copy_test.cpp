// Bitmap copies into surfaces (the 16-bit key conversion, row padding,
// per-frame mirroring, size checks), the palette picture and the key read
// from a picture.
#include <gtest/gtest.h>

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"

using namespace drawtest;

namespace {

class cPixelCopyTest : public testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override { ShutDown(); }
};

TEST_F(cPixelCopyTest, SixteenBitCopyTurnsTheKeyTransparentAndMovesLookalikesOff) {
  ASSERT_TRUE(InitMode(kModes[1]));
  g_DD.lpDDCon->rgbTransmit16 = {255, 0, 255};
  DDSetTransmit(255, 0, 255);
  EXPECT_EQ(g_DD.dwColorKey, 0xF81Fu);
  EXPECT_NE(DebugLogText().find(
                "※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！"),
            std::string::npos);
  BMPPICTURE pic;
  pic.nWidth = 3;
  pic.nHeight = 1;
  pic.Pixels = {0xFF00FF, 0xFF03FF, 0x00FF00};  // the key, a lookalike, green
  DDSURFACEDATA sd;
  ASSERT_EQ(DDCreateSurfaceFromFile(&sd, WriteBmp("k.bmp", pic).c_str(), 1, 16, 0, 0, nullptr, 0, 0,
                                    0, 0),
            0);
  EXPECT_EQ(ReadRaw(&sd, 0, 0), 0xF81Fu);
  EXPECT_EQ(ReadRaw(&sd, 1, 0), 0xF81Eu);  // blue at its maximum: one step down
  EXPECT_EQ(ReadRaw(&sd, 2, 0), 0x07E0u);
  DDFillSurface(&BackBuffer, 0);
  DDBlt(&BackBuffer, 0, 0, 3, 1, &sd, 0, 0, 1);
  EXPECT_EQ(ReadRaw(&BackBuffer, 0, 0), PalNumToRGB(0));  // left out
  EXPECT_EQ(ReadRaw(&BackBuffer, 1, 0), 0xF81Eu);         // still visible
}

TEST_F(cPixelCopyTest, PaddedRowsLoadWithoutSkewInEveryMode) {
  BMPPICTURE pic;
  pic.nWidth = 250;  // 24-bit rows padded to 752 bytes
  pic.nHeight = 3;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 250; ++x)
      pic.Pixels.push_back(uint32_t(x) << 16 | uint32_t(y * 80) << 8 | 0x40);
  for (const DRAWMODE& mode : {kModes[2], kModes[5]}) {
    SCOPED_TRACE(mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, WriteBmp("wide.bmp", pic).c_str(), 0, 32, 0, 0, nullptr,
                                      0, 0, 0, 0),
              0);
    for (int y = 0; y < 3; ++y)
      for (int x : {0, 1, 128, 249})
        EXPECT_EQ(ReadRgb(&sd, x, y), pic.Pixels[size_t(y) * 250 + x]) << x << "," << y;
    DDReleaseSurface(&sd);
    ShutDown();
  }
}

TEST_F(cPixelCopyTest, SheetsMirrorFrameByFrame) {
  // 96 x 2, frames of 32: column x has its own green; blue keeps every
  // colour off the (black) key.
  BMPPICTURE pic;
  pic.nWidth = 96;
  pic.nHeight = 2;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 96; ++x) pic.Pixels.push_back(uint32_t(2 * x + 2) << 8 | 0x80);
  EXPECT_EQ(DDMirrorCoord(0, 32), 31);
  EXPECT_EQ(DDMirrorCoord(33, 32), 62);
  EXPECT_EQ(DDMirrorCoord(95, 32), 64);
  EXPECT_EQ(DDMirrorCoord(7, 0), 7);
  for (const DRAWMODE& mode : {kModes[1], kModes[2], kModes[5]}) {
    SCOPED_TRACE(mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    const std::string strPath = WriteBmp("sheet.bmp", pic);
    DDSURFACEDATA sd;
    ASSERT_EQ(
        DDCreateSurfaceFromFile(&sd, strPath.c_str(), 0, mode.nBpp, 0, 0, nullptr, 0, 32, 0, 0), 0);
    EXPECT_EQ(sd.nMirrorWidth, 32);
    for (int x : {0, 31, 32, 63, 64, 95}) {
      const uint32_t c = pic.Pixels[size_t(DDMirrorCoord(x, 32))];
      // 24-bit pictures go into 16-bit surfaces as c * max / 255 per field.
      const uint32_t v16 = uint32_t(plat::gfx::ScaleChannelDown((c >> 8) & 255, 63)) << 5 |
                           uint32_t(plat::gfx::ScaleChannelDown(c & 255, 31));
      const uint32_t dwExpected =
          mode.nBpp == 16 ? plat::gfx::PixelToArgb(v16, plat::gfx::ePixelFormat::R5G6B5) & 0xFFFFFF
                          : c;
      EXPECT_EQ(ReadRgb(&sd, x, 1), dwExpected) << x;
    }
    DDReleaseSurface(&sd);
    ShutDown();
  }
}

TEST_F(cPixelCopyTest, CopyBitmapChecksTheSizeOnEveryPath) {
  for (const DRAWMODE& mode : {kModes[0], kModes[1], kModes[2]}) {
    SCOPED_TRACE(mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 4, 4, 0, 0, 0, 0, 0));
    BMPPICTURE big = SolidBmp(64, 64, 0xFFFFFF);
    if (mode.nBpp == 8) {
      big.nBitCount = 8;
      big.Table = {0, 0xFFFFFF};
      big.Pixels.assign(64 * 64, 1);
    }
    const std::string strPath = WriteBmp("big.bmp", big);
    EXPECT_TRUE(CopyBitmap(&sd, strPath.c_str(), mode.nBpp, 0, 0, 0));
    EXPECT_NE(DebugLogText().find("CopyBitmap Err " + strPath + " Surface(4,4) Bmp(64,64)"),
              std::string::npos);
    EXPECT_EQ(sd.nWidth, 4);
    EXPECT_EQ(ReadRaw(&sd, 3, 3), PalNumToRGB(0));
    DDReleaseSurface(&sd);
    ShutDown();
  }
}

TEST_F(cPixelCopyTest, BitmapSizeTestAndReload) {
  ASSERT_TRUE(InitMode(kModes[2]));
  const std::string strPath = WriteBmp("p.bmp", SolidBmp(10, 20, 0x336699));
  int bLarger = -1;
  EXPECT_EQ(DDIsBitmapLarger(&bLarger, strPath.c_str(), 10, 19), 1);
  EXPECT_EQ(bLarger, 1);
  EXPECT_EQ(DDIsBitmapLarger(&bLarger, strPath.c_str(), 10, 20), 1);
  EXPECT_EQ(bLarger, 0);
  EXPECT_EQ(DDIsBitmapLarger(&bLarger, "/nonexistent.bmp", 1, 1), 0);
  DDSURFACEDATA sd;
  ASSERT_EQ(DDCreateSurfaceFromFile(&sd, strPath.c_str(), 0, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
  DDFillSurface(&sd, 0);
  EXPECT_TRUE(DDReloadSurface(&sd, 32));
  EXPECT_EQ(ReadRgb(&sd, 5, 5), 0x336699u);
}

TEST_F(cPixelCopyTest, PalettePictureTableThenOpaqueBlock) {
  // An 8-bit 16 x 24 picture: table entry i = (i, 255 - i, 7); the block
  // pixel of entry k shows colour (k + 1) % 256; colour 0 is black, which
  // the load turns transparent (the key is still black).
  BMPPICTURE pal;
  pal.nWidth = 16;
  pal.nHeight = 24;
  pal.nBitCount = 8;
  for (int i = 0; i < 256; ++i)
    pal.Table.push_back(i == 0 ? 0 : uint32_t(i) << 16 | uint32_t(255 - i) << 8 | 7);
  pal.Pixels.assign(16 * 24, 1);
  for (int k = 0; k < 256; ++k)
    pal.Pixels[size_t(8 + k / 16) * 16 + k % 16] = uint32_t((k + 1) % 256);
  const std::string strPath = WriteBmp("pal.bmp", pal);
  ASSERT_TRUE(InitMode(kModes[5]));
  DDPALETTE p{};
  ASSERT_TRUE(DDLoadPaletteFromFile(p, strPath.c_str(), 0));
  for (int k : {0, 17, 254}) {
    const uint32_t c = pal.Table[size_t(k + 1)];
    EXPECT_EQ(p[size_t(k)].byRed, (c >> 16) & 255) << k;
    EXPECT_EQ(p[size_t(k)].byGreen, (c >> 8) & 255) << k;
  }
  EXPECT_EQ(p[255].byRed, 255);  // its block pixel is transparent: the table stays
  EXPECT_EQ(p[255].byFlags, 255);

  // A picture too small for the block: the table alone, no read past the end.
  BMPPICTURE small = pal;
  small.nHeight = 16;
  small.Pixels.resize(16 * 16);
  DDPALETTE q{};
  ASSERT_TRUE(DDLoadPaletteFromFile(q, WriteBmp("small.bmp", small).c_str(), 0));
  EXPECT_EQ(q[200].byRed, 200);
  EXPECT_FALSE(DDLoadPaletteFromFile(q, "/nonexistent.bmp", 0));
  ShutDown();

  // 16-bit DirectDraw keeps raw fields: white is (31, 63, 31).
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[1]));
  BMPPICTURE white = SolidBmp(16, 24, 0xFFFFFF);
  DDPALETTE r{};
  ASSERT_TRUE(DDLoadPaletteFromFile(r, WriteBmp("white.bmp", white).c_str(), 0));
  EXPECT_EQ(r[19].byRed, 31);
  EXPECT_EQ(r[19].byGreen, 63);
  EXPECT_EQ(r[19].byBlue, 31);
  r[5] = {31, 63, 0, 0};
  g_DD.ProgramPalette = r;
  EXPECT_EQ(PalNumToRGB(5), 0xFFE0u);
}

TEST_F(cPixelCopyTest, KeyFromTheFirstPixelMatchesTheSetKey) {
  const std::string strPath = WriteBmp("key.bmp", SolidBmp(2, 2, 0xFF0080));
  ASSERT_TRUE(InitMode(kModes[2]));
  DDSetTransmit(255, 0, 128);
  EXPECT_EQ(g_DD.dwColorKey, 0xFF0080u);
  g_DD.dwColorKey = 0;
  ASSERT_TRUE(DDSetTransmitFromFile(strPath.c_str()));
  EXPECT_EQ(g_DD.dwColorKey, 0xFF0080u);
  EXPECT_EQ(g_DD.lpDDCon->rgbTransmit.rgbtRed, 255);
  EXPECT_FALSE(DDSetTransmitFromFile("/nonexistent.bmp"));
  EXPECT_NE(DebugLogText().find("/nonexistent.bmp 作成失敗！"), std::string::npos);
  ShutDown();

  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[5]));
  ASSERT_TRUE(DDSetTransmitFromFile(strPath.c_str()));
  EXPECT_EQ(g_DD.lpDTCon->dwTransmitColor, 0xFFFF0080u);
  EXPECT_EQ(g_DD.lpDTCon->dwTransparent, 0u);
  EXPECT_EQ(g_DD.dwColorKey, 0u);
  ShutDown();

  // Direct3D 16-bit: fields of the texel; the clear colour widened to 8 bits.
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[3]));
  ASSERT_TRUE(DDSetTransmitFromFile(strPath.c_str()));
  EXPECT_EQ(g_DD.lpDTCon->rgbTransmit.rgbtRed, 31);
  EXPECT_EQ(g_DD.lpDTCon->rgbTransmit.rgbtBlue, 16);
  EXPECT_EQ(g_DD.lpDTCon->dwTransmitColor, 0xFF000000u | 255u << 16 | uint32_t(16 * 255 / 31));
  EXPECT_NE(DebugLogText().find("SetTrans(filename) lpDTCon->wTransmit_16 = (0)"),
            std::string::npos);
}

}  // namespace

namespace {

TEST_F(cPixelCopyTest, PaletteIndexMapNamesEachPixelsEntry) {
  // Entries 1..3 hold three colours; the picture shows them and the key.
  BMPPICTURE pic;
  pic.nWidth = 4;
  pic.nHeight = 1;
  pic.Pixels = {0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF};
  for (const DRAWMODE& mode : {kModes[2], kModes[3], kModes[5]}) {
    SCOPED_TRACE(mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    if (g_DD.lpDTCon) g_DD.lpDTCon->rgbTransmit16 = {255, 0, 255};
    DDSetTransmit(mode.nBpp == 16 ? 31 : 255, 0, mode.nBpp == 16 ? 31 : 255);
    g_DD.ProgramPalette[1] = {255, 0, 0, 0};
    g_DD.ProgramPalette[2] = {0, 255, 0, 0};
    g_DD.ProgramPalette[3] = {0, 0, 255, 0};
    g_DD.ProgramPalette[7] = {255, 0, 255, 0};
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, WriteBmp("m.bmp", pic).c_str(), 1, mode.nBpp, 0, 0,
                                      nullptr, 1, 0, 0, 0),
              0);
    const std::vector<uint8_t>& map = sd.lpDT ? sd.lpDT->lpPalIndex : sd.lpDDS->lpPalIndex;
    ASSERT_GE(map.size(), 4u);
    // The key pixel: transparent in Direct3D (index 0), its own entry in DirectDraw.
    EXPECT_EQ(map[0], mode.bDirect3D ? 0 : 7);
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[2], 2);
    EXPECT_EQ(map[3], 3);
    DDReleaseSurface(&sd);
    ShutDown();
  }
}

}  // namespace
