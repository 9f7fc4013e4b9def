// The per-frame check of lost DirectDraw surfaces and the restore of the
// program's collections and the fonts' digit sheets.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <vector>

#include "draw/device_restore.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/surfaces.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"
#include "scenes/menu_surfaces.h"
#include "scenes/scene_manager.h"
#include "tests/platform/gfx/bmp_builder.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::pair<DDSURFACEDATA*, int>> g_Rendered;

class SurfaceRecoveryTest : public testing::Test {
 protected:
  void SetUp() override {
    plat::gfx::ClearAllFaults();
    plat::gfx::SetDisplayConfig({});
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
    m_strPicture = WritePicture("picture.bmp");
    m_strGone = WritePicture("gone.bmp");
    g_Rendered.clear();
  }
  void TearDown() override {
    DDSetFontRestore({});
    for (DDSURFACEDATA* sd : {&m_Picture, &m_Blank, &m_Gone, &m_System}) DDReleaseSurface(sd);
    DDReleaseAll();
    for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &SystemWorkSD}) DDZeroSurface(sd);
    g_DD.bInitialized = 0;
  }
  // A 4 x 4 24-bit picture of one colour.
  std::string WritePicture(const char* szName) {
    plat::gfx::test::cBmpBuilder b;
    b.nWidth = 4;
    b.nHeight = 4;
    for (int i = 0; i < 16; ++i) b.pixels.insert(b.pixels.end(), {0x40, 0x80, 0xC0});
    const std::vector<uint8_t> bytes = b.Build();
    const std::string strPath = m_Folder.Path() + "/" + szName;
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return strPath;
  }
  void MakeSurfaces() {
    ASSERT_EQ(
        DDCreateSurfaceFromFile(&m_Picture, m_strPicture.c_str(), 1, 16, 0, 0, nullptr, 0, 0, 0, 0),
        0);
    ASSERT_TRUE(DDCreateSurface(&m_Blank, 4, 4, 1, 0, 0, 0, 0));
    ASSERT_EQ(DDCreateSurfaceFromFile(&m_Gone, m_strGone.c_str(), 1, 16, 0, 0, nullptr, 0, 0, 0, 0),
              0);
    ASSERT_EQ(
        DDCreateSurfaceFromFile(&m_System, m_strPicture.c_str(), 1, 16, 1, 0, nullptr, 0, 0, 0, 0),
        0);
    std::filesystem::remove(m_strGone);
  }
  static uint16_t Pixel(DDSURFACEDATA& sd) {
    return uint16_t(sd.lpDDS->lpDDSurface->ReadPixel(1, 1));
  }
  static bool IsLost(DDSURFACEDATA& sd) { return sd.lpDDS->lpDDSurface->IsLost(); }

  cTempFolder m_Folder;
  std::string m_strPicture, m_strGone;
  DDSURFACEDATA m_Picture, m_Blank, m_Gone, m_System;
};

TEST_F(SurfaceRecoveryTest, EachLostSurfaceIsRestoredAndItsPictureLoadedAgain) {
  MakeSurfaces();
  const uint16_t picture = Pixel(m_Picture);
  ASSERT_NE(picture, 0);
  g_DD.lpDD->LoseSurfaces();
  EXPECT_TRUE(g_SceneManager.RestoreOneSurface(m_Picture));
  EXPECT_EQ(Pixel(m_Picture), picture);
  EXPECT_EQ(m_Picture.bLost, 1);
  // A blank surface has no file: its owner draws it again.
  EXPECT_TRUE(g_SceneManager.RestoreOneSurface(m_Blank));
  EXPECT_EQ(m_Blank.bLost, 1);
  EXPECT_FALSE(IsLost(m_Blank));
  // A picture whose file is gone cannot come back.
  EXPECT_FALSE(g_SceneManager.RestoreOneSurface(m_Gone));
  // System memory is never lost.
  EXPECT_TRUE(g_SceneManager.RestoreOneSurface(m_System));
  EXPECT_EQ(m_System.bLost, 0);
  EXPECT_EQ(Pixel(m_System), picture);
}

