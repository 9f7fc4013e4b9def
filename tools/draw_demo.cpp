// Draws one demonstration frame with the drawing library in one mode of the
// matrix, headless, and saves it as PNG: bitmaps loaded from files, blits
// with and without the colour key, mirrored, stretched, clipped on all four
// sides, tinted, fills, a sorted sprite batch, then present. With SHEET.png
// it also saves a contact sheet of the drawing effects, one cell each.
//
//   draw_demo MODE OUT.png [FOLDER [SHEET.png]]
//   MODE: DD8 DD16 DD32 D3D16W D3D16F D3D32
// The bitmaps are written into FOLDER (default: a folder under /tmp).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/logs.h"
#include "draw/blend_table.h"
#include "draw/blit.h"
#include "draw/blur_mosaic.h"
#include "draw/circle_lens.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "draw/palette_key.h"
#include "draw/rotate.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "draw/tint_trans.h"
#include "platform/gfx/display_config.h"
#include "platform/null/null_backend.h"
#include "platform/present/presenter.h"

namespace {

struct DEMOMODE {
  const char* szName;
  int bDirect3D, nBpp, bWindow;
};
const DEMOMODE kModes[] = {{"DD8", 0, 8, 0},     {"DD16", 0, 16, 0},   {"DD32", 0, 32, 0},
                           {"D3D16W", 1, 16, 1}, {"D3D16F", 1, 16, 0}, {"D3D32", 1, 32, 0}};

// The demo's colours: 0 is the key (magenta); the rest of the 256 entries
// form a ramp for the background.
std::vector<uint32_t> DemoTable() {
  std::vector<uint32_t> t(256);
  const uint32_t fixed[] = {0xFF00FF, 0xE03030, 0x30C030, 0x3060E0, 0xFFFFFF,
                            0xF0D020, 0x20D0D0, 0x808080, 0x000000, 0xA05020};
  for (int i = 0; i < 256; ++i)
    t[size_t(i)] = i < 10 ? fixed[i] : uint32_t(i / 2) << 8 | uint32_t(i);
  return t;
}

void Put(std::vector<uint8_t>& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// An 8-bit bottom-up bitmap with the demo's colour table.
bool WriteIndexedBmp(const std::string& strPath, int w, int h, const std::vector<uint8_t>& px) {
  const int nStride = (w + 3) & ~3;
  const uint32_t nOffset = 14 + 40 + 1024;
  std::vector<uint8_t> v{'B', 'M'};
  Put(v, nOffset + uint32_t(nStride * h), 4);
  Put(v, 0, 4);
  Put(v, nOffset, 4);
  Put(v, 40, 4);
  Put(v, uint32_t(w), 4);
  Put(v, uint32_t(h), 4);
  Put(v, 1, 2);
  Put(v, 8, 2);
  Put(v, 0, 4);
  Put(v, uint32_t(nStride * h), 4);
  Put(v, 2835, 4);
  Put(v, 2835, 4);
  Put(v, 256, 4);
  Put(v, 0, 4);
  for (uint32_t c : DemoTable()) Put(v, c & 0xFFFFFF, 4);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < nStride; ++x) v.push_back(x < w ? px[size_t(y) * w + x] : 0);
  }
  std::FILE* f = std::fopen(strPath.c_str(), "wb");
  if (!f) return false;
  const bool bOk = std::fwrite(v.data(), 1, v.size(), f) == v.size();
  return std::fclose(f) == 0 && bOk;
}

