// Sizes, names and field layouts of the pixel formats.
#include "platform/gfx/pixel_format.h"

namespace plat::gfx {

int GetBytesPerPixel(ePixelFormat format) {
  switch (format) {
    case ePixelFormat::P8:
      return 1;
    case ePixelFormat::R5G6B5:
    case ePixelFormat::X1R5G5B5:
    case ePixelFormat::A1R5G5B5:
      return 2;
    case ePixelFormat::X8R8G8B8:
    case ePixelFormat::A8R8G8B8:
      return 4;
    default:
      return 0;
  }
}

int GetBitsPerPixel(ePixelFormat format) { return GetBytesPerPixel(format) * 8; }

bool HasAlpha(ePixelFormat format) {
  return format == ePixelFormat::A1R5G5B5 || format == ePixelFormat::A8R8G8B8;
}

const char* GetFormatName(ePixelFormat format) {
  switch (format) {
    case ePixelFormat::P8:
      return "P8";
    case ePixelFormat::R5G6B5:
      return "R5G6B5";
    case ePixelFormat::X1R5G5B5:
      return "X1R5G5B5";
    case ePixelFormat::A1R5G5B5:
      return "A1R5G5B5";
    case ePixelFormat::X8R8G8B8:
      return "X8R8G8B8";
    case ePixelFormat::A8R8G8B8:
      return "A8R8G8B8";
    default:
      return "Unknown";
  }
}

GFXFORMATBITS GetFormatBits(ePixelFormat format) {
  switch (format) {
    case ePixelFormat::R5G6B5:
      return {11, 5, 0, 16, 31, 63, 31, 0};
    case ePixelFormat::X1R5G5B5:
      return {10, 5, 0, 0, 31, 31, 31, 0};
    case ePixelFormat::A1R5G5B5:
      return {10, 5, 0, 15, 31, 31, 31, 1};
    case ePixelFormat::X8R8G8B8:
      return {16, 8, 0, 0, 255, 255, 255, 0};
    case ePixelFormat::A8R8G8B8:
      return {16, 8, 0, 24, 255, 255, 255, 255};
    default:
      return {};
  }
}

uint32_t GetKeyMask(ePixelFormat format) {
  switch (format) {
    case ePixelFormat::P8:
      return 0xFF;
    case ePixelFormat::R5G6B5:
      return 0xFFFF;
    case ePixelFormat::X1R5G5B5:
    case ePixelFormat::A1R5G5B5:
      return 0x7FFF;
    case ePixelFormat::X8R8G8B8:
    case ePixelFormat::A8R8G8B8:
      return 0xFFFFFF;
    default:
      return 0;
  }
}

}  // namespace plat::gfx
