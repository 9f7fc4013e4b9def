// Palette cycling: one step per drawn frame of the menu screens and the
// play screen. In the 8-bit palette mode a block of 32 entries rotates so
// that pictures drawn with them shimmer; in Direct3D nine colour channels
// bounce between 0 and 255 and fill the cycling colour table that the
// character drawing tints invincible characters with.
#pragma once

#include "draw/blit.h"

constexpr int kCycleColours = 10;  // entries 1 to 9 are filled; 0 is none
constexpr int kCycleChannels = 9;

// The program-wide cycling state, zero at start-up.
struct PALETTECYCLE {
  int nCounter = 0;  // calls since the last rotation (8-bit mode)
  int anValue[kCycleChannels] = {};
  int anDirection[kCycleChannels] = {};  // 0 rising, 1 falling
  int nRainbow = 0;                      // 0..3: the hue of entry 9
};
extern PALETTECYCLE g_PaletteCycle;

// Colour and blend operation of each entry, as the character drawing hands
// them to the drawing library.
extern DDBLTCOLOR g_CycleColorTable[kCycleColours];

void CyclePalette();
// One step of nValue between the bounds, which it never takes: it turns
// instead, keeping its value for that call. 1 when it turned at the
// minimum.
int PingPong(int& nValue, int& nDirection, int nStep, int nMin, int nMax);