bool WriteFixtures(const std::string& strDir) {
  // Palette picture: first pixel is the key; the block at y 8..23 shows
  // entry k in colour k.
  std::vector<uint8_t> pal(16 * 24, 0);
  for (int k = 0; k < 256; ++k) pal[size_t(8 + k / 16) * 16 + k % 16] = uint8_t(k);
  // Sprite sheet: two 32 x 32 frames of an arrow pointing right, on the key.
  std::vector<uint8_t> sheet(64 * 32, 0);
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const int dy = y < 16 ? 15 - y : y - 16;
        const bool bHead = x >= 16 && x - 16 < 16 - dy;
        const bool bShaft = x < 16 && y >= 12 && y < 20;
        if (bHead || bShaft) sheet[size_t(y) * 64 + f * 32 + x] = uint8_t(f == 0 ? 1 : 3);
        if (x < 4 && y < 4) sheet[size_t(y) * 64 + f * 32 + x] = 5;  // marks the left edge
      }
  // Background: a diagonal ramp over the whole screen.
  std::vector<uint8_t> back(640 * 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) back[size_t(y) * 640 + x] = uint8_t(10 + ((x + y) / 8) % 246);
  return WriteIndexedBmp(strDir + "/palette.bmp", 16, 24, pal) &&
         WriteIndexedBmp(strDir + "/sheet.bmp", 64, 32, sheet) &&
         WriteIndexedBmp(strDir + "/back.bmp", 640, 480, back);
}

void DrawFrame(DDSURFACEDATA& back, DDSURFACEDATA& sheet, DDSURFACEDATA& mirrored) {
  DDBlt(&BackBuffer, 0, 0, 640, 480, &back, 0, 0, 0);
  // Keyed and unkeyed.
  DDBlt(&BackBuffer, 20, 20, 32, 32, &sheet, 0, 0, 1);
  DDBlt(&BackBuffer, 60, 20, 32, 32, &sheet, 0, 0, 0);
  // Mirrored: by a negative source width (Direct3D) and from the mirrored copy.
  if (DDIsDirect3D()) DDBltStretch(&BackBuffer, 100, 20, 32, 32, &sheet, 32, 0, -32, 32, 1);
  DDBlt(&BackBuffer, 140, 20, 32, 32, &mirrored, 0, 0, 1);
  // Stretched twice as large and to half size.
  DDBltStretch(&BackBuffer, 180, 20, 64, 64, &sheet, 32, 0, 32, 32, 1);
  DDBltStretch(&BackBuffer, 250, 20, 16, 16, &sheet, 0, 0, 32, 32, 1);
  // Clipped on all four sides.
  DDBlt(&BackBuffer, -16, 200, 32, 32, &sheet, 0, 0, 1);
  DDBlt(&BackBuffer, 624, 200, 32, 32, &sheet, 0, 0, 1);
  DDBlt(&BackBuffer, 300, -16, 32, 32, &sheet, 0, 0, 1);
  DDBlt(&BackBuffer, 300, 464, 32, 32, &sheet, 0, 0, 1);
  // Tinted through the blit colour.
  const DDBLTCOLOR tint{0xFF40FF40u, 4};
  DDBltColor(&BackBuffer, 290, 20, 32, 32, &sheet, 0, 0, 1, &tint);
  // Fills with palette numbers, a pixel and a circle.
  DDFillRect(&BackBuffer, 20, 100, 60, 30, 2);
  DDFillRect(&BackBuffer, -10, 140, 40, 20, 4);
  DDFillRectColor(&BackBuffer, 100, 100, 60, 30, DDIsDirect3D() ? 0x80FFFFFFu : PalNumToRGB(6));
  DDPutPixel(&BackBuffer, 320, 240, 4);
  DDCircle(&BackBuffer, 320, 240, 40, 5);
  // A sorted batch: interleaved sources come out grouped by registration.
  DDBatchBegin(1);
  DDBatchRegister(&sheet);
  DDBatchRegister(&mirrored);
  for (int i = 0; i < 8; ++i) {
    DDBlt(&BackBuffer, 380 + i * 20, 300, 32, 32, i % 2 ? &mirrored : &sheet, 0, 0, 1);
    DDBlt(&BackBuffer, 380 + i * 20, 340, 32, 32, &sheet, 32, 0, 1);
  }
  DDBatchEnd();
}

// ---- The effects sheet -----------------------------------------------------
//
// Cells of 80 x 80 pixels on a black screen, each on a cyan ground; the
// sprite of a cell sits at (24, 24) in it, the pictures of the blur, mosaic,
// circle and lens are squares of six colours. Row 0: tint levels 1 to 4, half
// translucency, translucency level 64, the colour overlay, the sprite turned
// a quarter. Row 1: a fade at three levels (60, 30 and 0 degrees), blur,
// mosaic, circle window, lens. The rows below are the text and composite
// cells'.

