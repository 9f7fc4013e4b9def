// Shared helpers of the drawing tests: the mode matrix, a headless set-up of
// the library in one mode, tiny bitmap files written on the spot, pixel
// reads through the library's own lock, and the captured logs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/draw_context.h"
#include "platform/gfx/pixel_rules.h"

namespace drawtest {

struct DRAWMODE {
  const char* szName;
  int bDirect3D;
  int nBpp;
  int bWindow;
};

// Colours every depth keeps exactly (a 16-bit field holds them whole).
inline constexpr uint32_t kBackground = 0x204080, kRed = 0xFF0000, kYellow = 0xFFFF00,
                          kWhite = 0xFFFFFF, kBlue = 0x0000FF, kGreen = 0x00FF00;

// The matrix every screen is drawn in.
inline const DRAWMODE kModes[] = {
    {"DD8", 0, 8, 0},     {"DD16", 0, 16, 0},   {"DD32", 0, 32, 0},
    {"D3D16W", 1, 16, 1}, {"D3D16F", 1, 16, 0}, {"D3D32", 1, 32, 1},
};

inline std::string ModeName(const testing::TestParamInfo<DRAWMODE>& info) {
  return info.param.szName;
}

// A bitmap written by a test: 24-bit pixels (0xRRGGBB) or 8-bit indices
// with a colour table.
struct BMPPICTURE {
  int nWidth = 0;
  int nHeight = 0;
  int nBitCount = 24;
  std::vector<uint32_t> Pixels;  // top row first: 0xRRGGBB, or indices at 8 bits
  std::vector<uint32_t> Table;   // 0xRRGGBB per colour-table entry (8 bits)
};
std::vector<uint8_t> EncodeBmp(const BMPPICTURE& pic);
std::string WriteBmp(const std::string& strName, const BMPPICTURE& pic);
// A picture of one colour.
BMPPICTURE SolidBmp(int nWidth, int nHeight, uint32_t dwRgb);

// The temporary folder of the running test.
std::string TempDir();
std::string ReadText(const std::string& strPath);

// Resets engine faults, caps and display facts; opens the logs in the
// test's folder.
void ResetPlatform();
// Starts the library in a mode (after ResetPlatform). False when DDInit fails.
bool InitMode(const DRAWMODE& mode, DDSURFACEDATA* lpTable = nullptr, int nTable = 0);
// Releases everything and clears the screen records.
void ShutDown();

std::string ReportLog();
std::string DebugLogText();

// Raw pixel of a record read through a lock (palette index at 8 bits).
uint32_t ReadRaw(DDSURFACEDATA* lpSD, int x, int y);
// The same pixel as opaque 0xRRGGBB the way the screen shows it (palette
// at 8 bits, field widening at 16).
uint32_t ReadRgb(DDSURFACEDATA* lpSD, int x, int y);
// The pixels of a rectangle as ReadRgb gives them, row by row, read under
// one lock.
std::vector<uint32_t> ReadRgbArea(DDSURFACEDATA* lpSD, int x, int y, int w, int h);
// What the screen shows for an opaque 0xRRGGBB colour drawn into the back
// buffer of the current mode (the device's narrowing, then widening).
uint32_t ScreenRgbOf(uint32_t dwRgb);
// Installs a palette with a few known colours in every mode: entry i of the
// table gets the colour; 16-bit DirectDraw stores raw fields.
void InstallPalette(const std::vector<std::pair<int, uint32_t>>& entries);

class cDrawModeTest : public testing::TestWithParam<DRAWMODE> {
 protected:
  void SetUp() override;
  void TearDown() override;
  bool IsD3D() const { return GetParam().bDirect3D != 0; }
  int Bpp() const { return GetParam().nBpp; }
};

}  // namespace drawtest
