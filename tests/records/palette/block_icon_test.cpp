// A block's icon: its picture from wherever the play engine's sprite source
// says, and its mark from the mark sheet's columns of 15 cells.
#include <gtest/gtest.h>

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "records/palette/ed_block.h"
#include "support/draw_setup.h"

namespace {

DDSURFACEDATA g_Pictures;

// Stands in for the play engine: graphic index n is the cell at (n * 32, 0)
// of one sheet; index 0 has no picture.
bool TestSpriteSource(int nType, int nKind, int nIndex, int, const void* pObj, int nExtra,
                      BLOCKSPRITE& sprite) {
  if (nType != 0 || nKind != 0 || pObj || nExtra != 0 || nIndex == 0) return false;
  sprite = {&g_Pictures, nIndex * 32, 0};
  return true;
}

TEST(BlockIcon, PictureFromTheSpriteSourceAndMarkFromItsColumnOfFifteen) {
  cHeadlessDrawing drawing;
  ASSERT_TRUE(drawing.Ok());
  cHeadlessDrawing::SetColours(
      {{3, 0x204080}, {10, 0xFF0000}, {11, 0x00FF00}, {12, 0x0000FF}, {13, 0xFFFF00}});
  // Two pictures: red, green (the key around a 16-pixel square).
  ASSERT_TRUE(DDCreateSurface(&g_Pictures, 96, 32, 1, 0, 0, 0, 0));
  DDFillRect(&g_Pictures, 40, 8, 16, 16, 10);
  DDFillRect(&g_Pictures, 72, 8, 16, 16, 11);
  // Marks 14, 15 and 16 sit at (0, 448), (32, 0) and (32, 32); each fills
  // its cell's top-left 4 x 4.
  DDSURFACEDATA& marks = g_SurfaceTable[43];
  ASSERT_TRUE(DDCreateSurface(&marks, 64, 480, 1, 0, 0, 0, 0));
  DDFillRect(&marks, 0, 448, 4, 4, 12);
  DDFillRect(&marks, 32, 0, 4, 4, 13);
  DDFillRect(&marks, 32, 32, 4, 4, 11);
  SetBlockSpriteSource(TestSpriteSource);
  const auto At = [](int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); };

  struct {
    int nGraphic, nMarkShown, nMark;
    uint32_t dwPicture, dwMark;
  } const cases[] = {
      {1, 1, 16, 0xFF0000, 0x00FF00}, {2, 1, 15, 0x00FF00, 0xFFFF00},
      {1, 1, 14, 0xFF0000, 0x0000FF}, {2, 2, 16, 0x00FF00, 0x204080},
      {0, 1, 15, 0x204080, 0xFFFF00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "graphic " << c.nGraphic << " mark " << c.nMark);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    cEdBlock block;
    block.m_sGraphic = int16_t(c.nGraphic);
    block.m_cMarkShown = uint8_t(c.nMarkShown);
    block.m_sMark = int16_t(c.nMark);
    block.DrawIcon(&BackBuffer, 200, 100);
    EXPECT_EQ(At(216, 116), c.dwPicture);
    EXPECT_EQ(At(201, 101), c.dwMark);
    EXPECT_EQ(At(199, 99), 0x204080u);
  }
  SetBlockSpriteSource(nullptr);
  DDReleaseSurface(&marks);
  DDReleaseSurface(&g_Pictures);
}

}  // namespace