constexpr int kCell = 80;
constexpr int kGround = 6;  // cyan
constexpr int kTintColour = 3;
constexpr int kChecks = 96;  // the effects' picture: squares of 12 pixels
constexpr int kCheckSize = 12;

int CheckColour(int x, int y) { return 1 + (x / kCheckSize + 2 * (y / kCheckSize)) % 6; }

bool WriteChecks(const std::string& strPath) {
  std::vector<uint8_t> px(size_t(kChecks) * kChecks);
  for (int y = 0; y < kChecks; ++y)
    for (int x = 0; x < kChecks; ++x) px[size_t(y) * kChecks + x] = uint8_t(CheckColour(x, y));
  return WriteIndexedBmp(strPath, kChecks, kChecks, px);
}

void Ground(int nCol, int nRow) {
  DDFillRect(&BackBuffer, nCol * kCell, nRow * kCell, kCell, kCell, kGround);
}

// The 8-bit blend table of the demo's colours: each even mix is the nearest
// colour of the table (index 0, the key, only mixes to itself).
bool WriteBlendTable(const std::string& strPath) {
  const std::vector<uint32_t> t = DemoTable();
  std::vector<uint8_t> table(65536, 0);
  auto ch = [](uint32_t c, int s) { return int(c >> s) & 255; };
  for (int a = 1; a < 256; ++a)
    for (int b = 1; b < 256; ++b) {
      int nBest = 1, nBestDist = -1;
      for (int k = 1; k < 256; ++k) {
        int nDist = 0;
        for (int s : {0, 8, 16}) {
          const int d = 2 * ch(t[size_t(k)], s) - ch(t[size_t(a)], s) - ch(t[size_t(b)], s);
          nDist += d * d;
        }
        if (nBestDist < 0 || nDist < nBestDist) {
          nBest = k;
          nBestDist = nDist;
        }
      }
      table[size_t(a) * 256 + size_t(b)] = uint8_t(nBest);
    }
  std::FILE* f = std::fopen(strPath.c_str(), "wb");
  if (!f) return false;
  const bool bOk = std::fwrite(table.data(), 1, table.size(), f) == table.size();
  return std::fclose(f) == 0 && bOk;
}

// The fade cells: the steps of a fade-out by 30 degrees draw at 90, 60, 30
// and 0; each of the last three is copied away as it is drawn, since a fade
// covers the whole screen. At 8 bits a fade turns palette entries instead:
// each level turns an entry of its own that fills its cell.
void DrawFadeCells(DDSURFACEDATA& sheet, DDSURFACEDATA& store) {
  if (!DDIsDirect3D() && g_DD.nBpp == 8) {
    for (int k = 0; k < 4; ++k) g_DD.ProgramPalette[size_t(250 + k)] = g_DD.ProgramPalette[1];
    g_DD.DisplayPalette = g_DD.ProgramPalette;
    for (int k = 0; k < 4; ++k) {
      DDFadeOut(g_DD.DisplayPalette, 249 + k, 249 + k, 0, 0, 0, 30, g_DD.ProgramPalette, 0);
      if (k > 0) DDFillRect(&BackBuffer, (k - 1) * kCell, kCell, kCell, kCell, uint32_t(249 + k));
    }
    return;
  }
  // Direct3D draws through the virtual back buffer, a texture that can be
  // copied from.
  const bool bD3D = DDIsDirect3D();
  if (bD3D) DDSetVirtualBackBuffer(1);
  DDSURFACEDATA* lpScreen = bD3D ? &VirBackBuffer : &BackBuffer;
  for (int nCall = 0; nCall < 4; ++nCall) {
    Ground(0, 0);
    DDBlt(&BackBuffer, 24, 24, 32, 32, &sheet, 0, 0, 1);
    DDFadeOut(g_DD.DisplayPalette, 0, 255, 0, 0, 0, 30, g_DD.ProgramPalette, 0);
    if (nCall == 0) continue;
    DDSetAlphaOp(1);  // the screen's alpha is no picture's
    DDBlt(&store, (nCall - 1) * kCell, 0, kCell, kCell, lpScreen, 0, 0, 0);
    DDResetAlphaOp();
  }
  if (bD3D) DDSetVirtualBackBuffer(0);
}

