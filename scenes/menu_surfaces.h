// What the menu scenes draw with: the pictures of the built-in table they
// load on their first frame and release when they end, and the work
// surfaces they compose their screens on (the title's menu box, a whole
// menu screen, the world map, its ranking box). The work surfaces are the
// program's own collection, so the scene manager restores them with the
// others after lost surfaces; a restored one comes back blank with bLost
// set, and its scene composes it again.
#pragma once

#include "draw/surface_collections.h"

extern DDSURFACEVECTOR g_MenuSurfaces;
extern DDIMAGEVECTOR g_MenuImages;

// Entries of the built-in bitmap table the menu scenes use.
enum : int {
  MENUBMP_WINDOW = 45,      // bmp\Window.bmp: the inside of framed boxes
  MENUBMP_TITLE = 47,       // bmp\Title.bmp: 640 x 480
  MENUBMP_GAMEMODE = 48,    // bmp\GameMode.bmp: a 32-pixel strip per game mode
  MENUBMP_ACCESSORY = 49,   // bmp\Accessory.bmp: cursors and icons
  MENUBMP_SYMBOL = 50,      // bmp\Symbol.bmp
  MENUBMP_MAPCHIP = 52,     // bmp\WorldMapChip.bmp: terrain tiles, 5 a row
  MENUBMP_MAPEVENT = 53,    // bmp\WorldEvent.bmp: point icons
  MENUBMP_MAPBACK = 54,     // the world map's own background picture
};

DDSURFACEDATA* MenuPicture(int nEntry);

// Loads the listed entries; on a failure (already shown in its box) the
// program is asked to close and false is returned, the scene going on.
bool LoadMenuPictures(const int* lpEntries, int nCount);
void ReleaseMenuPictures(const int* lpEntries, int nCount);

// Releases every work surface and empties the collection.
void ReleaseMenuSurfaces();
// A new blank work surface, or null after asking the program to close.
DDSURFACEDATA* CreateMenuSurface(int nWidth, int nHeight, int bColorKey);

// True when the screen runs on an 8-bit palette: fades there change the
// palette, and pictures composed with palette numbers are drawn again.
bool IsPaletteMode();

// A cursor image of the accessory sheet: size x size from (sx, sy), keyed.
void DrawAccessory(DDSURFACEDATA* lpDstSD, int x, int y, int nSize, int sx, int sy);
