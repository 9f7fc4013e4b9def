// Graphic sources: which surfaces and which cell a graphic of each sheet
// kind is drawn from, and what a number past its sheet gives.
#include "stage/sprite_source.h"

#include <gtest/gtest.h>

#include "database/database.h"
#include "draw/built_in_tables.h"
#include "palette/ed_block.h"
#include "stage/chara_obj.h"
#include "stage/stage_surfaces.h"
#include "support/draw_setup.h"

namespace {

DDSURFACEDATA* T(int n) { return &g_SurfaceTable[n]; }

class SpriteSources : public testing::Test {
 protected:
  void SetUp() override {
    // Sheets large enough for the cells asked for.
    for (int n : {4, 5, 6, 7, 22, 23, 24, 25}) {
      g_SurfaceTable[n].nWidth = 512;
      g_SurfaceTable[n].nHeight = 480;
    }
    Database.SetDefault();
  }
  void TearDown() override {
    for (int n : {4, 5, 6, 7, 22, 23, 24, 25})
      g_SurfaceTable[n].nWidth = g_SurfaceTable[n].nHeight = 0;
    Database.SetDefault();
    g_CharaBmpSurfaces.clear();
  }
};

TEST_F(SpriteSources, CellsAndSurfacesByKind) {
  cCharaObj left, right;
  right.m_nFacing = 1;
  struct {
    const char* szName;
    int nUse, nKind;
    int32_t k, a;
    const cObjRoot* pObj;
    int32_t b;
    DDSURFACEDATA *pFirst, *pSecond, *pOpp;
    int x, y;
  } cases[] = {
      {"block 17", SPRITEUSE_BLOCK, 0, 17, 0, nullptr, 0, T(2), T(3), T(2), 32, 64},
      {"character 16 facing left, shift 2, cell 3", SPRITEUSE_CHARA, 1, 16, 2, &left, 3, T(6),
       T(24), T(7), 160, 32},
      {"the same facing right", SPRITEUSE_CHARA, 1, 16, 2, &right, 3, T(7), T(25), T(6), 160, 32},
      {"outside the drawing, value 21: the right sheet's frame 1", SPRITEUSE_BLOCK, 1, 1, 21,
       nullptr, 0, T(5), T(23), T(4), 32, 32},
      {"a frame past the sheet: the default sheet's first cell", SPRITEUSE_CHARA, 1, 16, 0, &left,
       40, T(4), T(22), T(5), 0, 0},
      {"a sheet past the eighth: the default sheet", SPRITEUSE_CHARA, 1, 200, 0, &left, 0, T(4),
       T(22), T(5), 0, 0},
      {"item 16, cell 1", SPRITEUSE_ITEM, 2, 16, 0, nullptr, 1, T(40), T(41), T(40), 96, 32},
      {"shot sheet 31 facing right", SPRITEUSE_CHARA, 3, 31, 0, &right, 0, T(64), T(64), T(63), 64,
       32},
  };
  for (const auto& c : cases) {
    SPRITEDATA s;
    ASSERT_TRUE(SetSpriteSource(c.nUse, c.nKind, c.k, c.a, c.pObj, c.b, s)) << c.szName;
    EXPECT_EQ(s.lpFirst, c.pFirst) << c.szName;
    EXPECT_EQ(s.lpSecond, c.pSecond) << c.szName;
    EXPECT_EQ(s.lpOppFirst, c.pOpp) << c.szName;
    EXPECT_EQ(s.nSrcX, c.x) << c.szName;
    EXPECT_EQ(s.nSrcY, c.y) << c.szName;
  }
}

TEST_F(SpriteSources, DatabaseBitmapsWithWideFrames) {
  DDSURFACEVECTOR& group = g_CharaBmpSurfaces;
  group.resize(8);
  Database.m_vecBmpCharaExc.resize(3);
  struct {
    const char* szName;
    int bWide, nUnits;
    int32_t c;
    int x, y, nScale;
  } cases[] = {
      {"standard frames", 0, 2, 17, 32, 32, 1},
      {"frames of two cells", 1, 2, 9, 64, 64, 2},
      {"frames wider than a row", 1, 20, 3, 0, 3 * 640, 20},
      {"a width of 0 counts as one cell", 1, 0, 17, 32, 32, 1},
  };
  cCharaObj right;
  right.m_nFacing = 1;
  for (const auto& c : cases) {
    cEdBmpCharaExc& bmp = Database.m_vecBmpCharaExc[2];
    bmp.m_bWideFrame = c.bWide;
    bmp.m_nFrameUnits = c.nUnits;
    SPRITEDATA s;
    ASSERT_TRUE(SetSpriteSource(SPRITEUSE_CHARA, 4, 2, c.c, &right, 0, s)) << c.szName;
    EXPECT_EQ(s.nSrcX, c.x) << c.szName;
    EXPECT_EQ(s.nSrcY, c.y) << c.szName;
    EXPECT_EQ(s.nScale, c.nScale) << c.szName;
    // Set 2's forms start at 4: the mirrored sheet, and its system copy.
    EXPECT_EQ(s.lpFirst, &group[5]) << c.szName;
    EXPECT_EQ(s.lpSecond, &group[7]) << c.szName;
  }
  SPRITEDATA s;
  EXPECT_FALSE(SetSpriteSource(SPRITEUSE_CHARA, 4, 0, 0, &right, 0, s)) << "set 0 has no bitmap";
  EXPECT_FALSE(SetSpriteSource(SPRITEUSE_CHARA, 4, 3, 0, &right, 0, s)) << "past the list";
  EXPECT_FALSE(SetSpriteSource(SPRITEUSE_CHARA, 9, 0, 0, &right, 0, s)) << "an unknown kind";
  group.clear();
  EXPECT_FALSE(SetSpriteSource(SPRITEUSE_CHARA, 4, 1, 0, &right, 0, s)) << "no group loaded";
}

TEST_F(SpriteSources, CarriedIconShowsInTheLastThirdOfEvery96Frames) {
  cHeadlessDrawing drawing(0, 32);
  cCharaObj c;
  c.m_nOnScreen = 1;
  c.m_CarriedItem.m_nKindValue = 3;
  int nFirst = -1, nShown = 0;
  for (int f = 1; f <= 192; ++f) {
    c.DrawCarriedIcon(&BackBuffer);
    const bool bShown = c.m_nIconCount >= 64;
    if (bShown && nFirst < 0) nFirst = f;
    nShown += bShown;
  }
  EXPECT_EQ(nFirst, 64);
  EXPECT_EQ(nShown, 2 * 32);
  // No item, off the screen, or hidden: the count stands.
  for (auto prepare : {+[](cCharaObj& o) { o.m_CarriedItem.m_nKindValue = 0; },
                       +[](cCharaObj& o) { o.m_nOnScreen = 0; },
                       +[](cCharaObj& o) { o.m_CarriedItem.m_Def.m_cHidden = 1; }}) {
    cCharaObj o;
    o.m_nOnScreen = 1;
    o.m_CarriedItem.m_nKindValue = 3;
    prepare(o);
    o.DrawCarriedIcon(&BackBuffer);
    EXPECT_EQ(o.m_nIconCount, 0);
  }
}

}  // namespace

