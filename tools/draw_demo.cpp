// Draws a contact sheet of the drawing library in one mode of the matrix,
// headless, and saves it as one PNG: each panel is a screen of its own,
// drawn, presented and laid into the sheet, two panels a row, left to right.
//   panel 0: bitmaps loaded from files, blits with and without the colour
//     key, mirrored, stretched, clipped on all four sides, tinted, fills, a
//     sorted sprite batch;
//   panel 1: text in the three fonts, text boxes, symbols and numbers;
//   panel 2: the composite blits;
//   panel 3: the effects: tint, translucency, overlay, rotation, a fade at
//     three levels, blur, mosaic, circle window and lens.
//
//   draw_demo MODE OUT.png [FOLDER]
//   MODE: DD8 DD16 DD32 D3D16W D3D16F D3D32
// The bitmaps are written into FOLDER (default: a folder under /tmp).
#include <algorithm>
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
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "draw/font.h"
#include "draw/font_tables.h"
#include "draw/palette_key.h"
#include "draw/rotate.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "draw/tint_trans.h"
#include "platform/gfx/display_config.h"
#include "platform/null/null_backend.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_window.h"
#include "tools/indexed_bmp.h"

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

// An 8-bit bottom-up bitmap with the demo's colour table.
bool WriteIndexedBmp(const std::string& strPath, int w, int h, const std::vector<uint8_t>& px) {
  const std::vector<uint8_t> v = tools::EncodeIndexedBmp(w, h, px.data(), DemoTable());
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

// What the panels draw with.
struct DEMOASSETS {
  DDSURFACEDATA back, sheet, mirrored;
};

void DrawCorePanel(DEMOASSETS& a) {
  DDSURFACEDATA& back = a.back;
  DDSURFACEDATA& sheet = a.sheet;
  DDSURFACEDATA& mirrored = a.mirrored;
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

// ---- Text -------------------------------------------------------------------

// The three fonts as the program makes them, white on the demo's colours,
// with boxes on a blue window picture and symbol pictures for a..z; each
// font's glyph cache as the drawing mode's default setting has it.
struct DEMOFONTS {
  DDSURFACEDATA window, symbols;
  DDFONTDATA specs[kFontCount];
  Font fonts[kFontCount];
  DDSURFACEDATA digits[kFontCount];
  DDIMAGEDATA digitImages[kFontCount];
};

void MakeDemoFonts(DEMOFONTS& f) {
  DDCreateSurface(&f.window, 640, 480, 0, 0, 0, 0, 0);
  DDFillRect(&f.window, 0, 0, 640, 480, 3);
  DDCreateSurface(&f.symbols, 26 * 16, 16, 1, 0, 0, 0, 0);
  DDFillRect(&f.symbols, 0, 0, 26 * 16, 16, 0);
  for (int k = 0; k < 26; ++k) DDFillRect(&f.symbols, k * 16 + 2, 2, 12, 12, uint32_t(1 + k % 3));
  for (int i = 0; i < kFontCount; ++i) {
    f.specs[i] = g_FontSpec[i];
    f.specs[i].nPalNum = 4;      // white
    f.specs[i].nFrameColor = 5;  // yellow
    if (f.specs[i].nFontCache == 2) f.specs[i].nFontCache = DDIsDirect3D() ? 0 : 1;
    const DDFONTDATA& d = f.specs[i];
    f.fonts[i].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, &f.window,
                      d.nFrameThickness, d.nFrameColor, &f.symbols, d.nFontCache);
    f.fonts[i].m_bFastFont = 0;
    f.digitImages[i].bColorKey = 1;
  }
  DDCreateNumberSheets(f.digits, f.digitImages, kFontCount, f.fonts, f.specs);
}

void ReleaseDemoFonts(DEMOFONTS& f) {
  for (int i = 0; i < kFontCount; ++i) {
    f.fonts[i].Release();
    DDReleaseSurface(&f.digits[i]);
  }
  DDReleaseSurface(&f.symbols);
  DDReleaseSurface(&f.window);
}

void DrawTextPanel(DEMOASSETS& a, DEMOFONTS& f) {
  DDBlt(&BackBuffer, 0, 0, 640, 480, &a.back, 0, 0, 0);
  Font& small = f.fonts[0];
  Font& main = f.fonts[1];
  Font& large = f.fonts[2];
  // Half-width, full-width, kana, kanji and symbols in each font.
  small.DrawText(&BackBuffer, 8, 8, "Font0 ABCxyz 0123 !?#$% ｶﾀｶﾅ");
  small.DrawText(&BackBuffer, 8, 20, "■ＡＢＣ　かな　カナ　漢字表示　※→○●□☆★");
  main.DrawText(&BackBuffer, 8, 40, "Font1 ABCxyz 0123 !?#$% ｶﾀｶﾅ");
  main.DrawText(&BackBuffer, 8, 58, "■ＡＢＣ　ひらがな　カタカナ　漢字表示\n※→↑↓←○●×□☆★");
  large.DrawText(&BackBuffer, 8, 100, "■Ab1 あア漢★");
  // A framed box sized to its text, and one with an indent.
  DDFontPrintfBox(&main, &BackBuffer, 24, 160, 0, 0, "FPS%2d(%2d)", 60, 12);
  main.DrawTextBox(&BackBuffer, 24, 200, 0, 0, "■箱の中\nTwo lines", 8);
  DDFontPrintf(&small, &BackBuffer, 549, 469, "FPS%2d(%2d)", 60, 12);
  // The letters a..z as symbol pictures.
  main.m_bFastFont = 1;
  main.DrawText(&BackBuffer, 24, 260, "abc ■xyz");
  main.m_bFastFont = 0;
  // Numbers from each font's digit sheet: padded right, centred, plain.
  DDDrawNumber(&BackBuffer, 24, 300, 10, 10, &f.digits[0], 0, 0, 1, 1234567890, 1, 0);
  DDDrawNumber(&BackBuffer, 24, 320, 16, 16, &f.digits[1], 0, 0, 1, 42, 5, 0);
  DDDrawNumber(&BackBuffer, 24, 340, 16, 16, &f.digits[1], 0, 0, 1, 42, 5, 1);
  DDDrawNumber(&BackBuffer, 24, 370, 32, 32, &f.digits[2], 0, 0, 1, 8, 1, 0);
}

// ---- Composite blits --------------------------------------------------------

// A 64 x 64 picture: red with a yellow top row and a white left column, on
// a keyed border, and a second face in blue.
struct DEMOFACES {
  DDSURFACEDATA front, back;
};

void MakeDemoFaces(DEMOFACES& f) {
  for (DDSURFACEDATA* sd : {&f.front, &f.back}) {
    DDCreateSurface(sd, 64, 64, 1, 0, 0, 0, 0);
    DDFillRect(sd, 0, 0, 64, 64, sd == &f.front ? 1 : 3);
    DDFillRect(sd, 0, 0, 64, 1, 5);
    DDFillRect(sd, 0, 0, 1, 64, 4);
  }
}

void DrawCompositePanel(DEMOASSETS& a, DEMOFACES& f) {
  DDBlt(&BackBuffer, 0, 0, 640, 480, &a.back, 0, 0, 0);
  DDFrameRect(&BackBuffer, 20, 20, 80, 60, 3, 4);
  DDBltFrame(&BackBuffer, 130, 24, 56, 48, &f.front, 4, 5);
  DDBltWave(&BackBuffer, 220, 20, 64, 64, 1, 8.0, 0, 1, &f.front, 0, 0, 1, 1);
  DDBltWave(&BackBuffer, 320, 20, 64, 64, 2, 6.0, 90, 4, &f.front, 0, 0, 1, 0);
  DDBltInterlace(&BackBuffer, 20, 140, 64, 64, 8, 6, &f.front, 0, 0, 1, 1);
  DDBltInterlace(&BackBuffer, 120, 140, 64, 64, 8, 6, &f.front, 0, 0, 1, 0);
  DDBltQuarter(&BackBuffer, 240, 140, 64, 64, &f.front, 0, 0, 6, 1);
  // A card turning about either axis: narrowing to its edge, then the
  // other face widening again.
  const int nSteps[] = {0, 12, 24, 31, 32, 44, 56};
  for (int k = 0; k < 7; ++k) {
    DDBltFlip(&BackBuffer, 20 + k * 72, 260, 64, 64, &f.front, 0, 0, &f.back, 0, 0, 64, 64, 1,
              nSteps[k], 0);
    DDBltFlip(&BackBuffer, 20 + k * 72, 350, 64, 64, &f.front, 0, 0, &f.back, 0, 0, 64, 64, 1,
              nSteps[k], 1);
  }
}

// ---- Panel 3: the effects ---------------------------------------------------
//
// Cells of 80 x 80 pixels on a black screen, each on a cyan ground; the
// sprite of a cell sits at (24, 24) in it, the pictures of the blur, mosaic,
// circle and lens are squares of six colours. Row 0: tint levels 1 to 4, half
// translucency, translucency level 64, the colour overlay, the sprite turned
// a quarter. Row 1: a fade at three levels (60, 30 and 0 degrees), blur,
// mosaic, circle window, lens.

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

void DrawEffectsPanel(DDSURFACEDATA& checks, DDSURFACEDATA& sheet, DDSURFACEDATA& store) {
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

// The effects' own files (the 8-bit blend table, the squares) and
// surfaces, made before the panel is drawn and released after it.
struct DEMOEFFECTS {
  DDSURFACEDATA checks, store;
};

bool MakeDemoEffects(const std::string& strDir, DEMOEFFECTS& e) {
  const std::string strTable = strDir + "/hbt.dat", strChecks = strDir + "/checks.bmp";
  if (!WriteBlendTable(strTable) || !DDLoadBlendTable(g_BlendTable, strTable.c_str()) ||
      !WriteChecks(strChecks)) {
    std::fprintf(stderr, "cannot write or read the effects' files in %s\n", strDir.c_str());
    return false;
  }
  return DDCreateSurface(&e.store, 3 * kCell, kCell, 0, 0, 0, 0, 0) &&
         DDCreateSurfaceFromFile(&e.checks, strChecks.c_str(), 0, g_DD.nBpp, 0, 0, nullptr, 0, 0, 0,
                                 0) == 0;
}

void ReleaseDemoEffects(DEMOEFFECTS& e) {
  DDReleaseSurface(&e.checks);
  DDReleaseSurface(&e.store);
}

// ---- The sheet --------------------------------------------------------------

constexpr int kPanelWidth = 640, kPanelHeight = 480, kSheetColumns = 2;

void PresentPanel() {
  if (DDIsDirect3D())
    DDPresent(60, 0, 0);
  else
    DDFlipOrBltToScreen(1);
}

// Lays the frame just presented into the sheet at panel n.
void AddPanel(std::vector<uint32_t>& sheet, int nSheetWidth, int n) {
  std::vector<uint32_t> frame;
  int w = 0, h = 0;
  if (!plat::CopyLastFrame(frame, w, h) || w != kPanelWidth || h != kPanelHeight) return;
  const int x0 = (n % kSheetColumns) * kPanelWidth, y0 = (n / kSheetColumns) * kPanelHeight;
  for (int y = 0; y < h; ++y)
    std::copy(frame.begin() + size_t(y) * size_t(w), frame.begin() + size_t(y + 1) * size_t(w),
              sheet.begin() + size_t(y0 + y) * size_t(nSheetWidth) + size_t(x0));
}

}  // namespace

int main(int argc, char** argv) {
  plat::null::InstallNullBackend();
  if (argc < 3) {
    std::fprintf(stderr, "usage: draw_demo MODE OUT.png [FOLDER]\n");
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
    DEMOASSETS assets;
    DDSURFACEDATA& back = assets.back;
    DDSURFACEDATA& sheet = assets.sheet;
    DDSURFACEDATA& mirrored = assets.mirrored;
    if (!DDInit(pMode->bDirect3D, nullptr, 640, 480, pMode->nBpp, 0, pMode->bWindow, 1, 60, 0,
                nullptr, nullptr, 0, 0)) {
      std::fprintf(stderr, "DDInit failed in %s\n", pMode->szName);
      return 1;
    }
    const std::string strPal = strDir + "/palette.bmp";
    const std::string strSheet = strDir + "/sheet.bmp";
    DDLoadPaletteFromFile(g_DD.ProgramPalette, strPal.c_str(), 0);
    g_DD.DisplayPalette = g_DD.ProgramPalette;  // no fade under way
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
      constexpr int kPanels = 4;
      const int nSheetWidth = kPanelWidth * kSheetColumns;
      const int nSheetHeight = kPanelHeight * ((kPanels + kSheetColumns - 1) / kSheetColumns);
      std::vector<uint32_t> contact(size_t(nSheetWidth) * size_t(nSheetHeight), 0xFF000000u);
      DrawCorePanel(assets);
      PresentPanel();
      AddPanel(contact, nSheetWidth, 0);
      DEMOFONTS fonts;
      MakeDemoFonts(fonts);
      DrawTextPanel(assets, fonts);
      PresentPanel();
      AddPanel(contact, nSheetWidth, 1);
      ReleaseDemoFonts(fonts);
      DEMOFACES faces;
      MakeDemoFaces(faces);
      DrawCompositePanel(assets, faces);
      PresentPanel();
      AddPanel(contact, nSheetWidth, 2);
      DDReleaseSurface(&faces.front);
      DDReleaseSurface(&faces.back);
      DEMOEFFECTS effects;
      if (MakeDemoEffects(strDir, effects)) {
        DrawEffectsPanel(effects.checks, sheet, effects.store);
        PresentPanel();
        AddPanel(contact, nSheetWidth, 3);
      }
      ReleaseDemoEffects(effects);
      plat::PresentFrame(contact.data(), nSheetWidth, nSheetHeight, nSheetWidth);
      if (plat::SaveLastFramePng(argv[2])) {
        nResult = 0;
      } else {
        std::fprintf(stderr, "cannot save %s\n", argv[2]);
      }
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
