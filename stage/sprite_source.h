// Graphic sources: a graphic (a sheet kind and a number) turned into the
// surfaces and the cell a character, an item or a block is drawn from.
#pragma once

#include <cstdint>

#include "draw/blit.h"
#include "draw/surface_data.h"

class cEdBlock;
class cObjRoot;

// Uses of a graphic.
enum : int { SPRITEUSE_BLOCK = 0, SPRITEUSE_CHARA = 1, SPRITEUSE_ITEM = 2 };

// Where one cell of a graphic is drawn from: the sheet's two load forms
// (the first for plain blits, the second for stretched and pixel effects),
// the same of the opposite facing where the sheet has one, a colour the
// sprite is tinted with, and a scale of its own for sheets of larger cells.
struct SPRITEDATA {
  DDSURFACEDATA* lpFirst = nullptr;
  DDSURFACEDATA* lpSecond = nullptr;
  DDSURFACEDATA* lpOppFirst = nullptr;
  DDSURFACEDATA* lpOppSecond = nullptr;
  int bColor = 0;
  DDBLTCOLOR Color;
  int bOwnScale = 0;
  int nScale = 1;  // 1 when it has none
  int nSrcX = 0;
  int nSrcY = 0;
};

// Fills the surfaces and the cell of graphic (kind, k) for a use: the
// character drawing (a the cell shift, b the animation cell, the object's
// facing chooses the surface), the item drawing (a the graphic variant, b
// the animation cell) or a block (a the cell value). The colour part is
// left alone. False when the graphic has no surface.
bool SetSpriteSource(int nUse, int nKind, int32_t k, int32_t a, const cObjRoot* pObj, int32_t b,
                     SPRITEDATA& Sprite);

// The icon of a graphic: its cell (value a as outside the character
// drawing) drawn at half size, colour-keyed, with its top left at (x, y).
void DrawGraphicIcon(DDSURFACEDATA* pTarget, int nKind, int32_t k, int32_t a, int x, int y);

// A block's 32 × 32 picture and, when the block shows it, its mark, with
// the top left at (x, y).
void DrawBlockIcon(DDSURFACEDATA* pTarget, const cEdBlock& block, int x, int y);
