// The play scene's surfaces: the stage's background entries and the
// database's image groups with their load forms and shared sources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/database.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"
#include "stage/stage_surfaces.h"
#include "support/draw_setup.h"
#include "support/temp_folder.h"

namespace {

// A Direct3D context that knows the program's surface table, with the
// database and stage put back afterwards.
class PlayResources : public ::testing::Test {
 protected:
  void SetUp() override {
    m_SavedDb = Database;
    g_DD.lpSDTable = g_SurfaceTable;
    g_DD.lpImageTable = g_ImageTable;
    g_DD.nSurfaceNum = kBuiltInSurfaceCount;
  }
  void TearDown() override {
    for (DDSURFACEVECTOR* v : {&g_CharaBmpSurfaces, &g_SwordSurfaces, &g_EffectSurfaces}) {
      DDReleaseSurfaceVector(*v);
      v->clear();
    }
    g_CharaBmpImages.clear();
    g_SwordImages.clear();
    g_EffectImages.clear();
    for (int i = 0; i < kStageBackgrounds; ++i)
      DDReleaseSurface(&g_SurfaceTable[SURF_BACKGROUND + i]);
    g_DD.lpSDTable = nullptr;
    g_DD.lpImageTable = nullptr;
    g_DD.nSurfaceNum = 0;
    Database = m_SavedDb;
    g_Stage.Reset();
  }
  cTempFolder m_Dir{true};
  cHeadlessDrawing m_Drawing{1, 32};
  cDatabase m_SavedDb;
};

TEST_F(PlayResources, OnlyImageBackgroundsOfTheStageNameAnEntry) {
  g_Stage.m_vecBgs.resize(3);
  g_Stage.m_vecBgs[0].m_bFill = 0;
  g_Stage.m_vecBgs[0].m_strImage = "a.bmp";
  g_Stage.m_vecBgs[1].m_bFill = 1;
  g_Stage.m_vecBgs[1].m_strImage = "b.bmp";
  g_Stage.m_vecBgs[2].m_bFill = 0;
  g_Stage.m_vecBgs[2].m_strImage = "c.bmp";
  {
    cPlayScene scene;
    // The pictures are optional: missing ones are no failure.
    EXPECT_EQ(scene.LoadBackgroundBitmaps(), 1);
  }
  const std::vector<std::string> expected = {"a.bmp", "", "c.bmp", "", "", "", "", ""};
  for (int i = 0; i < kStageBackgrounds; ++i) {
    EXPECT_EQ(std::string(g_ImageTable[SURF_BACKGROUND + i].szFileName), expected[i]) << i;
    EXPECT_EQ(g_SurfaceTable[SURF_BACKGROUND + i].nWidth, 0) << i;
  }
}

TEST_F(PlayResources, DatabaseImagesAreLoadedInFormsThatShareTheirFirst) {
  Database.m_vecBmpCharaExc.resize(3);
  Database.m_vecBmpCharaExc[1].m_strFile = "one.bmp";
  Database.m_vecBmpCharaExc[2].m_strFile = "two.bmp";
  Database.m_vecBmpCharaExc[2].m_bWideFrame = 1;
  Database.m_vecBmpCharaExc[2].m_nFrameUnits = 3;
  Database.m_vecSwordType.resize(2);
  Database.m_vecSwordType[1].m_strFileRight = "r.bmp";
  Database.m_vecSwordType[1].m_strFileLeft = "l.bmp";
  Database.m_vecEffect.resize(3);
  {
    cPlayScene scene;
    scene.LoadCharaBitmaps();
    scene.LoadSwordImages();
    scene.LoadEffectImages();
    scene.LoadCharaBitmaps();  // again: the group starts over
  }
  struct Group {
    DDSURFACEVECTOR& surfaces;
    DDIMAGEVECTOR& images;
    size_t nSize;
    std::vector<int> vMirror, vMemory, vShare;  // per form of the last entry
  };
  const Group groups[] = {
      {g_CharaBmpSurfaces, g_CharaBmpImages, 8, {0, 96, 0, 96}, {0, 0, 1, 1}, {-1, 0, 0, 0}},
      {g_SwordSurfaces, g_SwordImages, 8, {0, 0, 0, 0}, {0, 0, 1, 1}, {-1, -1, 0, 1}},
      {g_EffectSurfaces, g_EffectImages, 4, {0, 0}, {0, 1}, {-1, 0}},
  };
  for (const Group& g : groups) {
    ASSERT_EQ(g.surfaces.size(), g.nSize);
    ASSERT_EQ(g.images.size(), g.nSize);
    const size_t nForms = g.vMirror.size();
    const size_t nFirst = g.nSize - nForms;
    for (size_t k = 0; k < nForms; ++k) {
      EXPECT_EQ(g.images[nFirst + k].nMirrorWidth, g.vMirror[k]) << k;
      EXPECT_EQ(g.images[nFirst + k].nMemory, g.vMemory[k]) << k;
      EXPECT_EQ(g.images[nFirst + k].bColorKey, 1) << k;
      const DDSURFACEDATA* pShare = g.surfaces[nFirst + k].lpShareSD;
      EXPECT_EQ(pShare, g.vShare[k] < 0 ? nullptr : &g.surfaces[nFirst + size_t(g.vShare[k])]) << k;
    }
  }
  EXPECT_EQ(std::string(g_CharaBmpImages[0].szFileName), "one.bmp");
  EXPECT_EQ(std::string(g_SwordImages[5].szFileName), "l.bmp");
}

}  // namespace