void DrawEffectsSheet(DDSURFACEDATA& checks, DDSURFACEDATA& sheet, DDSURFACEDATA& store) {
  // The palette's fade cells are drawn in place; the others are copied away
  // before the screen is drawn.
  const bool bPalette = !DDIsDirect3D() && g_DD.nBpp == 8;
  if (!bPalette) DrawFadeCells(sheet, store);
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 8);
  for (int nCol = 0; nCol < 8; ++nCol) Ground(nCol, 0);
  for (int nCol = 0; nCol < 7; ++nCol) Ground(nCol, 1);
  for (int nLevel = 1; nLevel <= 4; ++nLevel)
    DDBltTint(&BackBuffer, (nLevel - 1) * kCell + 24, 24, 32, 32, &sheet, 0, 0, 1,
              &g_DD.ProgramPalette, g_BlendTable.data(), kTintColour, nLevel);
  DDBltHalfTrans(&BackBuffer, 4 * kCell + 24, 24, 32, 32, &sheet, 0, 0, 1, g_BlendTable.data());
  DDBltTrans(&BackBuffer, 5 * kCell + 24, 24, 32, 32, &sheet, 0, 0, 1, g_BlendTable.data(), 64);
  DDChangeColor(&BackBuffer, 6 * kCell + 8, 8, 64, 64, 128, 255, 128, 0);
  DDBltRotate(&BackBuffer, 7 * kCell + 40, 40, 32, 32, 16, 16, 90, &sheet, 0, 0, 1);
  if (bPalette)
    DrawFadeCells(sheet, store);
  else
    DDBlt(&BackBuffer, 0, kCell, 3 * kCell, kCell, &store, 0, 0, 0);
  DDBlur(&BackBuffer, 3 * kCell + 8, kCell + 8, 64, 64, 3, 3, &checks, 16, 16, 0);
  DDMosaic(&BackBuffer, 4 * kCell + 8, kCell + 8, 64, 64, 7, &checks, 16, 16, 0);
  DDBltCircle(&BackBuffer, 5 * kCell + 40, kCell + 40, 100, 100, 28, 1, &checks, 48, 48, 0);
  DDBltRadial(&BackBuffer, 6 * kCell + 40, kCell + 40, 28, 20, &checks, 48, 48, 0, 0);
}

