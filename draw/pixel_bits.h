// Small value types every part of the drawing library shares: the layout of
// a direct-colour pixel format, a palette entry and a key colour.
#pragma once

#include <array>
#include <cstdint>

// Shifts and field maxima (the mask shifted down) of a 16- or 32-bit format;
// all 0 for a channel the format lacks.
struct DDPIXELBITS {
  int nRedShift = 0;
  int nGreenShift = 0;
  int nBlueShift = 0;
  int nAlphaShift = 0;
  int nRedMax = 0;
  int nGreenMax = 0;
  int nBlueMax = 0;
  int nAlphaMax = 0;
};

// One palette entry: red, green, blue and a flag byte.
struct DDPALENTRY {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
};

using DDPALETTE = std::array<DDPALENTRY, 256>;

constexpr uint8_t PC_RESERVED = 1;
constexpr uint8_t PC_EXPLICIT = 2;

// A colour stored blue first, as the key fields keep it.
struct RGBTRIPLE {
  uint8_t rgbtBlue = 0;
  uint8_t rgbtGreen = 0;
  uint8_t rgbtRed = 0;
};
