// Losing the device (Direct3D) or the video-memory surfaces (DirectDraw)
// through the engine's fault hooks, and getting every picture back: the
// frame drawn after the restore equals the frame before the loss; blank
// surfaces come back in the key colour with bLost set; system memory keeps
// its contents; the texture list is made again in its order.
#include "draw/device_restore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/palette_key.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "platform/gfx/fault_hooks.h"

using namespace drawtest;
using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;

namespace {

std::vector<std::string> g_FontCalls;

// The table of the test: a picture in video memory, a blank surface in
// video memory, a picture and a blank surface in system memory.
enum { PICTURE, BLANK, SYSTEM_PICTURE, SYSTEM_BLANK, TABLE_SIZE };

class cRestoreTest : public testing::TestWithParam<DRAWMODE> {
 protected:
  void SetUp() override {
    ResetPlatform();
    ASSERT_TRUE(InitMode(GetParam(), m_Table, TABLE_SIZE));
    g_FontCalls.clear();
    DDSetFontRestore(
        {[] { g_FontCalls.push_back("lost"); }, [] { g_FontCalls.push_back("restore"); }, nullptr});
    BMPPICTURE pal;
    pal.nWidth = 16;
    pal.nHeight = 24;
    pal.nBitCount = 8;
    pal.Pixels.assign(16 * 24, 0);
    for (int k = 0; k < 256; ++k) {
      pal.Table.push_back(k == 0 ? 0xFF00FF : uint32_t(k * 0x010305));
      pal.Pixels[size_t(8 + k / 16) * 16 + k % 16] = uint32_t(k);
    }
    const std::string strPal = WriteBmp("palette.bmp", pal);
    ASSERT_TRUE(DDLoadPaletteFromFile(g_DD.ProgramPalette, strPal.c_str(), 0));
    ASSERT_TRUE(DDSetTransmitFromFile(strPal.c_str()));
    g_DD.DisplayPalette = g_DD.ProgramPalette;
    // A 24 x 16 picture of stripes with the key in one corner.
    BMPPICTURE pic = pal;
    pic.nWidth = 24;
    pic.nHeight = 16;
    pic.Pixels.assign(24 * 16, 0);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 24; ++x) pic.Pixels[size_t(y) * 24 + x] = x < 4 && y < 4 ? 0 : 20 + x + y;
    m_strPicture = WriteBmp("picture.bmp", pic);
    const int nBpp = GetParam().nBpp;
    ASSERT_EQ(DDCreateSurfaceFromFile(&m_Table[PICTURE], m_strPicture.c_str(), 1, nBpp, 0, 0,
                                      nullptr, 0, 0, 0, 0),
              0);
    ASSERT_TRUE(DDCreateSurface(&m_Table[BLANK], 24, 16, 1, 0, 0, 0, 0));
    ASSERT_EQ(DDCreateSurfaceFromFile(&m_Table[SYSTEM_PICTURE], m_strPicture.c_str(), 1, nBpp, 1,
                                      DTMEMORYTYPE_SYSTEM, nullptr, 0, 0, 0, 0),
              0);
    ASSERT_TRUE(DDCreateSurface(&m_Table[SYSTEM_BLANK], 24, 16, 1, 1, DTMEMORYTYPE_SYSTEM, 0, 0));
  }
  void TearDown() override {
    DDSetFontRestore({});
    for (DDSURFACEDATA& sd : m_Table) DDReleaseSurface(&sd);
    ShutDown();
  }
  bool IsD3D() const { return GetParam().bDirect3D != 0; }

  // The frame: the screen filled, the pictures blitted with and without
  // the key.
  void DrawFrame() {
    DDFillSurface(&BackBuffer, 7);
    DDBlt(&BackBuffer, 10, 10, 24, 16, &m_Table[PICTURE], 0, 0, 1);
    DDBlt(&BackBuffer, 40, 10, 24, 16, &m_Table[PICTURE], 0, 0, 0);
    DDBlt(&BackBuffer, 70, 10, 24, 16, &m_Table[SYSTEM_PICTURE], 0, 0, 1);
  }
  std::vector<uint32_t> Frame() {
    std::vector<uint32_t> px;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x) px.push_back(ReadRaw(&BackBuffer, x, y));
    return px;
  }
  // The device or the video-memory surfaces lost at the end of a frame.
  void LoseAtPresent() {
    if (IsD3D()) {
      plat::gfx::FailNext(eFaultPoint::Present, eGfxResult::DeviceLost);
      EXPECT_EQ(DDPresent(60, 0, 0), 0);
    } else {
      plat::gfx::FailNext(eFaultPoint::Flip, eGfxResult::SurfaceLost);
      DDFlipOrBltToScreen(1);
    }
  }

  DDSURFACEDATA m_Table[TABLE_SIZE];
  std::string m_strPicture;
};