// The sheet in the current mode, saved as PNG.
bool WriteEffectsSheet(const std::string& strDir, DDSURFACEDATA& sheet, const char* szPng) {
  const std::string strTable = strDir + "/hbt.dat", strChecks = strDir + "/checks.bmp";
  if (!WriteBlendTable(strTable) || !DDLoadBlendTable(g_BlendTable, strTable.c_str()) ||
      !WriteChecks(strChecks)) {
    std::fprintf(stderr, "cannot write or read the sheet's files in %s\n", strDir.c_str());
    return false;
  }
  DDSURFACEDATA store, checks;
  const bool bMade = DDCreateSurface(&store, 3 * kCell, kCell, 0, 0, 0, 0, 0) &&
                     DDCreateSurfaceFromFile(&checks, strChecks.c_str(), 0, g_DD.nBpp, 0, 0,
                                             nullptr, 0, 0, 0, 0) == 0;
  if (bMade) {
    DrawEffectsSheet(checks, sheet, store);
    if (DDIsDirect3D())
      DDPresent(60, 0, 0);
    else
      DDFlipOrBltToScreen(1);
  }
  DDReleaseSurface(&checks);
  DDReleaseSurface(&store);
  if (!bMade) return false;
  if (plat::SaveLastFramePng(szPng)) return true;
  std::fprintf(stderr, "cannot save %s\n", szPng);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  plat::null::InstallNullBackend();
  if (argc < 3) {
    std::fprintf(stderr, "usage: draw_demo MODE OUT.png [FOLDER [SHEET.png]]\n");
    return 2;
  }
  const DEMOMODE* pMode = nullptr;
  for (const DEMOMODE& m : kModes)
    if (std::strcmp(m.szName, argv[1]) == 0) pMode = &m;
  if (!pMode) {
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
  }
  const std::string strDir =
      argc > 3 ? argv[3] : (std::filesystem::temp_directory_path() / "brimvale-draw-demo").string();
  std::filesystem::create_directories(strDir);
  if (!WriteFixtures(strDir)) {
    std::fprintf(stderr, "cannot write bitmaps into %s\n", strDir.c_str());
    return 1;
  }
  ReportInit((strDir + "/report.txt").c_str());
  DebugLogInit(1, (strDir + "/debug.txt").c_str());
  plat::gfx::GFXDISPLAYCONFIG display = plat::gfx::GetDisplayConfig();
  display.nDesktopBpp = pMode->nBpp;
  plat::gfx::SetDisplayConfig(display);

  int nResult = 1;
  {
    DDSURFACEDATA back, sheet, mirrored;
    if (!DDInit(pMode->bDirect3D, nullptr, 640, 480, pMode->nBpp, 0, pMode->bWindow, 1, 60, 0,
                nullptr, nullptr, 0, 0)) {
      std::fprintf(stderr, "DDInit failed in %s\n", pMode->szName);
      return 1;
    }
    const std::string strPal = strDir + "/palette.bmp";
    const std::string strSheet = strDir + "/sheet.bmp";
    DDLoadPaletteFromFile(g_DD.ProgramPalette, strPal.c_str(), 0);
    DDSetTransmitFromFile(strPal.c_str());
    // The key colour for 24-bit pictures at 16 bits, as start-up sets it.
    const RGBTRIPLE magenta{255, 0, 255};
    if (g_DD.lpDTCon) g_DD.lpDTCon->rgbTransmit16 = magenta;
    if (g_DD.lpDDCon) g_DD.lpDDCon->rgbTransmit16 = magenta;
    bool bLoaded = DDCreateSurfaceFromFile(&back, (strDir + "/back.bmp").c_str(), 0, pMode->nBpp, 0,
                                           0, nullptr, 0, 0, 0, 0) == 0 &&
                   DDCreateSurfaceFromFile(&sheet, strSheet.c_str(), 1, pMode->nBpp, 0, 0, nullptr,
                                           0, 0, 0, 0) == 0;
    if (DDIsDirect3D()) {
      // Direct3D: the mirrored entry shares the sheet's texture.
      bLoaded = bLoaded && DDCreateSurfaceFromFile(&mirrored, strSheet.c_str(), 1, pMode->nBpp, 0,
                                                   0, &sheet, 0, 32, 0, 0) == 0;
      mirrored.lpShareSD = &sheet;
    } else {
      bLoaded = bLoaded && DDCreateSurfaceFromFile(&mirrored, strSheet.c_str(), 1, pMode->nBpp, 0,
                                                   0, nullptr, 0, 32, 0, 0) == 0;
    }
    if (bLoaded) {
      DrawFrame(back, sheet, mirrored);
      if (DDIsDirect3D())
        DDPresent(60, 0, 0);
      else
        DDFlipOrBltToScreen(1);
      if (plat::SaveLastFramePng(argv[2])) {
        nResult = 0;
      } else {
        std::fprintf(stderr, "cannot save %s\n", argv[2]);
      }
      if (nResult == 0 && argc > 4 && !WriteEffectsSheet(strDir, sheet, argv[4])) nResult = 1;
    } else {
      std::fprintf(stderr, "cannot load the bitmaps (see %s/debug.txt)\n", strDir.c_str());
    }
    DDReleaseSurface(&mirrored);
    DDReleaseSurface(&sheet);
    DDReleaseSurface(&back);
    DDReleaseAll();
  }
  return nResult;
}