TEST_F(SurfaceRecoveryTest, ACollectionStopsAtItsFirstFailure) {
  MakeSurfaces();
  g_DD.lpDD->LoseSurfaces();
  std::vector<DDSURFACEDATA*> records{&m_Picture, &m_Gone, &m_Blank};
  EXPECT_FALSE(g_SceneManager.RestoreSurfaceVector(records));
  EXPECT_FALSE(IsLost(m_Picture));
  EXPECT_TRUE(IsLost(m_Blank));
  std::deque<DDSURFACEDATA> none;
  EXPECT_TRUE(g_SceneManager.RestoreSurface(none));
}

TEST_F(SurfaceRecoveryTest, DigitSheetsInVideoMemoryAreDrawnAgainWithTheirFont) {
  DDSURFACEDATA sheets[3];
  ASSERT_TRUE(DDCreateSurface(&sheets[0], 40, 10, 1, 0, 0, 0, 0));
  ASSERT_TRUE(DDCreateSurface(&sheets[1], 40, 10, 1, 0, 0, 0, 0));
  ASSERT_TRUE(DDCreateSurface(&sheets[2], 40, 10, 1, 1, 0, 0, 0));
  g_DD.lpDD->LoseSurfaces();
  EXPECT_TRUE(g_SceneManager.RestoreFontSurfaces(sheets, 3));  // no fonts yet: restored only
  EXPECT_FALSE(sheets[0].lpDDS->lpDDSurface->IsLost());
  DDSetFontRestore({nullptr, nullptr, [](DDSURFACEDATA* lpSheet, int nFont) {
                      g_Rendered.push_back({lpSheet, nFont});
                    }});
  g_DD.lpDD->LoseSurfaces();
  EXPECT_TRUE(g_SceneManager.RestoreFontSurfaces(sheets, 3));
  EXPECT_EQ(g_Rendered,
            (std::vector<std::pair<DDSURFACEDATA*, int>>{{&sheets[0], 0}, {&sheets[1], 1}}));
  for (DDSURFACEDATA& sd : sheets) DDReleaseSurface(&sd);
}

TEST_F(SurfaceRecoveryTest, TheFrameCheckRestoresTheScreenWhenItWasLost) {
  MakeSurfaces();
  ASSERT_TRUE(DDCreateSurface(&g_NumberSheet[2], 40, 10, 1, 0, 0, 0, 0));
  DDSetFontRestore({nullptr, nullptr, [](DDSURFACEDATA* lpSheet, int nFont) {
                      g_Rendered.push_back({lpSheet, nFont});
                    }});
  EXPECT_TRUE(g_SceneManager.CheckLostSurface());
  plat::gfx::FailNext(plat::gfx::eFaultPoint::Flip, plat::gfx::eGfxResult::SurfaceLost);
  DDFlipOrBltToScreen(1);
  ASSERT_TRUE(PrimarySD.lpDDS->lpDDSurface->IsLost());
  EXPECT_TRUE(g_SceneManager.CheckLostSurface());
  EXPECT_FALSE(PrimarySD.lpDDS->lpDDSurface->IsLost());
  EXPECT_FALSE(BackBuffer.lpDDS->lpDDSurface->IsLost());
  // The program's digit sheets are drawn again with their fonts.
  EXPECT_EQ(g_Rendered, (std::vector<std::pair<DDSURFACEDATA*, int>>{{&g_NumberSheet[2], 2}}));
  DDReleaseSurface(&g_NumberSheet[2]);
}

TEST_F(SurfaceRecoveryTest, TheMenusWorkSurfacesComeBackBlankForTheirScenesToCompose) {
  MakeSurfaces();
  DDSURFACEDATA* pBox = CreateMenuSurface(32, 32, 1);
  ASSERT_NE(pBox, nullptr);
  g_DD.lpDD->LoseSurfaces();
  ASSERT_TRUE(PrimarySD.lpDDS->lpDDSurface->IsLost());
  EXPECT_TRUE(g_SceneManager.CheckLostSurface());
  EXPECT_FALSE(IsLost(*pBox));
  EXPECT_EQ(pBox->bLost, 1);
  ReleaseMenuSurfaces();
  EXPECT_TRUE(g_MenuSurfaces.empty());
}

}  // namespace