TEST_P(cRestoreTest, TheFrameAfterTheRestoreEqualsTheFrameBeforeTheLoss) {
  DrawFrame();
  const std::vector<uint32_t> before = Frame();
  // Marks the restore must not touch: the system-memory blank keeps them.
  cSurfaceLock lock;
  ASSERT_TRUE(lock.Lock(&m_Table[SYSTEM_BLANK]));
  lock.m_lpBits[0] = 0x5A;
  lock.Unlock();
  LoseAtPresent();
  if (IsD3D()) {
    // Not resettable yet: nothing comes back, and drawing does nothing.
    EXPECT_EQ(DDRestoreSurface(), 0);
    EXPECT_NE(DebugLogText().find("復旧失敗"), std::string::npos);
    EXPECT_EQ(m_Table[PICTURE].lpDT->lpTexture, nullptr);
    EXPECT_NE(m_Table[SYSTEM_PICTURE].lpDT->lpTexture, nullptr);
    DrawFrame();
    g_DD.lpDevice->MakeResettable();
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_EQ(g_FontCalls, (std::vector<std::string>{"lost", "lost", "restore"}));
  } else {
    // As during a fade: the screen shows another palette than the program's.
    g_DD.DisplayPalette[3] = {1, 2, 3, 0};
    EXPECT_TRUE(DDRestore());
    EXPECT_EQ(g_FontCalls, (std::vector<std::string>{"restore"}));
    if (GetParam().nBpp == 8) {
      EXPECT_EQ(g_DD.lpDDPalette->GetEntry(3).byBlue, 3);
    }
  }
  EXPECT_EQ(m_Table[PICTURE].bLost, 0);
  EXPECT_EQ(m_Table[BLANK].bLost, 1);
  EXPECT_EQ(m_Table[SYSTEM_PICTURE].bLost, 0);
  EXPECT_EQ(m_Table[SYSTEM_BLANK].bLost, IsD3D() ? 1 : 0);
  ASSERT_TRUE(lock.Lock(&m_Table[SYSTEM_BLANK]));
  EXPECT_EQ(lock.m_lpBits[0], 0x5A);
  lock.Unlock();
  if (IsD3D()) {
    // Blank render targets are back in the key colour.
    EXPECT_EQ(VirBackBuffer.bLost, 1);
    EXPECT_EQ(ReadRgb(&m_Table[BLANK], 3, 3),
              plat::gfx::PixelToArgb(plat::gfx::ArgbToPixel(g_DD.lpDTCon->dwTransmitColor,
                                                            g_DD.lpDTCon->TextureFormat),
                                     g_DD.lpDTCon->TextureFormat) &
                  0xFFFFFF);
  }
  DrawFrame();
  EXPECT_EQ(Frame(), before);
}

TEST_P(cRestoreTest, NothingLostNothingDone) {
  const plat::gfx::cImage* pBefore =
      IsD3D() ? m_Table[PICTURE].lpDT->lpTexture.get() : m_Table[PICTURE].lpDDS->lpDDSurface.get();
  if (IsD3D()) {
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_EQ(m_Table[PICTURE].lpDT->lpTexture.get(), pBefore);
    EXPECT_TRUE(DDRestore());
    EXPECT_NE(DebugLogText().find("D3DではDDRestoreは未対応"), std::string::npos);
  } else {
    EXPECT_TRUE(DDRestore());
    EXPECT_EQ(m_Table[PICTURE].lpDDS->lpDDSurface.get(), pBefore);
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_NE(DebugLogText().find("DDではDDRestoreSurfaceは未対応"), std::string::npos);
  }
  EXPECT_TRUE(g_FontCalls.empty());
}

TEST_P(cRestoreTest, TexturesComeBackInListOrderAndAFailureSkipsOnlyItsOwn) {
  if (!IsD3D()) GTEST_SKIP() << "the texture list is Direct3D's";
  const std::vector<DDSURFACEDATA*> order = TextureList;
  ASSERT_EQ(order.front(), &VirBackBuffer);
  LoseAtPresent();
  g_DD.lpDevice->MakeResettable();
  // The first texture made again fails; the others still come back.
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::Fail, 1);
  EXPECT_EQ(DDRestoreSurface(), 1);
  EXPECT_EQ(TextureList, order);
  EXPECT_EQ(VirBackBuffer.lpDT->lpTexture, nullptr);
  EXPECT_NE(WorkSD.lpDT->lpTexture, nullptr);
  EXPECT_NE(m_Table[PICTURE].lpDT->lpTexture, nullptr);
  EXPECT_NE(DebugLogText().find("Err"), std::string::npos);
  // A reset that fails leaves the device to a later request.
  LoseAtPresent();
  g_DD.lpDevice->MakeResettable();
  plat::gfx::FailNext(eFaultPoint::Reset, eGfxResult::Fail);
  EXPECT_EQ(DDRestoreSurface(), 0);
  EXPECT_EQ(DDRestoreSurface(), 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, cRestoreTest, testing::ValuesIn(kModes), ModeName);

}  // namespace
