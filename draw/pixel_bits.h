// Small value types every part of the drawing library shares: the layout of
// a direct-colour pixel format, a palette entry, a rectangle and a key
// colour. The first three are the pixel engine's own types under the
// library's names, so values pass between the two without conversion.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gfx/image.h"
#include "platform/gfx/pixel_format.h"

// Shifts and field maxima (the mask shifted down) of a 16- or 32-bit format;
// all 0 for a channel the format lacks.
using DDPIXELBITS = plat::gfx::GFXFORMATBITS;

// One palette entry: red, green, blue and a flag byte.
using DDPALENTRY = plat::gfx::GFXPALENTRY;
using DDPALETTE = std::array<DDPALENTRY, 256>;

// Right and bottom exclusive.
using DDRECT = plat::gfx::GFXRECT;

constexpr uint8_t PC_RESERVED = 1;
constexpr uint8_t PC_EXPLICIT = 2;

// A colour stored blue first, as the key fields keep it.
struct RGBTRIPLE {
  uint8_t rgbtBlue = 0;
  uint8_t rgbtGreen = 0;
  uint8_t rgbtRed = 0;
};
