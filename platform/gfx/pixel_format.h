// The pixel formats of the engine's images and the layout of their fields.
#pragma once

#include <cstdint>

namespace plat::gfx {

enum class ePixelFormat : uint8_t {
  Unknown,
  P8,        // palette index; colours come from the image's palette object
  R5G6B5,    // 16-bit screens and back buffers
  X1R5G5B5,  // 16-bit screens without alpha
  A1R5G5B5,  // 16-bit textures and windowed 16-bit back buffers
  X8R8G8B8,  // 32-bit screens and back buffers (top byte unused, written as 0xFF)
  A8R8G8B8,  // 32-bit textures
};

int GetBytesPerPixel(ePixelFormat format);  // 0 for Unknown
int GetBitsPerPixel(ePixelFormat format);
bool HasAlpha(ePixelFormat format);  // A1R5G5B5 and A8R8G8B8
const char* GetFormatName(ePixelFormat format);

// Shifts and field maxima (mask shifted down) of a direct-colour format, 0
// for an absent channel; all 0 for P8.
struct GFXFORMATBITS {
  int nRedShift = 0;
  int nGreenShift = 0;
  int nBlueShift = 0;
  int nAlphaShift = 0;
  int nRedMax = 0;
  int nGreenMax = 0;
  int nBlueMax = 0;
  int nAlphaMax = 0;
};
GFXFORMATBITS GetFormatBits(ePixelFormat format);

// The bits a colour-key comparison looks at: the colour fields only, so the
// unused top bits of X formats never decide transparency. P8: 0xFF;
// R5G6B5: 0xFFFF; X1R5G5B5 and A1R5G5B5: 0x7FFF; X8R8G8B8 and A8R8G8B8: 0xFFFFFF.
uint32_t GetKeyMask(ePixelFormat format);

}  // namespace plat::gfx