namespace {

// A block's icon: its picture from the block sheet (graphic n at column
// n / 15, row n % 15; cell 0 holds none) and its mark from the mark sheet's
// columns of 15 cells, drawn only when the block's mark flag is 1.
TEST(BlockIcon, PictureFromTheBlockSheetAndMarkFromItsColumnOfFifteen) {
  cHeadlessDrawing drawing;
  ASSERT_TRUE(drawing.Ok());
  cHeadlessDrawing::SetColours(
      {{3, 0x204080}, {10, 0xFF0000}, {11, 0x00FF00}, {12, 0x0000FF}, {13, 0xFFFF00}});
  // Pictures 1 (red), 2 and 17 (green): a 16-pixel square in the middle of
  // the cell, the key around it.
  DDSURFACEDATA& blocks = g_SurfaceTable[2];
  ASSERT_TRUE(DDCreateSurface(&blocks, 128, 480, 1, 0, 0, 0, 0));
  DDFillRect(&blocks, 8, 32 + 8, 16, 16, 10);
  DDFillRect(&blocks, 8, 64 + 8, 16, 16, 11);
  DDFillRect(&blocks, 32 + 8, 64 + 8, 16, 16, 11);
  // Marks 14, 15 and 16 sit at (0, 448), (32, 0) and (32, 32); each fills
  // its cell's top-left 4 x 4.
  DDSURFACEDATA& marks = g_SurfaceTable[43];
  ASSERT_TRUE(DDCreateSurface(&marks, 64, 480, 1, 0, 0, 0, 0));
  DDFillRect(&marks, 0, 448, 4, 4, 12);
  DDFillRect(&marks, 32, 0, 4, 4, 13);
  DDFillRect(&marks, 32, 32, 4, 4, 11);
  const auto At = [](int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); };

  struct {
    int nGraphic, nMarkShown, nMark;
    uint32_t dwPicture, dwMark;
  } const cases[] = {
      {1, 1, 16, 0xFF0000, 0x00FF00},  {2, 1, 15, 0x00FF00, 0xFFFF00},
      {17, 1, 14, 0x00FF00, 0x0000FF}, {2, 2, 16, 0x00FF00, 0x204080},
      {0, 1, 15, 0x204080, 0xFFFF00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "graphic " << c.nGraphic << " mark " << c.nMark);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    cEdBlock block;
    block.m_sGraphic = int16_t(c.nGraphic);
    block.m_cMarkShown = uint8_t(c.nMarkShown);
    block.m_sMark = int16_t(c.nMark);
    DrawBlockIcon(&BackBuffer, block, 200, 100);
    EXPECT_EQ(At(216, 116), c.dwPicture);
    EXPECT_EQ(At(201, 101), c.dwMark);
    EXPECT_EQ(At(199, 99), 0x204080u);
  }
  DDReleaseSurface(&marks);
  DDReleaseSurface(&blocks);
}

}  // namespace
