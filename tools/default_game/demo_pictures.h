// The bundled game's pictures, drawn in code: the block, character, item
// and shot sheets, the status bar, window, icons and word captions the play
// screen draws from, the title picture and its menu strips, the world
// map's tiles and stage icons, and the stages' two background layers. Each
// is written under its name in the project folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pixel_art.h"

// File names (as the program names them) with their bitmaps.
std::vector<std::pair<std::string, Bytes>> DemoPictures();

// The background layers of the demo stage, far and near.
constexpr const char* kSkyPicture = "bmp\\Sky.bmp";
constexpr const char* kHillsPicture = "bmp\\Hills.bmp";

// Item sheet numbers.
enum : int16_t { ITEM_COIN = 1, ITEM_GOAL = 2, ITEM_SIGN = 3 };

// Block sheet numbers of the demo's blocks.
enum : int16_t {
  BLOCK_GRASS = 1,
  BLOCK_DIRT = 2,
  BLOCK_BRICK = 3,
  BLOCK_STONE = 4,
  BLOCK_PLANK = 5,
};