namespace {

// The stage's backgrounds on a 32-bit DirectDraw screen.
class PlayBackgrounds : public ::testing::Test {
 protected:
  void SetUp() override {
    cHeadlessDrawing::SetColours({{16, 0x102030}, {5, 0xFF0000}, {6, 0x00FF00}, {7, 0x0000FF}});
    g_Stage.Reset();
    g_Stage.m_vecBgs.clear();
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[SURF_BACKGROUND]);
    DDReleaseSurface(&g_SurfaceTable[SURF_BACKGROUND + 1]);
    g_Stage.Reset();
  }
  // Picture k: 64 x 32, its left half colour a and its right half colour b.
  static void Picture(int k, int a, int b) {
    DDSURFACEDATA* p = &g_SurfaceTable[SURF_BACKGROUND + k];
    ASSERT_TRUE(DDCreateSurface(p, 64, 32, 1, 0, 0, 0, 0));
    DDFillRect(p, 0, 0, 32, 32, uint32_t(a));
    DDFillRect(p, 32, 0, 32, 32, uint32_t(b));
    cStageBg bg;
    bg.m_bFill = 0;
    bg.m_dFactorX = bg.m_dFactorY = 1;
    g_Stage.m_vecBgs.push_back(bg);
  }
  static uint32_t At(int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); }
  cHeadlessDrawing m_Drawing{0, 32};
};

TEST_F(PlayBackgrounds, PicturesAreTiledFromTheCameraAndOnlyTheFirstCoversWhole) {
  cPlayScene scene;
  scene.m_ScrollX.m_dPos = 330;  // 10 pixels right of the start
  scene.m_ScrollY.m_dPos = 320;
  // Nothing enabled: the screen's colour.
  g_Stage.m_vecBgs.resize(1);
  g_Stage.m_vecBgs[0].m_bShown = 0;
  scene.DrawBackgrounds(&BackBuffer, 0);
  EXPECT_EQ(At(0, 0), 0x102030u);
  EXPECT_EQ(At(639, 479), 0x102030u);
  g_Stage.m_vecBgs.clear();

  Picture(0, 5, 6);
  scene.DrawBackgrounds(&BackBuffer, 0);
  // Source column 10 at the left edge; the right half from x 22; the next
  // tile from x 54; rows repeat every 32.
  const struct {
    int x, y;
    uint32_t c;
  } px[] = {{0, 0, 0xFF0000},   {21, 0, 0xFF0000},   {22, 0, 0x00FF00},
            {53, 40, 0x00FF00}, {54, 479, 0xFF0000}, {639, 479, 0xFF0000}};
  for (const auto& p : px) EXPECT_EQ(At(p.x, p.y), p.c) << p.x << "," << p.y;

  // A second picture whose right half is the key: the first shows through.
  Picture(1, 7, 0);
  scene.DrawBackgrounds(&BackBuffer, 0);
  EXPECT_EQ(At(0, 0), 0x0000FFu);
  EXPECT_EQ(At(22, 0), 0x00FF00u);
}

}  // namespace
